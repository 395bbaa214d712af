#include "app/frame/DocumentPane.h"

#include <algorithm>

#include "app/frame/PopupMenu.h"
#include "app/frame/WaitCursor.h"
#include "foundation/Settings.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kSearchAreaHeight = 75;
constexpr int kSearchAreaHeightWithOptions = 110;

const UINT kSortCommands[] = {ID_SORT_DATE_CREATED, ID_SORT_DATE_MODIFIED, ID_SORT_TITLE, ID_SORT_LOCATION};
const UINT kScopeCommands[] = {ID_SEARCH_CURRENT_FOLDER, ID_SEARCH_SUB_FOLDERS, ID_SEARCH_ALL_DOCUMENTS};

// The index of the command in the table, -1 when it is not there.
template <size_t N>
int IndexOf(const UINT (&commands)[N], UINT id)
{
    const auto found = std::find(std::begin(commands), std::end(commands), id);
    return found == std::end(commands) ? -1 : static_cast<int>(found - std::begin(commands));
}

UINT SortCaption(int sortBy)
{
    switch (sortBy) {
    case CTessaryDocumentListCtrl::SortByModified:
        return IDS_SORT_BY_DATE_MODIFIED;
    case CTessaryDocumentListCtrl::SortByTitle:
        return IDS_SORT_BY_TITLE;
    case CTessaryDocumentListCtrl::SortByLocation:
        return IDS_SORT_BY_LOCATION;
    default:
        return IDS_SORT_BY_DATE_CREATED;
    }
}

}  // namespace

CWindowClassInfo& CDocumentPane::GetWindowClassInfo()
{
    static CWindowClassInfo info = ClassNamed(L"Tessary_DocumentPane");
    return info;
}

void CDocumentPane::OnCreate()
{
    RECT client = GetClientRect();
    RECT listRect = client;
    listRect.top = 40;
    m_list.Create(m_hWnd, listRect, nullptr,
                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | LVS_REPORT | LVS_NOCOLUMNHEADER, 0,
                  kDocumentListId);
    client.bottom = 40;
    m_searchArea.Create(m_hWnd, client, nullptr, WS_CHILD | WS_VISIBLE);
    m_searchArea.SetControlsFont(m_list.GetFont());
    UpdateButtonCaptions();
}

void CDocumentPane::Layout()
{
    const RECT client = GetClientRect();
    const int height = !m_searchArea.IsWindow()     ? 0
                       : m_searchArea.HasSearchText() ? kSearchAreaHeightWithOptions
                                                      : kSearchAreaHeight;
    m_searchArea.MoveWindow(RECT{client.left, client.top, client.right, height});
    m_list.MoveWindow(RECT{client.left, height, client.right, client.bottom});
}

void CDocumentPane::ShowLocation(const std::wstring& subscriptionGuid, const std::wstring& location)
{
    std::vector<TESSARYDOCUMENTDATA> documents;
    if (m_database && m_database->GetDocumentsByLocation(subscriptionGuid.c_str(), location.c_str(), documents))
        ShowDocuments(documents, location);
}

void CDocumentPane::ShowDocuments(const std::vector<TESSARYDOCUMENTDATA>& documents, const std::wstring& location)
{
    if (m_searchArea.IsWindow())
        m_searchArea.ResetSearch();
    m_list.SetDocuments(documents, location);
    m_documents = documents;
    m_location = location;
}

void CDocumentPane::RunSearch()
{
    const CWaitCursor wait;
    const std::wstring text = m_searchArea.GetSearchText();
    if (text.empty()) {
        // Back to the folder, even an empty one: the last results must not stay.
        m_list.SetDocuments(m_documents, m_location);
        return;
    }
    std::vector<TESSARYDOCUMENTDATA> results;
    if (!Search(text, m_searchScope, m_location, results))
        return;
    m_list.SetDocuments(results, std::wstring());
    SearchHistoryEntry entry;
    entry.text = text;
    entry.scope = m_searchScope;
    if (m_searchScope != AllDocuments)
        entry.location = m_location;
    entry.results = std::move(results);
    m_history.Add(std::move(entry));
}

BOOL CDocumentPane::Search(const std::wstring& text, int scope, const std::wstring& location,
                           std::vector<TESSARYDOCUMENTDATA>& results)
{
    return scope == AllDocuments ? m_database->SearchDocuments(text.c_str(), L"", TRUE, results)
                                 : m_database->SearchDocuments(text.c_str(), location.c_str(),
                                                               scope == CurrentFolderAndSubFolders, results);
}

void CDocumentPane::RestoreState(const wchar_t* section)
{
    if (!section || !*section)
        return;
    CTessarySettings settings;
    m_searchScope = settings.GetInt(section, L"SearchIn", CurrentFolder);
    m_list.LoadSortSettings(settings, section);
    if (IsWindow())
        UpdateButtonCaptions();
}

void CDocumentPane::UpdateButtonCaptions()
{
    if (!m_searchArea.IsWindow())
        return;
    m_searchArea.GetSortButton().SetWindowText(QelTranslateStringResource(SortCaption(m_list.GetSortBy())).c_str());
    m_searchArea.GetOrderButton().SetWindowText(
        QelTranslateStringResource(m_list.GetSortOrder() == 1 ? IDS_DESCENDING : IDS_ASCENDING).c_str());
}

