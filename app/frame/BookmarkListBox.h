#pragma once
// The bookmark list: one item per line "name=value" of bookmarks.txt in the data folder,
// showing the value and keeping the pair. The program only reads the file. A click on an
// item or Enter on the selection tells the events receiver.
#include <windows.h>

#include <string>
#include <utility>

#include "controls/ListBox.h"

class CBookmarkListBox;

class IBookmarkListBoxEvents {
public:
    virtual void OnBookmarkActivate(CBookmarkListBox& list) = 0;

protected:
    ~IBookmarkListBoxEvents() = default;
};

class CBookmarkListBox : public CQelVistaListBox {
public:
    using Bookmark = std::pair<std::wstring, std::wstring>;  // name, value
    static constexpr DWORD kStyle =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

    HWND Create(HWND parent) { return CQelVistaListBox::Create(parent, RECT{}, nullptr, kStyle); }
    void SetEvents(IBookmarkListBoxEvents* events) { m_events = events; }

    // Lists the file's bookmarks in file order; FALSE and an empty list when it cannot be read.
    BOOL Load(const wchar_t* path);
    // The index of the new item.
    int AddBookmark(const std::wstring& name, const std::wstring& value);
    // The item's pair, nullptr for no item.
    const Bookmark* GetBookmark(int index) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    BOOL OnInitControl() override;
    void DeleteItem(DELETEITEMSTRUCT* item) override;
    // The hot item is drawn as the current one while the mouse is over it.
    BOOL IsItemSelected(int item) override;

private:
    IBookmarkListBoxEvents* m_events = nullptr;
};
