#include "ProgramDriver.h"

#include <filesystem>

#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "librarydata/Database.h"

#ifndef TESSARY_EXE
#error "TESSARY_EXE must name the built Tessary.exe"
#endif

namespace {

constexpr DWORD kPatience = 30000;  // ms for a window to come or the process to end
constexpr DWORD kPollStep = 50;

std::wstring DosPath(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256]{};
    ::GetClassNameW(window, name, 256);
    return name;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && ::IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

CProgramRun::CProgramRun()
{
    static unsigned counter = 0;
    m_folder = QelGetExeFolder() + L"run" + std::to_wstring(++counter) + L"\\";
    QelCreateDirectoryTree(m_folder.c_str());
    ::CopyFileW(DosPath(TESSARY_EXE).c_str(), (m_folder + L"Tessary.exe").c_str(), FALSE);
}

CProgramRun::~CProgramRun()
{
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.Get(), 99);
        ::WaitForSingleObject(m_process.Get(), kPatience);
    }
    m_process.Close();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(m_folder), ignored);
}

bool CProgramRun::AddAccount(const wchar_t* userName, const wchar_t* password) const
{
    const std::wstring folder = DataFolder() + userName + L"\\";
    QelCreateDirectoryTree(folder.c_str());
    CTessaryDatabase database;
    return database.Open(folder.c_str()) && database.SetAccountUserName(userName) &&
           database.SetAccountPassword(password);
}

bool CProgramRun::Start()
{
    std::wstring commandLine = L"\"" + m_folder + L"Tessary.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(), &startup,
                          &process))
        return false;
    ::CloseHandle(process.hThread);
    m_process.Attach(process.hProcess);
    m_processId = process.dwProcessId;
    return true;
}

std::vector<HWND> CProgramRun::Windows() const
{
    WindowSearch search{m_processId, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CProgramRun::WaitForWindow(const wchar_t* classPrefix, const wchar_t* title) const
{
    for (DWORD waited = 0; waited < kPatience; waited += kPollStep) {
        for (const HWND window : Windows()) {
            const bool classMatches = !classPrefix || ClassName(window).rfind(classPrefix, 0) == 0;
            wchar_t text[256]{};
            ::GetWindowTextW(window, text, 256);
            if (classMatches && (!title || std::wstring(text) == title))
                return window;
        }
        if (::WaitForSingleObject(m_process.Get(), kPollStep) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

DWORD CProgramRun::WaitForExit() const
{
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(m_process.Get(), kPatience) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

void CProgramRun::SetText(HWND dialog, int id, const wchar_t* text)
{
    ::SetDlgItemTextW(dialog, id, text);
}

std::wstring CProgramRun::GetText(HWND dialog, int id)
{
    wchar_t text[1024]{};
    ::GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

void CProgramRun::Press(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
