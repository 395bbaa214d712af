#include "framework/MessageLoop.h"

#include <algorithm>

#include "framework/WindowObject.h"

namespace {

template <class T>
void RemoveFrom(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// Mouse moves, paints and the caret's blink (WM_SYSTIMER) arrive all the time while nothing changes.
BOOL RestartsIdle(UINT message)
{
    return message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_PAINT && message != 0x0118;
}

}  // namespace

void CUiMessageLoop::AddMessageFilter(IUiMessageFilter* filter) { m_filters.push_back(filter); }
void CUiMessageLoop::RemoveMessageFilter(IUiMessageFilter* filter) { RemoveFrom(m_filters, filter); }
void CUiMessageLoop::AddIdleHandler(IUiIdleHandler* handler) { m_idleHandlers.push_back(handler); }
void CUiMessageLoop::RemoveIdleHandler(IUiIdleHandler* handler) { RemoveFrom(m_idleHandlers, handler); }

BOOL CUiMessageLoop::PreTranslateMessage(MSG* message)
{
    // A copy: a filter may remove itself or another while it runs.
    const std::vector<IUiMessageFilter*> filters(m_filters.rbegin(), m_filters.rend());
    for (IUiMessageFilter* filter : filters)
        if (std::find(m_filters.begin(), m_filters.end(), filter) != m_filters.end() &&
            filter->PreTranslateMessage(message))
            return TRUE;
    return FALSE;
}

BOOL CUiMessageLoop::OnIdle()
{
    const std::vector<IUiIdleHandler*> handlers(m_idleHandlers);
    BOOL again = FALSE;
    for (IUiIdleHandler* handler : handlers)
        if (std::find(m_idleHandlers.begin(), m_idleHandlers.end(), handler) != m_idleHandlers.end())
            again |= handler->OnIdle();
    return again;
}

int CUiMessageLoop::Run()
{
    BOOL idle = TRUE;
    MSG message{};
    for (;;) {
        while (idle && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
            idle = OnIdle();
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0)  // WM_QUIT, or a failure that would repeat
            break;
        if (!PreTranslateMessage(&message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        idle = idle || RestartsIdle(message.message);
    }
    return static_cast<int>(message.wParam);
}

void CUiModule::Init(HINSTANCE instance)
{
    m_instance = instance;
    FrameworkInstance() = instance;
}

CUiMessageLoop* CUiModule::GetMessageLoop() const
{
    return Locked([&] {
        const auto found = m_loops.find(::GetCurrentThreadId());
        return found == m_loops.end() ? nullptr : found->second;
    });
}

CUiModule& UiModule()
{
    static CUiModule module;
    return module;
}
