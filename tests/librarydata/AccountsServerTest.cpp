#include "ServicesStandIn.h"

#include "FakeSyncEvents.h"
#include "NetTestSupport.h"

#include "librarydata/AccountsServer.h"
#include "librarydata/ServiceHosts.h"
#include "librarydata/SubscriptionServers.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kAccount[] = R"({"email": "ann@example.com", "password": "s3cret", "displayname": "Ann",
    "language": "en", "kb_guid": "kb-1", "token": "tok-ann", "server": "subs.tessary.test:8080/reader/"})";

std::string Scenario(const std::string& faults = "{}")
{
    return std::string(R"({"accounts": [)") + kAccount + R"(], "faults": )" + faults + "}";
}

std::string RawLoginAnswer(const std::string& members)
{
    return Scenario(R"({"accounts.clientLogin": [{"kind": "raw", "body": "<?xml version=\"1.0\"?><methodResponse>)"
                    R"(<params><param><value><struct>)" +
                    members + R"(</struct></value></param></params></methodResponse>"}]})");
}

class AccountsServerTest : public ::testing::Test
{
protected:
    void Start(const std::string& scenario, bool connect = true)
    {
        ASSERT_TRUE(m_standIn.Start(scenario)) << m_standIn.Error();
        m_accounts = std::make_unique<COskanAccountsServer>(&m_events, TESSARY_ACCOUNTS_HOST,
                                                            TESSARY_ACCOUNTS_PORT, TESSARY_ACCOUNTS_PATH);
        if (connect) {
            ASSERT_TRUE(TessaryConnectServer(*m_accounts));
        }
    }

    CComScope m_com;
    CServicesStandIn m_standIn;
    CFakeSyncEvents m_events;
    std::unique_ptr<COskanAccountsServer> m_accounts;
};

}  // namespace

TEST(LoginPassword, IsTheMd5OfTheUtf8Bytes)
{
    EXPECT_EQ(L"md5.d41d8cd98f00b204e9800998ecf8427e", QelLoginPasswordText(L""));
    EXPECT_EQ(L"md5.900150983cd24fb0d6963f7d28e17f72", QelLoginPasswordText(L"abc"));
    EXPECT_EQ(L"md5.a8105204604a0b11e916f3879aae3b0b", QelLoginPasswordText(L"\x5bc6\x7801"));
}

TEST_F(AccountsServerTest, SignInSendsTheMembersInOrderAndReadsTheAnswer)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    ASSERT_TRUE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(1u, requests.size());
    const auto& request = requests[0];
    EXPECT_EQ("http://accounts.tessary.test:80/oskan/xmlrpc", request.url);
    EXPECT_EQ("OskanAccountsServer", request.Header("User-Agent"));
    EXPECT_EQ("text/xml", request.Header("Content-Type"));
    EXPECT_EQ(std::to_string(request.body.size()), request.Header("Content-length"));
    EXPECT_EQ(0u, request.body.find("<?xml version=\"1.0\"?>\r\n<methodCall>\r\n"
                                    "\t<methodName>accounts.clientLogin</methodName>\r\n\t<params>\r\n"
                                    "\t\t<param>\r\n\t\t\t<value>\r\n\t\t\t\t<struct>\r\n\t\t\t\t\t<member>\r\n"
                                    "\t\t\t\t\t\t<name>email</name>\r\n\t\t\t\t\t\t<value>\r\n"
                                    "\t\t\t\t\t\t\t<string>ann@example.com</string>\r\n"))
        << request.body;
    const auto& members = request.params[size_t(0)].members;
    ASSERT_EQ(4u, members.size());
    EXPECT_EQ("email", members[0].first);
    EXPECT_EQ("password", members[1].first);
    EXPECT_EQ("md5.33e1b232a4e6fa0028a6670753749a17", members[1].second.text);
    EXPECT_EQ("program_type", members[2].first);
    EXPECT_EQ("reader", members[2].second.text);
    EXPECT_EQ("client_type", members[3].first);
    EXPECT_EQ("WIN", members[3].second.text);

    EXPECT_EQ(L"tok-ann", m_accounts->GetToken());
    EXPECT_EQ(L"kb-1", m_accounts->GetKbGuid());
    EXPECT_EQ(L"Ann", m_accounts->GetLoginResult().displayName);
    EXPECT_EQ(L"en", m_accounts->GetLoginResult().language);
    EXPECT_NE(0, m_accounts->GetLoginResult().expiryTime);
    std::wstring host;
    std::wstring path;
    DWORD port = 0;
    ASSERT_TRUE(m_accounts->GetServerParts(host, port, path));
    EXPECT_EQ(L"subs.tessary.test", host);
    EXPECT_EQ(8080u, port);
    EXPECT_EQ(L"/reader/xmlrpc", path);

    EXPECT_TRUE(m_accounts->Login(L"other@example.com", L"x", L"reader"));  // signed in already: no call
    EXPECT_EQ(1u, m_standIn.Requests().size());
}

