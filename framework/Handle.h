#pragma once
// Owners of one Windows handle: closed when they go, moved but never copied.
// Both a null handle and INVALID_HANDLE_VALUE mean "none", since the APIs
// disagree on which one reports a failure.
#include <windows.h>

#include <utility>

template <typename Traits, typename THandle = HANDLE>
class CHandleOwner {
public:
    CHandleOwner() noexcept = default;
    explicit CHandleOwner(THandle handle) noexcept : m_handle(handle) {}
    CHandleOwner(CHandleOwner&& other) noexcept : m_handle(other.Detach()) {}
    CHandleOwner& operator=(CHandleOwner&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;
    ~CHandleOwner() { Close(); }

    THandle Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    explicit operator bool() const noexcept { return IsValid(); }

    void Attach(THandle handle) noexcept
    {
        if (handle != m_handle)
            Close();
        m_handle = handle;
    }
    THandle Detach() noexcept { return std::exchange(m_handle, nullptr); }
    void Close() noexcept
    {
        if (IsValid())
            Traits::Close(m_handle);
        m_handle = nullptr;
    }

private:
    THandle m_handle = nullptr;
};

struct CKernelHandleTraits {
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};
struct CFindHandleTraits {
    static void Close(HANDLE handle) noexcept { ::FindClose(handle); }
};

// Files, events, threads, mutexes, mappings.
using CHandle = CHandleOwner<CKernelHandleTraits>;
// Searches begun with FindFirstFileW.
using CFindHandle = CHandleOwner<CFindHandleTraits>;
