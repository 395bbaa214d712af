// How long a network transfer may go without progress before it is given up:
// connecting, sending and each wait for answer bytes. Wine's WinINet and
// URL moniker set no limit of their own, so a server that stalls would hold
// a sync for ever; Windows' own defaults are of the same order.
#pragma once

#include <windows.h>

constexpr DWORD QEL_NET_TIMEOUT_MS = 60000;

DWORD QelGetNetTimeout();
// Tests only: a few seconds, so that a stalled stand-in fails them quickly.
void QelSetNetTimeoutForTests(DWORD milliseconds);
