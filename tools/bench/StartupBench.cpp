// Times Tessary.exe from its start to its main window's first idle (the process's
// input-idle event, as WaitForInputIdle sees it) on an empty account and on the
// database benchmark's large account, in turns, then closes it with WM_CLOSE.
// Usage: StartupBench [folder] [--runs N] [--exe Tessary.exe]
// Each account gets a copy of the program in a folder of its own under folder
// (without one, a fresh folder under %TEMP%, removed at the end); a large account
// filled by an earlier run is used as it stands.

#include "BenchAccount.h"
#include "BenchScenario.h"
#include "framework/ComInitialize.h"
#include "framework/Handle.h"
#include "librarydata/Database.h"
#include "tools/shot/ProcessWindow.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifndef TESSARY_EXE
#error "TESSARY_EXE must name the built Tessary.exe"
#endif

namespace {

constexpr DWORD kPatience = 60000;  // ms for a start or a close

struct StartFigure {
    double idle = 0;     // s from CreateProcess to the first input idle
    double visible = 0;  // s until the main window was seen visible (checked after the idle)
    // s from WM_CLOSE to the end of the process. Under Xvfb with no window manager, Wine
    // waits about 2 s for one to withdraw the hidden window before it destroys it.
    double close = 0;
    DWORD exitCode = 0;
};

std::wstring DosPath(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

bool PrepareAccount(const std::wstring& program, const std::wstring& folder, bool large)
{
    const std::wstring account = folder + L"Data\\" + bench::kUserName + L"\\";
    std::filesystem::create_directories(account);
    if (!::CopyFileW(program.c_str(), (folder + L"Tessary.exe").c_str(), FALSE)) {
        printf("Cannot copy %ls\n", program.c_str());
        return false;
    }
    CTessaryDatabase db;
    if (!db.Open(account.c_str())) {
        printf("Cannot open the database in %ls\n", account.c_str());
        return false;
    }
    if (!large)
        return db.SetAccountUserName(bench::kUserName) != FALSE;
    std::mt19937 random(20091207);
    const std::vector<TESSARYDOCUMENTDATA> documents = bench::MakeDocuments(random);
    if (bench::IsFilled(db, documents))
        return true;
    const CStopwatch clock;
    const double start = clock.Now();
    if (!bench::FillAccount(db, documents))
        return false;
    printf("Filled the large account in %.1f s\n", clock.Now() - start);
    return true;
}

bool TimeStart(const std::wstring& folder, StartFigure& figure)
{
    std::wstring commandLine = L"\"" + folder + L"Tessary.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const CStopwatch clock;
    const double start = clock.Now();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &info)) {
        printf("Cannot start %ls\n", commandLine.c_str());
        return false;
    }
    ::CloseHandle(info.hThread);
    const CHandle process(info.hProcess);
    const DWORD idle = ::WaitForInputIdle(process.Get(), kPatience);
    figure.idle = clock.Now() - start;
    if (idle != 0) {
        printf("WaitForInputIdle returned %lu\n", idle);
        ::TerminateProcess(process.Get(), 99);
        return false;
    }
    // The main window's class begins with "ATL:"; a dialog instead would be an account choice.
    HWND frame = FindProcessWindow(info.dwProcessId, L"ATL:");
    while (!frame && clock.Now() - start < kPatience / 1000.0 &&
           ::WaitForSingleObject(process.Get(), 5) == WAIT_TIMEOUT)
        frame = FindProcessWindow(info.dwProcessId, L"ATL:");
    figure.visible = clock.Now() - start;
    if (!frame) {
        printf("No main window (a dialog instead?)\n");
        ::TerminateProcess(process.Get(), 99);
        return false;
    }
    const double closing = clock.Now();
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.Get(), kPatience) != WAIT_OBJECT_0) {
        printf("The program did not end after WM_CLOSE\n");
        ::TerminateProcess(process.Get(), 99);
        return false;
    }
    figure.close = clock.Now() - closing;
    ::GetExitCodeProcess(process.Get(), &figure.exitCode);
    return true;
}

struct Spread {
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

void PrintSpread(const char* name, const std::vector<double>& values)
{
    const Spread spread = SpreadOf(values);
    printf("%-28s min %6.3f s, median %6.3f s, max %6.3f s\n", name, spread.min, spread.median, spread.max);
}

}  // namespace

int main(int argc, char** argv)
{
    const CComInitialize com;
    std::wstring root;
    std::wstring program = DosPath(TESSARY_EXE);
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else if (strcmp(argv[i], "--exe") == 0 && i + 1 < argc)
            program = std::filesystem::path(argv[++i]).wstring();
        else
            root = std::filesystem::path(argv[i]).wstring() + L"\\";
    }
    const bool ownFolder = root.empty();
    if (ownFolder) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"tessary-startup-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    }
    const std::wstring folders[] = {root + L"empty\\", root + L"large\\"};
    const char* const names[] = {"empty account", "large account"};
    printf("Folders: %ls, %ls\n", folders[0].c_str(), folders[1].c_str());
    printf("Program: %ls\n", program.c_str());
    if (!PrepareAccount(program, folders[0], false) || !PrepareAccount(program, folders[1], true))
        return 1;

    // A first start of each, untimed: it writes the settings beside the program and warms the caches.
    std::vector<double> idle[2], visible[2], close[2];
    StartFigure figure;
    for (const std::wstring& folder : folders)
        if (!TimeStart(folder, figure))
            return 1;
    for (int run = 0; run < runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            if (!TimeStart(folders[which], figure))
                return 1;
            printf("%-14s idle after %6.3f s, window seen at %6.3f s, closed in %6.3f s, exit code %lu\n",
                   names[which], figure.idle, figure.visible, figure.close, figure.exitCode);
            idle[which].push_back(figure.idle);
            visible[which].push_back(figure.visible);
            close[which].push_back(figure.close);
        }
    }
    printf("\nOver %d starts of each:\n", runs);
    for (int which = 0; which < 2; ++which) {
        PrintSpread((std::string(names[which]) + ", start to idle").c_str(), idle[which]);
        PrintSpread((std::string(names[which]) + ", window seen").c_str(), visible[which]);
        PrintSpread((std::string(names[which]) + ", close").c_str(), close[which]);
    }
    std::vector<double> added;
    for (int run = 0; run < runs; ++run)
        added.push_back(idle[1][run] - idle[0][run]);
    const Spread spread = SpreadOf(added);
    printf("The large account adds %.3f s to the start (median of the pairs; min %.3f s, max %.3f s)%s\n",
           spread.median, spread.min, spread.max, spread.median <= 0.3 ? "" : "   <-- over 0.3 s");

    if (ownFolder) {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    return 0;
}
