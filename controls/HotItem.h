#pragma once
// The item under the mouse in a control whose hot look follows it. Wine repaints no
// hot row of its own, so the control repaints the rows the mouse leaves and enters,
// and asks for WM_MOUSELEAVE (TME_LEAVE) to clear the last one:
//
//   case WM_MOUSEMOVE:  m_hot.MoveTo(m_hWnd, ItemFromPoint(point), [this](int item) { InvalidateItem(item); });
//   case WM_MOUSELEAVE: m_hot.Leave([this](int item) { InvalidateItem(item); });
#include <windows.h>
#include <commctrl.h>

template <class Item>
class CQelHotItem {
public:
    explicit CQelHotItem(Item none) : m_none(none), m_item(none) {}
    Item Get() const { return m_item; }

    template <class Repaint>
    void MoveTo(HWND window, Item item, Repaint repaint)
    {
        if (!m_tracking) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            m_tracking = ::_TrackMouseEvent(&track);
        }
        if (item == m_item)
            return;
        repaint(m_item);
        repaint(item);
        m_item = item;
    }

    // The item is being deleted: its handle may come back for a new item, which is not hot.
    void Forget(Item item)
    {
        if (item == m_item)
            m_item = m_none;
    }

    template <class Repaint>
    void Leave(Repaint repaint)
    {
        m_tracking = FALSE;
        repaint(m_item);
        m_item = m_none;
    }

private:
    Item m_none;
    Item m_item;
    BOOL m_tracking = FALSE;
};
