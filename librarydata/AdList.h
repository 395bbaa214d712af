// The advertisement list: fetched from the web API after every sync that got
// past the sign-in, stored as "Ads" in the settings file, read back by the
// status bar.
#pragma once

#include "foundation/XMLNode.h"

#include <windows.h>

#include <string>
#include <vector>

struct QELADDATA
{
    std::wstring url;
    std::wstring title;
};

// The reader's refresh: product "Tessary" into Tessary.xml under "Tessary".
BOOL TessaryDownloadAds(const wchar_t* url);
// Downloads, parses and stores the list; the settings file is left as it was
// on any failure, and is never replaced when it exists but does not load.
BOOL TessaryUpdateAdList(const wchar_t* product, const wchar_t* url, const wchar_t* settingsFile,
                         const wchar_t* rootName, const wchar_t* version);
// Builds the request and downloads the answer into the destination file. A
// null or empty version stands for the program's file version.
BOOL TessaryFetchAdAnswer(const wchar_t* product, const wchar_t* url, const wchar_t* destination,
                          const wchar_t* version);
// The whole request URL before its "&url=" and "&t=" parts.
std::wstring TessaryFormatApiUrl(const wchar_t* product, const wchar_t* lcid, const wchar_t* version,
                                 const wchar_t* command, const wchar_t* argument);

// A downloaded answer: the top-level "Ads".
BOOL QelLoadADListFromFile(const wchar_t* file, std::vector<QELADDATA>& ads);
// The stored list: "Ads" inside the top-level element of the given name.
BOOL QelLoadADListFromXmlFile(const wchar_t* file, const wchar_t* rootName, std::vector<QELADDATA>& ads);
// Every child with both a "Title" and a "URL", in document order.
BOOL QelLoadADListFromNode(const CQelXMLNode& adsNode, std::vector<QELADDATA>& ads);
