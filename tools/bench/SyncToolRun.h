// Runs of tessary-sync.exe for the benchmarks that set it beside the reader:
// a folder of its own beside the benchmark (its Data\ folder comes beside
// the tool's copy), and one run on the bench account with its output dropped.
#pragma once

#include "framework/Handle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef TESSARY_SYNC_EXE
#error "TESSARY_SYNC_EXE must name the built tessary-sync.exe"
#endif

constexpr DWORD kKilledExitCode = 0xDEAD;

inline bool PrepareToolFolder(const std::wstring& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    std::wstring tool = L"Z:" + std::wstring(TESSARY_SYNC_EXE, TESSARY_SYNC_EXE + strlen(TESSARY_SYNC_EXE));
    std::replace(tool.begin(), tool.end(), L'/', L'\\');
    return CreateDirectoryW(folder.c_str(), nullptr) &&
           CopyFileW(tool.c_str(), (folder + L"tessary-sync.exe").c_str(), FALSE);
}

// Killed after killAfterMs unless it ended first. The exit code, or kKilledExitCode.
inline DWORD RunSyncTool(const std::wstring& folder, DWORD killAfterMs)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const CHandle nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                  0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul.Get();
    startup.hStdError = nul.Get();
    std::wstring commandLine = L"\"" + folder + L"tessary-sync.exe\" bench@example.com bench";
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                        &started))
        return 1;
    const CHandle process(started.hProcess);
    const CHandle thread(started.hThread);
    if (WaitForSingleObject(process.Get(), killAfterMs) == WAIT_TIMEOUT) {
        TerminateProcess(process.Get(), kKilledExitCode);
        WaitForSingleObject(process.Get(), INFINITE);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}
