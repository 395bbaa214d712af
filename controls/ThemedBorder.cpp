#include "controls/ThemedBorder.h"

#include <richedit.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <map>
#include <memory>

#include "framework/GdiOwners.h"

namespace {

// The theme library's entry points the frame needs, loaded with the first frame and
// freed with the last.
struct CBorderThemeApi {
    HMODULE library = nullptr;
    decltype(&::OpenThemeData) openThemeData = nullptr;
    decltype(&::CloseThemeData) closeThemeData = nullptr;
    decltype(&::DrawThemeBackground) drawThemeBackground = nullptr;
    decltype(&::GetThemeBackgroundContentRect) getThemeBackgroundContentRect = nullptr;
    decltype(&::IsThemeActive) isThemeActive = nullptr;
    decltype(&::DrawThemeParentBackground) drawThemeParentBackground = nullptr;
    decltype(&::IsThemeBackgroundPartiallyTransparent) isThemeBackgroundPartiallyTransparent = nullptr;
};

CBorderThemeApi& ThemeApi()
{
    static CBorderThemeApi api;
    return api;
}

template <class Function>
bool Resolve(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return function != nullptr;
}

void UnloadBorderThemeApi()
{
    if (ThemeApi().library)
        ::FreeLibrary(ThemeApi().library);
    ThemeApi() = CBorderThemeApi{};
}

bool QelLoadBorderThemeApi()
{
    CBorderThemeApi& api = ThemeApi();
    if (api.openThemeData && api.closeThemeData && api.drawThemeBackground && api.getThemeBackgroundContentRect &&
        api.isThemeActive && api.drawThemeParentBackground && api.isThemeBackgroundPartiallyTransparent)
        return true;
    if (!api.library)
        api.library = ::LoadLibraryW(L"UxTheme.dll");
    if (!api.library)
        return false;
    const bool all = Resolve(api.library, "OpenThemeData", api.openThemeData) &
                     Resolve(api.library, "CloseThemeData", api.closeThemeData) &
                     Resolve(api.library, "DrawThemeBackground", api.drawThemeBackground) &
                     Resolve(api.library, "GetThemeBackgroundContentRect", api.getThemeBackgroundContentRect) &
                     Resolve(api.library, "IsThemeActive", api.isThemeActive) &
                     Resolve(api.library, "DrawThemeParentBackground", api.drawThemeParentBackground) &
                     Resolve(api.library, "IsThemeBackgroundPartiallyTransparent",
                             api.isThemeBackgroundPartiallyTransparent);
    return all;
}

// The "edit" theme of a window, closed when it goes.
class CEditTheme {
public:
    explicit CEditTheme(HWND window) : m_theme(ThemeApi().openThemeData(window, L"edit")) {}
    CEditTheme(const CEditTheme&) = delete;
    CEditTheme& operator=(const CEditTheme&) = delete;
    ~CEditTheme()
    {
        if (m_theme)
            ThemeApi().closeThemeData(m_theme);
    }
    operator HTHEME() const { return m_theme; }  // NOLINT

private:
    HTHEME m_theme;
};

LRESULT CALLBACK QelThemedBorderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CQelThemedBorder {
public:
    explicit CQelThemedBorder(HWND window) : m_window(window) {}
    CQelThemedBorder(const CQelThemedBorder&) = delete;
    CQelThemedBorder& operator=(const CQelThemedBorder&) = delete;

    void Hook()
    {
        m_previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QelThemedBorderWindowProc)));
        UpdateStyle();
    }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The window has been let go, or is gone: the object may leave the map, and the
    // theme library may be gone with the last one.
    bool Finished() const { return m_finished; }

private:
    LRESULT Previous(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return ::CallWindowProcW(m_previous, m_window, message, wParam, lParam);
    }
    void Redraw() const
    {
        ::RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
    // Themed, and the window not destroyed while a message was being handled.
    bool Framed() const { return m_themed && !m_finished; }
    void UpdateStyle();
    bool AdjustClientRect(RECT& rect);
    bool DrawFrame();

    HWND m_window;
    WNDPROC m_previous = nullptr;
    bool m_themed = false;
    RECT m_margins{};
    bool m_passOnly = false;  // unhooked from the theme, waiting for WM_NCDESTROY
    bool m_finished = false;
};

std::map<HWND, std::shared_ptr<CQelThemedBorder>>& Borders()
{
    static std::map<HWND, std::shared_ptr<CQelThemedBorder>> borders;
    return borders;
}

