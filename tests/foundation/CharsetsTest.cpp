#include <gtest/gtest.h>

#include "ComTest.h"
#include "foundation/Charsets.h"

namespace {

class CharsetLookup : public ComTest
{
};

const char kZhongwenUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87";
const char kZhongwen936[] = "\xD6\xD0\xCE\xC4";
const char kZhongwen950[] = "\xA4\xA4\xA4\xE5";

}  // namespace

TEST_F(CharsetLookup, CharsetNamesGiveInternetCodePages)
{
    EXPECT_EQ(950u, QelGetCharsetCodePage(L"big5"));
    EXPECT_EQ(936u, QelGetCharsetCodePage(L"gb2312"));
    EXPECT_EQ(65001u, QelGetCharsetCodePage(L"UTF-8"));
    EXPECT_EQ(0u, QelGetCharsetCodePage(L"no-such-charset"));
    EXPECT_EQ(0u, QelGetCharsetCodePage(L""));
    EXPECT_EQ(GB2312_CHARSET, QelGetCharsetGdiCharset(L"gb2312"));
    EXPECT_EQ(0, QelGetCharsetGdiCharset(L"no-such-charset"));
}

TEST(Charsets, HtmlCharsetFromTheFirstMetaThatNamesOne)
{
    EXPECT_EQ(L"gb2312", QelGetHtmlCharset("<html><META name=x><meta http-equiv='Content-Type' "
                                           "content='text/html; charset=gb2312' /></html>"));
    EXPECT_EQ(L"big5", QelGetHtmlCharset("<meta content=\"text/html; CHARSET=big5\">"));
    EXPECT_EQ(L"utf-8", QelGetHtmlCharset("<meta charset=\"utf-8\">"));
    EXPECT_EQ(L"x", QelGetHtmlCharset("<meta charset=x y>"));
    EXPECT_EQ(L"", QelGetHtmlCharset("<html><body>charset=big5</body>"));
    EXPECT_EQ(L"", QelGetHtmlCharset("<meta charset=big5"));  // never closed
}

TEST(Charsets, XmlEncodingFromTheDeclarationOnly)
{
    EXPECT_EQ(L"UTF-8", QelGetXmlEncoding("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><a/>"));
    EXPECT_EQ(L"gb2312", QelGetXmlEncoding("<?XML version='1.0' encoding='gb2312'?>"));
    EXPECT_EQ(L"", QelGetXmlEncoding("<?xml version=\"1.0\"?><a encoding=\"big5\"/>"));
    EXPECT_EQ(L"", QelGetXmlEncoding("<a/>"));
}

TEST(Charsets, StrictUtf8IsGuessedAsUtf8InAnyAnsiCodePage)
{
    EXPECT_EQ(65001u, QelGuessCodePage(kZhongwenUtf8));
    EXPECT_EQ(65001u, QelGuessCodePage("caf\xC3\xA9"));
    EXPECT_EQ(GetACP(), QelGuessCodePage("plain ascii"));
    EXPECT_EQ(GetACP(), QelGuessCodePage(""));
    if (GetACP() == 1252) {
        // Overlong forms and surrogates are not strict UTF-8.
        EXPECT_EQ(1252u, QelGuessCodePage("\xC0\xAF"));
        EXPECT_EQ(1252u, QelGuessCodePage("caf\xE9"));
        EXPECT_EQ(1252u, QelGuessCodePage("\xED\xA0\x80"));
        EXPECT_EQ(1252u, QelGuessCodePage(kZhongwen936));
    }
}

TEST_F(CharsetLookup, HtmlAndXmlBytesDecodeByTheirDeclaration)
{
    std::wstring text;
    EXPECT_TRUE(QelHtmlBytesToText(std::string("<meta content='text/html; charset=big5'>") + kZhongwen950, text));
    EXPECT_EQ(L"<meta content='text/html; charset=big5'>\u4E2D\u6587", text);
    EXPECT_TRUE(QelXmlBytesToText(std::string("<?xml encoding=\"gb2312\"?>") + kZhongwen936, text));
    EXPECT_EQ(L"<?xml encoding=\"gb2312\"?>\u4E2D\u6587", text);
    EXPECT_TRUE(QelHtmlBytesToText(std::string("<p>") + kZhongwenUtf8, text));  // guessed
    EXPECT_EQ(L"<p>\u4E2D\u6587", text);
}

// Under a Chinese user locale the ANSI code page is 936, which accepts much UTF-8
// as valid double-byte text. ctest runs these once more with LC_ALL=zh_CN.UTF-8.
TEST(ChineseLocale, StrictUtf8WinsOverCodePage936)
{
    char expected[16] = {};
    if (GetACP() != 936) {
        if (GetEnvironmentVariableA("QEL_EXPECT_ACP", expected, sizeof expected))
            FAIL() << "LC_ALL=zh_CN.UTF-8 gave code page " << GetACP() << "; tools/setup.sh builds that locale";
        GTEST_SKIP() << "ANSI code page is " << GetACP();
    }
    // The UTF-8 text also reads as valid 936 text: only the strict test tells them apart.
    EXPECT_TRUE(QelIsValidInCodePage(kZhongwenUtf8, 936, MB_ERR_INVALID_CHARS));
    EXPECT_EQ(65001u, QelGuessCodePage(kZhongwenUtf8));
    EXPECT_EQ(936u, QelGuessCodePage(kZhongwen936));
    EXPECT_EQ(936u, QelGuessCodePage("ascii"));
    EXPECT_EQ(0x0804u, GetUserDefaultLCID());
}
