#pragma once
// What the program wrote to its log, Data\Tessary.log beside the test program.

#include <cstring>
#include <string>

#include "TestFolder.h"
#include "foundation/Folders.h"

// The lines the log gained after the watch was made, each ending with CR LF.
class LogWatch
{
public:
    LogWatch() : m_start(ReadBytes(Path()).size()) {}

    std::wstring NewText() const
    {
        const auto bytes = ReadBytes(Path());
        const size_t from = m_start < 2 ? 2 : m_start;  // after the byte-order mark
        if (bytes.size() <= from)
            return std::wstring();
        std::wstring text((bytes.size() - from) / 2, L'\0');
        std::memcpy(&text[0], bytes.data() + from, text.size() * 2);
        return text;
    }

    static std::wstring Path() { return QelGetDataFolder() + L"Tessary.log"; }

private:
    size_t m_start;
};
