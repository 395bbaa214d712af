#include "SyncToolSupport.h"

#include "foundation/Encoding.h"
#include "foundation/Folders.h"
#include "foundation/MD5.h"
#include "foundation/Sealing.h"
#include "foundation/Streams.h"
#include "framework/Handle.h"
#include "librarydata/UnZipFile.h"

#include <wrl/client.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#ifndef TESSARY_SYNC_EXE
#error "TESSARY_SYNC_EXE must name the built tessary-sync.exe"
#endif

namespace {

std::string DocumentJson(const CScenarioDocument& document)
{
    std::ostringstream out;
    out << "{\"guid\": " << JsonText(document.guid) << ", \"title\": " << JsonText(document.title)
        << ", \"category\": " << JsonText(document.category) << ", \"created\": " << JsonText(document.created)
        << ", \"modified\": " << JsonText(document.modified) << ", \"version\": " << document.version;
    if (!document.versionText.empty())
        out << ", \"version_text\": " << JsonText(document.versionText);
    out << ", \"files\": {";
    for (size_t i = 0; i < document.files.size(); ++i)
        out << (i ? ", " : "") << JsonText(document.files[i].first) << ": " << JsonText(document.files[i].second);
    out << "}}";
    return out.str();
}

std::string AttachmentJson(const CScenarioAttachment& attachment)
{
    std::ostringstream out;
    out << "{\"guid\": " << JsonText(attachment.guid) << ", \"document_guid\": " << JsonText(attachment.documentGuid)
        << ", \"name\": " << JsonText(attachment.name) << ", \"description\": " << JsonText(attachment.description)
        << ", \"version\": " << attachment.version << ", \"content\": " << JsonText(attachment.content);
    if (!attachment.dataBase64.empty())
        out << ", \"data_base64\": " << JsonText(attachment.dataBase64);
    if (!attachment.versionText.empty())
        out << ", \"version_text\": " << JsonText(attachment.versionText);
    out << "}";
    return out.str();
}

// Quoted for the command line as the C runtime splits it.
std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::wstring DosPath(const char* unixPath)
{
    std::wstring path = L"Z:" + FromUtf8(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path;
}

// Sets a variable for the lifetime of the scope, then puts the old value back.
class CEnvironmentOverride
{
public:
    CEnvironmentOverride(const wchar_t* name, const std::wstring& value) : m_name(name)
    {
        wchar_t old[32768];
        const DWORD length = GetEnvironmentVariableW(name, old, 32768);
        m_had = length > 0 && length < 32768;
        if (m_had)
            m_old = old;
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~CEnvironmentOverride() { SetEnvironmentVariableW(m_name.c_str(), m_had ? m_old.c_str() : nullptr); }
    CEnvironmentOverride(const CEnvironmentOverride&) = delete;
    CEnvironmentOverride& operator=(const CEnvironmentOverride&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_had = false;
};

std::vector<CEventLine> SplitLines(const std::wstring& output)
{
    std::vector<CEventLine> lines;
    std::wistringstream stream(output);
    std::wstring line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        CEventLine fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find(L'\t', start)) != std::wstring::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}

}  // namespace

std::string CScenario::Json() const
{
    std::ostringstream out;
    out << "{\"accounts\": [{\"email\": " << JsonText(email) << ", \"password\": " << JsonText(password)
        << ", \"kb_guid\": \"00b36756-8b90-594b-923c-fae9af4693e5\", \"books\": [";
    for (size_t i = 0; i < books.size(); ++i)
        out << (i ? ", " : "") << JsonText(books[i].guid);
    out << "]}], \"books\": [";
    for (size_t i = 0; i < books.size(); ++i) {
        const CScenarioBook& book = books[i];
        out << (i ? ", " : "") << "{\"guid\": " << JsonText(book.guid) << ", \"name\": " << JsonText(book.name)
            << ", \"server\": " << JsonText(book.server) << ", \"documents\": [";
        for (size_t j = 0; j < book.documents.size(); ++j)
            out << (j ? ", " : "") << DocumentJson(book.documents[j]);
        out << "], \"attachments\": [";
        for (size_t j = 0; j < book.attachments.size(); ++j)
            out << (j ? ", " : "") << AttachmentJson(book.attachments[j]);
        out << "]}";
    }
    out << "], \"ads\": [";
    for (size_t i = 0; i < ads.size(); ++i)
        out << (i ? ", " : "") << "{\"title\": " << JsonText(ads[i].first) << ", \"url\": " << JsonText(ads[i].second)
            << "}";
    out << "], \"faults\": " << faults << "}";
    return out.str();
}

CScenarioBook& CScenario::Book(const std::string& guid)
{
    for (CScenarioBook& book : books) {
        if (book.guid == guid)
            return book;
    }
    return books.front();
}

CScenario StandardScenario()
{
    CScenario scenario;
    CScenarioBook garden{"a0000000-0000-4000-8000-00000000000a", "Garden Notes", "books.tessary.test/garden/", {}, {}};
    garden.documents.push_back({"a1000000-0000-4000-8000-000000000001", "Sowing Seeds", "/Getting Started/",
                                "2009-11-02 09:15:00", "2009-11-20 17:40:12", 5,
                                {{"index.htm", "<html><body><h1>Sowing Seeds</h1><img src=\"images/tray.png\"></body></html>"},
                                 {"images/tray.png", "PNG picture of a seed tray"}}});
    garden.documents.push_back({"a2000000-0000-4000-8000-000000000002", "Building a Compost Bin", "/Soil/",
                                "2009-11-05 14:02:31", "2009-12-01 08:05:44", 7,
                                {{"index.htm", "<html><body><h1>Compost</h1></body></html>"}}});
    garden.documents.push_back({"a3000000-0000-4000-8000-000000000003", "Growing Tomatoes", "/Vegetables/Fruiting/",
                                "2009-11-12 11:30:00", "2009-12-03 19:22:05", 6,
                                {{"index.htm", "<html><body><h1>Tomatoes</h1></body></html>"}}});
    garden.attachments.push_back({"a4000000-0000-4000-8000-000000000004", "a1000000-0000-4000-8000-000000000001",
                                  "planting-calendar.csv", "Sowing months", 3, "month,seed\r\nMarch,tomato\r\n"});
    garden.attachments.push_back({"a5000000-0000-4000-8000-000000000005", "a2000000-0000-4000-8000-000000000002",
                                  "compost-checklist.txt", "Monthly jobs", 4, "Turn the heap.\r\n"});
    CScenarioBook cycling{"b0000000-0000-4000-8000-00000000000b", "Bicycle Care", "books.tessary.test/cycling/", {}, {}};
    cycling.documents.push_back({"b1000000-0000-4000-8000-000000000001", "Fixing a Puncture", "/Roadside/",
                                 "2009-10-01 07:45:00", "2009-10-18 21:10:09", 11,
                                 {{"index.htm", "<html><body><h1>Puncture</h1></body></html>"}}});
    cycling.attachments.push_back({"b2000000-0000-4000-8000-000000000002", "b1000000-0000-4000-8000-000000000001",
                                   "puncture-kit.txt", "What to carry", 21, "Patches, levers, pump.\r\n"});
    scenario.books = {garden, cycling};
    scenario.ads = {{"Winter edition", "http://www.example.com/books/garden"},
                    {"Free brake guide", "http://www.example.com/books/cycling"}};
    return scenario;
}

std::vector<CEventLine> CSyncToolResult::Events(const wchar_t* name) const
{
    std::vector<CEventLine> found;
    for (const CEventLine& line : lines) {
        if (!line.empty() && line[0] == name)
            found.push_back(line);
    }
    return found;
}

bool CSyncToolResult::HasLog(int level, const std::wstring& text) const
{
    for (const CEventLine& line : Events(L"OnLog")) {
        if (line.size() == 3 && line[1] == std::to_wstring(level) && line[2] == text)
            return true;
    }
    return false;
}

CSyncToolFolder::CSyncToolFolder()
{
    static unsigned counter = 0;
    wchar_t name[64];
    swprintf(name, 64, L"synctool_%lu_%lu_%u\\", GetCurrentProcessId(), GetTickCount(), counter++);
    m_path = QelGetExeFolder() + name;
    m_ready = CreateDirectoryW(m_path.c_str(), nullptr) && CreateDirectoryW(TempFolder().c_str(), nullptr) &&
              CopyFileW(DosPath(TESSARY_SYNC_EXE).c_str(), (m_path + L"tessary-sync.exe").c_str(), FALSE);
}

CSyncToolFolder::~CSyncToolFolder()
{
    if (std::getenv("TESSARY_KEEP_RUNS"))
        return;
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(m_path), ignored);
}

std::wstring CSyncToolFolder::AccountFolder(const std::wstring& userName) const
{
    return DataFolder() + userName + L"\\";
}

bool CSyncToolFolder::SetCountPerPage(int count) const
{
    return WritePrivateProfileStringW(L"Common", L"CountPerPage", std::to_wstring(count).c_str(),
                                      (m_path + L"Tessary.ini").c_str()) != FALSE;
}

CSyncToolResult CSyncToolFolder::Run(const std::vector<std::wstring>& arguments, DWORD timeoutMs) const
{
    CSyncToolResult result;
    std::wstring commandLine = QuoteArgument(m_path + L"tessary-sync.exe");
    for (const std::wstring& argument : arguments)
        commandLine += L" " + QuoteArgument(argument);

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readHandle = nullptr;
    HANDLE writeHandle = nullptr;
    if (!CreatePipe(&readHandle, &writeHandle, &inherit, 0))
        return result;
    const CHandle readEnd(readHandle);
    CHandle writeEnd(writeHandle);
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    PROCESS_INFORMATION started{};
    BOOL ok = FALSE;
    {
        const CEnvironmentOverride temp(L"TEMP", TempFolder());
        const CEnvironmentOverride tmp(L"TMP", TempFolder());
        ok = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, m_path.c_str(), &startup,
                            &started);
    }
    // Only the child holds the write end now, so the pipe ends when the child does.
    writeEnd.Close();
    if (!ok)
        return result;
    const CHandle process(started.hProcess);
    const CHandle thread(started.hThread);
    std::string bytes;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD available = 0;
        if (PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            std::string chunk(available, '\0');
            DWORD read = 0;
            if (ReadFile(readEnd.Get(), &chunk[0], available, &read, nullptr))
                bytes.append(chunk.data(), read);
            continue;
        }
        if (WaitForSingleObject(process.Get(), 20) == WAIT_OBJECT_0) {
            // Whatever is still in the pipe.
            char buffer[4096];
            DWORD read = 0;
            while (PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
                   ReadFile(readEnd.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
                bytes.append(buffer, read);
            break;
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.Get(), 0xDEAD);
            WaitForSingleObject(process.Get(), 5000);
            break;
        }
    }
    GetExitCodeProcess(process.Get(), &result.exitCode);
    result.output = FromUtf8(bytes);
    result.lines = SplitLines(result.output);
    return result;
}

