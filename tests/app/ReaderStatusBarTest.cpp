#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "app/frame/ReaderStatusBar.h"
#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/MessageBox.h"
#include "foundation/Settings.h"
#include "framework/ComInitialize.h"
#include "framework/GdiOwners.h"
#include "resources/ResourceIds.h"

namespace {

// The frame's place: records the commands the bar passes on.
class CommandParent : public CWindowObject {
public:
    std::vector<std::pair<UINT, LPARAM>> commands;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_COMMAND) {
            commands.emplace_back(LOWORD(wParam), lParam);
            result = 0;
            return TRUE;
        }
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
};

// Counts the dialog boxes this thread tries to open, and refuses them.
class BoxCounter {
public:
    BoxCounter() : m_hook(::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId())) { s_count = 0; }
    ~BoxCounter() { ::UnhookWindowsHookEx(m_hook); }
    BoxCounter(const BoxCounter&) = delete;
    BoxCounter& operator=(const BoxCounter&) = delete;
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const wchar_t* name = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass;
            const bool box = IS_INTRESOURCE(name) ? LOWORD(reinterpret_cast<ULONG_PTR>(name)) == 32770
                                                  : ::lstrcmpW(name, L"#32770") == 0;
            if (box) {
                ++s_count;
                return 1;
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int s_count = 0;
    HHOOK m_hook;
};

void WriteSettingsFile(const std::string& text)
{
    QelCreateDirectoryTree(QelGetDataFolder().c_str());
    const std::wstring path = QelGetSettingsFileName();
    FILE* file = ::_wfopen(path.c_str(), L"wb");
    ASSERT_TRUE(file);
    ::fwrite(text.data(), 1, text.size(), file);
    ::fclose(file);
}

std::wstring ButtonText(HWND toolBar, UINT command)
{
    wchar_t text[64]{};
    ::SendMessageW(toolBar, TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text));
    return text;
}

// From the control's own right edges of the parts.
int PaneWidth(const CReaderStatusBar& bar, UINT id)
{
    int edges[8]{};
    bar.SendMessage(SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges));
    const int index = bar.GetPaneIndex(id);
    return index > 0 ? edges[index] - edges[index - 1] : -1;
}

class ReaderStatusBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::DeleteFileW(QelGetSettingsFileName().c_str());
        ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 1000, 300}, L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
        ASSERT_TRUE(bar.Create(parent, RECT{0, 260, 1000, 290}, L"Tessary",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP, 0, 0xE801));
        ASSERT_TRUE(bar.Init());
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        ::DeleteFileW(QelGetSettingsFileName().c_str());
    }
    void Tick() { bar.GetAdLine().SendMessage(WM_TIMER, CQelADCtrl::kTimerId); }

    CComInitialize com;
    CommandParent parent;
    CReaderStatusBar bar;
};

}  // namespace

