#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/DialogObject.h"
#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/MessageLoop.h"
#include "framework/WindowObject.h"

namespace {

constexpr UINT kPing = WM_APP + 1;

class CBase : public CWindowObject {
public:
    std::vector<UINT> seen;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == kPing) {
            seen.push_back(message);
            result = 7;
            return TRUE;
        }
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
};

// Destroys itself from a handler and counts the final hooks.
class CDerived : public CBase {
public:
    int finals = 0;
    HWND finalWindow = nullptr;
    HWND handleDuringFinal = reinterpret_cast<HWND>(1);
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_APP + 2) {
            ::DestroyWindow(hwnd);
            // Still inside the handler: the object must not have been finalised yet.
            result = finals == 0 ? 1 : 0;
            return TRUE;
        }
        return CBase::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
    void OnFinalMessage(HWND window) override
    {
        ++finals;
        finalWindow = window;
        handleDuringFinal = m_hWnd;
    }
};

// A container of our own class; it handles nothing itself.
class CContainer : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW; }
};

// A button superclass that records what comes back to it reflected.
class CReflectedButton : public CWindowObject {
public:
    UINT code = 0;
    HWND from = nullptr;

protected:
    CWindowClassInfo& GetWindowClassInfo() override
    {
        static CWindowClassInfo info = [] {
            CWindowClassInfo i;
            i.name = L"TessaryTest_Button";
            i.superclass = WC_BUTTONW;
            i.commonControlClass = ICC_STANDARD_CLASSES;
            return i;
        }();
        return info;
    }
    DWORD DefaultStyle() const override { return WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON; }
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD) override
    {
        if (message != OCM__BASE + WM_COMMAND)
            return FALSE;
        code = HIWORD(wParam);
        from = reinterpret_cast<HWND>(lParam);
        result = 0;
        return TRUE;
    }
};

class CPainted : public CWindowObject, public CDoubleBufferPaint {
public:
    void DoPaint(HDC dc) override
    {
        const RECT all = GetClientRect();
        const CBrushOwner red(::CreateSolidBrush(RGB(200, 10, 20)));
        ::FillRect(dc, &all, red);
    }
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD) override
    {
        return ProcessDoubleBuffer(hwnd, message, wParam, lParam, result);
    }
};

const RECT kRect{0, 0, 200, 100};

// New windows, whose thunks may take the memory of one just freed.
std::vector<std::unique_ptr<CBase>> MakeWindows()
{
    std::vector<std::unique_ptr<CBase>> windows;
    for (int index = 0; index < 8; ++index) {
        windows.push_back(std::make_unique<CBase>());
        windows.back()->Create(nullptr, kRect, L"", WS_POPUP);
    }
    return windows;
}

BOOL AnySawAPing(const std::vector<std::unique_ptr<CBase>>& windows)
{
    for (const auto& window : windows) {
        if (!window->seen.empty())
            return TRUE;
    }
    return FALSE;
}

void DestroyAll(const std::vector<std::unique_ptr<CBase>>& windows)
{
    for (const auto& window : windows)
        window->DestroyWindow();
}

// Makes new windows from its final hook, then messages the window it had.
class CMessagesAfterItsEnd : public CWindowObject {
public:
    std::vector<std::unique_ptr<CBase>> made;
    LRESULT answer = -1;

protected:
    void OnFinalMessage(HWND window) override
    {
        made = MakeWindows();
        answer = ::SendMessageW(window, kPing, 0, 0);
    }
};

// Busy blocks in all the process's heaps.
size_t HeapBlocks()
{
    HANDLE heaps[256]{};
    const DWORD count = ::GetProcessHeaps(256, heaps);
    size_t blocks = 0;
    for (DWORD index = 0; index < count && index < 256; ++index) {
        if (!::HeapLock(heaps[index]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[index], &entry))
            blocks += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
        ::HeapUnlock(heaps[index]);
    }
    return blocks;
}

}  // namespace

