#pragma once
// A dialog from a resource template, modal or modeless, handled like our other
// windows: one ProcessWindowMessage, notifications of unhandled children reflected.
// Unhandled messages go to the system's dialog handling, so DefWindowProc answers 0.
#include "framework/WindowObject.h"

class CDialogObject : public CWindowObject {
public:
    explicit CDialogObject(UINT dialogId) : m_dialogId(dialogId) {}

    INT_PTR DoModal(HWND parent);
    HWND Create(HWND parent);
    // Ends a modal dialog with the result, destroys a modeless one.
    BOOL EndDialog(INT_PTR result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK OrphanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DialogEntry(CWindowThunk* thunk, HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam);
    // The dialog procedure's answer to one message.
    INT_PTR Answer(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_dialogId;
    BOOL m_modal = FALSE;
};
