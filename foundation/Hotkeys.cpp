#include "foundation/Hotkeys.h"

#include <cwctype>
#include <string>

namespace {

std::wstring Lower(const wchar_t* text)
{
    std::wstring lower = text ? text : L"";
    for (auto& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

// The hot-key control's flags, without pulling in the common controls.
constexpr int kHotkeyShift = 0x1, kHotkeyControl = 0x2, kHotkeyAlt = 0x4;

} // namespace

BYTE QelGetHotkeyModifiers(const wchar_t* text)
{
    const std::wstring lower = Lower(text);
    BYTE flags = 0;
    if (Contains(lower, L"ctrl"))
        flags |= FCONTROL;
    if (Contains(lower, L"shift"))
        flags |= FSHIFT;
    if (Contains(lower, L"alt"))
        flags |= FALT;
    return flags;
}

int QelGetHotkeyModifierMask(const wchar_t* text)
{
    const BYTE flags = QelGetHotkeyModifiers(text);
    int mask = 0;
    if (flags & FALT)
        mask |= kHotkeyAlt;
    if (flags & FCONTROL)
        mask |= kHotkeyControl;
    if (flags & FSHIFT)
        mask |= kHotkeyShift;
    return mask;
}

UINT QelGetHotkeyKey(const wchar_t* text)
{
    std::wstring key = text ? text : L"";
    const size_t plus = key.rfind(L'+');
    if (plus != std::wstring::npos)
        key.erase(0, plus + 1);
    const size_t first = key.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return 0;
    key = key.substr(first, key.find_last_not_of(L" \t") - first + 1);
    for (auto& c : key)
        c = static_cast<wchar_t>(std::towupper(c));

    if (key.size() == 1)
        return key[0];
    if (key[0] == L'F' && key.size() <= 3) {
        const std::wstring digits = key.substr(1);
        if (digits.find_first_not_of(L"0123456789") == std::wstring::npos) {
            const int n = std::stoi(digits);
            if (digits.size() == 1 && n >= 1 && n <= 9)
                return VK_F1 + (n - 1);
            if (digits.size() == 2 && n >= 10 && n <= 19)
                return VK_F10 + (n - 10);
        }
        return 0;
    }
    if (key == L"UP")
        return VK_UP;
    if (key == L"DOWN")
        return VK_DOWN;
    if (key == L"LEFT")
        return VK_LEFT;
    if (key == L"RIGHT")
        return VK_RIGHT;
    return 0;
}
