#include "app/views/AtlWebBrowser.h"

#include <docobj.h>
#include <exdispid.h>
#include <mshtmhst.h>

#include "framework/ActiveXIds.h"
#include "framework/Bstr.h"
#include "framework/ByteArray.h"
#include "framework/Variant.h"

using Microsoft::WRL::ComPtr;

namespace {

IDispatch* EventDispatch(const DISPPARAMS& params, UINT index)
{
    const VARIANT* value = EventArgument(params, index);
    return value && value->vt == VT_DISPATCH ? value->pdispVal : nullptr;
}

std::wstring EventText(const DISPPARAMS& params, UINT index)
{
    std::wstring text;
    EventString(params, index, text);
    return text;
}

LONG EventValue(const DISPPARAMS& params, UINT index)
{
    LONG value = 0;
    EventLong(params, index, value);
    return value;
}

BOOL EventFlag(const DISPPARAMS& params, UINT index)
{
    return EventValue(params, index) != 0;
}

// A text argument of Navigate2: a BSTR when given, else nothing.
CVariant OptionalText(const wchar_t* text)
{
    return text ? CVariant(text) : CVariant();
}

}  // namespace

DWORD CAtlWebBrowser::GetHostFlags() const
{
    DWORD flags = DOCHOSTUIFLAG_THEME;
    if (m_no3DBorder)
        flags |= DOCHOSTUIFLAG_NO3DBORDER;
    if (m_noScrollBars)
        flags |= DOCHOSTUIFLAG_SCROLL_NO;
    if (m_scriptOnlyWhenActive)
        flags |= DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE;
    if (m_dialog)
        flags |= DOCHOSTUIFLAG_DIALOG;
    if (m_openNewWindow)
        flags |= DOCHOSTUIFLAG_OPENNEWWIN;
    return flags;
}

HRESULT CAtlWebBrowser::Navigate(const wchar_t* url, DWORD flags, const wchar_t* targetFrame, const void* postData,
                                 DWORD postLength, const wchar_t* headers)
{
    if (!m_webBrowser)
        return E_FAIL;
    CVariant address(url ? url : L"");
    CVariant flagValue(static_cast<LONG>(flags));
    CVariant target = OptionalText(targetFrame);
    CVariant post;
    if (postData && postLength && FAILED(MakeByteArray(postData, postLength, post)))
        return E_OUTOFMEMORY;
    CVariant headerValue = OptionalText(headers);
    // Navigate2 takes its VARIANT arguments by pointer but only reads them.
    return m_webBrowser->Navigate2(const_cast<VARIANT*>(&address.Get()), const_cast<VARIANT*>(&flagValue.Get()),
                                   const_cast<VARIANT*>(&target.Get()), const_cast<VARIANT*>(&post.Get()),
                                   const_cast<VARIANT*>(&headerValue.Get()));
}

ComPtr<IDispatch> CAtlWebBrowser::GetDocument() const
{
    ComPtr<IDispatch> document;
    if (m_webBrowser && FAILED(m_webBrowser->get_Document(&document)))
        document.Reset();
    return document;
}

HRESULT CAtlWebBrowser::ExecCommand(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) const
{
    const ComPtr<IDispatch> document = GetDocument();
    if (!document)
        return E_FAIL;
    ComPtr<IOleCommandTarget> target;
    if (FAILED(document.As(&target)))
        return E_NOINTERFACE;
    return target->Exec(group, id, option, in, out);
}

HRESULT CAtlWebBrowser::ExecMshtmlCommand(DWORD id, DWORD option, VARIANT* in, VARIANT* out) const
{
    return ExecCommand(&CGID_MSHTML, id, option, in, out);
}

DWORD CAtlWebBrowser::QueryMshtmlCommandStatus(DWORD id) const
{
    const ComPtr<IDispatch> document = GetDocument();
    ComPtr<IOleCommandTarget> target;
    OLECMD command{id, 0};
    if (!document || FAILED(document.As(&target)) || FAILED(target->QueryStatus(&CGID_MSHTML, 1, &command, nullptr)))
        return 0;
    return command.cmdf;
}

HRESULT CAtlWebBrowser::ExecMshtmlCommandIfEnabled(DWORD id, DWORD requiredFlags, DWORD option) const
{
    if ((QueryMshtmlCommandStatus(id) & requiredFlags) != requiredFlags)
        return E_FAIL;
    return ExecMshtmlCommand(id, option, nullptr, nullptr);
}

