#pragma once
// The documents of a folder, a quick view or a search, two lines each: the type's icon
// and the title above; the book and folder (for lists that span folders) and a relative
// date below. The rows sort by one of four fields in either direction. A burst of
// selection changes opens one document, 100 ms after the first change, and so does a
// click, double click or Enter on a row that stays selected; the selection a right click
// makes is for the context menu and opens none.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "controls/IconImageList.h"
#include "controls/ListView.h"
#include "foundation/Settings.h"
#include "librarydata/Database.h"

class CTessaryDocumentListCtrl;

class ITessaryDocumentListCtrlEvents {
public:
    virtual void OnDocumentOpen(CTessaryDocumentListCtrl& list) = 0;
    virtual void OnDocumentsOpenInNewTabs(CTessaryDocumentListCtrl& list) = 0;

protected:
    ~ITessaryDocumentListCtrlEvents() = default;
};

// One row of an icon table: a type or extension and its icon resource; a null key ends it.
struct TESSARYICONTABLEENTRY {
    const wchar_t* key;
    WORD iconId;
};

class CTessaryDocumentListCtrl : public CQelVistaListCtrl {
public:
    enum SortField { SortByCreated = 0, SortByModified = 1, SortByTitle = 2, SortByLocation = 3 };
    static constexpr UINT_PTR kSelectionTimer = 101;

    explicit CTessaryDocumentListCtrl(CTessaryDatabase* database) : m_database(database) {}

    void SetEvents(ITessaryDocumentListCtrlEvents* events) { m_events = events; }
    ITessaryDocumentListCtrlEvents* GetEvents() const { return m_events; }
    // An empty location: the list spans folders, and each row names its book and folder.
    void SetDocuments(const std::vector<TESSARYDOCUMENTDATA>& documents, const std::wstring& location);
    const std::vector<TESSARYDOCUMENTDATA>& GetDocuments() const { return m_documents; }
    // The book names are read again when next drawn: a sync may have brought new books.
    void ReloadBookNames();

    int GetSortBy() const { return m_sortBy; }
    int GetSortOrder() const { return m_sortOrder; }
    // Order 1 is descending, any other value ascending.
    void SetSortBy(int sortBy);
    void SetSortOrder(int sortOrder);
    void LoadSortSettings(IQelSettingsBase& settings, const wchar_t* section);
    void SaveSortSettings(IQelSettingsBase& settings, const wchar_t* section);

    // The right-clicked row alone when it is not selected, else every selected row.
    void GetSelectedDocuments(std::vector<TESSARYDOCUMENTDATA>& documents) const;
    BOOL GetSelectedDocument(TESSARYDOCUMENTDATA& document) const;
    // The record of a row, nullptr when it has none.
    const TESSARYDOCUMENTDATA* GetDocument(int item) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    BOOL OnInitControl() override;

protected:
    void SetIconTables(const TESSARYICONTABLEENTRY* documentIcons, const TESSARYICONTABLEENTRY* attachmentIcons)
    {
        m_documentIconTable = documentIcons;
        m_attachmentIconTable = attachmentIcons;
    }
    // The current time for the relative dates.
    virtual __int64 GetNow() const;

    int GetItemHeight() override { return 40; }
    void DeleteItemData(LPARAM data) override;
    void DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format, LPARAM data) override;

private:
    void Refill();
    void Sort();
    // Below zero when a comes first in ascending order.
    int CompareDocuments(const TESSARYDOCUMENTDATA& a, const TESSARYDOCUMENTDATA& b) const;
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM list);
    void OnNotify(const NMHDR& header);
    void OnItemChanged(const NMLISTVIEW& change);
    // The selected row opens when the timer ticks, once for a burst of changes and clicks.
    void StartOpen();
    void OnSelectionTimer();
    void CancelOpen();
    int GetIconImage(const TESSARYDOCUMENTDATA& document) const;
    std::wstring GetBookName(const std::wstring& subscriptionGuid);
    void SetColumnWidth();

    CTessaryDatabase* m_database;
    ITessaryDocumentListCtrlEvents* m_events = nullptr;
    BOOL m_pendingSelection = FALSE;
    BOOL m_rightClicking = FALSE;  // while the list view handles a right button press
    std::wstring m_location;
    std::vector<TESSARYDOCUMENTDATA> m_documents;
    CQelIconImageList m_documentIcons;
    CQelIconImageList m_attachmentIcons;
    const TESSARYICONTABLEENTRY* m_documentIconTable = nullptr;
    const TESSARYICONTABLEENTRY* m_attachmentIconTable = nullptr;
    std::map<std::wstring, std::wstring> m_bookNames;
    BOOL m_bookNamesLoaded = FALSE;
    CFontOwner m_font;
    int m_sortBy = SortByCreated;
    int m_sortOrder = 1;
};
