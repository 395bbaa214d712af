#pragma once
// Owners of GDI and user objects: each frees what it holds when it goes,
// moves but never copies. Handles that others own are never given to them.
#include <windows.h>
#include <commctrl.h>

#include "framework/Handle.h"

// Closes a handle with the function that frees it.
template <class THandle, auto Free>
struct CFreeTraits {
    static void Close(THandle handle) noexcept { Free(handle); }
};

template <class THandle, auto Free>
class CGdiOwner : public CHandleOwner<CFreeTraits<THandle, Free>, THandle> {
public:
    using CHandleOwner<CFreeTraits<THandle, Free>, THandle>::CHandleOwner;
    operator THandle() const noexcept { return this->Get(); }  // NOLINT: passed straight to the API
};

using CFontOwner = CGdiOwner<HFONT, ::DeleteObject>;
using CBrushOwner = CGdiOwner<HBRUSH, ::DeleteObject>;
using CPenOwner = CGdiOwner<HPEN, ::DeleteObject>;
using CBitmapOwner = CGdiOwner<HBITMAP, ::DeleteObject>;
using CRegionOwner = CGdiOwner<HRGN, ::DeleteObject>;
using CMemoryDc = CGdiOwner<HDC, ::DeleteDC>;  // from CreateCompatibleDC
using CMenuOwner = CGdiOwner<HMENU, ::DestroyMenu>;
using CIconOwner = CGdiOwner<HICON, ::DestroyIcon>;
using CImageListOwner = CGdiOwner<HIMAGELIST, ::ImageList_Destroy>;

// A window's DC from GetDC or GetWindowDC, released when it goes.
inline int ReleaseWindowDc(HDC dc) { return ::ReleaseDC(::WindowFromDC(dc), dc); }
class CWindowDc : public CGdiOwner<HDC, ReleaseWindowDc> {
public:
    explicit CWindowDc(HWND window, bool wholeWindow = false)
        : CGdiOwner(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
};

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintScope {
public:
    explicit CPaintScope(HWND window) : m_window(window) { ::BeginPaint(window, &m_paint); }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;
    ~CPaintScope() { ::EndPaint(m_window, &m_paint); }
    operator HDC() const { return m_paint.hdc; }  // NOLINT
    const PAINTSTRUCT& Paint() const { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

// An object selected into a DC for one scope; the previous one comes back.
class CSelectScope {
public:
    CSelectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;
    ~CSelectScope() { ::SelectObject(m_dc, m_previous); }  // nothing when nothing was selected

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// SaveDC and RestoreDC around one scope.
class CSaveDcScope {
public:
    explicit CSaveDcScope(HDC dc) : m_dc(dc), m_saved(::SaveDC(dc)) {}
    CSaveDcScope(const CSaveDcScope&) = delete;
    CSaveDcScope& operator=(const CSaveDcScope&) = delete;
    ~CSaveDcScope() { ::RestoreDC(m_dc, m_saved); }  // nothing when SaveDC failed

private:
    HDC m_dc;
    int m_saved;
};