Bytes UnsealDataFile(const std::wstring& path)
{
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !QelLoadFileToStream(path.c_str(), stream.Get()) ||
        !QelDecryptStream(QelGetComputerNameAnsi().c_str(), stream.Get()))
        return Bytes();
    Bytes plain(static_cast<size_t>(QelGetStreamSize(stream.Get())));
    QelSeekStreamToBegin(stream.Get());
    if (!plain.empty() && !QelReadStream(stream.Get(), plain.data(), ULONG(plain.size())))
        return Bytes();
    return plain;
}

bool ZipEntry(const Bytes& archive, const wchar_t* name, std::string& content)
{
    CQelUnZipFile zip;
    if (archive.empty() || !zip.OpenMemory(archive.data(), DWORD(archive.size())))
        return false;
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!zip.ExtractFile(name, &data, &size))
        return false;
    const std::unique_ptr<BYTE, decltype(&free)> owned(data, &free);
    content.assign(reinterpret_cast<const char*>(data), size);
    return true;
}

std::wstring Md5Hex(const Bytes& bytes)
{
    return QelMD5ByteHex(bytes.data(), UINT(bytes.size()));
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder)
{
    std::vector<std::wstring> files;
    std::error_code error;
    const std::filesystem::path root(folder);
    for (std::filesystem::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error))
            files.push_back(std::filesystem::relative(it->path(), root, error).wstring());
    }
    return files;
}
