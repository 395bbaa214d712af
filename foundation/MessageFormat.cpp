#include "foundation/MessageFormat.h"

#include "foundation/Translations.h"

namespace {

// One left-to-right pass; the scan resumes after each inserted argument.
void ReplaceAll(std::wstring& text, const std::wstring& placeholder, const wchar_t* value)
{
    const std::wstring replacement = value ? value : L"";
    std::wstring::size_type pos = 0;
    while ((pos = text.find(placeholder, pos)) != std::wstring::npos) {
        text.replace(pos, placeholder.size(), replacement);
        pos += replacement.size();
    }
}

std::wstring FormatArgs(const wchar_t* templateText, const wchar_t* const* args, int count)
{
    std::wstring text = templateText ? templateText : L"";
    for (int k = 1; k <= count && k <= 9; ++k) {
        const wchar_t placeholder[] = {L'%', static_cast<wchar_t>(L'0' + k), L'\0'};
        ReplaceAll(text, placeholder, args[k - 1]);
    }
    return text;
}

} // namespace

std::wstring QelFormatString1(const wchar_t* templateText, const wchar_t* a1)
{
    const wchar_t* const args[] = {a1};
    return FormatArgs(templateText, args, 1);
}

std::wstring QelFormatString2(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2)
{
    const wchar_t* const args[] = {a1, a2};
    return FormatArgs(templateText, args, 2);
}

std::wstring QelFormatString3(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3)
{
    const wchar_t* const args[] = {a1, a2, a3};
    return FormatArgs(templateText, args, 3);
}

std::wstring QelFormatString4(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4)
{
    const wchar_t* const args[] = {a1, a2, a3, a4};
    return FormatArgs(templateText, args, 4);
}

std::wstring QelFormatString5(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5)
{
    const wchar_t* const args[] = {a1, a2, a3, a4, a5};
    return FormatArgs(templateText, args, 5);
}

std::wstring QelFormatString6(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5,
                              const wchar_t* a6)
{
    const wchar_t* const args[] = {a1, a2, a3, a4, a5, a6};
    return FormatArgs(templateText, args, 6);
}

std::wstring QelFormatString7(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5,
                              const wchar_t* a6, const wchar_t* a7)
{
    const wchar_t* const args[] = {a1, a2, a3, a4, a5, a6, a7};
    return FormatArgs(templateText, args, 7);
}

std::wstring QelFormatString8(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5,
                              const wchar_t* a6, const wchar_t* a7, const wchar_t* a8)
{
    const wchar_t* const args[] = {a1, a2, a3, a4, a5, a6, a7, a8};
    return FormatArgs(templateText, args, 8);
}

std::wstring QelLoadTranslatedString(UINT id)
{
    return QelTranslateStringResource(id);
}

std::wstring QelFormatStringId1(UINT id, const wchar_t* a1)
{
    return QelFormatString1(QelLoadTranslatedString(id).c_str(), a1);
}

std::wstring QelFormatStringId2(UINT id, const wchar_t* a1, const wchar_t* a2)
{
    return QelFormatString2(QelLoadTranslatedString(id).c_str(), a1, a2);
}

std::wstring QelFormatStringId3(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3)
{
    return QelFormatString3(QelLoadTranslatedString(id).c_str(), a1, a2, a3);
}

std::wstring QelFormatStringId4(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4)
{
    return QelFormatString4(QelLoadTranslatedString(id).c_str(), a1, a2, a3, a4);
}

std::wstring QelFormatStringId5(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5)
{
    return QelFormatString5(QelLoadTranslatedString(id).c_str(), a1, a2, a3, a4, a5);
}

std::wstring QelFormatStringId6(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5, const wchar_t* a6)
{
    return QelFormatString6(QelLoadTranslatedString(id).c_str(), a1, a2, a3, a4, a5, a6);
}

std::wstring QelFormatStringId7(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5, const wchar_t* a6,
                                const wchar_t* a7)
{
    return QelFormatString7(QelLoadTranslatedString(id).c_str(), a1, a2, a3, a4, a5, a6, a7);
}

std::wstring QelFormatStringId8(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5, const wchar_t* a6,
                                const wchar_t* a7, const wchar_t* a8)
{
    return QelFormatString8(QelLoadTranslatedString(id).c_str(), a1, a2, a3, a4, a5, a6, a7, a8);
}
