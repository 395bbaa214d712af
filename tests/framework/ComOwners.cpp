#include <gtest/gtest.h>
#include "framework/Bstr.h"
#include "framework/Variant.h"

TEST(Bstr, KeepsWholeTextAndNullness)
{
    const std::wstring withZero(L"a\0b", 3);
    CBstr text(withZero);
    EXPECT_EQ(3u, text.Length());
    EXPECT_EQ(withZero, text.ToString());

    CBstr none(static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(L"", none.ToString());

    CBstr empty(L"");
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(0u, empty.Length());
}

TEST(Bstr, MovesOwnership)
{
    CBstr first(L"abc");
    const BSTR raw = first.Get();
    CBstr second(std::move(first));
    EXPECT_TRUE(first.IsNull());
    EXPECT_EQ(raw, second.Get());

    CBstr third(L"x");
    third = std::move(second);
    EXPECT_EQ(raw, third.Get());
    EXPECT_EQ(L"abc", third.ToString());

    BSTR detached = third.Detach();
    EXPECT_TRUE(third.IsNull());
    *third.Receive() = detached;
    EXPECT_EQ(L"abc", third.ToString());

    *third.Receive() = ::SysAllocString(L"new");
    EXPECT_EQ(L"new", third.ToString());
}

TEST(Variant, HoldsStringsAndIntegers)
{
    CVariant text(L"hello");
    EXPECT_EQ(VT_BSTR, text.Type());
    std::wstring out;
    EXPECT_TRUE(text.GetString(out));
    EXPECT_EQ(L"hello", out);

    CVariant number(LONG(1));
    EXPECT_EQ(VT_I4, number.Type());
    EXPECT_EQ(1, number.Get().lVal);
    EXPECT_FALSE(number.GetString(out));

    CVariant moved(std::move(text));
    EXPECT_EQ(VT_EMPTY, text.Type());
    EXPECT_TRUE(moved.GetString(out));
    EXPECT_EQ(L"hello", out);

    ::VariantCopy(moved.Receive(), const_cast<VARIANT*>(&number.Get()));
    EXPECT_EQ(VT_I4, moved.Type());
    moved.Receive();
    EXPECT_EQ(VT_EMPTY, moved.Type()) << "an out-parameter starts cleared";
}
