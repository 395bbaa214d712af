#include "ServicesStandIn.h"

#include "NetTestSupport.h"

#include "librarydata/AccountsServer.h"
#include "librarydata/ServiceHosts.h"
#include "librarydata/XmlRpcServerBase.h"
#include "foundation/TestFolder.h"
#include "foundation/TestStreams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

namespace {

// The display name is "中文" (U+4E2D U+6587) so that every answer carries non-ASCII text.
std::string Scenario(const std::string& loginFaults)
{
    return R"({"accounts": [{"email": "ann@example.com", "password": "s3cret", "kb_guid": "kb-1",
               "displayname": "\u4e2d\u6587"}], "faults": {"accounts.clientLogin": [)" +
           loginFaults + "]}}";
}

struct CLoginReceiver : CQelHttpXmlRcpResultData_Strcut
{
    BOOL LoadStruct(const CQelHttpXmlRpcStruct& value) override
    {
        CQelHttpXmlRpcStruct user;
        return value.GetStruct(L"user", user) && user.GetString(L"displayname", displayName);
    }
    std::wstring displayName;
};

class XmlRpcCallTest : public ::testing::Test
{
protected:
    void Start(const std::string& loginFaults)
    {
        ASSERT_TRUE(m_standIn.Start(Scenario(loginFaults))) << m_standIn.Error();
        m_server.Init(L"CallTest", TESSARY_ACCOUNTS_HOST, TESSARY_ACCOUNTS_PORT);
        ASSERT_TRUE(m_server.Open());
    }

    // One sign-in call; the receiver gets the display name.
    BOOL Call()
    {
        CQelHttpXmlRpcFormData request(L"accounts.clientLogin");
        CQelXMLNode members;
        EXPECT_TRUE(request.AppendParamNode(L"param/value/struct", members));
        request.AddStructMemberString(members, L"email", L"ann@example.com");
        request.AddStructMemberString(members, L"password", QelLoginPasswordText(L"s3cret").c_str());
        request.AddStructMemberString(members, L"program_type", L"reader");
        request.AddStructMemberString(members, L"client_type", L"WIN");
        m_receiver = CLoginReceiver();
        return QelHttpXmlRpcCall(m_server, TESSARY_ACCOUNTS_PATH, request, &m_progress, m_receiver);
    }

    CComScope m_com;
    CServicesStandIn m_standIn;
    CQelHttpServer m_server;
    CProgressRecorder m_progress;
    CLoginReceiver m_receiver;
};

const std::wstring kName = L"\x4e2d\x6587";

}  // namespace

TEST(XmlRpcServerParts, HostPortAndPathOfAServerText)
{
    struct Case
    {
        const wchar_t* server;
        const wchar_t* host;
        DWORD port;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"books.example.com:8080/reader/", L"books.example.com", 8080, L"/reader/xmlrpc"},
        {L"books.example.com/", L"books.example.com", 80, L"/xmlrpc"},
        {L"HTTP://Books.Example.com/a//", L"Books.Example.com", 80, L"/a/xmlrpc"},
        {L"books.example.com:65535/r", L"books.example.com", 65535, L"/r/xmlrpc"},
        // Hosts whose names the scheme holds too.
        {L"t/reader/", L"t", 80, L"/reader/xmlrpc"},
        {L"h:8080/x/", L"h", 8080, L"/x/xmlrpc"},
    };
    std::wstring host;
    std::wstring path;
    DWORD port = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(QelXmlRpcGetServerParts(c.server, host, port, path)) << c.server;
        EXPECT_EQ(c.host, host) << c.server;
        EXPECT_EQ(c.port, port) << c.server;
        EXPECT_EQ(c.path, path) << c.server;
    }
    EXPECT_FALSE(QelXmlRpcGetServerParts(L"books.example.com:65616/r", host, port, path));
    EXPECT_FALSE(QelXmlRpcGetServerParts(L"books.example.com", host, port, path));
    EXPECT_FALSE(QelXmlRpcGetServerParts(L"", host, port, path));
}

