#include "foundation/ThemeHelper.h"
#include "framework/Handle.h"

#include <vssym32.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

using QelGlobals::CQelThemeHelper;

namespace {

template <class Function>
FARPROC AsProc(Function function)
{
    FARPROC proc;
    static_assert(sizeof proc == sizeof function, "function pointers differ in size");
    std::memcpy(&proc, &function, sizeof proc);
    return proc;
}

// The library's own answer, asked directly.
template <class Function>
Function Direct(const char* name)
{
    Function function = nullptr;
    if (HMODULE module = ::GetModuleHandleW(L"uxtheme.dll")) {
        FARPROC proc = ::GetProcAddress(module, name);
        std::memcpy(&function, &proc, sizeof function);
    }
    return function;
}

// Puts the table back as the library gives it when a test has changed it.
class ThemeTable : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (auto& slot : QelGetThemeApi().slots)
            slot = nullptr;
        QelRefreshThemeModule();
    }
};

class CWindow {
public:
    CWindow()
        : m_window(::CreateWindowExW(0, L"STATIC", L"theme", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                                     nullptr, nullptr, nullptr))
    {
    }
    ~CWindow() { ::DestroyWindow(m_window); }
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

TEST(ThemeHelper, QueriesAnswerAsTheLibraryDoes)
{
    CQelThemeHelper helper;
    const BOOL themed = helper.IsAppThemed();
    const auto isAppThemed = Direct<decltype(&::IsAppThemed)>("IsAppThemed");
    const auto isThemeActive = Direct<decltype(&::IsThemeActive)>("IsThemeActive");
    ASSERT_TRUE(isAppThemed && isThemeActive) << "the theme library is part of the system";
    EXPECT_EQ(isAppThemed(), themed);
    EXPECT_EQ(isThemeActive(), helper.IsThemeActive());
    EXPECT_EQ(QelGetComctl32Version() >> 16 > 5 && helper.IsThemeActive(), helper.IsThemedControls() != FALSE);

    CWindow window;
    ASSERT_TRUE(window.Get());
    wchar_t name[MAX_PATH] = L"", color[64] = L"", size[64] = L"";
    const HRESULT named = helper.GetCurrentThemeName(name, MAX_PATH, color, 64, size, 64);
    const HTHEME theme = helper.OpenThemeData(window.Get(), L"BUTTON");
    EXPECT_EQ(theme, helper.GetTheme());

    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 20);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT rect{0, 0, 40, 20};
    COLORREF textColor = 0;
    SIZE partSize{};
    RECT content{};
    if (themed) {
        EXPECT_EQ(S_OK, named);
        EXPECT_NE(L"", std::wstring(name));
        ASSERT_TRUE(helper.IsThemeOpen());
        EXPECT_EQ(S_OK, helper.DrawThemeBackground(dc, BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr));
        EXPECT_EQ(S_OK, helper.GetThemeBackgroundContentRect(dc, BP_PUSHBUTTON, PBS_NORMAL, &rect, &content));
        EXPECT_EQ(S_OK, helper.GetThemePartSize(dc, BP_CHECKBOX, CBS_CHECKEDNORMAL, nullptr, TS_TRUE, &partSize));
        EXPECT_GT(partSize.cx, 0);
    } else {
        EXPECT_FALSE(helper.IsThemeOpen());
        EXPECT_EQ(E_FAIL, helper.DrawThemeBackground(dc, BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr));
    }
    // The wrappers pass the held theme on and hand back the library's answers.
    COLORREF directColor = 0;
    EXPECT_EQ(Direct<decltype(&::GetThemeColor)>("GetThemeColor")(theme, BP_PUSHBUTTON, PBS_NORMAL, TMT_TEXTCOLOR,
                                                                   &directColor),
              helper.GetThemeColor(BP_PUSHBUTTON, PBS_NORMAL, TMT_TEXTCOLOR, &textColor));
    EXPECT_EQ(directColor, textColor);
    EXPECT_EQ(Direct<decltype(&::GetThemeSysColor)>("GetThemeSysColor")(theme, COLOR_WINDOW),
              helper.GetThemeSysColor(COLOR_WINDOW));
    EXPECT_EQ(Direct<decltype(&::GetThemeSysSize)>("GetThemeSysSize")(theme, SM_CXVSCROLL),
              helper.GetThemeSysSize(SM_CXVSCROLL));
    EXPECT_EQ(Direct<decltype(&::IsThemePartDefined)>("IsThemePartDefined")(theme, BP_PUSHBUTTON, 0),
              helper.IsThemePartDefined(BP_PUSHBUTTON, 0));
    EXPECT_EQ(Direct<decltype(&::GetThemeAppProperties)>("GetThemeAppProperties")(), helper.GetThemeAppProperties());
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);

    helper.CloseThemeData();
    EXPECT_FALSE(helper.IsThemeOpen());
}

