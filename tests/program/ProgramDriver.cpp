#include "ProgramDriver.h"

#include <filesystem>

#include "PixelCapture.h"
#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "framework/GdiOwners.h"
#include "librarydata/Database.h"

#ifndef TESSARY_EXE
#error "TESSARY_EXE must name the built Tessary.exe"
#endif
#ifndef TESSARY_ARTIFACTS
#error "TESSARY_ARTIFACTS must name the folder for test output"
#endif

namespace {

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
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && (!search->visibleOnly || ::IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

// Whether the window or a child still waits for its WM_PAINT.
bool HasPendingPaint(HWND window)
{
    if (::IsWindowVisible(window) && ::GetUpdateRect(window, nullptr, FALSE))
        return true;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HasPendingPaint(child))
            return true;
    }
    return false;
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

std::vector<HWND> CProgramRun::TopLevelWindows(bool visibleOnly) const
{
    WindowSearch search{m_processId, visibleOnly, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> CProgramRun::Windows() const
{
    return TopLevelWindows(true);
}

HWND CProgramRun::Matching(const wchar_t* classPrefix, const wchar_t* title, bool visibleOnly) const
{
    for (const HWND window : TopLevelWindows(visibleOnly)) {
        const bool classMatches = !classPrefix || ClassName(window).rfind(classPrefix, 0) == 0;
        wchar_t text[256]{};
        ::GetWindowTextW(window, text, 256);
        if (classMatches && (!title || std::wstring(text) == title))
            return window;
    }
    return nullptr;
}

HWND CProgramRun::FindWindow(const wchar_t* classPrefix, const wchar_t* title) const
{
    return Matching(classPrefix, title, false);
}

HWND CProgramRun::WaitForWindow(const wchar_t* classPrefix, const wchar_t* title) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = Matching(classPrefix, title, true)) != nullptr; });
    return found;
}

bool CProgramRun::WaitUntil(const std::function<bool()>& condition, DWORD patience) const
{
    for (DWORD waited = 0; waited < patience; waited += kPollStep) {
        if (condition())
            return true;
        if (::WaitForSingleObject(m_process.Get(), kPollStep) == WAIT_OBJECT_0)
            return condition();
    }
    return condition();
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

void CProgramRun::ClickListBoxItem(HWND listBox, int index)
{
    // The system copies the rectangle between the processes.
    RECT item{};
    if (::SendMessageW(listBox, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        return;
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::PostMessageW(listBox, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(listBox, WM_LBUTTONUP, 0, point);
}

std::wstring CProgramRun::ControlText(HWND control)
{
    const LRESULT length = ::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

HWND CProgramRun::FindDescendant(HWND parent, const wchar_t* className)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == className)
            return child;
        if (const HWND found = FindDescendant(child, className))
            return found;
    }
    return nullptr;
}

bool CProgramRun::SaveScreenshot(HWND window, const wchar_t* name)
{
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    for (DWORD waited = 0; HasPendingPaint(window) && waited < kPatience; waited += kPollStep)
        ::Sleep(kPollStep);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    CPixelCapture picture(frame.right - frame.left, frame.bottom - frame.top);
    const CWindowDc screen(nullptr);
    ::BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), screen, frame.left, frame.top, SRCCOPY);
    return picture.SaveBmp(DosPath(TESSARY_ARTIFACTS) + name + L".bmp");
}
