#include "foundation/ShellDialogs.h"

#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"

#include <shlobj.h>

#include <memory>

#include <vector>

namespace {

std::wstring& LastChosenFolder()
{
    static std::wstring folder;
    return folder;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM startFolder)
{
    if (message == BFFM_INITIALIZED && startFolder)
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}

struct CItemListFree {
    void operator()(LPITEMIDLIST items) const { ::CoTaskMemFree(items); }
};

} // namespace

BOOL QelBrowseForFolder(HWND owner, const wchar_t* title, std::wstring& folder)
{
    const std::wstring start = folder.empty() ? LastChosenFolder() : folder;

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());

    const std::unique_ptr<ITEMIDLIST, CItemListFree> items(::SHBrowseForFolderW(&info));
    if (!items)
        return FALSE;
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    if (!::SHGetPathFromIDListW(items.get(), path.data()) || !path[0])
        return FALSE;

    std::wstring chosen = path.data();
    QelAppendPathSeparator(chosen);
    LastChosenFolder() = chosen;
    folder = chosen;
    return TRUE;
}

BOOL QelBrowseForFolderById(HWND owner, UINT titleId, std::wstring& folder)
{
    return QelBrowseForFolder(owner, QelLoadTranslatedString(titleId).c_str(), folder);
}

void QelShowOpenWithDialog(const wchar_t* path)
{
    std::wstring parameters = L"shell32.dll OpenAs_RunDLL \"";
    parameters += path ? path : L"";
    parameters += L"\"";
    ::ShellExecuteW(nullptr, L"open", L"rundll32.exe", parameters.c_str(), nullptr, SW_SHOW);
}
