#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "FrameFixture.h"
#include "resources/ResourceIds.h"

namespace {

// Counts the drop-down menus' commands instead of opening their dialogs.
class CCountingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    int newAccount = 0;
    int about = 0;

protected:
    void OnNewAccount() override { ++newAccount; }
    void OnAbout() override { ++about; }
};

// A frame whose active page can zoom.
class CZoomingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    int zoom = 100;

protected:
    BOOL CanZoomActivePage() override { return TRUE; }
    int GetActivePageZoom() override { return zoom; }
    void SetActivePageZoom(int percent) override { zoom = percent; }
};

// Chooses the first item of each menu that drops down on this thread, after running
// whileShown as the menu shows; or dismisses it, with Esc.
class CMenuChoice {
public:
    explicit CMenuChoice(std::function<void()> whileShown = {}, BOOL dismiss = FALSE)
    {
        s_whileShown = std::move(whileShown);
        s_dismiss = dismiss;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~CMenuChoice()
    {
        ::UnhookWindowsHookEx(m_hook);
        s_whileShown = nullptr;
    }
    CMenuChoice(const CMenuChoice&) = delete;
    CMenuChoice& operator=(const CMenuChoice&) = delete;

    // The last pop-up menu that dropped down.
    static inline HMENU shown = nullptr;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            shown = reinterpret_cast<HMENU>(message->wParam);
            if (s_whileShown)
                s_whileShown();
            if (s_dismiss) {
                ::PostMessageW(message->hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
            } else {
                ::PostMessageW(message->hwnd, WM_KEYDOWN, VK_DOWN, 0);
                ::PostMessageW(message->hwnd, WM_KEYDOWN, VK_RETURN, 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::function<void()> s_whileShown;
    static inline BOOL s_dismiss = FALSE;
    HHOOK m_hook = nullptr;
};

void ClickButton(HWND toolBar, UINT command)
{
    RECT button{};
    const auto index = ::SendMessageW(toolBar, TB_COMMANDTOINDEX, command, 0);
    ASSERT_TRUE(::SendMessageW(toolBar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
    const LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(toolBar, WM_LBUTTONUP, 0, point);
}

TESSARYDOCUMENTDATA Document(const wchar_t* guid, __int64 created)
{
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = L"aaaaaaaa-0000-0000-0000-000000000001";
    document.documentGuid = guid;
    document.title = guid;
    document.created = document.modified = created;
    return document;
}

// A point on a row's title in the list's client area; the cursor goes there, where a
// right click's menu opens.
LPARAM RowPoint(HWND list, int item)
{
    RECT row{};
    row.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&row));
    POINT at{row.left + 30, (row.top + row.bottom) / 2};
    const LPARAM inList = MAKELPARAM(at.x, at.y);
    ::ClientToScreen(list, &at);
    ::SetCursorPos(at.x, at.y);
    return inList;
}

}  // namespace

using MainFrameInteractive = FrameFixtureT<CCountingFrame>;
using MainFrameZoomInteractive = FrameFixtureT<CZoomingFrame>;

TEST_F(MainFrameInteractive, TheToolBarsButtonsAndMenusReachTheFrame)
{
    ::SetForegroundWindow(*frame);
    ClickButton(frame->m_toolBar, ID_FULL_SCREEN);
    EXPECT_TRUE(frame->IsFullScreen());

    const CMenuChoice choice;
    ClickButton(frame->m_toolBar, ID_TOOLS);
    DrainQuit();
    EXPECT_EQ(1, frame->newAccount);
    ClickButton(frame->m_toolBar, ID_HELP);
    DrainQuit();
    EXPECT_EQ(1, frame->about);
}

TEST_F(MainFrameZoomInteractive, TheZoomDropDownsCommandReachesTheFrameAndItsMenuIsFreed)
{
    ::SetForegroundWindow(*frame);
    const CMenuChoice choice;
    CMenuChoice::shown = nullptr;
    const auto* bar = dynamic_cast<CReaderStatusBar*>(CWindowObject::FromHandle(frame->m_statusBar));
    ASSERT_TRUE(bar);
    const HWND zoom = bar->GetZoomToolBar();
    NMTOOLBARW dropDown{};
    dropDown.hdr = NMHDR{zoom, static_cast<UINT_PTR>(::GetDlgCtrlID(zoom)), static_cast<UINT>(TBN_DROPDOWN)};
    dropDown.iItem = ID_ZOOM;
    ::SendMessageW(zoom, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&dropDown.rcButton));
    ::SendMessageW(*bar, WM_NOTIFY, dropDown.hdr.idFrom, reinterpret_cast<LPARAM>(&dropDown));
    DrainQuit();
    EXPECT_EQ(110, frame->zoom);  // "Zoom In", the first item
    ASSERT_TRUE(CMenuChoice::shown);
    EXPECT_FALSE(::IsMenu(CMenuChoice::shown));
}

TEST_F(MainFrameInteractive, OpenInNewTabOnAnUnselectedRowKeepsTheShownTabsDocument)
{
    ::SetForegroundWindow(*frame);
    CTessaryDocumentListCtrl* list = DocumentList();
    ASSERT_TRUE(list);
    list->SetDocuments({Document(L"older", 10), Document(L"newer", 20)}, std::wstring());  // newest first
    ListView_SetItemState(*list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list->SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    CReaderTabView& tabs = frame->GetTabView();
    ASSERT_EQ(1, tabs.GetPageCount());

    // A right click on the other row, its menu dismissed: the row stays selected and
    // unshown, and a left click on it opens it.
    LPARAM inList = RowPoint(*list, 1);
    {
        const CMenuChoice dismiss({}, TRUE);
        ::PostMessageW(*list, WM_RBUTTONUP, 0, inList);
        list->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, inList);
        DrainQuit();
    }
    list->SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    EXPECT_EQ(L"Tessary - newer", frame->GetWindowText());
    ::PostMessageW(*list, WM_LBUTTONUP, 0, inList);
    list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inList);
    DrainQuit();
    list->SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    EXPECT_EQ(L"Tessary - older", frame->GetWindowText());
    ASSERT_EQ(1, tabs.GetPageCount());

    // A right click on the first row, now neither selected nor shown, whose selection timer
    // ticks while the menu shows.
    inList = RowPoint(*list, 0);
    const CMenuChoice choice([list] { list->SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer); });
    ::PostMessageW(*list, WM_RBUTTONUP, 0, inList);
    list->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, inList);
    DrainQuit();

    ASSERT_EQ(2, tabs.GetPageCount());
    EXPECT_EQ(L"older", tabs.GetPageTitle(0));
    EXPECT_EQ(L"newer", tabs.GetPageTitle(1));
}
