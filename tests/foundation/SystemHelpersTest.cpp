#include "foundation/Clipboard.h"
#include "foundation/Hotkeys.h"
#include "foundation/WindowsVersion.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(WindowsVersion, AgreesWithTheSystemRecord)
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(::GetVersionExW(&info));
    ASSERT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), info.dwPlatformId);
    ASSERT_GE(info.dwMajorVersion, 6u) << "the test expects a system of the Vista line or later";

    EXPECT_EQ(9, QelGetWindowsVersion());
    EXPECT_TRUE(QelIsVistaOrLater());

    using namespace QelGlobals;
    EXPECT_EQ(276u, QelGetOSVersionInfo().dwOSVersionInfoSize);
    EXPECT_FALSE(IsWin32s());
    EXPECT_FALSE(IsWin9x());
    EXPECT_FALSE(IsWin95OrLater());
    EXPECT_FALSE(IsWinMe());
    EXPECT_TRUE(IsWinNT4OrLater());
    EXPECT_TRUE(IsWin2000OrLater());
    EXPECT_TRUE(IsWinXPOrLater());
    EXPECT_TRUE(IsWin2000OrLaterOrMidEast());
    EXPECT_TRUE(IsWinVistaOrLater());
    EXPECT_FALSE(IsWinXP());
    EXPECT_FALSE(IsWin2000());
    EXPECT_FALSE(IsWinNT4());
}

TEST(Hotkeys, ModifiersAndKeysFromText)
{
    EXPECT_EQ(12, QelGetHotkeyModifiers(L"Ctrl+Shift+F5"));
    EXPECT_EQ(FCONTROL | FSHIFT | FALT, QelGetHotkeyModifiers(L"ALT+ctrl+SHIFT+x"));
    EXPECT_EQ(0, QelGetHotkeyModifiers(L"F5"));

    EXPECT_EQ(3, QelGetHotkeyModifierMask(L"Ctrl+Shift+F5"));
    EXPECT_EQ(6, QelGetHotkeyModifierMask(L"Alt+Ctrl+A"));
    EXPECT_EQ(4, QelGetHotkeyModifierMask(L"Alt+A"));
    EXPECT_EQ(1, QelGetHotkeyModifierMask(L"Shift+A"));

    EXPECT_EQ(static_cast<UINT>(VK_F5), QelGetHotkeyKey(L"Ctrl+Shift+f5"));
    EXPECT_EQ(static_cast<UINT>(VK_F1), QelGetHotkeyKey(L"F1"));
    EXPECT_EQ(static_cast<UINT>(VK_F9), QelGetHotkeyKey(L"F9"));
    EXPECT_EQ(static_cast<UINT>(VK_F10), QelGetHotkeyKey(L"Alt+F10"));
    EXPECT_EQ(static_cast<UINT>(VK_F19), QelGetHotkeyKey(L"F19"));
    EXPECT_EQ(0u, QelGetHotkeyKey(L"F0"));
    EXPECT_EQ(0u, QelGetHotkeyKey(L"F20"));
    EXPECT_EQ(0u, QelGetHotkeyKey(L"F05"));
    EXPECT_EQ(static_cast<UINT>('A'), QelGetHotkeyKey(L"Ctrl+ a "));
    EXPECT_EQ(static_cast<UINT>('7'), QelGetHotkeyKey(L"Ctrl+7"));
    EXPECT_EQ(static_cast<UINT>(VK_UP), QelGetHotkeyKey(L"Alt+up"));
    EXPECT_EQ(static_cast<UINT>(VK_RIGHT), QelGetHotkeyKey(L"Right"));
    EXPECT_EQ(0u, QelGetHotkeyKey(L"Ctrl+"));
    EXPECT_EQ(0u, QelGetHotkeyKey(L"Ctrl+Home"));
}

TEST(GlobalMemoryText, RoundTripAndBlocksWithoutTerminator)
{
    HGLOBAL memory = QelTextToGlobalMemory(L"Grüße, 世界");
    ASSERT_NE(nullptr, memory);
    EXPECT_EQ(10 * sizeof(wchar_t), ::GlobalSize(memory)) << "nine characters and the zero";
    std::wstring text = L"old";
    EXPECT_TRUE(QelGlobalMemoryToText(memory, text));
    EXPECT_EQ(L"Grüße, 世界", text);
    ::GlobalFree(memory);

    // A block filled to its end without a zero gives its characters, no more.
    HGLOBAL full = ::GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
    ASSERT_NE(nullptr, full);
    const size_t size = ::GlobalSize(full);
    auto* chars = static_cast<wchar_t*>(::GlobalLock(full));
    for (size_t i = 0; i < size / sizeof(wchar_t); ++i)
        chars[i] = L'x';
    ::GlobalUnlock(full);
    EXPECT_TRUE(QelGlobalMemoryToText(full, text));
    EXPECT_EQ(std::wstring(size / sizeof(wchar_t), L'x'), text);
    ::GlobalFree(full);

    EXPECT_FALSE(QelGlobalMemoryToText(nullptr, text));
    HGLOBAL empty = QelTextToGlobalMemory(L"");
    EXPECT_TRUE(QelGlobalMemoryToText(empty, text));
    EXPECT_EQ(L"", text);
    ::GlobalFree(empty);
}

bool PutOnClipboard(UINT format, const void* data, size_t bytes)
{
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), data, bytes);
    ::GlobalUnlock(memory);
    const bool put = ::SetClipboardData(format, memory) != nullptr;
    ::CloseClipboard();
    return put;
}

TEST(Clipboard, ReadsUnicodeAndAnsiText)
{
    const wchar_t wide[] = L"Übersicht 目录";
    ASSERT_TRUE(PutOnClipboard(CF_UNICODETEXT, wide, sizeof wide));
    std::wstring text;
    EXPECT_TRUE(QelGetClipboardText(text));
    EXPECT_EQ(wide, text);

    const char ansi[] = "plain text";
    ASSERT_TRUE(PutOnClipboard(CF_TEXT, ansi, sizeof ansi));
    EXPECT_TRUE(QelGetClipboardText(text));
    EXPECT_EQ(L"plain text", text);

    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    EXPECT_FALSE(QelGetClipboardText(text));
}

} // namespace
