#include <gtest/gtest.h>

#include <thread>

#include "HexBytes.h"
#include "XmlTestSupport.h"
#include "foundation/Settings.h"

namespace {

class Settings : public XmlTest
{
protected:
    std::wstring File() const { return m_folder / L"Tessary.xml"; }
    TestFolder m_folder;
};

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST_F(Settings, ReadsAloneWriteNothing)
{
    {
        CQelSettings settings(File().c_str(), L"Tessary");
        EXPECT_EQ(0, settings.GetInt(L"MainFrame_State", L"Left", 0));
        EXPECT_EQ(L"", settings.GetString(L"MainFrame_State", L"Right", L"x"));
    }
    EXPECT_FALSE(Exists(File()));
    EXPECT_EQ(L"", NewLogText());
}

TEST_F(Settings, ExactBytesAfterASequenceOfSets)
{
    {
        CQelSettings settings(File().c_str(), L"Tessary");
        EXPECT_EQ(L"", settings.GetString(L"Reader", L"Unread", L"x"));  // creates empty elements in memory
        EXPECT_TRUE(settings.SetInt(L"MainFrame_State", L"Left", 10));
        EXPECT_TRUE(settings.SetInt(L"MainFrame_State", L"Top", 20));
        EXPECT_TRUE(settings.SetBool(L"SyncDlg", L"Visible", TRUE));
        EXPECT_TRUE(settings.SetString(L"Common", L"UserName", L"  Li \"Wei\" </Common>&\u4e2d "));
    }
    // Computed outside the program. The read's empty elements are not kept,
    // and the value loses its outer blanks.
    EXPECT_EQ("fffe3c0054006500730073006100720079003e000d000a0009003c004d00610069006e004600720061006d0065005f00"
              "530074006100740065003e000d000a00090009003c004c006500660074003e00310030003c002f004c00650066007400"
              "3e000d000a00090009003c0054006f0070003e00320030003c002f0054006f0070003e000d000a0009003c002f004d00"
              "610069006e004600720061006d0065005f00530074006100740065003e000d000a0009003c00530079006e0063004400"
              "6c0067003e000d000a00090009003c00560069007300690062006c0065003e0031003c002f0056006900730069006200"
              "6c0065003e000d000a0009003c002f00530079006e00630044006c0067003e000d000a0009003c0043006f006d006d00"
              "6f006e003e000d000a00090009003c0055007300650072004e0061006d0065003e004c00690020002200570065006900"
              "2200200026006c0074003b002f0043006f006d006d006f006e002600670074003b00260061006d0070003b002d4e3c00"
              "2f0055007300650072004e0061006d0065003e000d000a0009003c002f0043006f006d006d006f006e003e000d000a00"
              "3c002f0054006500730073006100720079003e00",
              ToHex(ReadBytes(File())));

    {
        CQelSettings settings(File().c_str(), L"Tessary");
        EXPECT_EQ(10, settings.GetInt(L"mainframe_state", L"LEFT", 0));
        EXPECT_TRUE(settings.GetBool(L"SyncDlg", L"Visible", FALSE));
        EXPECT_EQ(L"Li \"Wei\" </Common>&\u4e2d", settings.GetString(L"Common", L"UserName", L""));
        EXPECT_TRUE(settings.SetInt(L"MAINFRAME_STATE", L"left", -5));
    }
    const std::wstring expected = L"<Tessary>\r\n\t<MainFrame_State>\r\n\t\t<Left>-5</Left>\r\n\t\t<Top>20</Top>\r\n"
                                  L"\t</MainFrame_State>\r\n\t<SyncDlg>\r\n\t\t<Visible>1</Visible>\r\n\t</SyncDlg>\r\n"
                                  L"\t<Common>\r\n\t\t<UserName>Li \"Wei\" &lt;/Common&gt;&amp;\u4e2d</UserName>\r\n"
                                  L"\t</Common>\r\n</Tessary>";
    EXPECT_EQ(Utf16Bytes(expected), ReadBytes(File()));
}

TEST_F(Settings, TypedReadsFollowTheirDefaults)
{
    {
        CQelSettings settings(File().c_str(), L"Tessary");
        settings.SetString(L"S", L"Empty", L"");
        settings.SetString(L"S", L"Two", L"2");
        settings.SetString(L"S", L"Zero", L"0");
        settings.SetString(L"S", L"Word", L"abc");
    }
    CQelSettings settings(File().c_str(), L"Tessary");
    EXPECT_EQ(L"", settings.GetString(L"S", L"Empty", L"x"));
    EXPECT_EQ(7, settings.GetInt(L"S", L"Empty", 7));
    EXPECT_TRUE(settings.GetBool(L"S", L"Empty", TRUE));
    EXPECT_TRUE(settings.GetBool(L"S", L"Two", FALSE));
    EXPECT_FALSE(settings.GetBool(L"S", L"Zero", TRUE));
    EXPECT_FALSE(settings.GetBool(L"S", L"Word", TRUE));
    EXPECT_EQ(0, settings.GetInt(L"S", L"Word", 9));

    // Names the file could not hold are refused and logged, never written.
    EXPECT_FALSE(settings.SetString(L"Bad Section", L"k", L"v"));
    EXPECT_EQ(L"d", settings.GetString(L"S", L"1key", L"d"));
    const std::wstring log = NewLogText();
    EXPECT_NE(std::wstring::npos, log.find(L"Failed to set settings value: Bad Section.k=v"));
    EXPECT_NE(std::wstring::npos, log.find(L"Failed to get settings value: S.1key"));

    CQelEmptySettings empty;
    EXPECT_EQ(42, empty.GetInt(L"DocumentsInfoSplitter", L"SplitterPos", 42));
    EXPECT_TRUE(empty.SetInt(L"DocumentsInfoSplitter", L"SplitterPos", 1));
    EXPECT_EQ(42, empty.GetInt(L"DocumentsInfoSplitter", L"SplitterPos", 42));
}

TEST_F(Settings, HostileValuesRoundTrip)
{
    const std::wstring values[] = {L"</Key><Evil>1</Evil>", L"&amp; &#13; ]]> <![CDATA[x]]>", L"a\nb\r\nc\td",
                                   L"\"'\"'", L"\U0001F600 \u4e2d\u6587", L"%1 %2 %%"};
    {
        CQelSettings settings(File().c_str(), L"Tessary");
        for (size_t i = 0; i < std::size(values); ++i)
            EXPECT_TRUE(settings.SetString(L"Values", (L"K" + std::to_wstring(i)).c_str(), values[i].c_str()));
    }
    CQelSettings settings(File().c_str(), L"Tessary");
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(values[i], settings.GetString(L"Values", (L"K" + std::to_wstring(i)).c_str(), L"")) << i;
    std::vector<std::pair<std::wstring, std::wstring>> section;
    EXPECT_TRUE(settings.GetSectionValues(L"values", section));
    EXPECT_EQ(std::size(values), section.size());
}

TEST_F(Settings, TwoStoresAndAnotherWriterKeepEachOthersValues)
{
    ASSERT_TRUE(WriteBytes(File(), Utf16Bytes(L"<Tessary><Tree><X>1</X><_a>32</_a></Tree><Old>1</Old></Tessary>")));
    {
        CQelSettings first(File().c_str(), L"Tessary");
        CQelSettings second(File().c_str(), L"Tessary");
        EXPECT_TRUE(first.SetInt(L"MainFrame_State", L"Left", 1));
        EXPECT_TRUE(first.ClearSection(L"tree"));
        EXPECT_TRUE(first.SetInt(L"Tree", L"Y", 3));
        EXPECT_TRUE(second.SetInt(L"SyncDlg", L"Top", 2));
        EXPECT_EQ(0, second.GetInt(L"Unread", L"Key", 0));

        // A writer of its own, as the advertisement list is, saving in between.
        {
            CQelSettingsFileLock lock;
            CQelXMLDocument document;
            ASSERT_TRUE(QelLoadSettingsFileForUpdate(File().c_str(), document, TRUE));
            CQelXMLNode ads;
            ASSERT_TRUE(document.FindOrAppendChildNodeOfChild(L"Tessary", L"Ads", ads));
            CQelXMLNode ad;
            ASSERT_TRUE(ads.AppendChildNode(L"Ad", ad));
            ASSERT_TRUE(ad.SetAttributeText(L"Title", L"T"));
            ASSERT_TRUE(document.SaveToFile(File().c_str()));
        }
    }  // second saves, then first
    const std::wstring expected = L"<Tessary>\r\n\t<Tree>\r\n\t\t<Y>3</Y>\r\n\t</Tree>\r\n\t<Old>1</Old>\r\n"
                                  L"\t<Ads>\r\n\t\t<Ad Title=\"T\"/>\r\n\t</Ads>\r\n\t<SyncDlg>\r\n\t\t<Top>2</Top>\r\n"
                                  L"\t</SyncDlg>\r\n\t<MainFrame_State>\r\n\t\t<Left>1</Left>\r\n"
                                  L"\t</MainFrame_State>\r\n</Tessary>";
    EXPECT_EQ(Utf16Bytes(expected), ReadBytes(File()));
}

TEST_F(Settings, WritersOnTwoThreadsLoseNothing)
{
    constexpr int rounds = 40;
    auto writer = [this](const wchar_t* section) {
        const CComInitialize com;
        for (int i = 0; i < rounds; ++i) {
            CQelSettings settings(File().c_str(), L"Tessary");
            settings.SetInt(section, (L"K" + std::to_wstring(i)).c_str(), i);
        }
    };
    std::thread worker(writer, L"Worker");
    writer(L"Main");
    worker.join();

    CQelSettings settings(File().c_str(), L"Tessary");
    for (int i = 0; i < rounds; ++i) {
        EXPECT_EQ(i, settings.GetInt(L"Worker", (L"K" + std::to_wstring(i)).c_str(), -1)) << i;
        EXPECT_EQ(i, settings.GetInt(L"Main", (L"K" + std::to_wstring(i)).c_str(), -1)) << i;
    }
}

TEST_F(Settings, MalformedFileIsLoggedKeptAndReplacedOnlyBySaving)
{
    const auto broken = Utf16Bytes(L"<Tessary><Window><Left>10</Left>");
    ASSERT_TRUE(WriteBytes(File(), broken));
    {
        CQelSettings settings(File().c_str(), L"Tessary");
        EXPECT_EQ(-1, settings.GetInt(L"Window", L"Left", -1));
    }
    EXPECT_EQ(broken, ReadBytes(File()));  // reading alone changes nothing
    const std::wstring log = NewLogText();
    EXPECT_NE(std::wstring::npos, log.find(L"Failed to load xml file: " + File()));

    {
        CQelSettings settings(File().c_str(), L"Tessary");
        EXPECT_TRUE(settings.SetInt(L"Window", L"Top", 5));
    }
    EXPECT_EQ(Utf16Bytes(L"<Tessary>\r\n\t<Window>\r\n\t\t<Top>5</Top>\r\n\t</Window>\r\n</Tessary>"), ReadBytes(File()));
    EXPECT_EQ(broken, ReadBytes(File() + L".bad"));
    EXPECT_NE(std::wstring::npos, NewLogText().find(L"Kept the unreadable settings file as " + File() + L".bad"));
}

TEST_F(Settings, NoBoxOffTheStartingThreadEvenWhenBoxesAreOn)
{
    ASSERT_TRUE(WriteBytes(File(), Utf16Bytes(L"<Tessary><open>")));
    const BOOL before = QelAreMessageBoxesEnabled();
    QelEnableMessageBoxes(TRUE);
    int value = 0;
    // Would hang on a modal box if one were shown here.
    std::thread([&] {
        const CComInitialize com;
        CQelSettings settings(File().c_str(), L"Tessary");
        value = settings.GetInt(L"S", L"K", 3);
    }).join();
    QelEnableMessageBoxes(before);
    EXPECT_EQ(3, value);
    EXPECT_NE(std::wstring::npos, NewLogText().find(L"Failed to load xml file: " + File()));
}

TEST_F(Settings, ShortFileStartsAfresh)
{
    ASSERT_TRUE(WriteBytes(File(), {0xFF, 0xFE, '<', 0}));
    {
        CQelSettings settings(File().c_str(), L"Tessary");
        EXPECT_EQ(4, settings.GetInt(L"S", L"K", 4));
    }
    EXPECT_FALSE(Exists(File()));
}

TEST_F(Settings, ReaderFileLiesInTheDataFolder)
{
    EXPECT_EQ(QelGetDataFolder() + L"Tessary.xml", QelGetSettingsFileName());
    {
        CTessarySettings settings;
        EXPECT_EQ(L"Tessary", settings.GetRootName());
        EXPECT_TRUE(settings.SetInt(L"SyncDlg", L"Visible", 1));
    }
    EXPECT_EQ(Utf16Bytes(L"<Tessary>\r\n\t<SyncDlg>\r\n\t\t<Visible>1</Visible>\r\n\t</SyncDlg>\r\n</Tessary>"),
              ReadBytes(QelGetSettingsFileName()));
    DeleteFileW(QelGetSettingsFileName().c_str());
}
