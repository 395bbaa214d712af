#pragma once
// Hot-key texts such as "Ctrl+Shift+F5".

#include <windows.h>

// Accelerator flags found in the text: FCONTROL (8), FSHIFT (4), FALT (16).
BYTE QelGetHotkeyModifiers(const wchar_t* text);
// Hot-key control flags: HOTKEYF_SHIFT (1), HOTKEYF_CONTROL (2), HOTKEYF_ALT (4).
int QelGetHotkeyModifierMask(const wchar_t* text);
// The virtual-key code of the part after the last "+"; 0 when it names no key.
UINT QelGetHotkeyKey(const wchar_t* text);
