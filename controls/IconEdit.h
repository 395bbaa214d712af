#pragma once
// The kit's search box over an edit control: a thin rounded frame, a grey underlined
// prompt while it is empty and unfocused, and up to three 16 x 16 icons at its right end:
// search while there is nothing to search, clear once text is typed (a click empties the
// box and tells the parent WM_COMMAND/EN_CHANGE with id 0 and the box's handle), history
// at the very right (a click sends WM_QEL_SHOWSEARCHHISTORY). Enter posts WM_QEL_SEARCH.
//
//   box.SetPrompt(L"Search");
//   box.SetSearchIcon(IDI_SEARCH);
//   box.Create(pane, rect, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL);
//
// Give it ES_MULTILINE: only a multi-line edit takes a formatting rectangle, and it sends
// no EN_CHANGE for WM_SETTEXT, so putting the prompt in or out starts no search. The
// prompt is real window text while shown: owners treat a text equal to it as empty. The
// parent must reflect WM_CTLCOLOREDIT (a window of our own class does).
#include <windows.h>

#include <string>

#include "controls/SubclassedControl.h"
#include "framework/GdiOwners.h"

// Sent to the parent with wParam 0 and lParam 0.
constexpr UINT WM_QEL_SEARCH = WM_USER + 1000;             // posted: Enter was pressed
constexpr UINT WM_QEL_SHOWSEARCHHISTORY = WM_USER + 1001;  // the history icon was clicked

class CQelVistaIconEditImpl : public CQelSubclassedControl {
public:
    CQelVistaIconEditImpl();

    // Each loads icon resource id at 16 x 16 in place of the one the slot held.
    void SetSearchIcon(UINT id) { SetIcon(m_searchIcon, id); }
    void SetClearIcon(UINT id) { SetIcon(m_clearIcon, id); }
    void SetHistoryIcon(UINT id) { SetIcon(m_historyIcon, id); }

    void SetPrompt(const wchar_t* prompt) { m_prompt = prompt ? prompt : L""; }
    const std::wstring& GetPrompt() const { return m_prompt; }
    // Not focused, and the text is empty or the prompt.
    BOOL IsPromptShown() const;
    // The text equals the prompt, which is not empty.
    BOOL IsTextThePrompt() const;

    BOOL OnInitControl() override;
    virtual void UpdateLayout();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    static constexpr UINT kShowPrompt = WM_USER + 1002;

    void SetIcon(CIconOwner& slot, UINT id);
    RECT IconRect(LONG left) const;
    RECT HistoryIconRect() const { return IconRect(m_frameRect.right - 20); }
    // The place the search and the clear icon share.
    RECT SearchIconRect() const { return IconRect(m_frameRect.right - (m_historyIcon ? 40 : 20)); }
    void DrawFrameAndIcons(HDC dc);
    void DrawOutsideText(HDC dc);
    // The prompt's font while the text is the prompt, else the normal one.
    void ApplyFont();
    void OnButtonUp(LPARAM lParam);

    CIconOwner m_searchIcon;
    CIconOwner m_clearIcon;
    CIconOwner m_historyIcon;
    RECT m_textRect{};
    RECT m_frameRect{};
    CPenOwner m_focusedPen;
    CPenOwner m_unfocusedPen;
    CFontOwner m_normalFont;
    CFontOwner m_promptFont;
    COLORREF m_backgroundColor;
    CBrushOwner m_backgroundBrush;
    std::wstring m_prompt;
};

class CQelVistaIconEdit : public CQelVistaIconEditImpl {};
