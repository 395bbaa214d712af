#include <algorithm>

#include "app/frame/MainFrame.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kMinimumZoom = 10;
constexpr int kMaximumZoom = 1000;
constexpr int kZoomStep = 10;

// The "Zoom" button's click steps through 100, 125 and 150.
int NextZoomStep(int zoom)
{
    if (zoom < 100)
        return 100;
    if (zoom < 125)
        return 125;
    if (zoom < 150)
        return 150;
    return 100;
}

}  // namespace

BOOL CMainFrame::CanZoomActivePage()
{
    CReaderViewBase* view = m_tabView.GetActiveView();
    return view && view->CanZoom();
}

int CMainFrame::GetActivePageZoom()
{
    CReaderViewBase* view = m_tabView.GetActiveView();
    return view ? view->GetZoom() : 100;
}

void CMainFrame::SetActivePageZoom(int percent)
{
    if (CReaderViewBase* view = m_tabView.GetActiveView())
        view->SetZoom(percent);
}

int CMainFrame::GetZoom()
{
    return CanZoomActivePage() ? GetActivePageZoom() : 100;
}

void CMainFrame::SetZoom(int percent)
{
    if (CanZoomActivePage())
        SetActivePageZoom(std::clamp(percent, kMinimumZoom, kMaximumZoom));
    UpdateZoomButton();
}

void CMainFrame::UpdateZoomButton()
{
    m_statusBarPane.SetZoomText(GetZoom());
    m_statusBarPane.EnableZoom(CanZoomActivePage());
}

void CMainFrame::OnZoomCommand(UINT id)
{
    switch (id) {
    case ID_ZOOM:
        SetZoom(NextZoomStep(GetZoom()));
        break;
    case ID_ZOOM_IN:
        SetZoom(GetZoom() + kZoomStep);
        break;
    case ID_ZOOM_OUT:
        SetZoom(GetZoom() - kZoomStep);
        break;
    case ID_ZOOM_400:
        SetZoom(400);
        break;
    case ID_ZOOM_200:
        SetZoom(200);
        break;
    case ID_ZOOM_150:
        SetZoom(150);
        break;
    case ID_ZOOM_125:
        SetZoom(125);
        break;
    case ID_ZOOM_100:
        SetZoom(100);
        break;
    case ID_ZOOM_75:
        SetZoom(75);
        break;
    case ID_ZOOM_50:
        SetZoom(50);
        break;
    case ID_ZOOM_CUSTOM:
        // No dialog: the page's zoom is set again as it stands.
        if (CanZoomActivePage())
            SetZoom(GetZoom());
        break;
    default:
        break;
    }
}
