#include <gtest/gtest.h>

#include "ComTest.h"
#include "foundation/MimeWords.h"

#include <string>

// Expected texts computed with Python's codecs and base64 module.

namespace {

// The charset lookup needs COM on the thread.
class MimeWords : public ComTest
{
};

} // namespace

TEST_F(MimeWords, EncodesTheTextInTheCharsetAsOneWord)
{
    EXPECT_EQ("=?utf-8?B?5Lit5paH?=", QelEncodeMimeWord(L"utf-8", L"\u4e2d\u6587"));
    EXPECT_EQ("=?gb2312?B?1tDOxA==?=", QelEncodeMimeWord(L"gb2312", L"\u4e2d\u6587"));
    const wchar_t* title = L"Tessary \u9605\u8bfb\u5668\uff1a\u4e66\u7c4d\u4e0e\u6587\u6863";
    EXPECT_EQ("=?gb2312?B?VGVzc2FyeSDUxLbBxvejusrpvK7T687EtbU=?=", QelEncodeMimeWord(L"gb2312", title));
    EXPECT_EQ("=?utf-8?B?VGVzc2FyeSDpmIXor7vlmajvvJrkuabnsY3kuI7mlofmoaM=?=", QelEncodeMimeWord(L"utf-8", title));

    // 120 characters, 480 Base64 characters: still one word on one line.
    std::wstring longText;
    for (int i = 0; i < 30; ++i)
        longText += L"\u4e2d\u6587\u6807\u9898";
    const std::string word = QelEncodeMimeWord(L"utf-8", longText.c_str());
    EXPECT_EQ(10u + 480u + 2u, word.size());
    EXPECT_EQ(std::string::npos, word.find_first_of("\r\n"));
    EXPECT_EQ("=?utf-8?B?5Lit5paH5qCH6aKY5Lit5paH5qCH6aKY5Lit5paH", word.substr(0, 50));
    EXPECT_EQ("=?utf-8?B?" "?=", QelEncodeMimeWord(L"utf-8", L""));
}

TEST_F(MimeWords, DecodesBase64InTheCharset)
{
    std::wstring text;
    EXPECT_TRUE(QelDecodeBase64WithCharset("1tDOxA==", L"gb2312", text));
    EXPECT_EQ(L"\u4e2d\u6587", text);
    EXPECT_TRUE(QelDecodeBase64WithCharset("5Lit\r\n5paH", L"utf-8", text));
    EXPECT_EQ(L"\u4e2d\u6587", text);
    EXPECT_EQ(L"Tessary \u9605\u8bfb\u5668\uff1a\u4e66\u7c4d\u4e0e\u6587\u6863",
              QelDecodeBase64WithCharsetString("VGVzc2FyeSDUxLbBxvejusrpvK7T687EtbU=", L"gb2312"));
    EXPECT_FALSE(QelDecodeBase64WithCharset(nullptr, L"utf-8", text));
}