HRESULT CAtlWebBrowser::SetZoom(int percent) const
{
    CVariant in(static_cast<LONG>(percent));
    return ExecCommand(nullptr, OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, const_cast<VARIANT*>(&in.Get()),
                       nullptr);
}

int CAtlWebBrowser::GetZoom() const
{
    CVariant out;
    if (FAILED(ExecCommand(nullptr, OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, out.Receive())) ||
        out.Type() != VT_I4 || out.Get().lVal == 0)
        return 100;
    return out.Get().lVal;
}

void CAtlWebBrowser::OnCommandStateChange(LONG command, BOOL enabled)
{
    if (command == CSC_NAVIGATEFORWARD)
        m_canGoForward = enabled;
    else if (command == CSC_NAVIGATEBACK)
        m_canGoBack = enabled;
}

BOOL CAtlWebBrowser::AttachWebBrowser(IUnknown* control)
{
    DetachWebBrowser();
    if (!control || FAILED(control->QueryInterface(IID_PPV_ARGS(&m_webBrowser))))
        return FALSE;
    if (FAILED(Advise(m_webBrowser.Get(), DIID_DWebBrowserEvents2))) {
        m_webBrowser.Reset();
        return FALSE;
    }
    return TRUE;
}

void CAtlWebBrowser::DetachWebBrowser()
{
    Unadvise();
    m_webBrowser.Reset();
}

// Arguments by their declared position, as DWebBrowserEvents2 lists them.
void CAtlWebBrowser::OnDispatchEvent(DISPID id, DISPPARAMS& params)
{
    switch (id) {
    case DISPID_SETSECURELOCKICON:
        OnSetSecureLockIcon(EventValue(params, 0));
        break;
    case DISPID_NAVIGATEERROR:
        SetEventBool(params, 4,
                     OnNavigateError(EventDispatch(params, 0), EventText(params, 1), EventText(params, 2),
                                     EventValue(params, 3)));
        break;
    case DISPID_PRIVACYIMPACTEDSTATECHANGE:
        OnPrivacyImpactedStateChange(EventFlag(params, 0));
        break;
    case DISPID_STATUSTEXTCHANGE:
        OnStatusTextChange(EventText(params, 0));
        break;
    case DISPID_PROGRESSCHANGE:
        OnProgressChange(EventValue(params, 0), EventValue(params, 1));
        break;
    case DISPID_COMMANDSTATECHANGE:
        OnCommandStateChange(EventValue(params, 0), EventValue(params, 1) == VARIANT_TRUE);
        break;
    case DISPID_DOWNLOADBEGIN:
        OnDownloadBegin();
        break;
    case DISPID_DOWNLOADCOMPLETE:
        OnDownloadComplete();
        break;
    case DISPID_TITLECHANGE:
        OnTitleChange(EventText(params, 0));
        break;
    case DISPID_NAVIGATECOMPLETE2:
        OnNavigateComplete2(EventDispatch(params, 0), EventText(params, 1));
        break;
    case DISPID_BEFORENAVIGATE2: {
        std::vector<BYTE> postData;
        EventBytes(params, 4, postData);
        SetEventBool(params, 6,
                     OnBeforeNavigate2(EventDispatch(params, 0), EventText(params, 1),
                                       static_cast<DWORD>(EventValue(params, 2)), EventText(params, 3), postData,
                                       EventText(params, 5)));
        break;
    }
    case DISPID_PROPERTYCHANGE:
        OnPropertyChange(EventText(params, 0));
        break;
    case DISPID_NEWWINDOW2: {
        ComPtr<IDispatch> newWindow;
        const BOOL cancel = OnNewWindow2(newWindow);
        if (newWindow)
            SetEventDispatch(params, 0, newWindow.Get());
        SetEventBool(params, 1, cancel);
        break;
    }
    case DISPID_DOCUMENTCOMPLETE:
        OnDocumentComplete(EventDispatch(params, 0), EventText(params, 1));
        break;
    case DISPID_ONQUIT:
        OnQuit();
        break;
    case DISPID_ONVISIBLE:
        OnVisible(EventFlag(params, 0));
        break;
    case DISPID_ONTOOLBAR:
        OnToolBar(EventFlag(params, 0));
        break;
    case DISPID_ONMENUBAR:
        OnMenuBar(EventFlag(params, 0));
        break;
    case DISPID_ONSTATUSBAR:
        OnStatusBar(EventFlag(params, 0));
        break;
    case DISPID_ONFULLSCREEN:
        OnFullScreen(EventFlag(params, 0));
        break;
    case DISPID_ONTHEATERMODE:
        OnTheaterMode(EventFlag(params, 0));
        break;
    default:
        break;
    }
}
