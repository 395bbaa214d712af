#include "framework/DialogBinding.h"

BOOL CDialogBinding::ExchangeText(int id, std::wstring& text, BOOL save, size_t maxLength)
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
