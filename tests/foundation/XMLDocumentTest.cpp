#include <gtest/gtest.h>

#include <thread>

#include "HexBytes.h"
#include "XmlTestSupport.h"
#include "foundation/XMLDocument.h"
#include "foundation/XMLText.h"

namespace {

class XmlWrapper : public XmlTest
{
};

std::wstring Xml(const CQelXMLDocument& document)
{
    std::wstring text;
    document.GetXML(text, FALSE);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    // Compare element structure only: the DOM may lay its own text out.
    std::wstring compact;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((text[i] == L'\r' || text[i] == L'\n' || text[i] == L'\t') && (compact.empty() || compact.back() == L'>'))
            continue;
        compact += text[i];
    }
    return compact;
}

}  // namespace

TEST_F(XmlWrapper, SavesTheFixedLayout)
{
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<Tessary><Window><Left>10</Left><Top>20</Top></Window><Empty/></Tessary>"));
    TestFolder folder;
    ASSERT_TRUE(document.SaveToFile((folder / L"a.xml").c_str()));
    // Computed outside the program: FF FE, then the seven lines in UTF-16LE
    // joined by CR LF, without a final line break.
    EXPECT_EQ("fffe3c0054006500730073006100720079003e000d000a0009003c00570069006e0064006f0077003e000d000a000900"
              "09003c004c006500660074003e00310030003c002f004c006500660074003e000d000a00090009003c0054006f007000"
              "3e00320030003c002f0054006f0070003e000d000a0009003c002f00570069006e0064006f0077003e000d000a000900"
              "3c0045006d007000740079002f003e000d000a003c002f0054006500730073006100720079003e00",
              ToHex(ReadBytes(folder / L"a.xml")));

    std::wstring laidOut;
    ASSERT_TRUE(document.GetXML(laidOut, TRUE));
    EXPECT_EQ(L"<Tessary>\n\t<Window>\n\t\t<Left>10</Left>\n\t\t<Top>20</Top>\n\t</Window>\n\t<Empty/>\n</Tessary>",
              laidOut);
}

TEST_F(XmlWrapper, LongDocumentKeepsTheDomLayoutWithoutFinalBreak)
{
    CQelXMLDocument document;
    CQelXMLNode root;
    ASSERT_TRUE(document.AppendChildNode(L"r", root));
    const std::wstring value(6000, L'v');
    CQelXMLNode child;
    ASSERT_TRUE(root.AppendChildNode(L"a", child));
    ASSERT_TRUE(child.SetText((L"  " + value).c_str()));
    ASSERT_TRUE(root.AppendChildNode(L"b", child));
    ASSERT_TRUE(child.SetText(value.c_str()));

    std::wstring dom;
    ASSERT_TRUE(document.GetXML(dom, FALSE));
    ASSERT_GT(dom.size(), QEL_XML_LAYOUT_LIMIT);
    std::wstring laidOut;
    ASSERT_TRUE(document.GetXML(laidOut, TRUE));
    std::wstring expected = dom;
    while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r'))
        expected.pop_back();
    EXPECT_EQ(expected, laidOut);
    EXPECT_EQ(L"</r>", laidOut.substr(laidOut.size() - 4));
}

TEST_F(XmlWrapper, EmptyDocumentSavesNothing)
{
    CQelXMLDocument document;
    TestFolder folder;
    std::wstring text = L"x";
    EXPECT_FALSE(document.GetXML(text, TRUE));
    EXPECT_FALSE(document.SaveToFile((folder / L"none.xml").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder / L"none.xml").c_str()));
}

TEST_F(XmlWrapper, NamesMatchIgnoringAsciiCaseAndKeepTheirLetters)
{
    CQelXMLDocument document;
    CQelXMLNode section;
    ASSERT_TRUE(document.FindOrAppendChildNodeOfChild(L"Tessary", L"Section", section));
    EXPECT_EQ(L"Section", section.GetName());

    CQelXMLNode found;
    EXPECT_TRUE(document.FindChildNodeOfChild(L"TESSARY", L"section", found));
    EXPECT_EQ(L"Section", found.GetName());
    // Only A-Z fold.
    ASSERT_TRUE(section.AppendChildNode(L"\u00c9t\u00e9", found));
    EXPECT_FALSE(section.FindChildNode(L"\u00e9t\u00e9", found));
    EXPECT_FALSE(document.FindChildNodeOfChild(L"Tessary", L"Other", found));
    EXPECT_EQ(L"<Tessary><Section><\u00c9t\u00e9/></Section></Tessary>", Xml(document));
}

