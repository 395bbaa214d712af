#include "foundation/SavedCredentials.h"

#include "foundation/Sealing.h"
#include "foundation/Settings.h"

namespace {
const wchar_t kSection[] = L"Common";
}

BOOL QelGetSavedCredentials(std::wstring& user, std::wstring& password)
{
    CTessarySettings settings;
    user = settings.GetString(kSection, L"UserName", L"");
    password = QelDecryptPassword(settings.GetString(kSection, L"Password", L"").c_str());
    return !user.empty() && !password.empty();
}

BOOL QelSetSavedCredentials(const wchar_t* user, const wchar_t* password)
{
    const std::wstring sealed = QelEncryptPassword(password);
    // An empty sealed text for a password means the sealing failed.
    if (sealed.empty() && password && *password)
        return FALSE;
    CTessarySettings settings;
    const BOOL userWritten = settings.SetString(kSection, L"UserName", user);
    const BOOL passwordWritten = settings.SetString(kSection, L"Password", sealed.c_str());
    return settings.Save() && userWritten && passwordWritten;
}