TEST(XmlRpcRequest, LayoutTrimsValuesAndEndsLinesWithCrLf)
{
    CComScope com;
    CQelHttpXmlRpcFormData request(L"m");
    ASSERT_TRUE(request.AddParamString(L"  padded  "));
    ASSERT_TRUE(request.AddParamInt(-5));
    CQelXMLNode members;
    ASSERT_TRUE(request.AppendParamNode(L"param/value/struct", members));
    ASSERT_TRUE(request.AddStructMemberString(members, L"lines", L"a\nb"));
    ASSERT_TRUE(request.AddStructMemberStringArray(members, L"list", {L"x", L"y"}));
    std::string body;
    ASSERT_TRUE(request.GetBody(body));
    EXPECT_EQ("<?xml version=\"1.0\"?>\r\n<methodCall>\r\n\t<methodName>m</methodName>\r\n\t<params>\r\n"
              "\t\t<param>\r\n\t\t\t<value>\r\n\t\t\t\t<string>padded</string>\r\n\t\t\t</value>\r\n\t\t</param>\r\n"
              "\t\t<param>\r\n\t\t\t<value>\r\n\t\t\t\t<int>-5</int>\r\n\t\t\t</value>\r\n\t\t</param>\r\n"
              "\t\t<param>\r\n\t\t\t<value>\r\n\t\t\t\t<struct>\r\n"
              "\t\t\t\t\t<member>\r\n\t\t\t\t\t\t<name>lines</name>\r\n\t\t\t\t\t\t<value>\r\n"
              "\t\t\t\t\t\t\t<string>a\r\nb</string>\r\n\t\t\t\t\t\t</value>\r\n\t\t\t\t\t</member>\r\n"
              "\t\t\t\t\t<member>\r\n\t\t\t\t\t\t<name>list</name>\r\n\t\t\t\t\t\t<value>\r\n"
              "\t\t\t\t\t\t\t<array>\r\n\t\t\t\t\t\t\t\t<data>\r\n\t\t\t\t\t\t\t\t\t<value>x</value>\r\n"
              "\t\t\t\t\t\t\t\t\t<value>y</value>\r\n\t\t\t\t\t\t\t\t</data>\r\n\t\t\t\t\t\t\t</array>\r\n"
              "\t\t\t\t\t\t</value>\r\n\t\t\t\t\t</member>\r\n"
              "\t\t\t\t</struct>\r\n\t\t\t</value>\r\n\t\t</param>\r\n\t</params>\r\n</methodCall>",
              body);
}

