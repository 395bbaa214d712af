#pragma once
// Icon files for tests of controls that load their icons from files.
#include <windows.h>

#include <string>

// A new 16 x 16 icon file of one opaque colour in the temporary folder; empty on failure.
std::wstring WriteTestIconFile(COLORREF color);
