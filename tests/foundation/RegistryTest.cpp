#include <gtest/gtest.h>

#include "foundation/Registry.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

namespace {

// Tests run in parallel against one registry: each test takes its own key.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        keyPath_ = L"Software\\TessaryTests\\Registry" + std::wstring(name.begin(), name.end());
        testKey_ = keyPath_.c_str();
        QelRegDeleteKeyTree(HKEY_CURRENT_USER, testKey_);
    }
    void TearDown() override
    {
        QelRegDeleteKeyTree(HKEY_CURRENT_USER, testKey_);
        SHDeleteEmptyKeyW(HKEY_CURRENT_USER, L"Software\\TessaryTests");
    }

    std::wstring Sub(const wchar_t* path) const { return keyPath_ + path; }

    // Raw bytes as another program might have stored them.
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, testKey_, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    std::wstring keyPath_;
    const wchar_t* testKey_ = nullptr;
};

} // namespace

TEST_F(Registry, ValuesRoundTripAndWritersCreateTheKeyPath)
{
    const std::wstring deep = Sub(L"\\a\\b");
    EXPECT_FALSE(QelRegKeyExists(HKEY_CURRENT_USER, deep.c_str()));
    EXPECT_TRUE(QelRegWriteString(HKEY_CURRENT_USER, deep.c_str(), L"Text", L"h\u00e9llo \u4e2d"));
    EXPECT_TRUE(QelRegKeyExists(HKEY_CURRENT_USER, deep.c_str()));
    EXPECT_EQ(L"h\u00e9llo \u4e2d",
              QelRegReadString(HKEY_CURRENT_USER, deep.c_str(), L"Text", L"default"));

    EXPECT_TRUE(QelRegWriteDword(HKEY_CURRENT_USER, testKey_, L"Dword", 0xDEADBEEF));
    EXPECT_EQ(0xDEADBEEFu, QelRegReadDword(HKEY_CURRENT_USER, testKey_, L"Dword", 7));

    EXPECT_TRUE(QelRegWriteBool(HKEY_CURRENT_USER, testKey_, L"Bool", 42));
    EXPECT_EQ(1u, QelRegReadDword(HKEY_CURRENT_USER, testKey_, L"Bool", 7));
    EXPECT_EQ(TRUE, QelRegReadBool(HKEY_CURRENT_USER, testKey_, L"Bool", FALSE));
    EXPECT_TRUE(QelRegWriteBool(HKEY_CURRENT_USER, testKey_, L"Bool", FALSE));
    EXPECT_EQ(FALSE, QelRegReadBool(HKEY_CURRENT_USER, testKey_, L"Bool", TRUE));

    const INT64 big = -1234567890123456789LL;
    EXPECT_TRUE(QelRegWriteQword(HKEY_CURRENT_USER, testKey_, L"Qword", big));
    EXPECT_EQ(big, QelRegReadQword(HKEY_CURRENT_USER, testKey_, L"Qword", 0));

    const BYTE blob[5] = {1, 0, 2, 0xFF, 3};
    EXPECT_TRUE(QelRegWriteBinary(HKEY_CURRENT_USER, testKey_, L"Binary", blob, sizeof(blob)));
    BYTE back[5] = {};
    EXPECT_TRUE(QelRegQueryBinary(HKEY_CURRENT_USER, testKey_, L"Binary", back, sizeof(back)));
    EXPECT_EQ(0, memcmp(blob, back, sizeof(blob)));
    BYTE tooSmall[4] = {};
    EXPECT_FALSE(
        QelRegQueryBinary(HKEY_CURRENT_USER, testKey_, L"Binary", tooSmall, sizeof(tooSmall)));

    EXPECT_TRUE(QelRegWriteBinaryDword(HKEY_CURRENT_USER, testKey_, L"BinDword", 0x01020304));
    EXPECT_EQ(0x01020304u, QelRegReadBinaryDword(HKEY_CURRENT_USER, testKey_, L"BinDword", 0));
    DWORD type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, testKey_, L"BinDword",
                                          RRF_RT_ANY, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);

    // The default value of a key has no name.
    EXPECT_TRUE(QelRegWriteString(HKEY_CURRENT_USER, testKey_, nullptr, L"unnamed"));
    EXPECT_EQ(L"unnamed", QelRegReadString(HKEY_CURRENT_USER, testKey_, nullptr, nullptr));
}

TEST_F(Registry, FailedReadsGiveTheDefault)
{
    const std::wstring missing = Sub(L"\\missing");
    EXPECT_EQ(5u, QelRegReadDword(HKEY_CURRENT_USER, missing.c_str(), L"x", 5));
    EXPECT_EQ(TRUE, QelRegReadBool(HKEY_CURRENT_USER, missing.c_str(), L"x", TRUE));
    EXPECT_EQ(-9, QelRegReadQword(HKEY_CURRENT_USER, missing.c_str(), L"x", -9));
    EXPECT_EQ(L"d", QelRegReadString(HKEY_CURRENT_USER, missing.c_str(), L"x", L"d"));
    EXPECT_EQ(L"", QelRegReadString(HKEY_CURRENT_USER, missing.c_str(), L"x", nullptr));

    ASSERT_TRUE(QelRegCreateKey(HKEY_CURRENT_USER, testKey_));
    EXPECT_EQ(L"", QelRegReadString(HKEY_CURRENT_USER, testKey_, L"x", nullptr));
    DWORD untouched = 77;
    EXPECT_FALSE(QelRegQueryDword(HKEY_CURRENT_USER, testKey_, L"x", untouched));
    EXPECT_EQ(77u, untouched);

    // A value of another type is read as whatever bytes the query gives.
    SetRaw(L"Short", REG_SZ, L"a", 4);
    EXPECT_EQ(0x61u, QelRegReadDword(HKEY_CURRENT_USER, testKey_, L"Short", 5));
    SetRaw(L"Long", REG_SZ, L"abc", 8);
    EXPECT_EQ(5u, QelRegReadDword(HKEY_CURRENT_USER, testKey_, L"Long", 5));
    // A double word read as a quad word keeps its value.
    QelRegWriteDword(HKEY_CURRENT_USER, testKey_, L"Dword", 300);
    EXPECT_EQ(300, QelRegReadQword(HKEY_CURRENT_USER, testKey_, L"Dword", -1));
}

