#include "foundation/Settings.h"
#include "foundation/WindowState.h"

#include "ComTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

static bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

// A top-level window whose own close handling chains the placement hook.
class CPlacedWindow : public CQelWindowState<CPlacedWindow, CTessarySettings> {
public:
    HWND m_hWnd = nullptr;
    bool ownCloseRan = false;

    explicit CPlacedWindow(const wchar_t* section, const RECT& at = RECT{50, 60, 450, 360})
        : CQelWindowState(section)
    {
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TessaryPlacedWindowTest";
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            return ::RegisterClassW(&wc);
        }();
        (void)windowClass;
        ::CreateWindowExW(0, L"TessaryPlacedWindowTest", L"placement", WS_OVERLAPPEDWINDOW, at.left, at.top,
                          at.right - at.left, at.bottom - at.top, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                          this);
    }
    ~CPlacedWindow()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }
    CPlacedWindow(const CPlacedWindow&) = delete;
    CPlacedWindow& operator=(const CPlacedWindow&) = delete;

    // Closing as the user would: the window ends.
    void Close() { ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0); }

    RECT Rect() const
    {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<CPlacedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->m_hWnd = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<CPlacedWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        LRESULT result = 0;
        if (self && self->ProcessWindowMessage(window, message, wParam, lParam, result))
            return result;
        if (self && message == WM_CLOSE)
            self->ownCloseRan = true;
        if (self && message == WM_NCDESTROY)
            self->m_hWnd = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

RECT Saved(const wchar_t* section)
{
    CTessarySettings settings;
    return RECT{settings.GetInt(section, L"Left", -1), settings.GetInt(section, L"Top", -1),
                settings.GetInt(section, L"Right", -1), settings.GetInt(section, L"Bottom", -1)};
}

std::wstring SavedText(const wchar_t* section, const wchar_t* key)
{
    CTessarySettings settings;
    return settings.GetString(section, key, L"(none)");
}

void Save(const wchar_t* section, const RECT& rect, BOOL maximized)
{
    CTessarySettings settings;
    settings.SetBool(section, L"Maximized", maximized);
    settings.SetInt(section, L"Left", rect.left);
    settings.SetInt(section, L"Top", rect.top);
    settings.SetInt(section, L"Right", rect.right);
    settings.SetInt(section, L"Bottom", rect.bottom);
}

// The settings file is read and written through the XML services of COM.
class WindowState : public ComTest {
};

std::string FileBytes()
{
    std::ifstream file(QelGetSettingsFileName().c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST_F(WindowState, PlacementOutlivesTheWindow)
{
    const RECT moved{120, 130, 520, 430};
    {
        CPlacedWindow first(L"MainFrame_State");
        ASSERT_TRUE(first.m_hWnd);
        first.RestoreState(TRUE);
        ::MoveWindow(first.m_hWnd, moved.left, moved.top, 400, 300, TRUE);
        first.Close();
        EXPECT_TRUE(first.ownCloseRan) << "the window's own close handling still runs";
        EXPECT_EQ(nullptr, first.m_hWnd);
    }
    EXPECT_EQ(moved, Saved(L"MainFrame_State"));
    EXPECT_EQ(L"0", SavedText(L"MainFrame_State", L"Maximized"));

    CPlacedWindow second(L"MainFrame_State", RECT{0, 0, 200, 200});
    second.RestoreState(TRUE);
    EXPECT_EQ(moved, second.Rect());
    EXPECT_TRUE(::IsWindowVisible(second.m_hWnd));
    EXPECT_FALSE(::IsZoomed(second.m_hWnd));
}

TEST_F(WindowState, UnusableRectanglesGiveTheDefaultPlacement)
{
    const RECT created{50, 60, 450, 360};
    {
        CPlacedWindow nothingSaved(L"SyncDlg", created);
        nothingSaved.RestoreState(TRUE);
        EXPECT_TRUE(::IsWindowVisible(nothingSaved.m_hWnd));
        EXPECT_EQ(created, nothingSaved.Rect());
    }
    Save(L"SyncDlg", RECT{100, 100, 105, 400}, FALSE);
    {
        CPlacedWindow narrow(L"SyncDlg", created);
        narrow.RestoreState(TRUE);
        EXPECT_TRUE(::IsWindowVisible(narrow.m_hWnd));
        EXPECT_EQ(created, narrow.Rect()) << "a window 5 pixels wide is not restored";
    }
    Save(L"SyncDlg", RECT{-9000, -9000, -8600, -8700}, FALSE);
    {
        CPlacedWindow offScreen(L"SyncDlg", created);
        offScreen.RestoreState(TRUE);
        EXPECT_TRUE(::IsWindowVisible(offScreen.m_hWnd));
        EXPECT_EQ(created, offScreen.Rect()) << "a rectangle on no monitor is not restored";
    }
}

TEST_F(WindowState, MaximizedKeepsTheLastNormalRectangle)
{
    const RECT normal{200, 150, 700, 550};
    Save(L"MainFrame_State", normal, FALSE);
    {
        CPlacedWindow window(L"MainFrame_State");
        window.RestoreState(TRUE);
        ::ShowWindow(window.m_hWnd, SW_MAXIMIZE);
        ASSERT_TRUE(::IsZoomed(window.m_hWnd));
        window.Close();
    }
    EXPECT_EQ(L"1", SavedText(L"MainFrame_State", L"Maximized"));
    EXPECT_EQ(normal, Saved(L"MainFrame_State"));

    const RECT later{300, 200, 800, 600};
    {
        CPlacedWindow window(L"MainFrame_State");
        window.RestoreState(TRUE);
        EXPECT_TRUE(::IsZoomed(window.m_hWnd));
        ::ShowWindow(window.m_hWnd, SW_RESTORE);
        ::MoveWindow(window.m_hWnd, later.left, later.top, 500, 400, TRUE);
        window.Close();
    }
    EXPECT_EQ(L"0", SavedText(L"MainFrame_State", L"Maximized"));
    EXPECT_EQ(later, Saved(L"MainFrame_State"));
}

TEST_F(WindowState, ClosingMinimizedChangesNothing)
{
    Save(L"MainFrame_State", RECT{200, 150, 700, 550}, FALSE);
    const std::string before = FileBytes();
    ASSERT_FALSE(before.empty());
    CPlacedWindow window(L"MainFrame_State");
    window.RestoreState(TRUE);
    ::ShowWindow(window.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(window.m_hWnd));
    window.Close();
    EXPECT_EQ(before, FileBytes());
}

TEST_F(WindowState, RestoreWithoutShowingOnlyMoves)
{
    const RECT normal{200, 150, 700, 550};
    Save(L"MainFrame_State", normal, FALSE);
    {
        CPlacedWindow window(L"MainFrame_State");
        window.RestoreState(FALSE);
        EXPECT_FALSE(::IsWindowVisible(window.m_hWnd));
        EXPECT_EQ(normal, window.Rect());
    }
    Save(L"MainFrame_State", normal, TRUE);
    {
        const RECT created{50, 60, 450, 360};
        CPlacedWindow window(L"MainFrame_State", created);
        window.RestoreState(FALSE);
        EXPECT_FALSE(::IsWindowVisible(window.m_hWnd));
        EXPECT_FALSE(::IsZoomed(window.m_hWnd));
        EXPECT_EQ(created, window.Rect());
    }
}

TEST_F(WindowState, WithoutASectionNothingIsReadOrWritten)
{
    Save(L"MainFrame_State", RECT{200, 150, 700, 550}, FALSE);
    const std::string before = FileBytes();
    const RECT created{50, 60, 450, 360};
    CPlacedWindow window(L"", created);
    window.RestoreState(TRUE);
    EXPECT_FALSE(::IsWindowVisible(window.m_hWnd));
    EXPECT_EQ(created, window.Rect());
    window.Close();
    EXPECT_TRUE(window.ownCloseRan);
    EXPECT_EQ(before, FileBytes());
}

} // namespace