TEST(WindowObject, ChainsToTheBaseAndFinalisesOnceAfterTheOutermostHandler)
{
    CDerived window;
    ASSERT_TRUE(window.Create(nullptr, kRect, L"x", WS_OVERLAPPEDWINDOW));
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    EXPECT_EQ(0, wcsncmp(name, L"ATL:", 4));

    EXPECT_EQ(7, window.SendMessage(kPing));
    ASSERT_EQ(1u, window.seen.size());

    const HWND handle = window;
    EXPECT_EQ(1, window.SendMessage(WM_APP + 2));
    EXPECT_EQ(1, window.finals);
    EXPECT_EQ(handle, window.finalWindow);
    EXPECT_EQ(nullptr, window.handleDuringFinal);
    EXPECT_FALSE(::IsWindow(handle));
}

TEST(WindowObject, ContainerReflectsAControlsCommandBackToIt)
{
    CContainer container;
    ASSERT_TRUE(container.Create(nullptr, kRect, L"container"));
    CReflectedButton button;
    ASSERT_TRUE(button.Create(container, RECT{0, 0, 80, 24}, L"b", 0, 0, 42));
    wchar_t name[64]{};
    ::GetClassNameW(button, name, 64);
    EXPECT_STREQ(L"TessaryTest_Button", name);

    container.SendMessage(WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(BN_CLICKED, button.code);
    EXPECT_EQ(button.m_hWnd, button.from);
    container.DestroyWindow();
}

static LRESULT CALLBACK PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    return ::DefSubclassProc(window, message, wParam, lParam);
}

TEST(WindowObject, SubclassingAndUnsubclassingRestoreTheOriginalProcedure)
{
    const HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    const LONG_PTR original = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
    CBase object;
    ASSERT_TRUE(object.SubclassWindow(edit));
    EXPECT_EQ(7, ::SendMessageW(edit, kPing, 0, 0));
    ::SetWindowTextW(edit, L"kept");  // unhandled: reaches the edit's own procedure
    EXPECT_EQ(L"kept", object.GetWindowText());
    EXPECT_EQ(edit, object.UnsubclassWindow());
    EXPECT_EQ(original, ::GetWindowLongPtrW(edit, GWLP_WNDPROC));
    EXPECT_EQ(0, ::SendMessageW(edit, kPing, 0, 0));

    // An object that goes while another subclass sits on top of ours leaves the edit working.
    const LRESULT limit = ::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    ASSERT_NE(0, limit);
    {
        CBase covered;
        ASSERT_TRUE(covered.SubclassWindow(edit));
        ASSERT_TRUE(::SetWindowSubclass(edit, PassOn, 1, 0));
        EXPECT_EQ(nullptr, covered.UnsubclassWindow());
    }
    EXPECT_EQ(limit, ::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    ::RemoveWindowSubclass(edit, PassOn, 1);
    ::DestroyWindow(edit);

    // A window of our own class outlives its object: messages go to the default procedure.
    HWND outliving = nullptr;
    {
        CBase gone;
        outliving = gone.Create(nullptr, kRect, L"", WS_POPUP);
        ASSERT_TRUE(outliving);
    }
    EXPECT_EQ(0, ::SendMessageW(outliving, kPing, 0, 0));
    EXPECT_TRUE(::SetWindowTextW(outliving, L"still here"));
    EXPECT_TRUE(::DestroyWindow(outliving));
}

TEST(WindowObject, AMessageAfterTheLastOneReachesTheDefaultProcedureAndNoWindowMadeSince)
{
    {
        CMessagesAfterItsEnd ending;
        ASSERT_TRUE(ending.Create(nullptr, kRect, L"", WS_POPUP));
        ending.DestroyWindow();
        EXPECT_EQ(0, ending.answer);
        EXPECT_FALSE(AnySawAPing(ending.made));
        DestroyAll(ending.made);
    }

    // A WM_NCDESTROY sent by hand ends the object's hold, not the window.
    CMessagesAfterItsEnd told;
    const HWND window = told.Create(nullptr, kRect, L"", WS_POPUP);
    ASSERT_TRUE(window);
    ::SendMessageW(window, WM_NCDESTROY, 0, 0);
    EXPECT_EQ(0, told.answer);
    EXPECT_EQ(0, ::SendMessageW(window, kPing, 0, 0));
    EXPECT_TRUE(::SetWindowTextW(window, L"still here"));
    EXPECT_FALSE(AnySawAPing(told.made));
    DestroyAll(told.made);
    ::DestroyWindow(window);
}

namespace {

// A plain window whose own procedure, at its end, makes windows and messages itself.
struct CPlainEnd {
    static inline std::vector<std::unique_ptr<CBase>> made;
    static inline int pings = 0;
    static inline WNDPROC below = nullptr;

    static LRESULT CALLBACK Own(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kPing)
            return ++pings;
        if (message == WM_NCDESTROY) {
            made = MakeWindows();
            ::SendMessageW(window, kPing, 0, 0);
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    static LRESULT CALLBACK Above(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::CallWindowProcW(below, window, message, wParam, lParam);
    }
};

}  // namespace

TEST(WindowObject, ACoveredObjectThatWentFirstStillPassesOnMessagesAtTheWindowsEnd)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = CPlainEnd::Own;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TessaryTest_PlainEnd";
    ASSERT_TRUE(::RegisterClassW(&wc));
    const HWND window =
        ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    {
        CBase object;
        ASSERT_TRUE(object.SubclassWindow(window));
        CPlainEnd::below = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CPlainEnd::Above)));
    }
    ::DestroyWindow(window);
    EXPECT_EQ(1, CPlainEnd::pings);
    EXPECT_FALSE(AnySawAPing(CPlainEnd::made));
    DestroyAll(CPlainEnd::made);
    CPlainEnd::made.clear();
    ::UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST(WindowObject, AThunkGoesWithAWindowThatEndedBehindItsObjectsBack)
{
    const size_t before = HeapBlocks();
    for (int index = 0; index < 400; ++index) {
        const HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(edit);
        const LONG_PTR original = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
        CBase object;
        ASSERT_TRUE(object.SubclassWindow(edit));
        ::SetWindowLongPtrW(edit, GWLP_WNDPROC, original);
        ::DestroyWindow(edit);
    }
    EXPECT_LT(HeapBlocks(), before + 200);
}

