// How the sync dialog shows the engine's events: the step rows, the bars, the log.
#include "app/sync/SyncDlg.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "app/sync/SyncProgress.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// FALSE when the bar already stood there: each change repaints it.
BOOL SetBar(HWND bar, int position, int maximum)
{
    BOOL changed = FALSE;
    if (::SendMessageW(bar, PBM_GETRANGE, FALSE, 0) != maximum) {
        ::SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
        changed = TRUE;
    }
    if (::SendMessageW(bar, PBM_GETPOS, 0, 0) != position) {
        ::SendMessageW(bar, PBM_SETPOS, position, 0);
        changed = TRUE;
    }
    return changed;
}

}  // namespace

void CSyncDlg::InitStepList()
{
    const HWND list = GetDlgItem(IDC_SYNC_STEPS);
    m_stepImages.Attach(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0));
    for (const UINT icon : {IDI_STEP_RUNNING, IDI_STEP_DONE, IDI_STEP_FAILED}) {
        const CIconOwner image(static_cast<HICON>(
            ::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, 0)));
        ::ImageList_AddIcon(m_stepImages, image);
    }
    ListView_SetImageList(list, m_stepImages.Get(), LVSIL_SMALL);

    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = CWindowRef(list).GetClientRect().right - ::GetSystemMetrics(SM_CXVSCROLL);
    std::wstring header = QelTranslateText(L"Step");
    column.pszText = header.data();
    ListView_InsertColumn(list, 0, &column);
    for (int row = 0; row < kStepCount; ++row) {
        std::wstring text = GetStepName(row);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.iImage = I_IMAGENONE;
        item.pszText = text.data();
        ListView_InsertItem(list, &item);
    }
}

std::wstring CSyncDlg::GetStepName(int step) const
{
    return step >= 0 && step < kStepCount ? QelTranslateStringResource(IDS_STEP_LOGIN + step) : std::wstring();
}

void CSyncDlg::SetStepImage(int row, int image) const
{
    if (row < 0 || row >= kStepCount)
        return;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    ListView_SetItem(GetDlgItem(IDC_SYNC_STEPS), &item);
}

void CSyncDlg::SetStepText(const std::wstring& text) const
{
    SetDlgItemText(IDC_SYNC_STEP_TEXT, text.c_str());
}

void CSyncDlg::SetStatusText(const wchar_t* text) const
{
    SetDlgItemText(IDC_SYNC_STATUS_TEXT, text);
}

void CSyncDlg::SetProgress(int position, int maximum)
{
    if (SetBar(GetDlgItem(IDC_SYNC_OVERALL_PROGRESS), position, maximum) && m_events)
        m_events->OnSyncProgress(position);
}

void CSyncDlg::UpdateProgress(int position, int total)
{
    SetProgress(TessarySyncOverallProgress(GetCurrentStep(), GetBookIndex(), GetBookCount(), position, total), 100);
}

void CSyncDlg::OnStepBegin(int step)
{
    CTessarySyncStoreEvents::OnStepBegin(step);
    if (step > 0)
        SetStepImage(step - 1, 1);
    SetStepImage(step, 0);
    wchar_t text[256]{};
    ListView_GetItemText(GetDlgItem(IDC_SYNC_STEPS), step, 0, text, 256);
    SetStepText(step >= 0 && step < kStepCount ? text : L"");
    UpdateProgress(0, 0);
}

void CSyncDlg::OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName, int index,
                                   int count)
{
    CTessarySyncStoreEvents::OnSubscriptionBegin(subscriptionGuid, subscriptionName, index, count);
    const HWND list = GetDlgItem(IDC_SYNC_STEPS);
    for (int row = TESSARY_SYNC_STEP_GET_LOCAL_VERSION; row < kStepCount; ++row) {
        std::wstring text = GetStepName(row) + QelFormatString3(L" (%1, %2/%3)", subscriptionName ? subscriptionName : L"",
                                                                QelIntToStr(index + 1).c_str(),
                                                                QelIntToStr(count).c_str());
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.iImage = I_IMAGENONE;
        item.pszText = text.data();
        ListView_SetItem(list, &item);
    }
}

void CSyncDlg::OnStepProgress(int position, int total)
{
    UpdateProgress(position, total);
}

// In per cent of the transfer: a bar whose range changed with every transfer was
// drawn again for each one, and Wine draws a visible bar at once on each change.
void CSyncDlg::OnItemProgress(int done, int total)
{
    const int percent = total > 0 ? static_cast<int>(std::min<long long>(100, 100LL * done / total)) : 0;
    SetBar(GetDlgItem(IDC_SYNC_ITEM_PROGRESS), percent, 100);
}

void CSyncDlg::OnLog(int level, const wchar_t* text)
{
    CTessarySyncStoreEvents::OnLog(level, text);
    if (!text)
        return;
    switch (level) {
    case TESSARY_SYNC_LOG_PROGRESS:
        AddLogLine(text, kBlack, FALSE);
        SetStatusText(text);
        break;
    case TESSARY_SYNC_LOG_STEP_FAILURE:
        AddLogLine(text, kRed, TRUE);
        break;
    case TESSARY_SYNC_LOG_ITEM_FAILURE:
        AddLogLine(text, kRed, FALSE);
        break;
    }
}

void CSyncDlg::AddLogLine(const wchar_t* text, COLORREF colour, BOOL bold)
{
    if (!m_pendingLog.empty() && (colour != m_pendingColour || bold != m_pendingBold))
        FlushLog();
    m_pendingColour = colour;
    m_pendingBold = bold;
    m_pendingLog.append(text).append(L"\r\n");
}

void CSyncDlg::FlushLog()
{
    if (m_pendingLog.empty() || !IsWindow())
        return;
    const HWND log = GetDlgItem(IDC_SYNC_LOG);
    // At the end first, so that the format applies to what is appended.
    ::SendMessageW(log, EM_SETSEL, -1, -1);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD;
    format.dwEffects = m_pendingBold ? CFE_BOLD : 0;
    format.crTextColor = m_pendingColour;
    ::SendMessageW(log, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(m_pendingLog.c_str()));
    ::SendMessageW(log, EM_SCROLLCARET, 0, 0);
    m_pendingLog.clear();
}
