#pragma once
// The visual-styles library, loaded at run time and asked through wrappers
// that give a fixed neutral answer when the library, the function or the call
// fails, so that callers never depend on the library being there.

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

// Slots of the entry-point table, one per wrapped function.
enum QelThemeSlot {
    QelThemeCloseThemeData,
    QelThemeOpenThemeData,
    QelThemeIsAppThemed,
    QelThemeIsThemeActive,
    QelThemeGetCurrentThemeName,
    QelThemeDrawThemeBackground,
    QelThemeDrawThemeBackgroundEx,
    QelThemeDrawThemeEdge,
    QelThemeDrawThemeIcon,
    QelThemeDrawThemeText,
    QelThemeDrawThemeTextEx,
    QelThemeGetThemeBackgroundContentRect,
    QelThemeGetThemeBackgroundExtent,
    QelThemeGetThemeBackgroundRegion,
    QelThemeGetThemeBool,
    QelThemeGetThemeColor,
    QelThemeGetThemeEnumValue,
    QelThemeGetThemeFilename,
    QelThemeGetThemeFont,
    QelThemeGetThemeInt,
    QelThemeGetThemeIntList,
    QelThemeGetThemeMargins,
    QelThemeGetThemeMetric,
    QelThemeGetThemePartSize,
    QelThemeGetThemePosition,
    QelThemeGetThemePropertyOrigin,
    QelThemeGetThemeRect,
    QelThemeGetThemeString,
    QelThemeGetThemeSysFont,
    QelThemeGetThemeSysInt,
    QelThemeGetThemeSysString,
    QelThemeGetThemeTextExtent,
    QelThemeGetThemeTextMetrics,
    QelThemeHitTestThemeBackground,
    QelThemeDrawThemeParentBackground,
    QelThemeEnableThemeDialogTexture,
    QelThemeEnableTheming,
    QelThemeGetThemeDocumentationProperty,
    QelThemeSetWindowTheme,
    QelThemeGetThemeSysBool,
    QelThemeIsThemeBackgroundPartiallyTransparent,
    QelThemeIsThemePartDefined,
    QelThemeGetThemeSysColor,
    QelThemeGetThemeSysColorBrush,
    QelThemeGetThemeSysSize,
    QelThemeGetWindowTheme,
    QelThemeBeginBufferedPaint,
    QelThemeGetThemeAppProperties,
    QelThemeSetThemeAppProperties,
    QelThemeEndBufferedPaint,
    QelThemeSlotCount = 52
};

// One per process, built on first use and never freed.
struct QELTHEMEAPI {
    FARPROC slots[QelThemeSlotCount];
    HMODULE module;            // the theme library; NULL where there is none
    DWORD comctl32Version;     // major << 16 | minor
};

QELTHEMEAPI& QelGetThemeApi();
void QelSetThemeApiSlot(int index, FARPROC pointer);
// Follows the theme library when it has been unloaded or loaded again.
void QelRefreshThemeModule();
// 4.0 when the common controls cannot tell.
DWORD QelGetComctl32Version();

namespace QelGlobals {

class CQelThemeHelper {
public:
    CQelThemeHelper();
    virtual ~CQelThemeHelper();

    CQelThemeHelper(const CQelThemeHelper&) = delete;
    CQelThemeHelper& operator=(const CQelThemeHelper&) = delete;

    BOOL IsThemeOpen() const { return m_theme != nullptr; }
    HTHEME GetTheme() const { return m_theme; }
    // The theme is active and the common controls can draw it.
    BOOL IsThemedControls();

    // Functions that take a theme handle are passed the one this helper holds.
    void CloseThemeData();
    HTHEME OpenThemeData(HWND window, LPCWSTR classList);
    BOOL IsAppThemed();
    BOOL IsThemeActive();
    HRESULT GetCurrentThemeName(LPWSTR fileName, int fileNameChars, LPWSTR color, int colorChars, LPWSTR size,
                                int sizeChars);

