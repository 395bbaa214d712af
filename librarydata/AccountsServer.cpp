#include "librarydata/AccountsServer.h"

#include "foundation/Encoding.h"
#include "foundation/Global.h"
#include "foundation/MD5.h"

std::wstring QelLoginPasswordText(const wchar_t* password)
{
    std::string bytes;
    QelUnicodeToMultiByte(bytes, 65001, password ? password : L"");
    return L"md5." + QelMD5ByteHex(bytes.data(), static_cast<UINT>(bytes.size()));
}

BOOL COskanXmlRpcParamAccountsClientLogin::AppendMembers(CQelHttpXmlRpcFormData& request,
                                                         CQelXMLNode& members) const
{
    return request.AddStructMemberString(members, L"email", email.c_str()) &&
           request.AddStructMemberString(members, L"password", QelLoginPasswordText(password.c_str()).c_str()) &&
           request.AddStructMemberString(members, L"program_type", programType.c_str()) &&
           COskanXmlRpcParamBase::AppendMembers(request, members);
}

BOOL COskanXmlRpcParamAccountsClientLogout::AppendMembers(CQelHttpXmlRpcFormData& request,
                                                          CQelXMLNode& members) const
{
    return COskanXmlRpcParamBase::AppendMembers(request, members) &&
           request.AddStructMemberString(members, L"token", token.c_str()) &&
           request.AddStructMemberString(members, L"kb_guid", kbGuid.c_str());
}

BOOL COskanXmlRpcReturnAccountsClientLogin::LoadStruct(const CQelHttpXmlRpcStruct& value)
{
    // Each missing member is logged by its getter; only the end result decides.
    value.GetString(L"token", token);
    value.GetTime(L"expried_time", expiryTime);
    value.GetString(L"server", server);
    value.GetString(L"kb_guid", kbGuid);
    CQelHttpXmlRpcStruct user;
    if (!value.GetStruct(L"user", user)) {
        TessaryWriteLog(L"Failed to get user struct!");
        return FALSE;
    }
    user.GetString(L"email", email);
    user.GetString(L"displayname", displayName);
    user.GetString(L"language", language);
    return !token.empty() && !kbGuid.empty() && !email.empty() && !server.empty();
}

COskanAccountsServer::COskanAccountsServer(IQelHttpProgress* progress, const wchar_t* host, INTERNET_PORT port,
                                           const wchar_t* path)
    : CQelHttpXmlRpcServerBase(progress, L"OskanAccountsServer", host, port, path)
{
}

COskanAccountsServer::~COskanAccountsServer()
{
    if (m_loggedIn)
        Logout();
}

BOOL COskanAccountsServer::Login(const wchar_t* email, const wchar_t* password, const wchar_t* programType)
{
    if (!m_server.IsOpen()) {
        TessaryWriteLog(L"Failed o connected to server!");
        return FALSE;
    }
    if (m_loggedIn)
        return TRUE;
    COskanXmlRpcParamAccountsClientLogin param;
    param.email = email ? email : L"";
    param.password = password ? password : L"";
    param.programType = programType ? programType : L"";
    m_login = COskanXmlRpcReturnAccountsClientLogin();
    m_loggedIn = CallMethod(L"accounts.clientLogin", param, m_login);
    if (!m_loggedIn)
        TessaryWriteLog(L"Login failure!");
    return m_loggedIn;
}

BOOL COskanAccountsServer::Logout()
{
    if (!m_loggedIn)
        return FALSE;
    m_loggedIn = FALSE;
    COskanXmlRpcParamAccountsClientLogout param;
    param.token = m_login.token;
    param.kbGuid = m_login.kbGuid;
    CQelHttpXmlRcpResultData_Empty receiver;
    if (!CallMethod(L"accounts.clientLogout", param, receiver)) {
        TessaryWriteLog(L"Logout failure!");
        return FALSE;
    }
    return TRUE;
}

BOOL COskanAccountsServer::GetServerParts(std::wstring& host, DWORD& port, std::wstring& path) const
{
    if (!m_loggedIn)
        return FALSE;
    return QelXmlRpcGetServerParts(m_login.server.c_str(), host, port, path);
}

std::wstring COskanAccountsServer::GetToken() const
{
    return m_loggedIn ? m_login.token : std::wstring();
}

std::wstring COskanAccountsServer::GetKbGuid() const
{
    return m_loggedIn ? m_login.kbGuid : std::wstring();
}
