#pragma once
// One lock of a global memory block, released when the owner goes; moved but
// never copied. A failed lock owns nothing.
#include <windows.h>

#include <utility>

class CGlobalLock {
public:
    CGlobalLock() noexcept = default;
    explicit CGlobalLock(HGLOBAL memory) noexcept
        : m_memory(memory), m_data(memory ? ::GlobalLock(memory) : nullptr)
    {
        if (!m_data)
            m_memory = nullptr;
    }
    CGlobalLock(CGlobalLock&& other) noexcept { *this = std::move(other); }
    CGlobalLock& operator=(CGlobalLock&& other) noexcept
    {
        if (this != &other) {
            Unlock();
            std::swap(m_memory, other.m_memory);
            std::swap(m_data, other.m_data);
        }
        return *this;
    }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;
    ~CGlobalLock() { Unlock(); }

    void* Data() const noexcept { return m_data; }
    // Bytes that may be read: the block may be larger than was asked for.
    SIZE_T Size() const noexcept { return m_data ? ::GlobalSize(m_memory) : 0; }

    void Unlock() noexcept
    {
        if (m_data)
            ::GlobalUnlock(m_memory);
        m_memory = nullptr;
        m_data = nullptr;
    }

private:
    HGLOBAL m_memory = nullptr;
    void* m_data = nullptr;
};
