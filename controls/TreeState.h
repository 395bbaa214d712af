#pragma once
// What a user did to a tree (expanded items, the selection, the scroll position), kept by
// a text path per item that the tree supplies through GetItemPath, so that it survives a
// refill of the tree (in memory) or a restart (in a settings section):
//
//   { CQelTreeCtrlStateSettings<CFolderTree> store(file, L"Tessary", L"FolderTreeCtrlState", FALSE);
//     tree.SaveState(store); }   // the section is written afresh when the store goes
//
// T is the tree window class; it derives from CQelTreeCtrlWithState<T>.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Settings.h"

// The next item of a depth-first walk over every item, expanded or not; nullptr after the last.
HTREEITEM QelTreeNextItem(HWND tree, HTREEITEM item);
// Moves the scroll bars and scrolls the tree's contents with them.
void QelTreeScrollTo(HWND tree, POINT position);
// The settings value name of an item path: "_" and the path's MD5 word hex, "_" for an empty path.
std::wstring QelTreeStateValueName(const std::wstring& path);
// Writes "Failed to get section: %1" to the log.
void QelTreeLogSectionFailure(const wchar_t* section);

template <class T>
class CQelTreeCtrlStateBase {
public:
    virtual ~CQelTreeCtrlStateBase() = default;
    virtual void SetScrollPos(int x, int y) = 0;
    // path is the item's GetItemPath.
    virtual void SetItemState(const std::wstring& path, BOOL expanded, BOOL selected) = 0;
    virtual POINT GetScrollPos() = 0;
    // Both FALSE for an item the store knows nothing of.
    virtual void GetItemState(const std::wstring& path, BOOL& expanded, BOOL& selected) = 0;
    virtual BOOL HasState() = 0;
};

template <class T>
class CQelTreeCtrlWithState {
public:
    // The text key of an item's state; empty here, so trees that keep state override it.
    virtual std::wstring GetItemPath(HTREEITEM) { return std::wstring(); }
    // The same key, given the key of the item's parent (empty for a root item). Saving and
    // restoring hand each item's key down to its children, so a tree whose keys grow from
    // the root overrides this too, and no item walks up to the root for its key.
    virtual std::wstring GetChildItemPath(HTREEITEM item, const std::wstring& /*parentPath*/)
    {
        return GetItemPath(item);
    }

