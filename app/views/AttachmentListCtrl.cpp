#include "app/views/AttachmentListCtrl.h"

#include <shellapi.h>

#include <memory>

#include "foundation/Files.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

enum : int { kNameColumn, kSizeColumn, kTypeColumn };

const TESSARYDOCUMENTATTACHMENTDATA* Record(LPARAM data)
{
    return reinterpret_cast<const TESSARYDOCUMENTATTACHMENTDATA*>(data);
}

void InsertColumn(HWND list, int index, UINT titleId, int width, int format)
{
    const std::wstring title = QelTranslateStringResource(titleId);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetCellText(HWND list, int item, int column, const std::wstring& text)
{
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

BOOL CAttachmentListCtrl::OnInitControl()
{
    CQelVistaListCtrl::OnInitControl();
    InsertColumn(m_hWnd, kNameColumn, IDS_COLUMN_NAME, 150, LVCFMT_LEFT);
    InsertColumn(m_hWnd, kSizeColumn, IDS_COLUMN_SIZE, 100, LVCFMT_RIGHT);
    InsertColumn(m_hWnd, kTypeColumn, IDS_COLUMN_TYPE, 100, LVCFMT_LEFT);
    SetColumnSortType(kNameColumn, ListColumnSort::Text);
    SetColumnSortType(kSizeColumn, ListColumnSort::Custom);
    SetColumnSortType(kTypeColumn, ListColumnSort::Text);
    Refresh();
    return TRUE;
}

void CAttachmentListCtrl::SetDocument(const TESSARYDOCUMENTDATA& document)
{
    m_document = document;
    Refresh();
}

void CAttachmentListCtrl::Refresh()
{
    if (!m_hWnd)
        return;
    SendMessage(LVM_DELETEALLITEMS);
    if (!m_database || m_document.subscriptionGuid.empty() || m_document.documentGuid.empty())
        return;
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    if (!m_database->GetAttachments(m_document, attachments))
        return;
    for (const TESSARYDOCUMENTATTACHMENTDATA& attachment : attachments)
        AddAttachment(attachment);
}

void CAttachmentListCtrl::AddAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment)
{
    const std::wstring path = m_database->GetAttachmentFileName(attachment);
    const DWORD size = QelGetFileSize(path.c_str());
    // By the name's extension alone: the file need not exist.
    SHFILEINFOW info{};
    ::SHGetFileInfoW(attachment.name.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);

    auto copy = std::make_unique<TESSARYDOCUMENTATTACHMENTDATA>(attachment);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
    item.pszText = const_cast<wchar_t*>(attachment.name.c_str());
    item.lParam = reinterpret_cast<LPARAM>(copy.get());
    const int index = static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return;
    copy.release();  // the row owns it now
    SetCellText(m_hWnd, index, kSizeColumn, QelFormatByteSize(size));
    SetCellText(m_hWnd, index, kTypeColumn, info.szTypeName);
}

void CAttachmentListCtrl::DeleteItemData(LPARAM data)
{
    std::unique_ptr<const TESSARYDOCUMENTATTACHMENTDATA> freed(Record(data));
}

DWORD CAttachmentListCtrl::GetAttachmentSize(LPARAM data) const
{
    const TESSARYDOCUMENTATTACHMENTDATA* attachment = Record(data);
    if (!attachment || !m_database)
        return 0;
    return QelGetFileSize(m_database->GetAttachmentFileName(*attachment).c_str());
}

// Sizes are read from disk at each comparison, so the order follows the files as they are now.
// The sign alone: a difference of two sizes overflows an int past 2 GB.
int CAttachmentListCtrl::CompareItemsCustom(const LVCompareParam& first, const LVCompareParam& second, int column)
{
    if (column != kSizeColumn)
        return 0;
    const DWORD a = GetAttachmentSize(first.data);
    const DWORD b = GetAttachmentSize(second.data);
    return a < b ? -1 : a > b ? 1 : 0;
}

BOOL CAttachmentListCtrl::GetSelectedAttachments(std::vector<TESSARYDOCUMENTATTACHMENTDATA>& attachments)
{
    std::vector<int> items;
    GetSelectedItems(items);
    for (const int item : items) {
        const TESSARYDOCUMENTATTACHMENTDATA* attachment = Record(GetItemData(item));
        if (!attachment) {
            TessaryWriteLog(QelFormatString1(L"Failed to get attachment item data:%1", std::to_wstring(item).c_str()));
            continue;
        }
        attachments.push_back(*attachment);
    }
    return TRUE;
}

void CAttachmentListCtrl::OpenSelected()
{
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    GetSelectedAttachments(attachments);
    for (const TESSARYDOCUMENTATTACHMENTDATA& attachment : attachments)
        ExecuteShellVerb(L"open", m_database->GetAttachmentFileName(attachment), SW_SHOW);
}

void CAttachmentListCtrl::ExecuteShellVerb(const wchar_t* verb, const std::wstring& file, int show)
{
    ::ShellExecuteW(nullptr, verb, file.c_str(), nullptr, nullptr, show);
}

HMENU CAttachmentListCtrl::GetContextMenu()
{
    if (!m_menu) {
        m_menu.Attach(::LoadMenuW(FrameworkInstance(), MAKEINTRESOURCEW(IDR_ATTACHMENT_LIST_MENU)));
        if (m_menu)
            QelTranslateMenu(m_menu);
    }
    return m_menu ? ::GetSubMenu(m_menu, 0) : nullptr;
}

void CAttachmentListCtrl::PrepareContextMenu(int item, HMENU menu)
{
    const BOOL enable = item >= 0 && SendMessage(LVM_GETSELECTEDCOUNT) > 0;
    ::EnableMenuItem(menu, ID_OPEN_ATTACHMENT, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

BOOL CAttachmentListCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_LBUTTONDBLCLK:
        OpenSelected();
        break;  // the list view's own double click still runs
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_OPEN_ATTACHMENT && lParam == 0) {
            OpenSelected();
            result = 0;
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CQelVistaListCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
