#include "foundation/MessageBox.h"

#include <atomic>
#include <cwchar>
#include <memory>
#include <vector>

#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Translations.h"
#include "framework/Bstr.h"

namespace {

std::atomic<bool> g_messageBoxesEnabled{true};

// What pressing Enter on the box would have answered.
int DefaultButtonResult(UINT type)
{
    static const std::vector<int> buttons[] = {
        {IDOK},                            // MB_OK
        {IDOK, IDCANCEL},                  // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},      // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},           // MB_YESNOCANCEL
        {IDYES, IDNO},                     // MB_YESNO
        {IDRETRY, IDCANCEL},               // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE} // MB_CANCELTRYCONTINUE
    };
    const UINT kind = type & MB_TYPEMASK;
    if (kind >= sizeof(buttons) / sizeof(buttons[0]))
        return IDOK;
    const std::vector<int>& choice = buttons[kind];
    const size_t index = (type & MB_DEFMASK) >> 8;
    return index < choice.size() ? choice[index] : choice[0];
}

} // namespace

void QelEnableMessageBoxes(BOOL enable)
{
    g_messageBoxesEnabled = enable != FALSE;
}

BOOL QelAreMessageBoxesEnabled()
{
    return g_messageBoxesEnabled ? TRUE : FALSE;
}

int QelMessageBox(const wchar_t* text, UINT type, HWND owner)
{
    if (!text || !*text)
        return (type & MB_YESNO) ? IDYES : IDCANCEL;
    if (!g_messageBoxesEnabled) {
        TessaryGetGlobal()->WriteLog(QelFormatString1(L"Message box not shown: %1", text).c_str());
        return DefaultButtonResult(type);
    }
    if (!owner)
        owner = GetForegroundWindow();
    const std::wstring caption = TessaryGetGlobal()->GetAppName();
    return MessageBoxW(owner, text, caption.c_str(), type);
}

int QelMessageBoxById(UINT id, UINT type, HWND owner)
{
    return QelMessageBox(QelLoadTranslatedString(id).c_str(), type, owner);
}

int QelMessageBoxFormat1(const wchar_t* templateText, const wchar_t* a1, UINT type)
{
    return QelMessageBox(QelFormatString1(templateText, a1).c_str(), type, nullptr);
}

int QelMessageBoxId1(UINT id, const wchar_t* a1, UINT type, HWND owner)
{
    return QelMessageBox(QelFormatStringId1(id, a1).c_str(), type, owner);
}

int QelMessageBoxId2(UINT id, const wchar_t* a1, const wchar_t* a2, UINT type, HWND owner)
{
    return QelMessageBox(QelFormatStringId2(id, a1, a2).c_str(), type, owner);
}

int QelMessageBoxId3(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3, UINT type,
                     HWND owner)
{
    return QelMessageBox(QelFormatStringId3(id, a1, a2, a3).c_str(), type, owner);
}

void QelAppendErrorCode(std::wstring& text, DWORD code)
{
    if (code == 0)
        return;
    text += QelFormatString1(QelTranslateText(L"\n\nError Code: %1").c_str(),
                             QelFormatHex(static_cast<int>(code), TRUE).c_str());
}

int QelErrorBox(const wchar_t* text, DWORD code, HWND owner)
{
    std::wstring message = text ? text : L"";
    QelAppendErrorCode(message, code);
    return QelMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION, owner);
}

int QelErrorBoxById(UINT id, DWORD code, HWND owner)
{
    return QelErrorBox(QelLoadTranslatedString(id).c_str(), code, owner);
}

int QelErrorBoxFormat1(const wchar_t* templateText, const wchar_t* a1, DWORD code, HWND owner)
{
    return QelErrorBox(QelFormatString1(templateText, a1).c_str(), code, owner);
}

int QelErrorBoxId1(UINT id, const wchar_t* a1, DWORD code, HWND owner)
{
    return QelErrorBox(QelFormatStringId1(id, a1).c_str(), code, owner);
}

int QelErrorBoxId2(UINT id, const wchar_t* a1, const wchar_t* a2, DWORD code, HWND owner)
{
    return QelErrorBox(QelFormatStringId2(id, a1, a2).c_str(), code, owner);
}

int QelErrorBoxId3(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3, DWORD code,
                   HWND owner)
{
    return QelErrorBox(QelFormatStringId3(id, a1, a2, a3).c_str(), code, owner);
}

std::wstring QelGetErrorMessage(DWORD code)
{
    struct LocalFreer
    {
        void operator()(wchar_t* buffer) const { LocalFree(buffer); }
    };
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreer> owned(buffer);
    return owned ? std::wstring(owned.get(), length) : std::wstring();
}

std::wstring QelGetLastErrorText()
{
    const DWORD code = GetLastError();
    return code == 0 ? std::wstring() : QelGetErrorMessage(code);
}

HRESULT QelFormatComErrorInfo(HRESULT hr, IErrorInfo* info, std::wstring& out)
{
    CBstr description;
    CBstr source;
    HRESULT result = E_POINTER;
    if (info) {
        info->GetDescription(description.Receive());
        result = info->GetSource(source.Receive());
    }
    const std::wstring descriptionText = description.ToString();
    const std::wstring sourceText = source.ToString();
    const wchar_t format[] = L"ErrorInfo:  HResult: 0x%08x,\nDescription: %ls\nSource:%ls\n";
    std::vector<wchar_t> buffer(sizeof(format) / sizeof(wchar_t) + 16 + descriptionText.size() +
                                sourceText.size());
    swprintf(buffer.data(), buffer.size(), format, static_cast<unsigned>(hr),
             descriptionText.c_str(), sourceText.c_str());
    out = buffer.data();
    return result;
}
