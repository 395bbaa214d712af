#include "framework/WindowObject.h"

#include <commctrl.h>

#include <cwchar>
#include <map>
#include <mutex>
#include <utility>

namespace {

// Finds the object from a handle for callers outside the message path; messages reach it through the thunk.
const wchar_t kObjectProperty[] = L"Tessary.WindowObject";

// The lock of registration, and the system procedure of each superclass for windows without an object.
struct CClassTable {
    std::mutex lock;
    std::map<ATOM, WNDPROC> superProcs;
};

CClassTable& Classes()
{
    static CClassTable table;
    return table;
}

// The default procedure of a window of our class that has no object: the superclass's, else DefWindowProcW.
WNDPROC OrphanProcedure(HWND window)
{
    const std::lock_guard<std::mutex> hold(Classes().lock);
    const auto found = Classes().superProcs.find(static_cast<ATOM>(::GetClassWord(window, GCW_ATOM)));
    return found == Classes().superProcs.end() ? ::DefWindowProcW : found->second;
}

BOOL IsReflectableMessage(UINT message)
{
    return message == WM_NOTIFY || message == WM_COMMAND || message == WM_DRAWITEM || message == WM_MEASUREITEM ||
           message == WM_DELETEITEM || IsColorMessage(message);
}

// The child a reflectable message came from, or nullptr (menus, accelerators).
HWND ReflectionTarget(HWND container, UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? ::GetDlgItem(container, static_cast<int>(item->CtlID)) : nullptr;
    }
    case WM_DELETEITEM: {
        const auto* item = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
        return item ? item->hwndItem : nullptr;
    }
    default:  // WM_COMMAND and the colour messages
        return reinterpret_cast<HWND>(lParam);
    }
}

}  // namespace

HINSTANCE& FrameworkInstance()
{
    static HINSTANCE instance = ::GetModuleHandleW(nullptr);
    return instance;
}

ATOM CWindowClassInfo::Register()
{
    const std::lock_guard<std::mutex> hold(Classes().lock);
    if (m_atom)
        return m_atom;
    if (!name)
        std::swprintf(m_generated, sizeof m_generated / sizeof m_generated[0], L"ATL:%p", static_cast<void*>(this));
    const HINSTANCE instance = FrameworkInstance();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (superclass) {
        const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), commonControlClass};
        ::InitCommonControlsEx(&init);
        if (!::GetClassInfoExW(nullptr, superclass, &wc) && !::GetClassInfoExW(instance, superclass, &wc))
            return 0;
        superProc = wc.lpfnWndProc;
    } else {
        wc.style = style;
        wc.hbrBackground = background;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        if (iconId) {  // the system takes the small icon from the same resource
            wc.hIcon = static_cast<HICON>(
                ::LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        }
    }
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = ClassName();
    m_atom = ::RegisterClassExW(&wc);
    if (!m_atom && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        m_atom = static_cast<ATOM>(::GetClassInfoExW(instance, ClassName(), &wc));
    if (m_atom && superProc)
        Classes().superProcs[m_atom] = superProc;
    return m_atom;
}

CWindowObject::~CWindowObject()
{
    if (m_thunk)
        Detach(FALSE);
}

CWindowObject*& CWindowObject::Pending()
{
    thread_local CWindowObject* pending = nullptr;
    return pending;
}

CWindowObject* CWindowObject::FromHandle(HWND window)
{
    return static_cast<CWindowObject*>(::GetPropW(window, kObjectProperty));
}

CWindowClassInfo& CWindowObject::GetWindowClassInfo()
{
    static CWindowClassInfo info;
    return info;
}

HWND CWindowObject::Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style, DWORD exStyle,
                           UINT_PTR idOrMenu, void* param)
{
    if (m_hWnd)
        return nullptr;
    CWindowClassInfo& info = GetWindowClassInfo();
    if (!info.Register())
        return nullptr;
    Pending() = this;
    const HWND window = ::CreateWindowExW(exStyle ? exStyle : DefaultExStyle(), info.ClassName(), text,
                                          style ? style : DefaultStyle(), rect.left, rect.top,
                                          rect.right - rect.left, rect.bottom - rect.top, parent,
                                          reinterpret_cast<HMENU>(idOrMenu), FrameworkInstance(), param);
    Pending() = nullptr;  // taken by the first message, unless the window never came
    if (window && m_hWnd != window) {  // no thunk could be made for it
        ::DestroyWindow(window);
        return nullptr;
    }
    return window;
}

