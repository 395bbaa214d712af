// Text-level helpers of the XML wrapper: the saved file layout, element names
// the parser can read back, and declarations of already decoded text.
#pragma once

#include <windows.h>

#include <string>

// Lays a document text out in place: text runs between tags are trimmed,
// white space between tags goes, then each opening tag starts a new line
// indented with one TAB per open ancestor (LF line ends). A text longer than
// QEL_XML_LAYOUT_LIMIT characters is left as it is. FALSE only when a text
// run holds a tag bracket (the text then stays as far as it was changed).
constexpr size_t QEL_XML_LAYOUT_LIMIT = 10240;
BOOL QelIndentXMLText(std::wstring& text);

// TRUE for a name the parser accepts as an element or attribute name. Colons
// are refused too: the wrapper creates no namespaces.
BOOL QelIsXMLName(const wchar_t* name);

// Removes the encoding pseudo-attribute from a leading XML declaration. Text
// that is already wide has no byte encoding left to declare, and the platform
// parser refuses some names (gb2312, big5, ...) even for wide text.
void QelRemoveXMLDeclEncoding(std::wstring& text);