TEST_F(AccountsServerTest, SignOutSendsTheTokenOnceAndTheExactBody)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    ASSERT_TRUE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    EXPECT_TRUE(m_accounts->Logout());
    EXPECT_FALSE(m_accounts->Logout());
    EXPECT_EQ(L"", m_accounts->GetToken());
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(2u, requests.size());
    const std::string expected =
        "<?xml version=\"1.0\"?>\r\n<methodCall>\r\n\t<methodName>accounts.clientLogout</methodName>\r\n"
        "\t<params>\r\n\t\t<param>\r\n\t\t\t<value>\r\n\t\t\t\t<struct>\r\n"
        "\t\t\t\t\t<member>\r\n\t\t\t\t\t\t<name>client_type</name>\r\n\t\t\t\t\t\t<value>\r\n"
        "\t\t\t\t\t\t\t<string>WIN</string>\r\n\t\t\t\t\t\t</value>\r\n\t\t\t\t\t</member>\r\n"
        "\t\t\t\t\t<member>\r\n\t\t\t\t\t\t<name>token</name>\r\n\t\t\t\t\t\t<value>\r\n"
        "\t\t\t\t\t\t\t<string>tok-ann</string>\r\n\t\t\t\t\t\t</value>\r\n\t\t\t\t\t</member>\r\n"
        "\t\t\t\t\t<member>\r\n\t\t\t\t\t\t<name>kb_guid</name>\r\n\t\t\t\t\t\t<value>\r\n"
        "\t\t\t\t\t\t\t<string>kb-1</string>\r\n\t\t\t\t\t\t</value>\r\n\t\t\t\t\t</member>\r\n"
        "\t\t\t\t</struct>\r\n\t\t\t</value>\r\n\t\t</param>\r\n\t</params>\r\n</methodCall>";
    EXPECT_EQ(expected, requests[1].body);
    EXPECT_EQ("563", requests[1].Header("Content-length"));  // the byte count, declaration line included
}

TEST_F(AccountsServerTest, DestroyingASignedInClientSignsOut)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    ASSERT_TRUE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    m_accounts.reset();
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("accounts.clientLogout", requests[1].xmlrpcMethod);
}

TEST_F(AccountsServerTest, AWrongPasswordLeavesFault301AndTheNextCallClearsIt)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    CLogCapture log;
    EXPECT_FALSE(m_accounts->Login(L"ann@example.com", L"wrong", L"reader"));
    EXPECT_FALSE(m_accounts->IsLoggedIn());
    EXPECT_EQ(301, m_accounts->GetHttpServer().GetLastFaultCode());
    EXPECT_TRUE(log.ContainsInOrder({L"Failed to call xml rpc: 301, Invalid user name or password",
                                     L"Failed to call xm-rpc.", L"Failed to call accounts.clientLogin",
                                     L"Login failure!"}))
        << log.Text();
    ASSERT_TRUE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    EXPECT_EQ(0, m_accounts->GetHttpServer().GetLastFaultCode());
}

TEST_F(AccountsServerTest, SignInWithoutAConnectionSendsNothing)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(), false));
    CLogCapture log;
    EXPECT_FALSE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    EXPECT_TRUE(log.Contains(L"Failed o connected to server!"));
    EXPECT_TRUE(m_standIn.Requests().empty());
}

TEST_F(AccountsServerTest, AnAnswerMissingARequiredPartFailsTheSignIn)
{
    ASSERT_NO_FATAL_FAILURE(Start(RawLoginAnswer("<member><name>token</name><value>t</value></member>"
                         "<member><name>server</name><value>s/x</value></member>"
                         "<member><name>user</name><value><struct><member><name>email</name><value>e</value>"
                         "</member></struct></value></member>")));
    CLogCapture log;
    EXPECT_FALSE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    EXPECT_TRUE(log.ContainsInOrder({L"Failed to find struct member kb_guid", L"Failed to call accounts.clientLogin",
                                     L"Login failure!"}))
        << log.Text();
    EXPECT_EQ(0, m_accounts->GetHttpServer().GetLastFaultCode());
}

TEST_F(AccountsServerTest, AUserThatIsNoStructFailsTheSignIn)
{
    ASSERT_NO_FATAL_FAILURE(Start(RawLoginAnswer("<member><name>token</name><value>t</value></member>"
                         "<member><name>kb_guid</name><value>k</value></member>"
                         "<member><name>server</name><value>s/x</value></member>"
                         "<member><name>user</name><value>ann</value></member>")));
    CLogCapture log;
    EXPECT_FALSE(m_accounts->Login(L"ann@example.com", L"s3cret", L"reader"));
    EXPECT_TRUE(log.ContainsInOrder({L"The type of the struct member user is string, it is not an struct.",
                                     L"Failed to get user struct!"}))
        << log.Text();
}
