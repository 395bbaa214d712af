#pragma once
// The site of the reader's browsers: the framework's ActiveX site that also answers
// the page's command requests, so that a script error shows no dialog and the page's
// scripts go on.
#include <windows.h>
#include <docobj.h>

#include "framework/ActiveXSite.h"

class CQelAxHostWindowEx final : public CActiveXSiteObject<CQelAxHostWindowEx, IOleCommandTarget> {
public:
    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) override { return E_NOTIMPL; }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) override;
};