TEST_F(Registry, StringQueryKeepsWithinTheBufferAndTerminates)
{
    ASSERT_TRUE(QelRegWriteString(HKEY_CURRENT_USER, testKey_, L"Abc", L"abc"));
    wchar_t buffer[8];

    // Exactly fits with its terminator.
    wmemset(buffer, L'#', 8);
    EXPECT_TRUE(QelRegQueryString(HKEY_CURRENT_USER, testKey_, L"Abc", buffer, 4));
    EXPECT_STREQ(L"abc", buffer);
    EXPECT_EQ(L'#', buffer[4]);

    // One character short: refused, left empty, nothing written past the buffer.
    wmemset(buffer, L'#', 8);
    EXPECT_FALSE(QelRegQueryString(HKEY_CURRENT_USER, testKey_, L"Abc", buffer, 3));
    EXPECT_EQ(L'\0', buffer[0]);
    EXPECT_EQ(L'#', buffer[3]);

    // Stored without a terminator: terminated when there is room for one.
    SetRaw(L"Bare", REG_SZ, L"xyz", 6);
    wmemset(buffer, L'#', 8);
    EXPECT_TRUE(QelRegQueryString(HKEY_CURRENT_USER, testKey_, L"Bare", buffer, 8));
    EXPECT_STREQ(L"xyz", buffer);
    wmemset(buffer, L'#', 8);
    EXPECT_TRUE(QelRegQueryString(HKEY_CURRENT_USER, testKey_, L"Bare", buffer, 4));
    EXPECT_STREQ(L"xyz", buffer);
    wmemset(buffer, L'#', 8);
    EXPECT_FALSE(QelRegQueryString(HKEY_CURRENT_USER, testKey_, L"Bare", buffer, 3));
    EXPECT_EQ(L'\0', buffer[0]);
    EXPECT_EQ(L'#', buffer[3]);

    EXPECT_FALSE(QelRegQueryString(HKEY_CURRENT_USER, testKey_, L"Abc", buffer, 0));

    // The reader with a default takes texts of up to 1024 characters.
    const std::wstring longText(1024, L'q');
    ASSERT_TRUE(QelRegWriteString(HKEY_CURRENT_USER, testKey_, L"Long", longText.c_str()));
    EXPECT_EQ(longText, QelRegReadString(HKEY_CURRENT_USER, testKey_, L"Long", nullptr));
    const std::wstring tooLong(1025, L'q');
    ASSERT_TRUE(QelRegWriteString(HKEY_CURRENT_USER, testKey_, L"Long", tooLong.c_str()));
    EXPECT_EQ(L"d", QelRegReadString(HKEY_CURRENT_USER, testKey_, L"Long", L"d"));
}

TEST_F(Registry, EnumeratesAndDeletes)
{
    const std::wstring one = Sub(L"\\One");
    const std::wstring two = Sub(L"\\Two\\Deeper");
    ASSERT_TRUE(QelRegCreateKey(HKEY_CURRENT_USER, one.c_str()));
    ASSERT_TRUE(QelRegCreateKey(HKEY_CURRENT_USER, two.c_str()));
    ASSERT_TRUE(QelRegWriteDword(HKEY_CURRENT_USER, testKey_, L"V1", 1));
    ASSERT_TRUE(QelRegWriteString(HKEY_CURRENT_USER, testKey_, L"V2", L"2"));

    std::vector<std::wstring> names{L"kept"};
    EXPECT_TRUE(QelRegEnumSubKeys(HKEY_CURRENT_USER, testKey_, names));
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"kept", L"One", L"Two"}), names);
    names.clear();
    EXPECT_TRUE(QelRegEnumValueNames(HKEY_CURRENT_USER, testKey_, names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"V1", L"V2"}), names);
    names.clear();
    EXPECT_FALSE(QelRegEnumSubKeys(HKEY_CURRENT_USER, Sub(L"\\None").c_str(), names));
    EXPECT_TRUE(names.empty());

    EXPECT_TRUE(QelRegValueExists(HKEY_CURRENT_USER, testKey_, L"V1"));
    EXPECT_TRUE(QelRegDeleteValue(HKEY_CURRENT_USER, testKey_, L"V1"));
    EXPECT_FALSE(QelRegValueExists(HKEY_CURRENT_USER, testKey_, L"V1"));
    EXPECT_FALSE(QelRegDeleteValue(HKEY_CURRENT_USER, testKey_, L"V1"));
    EXPECT_FALSE(QelRegDeleteValue(HKEY_CURRENT_USER, Sub(L"\\None").c_str(), L"V2"));
    EXPECT_FALSE(QelRegKeyExists(HKEY_CURRENT_USER, Sub(L"\\None").c_str()));

    EXPECT_TRUE(QelRegDeleteKeyTree(HKEY_CURRENT_USER, testKey_));
    EXPECT_FALSE(QelRegKeyExists(HKEY_CURRENT_USER, testKey_));
    EXPECT_FALSE(QelRegDeleteKeyTree(HKEY_CURRENT_USER, testKey_));
}
