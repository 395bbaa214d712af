#include "RemoteControls.h"

#include <commctrl.h>

#include "framework/Handle.h"

namespace {

constexpr int kTextLength = 512;

// A block of the control's process memory for one message's record and text.
class CRemoteBuffer {
public:
    CRemoteBuffer(HWND window, size_t size) : m_size(size)
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        m_process.Attach(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (m_process)
            m_address = ::VirtualAllocEx(m_process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~CRemoteBuffer()
    {
        if (m_address)
            ::VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE);
    }
    CRemoteBuffer(const CRemoteBuffer&) = delete;
    CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;

    explicit operator bool() const { return m_address != nullptr; }
    // The address in the control's process of the byte at offset.
    template <class T = void>
    T* At(size_t offset) const
    {
        return reinterpret_cast<T*>(static_cast<char*>(m_address) + offset);
    }
    bool Write(size_t offset, const void* data, size_t size) const
    {
        SIZE_T written = 0;
        return offset + size <= m_size &&
               ::WriteProcessMemory(m_process.Get(), At(offset), data, size, &written) && written == size;
    }
    bool Read(size_t offset, void* data, size_t size) const
    {
        SIZE_T read = 0;
        return offset + size <= m_size && ::ReadProcessMemory(m_process.Get(), At(offset), data, size, &read) &&
               read == size;
    }
    std::wstring ReadText(size_t offset) const
    {
        wchar_t text[kTextLength]{};
        if (!Read(offset, text, sizeof text))
            return std::wstring();
        text[kTextLength - 1] = L'\0';
        return text;
    }

private:
    CHandle m_process;
    void* m_address = nullptr;
    size_t m_size;
};

// A record followed by its text buffer: the layout of every read below.
template <class Record>
constexpr size_t TextOffset()
{
    return (sizeof(Record) + 15) & ~size_t(15);
}

template <class Record>
constexpr size_t RecordAndTextSize()
{
    return TextOffset<Record>() + kTextLength * sizeof(wchar_t);
}

std::wstring TreeItemText(HWND tree, const CRemoteBuffer& buffer, HTREEITEM item)
{
    TVITEMW record{};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = buffer.At<wchar_t>(TextOffset<TVITEMW>());
    record.cchTextMax = kTextLength;
    if (!buffer.Write(0, &record, sizeof record) ||
        !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.At<TVITEMW>(0))))
        return std::wstring();
    return buffer.ReadText(TextOffset<TVITEMW>());
}

// The text that the get message writes for each index below the count message's
// answer, given the record as prepared; its text buffer follows it.
template <class Record>
std::vector<std::wstring> RemoteItemTexts(HWND control, UINT countMessage, UINT getMessage, Record record)
{
    std::vector<std::wstring> texts;
    const CRemoteBuffer buffer(control, RecordAndTextSize<Record>());
    if (!buffer)
        return texts;
    record.pszText = buffer.At<wchar_t>(TextOffset<Record>());
    record.cchTextMax = kTextLength;
    const int count = static_cast<int>(::SendMessageW(control, countMessage, 0, 0));
    for (int index = 0; index < count; ++index) {
        const wchar_t empty = L'\0';
        const bool written =
            buffer.Write(0, &record, sizeof record) && buffer.Write(TextOffset<Record>(), &empty, sizeof empty);
        if (written)
            ::SendMessageW(control, getMessage, index, reinterpret_cast<LPARAM>(buffer.At(0)));
        texts.push_back(written ? buffer.ReadText(TextOffset<Record>()) : std::wstring());
    }
    return texts;
}

struct CTreeItem {
    HTREEITEM item;
    std::wstring text;  // indented by two spaces per level
};

void AddTreeItems(HWND tree, const CRemoteBuffer& buffer, HTREEITEM first, const std::wstring& indent,
                  std::vector<CTreeItem>& items)
{
    for (HTREEITEM item = first; item;
         item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        items.push_back({item, indent + TreeItemText(tree, buffer, item)});
        const auto child =
            reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        AddTreeItems(tree, buffer, child, indent + L"  ", items);
    }
}

std::vector<CTreeItem> TreeItems(HWND tree)
{
    std::vector<CTreeItem> items;
    const CRemoteBuffer buffer(tree, RecordAndTextSize<TVITEMW>());
    if (buffer) {
        const auto root = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        AddTreeItems(tree, buffer, root, L"", items);
    }
    return items;
}

}  // namespace

std::vector<std::wstring> RemoteTreeItems(HWND tree)
{
    std::vector<std::wstring> texts;
    for (const CTreeItem& item : TreeItems(tree))
        texts.push_back(item.text);
    return texts;
}

bool RemoteSelectTreeItem(HWND tree, const std::wstring& text)
{
    for (const CTreeItem& item : TreeItems(tree)) {
        if (item.text.substr(item.text.find_first_not_of(L' ')) == text)
            return ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item.item)) != FALSE;
    }
    return false;
}

std::vector<std::wstring> RemoteListViewColumn(HWND list, int column)
{
    LVITEMW record{};
    record.iSubItem = column;
    return RemoteItemTexts(list, LVM_GETITEMCOUNT, LVM_GETITEMTEXTW, record);
}

bool RemoteSelectListViewRow(HWND list, int row)
{
    const CRemoteBuffer buffer(list, sizeof(LVITEMW));
    LVITEMW record{};
    record.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    record.state = LVIS_SELECTED | LVIS_FOCUSED;
    return buffer && buffer.Write(0, &record, sizeof record) &&
           ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(buffer.At(0)));
}

std::vector<std::wstring> RemoteTabTitles(HWND tabs)
{
    TCITEMW record{};
    record.mask = TCIF_TEXT;
    return RemoteItemTexts(tabs, TCM_GETITEMCOUNT, TCM_GETITEMW, record);
}

std::vector<std::wstring> ListBoxItems(HWND listBox)
{
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
        std::wstring text(length > 0 ? static_cast<size_t>(length) : 0, L'\0');
        if (length > 0)
            ::SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(text);
    }
    return items;
}
