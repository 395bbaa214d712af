#include "ConsoleOutput.h"

#include "foundation/Encoding.h"

namespace {

// A line break or TAB inside a text would split its line or its fields.
std::wstring CleanField(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n' || c == L'\t')
            c = L' ';
    }
    return text;
}

}  // namespace

CConsoleOutput::CConsoleOutput(DWORD standardHandle) : m_handle(::GetStdHandle(standardHandle)), m_console(false)
{
    DWORD mode = 0;
    m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(m_handle, &mode);
}

void CConsoleOutput::WriteLine(const std::wstring& text)
{
    WriteFields({text});
}

void CConsoleOutput::WriteFields(std::initializer_list<std::wstring> fields)
{
    std::wstring line;
    bool first = true;
    for (const std::wstring& field : fields) {
        if (!first)
            line += L'\t';
        line += CleanField(field);
        first = false;
    }
    Write(line + L"\r\n");
}

void CConsoleOutput::Write(const std::wstring& line)
{
    if (m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (m_console) {
        ::WriteConsoleW(m_handle, line.data(), DWORD(line.size()), &written, nullptr);
        return;
    }
    std::string bytes;
    QelUnicodeToMultiByte(bytes, CP_UTF8, line.c_str());
    ::WriteFile(m_handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}