TEST(ThemeHelper, FailedOpenLeavesNoHandle)
{
    CWindow window;
    CQelThemeHelper helper;
    helper.OpenThemeData(window.Get(), L"BUTTON");
    EXPECT_EQ(nullptr, helper.OpenThemeData(window.Get(), L"NoSuchThemeClassAnywhere"));
    EXPECT_FALSE(helper.IsThemeOpen());
}

int g_closeCalls = 0;
HRESULT WINAPI FakeCloseThemeData(HTHEME)
{
    ++g_closeCalls;
    return S_OK;
}
HTHEME WINAPI FakeOpenThemeData(HWND, LPCWSTR)
{
    return reinterpret_cast<HTHEME>(0x5150);
}

TEST_F(ThemeTable, HandleIsClosedOnlyWhenOneIsHeld)
{
    QelSetThemeApiSlot(QelThemeCloseThemeData, AsProc(&FakeCloseThemeData));
    QelSetThemeApiSlot(QelThemeOpenThemeData, AsProc(&FakeOpenThemeData));
    g_closeCalls = 0;
    { CQelThemeHelper helper; }
    EXPECT_EQ(0, g_closeCalls) << "nothing held, nothing called";

    {
        CQelThemeHelper helper;
        EXPECT_EQ(reinterpret_cast<HTHEME>(0x5150), helper.OpenThemeData(nullptr, L"BUTTON"));
        EXPECT_EQ(0, g_closeCalls);
        helper.OpenThemeData(nullptr, L"BUTTON");
        EXPECT_EQ(1, g_closeCalls) << "the held handle is closed before another is opened";
    }
    EXPECT_EQ(2, g_closeCalls);
}

HRESULT WINAPI ThrowingGetThemeColor(HTHEME, int, int, int, COLORREF*)
{
    throw std::runtime_error("inside the library");
}
COLORREF WINAPI ThrowingGetThemeSysColor(HTHEME, int)
{
    throw std::runtime_error("inside the library");
}

TEST_F(ThemeTable, ExceptionInsideACallGivesTheFailureResult)
{
    QelSetThemeApiSlot(QelThemeGetThemeColor, AsProc(&ThrowingGetThemeColor));
    QelSetThemeApiSlot(QelThemeGetThemeSysColor, AsProc(&ThrowingGetThemeSysColor));
    CQelThemeHelper helper;
    COLORREF color = 0;
    EXPECT_EQ(E_FAIL, helper.GetThemeColor(1, 1, TMT_TEXTCOLOR, &color));
    EXPECT_EQ(0xFFFFFFFFu, helper.GetThemeSysColor(COLOR_WINDOW));
}

BOOL WINAPI FakeIsAppThemed()
{
    return 42;
}

TEST_F(ThemeTable, RefreshFollowsTheLibraryToItsNewAddress)
{
    QELTHEMEAPI& api = QelGetThemeApi();
    const HMODULE library = ::GetModuleHandleW(L"uxtheme.dll");
    ASSERT_EQ(library, api.module);

    // As if the library had been unloaded and loaded again elsewhere.
    api.module = ::GetModuleHandleW(L"kernel32.dll");
    QelSetThemeApiSlot(QelThemeIsAppThemed, AsProc(&FakeIsAppThemed));
    QelSetThemeApiSlot(QelThemeGetThemeColor, AsProc(&ThrowingGetThemeColor));
    CQelThemeHelper helper;
    EXPECT_EQ(Direct<decltype(&::IsAppThemed)>("IsAppThemed")(), helper.IsAppThemed());
    EXPECT_EQ(library, api.module);
    EXPECT_EQ(nullptr, api.slots[QelThemeGetThemeColor]) << "every slot is looked up again";
    EXPECT_EQ(::GetProcAddress(library, "IsAppThemed"), api.slots[QelThemeIsAppThemed]);

    // Without a change of address the slots stay.
    QelSetThemeApiSlot(QelThemeIsAppThemed, AsProc(&FakeIsAppThemed));
    EXPECT_EQ(42, helper.IsAppThemed());
}

