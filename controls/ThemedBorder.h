#pragma once
// Gives an edit-like window that draws no themed frame of its own (a dialog's rich
// edit) the visual-styles frame of an "edit" control in place of WS_BORDER or
// WS_EX_CLIENTEDGE, while a theme is active. The frame stays until the window is
// destroyed; there is no detach.
#include <windows.h>

// FALSE for a window that is gone or already framed, or without the theme library.
bool QelAttachThemedBorder(HWND window);
