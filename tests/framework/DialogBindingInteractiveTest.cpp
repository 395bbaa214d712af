#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FrameworkDialogs.h"
#include "framework/DialogBinding.h"
#include "framework/DialogObject.h"

namespace {

constexpr UINT kCorrect = WM_APP + 1;
constexpr size_t kMaxName = 5;

// Starts with a name too long, presses OK, corrects the name on failure, presses OK again.
class CBindingDialog : public CDialogObject, public CDialogBinding {
public:
    CBindingDialog() : CDialogObject(IDD_BINDING_TEST), CDialogBinding(static_cast<CWindowRef&>(*this)) {}

    std::wstring name = L"far too long";
    CWindowObject edit;
    CWindowRef okButton;
    int failures = 0;
    HWND editWindow = nullptr;
    HWND focusAfterFailure = nullptr;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT& result, DWORD) override
    {
        switch (message) {
        case WM_INITDIALOG:
            BindControl(IDC_NAME_EDIT, edit);
            if (CWindowObject::FromHandle(edit) == &edit)
                editWindow = edit;
            BindControl(IDOK, okButton);
            ExchangeText(IDC_NAME_EDIT, name, FALSE, kMaxName);
            ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
            result = TRUE;
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDOK)
                return FALSE;
            if (ExchangeText(IDC_NAME_EDIT, name, TRUE, kMaxName)) {
                EndDialog(IDOK);
            } else {
                ++failures;
                focusAfterFailure = ::GetFocus();
                ::PostMessageW(hwnd, kCorrect, 0, 0);
            }
            result = 0;
            return TRUE;
        case kCorrect:
            SetDlgItemText(IDC_NAME_EDIT, L"short");
            ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
            result = 0;
            return TRUE;
        default:
            return FALSE;
        }
    }
};

}  // namespace

TEST(DialogBinding, TextOverItsMaximumFailsFocusesTheControlAndKeepsTheDialogOpen)
{
    CBindingDialog dialog;
    ASSERT_EQ(IDOK, dialog.DoModal(nullptr));
    EXPECT_EQ(1, dialog.failures);
    ASSERT_TRUE(dialog.editWindow);  // subclassed by the binding
    EXPECT_EQ(dialog.editWindow, dialog.focusAfterFailure);
    EXPECT_EQ(L"short", dialog.name);
    EXPECT_TRUE(dialog.okButton.GetHwnd());
}
