#pragma once
// The wait cursor for one scope, around a query or a refill; the cursor it replaced
// comes back when the scope ends.
#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(Cursor())) {}
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor() { ::SetCursor(m_previous); }

private:
    // The system's shared cursor, loaded once: under Wine each load is a round trip to the server.
    static HCURSOR Cursor()
    {
        static const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
        return wait;
    }

    HCURSOR m_previous;
};