void CDocumentPane::SetSortBy(int sortBy)
{
    m_list.SetSortBy(sortBy);
    UpdateButtonCaptions();
}

void CDocumentPane::ToggleSortOrder()
{
    m_list.SetSortOrder(m_list.GetSortOrder() == 1 ? 0 : 1);
    UpdateButtonCaptions();
}

void CDocumentPane::SetSearchScope(int scope)
{
    if (scope == m_searchScope)
        return;
    m_searchScope = scope;
    RunSearch();
}

CMenuOwner CDocumentPane::BuildHistoryMenu() const
{
    CMenuOwner menu(::CreatePopupMenu());
    const std::vector<SearchHistoryEntry>& entries = m_history.Entries();
    if (entries.empty()) {
        ::AppendMenuW(menu, MF_STRING | MF_GRAYED | MF_DISABLED, kFirstHistoryCommand,
                      QelTranslateStringResource(IDS_NO_SEARCH_HISTORY).c_str());
        return menu;
    }
    for (size_t i = 0; i < entries.size(); ++i)
        ::AppendMenuW(menu, MF_STRING, kFirstHistoryCommand + i, DataMenuText(entries[i].text).c_str());
    return menu;
}

void CDocumentPane::ShowSearchHistory()
{
    const CMenuOwner menu = BuildHistoryMenu();
    // Below the history icon at the box's right end.
    const CWindowRef box = m_searchArea.GetSearchBox();
    const RECT boxRect = box.GetClientRect();
    POINT corner{boxRect.right - 20, (boxRect.bottom + 16) / 2};
    box.ClientToScreen(corner);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, corner.x, corner.y, 0, m_hWnd, nullptr);
}

void CDocumentPane::ShowHistoryEntry(size_t index)
{
    const std::vector<SearchHistoryEntry>& entries = m_history.Entries();
    if (index >= entries.size())
        return;
    const SearchHistoryEntry& entry = entries[index];
    if (entry.resultsKept) {
        m_list.SetDocuments(entry.results, std::wstring());
    } else {
        const CWaitCursor wait;
        std::vector<TESSARYDOCUMENTDATA> results;
        if (Search(entry.text, entry.scope, entry.location, results))
            m_list.SetDocuments(results, std::wstring());
    }
    // Starts the delayed search, which appends the search anew.
    m_searchArea.SetSearchText(entry.text);
}

void CDocumentPane::ShowMenu(CMenuOwner& menu, UINT menuId, HWND below, UINT checkedId)
{
    const HMENU popup = LoadPopupMenu(menu, menuId);
    if (!popup)
        return;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        ::CheckMenuItem(popup, i, MF_BYPOSITION | (id == checkedId ? MF_CHECKED : MF_UNCHECKED));
    }
    const RECT button = CWindowRef(below).GetWindowRect();
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, m_hWnd, nullptr);
}

BOOL CDocumentPane::OnCommand(UINT id, HWND from)
{
    if (from && from == m_searchArea.m_hWnd) {
        switch (id) {
        case CDocumentAdvancedPane::kOptionsButtonId:
            ShowMenu(m_optionsMenu, IDR_SEARCH_SCOPE_MENU, m_searchArea.GetOptionsButton(),
                     kScopeCommands[m_searchScope >= 0 && m_searchScope < 3 ? m_searchScope : 0]);
            return TRUE;
        case CDocumentAdvancedPane::kSortButtonId: {
            const int sortBy = m_list.GetSortBy();
            ShowMenu(m_sortMenu, IDR_SORT_MENU, m_searchArea.GetSortButton(),
                     sortBy >= 0 && sortBy < 4 ? kSortCommands[sortBy] : 0);
            return TRUE;
        }
        case CDocumentAdvancedPane::kOrderButtonId:
            ToggleSortOrder();
            return TRUE;
        default:
            return FALSE;
        }
    }
    if (from)
        return FALSE;
    if (const int sortBy = IndexOf(kSortCommands, id); sortBy >= 0) {
        SetSortBy(sortBy);
        return TRUE;
    }
    if (const int scope = IndexOf(kScopeCommands, id); scope >= 0) {
        SetSearchScope(scope);
        return TRUE;
    }
    if (id >= kFirstHistoryCommand && id < kFirstHistoryCommand + kHistoryMenuLength) {
        ShowHistoryEntry(id - kFirstHistoryCommand);
        return TRUE;
    }
    return FALSE;
}

BOOL CDocumentPane::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                         DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        result = 0;
        return TRUE;
    case WM_SIZE:
    case WM_QEL_UPDATELAYOUT:
        Layout();
        result = 0;
        return TRUE;
    case WM_QEL_SEARCH:
        RunSearch();
        result = 0;
        return TRUE;
    case WM_QEL_SHOWSEARCHHISTORY:
        ShowSearchHistory();
        result = 0;
        return TRUE;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam))) {
            result = 0;
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CFilledPane::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
