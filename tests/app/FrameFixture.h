#pragma once
// A main frame on a one-account data folder, with a sync dialog the test drives, and
// the windows of its tree found as a user's tools would find them.
#include <memory>

#include "AccountFixture.h"
#include "app/frame/MainFrame.h"
#include "framework/SplitterWindow.h"

class CFakeSyncDlg : public ISyncDlg {
public:
    BOOL syncing = FALSE;
    int shown = 0;
    ISyncDlgEvents* events = nullptr;

    BOOL created = FALSE;

    BOOL CreateDialogWindow() override { return created = TRUE; }
    BOOL IsDialogWindow() const override { return created; }
    void DestroyDialogWindow() override {}
    void SetEvents(ISyncDlgEvents* sink) override { events = sink; }
    BOOL IsSyncing() const override { return syncing; }
    BOOL StartSync() override { return FALSE; }
    void ShowAndActivate() override { ++shown; }
};

template <class Frame = CMainFrame>
class FrameFixtureT : public AccountFixture {
protected:
    void SetUp() override
    {
        AccountFixture::SetUp();
        ASSERT_TRUE(CreateAccount(L"ann", L"secret"));
        OpenFrame();
    }
    void TearDown() override
    {
        if (frame && frame->IsWindow())
            frame->DestroyWindow();
        frame.reset();
        DrainQuit();
        AccountFixture::TearDown();
    }

    void OpenFrame()
    {
        auto fake = std::make_unique<CFakeSyncDlg>();
        sync = fake.get();
        frame = std::make_unique<Frame>(std::move(fake));
        ASSERT_TRUE(frame->OpenDatabase());
        ASSERT_TRUE(frame->CreateFrame(RECT{20, 20, 920, 720}));
        frame->RestoreLayout();
    }

    // Closes the frame as its close box does, and takes the quit it posts.
    void CloseFrame()
    {
        frame->SendMessage(WM_CLOSE);
        EXPECT_FALSE(frame->IsWindow());
        EXPECT_EQ(1, DrainQuit());
        frame.reset();
    }

    // The quit code waiting in the queue, -2 when none.
    static int DrainQuit()
    {
        MSG message{};
        int code = -2;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                code = static_cast<int>(message.wParam);
            else
                ::DispatchMessageW(&message);
        }
        return code;
    }

    static HWND FindChild(HWND parent, const wchar_t* className)
    {
        return ::FindWindowExW(parent, nullptr, className, nullptr);
    }
    static CSplitterWindowBase* Splitter(HWND window)
    {
        return dynamic_cast<CSplitterWindowBase*>(CWindowObject::FromHandle(window));
    }
    CSplitterWindowBase* CatalogSplitter() const { return Splitter(frame->m_client); }
    // The catalog splitter's children: the chooser splitter holds the chooser.
    CSplitterWindowBase* ChooserSplitter() const { return Splitter(::GetParent(Chooser())); }
    CSplitterWindowBase* DocumentsSplitter() const
    {
        for (HWND child = ::GetWindow(frame->m_client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (child != ChooserSplitter()->m_hWnd)
                return Splitter(child);
        }
        return nullptr;
    }
    CTessaryDocumentListCtrl* DocumentList() const
    {
        const HWND pane = FindChild(*DocumentsSplitter(), L"Tessary_DocumentPane");
        return dynamic_cast<CTessaryDocumentListCtrl*>(CWindowObject::FromHandle(FindChild(pane, L"Qel_ListCtrl")));
    }
    HWND Chooser() const
    {
        for (HWND child = ::GetWindow(frame->m_client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (HWND chooser = FindChild(child, L"Qel_ControlChooser"))
                return chooser;
        }
        return nullptr;
    }
    // Chooses an entry as a click in the chooser does.
    void ChooseEntry(int entry)
    {
        const HWND chooser = Chooser();
        ::SendMessageW(chooser, LB_SETCURSEL, entry, 0);
        ::SendMessageW(::GetParent(chooser), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(chooser), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(chooser));
    }

    std::unique_ptr<Frame> frame;
    CFakeSyncDlg* sync = nullptr;
};

using FrameFixture = FrameFixtureT<>;
