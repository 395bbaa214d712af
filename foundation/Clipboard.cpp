#include "foundation/Clipboard.h"

#include "framework/GlobalLock.h"

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

// Clipboard data comes from other programs: never read past the block.
template <class Char>
BOOL LockedText(HGLOBAL memory, std::basic_string<Char>& out)
{
    const CGlobalLock lock(memory);
    if (!lock.Data())
        return FALSE;
    const Char* text = static_cast<const Char*>(lock.Data());
    const size_t maxChars = lock.Size() / sizeof(Char);
    size_t length = 0;
    while (length < maxChars && text[length] != 0)
        ++length;
    out.assign(text, length);
    return TRUE;
}

BOOL AnsiMemoryToText(HGLOBAL memory, std::wstring& out)
{
    std::string bytes;
    if (!LockedText(memory, bytes))
        return FALSE;
    out.clear();
    if (bytes.empty())
        return TRUE;
    const int length = static_cast<int>(bytes.size());
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (chars <= 0)
        return FALSE;
    out.resize(static_cast<size_t>(chars));
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, &out[0], chars);
    return TRUE;
}

} // namespace

BOOL QelGlobalMemoryToText(HGLOBAL memory, std::wstring& out)
{
    return memory && LockedText(memory, out);
}

HGLOBAL QelTextToGlobalMemory(const wchar_t* text)
{
    const size_t length = text ? std::wcslen(text) : 0;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, (length + 1) * sizeof(wchar_t));
    if (!memory)
        return nullptr;
    const CGlobalLock lock(memory);
    if (!lock.Data()) {
        ::GlobalFree(memory);
        return nullptr;
    }
    if (length)
        std::memcpy(lock.Data(), text, length * sizeof(wchar_t));
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
