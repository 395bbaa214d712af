#include "foundation/ThemeHelper.h"

#include "foundation/ModuleHandleHelper.h"

#include <cstring>

namespace {

constexpr DWORD kUnknownComctl32Version = 0x40000;

// The function in the slot, looked up by name the first time it is needed.
template <class Function>
Function LookUp(int slot, const char* name)
{
    QELTHEMEAPI& api = QelGetThemeApi();
    if (api.module && !api.slots[slot])
        api.slots[slot] = ::GetProcAddress(api.module, name);
    Function function = nullptr;
    if (api.slots[slot])
        std::memcpy(&function, &api.slots[slot], sizeof function);
    return function;
}

// Every call ends in the function's answer or in its failure result.
template <class Function, class Result, class... Args>
Result Call(int slot, const char* name, Result failure, Args... args)
{
    const Function function = LookUp<Function>(slot, name);
    if (!function)
        return failure;
    try {
        return function(args...);
    } catch (...) {
        return failure;
    }
}

template <class Function, class... Args>
void CallVoid(int slot, const char* name, Args... args)
{
    const Function function = LookUp<Function>(slot, name);
    if (!function)
        return;
    try {
        function(args...);
    } catch (...) {
    }
}

DWORD ReadComctl32Version()
{
    QelGlobals::CQelModuleHandleHelper comctl32(L"COMCTL32.DLL");
    const DWORD version = comctl32.GetDllVersion();
    return version ? version : kUnknownComctl32Version;
}

} // namespace

DWORD QelGetComctl32Version()
{
    static const DWORD version = ReadComctl32Version();
    return version;
}

QELTHEMEAPI& QelGetThemeApi()
{
    static QELTHEMEAPI api = [] {
        QELTHEMEAPI built{};
        built.comctl32Version = QelGetComctl32Version();
        built.module = ::LoadLibraryW(L"UXTHEME.DLL");
        return built;
    }();
    return api;
}

void QelSetThemeApiSlot(int index, FARPROC pointer)
{
    if (index >= 0 && index < QelThemeSlotCount)
        QelGetThemeApi().slots[index] = pointer;
}

void QelRefreshThemeModule()
{
    QELTHEMEAPI& api = QelGetThemeApi();
    HMODULE current = ::GetModuleHandleA("UXTHEME.DLL");
    if (current != api.module) {
        api.module = current;
        for (auto& slot : api.slots)
            slot = nullptr;
    }
}

namespace QelGlobals {

CQelThemeHelper::CQelThemeHelper() = default;

CQelThemeHelper::~CQelThemeHelper()
{
    CloseThemeData();
}

BOOL CQelThemeHelper::IsThemedControls()
{
    return IsThemeActive() && (QelGetThemeApi().comctl32Version >> 16) > 5;
}

void CQelThemeHelper::CloseThemeData()
{
    if (!m_theme)
        return;
    Call<decltype(&::CloseThemeData)>(QelThemeCloseThemeData, "CloseThemeData", E_FAIL, m_theme);
    m_theme = nullptr;
}

HTHEME CQelThemeHelper::OpenThemeData(HWND window, LPCWSTR classList)
{
    QelRefreshThemeModule();
    CloseThemeData();
    m_theme = Call<decltype(&::OpenThemeData)>(QelThemeOpenThemeData, "OpenThemeData", HTHEME(nullptr), window,
                                               classList);
    return m_theme;
}

BOOL CQelThemeHelper::IsAppThemed()
{
    QelRefreshThemeModule();
    return Call<decltype(&::IsAppThemed)>(QelThemeIsAppThemed, "IsAppThemed", BOOL(FALSE));
}

BOOL CQelThemeHelper::IsThemeActive()
{
    QelRefreshThemeModule();
    return Call<decltype(&::IsThemeActive)>(QelThemeIsThemeActive, "IsThemeActive", BOOL(FALSE));
}

HRESULT CQelThemeHelper::GetCurrentThemeName(LPWSTR fileName, int fileNameChars, LPWSTR color, int colorChars,
                                             LPWSTR size, int sizeChars)
{
    QelRefreshThemeModule();
    return Call<decltype(&::GetCurrentThemeName)>(QelThemeGetCurrentThemeName, "GetCurrentThemeName", E_FAIL,
                                                  fileName, fileNameChars, color, colorChars, size, sizeChars);
}

HRESULT CQelThemeHelper::DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip)
{
    return Call<decltype(&::DrawThemeBackground)>(QelThemeDrawThemeBackground, "DrawThemeBackground", E_FAIL,
                                                  m_theme, dc, part, state, rect, clip);
}

