// Moving HTTP bodies in pieces of 1024 bytes, and reading answer headers.
#pragma once

#include "librarydata/HttpServer.h"

#include <string>

// Reads the whole answer body into the stream. `expected` is the announced
// Content-Length (0: none); an answer that ends short of it is a failure.
BOOL QelHttpReadFile(HINTERNET request, IStream* stream, DWORD expected, IQelHttpProgress* progress);
// A non-zero progress answer cancels the write.
BOOL QelHttpWriteFile(HINTERNET request, const void* data, DWORD size, IQelHttpProgress* progress);
// Sends the opened request with the headers of a text/xml body and its length,
// writes the body in pieces and ends the request, whatever went before.
BOOL QelHttpSendXmlBody(HINTERNET request, const std::string& body, IQelHttpProgress* progress);

// The raw value of one header (the blank after the colon kept); empty when missing.
BOOL QelHttpGetHeaderValue(std::wstring& value, const wchar_t* headers, const wchar_t* name);
// The media type and the charset parameter (empty when none), both trimmed.
BOOL QelHttpGetContentType(const wchar_t* headers, std::wstring& contentType, std::wstring& charset);
BOOL QelHttpGetContentLength(const wchar_t* headers, DWORD& length);

// The whole stream from its start, up to its first zero byte; FALSE when it
// cannot be read whole.
BOOL QelReadStreamToStringA(IStream* stream, std::string& out);
// The whole stream decoded as a text file's bytes (marks, else a guess).
BOOL QelLoadTextFromStream(IStream* stream, std::wstring& out);
