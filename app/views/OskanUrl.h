#pragma once
// The texts of oskan:// URLs: "oskan://<key>" for a document's index page and
// "oskan://<key>/<entry path>" for one entry of its archive.
#include <windows.h>

#include <string>

// "oskan://%1_%2" with the subscription and document GUIDs.
std::wstring MakeOskanUrl(const wchar_t* subscriptionGuid, const wchar_t* documentGuid);

// Splits a URL of the scheme (the prefix in any case) into its key and entry path,
// both as written; slashes around them go. The key also ends at a "?" or "#", which
// then begins the entry path. FALSE for any other URL.
BOOL SplitOskanUrl(const std::wstring& url, std::wstring& key, std::wstring& entryPath);

// The entry path a browser meant: cut at its first "?" or "#", then percent-decoded
// as UTF-8. An escape that is no UTF-8 leaves the path as written up to the cut.
std::wstring DecodeEntryPath(const std::wstring& entryPath);

// Whether a navigation leads to the document's own page: one trailing "/" and a
// "#fragment" on either side make no difference.
BOOL IsDocumentOwnUrl(const wchar_t* url, const wchar_t* documentUrl);
