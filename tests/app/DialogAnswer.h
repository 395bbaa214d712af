#pragma once
// Runs an answer on each dialog of this thread once it is initialised, as a user
// would answer a modal dialog that the code under test opens.
#include <windows.h>

#include <functional>
#include <utility>

class CDialogAnswer {
public:
    explicit CDialogAnswer(std::function<void(HWND)> answer)
    {
        Answer() = std::move(answer);
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~CDialogAnswer()
    {
        ::UnhookWindowsHookEx(m_hook);
        Answer() = nullptr;
    }
    CDialogAnswer(const CDialogAnswer&) = delete;
    CDialogAnswer& operator=(const CDialogAnswer&) = delete;

private:
    static std::function<void(HWND)>& Answer()
    {
        static std::function<void(HWND)> answer;
        return answer;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITDIALOG && Answer())
            Answer()(message->hwnd);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook = nullptr;
};
