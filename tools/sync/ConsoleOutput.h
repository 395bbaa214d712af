// Lines of text on standard output or standard error: written to a console as
// wide text, and to a file or pipe as UTF-8, which is what a redirected
// stream receives.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

class CConsoleOutput
{
public:
    explicit CConsoleOutput(DWORD standardHandle);

    // One line: CR, LF and TAB inside the text become blanks, CR LF ends it.
    void WriteLine(const std::wstring& text);
    // Fields joined by TAB, each cleaned as WriteLine cleans a text.
    void WriteFields(std::initializer_list<std::wstring> fields);

private:
    void Write(const std::wstring& line);

    HANDLE m_handle;
    bool m_console;
};
