// The advertisement list: reading answers and the stored list, and the whole
// download and store against the web API of the services stand-in.

#include "SyncToolSupport.h"

#include "NetTestSupport.h"
#include "foundation/TestFolder.h"
#include "foundation/Global.h"
#include "foundation/NetTimeout.h"
#include "foundation/XMLDocument.h"
#include "librarydata/AdList.h"

#include <gtest/gtest.h>

namespace {

TEST(AdList, AnswerEntriesNeedBothTitleAndUrl)
{
    CComScope com;
    TestFolder folder;
    ASSERT_TRUE(WriteText(folder / L"answer.xml",
                          "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<ADS>\r\n"
                          "\t<Ad Title=\"First\" URL=\"http://example.com/1\"/>\r\n"
                          "\t<Ad Title=\"No link\"/>\r\n"
                          "\t<Item Title=\"\xE6\x96\xB0\xE4\xB9\xA6\" URL=\"http://example.com/2\"/>\r\n"
                          "\t<Ad URL=\"http://example.com/3\" Title=\"\"/>\r\n</ADS>\r\n"));
    std::vector<QELADDATA> ads;
    ASSERT_TRUE(QelLoadADListFromFile((folder / L"answer.xml").c_str(), ads));
    ASSERT_EQ(2u, ads.size());
    EXPECT_EQ(L"First", ads[0].title);
    EXPECT_EQ(L"http://example.com/1", ads[0].url);
    EXPECT_EQ(L"\u65B0\u4E66", ads[1].title);  // any element name counts

    ASSERT_TRUE(WriteText(folder / L"other.xml", "<Tessary><Ads><Ad Title=\"x\" URL=\"y\"/></Ads></Tessary>"));
    ads.clear();
    EXPECT_FALSE(QelLoadADListFromFile((folder / L"other.xml").c_str(), ads));
    EXPECT_FALSE(QelLoadADListFromFile((folder / L"missing.xml").c_str(), ads));
    ASSERT_TRUE(WriteText(folder / L"text.xml", "The service is resting."));
    EXPECT_FALSE(QelLoadADListFromFile((folder / L"text.xml").c_str(), ads));
    EXPECT_TRUE(ads.empty());

    // The stored form sits inside the root element.
    EXPECT_TRUE(QelLoadADListFromXmlFile((folder / L"other.xml").c_str(), L"tessary", ads));
    ASSERT_EQ(1u, ads.size());
    EXPECT_EQ(L"y", ads[0].url);
}

TEST(AdList, ApiUrlTakesEachValueAsItIs)
{
    EXPECT_EQ(L"http://api.tessary.test/api/?p=tessary&l=2052&v=1.0.0.3&c=ad&a=",
              TessaryFormatApiUrl(L"tessary", L"2052", L"1.0.0.3", L"ad", L""));
    // A value that holds a later key's placeholder is not filled again.
    EXPECT_EQ(L"http://api.tessary.test/api/?p=a%2b&l=%3&v=1.%5&c=%4x&a=%1",
              TessaryFormatApiUrl(L"a%2b", L"%3", L"1.%5", L"%4x", L"%1"));
    EXPECT_EQ(L"http://api.tessary.test/api/?p=&l=&v=&c=&a=",
              TessaryFormatApiUrl(nullptr, nullptr, nullptr, nullptr, nullptr));
}

class AdListUpdate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CScenario scenario;
        scenario.ads = {{"Winter \xE7\x89\x88 & more", "http://www.example.com/a?x=1&y=2"},
                        {"Brakes", "http://www.example.com/b"}};
        scenario.faults = Faults();
        ASSERT_TRUE(m_standIn.Start(scenario.Json())) << m_standIn.Error();
    }
    virtual std::string Faults() const { return "{}"; }

    BOOL Update() const
    {
        return TessaryUpdateAdList(L"Tessary", L"", m_settings.c_str(), L"Tessary", L"9.8.7.6");
    }
    std::vector<QELADDATA> StoredAds() const
    {
        std::vector<QELADDATA> ads;
        QelLoadADListFromXmlFile(m_settings.c_str(), L"Tessary", ads);
        return ads;
    }

    CComScope m_com;
    TestFolder m_folder;
    std::wstring m_settings = m_folder / L"Tessary.xml";
    CServicesStandIn m_standIn;
};

TEST_F(AdListUpdate, AMissingSettingsFileIsCreatedWithTheList)
{
    ASSERT_TRUE(Update());
    const Bytes bytes = ReadBytes(m_settings);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFE, bytes[1]);
    const std::vector<QELADDATA> ads = StoredAds();
    ASSERT_EQ(2u, ads.size());
    EXPECT_EQ(L"Winter \u7248 & more", ads[0].title);
    EXPECT_EQ(L"http://www.example.com/a?x=1&y=2", ads[0].url);
    EXPECT_EQ(L"Brakes", ads[1].title);

    const std::vector<CStandInRequest> requests = m_standIn.Requests();
    ASSERT_EQ(1u, requests.size());
    const CStandInRequest& request = requests[0];
    EXPECT_EQ("GET", request.method);
    EXPECT_EQ("api.tessary.test", request.host);
    EXPECT_EQ("/api/", request.path);
    EXPECT_EQ("tessary", request.api["p"].text);
    EXPECT_EQ(std::to_string(GetUserDefaultLCID()), request.api["l"].text);
    EXPECT_EQ("9.8.7.6", request.api["v"].text);
    EXPECT_EQ("ad", request.api["c"].text);
    EXPECT_FALSE(request.api["a"].IsNull());
    EXPECT_EQ("", request.api["a"].text);
    EXPECT_EQ("", request.api["url"].text);
    // The tick count comes last.
    const size_t t = request.url.rfind("&t=");
    ASSERT_NE(std::string::npos, t);
    EXPECT_EQ(std::string::npos, request.url.find_first_not_of("0123456789", t + 3));
    EXPECT_NE(std::string::npos, request.url.find("?p=tessary&l="));
}

