#pragma once
// Identifiers that ActiveX hosts and their pages use but mingw-w64 lacks: neither its
// headers nor libuuid know the two command groups, and the forwarded-message number
// comes from no system header at all.
#include <windows.h>
#include <guiddef.h>
#include <mshtmhst.h>  // its declarations first: the definitions below take their C linkage

// The page's own commands (print, page setup, ...).
inline constexpr GUID CGID_MSHTML = {0xDE4BA900, 0x59CA, 0x11CF, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// Commands a page asks its host to carry out (script-error dialogs, ...).
inline constexpr GUID CGID_DocHostCommandHandler = {0xF38BC242, 0xB950, 0x11D1,
                                                    {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};

// A MSG* (lParam) for a window's hosted control to translate; nonzero when it consumed it.
inline constexpr UINT WM_FORWARDMSG = 0x037F;
