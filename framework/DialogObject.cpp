#include "framework/DialogObject.h"

#include <utility>

namespace {

// Messages whose answer is the dialog procedure's own return value, not DWLP_MSGRESULT.
BOOL AnswersDirectly(UINT message)
{
    return message == WM_INITDIALOG || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
           message == WM_CHARTOITEM || message == WM_QUERYDRAGICON || IsColorMessage(message);
}

}  // namespace

INT_PTR CDialogObject::DoModal(HWND parent)
{
    if (m_hWnd)
        return -1;
    m_modal = TRUE;
    Pending() = this;
    const INT_PTR result = ::DialogBoxParamW(FrameworkInstance(), MAKEINTRESOURCEW(m_dialogId), parent, DialogProc, 0);
    Pending() = nullptr;  // taken by the first message, unless the dialog never came
    return result;
}

HWND CDialogObject::Create(HWND parent)
{
    if (m_hWnd)
        return nullptr;
    m_modal = FALSE;
    Pending() = this;
    const HWND window = ::CreateDialogParamW(FrameworkInstance(), MAKEINTRESOURCEW(m_dialogId), parent, DialogProc, 0);
    Pending() = nullptr;
    return window;
}

BOOL CDialogObject::EndDialog(INT_PTR result)
{
    return m_modal ? ::EndDialog(m_hWnd, result) : ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialogObject::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* object = static_cast<CDialogObject*>(FromHandle(window));
    if (!object) {
        object = static_cast<CDialogObject*>(std::exchange(Pending(), nullptr));
        if (!object)
            return FALSE;
        object->Attach(window, nullptr, FALSE);
    }
    BOOL handled = TRUE;
    const LRESULT result = object->Dispatch(message, wParam, lParam, [&] {
        handled = FALSE;
        return LRESULT{0};
    });
    if (!handled)
        return message == WM_INITDIALOG;  // unhandled: the system focuses the first control
    if (AnswersDirectly(message))
        return result;
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}
