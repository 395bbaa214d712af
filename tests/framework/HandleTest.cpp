#include <gtest/gtest.h>

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
    EXPECT_FALSE(static_cast<bool>(CHandle()));
    // A failed search reports INVALID_HANDLE_VALUE, not null.
    WIN32_FIND_DATAW data{};
    EXPECT_FALSE(CFindHandle(::FindFirstFileW(L"C:\\no such folder\\*.*", &data)).IsValid());
}
