#pragma once
// The main frame's tool bar pane: the kit's tool bar with the frame's text buttons, and at
// its right end a small browser strip that shows the maker's advertisement page. The strip
// stays hidden for the first five seconds, then opens its page once for the rest of the run.
//
//   COskanToolBar bar;
//   bar.Create(frame);
//   bar.AddToolButton(ID_UPDATE, BTNS_BUTTON, TRUE, I_IMAGENONE); ...
//   bar.UpdateButtonSize();
#include <string>

#include "app/views/AtlBrowser.h"
#include "controls/ToolBar.h"

class COskanADBrowser : public CAtlBrowser {
public:
    COskanADBrowser();

    // The top-level pages the strip was asked to open.
    int GetNavigationCount() const { return m_navigations; }
    const std::wstring& GetLastUrl() const { return m_lastUrl; }

protected:
    BOOL OnBeforeNavigate2(IDispatch* frame, const std::wstring& url, DWORD flags, const std::wstring& targetFrame,
                           const std::vector<BYTE>& postData, const std::wstring& headers) override;

private:
    int m_navigations = 0;
    std::wstring m_lastUrl;
};

class COskanToolBar : public CQelVistaToolBarCtrl {
public:
    static constexpr UINT_PTR kAdTimerId = 100;
    static constexpr UINT kAdDelay = 5000;
    static constexpr int kAdWidth = 234;
    static constexpr int kAdHeight = 30;

    BOOL Create(HWND parent);
    // After the buttons are added: as high as the font's text band, at least 31.
    void UpdateButtonSize();
    // The strip 1 pixel below the top and from the right edge, while it shows.
    void PositionAdBrowser();

    const COskanADBrowser& GetAdBrowser() const { return m_adBrowser; }
    // The strip's page: the screen size and this program's name in its query.
    static std::wstring AdUrl();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void ShowAd();

    COskanADBrowser m_adBrowser;
};
