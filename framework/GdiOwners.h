#pragma once
// Owners of GDI and user objects: each frees what it holds when it goes,
// moves but never copies. Handles that others own are never given to them.
#include <windows.h>
#include <commctrl.h>

#include <utility>

template <class THandle, class Traits>
class CGdiOwner {
public:
    CGdiOwner() noexcept = default;
    explicit CGdiOwner(THandle handle) noexcept : m_handle(handle) {}
    CGdiOwner(CGdiOwner&& other) noexcept : m_handle(other.Detach()) {}
    CGdiOwner& operator=(CGdiOwner&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CGdiOwner(const CGdiOwner&) = delete;
    CGdiOwner& operator=(const CGdiOwner&) = delete;
    ~CGdiOwner() { Reset(); }

    THandle Get() const noexcept { return m_handle; }
    operator THandle() const noexcept { return m_handle; }  // NOLINT: passed straight to the API
    explicit operator bool() const noexcept { return m_handle != nullptr; }

    void Attach(THandle handle) noexcept
    {
        if (handle != m_handle)
            Reset();
        m_handle = handle;
    }
    THandle Detach() noexcept { return std::exchange(m_handle, nullptr); }
    void Reset() noexcept
    {
        if (m_handle)
            Traits::Free(m_handle);
        m_handle = nullptr;
    }

private:
    THandle m_handle = nullptr;
};

struct CGdiObjectTraits {
    static void Free(HGDIOBJ object) noexcept { ::DeleteObject(object); }
};
struct CMemoryDcTraits {
    static void Free(HDC dc) noexcept { ::DeleteDC(dc); }
};
struct CMenuTraits {
    static void Free(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
struct CIconTraits {
    static void Free(HICON icon) noexcept { ::DestroyIcon(icon); }
};
struct CImageListTraits {
    static void Free(HIMAGELIST list) noexcept { ::ImageList_Destroy(list); }
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
    explicit CWindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    // With the frame too (GetWindowDC) when wholeWindow.
    CWindowDc(HWND window, bool wholeWindow)
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