TEST_F(XmlWrapper, FirstOfTwoWinsAndPathsAppendFreshChains)
{
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<r><a>1</a><A>2</A></r>"));
    CQelXMLNode root;
    ASSERT_TRUE(document.FindChildNode(L"r", root));
    CQelXMLNode node;
    ASSERT_TRUE(root.FindOrAppendChildNode(L"a", node));
    EXPECT_EQ(L"1", node.GetText(L""));
    ASSERT_TRUE(root.FindOrAppendChildNode(L"A", node));
    EXPECT_EQ(L"1", node.GetText(L""));
    EXPECT_EQ(4, root.GetChildNodesCount());  // two elements and their two texts

    ASSERT_TRUE(root.AppendNodeByPath(L"a/b", node));
    ASSERT_TRUE(root.AppendNodeTextByPath(L" / a // b / ", L"t"));
    EXPECT_EQ(L"<r><a>1</a><A>2</A><a><b/></a><a><b>t</b></a></r>", Xml(document));

    EXPECT_TRUE(document.FindNodeByPath(L"/R//A/", node));
    EXPECT_EQ(L"1", node.GetText(L""));
    EXPECT_FALSE(document.FindNodeByPath(L" / // ", node));
    EXPECT_FALSE(root.AppendNodeByPath(L"/ /", node));
    EXPECT_FALSE(document.FindNodeByPath(L"r/a/missing", node));
    std::wstring text;
    EXPECT_TRUE(document.GetNodeTextByPath(L"r/a", text));
    EXPECT_EQ(L"1", text);
}

TEST_F(XmlWrapper, ChildListsAndDeletion)
{
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<r><!--c--><a>1</a>text<b><c/></b><a>2</a></r>"));
    std::vector<std::wstring> names;
    EXPECT_TRUE(document.GetAllChildNodeNames(names));
    EXPECT_EQ(std::vector<std::wstring>{L"r"}, names);
    CQelXMLNode root;
    ASSERT_TRUE(document.FindChildNode(L"r", root));
    EXPECT_TRUE(root.GetAllChildNodeNames(names));
    EXPECT_EQ((std::vector<std::wstring>{L"#comment", L"a", L"#text", L"b", L"a"}), names);

    CQelXMLNode node;
    EXPECT_FALSE(root.GetFirstChildElement(node));  // a comment comes first
    ASSERT_TRUE(root.FindNodeByPath(L"B/c", node));
    EXPECT_EQ(L"c", node.GetName());
    EXPECT_FALSE(node.HasChildNodes());
    EXPECT_FALSE(root.FindNodeByPath(L"b/c/d", node));
    ASSERT_TRUE(root.FindChildNode(L"b", node));
    CQelXMLNode first;
    EXPECT_TRUE(node.GetFirstChildElement(first));
    EXPECT_EQ(L"c", first.GetName());

    // The first "a" goes, a missing name is no failure.
    EXPECT_TRUE(root.DeleteChildNode(L"A"));
    EXPECT_TRUE(root.DeleteChildNode(L"missing"));
    EXPECT_EQ(L"<r><!--c-->text<b><c/></b><a>2</a></r>", Xml(document));

    EXPECT_TRUE(root.DeleteAllChildNodes());
    EXPECT_FALSE(root.HasChildNodes());
    EXPECT_TRUE(root.GetAllChildNodeNames(names));
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(root.DeleteAllChildNodes());  // nothing left to delete
    EXPECT_EQ(L"<r/>", Xml(document));
    EXPECT_FALSE(CQelXMLNode().DeleteAllChildNodes());
}

TEST_F(XmlWrapper, RefusesNamesItCouldNotReadBack)
{
    CQelXMLDocument document;
    CQelXMLNode root;
    ASSERT_TRUE(document.AppendChildNode(L"r", root));
    CQelXMLNode node;
    for (const wchar_t* bad : {L"1bad", L"a b", L"x<y", L"", L"a:b"})
        EXPECT_FALSE(root.AppendChildNode(bad, node)) << bad;
    EXPECT_FALSE(root.SetAttributeText(L"a b", L"v"));
    EXPECT_FALSE(document.SetSettingsValue(L"r", L"bad name", L"k", L"v"));
    EXPECT_TRUE(root.AppendChildNode(L"\u4e2d\u6587", node));
    EXPECT_EQ(L"<r><\u4e2d\u6587/></r>", Xml(document));
    EXPECT_NE(std::wstring::npos, NewLogText().find(L"Failed to get value node"));
}

