#pragma once
// The account's library as a tree: "Quick Views" first, then one root item per book,
// each with its documents' folder paths split at "/" into nested items with their
// document counts. A selection change tells the events receiver, which asks for the
// selected book and location (or a virtual folder's documents) and fills the list.
// Expansion, selection and scrolling survive a refresh, and a restart under a key.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/frame/FolderTreeItemData.h"
#include "controls/TreeCtrl.h"
#include "librarydata/Database.h"

class CTessaryFolderTreeCtrl;

class ITessaryFolderTreeCtrlEvents {
public:
    virtual void OnFolderSelected(CTessaryFolderTreeCtrl& tree) = 0;

protected:
    ~ITessaryFolderTreeCtrlEvents() = default;
};

class CTessaryFolderTreeCtrl : public CQelVistaTreeCtrl {
public:
    explicit CTessaryFolderTreeCtrl(CTessaryDatabase* database) : m_database(database) {}

    void SetEvents(ITessaryFolderTreeCtrlEvents* events) { m_events = events; }
    // The settings section of the saved state; restored at once when the window exists.
    void SetStateKey(const wchar_t* key);
    // Rebuilds the items from the database; FALSE without a window.
    BOOL Refresh();

    // FALSE when nothing or a virtual folder is selected.
    BOOL GetSelection(std::wstring& subscriptionGuid, std::wstring& location);
    std::wstring GetSelectedLocation();
    std::wstring GetSelectedSubscriptionGuid();
    // A virtual folder's documents; 0 when nothing is selected or the item has none of its own.
    int GetSelectedDocuments(std::vector<TESSARYDOCUMENTDATA>& documents);

    // A virtual folder's name, else the book's GUID, "\" and the item's location.
    std::wstring GetItemPath(HTREEITEM item) override;
    // A folder's path is its parent's followed by its name and "/".
    std::wstring GetChildItemPath(HTREEITEM item, const std::wstring& parentPath) override;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    BOOL OnInitControl() override;
    BOOL OnDestroyControl() override;
    void OnDeleteItem(LPARAM data) override;
    // The icons of books, folders and virtual folders; 0 leaves the tree without images.
    void SetIconIds(WORD book, WORD folder, WORD virtualFolder);

private:
    enum Image { BookImage = 0, FolderImage = 1, VirtualFolderImage = 2 };

    CTessaryFolderTreeCtrlItemDataBase* GetData(HTREEITEM item) const;
    // The item owns the data once it is added.
    HTREEITEM AddItem(HTREEITEM parent, const std::wstring& text,
                      std::unique_ptr<CTessaryFolderTreeCtrlItemDataBase> data, Image image);
    void SetItemText(HTREEITEM item, const std::wstring& text);
    BOOL AddFolders(HTREEITEM bookItem, const TESSARYSUBSCRIPTIONDATA& book);
    HTREEITEM FindChild(HTREEITEM parent, const std::wstring& name) const;
    // The nearest book item at or above the item, nullptr under a virtual folder.
    HTREEITEM GetBookItem(HTREEITEM item) const;
    std::wstring GetBookGuid(HTREEITEM item) const;
    std::wstring GetItemLocation(HTREEITEM item) const;
    void SortRootItems();
    void RestoreSavedState();
    void CreateImages();

    CTessaryDatabase* m_database;
    ITessaryFolderTreeCtrlEvents* m_events = nullptr;
    std::wstring m_stateKey;
    WORD m_iconIds[3]{};
    CImageListOwner m_images;
};
