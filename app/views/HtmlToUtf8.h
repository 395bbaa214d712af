#pragma once
// Pages kept as UTF-16 are served as UTF-8, which the browser reads without
// guessing; the page's own charset declaration is replaced by one for UTF-8.
#include <windows.h>

#include <string>
#include <vector>

// The element the served text carries.
inline constexpr char kUtf8CharsetMeta[] = "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">";

// A ".htm", ".html", ".css" or ".txt" entry (by the name's extension) that is UTF-16LE
// with its byte-order mark becomes UTF-8 with its mark and one zero byte at the end, in
// converted, a page with the charset element too; TRUE then. Otherwise FALSE,
// converted untouched.
BOOL ConvertHtmlToUtf8(const std::wstring& entryName, const BYTE* data, size_t size, std::vector<BYTE>& converted);

// Removes the first meta element that declares a charset, then puts the UTF-8 one
// right after the head element's opening tag, or at the start without one.
void FixHtmlCharsetMeta(std::string& text);

// The extension of the name's last path component, with its dot; empty without one.
std::wstring EntryExtension(const std::wstring& entryName);