TEST_F(AdListUpdate, OtherSettingsStayAndTheOldListIsReplaced)
{
    {
        CQelXMLDocument document;
        ASSERT_TRUE(document.LoadXML(L"<Tessary><SyncDlg><Visible>1</Visible></SyncDlg>"
                                     L"<Ads><Ad Title=\"Old\" URL=\"http://old\"/></Ads></Tessary>"));
        ASSERT_TRUE(document.SaveToFile(m_settings.c_str()));
    }
    ASSERT_TRUE(Update());
    const std::vector<QELADDATA> ads = StoredAds();
    ASSERT_EQ(2u, ads.size());
    EXPECT_EQ(L"Brakes", ads[1].title);
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadFromFile(m_settings.c_str(), FALSE));
    std::wstring visible;
    EXPECT_TRUE(document.GetNodeTextByPath(L"Tessary/SyncDlg/Visible", visible));
    EXPECT_EQ(L"1", visible);
}

TEST_F(AdListUpdate, ASettingsFileThatDoesNotLoadIsNeverReplaced)
{
    const std::string broken = "<Tessary><SyncDlg><Visible>1</Visible></SyncDlg><Ads>";
    ASSERT_TRUE(WriteText(m_settings, broken));
    CLogCapture log;
    EXPECT_FALSE(Update());
    const Bytes bytes = ReadBytes(m_settings);
    EXPECT_EQ(broken, std::string(bytes.begin(), bytes.end()));
    EXPECT_TRUE(log.Contains(L"Failed to store the advertisement list, the settings file does not load: " +
                             m_settings))
        << log.Text();
}

TEST_F(AdListUpdate, TheDownloadedAnswerDoesNotStayBehind)
{
    // A temporary folder of this test's own, when the program's is not fixed yet.
    const std::wstring privateTemp = m_folder / L"temp\\";
    ASSERT_TRUE(CreateDirectoryW(privateTemp.c_str(), nullptr));
    SetEnvironmentVariableW(L"TEMP", privateTemp.c_str());
    SetEnvironmentVariableW(L"TMP", privateTemp.c_str());
    const std::wstring temp = TessaryGetGlobal()->GetTempFolder();
    if (temp.rfind(privateTemp, 0) != 0)
        GTEST_SKIP() << "the program's temporary folder was fixed before this test";
    ASSERT_TRUE(Update());
    for (const std::wstring& file : FilesBelow(temp))
        EXPECT_NE(L".xml", file.substr(file.size() > 4 ? file.size() - 4 : 0)) << file;
}

class AdListUpdateWithoutAds : public AdListUpdate
{
protected:
    std::string Faults() const override
    {
        return R"({"api.ad": {"kind": "raw", "body": "<?xml version=\"1.0\"?><Other><Ad Title=\"x\" URL=\"y\"/></Other>"}})";
    }
};

TEST_F(AdListUpdateWithoutAds, LeavesTheStoredListAsItWas)
{
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<Tessary><Ads><Ad Title=\"Old\" URL=\"http://old\"/></Ads></Tessary>"));
    ASSERT_TRUE(document.SaveToFile(m_settings.c_str()));
    const Bytes before = ReadBytes(m_settings);
    EXPECT_FALSE(Update());
    EXPECT_EQ(before, ReadBytes(m_settings));
}

class AdListUpdateWithNoUsableAd : public AdListUpdate
{
protected:
    std::string Faults() const override
    {
        return R"({"api.ad": {"kind": "raw", "body": "<?xml version=\"1.0\"?><Ads><Ad Title=\"No link\"/></Ads>"}})";
    }
};

TEST_F(AdListUpdateWithNoUsableAd, EmptiesTheStoredList)
{
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<Tessary><Ads><Ad Title=\"Old\" URL=\"http://old\"/></Ads></Tessary>"));
    ASSERT_TRUE(document.SaveToFile(m_settings.c_str()));
    EXPECT_TRUE(Update());
    std::vector<QELADDATA> ads;
    EXPECT_TRUE(QelLoadADListFromXmlFile(m_settings.c_str(), L"Tessary", ads));
    EXPECT_TRUE(ads.empty());
}

class AdListUpdateStalled : public AdListUpdate
{
protected:
    std::string Faults() const override { return R"({"api.ad": {"kind": "stall"}})"; }
};

TEST_F(AdListUpdateStalled, GivesUpAfterTheTimeOutAndLeavesTheStoredList)
{
    QelSetNetTimeoutForTests(2000);
    CQelXMLDocument document;
    ASSERT_TRUE(document.LoadXML(L"<Tessary><Ads><Ad Title=\"Old\" URL=\"http://old\"/></Ads></Tessary>"));
    ASSERT_TRUE(document.SaveToFile(m_settings.c_str()));
    const Bytes before = ReadBytes(m_settings);
    CLogCapture log;
    EXPECT_FALSE(Update());
    EXPECT_EQ(before, ReadBytes(m_settings));
    EXPECT_TRUE(log.Mentions(L"made no progress within 2 seconds")) << log.Text();
    EXPECT_EQ(1u, m_standIn.Requests().size()) << "a stalled server is not asked again";
    QelSetNetTimeoutForTests(QEL_NET_TIMEOUT_MS);
}

}  // namespace
