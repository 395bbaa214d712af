#pragma once
// Owners of GDI and user objects: each frees what it holds when it goes,
// moves but never copies. Handles that others own are never given to them.
#include <windows.h>
#include <commctrl.h>

#include "framework/Handle.h"

// A handle owner that hands its handle straight to the API.
template <class THandle, class Traits>
class CGdiOwner : public CHandleOwner<Traits, THandle> {
public:
    using CHandleOwner<Traits, THandle>::CHandleOwner;
    operator THandle() const noexcept { return this->Get(); }  // NOLINT: passed straight to the API
    void Reset() noexcept { this->Close(); }
};

struct CGdiObjectTraits {
    static void Close(HGDIOBJ object) noexcept { ::DeleteObject(object); }
};
struct CMemoryDcTraits {
    static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};
struct CMenuTraits {
    static void Close(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
struct CIconTraits {
    static void Close(HICON icon) noexcept { ::DestroyIcon(icon); }
};
struct CImageListTraits {
    static void Close(HIMAGELIST list) noexcept { ::ImageList_Destroy(list); }
};

using CFontOwner = CGdiOwner<HFONT, CGdiObjectTraits>;
using CBrushOwner = CGdiOwner<HBRUSH, CGdiObjectTraits>;
using CPenOwner = CGdiOwner<HPEN, CGdiObjectTraits>;
using CBitmapOwner = CGdiOwner<HBITMAP, CGdiObjectTraits>;
using CRegionOwner = CGdiOwner<HRGN, CGdiObjectTraits>;
using CMemoryDc = CGdiOwner<HDC, CMemoryDcTraits>;  // from CreateCompatibleDC
using CMenuOwner = CGdiOwner<HMENU, CMenuTraits>;
using CIconOwner = CGdiOwner<HICON, CIconTraits>;
using CImageListOwner = CGdiOwner<HIMAGELIST, CImageListTraits>;

// A window's DC from GetDC or GetWindowDC, released when it goes.
class CWindowDc {
public:
    // With the frame too (GetWindowDC) when wholeWindow.
    explicit CWindowDc(HWND window, bool wholeWindow = false)
        : m_window(window), m_dc(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window))
    {
    }
    CWindowDc(const CWindowDc&) = delete;
    CWindowDc& operator=(const CWindowDc&) = delete;
    ~CWindowDc()
    {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    operator HDC() const { return m_dc; }  // NOLINT

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintScope {
public:
    explicit CPaintScope(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;
    ~CPaintScope() { ::EndPaint(m_window, &m_paint); }
    operator HDC() const { return m_dc; }  // NOLINT
    const PAINTSTRUCT& Paint() const { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// An object selected into a DC for one scope; the previous one comes back.
class CSelectScope {
public:
    CSelectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;
    ~CSelectScope()
    {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }

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
    ~CSaveDcScope()
    {
        if (m_saved)
            ::RestoreDC(m_dc, m_saved);
    }

private:
    HDC m_dc;
    int m_saved;
};
