#include "foundation/NetTimeout.h"

#include <atomic>

namespace {

std::atomic<DWORD> g_timeout{QEL_NET_TIMEOUT_MS};

}  // namespace

DWORD QelGetNetTimeout()
{
    return g_timeout.load();
}

void QelSetNetTimeoutForTests(DWORD milliseconds)
{
    g_timeout.store(milliseconds);
}
