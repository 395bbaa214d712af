#pragma once
// A kit control over a window of a system class (toolbar, edit, tab control), which it
// subclasses instead of superclassing. Create makes the system window, subclasses it and
// runs OnInitControl at once, as WM_CREATE would for a window of our own class; an owner
// that subclasses a window it already has calls OnInitControl itself. OnDestroyControl
// runs from WM_DESTROY before the default handling.
//
//   class CBox : public CQelSubclassedControl {
//   public:
//       CBox() : CQelSubclassedControl(WC_EDITW, 0) {}
//       BOOL OnInitControl() override { ...the window exists here...; return TRUE; }
//   };
#include <windows.h>

#include "framework/WindowObject.h"

class CQelSubclassedControl : public CWindowObject {
public:
    // Style and extended style 0 take the defaults.
    HWND Create(HWND parent, const RECT& rect, const wchar_t* text = nullptr, DWORD style = 0, DWORD exStyle = 0,
                UINT_PTR id = 0);

    virtual BOOL OnInitControl() { return TRUE; }
    virtual BOOL OnDestroyControl() { return TRUE; }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    // commonControls: the ICC_* flag the system class needs, 0 for none.
    CQelSubclassedControl(const wchar_t* systemClass, DWORD commonControls)
        : m_systemClass(systemClass), m_commonControls(commonControls)
    {
    }

private:
    const wchar_t* m_systemClass;
    DWORD m_commonControls;
};