TEST(XmlRpcRequest, TypedMembersHaveTheirTextForms)
{
    CComScope com;
    TestFolder folder;
    ASSERT_TRUE(WriteText(folder / L"a.bin", "abc"));
    const auto stream = StreamWith(std::string("hello"));
    std::tm local{};
    local.tm_year = 2009 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 4;
    local.tm_hour = 10;
    local.tm_min = 20;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const __int64 time = _mktime64(&local);

    CQelHttpXmlRpcFormData request(L"m");
    ASSERT_TRUE(request.AddParamBool(TRUE));
    CQelXMLNode members;
    ASSERT_TRUE(request.AppendParamNode(L"param/value/struct", members));
    ASSERT_TRUE(request.AddStructMemberBool(members, L"no", FALSE));
    ASSERT_TRUE(request.AddStructMemberInt(members, L"big", -2147483647 - 1));
    ASSERT_TRUE(request.AddStructMemberBase64File(members, L"file", (folder / L"a.bin").c_str()));
    ASSERT_TRUE(request.AddStructMemberBase64Stream(members, L"stream", stream.Get()));
    ASSERT_TRUE(request.AddStructMemberTime(members, L"when", time));
    ASSERT_TRUE(request.AddStructMemberColor(members, L"colour", 0x00FF8000));
    CQelXMLNode inner;
    ASSERT_TRUE(request.AddStructMemberStruct(members, L"inner", inner));
    ASSERT_TRUE(request.AddStructMemberString(inner, L"deep", L"x"));
    CLogCapture log;
    EXPECT_FALSE(request.AddStructMemberBase64File(members, L"gone", (folder / L"missing.bin").c_str()));
    EXPECT_TRUE(log.Contains(L"Failed to base64 file: " + (folder / L"missing.bin"))) << log.Text();

    std::string body;
    ASSERT_TRUE(request.GetBody(body));
    for (const char* element :
         {"\t\t\t\t<boolean>1</boolean>\r\n", "<name>no</name>\r\n\t\t\t\t\t\t<value>\r\n\t\t\t\t\t\t\t<boolean>0</boolean>",
          "<int>-2147483648</int>", "<base64>YWJj</base64>", "<base64>aGVsbG8=</base64>",
          "<dateTime.iso8601>20091204T10:20:30</dateTime.iso8601>", "<string>0080FF</string>",
          "<name>inner</name>\r\n\t\t\t\t\t\t<value>\r\n\t\t\t\t\t\t\t<struct>\r\n\t\t\t\t\t\t\t\t<member>\r\n"
          "\t\t\t\t\t\t\t\t\t<name>deep</name>"}) {
        EXPECT_NE(std::string::npos, body.find(element)) << element << "\n" << body;
    }
}

TEST(XmlRpcRequest, ALongDocumentGoesOutWithoutLayout)
{
    CComScope com;
    CQelHttpXmlRpcFormData request(L"m");
    ASSERT_TRUE(request.AddParamString((L" " + std::wstring(11000, L'z') + L" ").c_str()));
    std::string body;
    ASSERT_TRUE(request.GetBody(body));
    // Not laid out by the writer, so not trimmed either (the platform's DOM may indent on its own).
    EXPECT_EQ(0u, body.find("<?xml version=\"1.0\"?>\r\n<methodCall>"));
    EXPECT_NE(std::string::npos, body.find("<string> zzz"));
    EXPECT_NE(std::string::npos, body.find("zzz </string>"));
}

TEST_F(XmlRpcCallTest, ANonAsciiRequestCountsItsBytes)
{
    ASSERT_NO_FATAL_FAILURE(Start(""));
    CQelHttpXmlRpcFormData request(L"accounts.clientLogout");
    CQelXMLNode members;
    ASSERT_TRUE(request.AppendParamNode(L"param/value/struct", members));
    ASSERT_TRUE(request.AddStructMemberString(members, L"client_type", kName.c_str()));
    CQelHttpXmlRcpResultData_Empty receiver;
    QelHttpXmlRpcCall(m_server, TESSARY_ACCOUNTS_PATH, request, &m_progress, receiver);
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_NE(std::string::npos, requests[0].body.find("<string>\xe4\xb8\xad\xe6\x96\x87</string>"));
    EXPECT_EQ(std::to_string(requests[0].body.size()), requests[0].Header("Content-length"));
}

TEST_F(XmlRpcCallTest, AnUtf8AnswerThatNamesNoEncodingKeepsItsText)
{
    ASSERT_NO_FATAL_FAILURE(Start(""));
    ASSERT_TRUE(Call());
    EXPECT_EQ(kName, m_receiver.displayName);
}

TEST_F(XmlRpcCallTest, Gb2312AnswersReadWhateverNamesTheCharset)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "charset", "encoding": "gb2312",
              "content_type": "text/xml; charset=gb2312",
              "declaration": "gb2312", "times": 1},
             {"kind": "charset", "encoding": "gb2312", "content_type": "text/xml", "declaration": "gb2312", "times": 1},
             {"kind": "charset", "encoding": "gb2312", "content_type": "text/xml;charset=GB2312",
              "declaration": null})"));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Call()) << i;
        EXPECT_EQ(kName, m_receiver.displayName) << i;
    }
}

