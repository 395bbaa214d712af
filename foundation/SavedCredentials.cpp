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
    CTessarySettings settings;
    const BOOL userWritten = settings.SetString(kSection, L"UserName", user);
    const BOOL passwordWritten = settings.SetString(kSection, L"Password", QelEncryptPassword(password).c_str());
    return userWritten && passwordWritten;
}
