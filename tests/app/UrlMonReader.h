#pragma once
// Reads one URL as the browser does: urlmon's asynchronous pull binding to a stream,
// with this thread's messages pumped until the binding stops.
#include <windows.h>

#include <string>

struct CUrlMonRead {
    HRESULT result = E_FAIL;  // what the binding stopped with
    std::string bytes;
};

// FALSE when the binding could not be started or did not stop within 20 seconds.
BOOL ReadThroughUrlMon(const wchar_t* url, CUrlMonRead& read);