TEST_F(XmlWrapper, KeyLookupComparesNamesWithCaseAndValuesWithout)
{
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<r><item><id>ABC</id><n> 12 </n><f>True</f></item>"
                                 L"<Item><id>xyz</id><n>007</n><f>yes</f></Item></r>"));
    CQelXMLNode root;
    ASSERT_TRUE(document.FindChildNode(L"r", root));
    CQelXMLNode match;
    EXPECT_TRUE(root.FindChildNodeByKey(L"item", L"id", L"abc", match));
    EXPECT_FALSE(root.FindChildNodeByKey(L"item", L"id", L"xyz", match));
    EXPECT_FALSE(root.FindChildNodeByKey(L"ITEM", L"id", L"abc", match));

    int number = 0;
    EXPECT_TRUE(root.GetIntByKey(L"item", L"id", L"ABC", L"n", number));
    EXPECT_EQ(12, number);
    EXPECT_FALSE(root.GetIntByKey(L"Item", L"id", L"XYZ", L"n", number));  // "007" is not plain
    BOOL flag = FALSE;
    EXPECT_TRUE(root.GetBoolByKey(L"item", L"id", L"abc", L"f", flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(root.GetBoolByKey(L"Item", L"id", L"xyz", L"f", flag));
    std::wstring text;
    EXPECT_TRUE(root.GetTextByKey(L"Item", L"id", L"XYZ", L"n", text));
    EXPECT_EQ(L"007", text);
}

TEST_F(XmlWrapper, SettingsKeysAreFoundOrAppended)
{
    CQelXMLDocument document;
    std::wstring value = L"unchanged";
    EXPECT_TRUE(document.GetSettingsValue(L"Tessary", L"Main", L"Left", L"d", value));
    EXPECT_EQ(L"", value);  // the new, empty element's text
    EXPECT_EQ(L"<Tessary><Main><Left/></Main></Tessary>", Xml(document));

    EXPECT_TRUE(document.SetSettingsValue(L"tessary", L"MAIN", L"left", L"5"));
    EXPECT_EQ(L"<Tessary><Main><Left>5</Left></Main></Tessary>", Xml(document));

    // SetText replaces children.
    CQelXMLNode main;
    ASSERT_TRUE(document.FindChildNodeOfChild(L"Tessary", L"Main", main));
    EXPECT_TRUE(main.SetText(L"flat"));
    EXPECT_EQ(1, main.GetChildNodesCount());
    EXPECT_EQ(L"<Tessary><Main>flat</Main></Tessary>", Xml(document));

    // A second top-level element cannot be added: the root lookup fails quietly.
    EXPECT_FALSE(document.SetSettingsValue(L"Other", L"s", L"k", L"v"));
}

TEST_F(XmlWrapper, AttributesRoundTripHostileText)
{
    CQelXMLDocument document;
    CQelXMLNode root;
    ASSERT_TRUE(document.AppendChildNode(L"Ads", root));
    CQelXMLNode ad;
    ASSERT_TRUE(root.AppendChildNode(L"Ad", ad));
    const std::wstring hostile = L"a\"b'c<d>&e\tf\r\ng \U0001F600";
    EXPECT_TRUE(ad.SetAttributeText(L"Title", hostile.c_str()));
    EXPECT_TRUE(ad.SetAttributeText(L"Title", L"replaced"));
    EXPECT_TRUE(ad.SetAttributeText(L"URL", hostile.c_str()));
    EXPECT_TRUE(ad.SetAttributeInt64(L"Big", -9000000000LL));
    EXPECT_TRUE(ad.SetAttributeBool(L"On", TRUE));

    TestFolder folder;
    ASSERT_TRUE(document.SaveToFile((folder / L"ads.xml").c_str()));
    CQelXMLDocument loaded;
    ASSERT_TRUE(loaded.LoadFromFile((folder / L"ads.xml").c_str(), TRUE));
    CQelXMLNode node;
    ASSERT_TRUE(loaded.FindNodeByPath(L"Ads/Ad", node));
    EXPECT_EQ(L"replaced", node.GetAttributeText(L"Title", L""));
    EXPECT_EQ(hostile, node.GetAttributeText(L"URL", L""));
    __int64 big = 0;
    EXPECT_TRUE(node.QueryAttributeInt64(L"Big", big));
    EXPECT_EQ(-9000000000LL, big);
    EXPECT_TRUE(node.GetAttributeBool(L"On", FALSE));
    EXPECT_EQ(7, node.GetAttributeInt(L"Missing", 7));
    std::wstring text;
    EXPECT_FALSE(node.QueryAttributeText(L"Missing", text));
}

TEST_F(XmlWrapper, LoadsFilesThroughTheirBytes)
{
    TestFolder folder;
    // A folder name the parser's own loader would take for an escaped URL.
    const std::wstring odd = folder.Path() + L"a%20b #1\\";
    ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr));
    ASSERT_TRUE(WriteText(odd + L"u.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?><r>\xe4\xb8\xad</r>"));
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadFromFile((odd + L"u.xml").c_str(), TRUE));
    std::wstring text;
    EXPECT_TRUE(document.GetNodeTextByPath(L"r", text));
    EXPECT_EQ(L"\u4e2d", text);

    // Wide text that still declares a multi-byte encoding.
    ASSERT_TRUE(WriteBytes(folder / L"w.xml", Utf16Bytes(L"<?xml version=\"1.0\" encoding=\"gb2312\"?><r>\u6587</r>")));
    ASSERT_TRUE(document.LoadFromFile((folder / L"w.xml").c_str(), TRUE));
    EXPECT_TRUE(document.GetNodeTextByPath(L"r", text));
    EXPECT_EQ(L"\u6587", text);

    // The declared code page decides for unmarked bytes.
    ASSERT_TRUE(WriteText(folder / L"g.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?><r>\xd6\xd0</r>"));
    ASSERT_TRUE(document.LoadFromFile((folder / L"g.xml").c_str(), TRUE));
    EXPECT_TRUE(document.GetNodeTextByPath(L"r", text));
    EXPECT_EQ(L"\u4e2d", text);
}