void CQelThemedBorder::UpdateStyle()
{
    if (m_finished)
        return;
    const bool wasThemed = m_themed;
    m_themed = false;
    const LONG_PTR style = ::GetWindowLongPtrW(m_window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_window, GWL_EXSTYLE);
    if ((wasThemed || (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE)) && ThemeApi().isThemeActive()) {
        // Set first: the style changes below come back here as WM_STYLECHANGED.
        m_themed = true;
        if (style & WS_BORDER)
            ::SetWindowLongPtrW(m_window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
        const LONG_PTR currentEx = ::GetWindowLongPtrW(m_window, GWL_EXSTYLE);
        if (currentEx & WS_EX_CLIENTEDGE)
            ::SetWindowLongPtrW(m_window, GWL_EXSTYLE, currentEx & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    }
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Redraw();
}

bool CQelThemedBorder::AdjustClientRect(RECT& rect)
{
    if (!Framed())
        return false;
    const CEditTheme theme(m_window);
    if (!theme)
        return false;
    const HWND parent = ::GetParent(m_window);
    const CWindowDc dc(parent);
    RECT content{};
    if (FAILED(ThemeApi().getThemeBackgroundContentRect(theme, dc, EP_EDITTEXT, ETS_NORMAL, &rect, &content)))
        return false;
    ::InflateRect(&content, -1, -1);
    m_margins = RECT{content.left - rect.left, content.top - rect.top, rect.right - content.right,
                     rect.bottom - content.bottom};
    rect = content;
    return true;
}

bool CQelThemedBorder::DrawFrame()
{
    if (!Framed())
        return false;
    const CEditTheme theme(m_window);
    if (!theme)
        return false;
    const CWindowDc dc(m_window, true);
    RECT frame{};
    ::GetWindowRect(m_window, &frame);
    ::OffsetRect(&frame, -frame.left, -frame.top);
    ::ExcludeClipRect(dc, frame.left + m_margins.left, frame.top + m_margins.top, frame.right - m_margins.right,
                      frame.bottom - m_margins.bottom);
    if (ThemeApi().isThemeBackgroundPartiallyTransparent(theme, EP_EDITTEXT, ETS_NORMAL))
        ThemeApi().drawThemeParentBackground(m_window, dc, &frame);
    int state = ETS_NORMAL;
    if (!::IsWindowEnabled(m_window))
        state = ETS_DISABLED;
    else if (::SendMessageW(m_window, EM_GETOPTIONS, 0, 0) & ECO_READONLY)
        state = ETS_READONLY;
    ThemeApi().drawThemeBackground(theme, dc, EP_EDITTEXT, state, &frame, nullptr);
    return true;
}

LRESULT CQelThemedBorder::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_passOnly) {
        m_finished = message == WM_NCDESTROY;
        return Previous(message, wParam, lParam);
    }
    switch (message) {
    case WM_THEMECHANGED:
    case WM_STYLECHANGED:
        UpdateStyle();
        return Previous(message, wParam, lParam);
    case WM_NCPAINT: {
        const LRESULT result = Previous(message, wParam, lParam);
        return DrawFrame() ? 0 : result;
    }
    case WM_ENABLE:
        Redraw();
        return Previous(message, wParam, lParam);
    case WM_NCCALCSIZE: {
        const LRESULT result = Previous(message, wParam, lParam);
        if (wParam && AdjustClientRect(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]))
            return WVR_REDRAW;
        return result;
    }
    case WM_DESTROY:
        // A later subclass may still sit on top: then everything, WM_NCDESTROY too,
        // must still reach the previous procedure through this one.
        if (::GetWindowLongPtrW(m_window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(QelThemedBorderWindowProc)) {
            ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
            m_finished = true;
        } else {
            m_passOnly = true;
        }
        return Previous(message, wParam, lParam);
    case WM_NCDESTROY:
        m_finished = true;
        return Previous(message, wParam, lParam);
    default:
        return Previous(message, wParam, lParam);
    }
}

LRESULT CALLBACK QelThemedBorderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& borders = Borders();
    const auto found = borders.find(window);
    if (found == borders.end())
        return ::DefWindowProcW(window, message, wParam, lParam);
    // Held over the handling: the window may be destroyed inside it, which ends the
    // object in the map. Looked up again after, for the same reason.
    const std::shared_ptr<CQelThemedBorder> border = found->second;
    const LRESULT result = border->Handle(message, wParam, lParam);
    const auto still = borders.find(window);
    if (border->Finished() && still != borders.end() && still->second == border) {
        borders.erase(still);
        if (borders.empty())
            UnloadBorderThemeApi();
    }
    return result;
}

}  // namespace

bool QelAttachThemedBorder(HWND window)
{
    if (!::IsWindow(window) || Borders().count(window))
        return false;
    if (!QelLoadBorderThemeApi()) {
        if (Borders().empty())
            UnloadBorderThemeApi();
        return false;
    }
    auto& border = Borders()[window];
    border = std::make_shared<CQelThemedBorder>(window);
    border->Hook();
    return true;
}