TEST(WindowObject, DoubleBufferPaintsAGivenDcDirectlyAndNeverErasesOnItsOwn)
{
    CPainted window;
    ASSERT_TRUE(window.Create(nullptr, kRect, L"p", WS_POPUP));
    const CWindowDc screen(nullptr);
    const CMemoryDc memory(::CreateCompatibleDC(screen));
    const CBitmapOwner bitmap(::CreateCompatibleBitmap(screen, 200, 100));
    const CSelectScope select(memory, bitmap);
    window.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    // Erasing after painting would show the class's background.
    EXPECT_EQ(1, window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get())));
    EXPECT_EQ(RGB(200, 10, 20), ::GetPixel(memory, 10, 10));
    window.DestroyWindow();
}

namespace {

class CCountingFilter : public IUiMessageFilter, public IUiIdleHandler {
public:
    BOOL consume = FALSE;
    int filtered = 0;
    int idles = 0;
    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message != kPing)
            return FALSE;
        ++filtered;
        return consume;
    }
    BOOL OnIdle() override
    {
        if (++idles == 1)
            ::PostQuitMessage(5);  // the queue was empty: the first idle ends the loop
        return FALSE;
    }
};

}  // namespace

TEST(MessageLoop, ConsumingFilterStopsDispatchAndIdleRunsOnceTheQueueIsEmpty)
{
    CBase window;
    ASSERT_TRUE(window.Create(nullptr, kRect, L"loop", WS_POPUP));
    CCountingFilter first;
    CCountingFilter consuming;
    consuming.consume = TRUE;
    CUiMessageLoop loop;
    loop.AddMessageFilter(&first);
    loop.AddMessageFilter(&consuming);  // newest first: it sees the message before the other
    loop.AddIdleHandler(&first);
    window.PostMessage(kPing);
    window.PostMessage(kPing);
    EXPECT_EQ(5, loop.Run());
    EXPECT_EQ(2, consuming.filtered);
    EXPECT_EQ(0, first.filtered);
    EXPECT_TRUE(window.seen.empty());
    EXPECT_EQ(1, first.idles);
    window.DestroyWindow();
}
