#include "foundation/Clipboard.h"

#include <cstring>

namespace {

class CClipboardOpen {
public:
    explicit CClipboardOpen(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~CClipboardOpen()
    {
        if (m_open)
            ::CloseClipboard();
    }
    CClipboardOpen(const CClipboardOpen&) = delete;
    CClipboardOpen& operator=(const CClipboardOpen&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL memory) : m_memory(memory), m_data(memory ? ::GlobalLock(memory) : nullptr) {}
    ~CGlobalLock()
    {
        if (m_data)
            ::GlobalUnlock(m_memory);
    }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;
    void* Data() const { return m_data; }
    // Bytes that may be read; the block may be larger than what was asked for.
    size_t Size() const { return m_data ? ::GlobalSize(m_memory) : 0; }

private:
    HGLOBAL m_memory;
    void* m_data;
};

// Clipboard data comes from other programs: never read past the block.
template <class Char>
size_t BoundedLength(const Char* text, size_t maxChars)
{
    size_t length = 0;
    while (length < maxChars && text[length] != 0)
        ++length;
    return length;
}

BOOL AnsiMemoryToText(HGLOBAL memory, std::wstring& out)
{
    CGlobalLock lock(memory);
    if (!lock.Data())
        return FALSE;
    const char* bytes = static_cast<const char*>(lock.Data());
    const int length = static_cast<int>(BoundedLength(bytes, lock.Size()));
    out.clear();
    if (length == 0)
        return TRUE;
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    if (chars <= 0)
        return FALSE;
    out.resize(static_cast<size_t>(chars));
    ::MultiByteToWideChar(CP_ACP, 0, bytes, length, &out[0], chars);
    return TRUE;
}

} // namespace

BOOL QelGlobalMemoryToText(HGLOBAL memory, std::wstring& out)
{
    if (!memory)
        return FALSE;
    CGlobalLock lock(memory);
    if (!lock.Data())
        return FALSE;
    const wchar_t* text = static_cast<const wchar_t*>(lock.Data());
    out.assign(text, BoundedLength(text, lock.Size() / sizeof(wchar_t)));
    return TRUE;
}

HGLOBAL QelTextToGlobalMemory(const wchar_t* text)
{
    const size_t length = text ? std::wcslen(text) : 0;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, (length + 1) * sizeof(wchar_t));
    if (!memory)
        return nullptr;
    void* data = ::GlobalLock(memory);
    if (!data) {
        ::GlobalFree(memory);
        return nullptr;
    }
    if (length)
        std::memcpy(data, text, length * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return memory;
}

BOOL QelGetClipboardText(std::wstring& out)
{
    const bool unicode = ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    if (!unicode && !::IsClipboardFormatAvailable(CF_TEXT))
        return FALSE;
    CClipboardOpen clipboard(::GetForegroundWindow());
    if (!clipboard.IsOpen())
        return FALSE;
    HGLOBAL data = ::GetClipboardData(unicode ? CF_UNICODETEXT : CF_TEXT);
    if (!data)
        return FALSE;
    return unicode ? QelGlobalMemoryToText(data, out) : AnsiMemoryToText(data, out);
}
