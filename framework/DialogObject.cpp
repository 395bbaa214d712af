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
    if (window && m_hWnd != window) {  // no thunk could be made for it
        ::DestroyWindow(window);
        return nullptr;
    }
    return window;
}

BOOL CDialogObject::EndDialog(INT_PTR result)
{
    return m_modal ? ::EndDialog(m_hWnd, result) : ::DestroyWindow(m_hWnd);
}

// A dialog's first message: the dialog procedure then becomes a thunk calling DialogEntry.
INT_PTR CALLBACK CDialogObject::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* object = static_cast<CDialogObject*>(std::exchange(Pending(), nullptr));
    if (!object)
        return FALSE;
    if (!object->Attach(window, DWLP_DLGPROC, DialogEntry, reinterpret_cast<LONG_PTR>(OrphanProc), nullptr)) {
        // Without its object nothing could end a modal dialog; a modeless one goes in Create.
        if (object->m_modal)
            ::EndDialog(window, -1);
        return FALSE;
    }
    return object->Answer(message, wParam, lParam);
}

INT_PTR CALLBACK CDialogObject::OrphanProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

LRESULT CALLBACK CDialogObject::DialogEntry(CWindowThunk* thunk, HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    if (thunk->object)
        return static_cast<CDialogObject*>(thunk->object)->Answer(message, wParam, lParam);
    return OrphanProc(window, message, wParam, lParam);
}

INT_PTR CDialogObject::Answer(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = m_hWnd;
    BOOL handled = TRUE;
    const LRESULT result = Dispatch(message, wParam, lParam, [&] {
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
