#include "foundation/ShellDialogs.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>

namespace {

struct CDialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<CDialogSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[32] = L"";
    ::GetClassNameW(window, className, 32);
    if (process == search->process && ::IsWindowVisible(window) && std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Answers the next dialog of this process with the given button.
std::thread PressWhenShown(int button)
{
    return std::thread([button] {
        for (int tries = 0; tries < 400; ++tries) {
            CDialogSearch search{::GetCurrentProcessId(), nullptr};
            ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                return;
            }
            ::Sleep(50);
        }
    });
}

// Wine's dialog does not reliably walk its tree down to a deep start folder,
// so the test checks what the dialog answers, not where it started.
TEST(BrowseForFolder, ChoiceEndsWithASeparatorAndCancelChangesNothing)
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);

    std::wstring folder = temp;
    std::thread ok = PressWhenShown(IDOK);
    EXPECT_TRUE(QelBrowseForFolder(nullptr, L"Choose", folder));
    ok.join();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(L'\\', folder.back());
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << folder;

    folder = L"C:\\unchanged\\";
    std::thread cancel = PressWhenShown(IDCANCEL);
    EXPECT_FALSE(QelBrowseForFolder(nullptr, L"Choose", folder));
    cancel.join();
    EXPECT_EQ(L"C:\\unchanged\\", folder);

    ::OleUninitialize();
}

} // namespace
