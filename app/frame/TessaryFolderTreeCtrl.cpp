#include "app/frame/TessaryFolderTreeCtrl.h"

#include <memory>

#include "foundation/Global.h"
#include "foundation/Settings.h"
#include "foundation/Translations.h"

namespace {

// A book server decides how deep a location is, and every level is an item to fill, save,
// restore and paint: deeper parts stay together in the last level's item.
constexpr size_t kMaxFolderLevels = 32;

std::wstring WithCount(const std::wstring& text, int count)
{
    return text + L" (" + std::to_wstring(count) + L")";
}

std::vector<std::wstring> SplitLocation(const std::wstring& location)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= location.size()) {
        size_t end = location.find(L'/', start);
        if (end == std::wstring::npos)
            end = location.size();
        if (end > start)
            parts.push_back(location.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The location's parts, one per tree level, at most kMaxFolderLevels of them: the last
// holds the parts from that level down, joined by "/", so that its item's location is
// still the whole location.
std::vector<std::wstring> FolderLevels(const std::wstring& location)
{
    std::vector<std::wstring> parts = SplitLocation(location);
    if (parts.size() <= kMaxFolderLevels)
        return parts;
    std::wstring& last = parts[kMaxFolderLevels - 1];
    for (size_t i = kMaxFolderLevels; i < parts.size(); ++i)
        last += L"/" + parts[i];
    parts.resize(kMaxFolderLevels);
    return parts;
}

int CALLBACK CompareRootItems(LPARAM first, LPARAM second, LPARAM)
{
    const auto* a = reinterpret_cast<const CTessaryFolderTreeCtrlItemDataBase*>(first);
    const auto* b = reinterpret_cast<const CTessaryFolderTreeCtrlItemDataBase*>(second);
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    if (a->GetKind() != b->GetKind())
        return a->GetKind() < b->GetKind() ? -1 : 1;
    return ::CompareStringOrdinal(a->GetDisplayName().c_str(), -1, b->GetDisplayName().c_str(), -1, TRUE) -
           CSTR_EQUAL;
}

}  // namespace

void CTessaryFolderTreeCtrl::SetStateKey(const wchar_t* key)
{
    m_stateKey = key ? key : L"";
    if (IsWindow())
        RestoreSavedState();
}

void CTessaryFolderTreeCtrl::SetIconIds(WORD book, WORD folder, WORD virtualFolder)
{
    m_iconIds[BookImage] = book;
    m_iconIds[FolderImage] = folder;
    m_iconIds[VirtualFolderImage] = virtualFolder;
}

BOOL CTessaryFolderTreeCtrl::OnInitControl()
{
    CQelVistaTreeCtrl::OnInitControl();
    Refresh();
    SendMessage(TVM_SETINDENT, 13);
    if (!m_stateKey.empty())
        RestoreSavedState();
    CreateImages();
    return TRUE;
}

void CTessaryFolderTreeCtrl::CreateImages()
{
    if (!m_iconIds[BookImage] || !m_iconIds[FolderImage])
        return;
    m_images.Attach(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0));
    for (const WORD id : m_iconIds) {
        if (!id)
            continue;
        const CIconOwner icon(static_cast<HICON>(
            ::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
        ::ImageList_AddIcon(m_images, icon);
    }
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images.Get()));
}

BOOL CTessaryFolderTreeCtrl::OnDestroyControl()
{
    if (!m_stateKey.empty()) {
        CQelTreeCtrlStateSettings<CQelVistaTreeCtrl> store(QelGetSettingsFileName().c_str(), L"Tessary",
                                                           m_stateKey.c_str(), FALSE);
        SaveState(store);
    }
    // The tree keeps the image list's handle until it is gone.
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    return CQelVistaTreeCtrl::OnDestroyControl();
}

void CTessaryFolderTreeCtrl::RestoreSavedState()
{
    CQelTreeCtrlStateSettings<CQelVistaTreeCtrl> store(QelGetSettingsFileName().c_str(), L"Tessary",
                                                       m_stateKey.c_str(), TRUE);
    RestoreState(store);
}

