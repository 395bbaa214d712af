#pragma once
// The one-instance guard: a named mutex held for the whole life of the process.
#include <windows.h>

#include "framework/Handle.h"

class CQelSingletonApp {
public:
    static CQelSingletonApp& GetInstance();

    // TRUE for the first instance, and also when no mutex could be made at all.
    BOOL CheckSingleInstance(const wchar_t* name);
    void Release() { m_mutex.Close(); }

    CQelSingletonApp(const CQelSingletonApp&) = delete;
    CQelSingletonApp& operator=(const CQelSingletonApp&) = delete;

private:
    CQelSingletonApp() = default;

    CHandle m_mutex;
};
