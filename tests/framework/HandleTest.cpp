#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "framework/Handle.h"

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

}  // namespace

TEST(Handle, ClosesWhatItOwnsOnceAndOnlyThat)
{
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        CHandle owner(raw);
        EXPECT_TRUE(owner.IsValid());
        CHandle moved(std::move(owner));
        EXPECT_FALSE(owner.IsValid());
        EXPECT_EQ(raw, moved.Get());
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        CHandle owner(raw);
        const HANDLE given = owner.Detach();
        EXPECT_FALSE(owner.IsValid());
        EXPECT_EQ(raw, given);
    }
    EXPECT_TRUE(IsOpen(raw));

    // Taking another handle closes the one held before.
    HANDLE second = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, second);
    {
        CHandle owner(raw);
        owner = CHandle(second);
        EXPECT_FALSE(IsOpen(raw));
        EXPECT_TRUE(IsOpen(second));
    }
    EXPECT_FALSE(IsOpen(second));
}

TEST(Handle, FailureValuesOwnNothing)
{
    CHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none.IsValid());
    EXPECT_FALSE(static_cast<bool>(CHandle()));
    none.Close();  // nothing to close, nothing happens

    WIN32_FIND_DATAW data{};
    CFindHandle missing(::FindFirstFileW(L"C:\\no such folder\\*.*", &data));
    EXPECT_FALSE(missing.IsValid());
}

TEST(Handle, FindHandleCarriesTheSearch)
{
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetSystemDirectoryW(folder, MAX_PATH));
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = std::wstring(folder) + L"\\*.*";
    CFindHandle search(::FindFirstFileW(pattern.c_str(), &data));
    ASSERT_TRUE(search.IsValid());
    EXPECT_TRUE(::FindNextFileW(search.Get(), &data));
}