void CTessaryFolderTreeCtrl::OnDeleteItem(LPARAM data)
{
    delete reinterpret_cast<CTessaryFolderTreeCtrlItemDataBase*>(data);  // the tree owns each item's data
}

BOOL CTessaryFolderTreeCtrl::Refresh()
{
    if (!IsWindow())
        return FALSE;
    CQelTreeCtrlStateKeeper keep(*this);
    DeleteAllItems();

    std::vector<std::wstring> virtualFolders;
    if (m_database)
        m_database->GetQuickViews(virtualFolders);
    for (const std::wstring& name : virtualFolders) {
        if (!AddItem(TVI_ROOT, name, std::make_unique<CTessaryFolderTreeCtrlItemData_VirtualFolder>(m_database, name),
                     VirtualFolderImage))
            TessaryWriteLog(L"Failed to add subscription item!");
    }

    std::vector<TESSARYSUBSCRIPTIONDATA> books;
    if (!m_database || !m_database->GetSubscriptions(books)) {
        TessaryWriteLog(L"Failed to get subscriptions!");
        SortRootItems();
        return FALSE;
    }
    BOOL complete = TRUE;
    for (const TESSARYSUBSCRIPTIONDATA& book : books) {
        const HTREEITEM item = AddItem(
            TVI_ROOT, book.name, std::make_unique<CTessaryFolderTreeCtrlItemData_Subscription>(m_database, book),
            BookImage);
        if (!item) {
            TessaryWriteLog(L"Failed to add subscription item!");
            complete = FALSE;
            break;
        }
        if (!AddFolders(item, book)) {
            TessaryWriteLog(L"Failed to refresh subscriptions item!");
            complete = FALSE;
            break;
        }
    }
    SortRootItems();
    return complete;
}

BOOL CTessaryFolderTreeCtrl::AddFolders(HTREEITEM bookItem, const TESSARYSUBSCRIPTIONDATA& book)
{
    std::vector<std::pair<std::wstring, int>> locations;
    if (!m_database->GetLocationsWithCount(book.guid.c_str(), locations))
        return FALSE;
    for (const auto& [location, count] : locations) {
        if (location.empty())
            continue;
        if (location == L"/") {
            SetItemText(bookItem, WithCount(book.name, count));
            continue;
        }
        const std::vector<std::wstring> parts = FolderLevels(location);
        HTREEITEM parent = bookItem;
        for (size_t i = 0; i < parts.size(); ++i) {
            if (const HTREEITEM found = FindChild(parent, parts[i])) {
                parent = found;
                continue;
            }
            std::wstring text = parent == bookItem ? QelTranslateText(parts[i].c_str()) : parts[i];
            if (i + 1 == parts.size())
                text = WithCount(text, count);
            parent = AddItem(parent, text,
                             std::make_unique<CTessaryFolderTreeCtrlItemData_Folder>(m_database, parts[i], text),
                             FolderImage);
            if (!parent) {
                TessaryWriteLog(L"Failed to create item!");
                return FALSE;
            }
        }
    }
    return TRUE;
}

HTREEITEM CTessaryFolderTreeCtrl::AddItem(HTREEITEM parent, const std::wstring& text,
                                          std::unique_ptr<CTessaryFolderTreeCtrlItemDataBase> data, Image image)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    const auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item)
        data.release();  // the item's now
    return item;
}

void CTessaryFolderTreeCtrl::SetItemText(HTREEITEM item, const std::wstring& text)
{
    TVITEMW info{};
    info.mask = TVIF_TEXT | TVIF_HANDLE;
    info.hItem = item;
    info.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info));
}

CTessaryFolderTreeCtrlItemDataBase* CTessaryFolderTreeCtrl::GetData(HTREEITEM item) const
{
    if (!item)
        return nullptr;
    TVITEMW info{};
    info.mask = TVIF_PARAM | TVIF_HANDLE;
    info.hItem = item;
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)))
        return nullptr;
    return reinterpret_cast<CTessaryFolderTreeCtrlItemDataBase*>(info.lParam);
}

