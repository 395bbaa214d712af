#pragma once
// The kit's two-pane splitter, window class "Qel_SplitterWindow": the framework's
// splitter with a soft white-to-grey bar, keeping its position as "SplitterPos" in a
// settings section the owner names. TSettings is opened for each read and write
// (CTessarySettings, or CQelEmptySettings to keep nothing):
//
//   CQelVistaSplitterWindowT<true, CTessarySettings> splitter;
//   splitter.Create(frame, rect);
//   splitter.SetSplitterPanes(tree, list);
//   splitter.RestoreSplitterPos(L"Reader_CatalogSplitter");  // saved again on WM_DESTROY
#include <windows.h>

#include <string>

#include "framework/SplitterWindow.h"

class CQelVistaSplitterWindow : public CSplitterWindowBase {
public:
    explicit CQelVistaSplitterWindow(bool vertical) : CSplitterWindowBase(vertical), m_upright(vertical) {}

    // Nothing while no section is named or one pane fills the window, so the last
    // two-pane position survives.
    virtual void SaveSplitterPos() = 0;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    // White at both ends and along the far edge, greyest in the middle of the near edge.
    void DrawSplitterBar(HDC dc) override;

    const bool m_upright;  // the bar of a vertical splitter
    std::wstring m_section;
};

template <bool vertical, class TSettings>
class CQelVistaSplitterWindowT : public CQelVistaSplitterWindow {
public:
    CQelVistaSplitterWindowT() : CQelVistaSplitterWindow(vertical) {}

    // Names the section; once the window exists, moves the bar to the stored position.
    void RestoreSplitterPos(const wchar_t* name)
    {
        m_section = name ? name : L"";
        if (m_section.empty() || !IsWindow())
            return;
        TSettings settings;
        SetSplitterPos(settings.GetInt(m_section.c_str(), L"SplitterPos", GetSplitterPos()), TRUE);
    }

    void SaveSplitterPos() override
    {
        if (m_section.empty() || GetSinglePaneMode() != SPLIT_PANE_NONE)
            return;
        TSettings settings;
        settings.SetInt(m_section.c_str(), L"SplitterPos", GetSplitterPos());
    }
};
