#pragma once
// The "Account" question of a sync whose stored credentials are missing or
// were refused: the e-mail and the password, both pre-filled, both needed.
#include <string>

#include "framework/DialogBinding.h"
#include "framework/DialogObject.h"

class CQueryUserAccountDlg : public CDialogObject, private CDialogBinding {
public:
    static constexpr size_t kUserNameLength = 50;
    static constexpr size_t kPasswordLength = 24;

    CQueryUserAccountDlg(std::wstring userName, std::wstring password);

    const std::wstring& GetUserName() const { return m_userName; }
    const std::wstring& GetPassword() const { return m_password; }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnInitDialog();
    void UpdateOk();
    void OnOK();

    std::wstring m_userName;
    std::wstring m_password;
};
