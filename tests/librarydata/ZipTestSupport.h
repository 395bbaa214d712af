#pragma once
// Helpers the zip and data-file tests share: handle owners, a private temporary
// folder, byte access to archive records.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "librarydata/ZipReader.h"
#include "librarydata/ZipWriter.h"

using Bytes = std::vector<BYTE>;

struct ReaderCloser {
    void operator()(QELZIPHANDLEDATA* zip) const { QelZipClose(zip); }
};
using ReaderPtr = std::unique_ptr<QELZIPHANDLEDATA, ReaderCloser>;

struct WriterCloser {
    void operator()(QELZIPHANDLEDATA* zip) const { QelZipCloseWriter(zip); }
};
using WriterPtr = std::unique_ptr<QELZIPHANDLEDATA, WriterCloser>;

inline ReaderPtr OpenBytes(const Bytes& bytes)
{
    return ReaderPtr(QelZipOpenMemory(bytes.empty() ? "" : static_cast<const void*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()), nullptr));
}

inline std::wstring LastReaderText()
{
    wchar_t text[128] = {};
    QelZipResultText(QELZR_RECENT, text, 128);
    return text;
}

inline std::wstring ReaderText(QELZRESULT code)
{
    wchar_t text[128] = {};
    QelZipResultText(code, text, 128);
    return text;
}

// A folder of its own under the temporary folder, removed with everything in it.
class TestFolder {
public:
    TestFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        static LONG serial = 0;
        m_path = std::wstring(temp) + L"tessary-zip-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(InterlockedIncrement(&serial)) + L"\\";
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TestFolder() { Remove(m_path); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const { return m_path; }

private:
    static void Remove(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found{};
        const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(folder + name + L"\\");
                else
                    DeleteFileW((folder + name).c_str());
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring m_path;
};

inline bool WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

inline Bytes ReadBytes(const std::wstring& path)
{
    Bytes bytes;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

inline DWORD Get32(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (DWORD(b[at + 3]) << 24); }
inline WORD Get16(const Bytes& b, size_t at) { return static_cast<WORD>(b[at] | (b[at + 1] << 8)); }
inline void Set32(Bytes& b, size_t at, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
}
inline void Set16(Bytes& b, size_t at, WORD v)
{
    b[at] = static_cast<BYTE>(v);
    b[at + 1] = static_cast<BYTE>(v >> 8);
}

// Offsets of the records of an archive without a comment, found through its end record.
inline size_t EndRecordOf(const Bytes& zip) { return zip.size() - 22; }
inline size_t CentralRecordOf(const Bytes& zip, int entry)
{
    size_t at = Get32(zip, EndRecordOf(zip) + 16);
    for (int i = 0; i < entry; ++i)
        at += 46 + Get16(zip, at + 28) + Get16(zip, at + 30) + Get16(zip, at + 32);
    return at;
}
inline size_t LocalHeaderOf(const Bytes& zip, int entry) { return Get32(zip, CentralRecordOf(zip, entry) + 42); }
inline size_t DataOf(const Bytes& zip, int entry)
{
    const size_t local = LocalHeaderOf(zip, entry);
    return local + 30 + Get16(zip, local + 26) + Get16(zip, local + 28);
}

inline ULONGLONG Value(const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
inline ULONGLONG FromUnix(ULONGLONG seconds) { return seconds * 10000000ULL + 116444736000000000ULL; }

inline SYSTEMTIME LocalTimeOf(const FILETIME& utc)
{
    FILETIME local{};
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    return st;
}
