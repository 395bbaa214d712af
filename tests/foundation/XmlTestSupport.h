#pragma once
// COM set-up for tests of the XML wrapper and the settings
// store, and readers for the files they write.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ComTest.h"
#include "TestFolder.h"
#include "foundation/Folders.h"
#include "foundation/MessageBox.h"

class XmlTest : public ComTest
{
protected:
    void SetUp() override { m_logStart = ReadBytes(LogPath()).size(); }

    static std::wstring LogPath() { return QelGetDataFolder() + L"Tessary.log"; }

    // What the log gained since the test began.
    std::wstring NewLogText() const
    {
        const auto bytes = ReadBytes(LogPath());
        size_t from = m_logStart < 2 ? 2 : m_logStart;
        if (bytes.size() <= from)
            return L"";
        std::wstring text((bytes.size() - from) / 2, L'\0');
        memcpy(&text[0], bytes.data() + from, text.size() * 2);
        return text;
    }

private:
    size_t m_logStart = 0;
};

// FF FE and the UTF-16LE units of a text, as the tests spell files out.
inline std::vector<unsigned char> Utf16File(const std::wstring& text)
{
    std::vector<unsigned char> bytes{0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}