HRESULT CQelThemeHelper::DrawThemeBackgroundEx(HDC dc, int part, int state, const RECT* rect,
                                               const DTBGOPTS* options)
{
    return Call<decltype(&::DrawThemeBackgroundEx)>(QelThemeDrawThemeBackgroundEx, "DrawThemeBackgroundEx",
                                                    E_FAIL, m_theme, dc, part, state, rect, options);
}

HRESULT CQelThemeHelper::DrawThemeEdge(HDC dc, int part, int state, const RECT* dest, UINT edge, UINT flags,
                                       RECT* content)
{
    return Call<decltype(&::DrawThemeEdge)>(QelThemeDrawThemeEdge, "DrawThemeEdge", E_FAIL, m_theme, dc, part,
                                            state, dest, edge, flags, content);
}

HRESULT CQelThemeHelper::DrawThemeIcon(HDC dc, int part, int state, const RECT* rect, HIMAGELIST images, int image)
{
    return Call<decltype(&::DrawThemeIcon)>(QelThemeDrawThemeIcon, "DrawThemeIcon", E_FAIL, m_theme, dc, part,
                                            state, rect, images, image);
}

HRESULT CQelThemeHelper::DrawThemeText(HDC dc, int part, int state, LPCWSTR text, int chars, DWORD flags,
                                       DWORD flags2, const RECT* rect)
{
    return Call<decltype(&::DrawThemeText)>(QelThemeDrawThemeText, "DrawThemeText", E_FAIL, m_theme, dc, part,
                                            state, text, chars, flags, flags2, rect);
}

HRESULT CQelThemeHelper::DrawThemeTextEx(HDC dc, int part, int state, LPCWSTR text, int chars, DWORD flags,
                                         RECT* rect, const DTTOPTS* options)
{
    return Call<decltype(&::DrawThemeTextEx)>(QelThemeDrawThemeTextEx, "DrawThemeTextEx", E_FAIL, m_theme, dc,
                                              part, state, text, chars, flags, rect, options);
}

HRESULT CQelThemeHelper::GetThemeBackgroundContentRect(HDC dc, int part, int state, const RECT* bounds,
                                                       RECT* content)
{
    return Call<decltype(&::GetThemeBackgroundContentRect)>(QelThemeGetThemeBackgroundContentRect,
                                                            "GetThemeBackgroundContentRect", E_FAIL, m_theme, dc,
                                                            part, state, bounds, content);
}

HRESULT CQelThemeHelper::GetThemeBackgroundExtent(HDC dc, int part, int state, const RECT* content, RECT* extent)
{
    return Call<decltype(&::GetThemeBackgroundExtent)>(QelThemeGetThemeBackgroundExtent,
                                                       "GetThemeBackgroundExtent", E_FAIL, m_theme, dc, part,
                                                       state, content, extent);
}

HRESULT CQelThemeHelper::GetThemeBackgroundRegion(HDC dc, int part, int state, const RECT* rect, HRGN* region)
{
    return Call<decltype(&::GetThemeBackgroundRegion)>(QelThemeGetThemeBackgroundRegion,
                                                       "GetThemeBackgroundRegion", E_FAIL, m_theme, dc, part,
                                                       state, rect, region);
}

HRESULT CQelThemeHelper::GetThemeBool(int part, int state, int prop, BOOL* value)
{
    return Call<decltype(&::GetThemeBool)>(QelThemeGetThemeBool, "GetThemeBool", E_FAIL, m_theme, part, state,
                                           prop, value);
}

HRESULT CQelThemeHelper::GetThemeColor(int part, int state, int prop, COLORREF* color)
{
    return Call<decltype(&::GetThemeColor)>(QelThemeGetThemeColor, "GetThemeColor", E_FAIL, m_theme, part, state,
                                            prop, color);
}

HRESULT CQelThemeHelper::GetThemeEnumValue(int part, int state, int prop, int* value)
{
    return Call<decltype(&::GetThemeEnumValue)>(QelThemeGetThemeEnumValue, "GetThemeEnumValue", E_FAIL, m_theme,
                                                part, state, prop, value);
}

HRESULT CQelThemeHelper::GetThemeFilename(int part, int state, int prop, LPWSTR fileName, int chars)
{
    return Call<decltype(&::GetThemeFilename)>(QelThemeGetThemeFilename, "GetThemeFilename", E_FAIL, m_theme,
                                               part, state, prop, fileName, chars);
}

HRESULT CQelThemeHelper::GetThemeFont(HDC dc, int part, int state, int prop, LOGFONTW* font)
{
    return Call<decltype(&::GetThemeFont)>(QelThemeGetThemeFont, "GetThemeFont", E_FAIL, m_theme, dc, part, state,
                                           prop, font);
}

