// Finding a text's code page: charset names, HTML and XML declarations, guessing.
#pragma once

#include <windows.h>

#include <string>

// The charset's Internet code page; 0 when unknown or when the lookup service
// cannot be made (COM must be initialised on the thread).
UINT QelGetCharsetCodePage(const wchar_t* charset);
BYTE QelGetCharsetGdiCharset(const wchar_t* charset);

// TRUE unless the bytes hold a sequence that the code page cannot translate.
BOOL QelIsValidInCodePage(const char* bytes, UINT codePage, DWORD flags);
// Strictly valid UTF-8 with a byte of 0x80 or above is UTF-8; else the ANSI
// code page when the bytes are valid in it, else UTF-8 when they are valid there.
UINT QelGuessCodePage(const char* bytes);

// The charset named by the first meta element that has "charset=", or empty.
std::wstring QelGetHtmlCharset(const std::string& bytes);
// The encoding of the XML declaration, or empty.
std::wstring QelGetXmlEncoding(const std::string& bytes);
// Decoded by the declared charset, else by the guessed code page; always TRUE.
BOOL QelHtmlBytesToText(const std::string& bytes, std::wstring& out);
BOOL QelXmlBytesToText(const std::string& bytes, std::wstring& out);
