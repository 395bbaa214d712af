#pragma once
// The search area above the document list: the search box, the "Options" button (shown
// while there is text) and the sort and order buttons. Typing searches once the text has
// rested for more than a second (checked by timer 101 every 100 ms), Enter at once; the
// search itself is the pane's, asked with WM_QEL_SEARCH. The buttons' commands go to the
// pane with this window as their lParam.
#include <windows.h>

#include <functional>
#include <string>

#include "app/frame/FilledPane.h"
#include "controls/FlatButton.h"
#include "controls/IconEdit.h"
#include "framework/WindowObject.h"

// Sent to the pane: lay the search area and the list out again.
constexpr UINT WM_QEL_UPDATELAYOUT = WM_USER + 1010;

class CDocumentAdvancedPane : public CFilledPane {
public:
    static constexpr int kOptionsButtonId = 2000;
    static constexpr int kSortButtonId = 2001;
    static constexpr int kOrderButtonId = 2002;
    static constexpr UINT_PTR kSearchTimer = 101;

    // The clock of the delayed search; tests give their own.
    void SetTickSource(std::function<DWORD()> ticks) { m_ticks = std::move(ticks); }

    // The box's text; blanks alone are no search.
    std::wstring GetSearchText() const;
    // A text typed in by the program, searched after the same delay.
    void SetSearchText(const std::wstring& text);
    // Empties the box without starting a search.
    void ResetSearch();
    BOOL HasSearchText() const { return !GetSearchText().empty(); }

    CQelVistaIconEdit& GetSearchBox() { return m_searchBox; }
    CWindowRef GetOptionsButton() const { return m_optionsButton; }
    CQelVistaFlatButton& GetSortButton() { return m_sortButton; }
    CQelVistaFlatButton& GetOrderButton() { return m_orderButton; }
    void SetControlsFont(HFONT font);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;

private:
    void OnCreate();
    void Layout();
    void OnSearchTextChanged();
    void OnSearchTimer();
    void SendSearch();

    CWindowRef m_optionsButton;
    CQelVistaIconEdit m_searchBox;
    std::wstring m_lastText;
    BOOL m_searchPending = FALSE;
    DWORD m_lastEdit = 0;
    CQelVistaFlatButton m_sortButton;
    CQelVistaFlatButton m_orderButton;
    std::function<DWORD()> m_ticks = ::GetTickCount;
};
