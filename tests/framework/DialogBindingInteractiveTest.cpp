#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FrameworkDialogs.h"
#include "framework/DialogBinding.h"
#include "framework/DialogObject.h"

namespace {

constexpr size_t kMaxName = 5;

// Starts with a name too long and presses OK; on failure corrects the name and presses OK again.
class CBindingDialog : public CDialogObject, public CDialogBinding {
public:
    CBindingDialog() : CDialogObject(IDD_BINDING_TEST), CDialogBinding(static_cast<CWindowRef&>(*this)) {}

    std::wstring name = L"far too long";
    CWindowObject edit;
    HWND boundEdit = nullptr;
    int failures = 0;
    HWND focusAfterFailure = nullptr;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT& result, DWORD) override
    {
        if (message == WM_INITDIALOG) {
            BindControl(IDC_NAME_EDIT, edit);
            boundEdit = CWindowObject::FromHandle(edit) == &edit ? edit.m_hWnd : nullptr;
            ExchangeText(IDC_NAME_EDIT, name, FALSE, kMaxName);
            ::SetFocus(GetDlgItem(IDOK));  // away from the edit, which the failure must focus
        } else if (message != WM_COMMAND || LOWORD(wParam) != IDOK) {
            return FALSE;
        } else if (ExchangeText(IDC_NAME_EDIT, name, TRUE, kMaxName)) {
            EndDialog(IDOK);
            return TRUE;
        } else {
            ++failures;
            focusAfterFailure = ::GetFocus();
            SetDlgItemText(IDC_NAME_EDIT, L"short");
        }
        ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        result = 0;  // WM_INITDIALOG: the focus is set
        return TRUE;
    }
};

}  // namespace

TEST(DialogBinding, TextOverItsMaximumFailsFocusesTheControlAndKeepsTheDialogOpen)
{
    CBindingDialog dialog;
    ASSERT_EQ(IDOK, dialog.DoModal(nullptr));
    EXPECT_EQ(1, dialog.failures);
    ASSERT_TRUE(dialog.boundEdit);  // subclassed by the binding
    EXPECT_EQ(dialog.boundEdit, dialog.focusAfterFailure);
    EXPECT_EQ(L"short", dialog.name);
}
