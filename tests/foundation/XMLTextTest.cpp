#include <gtest/gtest.h>

#include "foundation/XMLText.h"

TEST(XMLLayout, NestedElementsOneTabPerLevel)
{
    std::wstring text = L"<Tessary><Window><Left>10</Left><Top>20</Top></Window><Empty/></Tessary>";
    EXPECT_TRUE(QelIndentXMLText(text));
    EXPECT_EQ(L"<Tessary>\n\t<Window>\n\t\t<Left>10</Left>\n\t\t<Top>20</Top>\n\t</Window>\n\t<Empty/>\n</Tessary>",
              text);
}

TEST(XMLLayout, TrimsTextRunsAndDropsSpaceBetweenTags)
{
    std::wstring text = L"<a>\r\n\t<b>  x y \t</b>\r\n\t<c k=\" v \"> </c>\r\n</a>\r\n";
    EXPECT_TRUE(QelIndentXMLText(text));
    // Attribute values stay as they are; the DOM's final line break is not a run.
    EXPECT_EQ(L"<a>\n\t<b>x y</b>\n\t<c k=\" v \"></c>\n</a>\r\n", text);
}

TEST(XMLLayout, DeclarationCommentAndSelfClosingChildren)
{
    std::wstring declared = L"<?xml version=\"1.0\"?><r><a/></r>";
    EXPECT_TRUE(QelIndentXMLText(declared));
    EXPECT_EQ(L"<?xml version=\"1.0\"?>\n\t<r>\n\t\t<a/>\n\t</r>", declared);

    // A comment opens a level that never closes.
    std::wstring commented = L"<r><!-- c --><a>1</a></r>";
    EXPECT_TRUE(QelIndentXMLText(commented));
    EXPECT_EQ(L"<r>\n\t<!-- c -->\n\t\t<a>1</a>\n\t</r>", commented);

    std::wstring empty;
    EXPECT_TRUE(QelIndentXMLText(empty));
    EXPECT_EQ(L"", empty);
}

TEST(XMLLayout, LongTextsAreLeftAlone)
{
    const std::wstring filler(QEL_XML_LAYOUT_LIMIT - 15, L'x');
    std::wstring exact = L"<r><a> " + filler + L"</a></r>";
    ASSERT_EQ(QEL_XML_LAYOUT_LIMIT, exact.size());
    EXPECT_TRUE(QelIndentXMLText(exact));
    EXPECT_EQ(L"<r>\n\t<a>" + filler + L"</a>\n</r>", exact);

    std::wstring longer = L"<r><a>  " + filler + L"</a></r>";
    const std::wstring before = longer;
    EXPECT_TRUE(QelIndentXMLText(longer));
    EXPECT_EQ(before, longer);
}

TEST(XMLNames, OnlyNamesTheParserReadsBack)
{
    for (const wchar_t* good : {L"Tessary", L"_x", L"a-b.c9", L"\u4e2d\u6587", L"\u00e9t\u00e9", L"x\U00010000"})
        EXPECT_TRUE(QelIsXMLName(good)) << good;
    for (const wchar_t* bad : {L"", L"1abc", L"a b", L"x<y", L"a:b", L"-a", L".a", L"a&b", L"a\"", L"\U000F0000",
                               L"a\xDC00"})
        EXPECT_FALSE(QelIsXMLName(bad)) << bad;
    EXPECT_FALSE(QelIsXMLName(nullptr));
}

TEST(XMLDeclaration, EncodingRemovedFromDecodedText)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"gb2312\" standalone=\"yes\"?><a/>";
    QelRemoveXMLDeclEncoding(text);
    EXPECT_EQ(L"<?xml version=\"1.0\" standalone=\"yes\"?><a/>", text);

    std::wstring single = L"<?xml version='1.0' encoding = 'big5'?>\n<a encoding=\"x\"/>";
    QelRemoveXMLDeclEncoding(single);
    EXPECT_EQ(L"<?xml version='1.0'?>\n<a encoding=\"x\"/>", single);

    // Only a leading declaration counts.
    std::wstring later = L"<a/><?xml version=\"1.0\" encoding=\"gb2312\"?>";
    QelRemoveXMLDeclEncoding(later);
    EXPECT_EQ(L"<a/><?xml version=\"1.0\" encoding=\"gb2312\"?>", later);
}
