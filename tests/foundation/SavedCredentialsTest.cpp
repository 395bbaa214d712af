#include "XmlTestSupport.h"

#include "foundation/SavedCredentials.h"
#include "foundation/Settings.h"
#include "framework/Handle.h"

namespace {

using SavedCredentials = XmlTest;

TEST_F(SavedCredentials, KeepsTheUserAndOnlyTheSealedPassword)
{
    DeleteFileW(QelGetSettingsFileName().c_str());
    std::wstring user, password;
    EXPECT_FALSE(QelGetSavedCredentials(user, password));

    ASSERT_TRUE(QelSetSavedCredentials(L"reader@example.com", L"p\u00e4ss \"word\""));
    {
        CTessarySettings settings;
        EXPECT_EQ(L"reader@example.com", settings.GetString(L"Common", L"UserName", L""));
        const std::wstring stored = settings.GetString(L"Common", L"Password", L"");
        EXPECT_FALSE(stored.empty());
        EXPECT_EQ(std::wstring::npos, stored.find(L"word"));
    }
    ASSERT_TRUE(QelGetSavedCredentials(user, password));
    EXPECT_EQ(L"reader@example.com", user);
    EXPECT_EQ(L"p\u00e4ss \"word\"", password);

    // A user without a password is not a saved account.
    ASSERT_TRUE(QelSetSavedCredentials(L"reader@example.com", L""));
    EXPECT_FALSE(QelGetSavedCredentials(user, password));

    {
        // A settings file that cannot be replaced stores nothing, and says so.
        const CHandle held(CreateFileW(QelGetSettingsFileName().c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_FALSE(QelSetSavedCredentials(L"other@example.com", L"other"));
    }
    EXPECT_FALSE(QelGetSavedCredentials(user, password));
    EXPECT_EQ(L"reader@example.com", user);
    DeleteFileW(QelGetSettingsFileName().c_str());
}

}  // namespace
