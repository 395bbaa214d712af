#include "app/frame/ADCtrl.h"

#include <algorithm>
#include <cwchar>

#include "foundation/Settings.h"

BOOL IsWebAdUrl(const std::wstring& url)
{
    for (const wchar_t* scheme : {L"http://", L"https://"}) {
        if (::_wcsnicmp(url.c_str(), scheme, std::wcslen(scheme)) == 0)
            return TRUE;
    }
    return FALSE;
}

CQelADCtrl::CQelADCtrl(BYTE sourceKind, const wchar_t* fileName, const wchar_t* rootName)
    : m_sourceKind(sourceKind), m_fileName(fileName ? fileName : L""), m_rootName(rootName ? rootName : L"")
{
}

CWindowClassInfo& CQelADCtrl::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_AD", nullptr, 0};
    return info;
}

void CQelADCtrl::LoadAds()
{
    // These readers report nothing to the user: a settings file that does not load
    // is tried again quietly on the next tick.
    std::vector<QELADDATA> ads;
    if (m_sourceKind == kSettingsSource)
        QelLoadADListFromXmlFile(m_fileName.c_str(), m_rootName.c_str(), ads);
    else
        QelLoadADListFromFile(m_fileName.c_str(), ads);
    ads.erase(std::remove_if(ads.begin(), ads.end(), [](const QELADDATA& ad) { return !IsWebAdUrl(ad.url); }),
              ads.end());
    m_ads = std::move(ads);
}

void CQelADCtrl::ShowNextAd()
{
    if (m_ads.empty())
        LoadAds();
    if (m_ads.empty())
        return;
    const QELADDATA& ad = m_ads[::GetTickCount() % m_ads.size()];
    SetWindowText(ad.title.c_str());
    SetTarget(ad.url.c_str());
    Invalidate();
}

BOOL CQelADCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        ::SetTimer(hwnd, kTimerId, kTimerPeriod, nullptr);
        break;
    case WM_TIMER:
        if (wParam == kTimerId) {
            ShowNextAd();
            result = 0;
            return TRUE;
        }
        break;
    case WM_DESTROY:
        ::KillTimer(hwnd, kTimerId);
        break;
    default:
        break;
    }
    return CHyperlink::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

CReaderADCtrl::CReaderADCtrl() : CQelADCtrl(kSettingsSource, QelGetSettingsFileName().c_str(), L"Tessary") {}
