#pragma once
// The kit's text-only push button: flat until the mouse is over it, then the hot face,
// and the pressed face while it is held. It tracks the mouse itself with the capture,
// tells its parent of a click as WM_COMMAND/BN_CLICKED, and takes the width of a new
// caption: BS_LEFT keeps its left edge, BS_RIGHT its right edge (BS_CENTER holds the
// BS_LEFT bit). The space bar does nothing and no focus cue is drawn.
#include <windows.h>

#include "framework/DoubleBuffer.h"
#include "framework/WindowObject.h"

class CQelVistaFlatButtonImpl : public CWindowObject, public CDoubleBufferPaint {
public:
    // The caption's width in the button's font plus 10; 20 before the window exists.
    int GetIdealWidth() const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;

protected:
    // Runs in WM_CREATE before the default handling: the button draws nothing itself.
    virtual BOOL OnInitControl();

    enum VisualState { StateNormal, StateDisabled, StateHot, StatePressed };
    VisualState GetVisualState() const;

private:
    static constexpr UINT kHover = 1;  // over the button, a TME_LEAVE request pending
    static constexpr UINT kFocus = 2;
    static constexpr UINT kPressed = 4;  // went down on it and the mouse is still over it

    // Sets or clears a flag; repaints when it changed.
    void SetFlag(UINT flag, bool on);
    void Repaint();
    void OnMouseMove(POINT point);
    void OnButtonUp();
    void FitCaption();

    UINT m_flags = 0;
};

// The window class "QelVistaFlatButton".
class CQelVistaFlatButton : public CQelVistaFlatButtonImpl {
protected:
    CWindowClassInfo& GetWindowClassInfo() override;
};
