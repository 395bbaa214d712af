#include "foundation/ShellDialogs.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <objbase.h>

#include <thread>
#include <vector>

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

std::wstring SelectedItemText(HWND dialog)
{
    HWND tree = ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    if (!tree)
        return L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    wchar_t text[MAX_PATH] = L"";
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    return item.hItem && TreeView_GetItem(tree, &item) ? text : L"";
}

// Answers the next dialog of this process with the given button, once the
// dialog has selected the expected folder (it fills its tree step by step).
std::thread PressWhenShown(int button, const wchar_t* selected)
{
    return std::thread([button, selected] {
        for (int tries = 0; tries < 200; ++tries) {
            CDialogSearch search{::GetCurrentProcessId(), nullptr};
            ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                for (int waits = 0; waits < 100 && *selected && SelectedItemText(search.found) != selected; ++waits)
                    ::Sleep(50);
                ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                return;
            }
            ::Sleep(50);
        }
    });
}

std::wstring MakeFolder(const wchar_t* name)
{
    std::vector<wchar_t> temp(MAX_PATH + 1);
    ::GetTempPathW(MAX_PATH, temp.data());
    std::wstring folder = std::wstring(temp.data()) + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

TEST(BrowseForFolder, StartsAtTheGivenOrLastFolderAndAppendsASeparator)
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    const std::wstring start = MakeFolder(L"browse start folder");

    std::wstring folder = start;
    std::thread ok = PressWhenShown(IDOK, L"browse start folder");
    EXPECT_TRUE(QelBrowseForFolder(nullptr, L"Choose", folder));
    ok.join();
    EXPECT_EQ(start + L"\\", folder);

    // An empty folder starts at the last choice.
    folder.clear();
    ok = PressWhenShown(IDOK, L"browse start folder");
    EXPECT_TRUE(QelBrowseForFolder(nullptr, L"Choose", folder));
    ok.join();
    EXPECT_EQ(start + L"\\", folder);

    folder = L"C:\\unchanged\\";
    std::thread cancel = PressWhenShown(IDCANCEL, L"");
    EXPECT_FALSE(QelBrowseForFolder(nullptr, L"Choose", folder));
    cancel.join();
    EXPECT_EQ(L"C:\\unchanged\\", folder);

    ::RemoveDirectoryW(start.c_str());
    ::OleUninitialize();
}

} // namespace
