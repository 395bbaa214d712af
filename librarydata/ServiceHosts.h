// Where the program's fixed endpoints live. The subscriptions service and the
// book servers are named by the services themselves.
#pragma once

#include <windows.h>
#include <wininet.h>

constexpr wchar_t TESSARY_ACCOUNTS_HOST[] = L"accounts.tessary.test";
constexpr INTERNET_PORT TESSARY_ACCOUNTS_PORT = 80;
constexpr wchar_t TESSARY_ACCOUNTS_PATH[] = L"/oskan/xmlrpc";
constexpr wchar_t TESSARY_WEB_API_HOST[] = L"api.tessary.test";
constexpr INTERNET_PORT TESSARY_WEB_API_PORT = 80;
// The tool bar's advertisement strip.
constexpr wchar_t TESSARY_AD_HOST[] = L"ads.tessary.test";