    HRESULT DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    HRESULT DrawThemeBackgroundEx(HDC dc, int part, int state, const RECT* rect, const DTBGOPTS* options);
    HRESULT DrawThemeEdge(HDC dc, int part, int state, const RECT* dest, UINT edge, UINT flags, RECT* content);
    HRESULT DrawThemeIcon(HDC dc, int part, int state, const RECT* rect, HIMAGELIST images, int image);
    HRESULT DrawThemeText(HDC dc, int part, int state, LPCWSTR text, int chars, DWORD flags, DWORD flags2,
                          const RECT* rect);
    HRESULT DrawThemeTextEx(HDC dc, int part, int state, LPCWSTR text, int chars, DWORD flags, RECT* rect,
                            const DTTOPTS* options);
    HRESULT GetThemeBackgroundContentRect(HDC dc, int part, int state, const RECT* bounds, RECT* content);
    HRESULT GetThemeBackgroundExtent(HDC dc, int part, int state, const RECT* content, RECT* extent);
    HRESULT GetThemeBackgroundRegion(HDC dc, int part, int state, const RECT* rect, HRGN* region);
    HRESULT GetThemeBool(int part, int state, int prop, BOOL* value);
    HRESULT GetThemeColor(int part, int state, int prop, COLORREF* color);
    HRESULT GetThemeEnumValue(int part, int state, int prop, int* value);
    HRESULT GetThemeFilename(int part, int state, int prop, LPWSTR fileName, int chars);
    HRESULT GetThemeFont(HDC dc, int part, int state, int prop, LOGFONTW* font);
    HRESULT GetThemeInt(int part, int state, int prop, int* value);
    HRESULT GetThemeIntList(int part, int state, int prop, INTLIST* list);
    HRESULT GetThemeMargins(HDC dc, int part, int state, int prop, RECT* rect, MARGINS* margins);
    HRESULT GetThemeMetric(HDC dc, int part, int state, int prop, int* value);
    HRESULT GetThemePartSize(HDC dc, int part, int state, RECT* rect, THEMESIZE kind, SIZE* size);
    HRESULT GetThemePosition(int part, int state, int prop, POINT* point);
    HRESULT GetThemePropertyOrigin(int part, int state, int prop, PROPERTYORIGIN* origin);
    HRESULT GetThemeRect(int part, int state, int prop, RECT* rect);
    HRESULT GetThemeString(int part, int state, int prop, LPWSTR buffer, int chars);
    HRESULT GetThemeSysFont(int fontId, LOGFONTW* font);
    HRESULT GetThemeSysInt(int intId, int* value);
    HRESULT GetThemeSysString(int stringId, LPWSTR buffer, int chars);
    HRESULT GetThemeTextExtent(HDC dc, int part, int state, LPCWSTR text, int chars, DWORD flags,
                               const RECT* bounds, RECT* extent);
    HRESULT GetThemeTextMetrics(HDC dc, int part, int state, TEXTMETRICW* metrics);
    HRESULT HitTestThemeBackground(HDC dc, int part, int state, DWORD options, const RECT* rect, HRGN region,
                                   POINT test, WORD* hitCode);

    HRESULT DrawThemeParentBackground(HWND window, HDC dc, RECT* rect);
    HRESULT EnableThemeDialogTexture(HWND window, DWORD flags);
    HRESULT EnableTheming(BOOL enable);
    HRESULT GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propertyName, LPWSTR buffer, int chars);
    HRESULT SetWindowTheme(HWND window, LPCWSTR subAppName, LPCWSTR subIdList);

    BOOL GetThemeSysBool(int boolId);
    BOOL IsThemeBackgroundPartiallyTransparent(int part, int state);
    BOOL IsThemePartDefined(int part, int state);
    COLORREF GetThemeSysColor(int colorId);
    HBRUSH GetThemeSysColorBrush(int colorId);
    int GetThemeSysSize(int sizeId);

    HTHEME GetWindowTheme(HWND window);
    HPAINTBUFFER BeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format, BP_PAINTPARAMS* params,
                                    HDC* dc);
    DWORD GetThemeAppProperties();
    void SetThemeAppProperties(DWORD flags);
    void EndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget);

private:
    HTHEME m_theme = nullptr;
};

} // namespace QelGlobals
