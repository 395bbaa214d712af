#pragma once
// Quoted-printable encoding of bytes as 7-bit text.

#include <windows.h>
#include <objidl.h>

#include <string>

// CR LF pairs stay line breaks; a line that reaches 65 characters gets a soft
// break ("=" CR LF); blanks before a line break or the end are escaped.
std::string QelQPEncode(const BYTE* data, int length);
BOOL QelQPEncodeStream(IStream* stream, std::string& out);

// *length holds the room in out and receives the decoded count. A text
// without "=" is copied unchanged, with its terminator when there is room.
BOOL QelQPDecode(const char* text, BYTE* out, int* length);
// Replaces the stream's content with the decoded bytes.
BOOL QelQPDecodeToStream(const char* text, IStream* stream);
// The decoded bytes up to the first zero byte.
BOOL QelQPDecodeToString(const char* text, std::string& out);