HRESULT CQelThemeHelper::GetThemeInt(int part, int state, int prop, int* value)
{
    return Call<decltype(&::GetThemeInt)>(QelThemeGetThemeInt, "GetThemeInt", E_FAIL, m_theme, part, state, prop,
                                          value);
}

HRESULT CQelThemeHelper::GetThemeIntList(int part, int state, int prop, INTLIST* list)
{
    return Call<decltype(&::GetThemeIntList)>(QelThemeGetThemeIntList, "GetThemeIntList", E_FAIL, m_theme, part,
                                              state, prop, list);
}

HRESULT CQelThemeHelper::GetThemeMargins(HDC dc, int part, int state, int prop, RECT* rect, MARGINS* margins)
{
    return Call<decltype(&::GetThemeMargins)>(QelThemeGetThemeMargins, "GetThemeMargins", E_FAIL, m_theme, dc,
                                              part, state, prop, rect, margins);
}

HRESULT CQelThemeHelper::GetThemeMetric(HDC dc, int part, int state, int prop, int* value)
{
    return Call<decltype(&::GetThemeMetric)>(QelThemeGetThemeMetric, "GetThemeMetric", E_FAIL, m_theme, dc, part,
                                             state, prop, value);
}

HRESULT CQelThemeHelper::GetThemePartSize(HDC dc, int part, int state, RECT* rect, THEMESIZE kind, SIZE* size)
{
    return Call<decltype(&::GetThemePartSize)>(QelThemeGetThemePartSize, "GetThemePartSize", E_FAIL, m_theme, dc,
                                               part, state, rect, kind, size);
}

HRESULT CQelThemeHelper::GetThemePosition(int part, int state, int prop, POINT* point)
{
    return Call<decltype(&::GetThemePosition)>(QelThemeGetThemePosition, "GetThemePosition", E_FAIL, m_theme,
                                               part, state, prop, point);
}

HRESULT CQelThemeHelper::GetThemePropertyOrigin(int part, int state, int prop, PROPERTYORIGIN* origin)
{
    return Call<decltype(&::GetThemePropertyOrigin)>(QelThemeGetThemePropertyOrigin, "GetThemePropertyOrigin",
                                                     E_FAIL, m_theme, part, state, prop, origin);
}

HRESULT CQelThemeHelper::GetThemeRect(int part, int state, int prop, RECT* rect)
{
    return Call<decltype(&::GetThemeRect)>(QelThemeGetThemeRect, "GetThemeRect", E_FAIL, m_theme, part, state,
                                           prop, rect);
}

HRESULT CQelThemeHelper::GetThemeString(int part, int state, int prop, LPWSTR buffer, int chars)
{
    return Call<decltype(&::GetThemeString)>(QelThemeGetThemeString, "GetThemeString", E_FAIL, m_theme, part,
                                             state, prop, buffer, chars);
}

HRESULT CQelThemeHelper::GetThemeSysFont(int fontId, LOGFONTW* font)
{
    return Call<decltype(&::GetThemeSysFont)>(QelThemeGetThemeSysFont, "GetThemeSysFont", E_FAIL, m_theme, fontId,
                                              font);
}

HRESULT CQelThemeHelper::GetThemeSysInt(int intId, int* value)
{
    return Call<decltype(&::GetThemeSysInt)>(QelThemeGetThemeSysInt, "GetThemeSysInt", E_FAIL, m_theme, intId,
                                             value);
}

HRESULT CQelThemeHelper::GetThemeSysString(int stringId, LPWSTR buffer, int chars)
{
    return Call<decltype(&::GetThemeSysString)>(QelThemeGetThemeSysString, "GetThemeSysString", E_FAIL, m_theme,
                                                stringId, buffer, chars);
}

HRESULT CQelThemeHelper::GetThemeTextExtent(HDC dc, int part, int state, LPCWSTR text, int chars, DWORD flags,
                                            const RECT* bounds, RECT* extent)
{
    return Call<decltype(&::GetThemeTextExtent)>(QelThemeGetThemeTextExtent, "GetThemeTextExtent", E_FAIL,
                                                 m_theme, dc, part, state, text, chars, flags, bounds, extent);
}

HRESULT CQelThemeHelper::GetThemeTextMetrics(HDC dc, int part, int state, TEXTMETRICW* metrics)
{
    return Call<decltype(&::GetThemeTextMetrics)>(QelThemeGetThemeTextMetrics, "GetThemeTextMetrics", E_FAIL,
                                                  m_theme, dc, part, state, metrics);
}

HRESULT CQelThemeHelper::HitTestThemeBackground(HDC dc, int part, int state, DWORD options, const RECT* rect,
                                                HRGN region, POINT test, WORD* hitCode)
{
    return Call<decltype(&::HitTestThemeBackground)>(QelThemeHitTestThemeBackground, "HitTestThemeBackground",
                                                     E_FAIL, m_theme, dc, part, state, options, rect, region, test,
                                                     hitCode);
}