TEST_F(XmlRpcCallTest, AnAnswerCutTwoCharactersShortIsRepaired)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "cut2"})"));
    ASSERT_TRUE(Call());
    EXPECT_EQ(kName, m_receiver.displayName);
    EXPECT_EQ("cut2", m_standIn.Requests()[0].answerKind);
}

TEST_F(XmlRpcCallTest, AnAnswerCutElsewhereFailsToLoad)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "cut_middle"})"));
    CLogCapture log;
    EXPECT_FALSE(Call());
    EXPECT_TRUE(log.ContainsInOrder({L"Failed to load xml.", L"Failed to call xm-rpc."})) << log.Text();
}

TEST_F(XmlRpcCallTest, AConnectionClosedBeforeContentLengthFails)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "cut_close", "missing": 2})"));
    CLogCapture log;
    EXPECT_FALSE(Call());
    EXPECT_TRUE(log.ContainsInOrder({L"SendRequest failed!", L"Failed to call SendRequest while calling xml-rpc",
                                     L"Failed to call xm-rpc."}))
        << log.Text();
}

TEST_F(XmlRpcCallTest, AnHtmlErrorPageIsRefusedWithHeadersAndText)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "http500", "detail": "Upstream broke."})"));
    CLogCapture log;
    EXPECT_FALSE(Call());
    const auto lines = log.Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(L"Unknown content-type while calling xml-rpc: text/html", lines[0]);
    EXPECT_EQ(0u, lines[1].find(L"HTTP/1.1 500 Internal Server Error "));  // line ends became blanks
    EXPECT_NE(std::wstring::npos, lines[2].find(L"Upstream broke."));
    EXPECT_EQ(L"Failed to call xm-rpc.", lines[3]);
}

TEST_F(XmlRpcCallTest, OtherContentTypesAndBodiesThatAreNoXmlFail)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "content_type", "content_type": "application/octet-stream", "times": 1},
             {"kind": "not_xml", "times": 1},
             {"kind": "raw", "body": "  OK  ", "times": 1},
             {"kind": "raw", "body_base64": "AAEC/f7/iVBORw0KGgo=", "times": 1},
             {"kind": "empty", "times": 1})"));
    CLogCapture log;
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(Call()) << i;
    EXPECT_TRUE(log.ContainsInOrder({L"Unknown content-type while calling xml-rpc: application/octet-stream",
                                     L"Failed to call xm-rpc.", L"Failed to load xml.", L"Failed to call xm-rpc.",
                                     L"Failed to call xm-rpc.", L"Failed to call xm-rpc.", L"Failed to call xm-rpc."}))
        << log.Text();
    // "OK", the garbage (cut at its first zero byte) and the empty body are too
    // short to be an answer: no line of their own.
    const auto lines = log.Lines();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), std::wstring(L"Failed to load xml."))) << log.Text();
}

TEST_F(XmlRpcCallTest, FaultsAreKeptUntilTheNextCall)
{
    ASSERT_NO_FATAL_FAILURE(Start(R"({"kind": "fault", "code": 77, "string": "Busy", "times": 1},
             {"kind": "fault", "code": 78, "string": null, "times": 1})"));
    CLogCapture log;
    EXPECT_FALSE(Call());
    EXPECT_EQ(77, m_server.GetLastFaultCode());
    EXPECT_EQ(L"Busy", m_server.GetLastFaultText());
    EXPECT_FALSE(m_receiver.IsFault());  // a fault never reaches the receiver
    EXPECT_FALSE(Call());                // no faultString: the answer does not even load
    EXPECT_EQ(0, m_server.GetLastFaultCode());
    EXPECT_TRUE(Call());
    EXPECT_TRUE(log.ContainsInOrder({L"Failed to call xml rpc: 77, Busy", L"Failed to call xm-rpc.",
                                     L"Failed to find struct member faultString", L"Failed to load fault struct!",
                                     L"Failed to load xml.", L"Failed to call xm-rpc."}))
        << log.Text();
}
