#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PixelCapture.h"
#include "controls/SplitterWindow.h"
#include "foundation/Files.h"
#include "foundation/Settings.h"
#include "framework/ComInitialize.h"

namespace {

using CSavedSplitter = CQelVistaSplitterWindowT<true, CTessarySettings>;

// A 600 x 200 splitter without a frame, with a static control in each pane.
struct CSplitterHost {
    CSavedSplitter& splitter;
    HWND left = nullptr;
    HWND right = nullptr;
    explicit CSplitterHost(CSavedSplitter& window) : splitter(window)
    {
        splitter.Create(nullptr, RECT{40, 40, 640, 240}, nullptr, WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE);
        left = ::CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, splitter, nullptr, nullptr, nullptr);
        right = ::CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, splitter, nullptr, nullptr, nullptr);
        splitter.SetSplitterPanes(left, right);
    }
    ~CSplitterHost()
    {
        if (splitter.IsWindow())
            splitter.DestroyWindow();
    }
    LONG LeftWidth() const { return CWindowRef(left).GetClientRect().right; }
};

std::wstring Stored(const wchar_t* section)
{
    CTessarySettings settings;
    return settings.GetString(section, L"SplitterPos", L"none");
}

void Store(const wchar_t* section, const wchar_t* value)
{
    CTessarySettings settings;
    settings.SetString(section, L"SplitterPos", value);
}

}  // namespace

TEST(VistaSplitter, ClassAndABarShadedFromGreyAtItsMiddleToWhite)
{
    CQelVistaSplitterWindowT<true, CQelEmptySettings> splitter;
    ASSERT_TRUE(splitter.Create(nullptr, RECT{40, 40, 340, 240}, nullptr, WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE));
    wchar_t name[64]{};
    ::GetClassNameW(splitter, name, 64);
    EXPECT_STREQ(L"Qel_SplitterWindow", name);

    splitter.SetBarWidth(6);
    splitter.SetSplitterPos(100);
    splitter.RestoreSplitterPos(L"Nowhere");
    ASSERT_EQ(100, splitter.GetSplitterPos());
    const CPixelCapture picture(splitter);
    const int middle = splitter.GetClientRect().bottom / 2;
    const int greys[6] = {175, 191, 207, 223, 239, 255};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(RGB(greys[i], greys[i], greys[i]), picture.At(100 + i, middle)) << i;
        EXPECT_EQ(RGB(255, 255, 255), picture.At(100 + i, 0)) << i;
    }
    splitter.DestroyWindow();
}

TEST(VistaSplitter, PositionComesFromTheSettingsAndIsStoredOnDestructionWithTwoPanes)
{
    const CComInitialize com;  // the settings file is read through MSXML
    {
        CSavedSplitter splitter;
        CSplitterHost host(splitter);
        splitter.SetSplitterPos(120);
    }
    EXPECT_FALSE(QelFileExists(QelGetSettingsFileName().c_str()));

    Store(L"Reader_CatalogSplitter", L"300");
    {
        CSavedSplitter splitter;
        CSplitterHost host(splitter);
        splitter.RestoreSplitterPos(L"Reader_CatalogSplitter");
        EXPECT_EQ(300, host.LeftWidth());
        splitter.SetSplitterPos(250);
    }
    EXPECT_EQ(L"250", Stored(L"Reader_CatalogSplitter"));

    {
        CSavedSplitter splitter;
        CSplitterHost host(splitter);
        splitter.RestoreSplitterPos(L"Reader_CatalogSplitter");
        splitter.SetSplitterPos(120);
        splitter.SetSinglePaneMode(SPLIT_PANE_LEFT);
    }
    EXPECT_EQ(L"250", Stored(L"Reader_CatalogSplitter"));

    Store(L"Reader_DocumentsSplitter", L"abc");
    CSavedSplitter splitter;
    CSplitterHost host(splitter);
    splitter.RestoreSplitterPos(L"Reader_DocumentsSplitter");
    EXPECT_EQ(0, splitter.GetSplitterPos());
    EXPECT_EQ(0, host.LeftWidth());
}
