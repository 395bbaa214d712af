// The end-to-end sync tests: scenarios for the services stand-in, runs of
// tessary-sync.exe from a folder of its own, and what a run left on disk.
#pragma once

#include <winsock2.h>  // before windows.h, for the stand-in helper

#include "ServicesStandIn.h"
#include "ZipTestSupport.h"
#include "librarydata/DatabaseRecords.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Texts in a scenario are UTF-8.
struct CScenarioDocument
{
    std::string guid;
    std::string title;
    std::string category = "/";
    std::string created = "2009-11-02 09:15:00";
    std::string modified = "2009-11-20 17:40:12";
    long long version = 1;
    std::vector<std::pair<std::string, std::string>> files;  // entry name, content
    std::string versionText = {};  // when set, what the list sends as the version
};

struct CScenarioAttachment
{
    std::string guid;
    std::string documentGuid;
    std::string name;
    std::string description;
    long long version = 1;
    std::string content;
    std::string dataBase64 = {};  // when set, the data answer's bytes instead of a zip of the content
    std::string versionText = {};  // when set, what the list sends as the version
};

struct CScenarioBook
{
    std::string guid;
    std::string name;
    std::string server;
    std::vector<CScenarioDocument> documents;
    std::vector<CScenarioAttachment> attachments;
};

struct CScenario
{
    std::string email = "reader@example.com";
    std::string password = "reader";
    std::vector<CScenarioBook> books;
    std::vector<std::pair<std::string, std::string>> ads;  // title, URL
    std::string faults = "{}";                             // the "faults" member as JSON text

    std::string Json() const;
    CScenarioBook& Book(const std::string& guid);
};

// Two books: three documents and two attachments in the first, one of each
// in the second, and two advertisements.
CScenario StandardScenario();

// One line of the tool's output, split at its TABs.
using CEventLine = std::vector<std::wstring>;

struct CSyncToolResult
{
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<CEventLine> lines;
    std::wstring output;  // the whole output, for failure messages

    std::vector<CEventLine> Events(const wchar_t* name) const;
    bool HasLog(int level, const std::wstring& text) const;
};

// A folder of its own for one test: a copy of tessary-sync.exe, with the data
// folder beside it, Tessary.ini when asked for, and a temporary folder for its runs.
class CSyncToolFolder
{
public:
    CSyncToolFolder();
    ~CSyncToolFolder();
    CSyncToolFolder(const CSyncToolFolder&) = delete;
    CSyncToolFolder& operator=(const CSyncToolFolder&) = delete;

    bool Ready() const { return m_ready; }
    const std::wstring& Path() const { return m_path; }
    std::wstring DataFolder() const { return m_path + L"Data\\"; }
    std::wstring AccountFolder(const std::wstring& userName = L"reader@example.com") const;
    // The runs' system temporary folder (TEMP and TMP point there).
    std::wstring TempFolder() const { return m_path + L"temp\\"; }
    bool SetCountPerPage(int count) const;

    CSyncToolResult Run(const std::vector<std::wstring>& arguments, DWORD timeoutMs = 300000) const;

private:
    std::wstring m_path;
    bool m_ready = false;
};

// A data file deciphered with this computer's key; empty when it does not decipher.
Bytes UnsealDataFile(const std::wstring& path);
// One entry of a zip archive in memory; false when it is not there.
bool ZipEntry(const Bytes& archive, const wchar_t* name, std::string& content);
std::wstring Md5Hex(const Bytes& bytes);
// Every file below the folder, as paths relative to it.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);
