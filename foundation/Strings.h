// Searching, editing, splitting and joining of wide strings and string arrays.
// "No case" means ordinal case folding, never a locale collation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Searching and comparing. An empty `find` never matches.
const wchar_t* QelStrStrI(const wchar_t* text, const wchar_t* find);
const char* QelStrStrIA(const char* text, const char* find);
const wchar_t* QelStrRStrI(const wchar_t* text, const wchar_t* find);
const char* QelStrRStrIA(const char* text, const char* find);
int QelFindNoCase(const wchar_t* text, const wchar_t* find, int start);
int QelFindNoCaseA(const char* text, const char* find, int start);
int QelReverseFindNoCase(const wchar_t* text, const wchar_t* find, int start);
int QelReverseFindNoCaseA(const char* text, const char* find, int start);
int QelFindText(const wchar_t* text, const wchar_t* find, BOOL caseSensitive);
int QelCompareText(const wchar_t* a, const wchar_t* b, BOOL caseSensitive);
BOOL QelCharEqualNoCase(wchar_t a, wchar_t b);
BOOL QelIsSpace(wchar_t c);
const wchar_t* QelSkipSpaces(const wchar_t* p);
const wchar_t* QelFindInBuffer(const wchar_t* buffer, UINT length, const wchar_t* find);
// Empty words count as contained.
BOOL QelContainsAll(const wchar_t* text, const std::vector<std::wstring>& words, BOOL caseSensitive);

// Editing.
int QelReplaceChar(wchar_t* text, wchar_t from, wchar_t to);
std::wstring QelReplaceString(const wchar_t* text, const wchar_t* from, const wchar_t* to);
std::wstring QelReplaceCharCopy(const wchar_t* text, wchar_t from, wchar_t to);
int QelReplaceNoCase(std::wstring& text, const wchar_t* find, const wchar_t* replacement, BOOL all);
void QelRemoveSpaces(std::wstring& text);
void QelTruncate(std::wstring& text, UINT maxLength);
std::wstring QelSubString(const wchar_t* base, int offset, int count);
void QelBytesToStringA(std::string& out, const BYTE* base, int offset, int length);
BOOL QelRemoveCR(std::wstring& text);
BOOL QelNormalizeCRLF(std::wstring& text);
// Blanks, tabs and line ends removed from both ends.
std::wstring QelTrimSpaces(const std::wstring& text);

// Splitting, joining and lists. Pieces are appended; `out` is not cleared.
BOOL QelSplitText(const std::wstring& text, wchar_t separator, std::vector<std::wstring>& out);
BOOL QelSplitTextCopy(const wchar_t* text, wchar_t separator, std::vector<std::wstring>& out);
BOOL QelSplitTextByString(std::wstring text, const wchar_t* separator, BOOL caseSensitive,
                          std::vector<std::wstring>& out);
void QelJoinText(const std::vector<std::wstring>& items, std::wstring& out, const wchar_t* separator);
void QelRemoveBlankItems(std::vector<std::wstring>& items);
int QelFindInArray(const std::vector<std::wstring>& items, const wchar_t* text);
int QelFindExactInArray(const std::vector<std::wstring>& items, const wchar_t* text);
void QelSortArray(std::vector<std::wstring>& items, BOOL ascending);
void QelRemoveDuplicates(std::vector<std::wstring>& items);
void QelRemoveDuplicatesNoCase(std::vector<std::wstring>& items);

// Name-value lists: each item is a name, "=" and a value.
BOOL QelGetNamedValue(std::wstring& out, const std::vector<std::wstring>& items, const wchar_t* name);
BOOL QelSetNamedValue(std::vector<std::wstring>& items, const wchar_t* name, const wchar_t* value);
void QelGetNames(const std::vector<std::wstring>& items, std::vector<std::wstring>& names);

// Identifiers and URLs.
std::wstring QelCreateGuidText();   // "{XXXXXXXX-...}", upper case
std::wstring QelCreateGuid();       // 36 lower-case characters, no braces
BOOL QelIsUrl(const wchar_t* text);
