#include "app/frame/BookmarkListBox.h"

#include <memory>
#include <vector>

#include "foundation/Folders.h"
#include "foundation/TextFiles.h"

BOOL CBookmarkListBox::OnInitControl()
{
    CQelVistaListBox::OnInitControl();
    Load((QelGetDataFolder() + L"bookmarks.txt").c_str());
    return TRUE;
}

BOOL CBookmarkListBox::Load(const wchar_t* path)
{
    if (!IsWindow())
        return FALSE;
    SendMessage(LB_RESETCONTENT);
    std::vector<std::wstring> lines;
    if (!QelLoadTextLines(path, lines))
        return FALSE;  // no bookmarks is no error
    for (std::wstring& line : lines) {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos)
            AddBookmark(line.substr(0, equals), line.substr(equals + 1));
    }
    return TRUE;
}

int CBookmarkListBox::AddBookmark(const std::wstring& name, const std::wstring& value)
{
    const auto index = static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.c_str())));
    if (index < 0)
        return index;
    auto bookmark = std::make_unique<Bookmark>(name, value);
    if (SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(bookmark.get())) != LB_ERR)
        bookmark.release();  // the item's until WM_DELETEITEM
    return index;
}

const CBookmarkListBox::Bookmark* CBookmarkListBox::GetBookmark(int index) const
{
    const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == LB_ERR ? nullptr : reinterpret_cast<const Bookmark*>(data);
}

void CBookmarkListBox::DeleteItem(DELETEITEMSTRUCT* item)
{
    delete reinterpret_cast<Bookmark*>(item->itemData);
}

BOOL CBookmarkListBox::IsItemSelected(int item)
{
    const int hot = m_hotItem.Get();
    return hot >= 0 ? item == hot : CQelVistaListBox::IsItemSelected(item);
}

BOOL CBookmarkListBox::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                            DWORD mapId)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        result = DefWindowProc();
        if (m_events && ItemFromPoint(PointFromLParam(lParam)) >= 0)
            m_events->OnBookmarkActivate(*this);
        return TRUE;
    case WM_KEYDOWN:
        result = DefWindowProc();
        if (m_events && wParam == VK_RETURN && SendMessage(LB_GETCURSEL) != LB_ERR)
            m_events->OnBookmarkActivate(*this);
        return TRUE;
    default:
        return CQelVistaListBox::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}
