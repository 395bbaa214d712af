#pragma once
// The left pane of the documents splitter: the search area above the document list. It
// shows the folder the tree chose, searches the account with the scope the user picked,
// keeps the searches of this run in a history, and carries the sort and scope menus.
#include <windows.h>

#include <string>
#include <vector>

#include "app/frame/DocumentAdvancedPane.h"
#include "app/frame/DocumentListCtrl.h"
#include "app/frame/FilledPane.h"
#include "app/frame/SearchHistory.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"
#include "librarydata/Database.h"

class CDocumentPane : public CFilledPane {
public:
    enum SearchScope { CurrentFolder = 0, CurrentFolderAndSubFolders = 1, AllDocuments = 2 };
    static constexpr UINT kDocumentListId = 106;
    static constexpr UINT kFirstHistoryCommand = 33000;
    static constexpr size_t kHistoryMenuLength = CSearchHistory::kMaxEntries;

    explicit CDocumentPane(CTessaryDatabase* database) : m_database(database), m_list(database) {}

    HWND Create(HWND parent) { return CWindowObject::Create(parent, RECT{}, nullptr, WS_CHILD | WS_VISIBLE); }

    // The documents of a book's folder; a failed query leaves the list as it was.
    void ShowLocation(const std::wstring& subscriptionGuid, const std::wstring& location);
    // An empty location: documents of several folders (a quick view).
    void ShowDocuments(const std::vector<TESSARYDOCUMENTDATA>& documents, const std::wstring& location);
    // The scope and the list's sort order from the section; both are only read.
    void RestoreState(const wchar_t* section);
    void RunSearch();

    CDocumentListCtrl& GetList() { return m_list; }
    CDocumentAdvancedPane& GetSearchArea() { return m_searchArea; }
    int GetSearchScope() const { return m_searchScope; }
    const std::vector<SearchHistoryEntry>& GetSearchHistory() const { return m_history.Entries(); }
    // The bytes that the result rows of the whole history may hold; tests give a small one.
    void SetSearchHistoryBudget(size_t bytes) { m_history.SetResultsBudget(bytes); }
    // The history popup's menu: the last searches, oldest first, or one greyed "No Search History".
    CMenuOwner BuildHistoryMenu() const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;

private:
    void OnCreate();
    void Layout();
    BOOL OnCommand(UINT id, HWND from);
    void SetSortBy(int sortBy);
    void ToggleSortOrder();
    void SetSearchScope(int scope);
    BOOL Search(const std::wstring& text, int scope, const std::wstring& location,
                std::vector<TESSARYDOCUMENTDATA>& results);
    void ShowHistoryEntry(size_t index);
    void ShowSearchHistory();
    void UpdateButtonCaptions();
    // Tracks sub-menu 0 of a menu resource, loaded once, at the window's left-bottom corner.
    void ShowMenu(CMenuOwner& menu, UINT menuId, HWND below, UINT checkedId);

    CTessaryDatabase* m_database;
    CDocumentAdvancedPane m_searchArea;
    CDocumentListCtrl m_list;
    int m_searchScope = CurrentFolder;
    CMenuOwner m_optionsMenu;
    CMenuOwner m_sortMenu;
    CSearchHistory m_history;
    std::wstring m_location;
    std::vector<TESSARYDOCUMENTDATA> m_documents;
};
