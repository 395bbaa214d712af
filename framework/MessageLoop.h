#pragma once
// The message loop of one user-interface thread, with message filters that see each
// message before it is dispatched and idle handlers that run when the queue empties.
// The application object holds the module instance and finds each thread's loop.
#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

class IUiMessageFilter {
public:
    // TRUE when the filter consumed the message: nothing else sees it.
    virtual BOOL PreTranslateMessage(MSG* message) = 0;

protected:
    ~IUiMessageFilter() = default;
};

class IUiIdleHandler {
public:
    virtual BOOL OnIdle() = 0;

protected:
    ~IUiIdleHandler() = default;
};

class CUiMessageLoop {
public:
    void AddMessageFilter(IUiMessageFilter* filter);
    void RemoveMessageFilter(IUiMessageFilter* filter);
    void AddIdleHandler(IUiIdleHandler* handler);
    void RemoveIdleHandler(IUiIdleHandler* handler);

    // Runs until WM_QUIT and returns its wParam.
    int Run();
    // The filters, newest first, until one consumes the message.
    BOOL PreTranslateMessage(MSG* message);
    // Every idle handler once; TRUE when any asks to be called again.
    BOOL OnIdle();

private:
    std::vector<IUiMessageFilter*> m_filters;
    std::vector<IUiIdleHandler*> m_idleHandlers;
};

class CUiModule {
public:
    // Sets the instance the framework registers classes and loads resources from.
    void Init(HINSTANCE instance);
    void Term() { Locked([&] { m_loops.clear(); }); }
    HINSTANCE GetInstance() const { return m_instance; }

    // The loop of the calling thread.
    BOOL AddMessageLoop(CUiMessageLoop* loop)
    {
        return Locked([&] { return m_loops.emplace(::GetCurrentThreadId(), loop).second; });
    }
    BOOL RemoveMessageLoop() { return Locked([&] { return m_loops.erase(::GetCurrentThreadId()) != 0; }); }
    CUiMessageLoop* GetMessageLoop() const;

private:
    template <class Call>
    auto Locked(Call call) const -> decltype(call())
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        return call();
    }

    HINSTANCE m_instance = nullptr;
    mutable std::mutex m_lock;
    std::map<DWORD, CUiMessageLoop*> m_loops;
};

// The program's one application object.
CUiModule& UiModule();
