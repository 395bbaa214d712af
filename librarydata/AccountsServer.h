// Signing an account in to the accounts service and out again.
#pragma once

#include "librarydata/XmlRpcServerBase.h"

#include <string>

// "md5." and the MD5 byte hex of the password's UTF-8 bytes.
std::wstring QelLoginPasswordText(const wchar_t* password);

struct COskanXmlRpcParamAccountsClientLogin : COskanXmlRpcParamBase
{
    std::wstring email;
    std::wstring password;
    std::wstring programType;

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

struct COskanXmlRpcParamAccountsClientLogout : COskanXmlRpcParamBase
{
    std::wstring token;
    std::wstring kbGuid;

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

class COskanXmlRpcReturnAccountsClientLogin : public CQelHttpXmlRcpResultData_Strcut
{
public:
    BOOL LoadStruct(const CQelHttpXmlRpcStruct& value) override;

    std::wstring email;
    std::wstring displayName;
    std::wstring unused1;
    std::wstring language;
    std::wstring server;
    std::wstring unused2;
    std::wstring token;
    __int64 expiryTime = 0;
    std::wstring kbGuid;
};

class COskanAccountsServer : public CQelHttpXmlRpcServerBase
{
public:
    COskanAccountsServer(IQelHttpProgress* progress, const wchar_t* host, INTERNET_PORT port, const wchar_t* path);
    ~COskanAccountsServer() override;

    BOOL Login(const wchar_t* email, const wchar_t* password, const wchar_t* programType);
    BOOL Logout();
    BOOL IsLoggedIn() const { return m_loggedIn; }
    // The subscriptions service's endpoint, from the sign-in answer.
    BOOL GetServerParts(std::wstring& host, DWORD& port, std::wstring& path) const;
    std::wstring GetToken() const;
    std::wstring GetKbGuid() const;
    const COskanXmlRpcReturnAccountsClientLogin& GetLoginResult() const { return m_login; }

private:
    BOOL m_loggedIn = FALSE;
    COskanXmlRpcReturnAccountsClientLogin m_login;
};