HTREEITEM CTessaryFolderTreeCtrl::FindChild(HTREEITEM parent, const std::wstring& name) const
{
    for (HTREEITEM child = GetNextItem(parent, TVGN_CHILD); child; child = GetNextItem(child, TVGN_NEXT)) {
        const auto* data = GetData(child);
        if (data && data->GetKind() == CTessaryFolderTreeCtrlItemDataBase::Folder &&
            ::CompareStringOrdinal(static_cast<const CTessaryFolderTreeCtrlItemData_Folder*>(data)->GetName().c_str(),
                                   -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
            return child;
    }
    return nullptr;
}

HTREEITEM CTessaryFolderTreeCtrl::GetBookItem(HTREEITEM item) const
{
    for (; item; item = GetNextItem(item, TVGN_PARENT)) {
        const auto* data = GetData(item);
        if (data && data->GetKind() == CTessaryFolderTreeCtrlItemDataBase::Subscription)
            return item;
    }
    return nullptr;
}

std::wstring CTessaryFolderTreeCtrl::GetItemLocation(HTREEITEM item) const
{
    std::wstring location = L"/";
    for (; item; item = GetNextItem(item, TVGN_PARENT)) {
        const auto* data = GetData(item);
        if (!data || data->GetKind() != CTessaryFolderTreeCtrlItemDataBase::Folder)
            break;
        location.insert(1, static_cast<const CTessaryFolderTreeCtrlItemData_Folder*>(data)->GetName() + L"/");
    }
    return location;
}

std::wstring CTessaryFolderTreeCtrl::GetItemPath(HTREEITEM item)
{
    const auto* data = GetData(item);
    if (!data) {
        TessaryWriteLog(L"item no data!");
        return std::wstring();
    }
    if (data->GetKind() == CTessaryFolderTreeCtrlItemDataBase::VirtualFolder)
        return data->GetDisplayName();
    return GetBookGuid(item) + L"\\" + GetItemLocation(item);
}

std::wstring CTessaryFolderTreeCtrl::GetChildItemPath(HTREEITEM item, const std::wstring& parentPath)
{
    const auto* data = GetData(item);
    if (data && data->GetKind() == CTessaryFolderTreeCtrlItemDataBase::Folder && !parentPath.empty())
        return parentPath + static_cast<const CTessaryFolderTreeCtrlItemData_Folder*>(data)->GetName() + L"/";
    return GetItemPath(item);
}

std::wstring CTessaryFolderTreeCtrl::GetBookGuid(HTREEITEM item) const
{
    const auto* book = static_cast<const CTessaryFolderTreeCtrlItemData_Subscription*>(GetData(GetBookItem(item)));
    return book ? book->GetSubscription().guid : std::wstring();
}

BOOL CTessaryFolderTreeCtrl::GetSelection(std::wstring& subscriptionGuid, std::wstring& location)
{
    const HTREEITEM item = GetSelectedItem();
    const auto* data = GetData(item);
    if (!data || data->GetKind() == CTessaryFolderTreeCtrlItemDataBase::VirtualFolder)
        return FALSE;
    subscriptionGuid = GetBookGuid(item);
    location = GetItemLocation(item);
    return TRUE;
}

std::wstring CTessaryFolderTreeCtrl::GetSelectedLocation()
{
    std::wstring guid;
    std::wstring location;
    GetSelection(guid, location);
    return location;
}

std::wstring CTessaryFolderTreeCtrl::GetSelectedSubscriptionGuid()
{
    std::wstring guid;
    std::wstring location;
    GetSelection(guid, location);
    return guid;
}

int CTessaryFolderTreeCtrl::GetSelectedDocuments(std::vector<TESSARYDOCUMENTDATA>& documents)
{
    CTessaryFolderTreeCtrlItemDataBase* data = GetData(GetSelectedItem());
    return data ? data->GetDocuments(documents) : 0;
}

void CTessaryFolderTreeCtrl::SortRootItems()
{
    TVSORTCB sort{};
    sort.hParent = TVI_ROOT;
    sort.lpfnCompare = CompareRootItems;
    SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

BOOL CTessaryFolderTreeCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                  LRESULT& result, DWORD mapId)
{
    if (message == OCM__BASE + WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == TVN_SELCHANGEDW) {
        if (m_events)
            m_events->OnFolderSelected(*this);
        result = 0;
        return TRUE;
    }
    return CQelVistaTreeCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