TEST_F(ThemeTable, WithoutTheLibraryEveryWrapperFailsAtOnce)
{
    QELTHEMEAPI& api = QelGetThemeApi();
    api.module = nullptr;
    CQelThemeHelper helper;
    COLORREF color = 1;
    RECT rect{0, 0, 10, 10};
    LOGFONTW font{};
    EXPECT_EQ(E_FAIL, helper.GetThemeColor(1, 1, TMT_TEXTCOLOR, &color));
    EXPECT_EQ(E_FAIL, helper.DrawThemeBackground(nullptr, 1, 1, &rect, nullptr));
    EXPECT_EQ(E_FAIL, helper.GetThemeSysFont(TMT_MSGBOXFONT, &font));
    EXPECT_EQ(E_FAIL, helper.SetWindowTheme(nullptr, L"", L""));
    EXPECT_EQ(E_FAIL, helper.EnableThemeDialogTexture(nullptr, 0));
    EXPECT_FALSE(helper.IsThemePartDefined(1, 1));
    EXPECT_FALSE(helper.GetThemeSysBool(TMT_FLATMENUS));
    EXPECT_EQ(0xFFFFFFFFu, helper.GetThemeSysColor(COLOR_WINDOW));
    EXPECT_EQ(nullptr, helper.GetThemeSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(0, helper.GetThemeSysSize(SM_CXVSCROLL));
    EXPECT_EQ(nullptr, helper.GetWindowTheme(nullptr));
    EXPECT_EQ(0u, helper.GetThemeAppProperties());
    HDC dc = nullptr;
    EXPECT_EQ(nullptr, helper.BeginBufferedPaint(nullptr, &rect, BPBF_COMPATIBLEBITMAP, nullptr, &dc));
    helper.SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
    helper.EndBufferedPaint(nullptr, FALSE);
    for (const FARPROC slot : api.slots)
        EXPECT_EQ(nullptr, slot);
}

// Runs in a copy of this program for which the system refuses the theme library.
TEST(ThemeHelperWithoutLibrary, ChildAnswersUnthemed)
{
    wchar_t flag[8] = L"";
    if (!::GetEnvironmentVariableW(L"TESSARY_THEME_CHILD", flag, 8))
        GTEST_SKIP() << "runs only as the child of ThemeHelper.SystemWithoutTheLibraryIsUnthemed";
    ASSERT_EQ(nullptr, ::LoadLibraryW(L"uxtheme.dll"));
    CQelThemeHelper helper;
    EXPECT_FALSE(helper.IsAppThemed());
    EXPECT_FALSE(helper.IsThemeActive());
    EXPECT_FALSE(helper.IsThemedControls());
    wchar_t name[MAX_PATH];
    EXPECT_EQ(E_FAIL, helper.GetCurrentThemeName(name, MAX_PATH, nullptr, 0, nullptr, 0));
    EXPECT_EQ(nullptr, helper.OpenThemeData(::GetDesktopWindow(), L"BUTTON"));
    EXPECT_FALSE(helper.IsThemeOpen());
    COLORREF color = 0;
    EXPECT_EQ(E_FAIL, helper.GetThemeColor(1, 1, TMT_TEXTCOLOR, &color));
    EXPECT_EQ(nullptr, QelGetThemeApi().module);
}

TEST(ThemeHelper, SystemWithoutTheLibraryIsUnthemed)
{
    // Wine lets one program be refused a library by the name of its file.
    wchar_t exe[MAX_PATH], temp[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"tessary_unthemed.exe";
    ASSERT_TRUE(::CopyFileW(exe, copy.c_str(), FALSE));
    const wchar_t* const appKey = L"Software\\Wine\\AppDefaults\\tessary_unthemed.exe";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(appKey) + L"\\DllOverrides").c_str(),
                                               0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    ::RegSetValueExW(key, L"uxtheme", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    ::RegCloseKey(key);

    ::SetEnvironmentVariableW(L"TESSARY_THEME_CHILD", L"1");
    std::wstring command = L"\"" + copy + L"\" --gtest_filter=ThemeHelperWithoutLibrary.*";
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &process);
    ::SetEnvironmentVariableW(L"TESSARY_THEME_CHILD", nullptr);
    DWORD code = 1;
    if (started) {
        const CHandle child(process.hProcess), thread(process.hThread);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(child.Get(), 120000));
        ::GetExitCodeProcess(child.Get(), &code);
    }
    // Shared by every test program: the refusal must not outlive this test.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, appKey);
    ::DeleteFileW(copy.c_str());
    ASSERT_TRUE(started);
    EXPECT_EQ(0u, code) << "the unthemed child failed; its output is above";
}

} // namespace
