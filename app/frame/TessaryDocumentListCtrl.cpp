#include "app/frame/TessaryDocumentListCtrl.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "app/frame/RelativeDate.h"
#include "app/frame/WaitCursor.h"
#include "controls/PaintingHelpers.h"
#include "controls/RedrawLock.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"

namespace {

constexpr int kIconSize = 16;
constexpr int kIconSpace = 20;

int CompareTimes(__int64 a, __int64 b)
{
    return a == b ? 0 : a > b ? 1 : -1;
}

void LoadIconTable(CQelIconImageList& list, const TESSARYICONTABLEENTRY* table)
{
    list.Create();
    for (; table && table->key; ++table) {
        const CIconOwner icon(static_cast<HICON>(::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(table->iconId),
                                                              IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));
        if (icon)
            list.AddIcon(icon, table->key);
    }
}

// The icon of the upper line, vertically centred on it.
void DrawIcon(HDC dc, HIMAGELIST images, int image, int left, const RECT& line)
{
    if (images && image >= 0)
        ::ImageList_Draw(images, image, dc, left, line.top + (line.bottom - line.top - kIconSize) / 2,
                         ILD_TRANSPARENT);
}

std::wstring IconKey(const TESSARYDOCUMENTDATA& document)
{
    std::wstring key = document.type;
    if (key == L"article") {
        key = document.fileType;
        const size_t first = key.find_first_not_of(L'.');
        key = first == std::wstring::npos ? std::wstring() : key.substr(first, key.find_last_not_of(L'.') - first + 1);
    }
    ::CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

}  // namespace

BOOL CTessaryDocumentListCtrl::OnInitControl()
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"");
    column.cx = GetClientRect().right;
    SendMessage(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    QelCreateUIFont(m_font, FALSE, 0, 0);
    SetFont(m_font, FALSE);
    CQelVistaListCtrl::OnInitControl();
    LoadIconTable(m_documentIcons, m_documentIconTable);
    LoadIconTable(m_attachmentIcons, m_attachmentIconTable);
    return TRUE;
}

void CTessaryDocumentListCtrl::SetColumnWidth()
{
    SendMessage(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(GetClientRect().right, 0));
}

void CTessaryDocumentListCtrl::SetDocuments(const std::vector<TESSARYDOCUMENTDATA>& documents,
                                            const std::wstring& location)
{
    m_documents = documents;
    m_location = location;
    Refill();
}

void CTessaryDocumentListCtrl::Refill()
{
    if (!IsWindow())
        return;
    const CWaitCursor wait;
    const CQelRedrawLock lock(m_hWnd);
    SendMessage(LVM_DELETEALLITEMS);
    if (m_documents.empty())
        return;
    SendMessage(LVM_SETITEMCOUNT, m_documents.size());
    int index = 0;
    for (const TESSARYDOCUMENTDATA& document : m_documents) {
        auto record = std::make_unique<TESSARYDOCUMENTDATA>(document);
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_PARAM;
        row.iItem = index;
        row.pszText = const_cast<wchar_t*>(document.title.c_str());
        row.lParam = reinterpret_cast<LPARAM>(record.get());
        if (SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)) < 0) {
            TessaryWriteLog(QelFormatString1(L"Failed to add document: %1", document.title.c_str()));
            continue;
        }
        record.release();  // the row's until LVN_DELETEITEM
        ++index;
    }
    Sort();
}

// Each row's item data is its record, so the list view's own sort compares records
// directly: the kit's sort by column swaps every row's data twice, each swap a pair
// of notifications, which costs a 5,000-row list most of a second under Wine.
void CTessaryDocumentListCtrl::Sort()
{
    if (IsWindow())
        SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareRows));
}

void CTessaryDocumentListCtrl::SetSortBy(int sortBy)
{
    if (sortBy == m_sortBy)
        return;
    m_sortBy = sortBy;
    Sort();
}

void CTessaryDocumentListCtrl::SetSortOrder(int sortOrder)
{
    if (sortOrder == m_sortOrder)
        return;
    m_sortOrder = sortOrder;
    Sort();
}