TEST_F(ReaderStatusBar, LaysItsWindowsIntoPanesOfTheirWidths)
{
    ASSERT_EQ(4, bar.SendMessage(SB_GETPARTS));
    EXPECT_EQ(1, bar.GetPaneIndex(CReaderStatusBar::kSyncPaneId));
    EXPECT_EQ(2, bar.GetPaneIndex(CReaderStatusBar::kAdPaneId));
    EXPECT_EQ(3, bar.GetPaneIndex(CReaderStatusBar::kZoomPaneId));
    EXPECT_EQ(200, PaneWidth(bar, CReaderStatusBar::kSyncPaneId));
    EXPECT_EQ(400, PaneWidth(bar, CReaderStatusBar::kAdPaneId));
    RECT button{};
    ASSERT_TRUE(::SendMessageW(bar.GetZoomToolBar(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.right - button.left + 6, PaneWidth(bar, CReaderStatusBar::kZoomPaneId));

    // Each window inside its pane; the sync pane waits hidden for a run.
    for (const auto& [id, window] : {std::pair<UINT, HWND>{CReaderStatusBar::kSyncPaneId, bar.GetSyncPane()},
                                     {CReaderStatusBar::kAdPaneId, bar.GetAdLine()},
                                     {CReaderStatusBar::kZoomPaneId, bar.GetZoomToolBar()}}) {
        RECT pane{};
        bar.GetPaneRect(id, pane);
        const RECT placed = CWindowRef(window).GetRectInParent();
        EXPECT_TRUE(placed.left >= pane.left && placed.right <= pane.right && placed.right > placed.left) << id;
    }
    wchar_t className[32]{};
    ::GetClassNameW(bar.GetAdLine(), className, 32);
    EXPECT_STREQ(L"Qel_AD", className);
    EXPECT_FALSE(bar.GetSyncPane().IsWindowVisible());
    EXPECT_EQ(L"Zoom", ButtonText(bar.GetZoomToolBar(), ID_ZOOM));
}

TEST_F(ReaderStatusBar, TheSyncPaneGoesASecondAfterTheEndUnlessANewRunBegins)
{
    CReaderStatusBarSyncPane& pane = bar.GetSyncPane();
    bar.OnSyncBegin();
    EXPECT_TRUE(pane.IsWindowVisible());
    EXPECT_TRUE(pane.IsDetailsVisible());
    bar.SetSyncProgress(40);
    EXPECT_EQ(40, pane.GetProgress());

    // "Details" reaches the frame as command 5000.
    const HWND details = pane.GetDlgItem(CReaderStatusBarSyncPane::kDetailsId);
    ASSERT_TRUE(details);
    ::SendMessageW(details, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ::SendMessageW(details, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ((std::pair<UINT, LPARAM>{CReaderStatusBarSyncPane::kDetailsId, 0}), parent.commands[0]);

    // The end hides the link at once and leaves the pane for a second.
    bar.OnSyncEnd();
    EXPECT_TRUE(pane.IsWindowVisible());
    EXPECT_FALSE(pane.IsDetailsVisible());
    EXPECT_EQ(40, pane.GetProgress());
    // A new run within that second cancels the hide.
    bar.OnSyncBegin();
    EXPECT_FALSE(::KillTimer(bar, CReaderStatusBar::kHideSyncTimerId));
    EXPECT_TRUE(pane.IsDetailsVisible());

    bar.OnSyncEnd();
    EXPECT_TRUE(::KillTimer(bar, CReaderStatusBar::kHideSyncTimerId));  // pending, taken here and sent below
    bar.SendMessage(WM_TIMER, CReaderStatusBar::kHideSyncTimerId);
    EXPECT_FALSE(pane.IsWindowVisible());
}

TEST_F(ReaderStatusBar, TheZoomButtonShowsThePercentAndPassesItsClick)
{
    const HWND zoom = bar.GetZoomToolBar();
    bar.SetZoomText(125);
    EXPECT_EQ(L"125%", ButtonText(zoom, ID_ZOOM));
    bar.EnableZoom(FALSE);
    EXPECT_FALSE(::SendMessageW(zoom, TB_ISBUTTONENABLED, ID_ZOOM, 0));
    bar.EnableZoom(TRUE);
    EXPECT_TRUE(::SendMessageW(zoom, TB_ISBUTTONENABLED, ID_ZOOM, 0));

    bar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_ZOOM, BN_CLICKED), reinterpret_cast<LPARAM>(zoom));
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ((std::pair<UINT, LPARAM>{ID_ZOOM, 0}), parent.commands[0]);
}

TEST_F(ReaderStatusBar, EachTickShowsOneWebAdvertisementOfTheStoredList)
{
    WriteSettingsFile("<Tessary><Ads>"
                      "<Ad Title=\"Read\" URL=\"http://read.test/\"/>"
                      "<Ad Title=\"Run\" URL=\"file:///C:/windows/notepad.exe\"/>"
                      "<Ad Title=\"Program\" URL=\"C:\\windows\\notepad.exe\"/>"
                      "<Ad Title=\"Mail\" URL=\"mailto:ann@example.com\"/>"
                      "<Ad Title=\"Safe\" URL=\"HTTPS://safe.test/\"/>"
                      "</Ads></Tessary>");
    CReaderADCtrl& line = bar.GetAdLine();
    EXPECT_EQ(L"", line.GetWindowText());  // nothing before the first tick
    Tick();
    ASSERT_EQ(2u, line.GetAds().size());
    EXPECT_EQ(L"http://read.test/", line.GetAds()[0].url);
    EXPECT_EQ(L"HTTPS://safe.test/", line.GetAds()[1].url);
    for (int tick = 0; tick < 3; ++tick) {
        Tick();
        const std::wstring expected = line.GetWindowText() == L"Read" ? L"http://read.test/" : L"HTTPS://safe.test/";
        EXPECT_EQ(expected, line.GetTarget());
    }

    // The list read stays for the control's life.
    WriteSettingsFile("<Tessary><Ads><Ad Title=\"New\" URL=\"http://new.test/\"/></Ads></Tessary>");
    Tick();
    EXPECT_EQ(2u, line.GetAds().size());
}

TEST_F(ReaderStatusBar, ACorruptSettingsFileGivesNoBoxAndIsReadAgainOnTheNextTick)
{
    WriteSettingsFile("<Tessary><Ads><Ad Title=\"Cut");
    QelEnableMessageBoxes(TRUE);
    {
        BoxCounter boxes;
        // Owned by our own window: the foreground one may belong to another test and vanish.
        QelMessageBox(L"probe", MB_OK, parent);
        ASSERT_EQ(1, boxes.Count());  // the counter sees boxes
        Tick();
        Tick();
        EXPECT_EQ(1, boxes.Count());
    }
    QelEnableMessageBoxes(FALSE);
    EXPECT_EQ(L"", bar.GetAdLine().GetWindowText());

    WriteSettingsFile("<Tessary><Ads><Ad Title=\"Read\" URL=\"http://read.test/\"/></Ads></Tessary>");
    Tick();
    EXPECT_EQ(L"Read", bar.GetAdLine().GetWindowText());
}
