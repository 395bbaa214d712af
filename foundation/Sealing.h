#pragma once
// Sealed streams and sealed password texts.
//
// A sealed stream is the plaintext cut into 1024-byte chunks, each enciphered
// on its own with AES-256-CBC from a zero IV and padded (a full chunk becomes
// 1040 bytes), concatenated without header or check value. The key is the
// 32-character blank-padded MD5 word text of the password bytes.

#include <windows.h>
#include <objidl.h>

#include <string>

// Replace the stream's whole content with its sealed or unsealed form. On
// failure the content is kept, except when the final write itself fails.
BOOL QelEncryptStream(const char* password, IStream* data);
BOOL QelDecryptStream(const char* password, IStream* data);

// The UTF-16LE bytes of the text, sealed, as Base64 text; an empty text gives
// an empty result.
BOOL QelEncryptTextToBase64(const char* password, const wchar_t* text, std::string& out);
BOOL QelDecryptBase64ToText(const char* password, const char* base64, std::wstring& out);

// Sealed with the program's built-in phrase; "" for an empty text or on failure.
std::wstring QelEncryptPassword(const wchar_t* text);
std::wstring QelDecryptPassword(const wchar_t* sealed);