void CTessaryDocumentListCtrl::LoadSortSettings(IQelSettingsBase& settings, const wchar_t* section)
{
    m_sortBy = settings.GetInt(section, L"SortBy", SortByCreated);
    m_sortOrder = settings.GetInt(section, L"SortOrder", 1);
    Sort();
}

void CTessaryDocumentListCtrl::SaveSortSettings(IQelSettingsBase& settings, const wchar_t* section)
{
    settings.SetInt(section, L"SortOrder", m_sortOrder);
    settings.SetInt(section, L"SortBy", m_sortBy);
}

int CTessaryDocumentListCtrl::CompareDocuments(const TESSARYDOCUMENTDATA& a, const TESSARYDOCUMENTDATA& b) const
{
    switch (m_sortBy) {
    case SortByCreated:
        return CompareTimes(a.created, b.created);
    case SortByModified:
        return CompareTimes(a.modified, b.modified);
    case SortByTitle:
        return ::CompareStringOrdinal(a.title.c_str(), -1, b.title.c_str(), -1, TRUE) - CSTR_EQUAL;
    case SortByLocation:
        return ::CompareStringOrdinal(a.location.c_str(), -1, b.location.c_str(), -1, TRUE) - CSTR_EQUAL;
    default:
        return 0;
    }
}

int CALLBACK CTessaryDocumentListCtrl::CompareRows(LPARAM first, LPARAM second, LPARAM list)
{
    const auto* a = reinterpret_cast<const TESSARYDOCUMENTDATA*>(first);
    const auto* b = reinterpret_cast<const TESSARYDOCUMENTDATA*>(second);
    const auto* self = reinterpret_cast<const CTessaryDocumentListCtrl*>(list);
    if (!a || !b)
        return 0;
    const int order = self->CompareDocuments(*a, *b);
    const int sign = (order > 0) - (order < 0);
    return self->m_sortOrder == 1 ? -sign : sign;
}

const TESSARYDOCUMENTDATA* CTessaryDocumentListCtrl::GetDocument(int item) const
{
    return reinterpret_cast<const TESSARYDOCUMENTDATA*>(GetItemData(item));
}

void CTessaryDocumentListCtrl::GetSelectedDocuments(std::vector<TESSARYDOCUMENTDATA>& documents) const
{
    std::vector<int> items;
    GetCommandItems(items);
    for (const int item : items) {
        if (const TESSARYDOCUMENTDATA* document = GetDocument(item))
            documents.push_back(*document);
    }
}

BOOL CTessaryDocumentListCtrl::GetSelectedDocument(TESSARYDOCUMENTDATA& document) const
{
    std::vector<TESSARYDOCUMENTDATA> documents;
    GetSelectedDocuments(documents);
    if (documents.empty())
        return FALSE;
    document = documents.front();
    return TRUE;
}

void CTessaryDocumentListCtrl::DeleteItemData(LPARAM data)
{
    delete reinterpret_cast<TESSARYDOCUMENTDATA*>(data);  // each row owns its record
}