HRESULT CQelThemeHelper::DrawThemeParentBackground(HWND window, HDC dc, RECT* rect)
{
    return Call<decltype(&::DrawThemeParentBackground)>(QelThemeDrawThemeParentBackground,
                                                        "DrawThemeParentBackground", E_FAIL, window, dc, rect);
}

HRESULT CQelThemeHelper::EnableThemeDialogTexture(HWND window, DWORD flags)
{
    return Call<decltype(&::EnableThemeDialogTexture)>(QelThemeEnableThemeDialogTexture,
                                                       "EnableThemeDialogTexture", E_FAIL, window, flags);
}

HRESULT CQelThemeHelper::EnableTheming(BOOL enable)
{
    return Call<decltype(&::EnableTheming)>(QelThemeEnableTheming, "EnableTheming", E_FAIL, enable);
}

HRESULT CQelThemeHelper::GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propertyName, LPWSTR buffer,
                                                       int chars)
{
    return Call<decltype(&::GetThemeDocumentationProperty)>(QelThemeGetThemeDocumentationProperty,
                                                            "GetThemeDocumentationProperty", E_FAIL, themeName,
                                                            propertyName, buffer, chars);
}

HRESULT CQelThemeHelper::SetWindowTheme(HWND window, LPCWSTR subAppName, LPCWSTR subIdList)
{
    return Call<decltype(&::SetWindowTheme)>(QelThemeSetWindowTheme, "SetWindowTheme", E_FAIL, window, subAppName,
                                             subIdList);
}

BOOL CQelThemeHelper::GetThemeSysBool(int boolId)
{
    return Call<decltype(&::GetThemeSysBool)>(QelThemeGetThemeSysBool, "GetThemeSysBool", BOOL(FALSE), m_theme,
                                              boolId);
}

BOOL CQelThemeHelper::IsThemeBackgroundPartiallyTransparent(int part, int state)
{
    return Call<decltype(&::IsThemeBackgroundPartiallyTransparent)>(
        QelThemeIsThemeBackgroundPartiallyTransparent, "IsThemeBackgroundPartiallyTransparent", BOOL(FALSE),
        m_theme, part, state);
}

BOOL CQelThemeHelper::IsThemePartDefined(int part, int state)
{
    return Call<decltype(&::IsThemePartDefined)>(QelThemeIsThemePartDefined, "IsThemePartDefined", BOOL(FALSE),
                                                 m_theme, part, state);
}

COLORREF CQelThemeHelper::GetThemeSysColor(int colorId)
{
    return Call<decltype(&::GetThemeSysColor)>(QelThemeGetThemeSysColor, "GetThemeSysColor", COLORREF(0xFFFFFFFF),
                                               m_theme, colorId);
}

HBRUSH CQelThemeHelper::GetThemeSysColorBrush(int colorId)
{
    return Call<decltype(&::GetThemeSysColorBrush)>(QelThemeGetThemeSysColorBrush, "GetThemeSysColorBrush",
                                                    HBRUSH(nullptr), m_theme, colorId);
}

int CQelThemeHelper::GetThemeSysSize(int sizeId)
{
    return Call<decltype(&::GetThemeSysSize)>(QelThemeGetThemeSysSize, "GetThemeSysSize", 0, m_theme, sizeId);
}

HTHEME CQelThemeHelper::GetWindowTheme(HWND window)
{
    return Call<decltype(&::GetWindowTheme)>(QelThemeGetWindowTheme, "GetWindowTheme", HTHEME(nullptr), window);
}

HPAINTBUFFER CQelThemeHelper::BeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format,
                                                 BP_PAINTPARAMS* params, HDC* dc)
{
    return Call<decltype(&::BeginBufferedPaint)>(QelThemeBeginBufferedPaint, "BeginBufferedPaint",
                                                 HPAINTBUFFER(nullptr), target, rect, format, params, dc);
}

DWORD CQelThemeHelper::GetThemeAppProperties()
{
    return Call<decltype(&::GetThemeAppProperties)>(QelThemeGetThemeAppProperties, "GetThemeAppProperties",
                                                    DWORD(0));
}

void CQelThemeHelper::SetThemeAppProperties(DWORD flags)
{
    CallVoid<decltype(&::SetThemeAppProperties)>(QelThemeSetThemeAppProperties, "SetThemeAppProperties", flags);
}

void CQelThemeHelper::EndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget)
{
    CallVoid<decltype(&::EndBufferedPaint)>(QelThemeEndBufferedPaint, "EndBufferedPaint", buffer, updateTarget);
}

} // namespace QelGlobals
