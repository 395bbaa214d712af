#pragma once
// Our windows. On its first message a window's procedure becomes a thunk that carries
// its object (framework/WindowThunk.h), so no message looks the object up by handle.
// Every message reaches one virtual ProcessWindowMessage, which a class writes as a
// switch and chains to its base or a mixin by an explicit call:
//
//   switch (message) {                           // in CPane::ProcessWindowMessage
//   case WM_SIZE: Layout(); return FALSE;        // FALSE: the default runs too
//   }
//   return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
//
// Unhandled messages go to the default procedure: the superclassed or subclassed
// original, else DefWindowProcW. A window of our own class reflects the
// notifications of its children back to them as message + OCM__BASE.
#include <windows.h>
#include <olectl.h>

#include <utility>

#include "framework/WindowRef.h"
#include "framework/WindowThunk.h"

// The module whose resources and classes the windows use; the program's own by default.
HINSTANCE& FrameworkInstance();

// One window class, registered on the first Create. Classes return a function-static
// instance from GetWindowClassInfo.
struct CWindowClassInfo {
    CWindowClassInfo() = default;
    // A superclass of a system control, e.g. {L"Our_List", WC_LISTVIEWW, ICC_LISTVIEW_CLASSES}.
    CWindowClassInfo(const wchar_t* className, const wchar_t* systemClass, DWORD commonControls)
        : name(className), superclass(systemClass), commonControlClass(commonControls) {}

    const wchar_t* name = nullptr;        // nullptr: "ATL:%p" with this object's address
    const wchar_t* superclass = nullptr;  // a system class whose procedure becomes the default one
    DWORD commonControlClass = 0;         // ICC_* flag to initialise before superclassing
    UINT style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    UINT iconId = 0;  // small and large icon from this resource id

    // The registered class, 0 when registration failed; superProc is the system procedure.
    ATOM Register();
    WNDPROC superProc = nullptr;
    const wchar_t* ClassName() const { return name ? name : m_generated; }

private:
    ATOM m_atom = 0;
    wchar_t m_generated[24]{};
};

inline BOOL IsColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

class CWindowObject : public CWindowRef {
public:
    CWindowObject() = default;
    CWindowObject(const CWindowObject&) = delete;
    CWindowObject& operator=(const CWindowObject&) = delete;
    // A window still alive is let go, never destroyed: its default procedure takes over.
    virtual ~CWindowObject();

    // Registers the class on first use. Style and extended style 0 take the class's defaults.
    HWND Create(HWND parent, const RECT& rect, const wchar_t* text = nullptr, DWORD style = 0, DWORD exStyle = 0,
                UINT_PTR idOrMenu = 0, void* param = nullptr);
    BOOL SubclassWindow(HWND window);
    // Gives the window back its own procedure; nullptr when another subclass sits on top.
    HWND UnsubclassWindow();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default procedure for the message being handled now.
    LRESULT DefWindowProc();

    // TRUE when the message was handled and result holds its answer; the base handles nothing.
    virtual BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD /*mapId*/ = 0) { return FALSE; }

    static CWindowObject* FromHandle(HWND window);

protected:
    virtual CWindowClassInfo& GetWindowClassInfo();
    virtual DWORD DefaultStyle() const { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    virtual DWORD DefaultExStyle() const { return 0; }
    // Runs once after WM_NCDESTROY, when the outermost handler has returned; may delete this.
    virtual void OnFinalMessage(HWND) {}

    // Ties the object to a window of our own class, whose default procedure is defaultProc.
    BOOL Attach(HWND window, WNDPROC defaultProc);
    // The general form: the procedure in slot (GWLP_WNDPROC, or DWLP_DLGPROC for a dialog)
    // becomes a thunk calling entry; restore goes back in the slot if the object lets go of a
    // window that lives on. FALSE when no thunk could be made.
    BOOL Attach(HWND window, int slot, CWindowThunk::Entry entry, LONG_PTR restore, WNDPROC defaultProc);
    // Runs one message of a window procedure through the handlers, reflection and the default.
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs one message through the handlers and reflection, with fallback for what they leave.
    template <class Fallback>
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, Fallback fallback);
    // The window waiting for its first message on this thread.
    static CWindowObject*& Pending();

private:
    friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK WindowEntry(CWindowThunk* thunk, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL IsOurProcedureOnTop() const;
    // Unties the object; windowEnding: the window's last message is being handled.
    void Detach(BOOL windowEnding);
    // Reflects an unhandled notification to its child; FALSE when there is none to send to
    // or when a colour message came back unanswered.
    BOOL ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    CWindowThunk::Owner m_thunk;
    int m_slot = GWLP_WNDPROC;
    LONG_PTR m_restore = 0;
    WNDPROC m_defaultProc = nullptr;  // superclass or subclassed original
    BOOL m_subclassed = FALSE;
    const MSG* m_current = nullptr;
    int m_depth = 0;
    BOOL m_destroyed = FALSE;
};

// The procedure of our window classes; it sees only a window's first message.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

template <class Fallback>
LRESULT CWindowObject::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, Fallback fallback)
{
    const MSG current{m_hWnd, message, wParam, lParam, 0, {}};
    const MSG* outer = std::exchange(m_current, &current);
    ++m_depth;
    LRESULT result = 0;
    const BOOL handled = ProcessWindowMessage(m_hWnd, message, wParam, lParam, result, 0) ||
                         ReflectNotification(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        // Before the procedures below see it: one may write its own back into the slot.
        Detach(TRUE);
        m_destroyed = TRUE;
    }
    if (!handled)
        result = fallback();
    m_current = outer;
    if (--m_depth == 0 && m_destroyed) {
        m_destroyed = FALSE;
        OnFinalMessage(std::exchange(m_hWnd, nullptr));  // the object may be gone after this
    }
    return result;
}
