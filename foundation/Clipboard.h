#pragma once
// Text on the clipboard and in global memory.

#include <windows.h>

#include <string>

// Unicode text when the clipboard has it, else ANSI text converted.
BOOL QelGetClipboardText(std::wstring& out);
// The block as wide text up to its first zero or its end, whichever comes first.
BOOL QelGlobalMemoryToText(HGLOBAL memory, std::wstring& out);
// A movable, shareable block holding the text and its terminator; NULL on failure.
HGLOBAL QelTextToGlobalMemory(const wchar_t* text);
