#pragma once
// An empty child window that holds a pane's place in the frame until the pane is built.
#include "framework/WindowObject.h"

class CPanePlaceholder : public CWindowObject {};
