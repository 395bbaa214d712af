#pragma once
// The status bar's one-line advertisement, window class "Qel_AD": a link that shows one
// entry of the advertisement list on each tick of its 30-second timer. The list is read
// on the first tick that finds entries and then kept; only web addresses are taken, since
// the list comes from the network and a click hands the address to the shell.
//
//   CReaderADCtrl line;                         // the list under "Tessary" in Tessary.xml
//   line.Create(statusBar, RECT{}, nullptr, WS_CHILD | WS_VISIBLE, 0, 5001);
#include <string>
#include <vector>

#include "framework/Hyperlink.h"
#include "librarydata/AdList.h"

class CQelADCtrl : public CHyperlink {
public:
    static constexpr UINT_PTR kTimerId = 100;
    static constexpr UINT kTimerPeriod = 30111;
    // The list lies under the settings file's root element.
    static constexpr BYTE kSettingsSource = 0;

    // sourceKind kSettingsSource: "Ads" under the element rootName; else the file's own "Ads".
    CQelADCtrl(BYTE sourceKind, const wchar_t* fileName, const wchar_t* rootName);

    // Loads the list while it is empty, then shows the entry the tick count picks.
    void ShowNextAd();
    const std::vector<QELADDATA>& GetAds() const { return m_ads; }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;

private:
    void LoadAds();

    BYTE m_sourceKind;
    std::wstring m_fileName;
    std::wstring m_rootName;
    std::vector<QELADDATA> m_ads;
};

class CReaderADCtrl : public CQelADCtrl {
public:
    CReaderADCtrl();
};

// Whether an advertisement's address may be shown: http:// or https://, in any case.
BOOL IsWebAdUrl(const std::wstring& url);