BOOL CWindowObject::SubclassWindow(HWND window)
{
    if (m_hWnd || !::IsWindow(window) || FromHandle(window))
        return FALSE;
    const auto original = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (!original || !Attach(window, GWLP_WNDPROC, WindowEntry, original, reinterpret_cast<WNDPROC>(original)))
        return FALSE;
    m_subclassed = TRUE;
    return TRUE;
}

HWND CWindowObject::UnsubclassWindow()
{
    if (!m_subclassed || !m_hWnd || !IsOurProcedureOnTop())
        return nullptr;
    Detach(FALSE);
    return std::exchange(m_hWnd, nullptr);
}

BOOL CWindowObject::Attach(HWND window, WNDPROC defaultProc)
{
    return Attach(window, GWLP_WNDPROC, WindowEntry,
                  reinterpret_cast<LONG_PTR>(defaultProc ? defaultProc : ::DefWindowProcW), defaultProc);
}

BOOL CWindowObject::Attach(HWND window, int slot, CWindowThunk::Entry entry, LONG_PTR restore, WNDPROC defaultProc)
{
    CWindowThunk::Owner thunk = CWindowThunk::Make(entry, this);
    if (!thunk)
        return FALSE;
    // The slot is read back: the system refuses another process's window.
    ::SetWindowLongPtrW(window, slot, thunk->Procedure());
    if (::GetWindowLongPtrW(window, slot) != thunk->Procedure())
        return FALSE;
    m_thunk = std::move(thunk);
    m_hWnd = window;
    m_slot = slot;
    m_restore = restore;
    m_defaultProc = defaultProc;
    ::SetPropW(window, kObjectProperty, this);
    return TRUE;
}

BOOL CWindowObject::IsOurProcedureOnTop() const
{
    return m_thunk && ::GetWindowLongPtrW(m_hWnd, m_slot) == m_thunk->Procedure();
}

void CWindowObject::Detach(BOOL windowEnding)
{
    if (!m_thunk)
        return;
    if (!windowEnding && !::IsWindow(m_hWnd)) {
        m_thunk.reset();  // the window ended unseen: its thread exited, or its procedure was put back under us
    } else if (IsOurProcedureOnTop()) {
        // At the window's last message too: a message sent to it from there must still land.
        ::SetWindowLongPtrW(m_hWnd, m_slot, m_restore);
        m_thunk.reset();
    } else {
        // A subclass that came after ours may still pass messages to our thunk.
        CWindowThunk::Orphan(std::move(m_thunk), m_hWnd, m_restore);
    }
    // A window that ended unseen may have lent its handle to another.
    if (::GetPropW(m_hWnd, kObjectProperty) == this)
        ::RemovePropW(m_hWnd, kObjectProperty);
    m_subclassed = FALSE;
}

LRESULT CWindowObject::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_defaultProc ? ::CallWindowProcW(m_defaultProc, m_hWnd, message, wParam, lParam)
                         : ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowObject::DefWindowProc()
{
    return m_current ? DefWindowProc(m_current->message, m_current->wParam, m_current->lParam) : 0;
}

BOOL CWindowObject::ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // Controls built on a system class keep their own notifications (a list view's
    // header talks to the list view); only windows of our own classes reflect.
    if (m_defaultProc || !IsReflectableMessage(message))
        return FALSE;
    const HWND child = ReflectionTarget(m_hWnd, message, lParam);
    if (!child || child == m_hWnd || !::IsWindow(child))
        return FALSE;
    result = ::SendMessageW(child, OCM__BASE + message, wParam, lParam);
    return result || !IsColorMessage(message);  // a colour message nobody answered still needs a brush
}

LRESULT CWindowObject::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(message, wParam, lParam, [&] {
        return message > OCM__BASE && IsReflectableMessage(message - OCM__BASE)
                   ? ::DefWindowProcW(m_hWnd, message, wParam, lParam)
                   : DefWindowProc(message, wParam, lParam);
    });
}

LRESULT CALLBACK CWindowObject::WindowEntry(CWindowThunk* thunk, HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    if (CWindowObject* object = thunk->object)
        return object->Route(message, wParam, lParam);
    return ::CallWindowProcW(reinterpret_cast<WNDPROC>(thunk->fallback), window, message, wParam, lParam);
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowObject* object = std::exchange(CWindowObject::Pending(), nullptr);
    if (!object || !object->Attach(window, object->GetWindowClassInfo().superProc))
        return ::CallWindowProcW(OrphanProcedure(window), window, message, wParam, lParam);
    return object->Route(message, wParam, lParam);
}
