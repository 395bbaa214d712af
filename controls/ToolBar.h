#pragma once
// The kit's toolbar over the common-control toolbar. CQelToolBarCtrlBase makes the control
// measure its buttons as a flat toolbar without built-in drop-down arrows; the Vista
// toolbar paints everything itself, double-buffered: a two-band background with a
// three-line bottom edge, hot and pressed faces, grooves, its own drop-down arrows, icons
// and texts. Texts, tool tips and drop-down menus come from the string and menu resources
// named by each button's command id; a string's part after its first line feed is shown.
//
//   CQelVistaToolBarCtrl bar;
//   bar.Create(frame, rect, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE);
//   bar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
//   bar.AddToolButton(ID_UPDATE, BTNS_DROPDOWN, TRUE, 0);   // menu resource ID_UPDATE drops down
//
// The parent must reflect notifications (a window of our own class does). Commands of the
// drop-down menus go on to the parent as WM_COMMAND, as the common control forwards them.
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "controls/SubclassedControl.h"
#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"

// The height of the sample text "kg中国" in font on window's DC; 0 when the font cannot be selected.
int QelMeasureTextHeight(HWND window, HFONT font);

class CQelToolBarCtrlBase : public CQelSubclassedControl {
public:
    CQelToolBarCtrlBase() : CQelSubclassedControl(TOOLBARCLASSNAMEW, ICC_BAR_CLASSES) {}

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    // Passes a message that makes the control measure its buttons while it looks flat
    // and draws no drop-down arrows of its own.
    LRESULT MeasureAsFlat(UINT message, WPARAM wParam, LPARAM lParam);
};

class CQelToolBarCtrl : public CQelToolBarCtrlBase {};

class CQelVistaToolBarCtrlImpl : public CQelToolBarCtrlBase, public CDoubleBufferPaint {
public:
    // Bits of the button flags.
    static constexpr UINT BoldText = 1;

    CQelVistaToolBarCtrlImpl();

    // A button whose text (withText) is the part of string resource command after its first line feed.
    BOOL AddToolButton(UINT command, BYTE style, BOOL withText, int image);
    BOOL AddSeparator();
    // x where a 16-pixel brightening of the background ends; -1 for none.
    void SetGlowEdge(int x);
    void SetButtonFlags(UINT command, UINT flags) { m_buttonFlags[command] = flags; }
    UINT GetButtonFlags(UINT command) const;
    // New buttons get BTNS_AUTOSIZE while it is set (the default).
    void SetAutoSize(BOOL autoSize) { m_autoSize = autoSize; }

    virtual void GetButtonRect(int index, RECT& rect);
    virtual void DrawButtonBackground(HDC dc, int index, BOOL hot);
    virtual void DrawButton(HDC dc, int index, BOOL hot, HIMAGELIST images, HIMAGELIST disabledImages);
    virtual void DrawBackground(HDC dc, const RECT& client);
    virtual int GetIdealWidth();
    virtual int GetIdealHeight(int minimum);
    virtual int GetBarHeight();
    virtual int GetTextBandHeight(int height);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;

protected:
    // mask bit 1, 2, 4: the light, dark and second light column left of the arrow part.
    void DrawDropDownDivider(HDC dc, const RECT& rect, UINT mask);
    void DrawDropDownArrow(HDC dc, const RECT& rect);

    CFontOwner m_normalFont;
    CFontOwner m_boldFont;
    int m_splitY = 0;

private:
    void OnLeftButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ShowDropDownMenu(const NMTOOLBARW& button);
    void FillToolTip(NMHDR* header);
    void FillInfoTip(NMTBGETINFOTIPW& tip);
    BOOL AddButton(const TBBUTTON& button);
    int ButtonHeight();

    int m_arrowPressed = -1;  // the drop-down button whose arrow part is being clicked
    std::map<UINT, UINT> m_buttonFlags;
    int m_glowEdge = -1;
    BOOL m_autoSize = TRUE;
};

class CQelVistaToolBarCtrl : public CQelVistaToolBarCtrlImpl {};