TEST_F(XmlWrapper, ShortFilesAreDeletedAndMissingFilesFailQuietly)
{
    TestFolder folder;
    ASSERT_TRUE(WriteText(folder / L"s.xml", "<a/>"));
    CQelXMLDocument document;
    EXPECT_FALSE(document.LoadFromFile((folder / L"s.xml").c_str(), TRUE));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder / L"s.xml").c_str()));
    EXPECT_FALSE(document.LoadFromFile((folder / L"missing.xml").c_str(), TRUE));
    EXPECT_EQ(L"", NewLogText());
}

TEST_F(XmlWrapper, ParseErrorsAreLoggedAndLeaveAnEmptyDocument)
{
    TestFolder folder;
    ASSERT_TRUE(WriteBytes(folder / L"bad.xml", Utf16Bytes(L"<r><a>1</a>")));
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<old/>"));
    EXPECT_FALSE(document.LoadFromFile((folder / L"bad.xml").c_str(), TRUE));
    EXPECT_FALSE(document.GetParseErrorReason().empty());
    EXPECT_NE(std::wstring::npos, NewLogText().find(document.GetParseErrorReason()));
    std::wstring text;
    EXPECT_FALSE(document.GetXML(text, FALSE));
    // The file itself is left alone.
    EXPECT_EQ(Utf16Bytes(L"<r><a>1</a>"), ReadBytes(folder / L"bad.xml"));

    EXPECT_TRUE(document.LoadXML(L"<fine/>"));
    EXPECT_FALSE(document.ReportParseError());  // nothing to report
}

TEST(XMLParseErrorBox, AtMostOncePerSourceOnTheStartingThread)
{
    const BOOL before = QelAreMessageBoxesEnabled();
    wchar_t source[64] = {};
    swprintf(source, 64, L"C:\\Box\\%lu\\Tessary.xml", GetTickCount());
    std::wstring upper = source;
    CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));

    QelEnableMessageBoxes(FALSE);
    EXPECT_FALSE(QelClaimParseErrorBox(source));

    QelEnableMessageBoxes(TRUE);
    BOOL onWorker = TRUE;
    std::thread([&] { onWorker = QelClaimParseErrorBox(L"C:\\Box\\worker.xml"); }).join();
    EXPECT_FALSE(onWorker);
    EXPECT_TRUE(QelClaimParseErrorBox(source));
    EXPECT_FALSE(QelClaimParseErrorBox(source));
    EXPECT_FALSE(QelClaimParseErrorBox(upper.c_str()));
    EXPECT_TRUE(QelClaimParseErrorBox(L"C:\\Box\\worker.xml"));
    QelEnableMessageBoxes(before);
}
