#pragma once
// Base64 (standard alphabet, "=" padding) as 8-bit text broken into lines of
// 76 characters by CR LF; decoding skips every character outside the alphabet.

#include <windows.h>
#include <objidl.h>

#include <string>

// Every 57 input bytes make one line of 76 characters followed by CR LF; the
// remaining 1 to 56 bytes make a last line without a line break.
std::string QelBase64Encode(const BYTE* data, int length);

// With out NULL, *length receives the decoded byte count. Otherwise *length
// holds the room in out and receives the decoded count; too little room gives
// FALSE and writes nothing.
BOOL QelBase64Decode(const char* text, BYTE* out, int* length);

BOOL QelBase64EncodeText(const char* text, std::string& out);
std::string QelBase64EncodeString(const char* text);
BOOL QelBase64EncodeStream(IStream* stream, std::string& out);
BOOL QelBase64EncodeFile(const wchar_t* path, std::string& out);

// Replaces the stream's content with the decoded bytes.
BOOL QelBase64DecodeToStream(const char* text, IStream* stream);
// The decoded bytes up to the first zero byte.
BOOL QelBase64DecodeToString(const char* text, std::string& out);