    // Items with children and the selected one, then the scroll position.
    virtual void SaveState(CQelTreeCtrlStateBase<T>& store)
    {
        const HWND window = static_cast<T&>(*this).m_hWnd;
        const auto selected = Send<HTREEITEM>(window, TVM_GETNEXTITEM, TVGN_CARET, 0);
        ForEachItem(window, [&](HTREEITEM item, const std::wstring& path, bool hasChildren) {
            if (item != selected && !hasChildren)
                return;
            const UINT state = static_cast<UINT>(
                ::SendMessageW(window, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
            store.SetItemState(path, (state & TVIS_EXPANDED) == TVIS_EXPANDED, item == selected);
        });
        store.SetScrollPos(::GetScrollPos(window, SB_HORZ), ::GetScrollPos(window, SB_VERT));
    }

    virtual void RestoreState(CQelTreeCtrlStateBase<T>& store)
    {
        if (!store.HasState())
            return;
        const HWND window = static_cast<T&>(*this).m_hWnd;
        ForEachItem(window, [&](HTREEITEM item, const std::wstring& path, bool hasChildren) {
            BOOL expanded = FALSE;
            BOOL selected = FALSE;
            store.GetItemState(path, expanded, selected);
            if (hasChildren)
                ::SendMessageW(window, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE,
                               reinterpret_cast<LPARAM>(item));
            if (selected)
                ::SendMessageW(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        });
        QelTreeScrollTo(window, store.GetScrollPos());
    }

protected:
    ~CQelTreeCtrlWithState() = default;

private:
    template <class R>
    static R Send(HWND window, UINT message, WPARAM wParam, HTREEITEM item)
    {
        return reinterpret_cast<R>(::SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(item)));
    }

    // Every item depth first, expanded or not, with its path; the paths of the item's
    // ancestors are kept on a stack, so each path is made once, from its parent's.
    template <class Visit>
    void ForEachItem(HWND window, Visit visit)
    {
        std::vector<std::wstring> parentPaths{std::wstring()};
        for (HTREEITEM item = Send<HTREEITEM>(window, TVM_GETNEXTITEM, TVGN_ROOT, 0); item;) {
            std::wstring path = GetChildItemPath(item, parentPaths.back());
            const auto child = Send<HTREEITEM>(window, TVM_GETNEXTITEM, TVGN_CHILD, item);
            visit(item, path, child != nullptr);
            if (child) {
                parentPaths.push_back(std::move(path));
                item = child;
                continue;
            }
            // The next sibling of the item or of its nearest ancestor that has one.
            while (item) {
                if (const auto next = Send<HTREEITEM>(window, TVM_GETNEXTITEM, TVGN_NEXT, item)) {
                    item = next;
                    break;
                }
                item = Send<HTREEITEM>(window, TVM_GETNEXTITEM, TVGN_PARENT, item);
                if (item)
                    parentPaths.pop_back();
            }
        }
    }
};

// Paths to expanded flags and the selected path, for one refill.
template <class T>
class CQelTreeCtrlState_Memory : public CQelTreeCtrlStateBase<T> {
public:
    void SetScrollPos(int x, int y) override { m_scroll = POINT{x, y}; }
    void SetItemState(const std::wstring& path, BOOL expanded, BOOL selected) override
    {
        if (selected) {
            m_selected = path;
            m_hasSelection = TRUE;
        }
        m_expanded[path] = expanded;
    }
    POINT GetScrollPos() override { return m_scroll; }
    void GetItemState(const std::wstring& path, BOOL& expanded, BOOL& selected) override
    {
        const auto found = m_expanded.find(path);
        expanded = found != m_expanded.end() ? found->second : FALSE;
        selected = m_hasSelection && path == m_selected;
    }
    BOOL HasState() override { return !m_expanded.empty(); }

private:
    std::map<std::wstring, BOOL> m_expanded;
    std::wstring m_selected;
    BOOL m_hasSelection = FALSE;
    POINT m_scroll{};
};

// One settings section: "X" and "Y" the scroll position, "_" + the MD5 of each item's path
// its flags (32 expanded, 2 selected), in decimal. The file is written when the store goes.
template <class T>
class CQelTreeCtrlStateSettings : public CQelTreeCtrlStateBase<T> {
public:
    // load TRUE reads the section; FALSE empties it, so that a save writes it afresh.
    CQelTreeCtrlStateSettings(const wchar_t* fileName, const wchar_t* rootName, const wchar_t* sectionKey, BOOL load)
        : m_section(sectionKey), m_settings(fileName, rootName)
    {
        if (!load) {
            m_fresh = m_settings.ClearSection(sectionKey);
            return;
        }
        std::vector<std::pair<std::wstring, std::wstring>> values;
        if (!m_settings.GetSectionValues(sectionKey, values)) {
            QelTreeLogSectionFailure(sectionKey);
            return;
        }
        m_values.insert(values.begin(), values.end());
    }

    void SetScrollPos(int x, int y) override
    {
        Write(L"X", x);
        Write(L"Y", y);
    }
    void SetItemState(const std::wstring& path, BOOL expanded, BOOL selected) override
    {
        Write(QelTreeStateValueName(path), (expanded ? kExpanded : 0) | (selected ? kSelected : 0));
    }
    POINT GetScrollPos() override { return POINT{ReadInt(L"X", 0), ReadInt(L"Y", 0)}; }
    void GetItemState(const std::wstring& path, BOOL& expanded, BOOL& selected) override
    {
        const int flags = ReadInt(QelTreeStateValueName(path), 0);
        expanded = (flags & kExpanded) != 0;
        selected = (flags & kSelected) != 0;
    }
    BOOL HasState() override { return !m_values.empty(); }

private:
    static constexpr int kSelected = 2;
    static constexpr int kExpanded = 32;

    int ReadInt(const std::wstring& name, int defaultValue) const
    {
        const auto found = m_values.find(name);
        return found != m_values.end() ? _wtoi(found->second.c_str()) : defaultValue;
    }
    // A section written afresh takes each new name without a search through the names
    // before it, which would make a save quadratic in the items.
    void Write(const std::wstring& name, int value)
    {
        if (m_fresh && m_written.insert(name).second)
            m_settings.AppendValue(m_section.c_str(), name.c_str(), std::to_wstring(value).c_str());
        else
            m_settings.SetInt(m_section.c_str(), name.c_str(), value);
    }

    std::wstring m_section;
    CQelSettings m_settings;
    std::map<std::wstring, std::wstring> m_values;
    BOOL m_fresh = FALSE;
    std::set<std::wstring> m_written;
};
