#pragma once
// Message boxes captioned with the application name, optionally with an
// error-code line; and the system's texts for error codes.

#include <windows.h>
#include <oaidl.h>

#include <string>

// Process-wide switch for unattended runs (tests, the headless sync tool):
// while off, no box is shown; its text goes to the log and the box's
// default button is taken as the answer.
void QelEnableMessageBoxes(BOOL enable);
BOOL QelAreMessageBoxesEnabled();

int QelMessageBox(const wchar_t* text, UINT type, HWND owner);
int QelMessageBoxById(UINT id, UINT type, HWND owner);
int QelMessageBoxFormat1(const wchar_t* templateText, const wchar_t* a1, UINT type);
int QelMessageBoxId1(UINT id, const wchar_t* a1, UINT type, HWND owner);
int QelMessageBoxId2(UINT id, const wchar_t* a1, const wchar_t* a2, UINT type, HWND owner);
int QelMessageBoxId3(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3, UINT type,
                     HWND owner);

int QelErrorBox(const wchar_t* text, DWORD code, HWND owner);
int QelErrorBoxById(UINT id, DWORD code, HWND owner);
int QelErrorBoxFormat1(const wchar_t* templateText, const wchar_t* a1, DWORD code, HWND owner);
int QelErrorBoxId1(UINT id, const wchar_t* a1, DWORD code, HWND owner);
int QelErrorBoxId2(UINT id, const wchar_t* a1, const wchar_t* a2, DWORD code, HWND owner);
int QelErrorBoxId3(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3, DWORD code,
                   HWND owner);

// Appends a translated "Error Code: 0x.." line after a blank line; nothing for 0.
void QelAppendErrorCode(std::wstring& text, DWORD code);

std::wstring QelGetErrorMessage(DWORD code);
std::wstring QelGetLastErrorText();
HRESULT QelFormatComErrorInfo(HRESULT hr, IErrorInfo* info, std::wstring& out);