void CTessaryDocumentListCtrl::OnItemChanged(const NMLISTVIEW& change)
{
    if (!(change.uChanged & LVIF_STATE) || !((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
        return;
    if (m_rightClicking) {
        // The row a right click selects is the context menu's, not one to open, and the
        // selection it replaced is no longer there to open.
        CancelOpen();
        return;
    }
    StartOpen();
}

void CTessaryDocumentListCtrl::StartOpen()
{
    if (m_pendingSelection || m_suppressSelectionEvents)
        return;
    m_pendingSelection = TRUE;
    ::SetTimer(m_hWnd, kSelectionTimer, 100, nullptr);
}

void CTessaryDocumentListCtrl::OnNotify(const NMHDR& header)
{
    switch (header.code) {
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        break;
    // A row chosen again opens even when the selection stays: a right click or another
    // tab may have left the selected row's document unshown.
    case NM_CLICK:
    case NM_DBLCLK:
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0)
            StartOpen();
        break;
    case NM_RETURN:
        if (SendMessage(LVM_GETSELECTEDCOUNT) > 0)
            StartOpen();
        break;
    default:
        break;
    }
}

void CTessaryDocumentListCtrl::CancelOpen()
{
    ::KillTimer(m_hWnd, kSelectionTimer);
    m_pendingSelection = FALSE;
}

void CTessaryDocumentListCtrl::OnSelectionTimer()
{
    ::KillTimer(m_hWnd, kSelectionTimer);
    // A tick already queued when the timer was killed opens nothing more.
    if (!m_pendingSelection)
        return;
    m_pendingSelection = FALSE;
    if (m_events)
        m_events->OnDocumentOpen(*this);
}

__int64 CTessaryDocumentListCtrl::GetNow() const
{
    return _time64(nullptr);
}

int CTessaryDocumentListCtrl::GetIconImage(const TESSARYDOCUMENTDATA& document) const
{
    return std::max(0, m_documentIcons.FindIcon(IconKey(document).c_str()));
}

std::wstring CTessaryDocumentListCtrl::GetBookName(const std::wstring& subscriptionGuid)
{
    if (!m_bookNamesLoaded && m_database) {
        m_bookNamesLoaded = TRUE;
        std::vector<TESSARYSUBSCRIPTIONDATA> books;
        m_database->GetSubscriptions(books);
        for (const TESSARYSUBSCRIPTIONDATA& book : books)
            m_bookNames[book.guid] = book.name;
    }
    const auto found = m_bookNames.find(subscriptionGuid);
    return found != m_bookNames.end() ? found->second : std::wstring();
}

void CTessaryDocumentListCtrl::ReloadBookNames()
{
    m_bookNames.clear();
    m_bookNamesLoaded = FALSE;
    if (IsWindow())
        Invalidate();
}

void CTessaryDocumentListCtrl::DrawItem(HDC dc, int, int subItem, UINT, const RECT& cell, UINT, LPARAM data)
{
    if (subItem != 0)
        return;
    const auto* document = reinterpret_cast<const TESSARYDOCUMENTDATA*>(data);
    if (!document) {
        TessaryWriteLog(L"item no data!");
        return;
    }
    const CSelectScope font(dc, m_font);
    RECT area = cell;
    ::InflateRect(&area, -4, -4);
    const LONG middle = (area.top + area.bottom) / 2;
    RECT upper{area.left, area.top, area.right, middle};
    RECT lower{area.left, middle, area.right, area.bottom};

    DrawIcon(dc, m_documentIcons.GetImageList(), GetIconImage(*document), upper.left, upper);
    upper.left += kIconSpace;
    if (document->attachmentCount > 0) {
        DrawIcon(dc, m_attachmentIcons.GetImageList(), 0, upper.right - kIconSize, upper);
        upper.right -= kIconSpace;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(dc, document->title.c_str(), -1, &upper, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    const std::wstring date =
        FormatRelativeDate(m_sortBy == SortByModified ? document->modified : document->created, GetNow());
    RECT measured{};
    ::DrawTextW(dc, date.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    RECT dateRect = lower;
    dateRect.left = std::max(lower.left, lower.right - (measured.right - measured.left) - 10);
    ::DrawTextW(dc, date.c_str(), -1, &dateRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (m_location.empty()) {
        const std::wstring where = GetBookName(document->subscriptionGuid) + document->location;
        RECT whereRect{lower.left, lower.top, dateRect.left, lower.bottom};
        ::DrawTextW(dc, where.c_str(), -1, &whereRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

BOOL CTessaryDocumentListCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                    LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_SIZE:
        result = DefWindowProc();
        SetColumnWidth();
        return TRUE;
    case WM_RBUTTONDOWN: {
        // The list view selects the row and shows the context menu inside this press.
        m_rightClicking = TRUE;
        const BOOL handled = CQelVistaListCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
        m_rightClicking = FALSE;
        return handled;
    }
    case WM_TIMER:
        if (wParam != kSelectionTimer)
            break;
        OnSelectionTimer();
        result = 0;
        return TRUE;
    case OCM__BASE + WM_NOTIFY:
        if (lParam)
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        break;
    default:
        break;
    }
    return CQelVistaListCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
