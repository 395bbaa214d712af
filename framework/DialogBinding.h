#pragma once
// Binds a dialog's controls to members and moves texts between them. A dialog mixes
// it in, passing itself:
//
//   CAccountDialog() : CDialogObject(206), CDialogBinding(static_cast<CWindowRef&>(*this)) {}
//   case WM_INITDIALOG: BindControl(1010, m_userEdit); ExchangeText(1010, m_user, FALSE, 50); ...
//   case IDOK: if (ExchangeText(1010, m_user, TRUE, 50)) EndDialog(IDOK);   // else it stays open
#include <string>

#include "framework/WindowObject.h"

class CDialogBinding {
public:
    explicit CDialogBinding(const CWindowRef& dialog) : m_dialog(dialog) {}

    // A window object subclasses the control; a plain reference only takes its handle.
    // Binding an already bound member does nothing.
    BOOL BindControl(int id, CWindowObject& control)
    {
        return control.m_hWnd || control.SubclassWindow(m_dialog.GetDlgItem(id));
    }
    BOOL BindControl(int id, CWindowRef& control)
    {
        if (!control.m_hWnd)
            control.m_hWnd = m_dialog.GetDlgItem(id);
        return control.m_hWnd != nullptr;
    }

    // save FALSE: the control shows the text. save TRUE: the text is read back; one longer
    // than maxLength characters (0: any length) fails, and the control gets the focus.
    BOOL ExchangeText(int id, std::wstring& text, BOOL save, size_t maxLength = 0)
    {
        const CWindowRef control(m_dialog.GetDlgItem(id));
        if (!control.IsWindow())
            return FALSE;
        if (!save)
            return control.SetWindowText(text.c_str());
        std::wstring value = control.GetWindowText();
        if (maxLength && value.size() > maxLength) {
            // Through the dialog, so that an edit's text is selected for correction.
            m_dialog.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control.m_hWnd), TRUE);
            return FALSE;
        }
        text = std::move(value);
        return TRUE;
    }

protected:
    ~CDialogBinding() = default;

private:
    const CWindowRef& m_dialog;
};
