#pragma once
// What a program wrote to its log after the capture was made: by default this test
// program's own, Data\Tessary.log beside it. Read straight from the file, outside
// the log writer under test.

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Folders.h"
#include "foundation/Log.h"
#include "framework/Handle.h"

class CLogCapture
{
public:
    explicit CLogCapture(std::wstring path = QelGetDataFolder() + L"Tessary.log")
        : m_path(std::move(path)), m_start(StartAfresh() ? 0 : ReadAll().size())
    {
    }

    // The new text as the file holds it: each line with its time stamp and CR LF.
    std::wstring NewText() const
    {
        const std::wstring all = ReadAll();
        // The log starts afresh past its size limit; then all of it is new.
        return all.size() >= m_start ? all.substr(m_start) : all;
    }

    // The message part of each new line.
    std::vector<std::wstring> Lines() const
    {
        const std::wstring text = NewText();
        std::vector<std::wstring> lines;
        for (size_t pos = 0; pos < text.size();) {
            size_t end = text.find(L"\r\n", pos);
            if (end == std::wstring::npos)
                end = text.size();
            const std::wstring line = text.substr(pos, end - pos);
            const size_t message = line.find(L"): ");
            lines.push_back(message == std::wstring::npos ? line : line.substr(message + 3));
            pos = end + 2;
        }
        return lines;
    }

    // A new line that is exactly this message.
    bool Contains(const std::wstring& line) const
    {
        const auto lines = Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // A new line that holds this text somewhere.
    bool Mentions(const std::wstring& text) const
    {
        const auto lines = Lines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::wstring& line) { return line.find(text) != std::wstring::npos; });
    }

    // The lines appear in this order (others may stand between them).
    bool ContainsInOrder(const std::vector<std::wstring>& wanted) const
    {
        const auto lines = Lines();
        auto at = lines.begin();
        for (const auto& line : wanted) {
            at = std::find(at, lines.end(), line);
            if (at == lines.end())
                return false;
            ++at;
        }
        return true;
    }

    // Every new message, one a line, for failure messages.
    std::wstring Text() const
    {
        std::wstring text;
        for (const auto& line : Lines())
            text += line + L"\n";
        return text;
    }

private:
    // The writer begins the log again once it passes its size limit, and the lines
    // written before that within the capture would be gone: a log that a capture
    // could push past the limit is begun again now. True when it was.
    bool StartAfresh() const
    {
        constexpr DWORD kHeadroom = 0x10000;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data) &&
               (data.nFileSizeHigh != 0 || data.nFileSizeLow > QEL_LOG_SIZE_LIMIT - kHeadroom) &&
               DeleteFileW(m_path.c_str());
    }

    // The whole log after its byte-order mark.
    std::wstring ReadAll() const
    {
        const CHandle file(CreateFileW(m_path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
        if (!file)
            return std::wstring();
        std::string bytes;
        char buffer[65536];
        DWORD read = 0;
        while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            bytes.append(buffer, read);
        if (bytes.size() < 2)
            return std::wstring();
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    }

    std::wstring m_path;
    size_t m_start;
};
