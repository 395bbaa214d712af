#pragma once
// The new-account dialog: user name and password for an account to create. The path
// field only shows where the account will live; creation derives the folder itself.
#include <string>

#include "framework/DialogObject.h"

// The service's sign-up page that "Free Register" opens.
extern const wchar_t* const kSignUpUrl;

class CNewAccountDlg : public CDialogObject {
public:
    CNewAccountDlg();

    std::wstring m_userName;
    std::wstring m_password;
    std::wstring m_path;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnInitDialog();
    void OnUserNameChanged();
    void OnOK();
};
