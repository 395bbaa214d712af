// A private temporary folder for one test, removed with everything in it.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

class TestFolder
{
public:
    TestFolder()
    {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        wchar_t name[64] = {};
        swprintf(name, 64, L"qeltest_%lu_%lu_%u\\", GetCurrentProcessId(), GetTickCount(), Counter()++);
        m_path = std::wstring(base) + name;
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(m_path), ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder, ending with a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const wchar_t* name) const { return m_path + name; }

private:
    static unsigned& Counter()
    {
        static unsigned counter = 0;
        return counter;
    }
    std::wstring m_path;
};

inline std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        unsigned char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.insert(bytes.end(), buffer, buffer + n);
        fclose(file);
    }
    return bytes;
}

inline bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

// The UTF-16LE units of a text, after the mark FF FE unless told otherwise,
// as the tests spell files out.
inline std::vector<unsigned char> Utf16Bytes(const std::wstring& text, bool mark = true)
{
    std::vector<unsigned char> bytes;
    if (mark)
        bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}

inline bool WriteText(const std::wstring& path, const std::string& text)
{
    return WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}
