#include "app/sync/SyncDlg.h"

#include <commctrl.h>
#include <richedit.h>

#include <memory>

#include "app/dialogs/QueryUserAccountDlg.h"
#include "controls/ThemedBorder.h"
#include "foundation/Global.h"
#include "foundation/MessageBox.h"
#include "foundation/Translations.h"
#include "librarydata/SyncEngine.h"
#include "resources/ResourceIds.h"

namespace {

constexpr wchar_t kSection[] = L"SyncDlg";
constexpr int kIconSize = 64;
constexpr int kIconMargin = 12;
constexpr int kCollapsedMinimumWidth = 400;
constexpr int kFirstExpandGrowth = 200;
constexpr int kExpandedSlack = 100;
constexpr LPARAM kLogTextLimit = 0x7FFFFFFF;

struct SyncThreadParam {
    ITessarySyncEvents* events;
    BOOL downloadAll;
};

DWORD WINAPI SyncThreadProc(void* parameter)
{
    const std::unique_ptr<SyncThreadParam> param(static_cast<SyncThreadParam*>(parameter));
    if (!param)
        return 0;
    ::CoInitialize(nullptr);
    const BOOL synced = TessarySyncAccount(param->events, param->downloadAll);
    ::CoUninitialize();
    return synced ? 0 : static_cast<DWORD>(-1);
}

}  // namespace

CSyncDlg::CSyncDlg(CTessaryDatabase* database)
    : CDialogObject(IDD_SYNC),
      CTessarySyncStoreEvents(database),
      CQelWindowState<CSyncDlg, CTessarySettings>(kSection)
{
    for (int i = 0; i < 4; ++i) {
        m_icons[i].Attach(static_cast<HICON>(::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(IDI_SYNC_FRAME_1 + i),
                                                          IMAGE_ICON, kIconSize, kIconSize, 0)));
    }
}

CSyncDlg::~CSyncDlg()
{
    if (IsWindow())
        DestroyDialogWindow();
    // Without the window every event fails at once, so the engine ends soon.
    if (m_thread)
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
}

BOOL CSyncDlg::CreateDialogWindow()
{
    if (IsWindow())
        return TRUE;
    if (!Create(nullptr)) {
        TessaryWriteLog(L"Failed to create sync dialog!");
        return FALSE;
    }
    m_bridge.SetTarget(m_hWnd);
    if (CUiMessageLoop* loop = UiModule().GetMessageLoop())
        loop->AddMessageFilter(this);
    return TRUE;
}

void CSyncDlg::DestroyDialogWindow()
{
    if (!IsWindow())
        return;
    if (CUiMessageLoop* loop = UiModule().GetMessageLoop())
        loop->RemoveMessageFilter(this);
    SaveState();
    DestroyWindow();
}

BOOL CSyncDlg::PreTranslateMessage(MSG* message)
{
    if (!IsWindow() || (message->hwnd != m_hWnd && !::IsChild(m_hWnd, message->hwnd)))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, message);
}

BOOL CSyncDlg::IsSyncing() const
{
    if (!m_thread)
        return FALSE;
    DWORD code = 0;
    return !::GetExitCodeThread(m_thread.Get(), &code) || code == STILL_ACTIVE;
}

void CSyncDlg::ShowAndActivate()
{
    FlushLog();
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
}

BOOL CSyncDlg::IsVisibleSetting()
{
    return CTessarySettings().GetBool(kSection, L"Visible", FALSE);
}

BOOL CSyncDlg::StartSync()
{
    if (IsSyncing()) {
        ShowAndActivate();
        return FALSE;
    }
    // Every event of the run goes to the window, and its timer finds the run's end.
    if (!IsWindow()) {
        TessaryWriteLog(L"Failed to start sync: no sync dialog!");
        return FALSE;
    }
    m_thread.Close();
    ResetRun();
    auto param = std::make_unique<SyncThreadParam>(SyncThreadParam{&m_bridge, TRUE});
    DWORD threadId = 0;
    m_thread.Attach(::CreateThread(nullptr, 0, SyncThreadProc, param.get(), 0, &threadId));
    if (!m_thread) {
        QelMessageBoxById(IDS_THREAD_FAILED, MB_ICONERROR, nullptr);
        return FALSE;
    }
    param.release();  // the thread frees it
    CWindowRef(GetDlgItem(IDC_SYNC_STOP)).EnableWindow(TRUE);
    ::SetTimer(m_hWnd, kPollTimer, 100, nullptr);
    ::SetTimer(m_hWnd, kIconTimer, 100, nullptr);
    if (m_events)
        m_events->OnSyncBegin();
    if (IsVisibleSetting())
        ShowAndActivate();
    return TRUE;
}

void CSyncDlg::ResetRun()
{
    Reset();
    if (!IsWindow())
        return;
    for (int row = 0; row < kStepCount; ++row)
        SetStepImage(row, I_IMAGENONE);
    m_pendingLog.clear();
    SetDlgItemText(IDC_SYNC_LOG, L"");
}

void CSyncDlg::StopTimers()
{
    ::KillTimer(m_hWnd, kPollTimer);
    ::KillTimer(m_hWnd, kIconTimer);
}

void CSyncDlg::OnSyncFinished(int exitCode)
{
    CWindowRef(GetDlgItem(IDC_SYNC_STOP)).EnableWindow(FALSE);
    FlushLog();
    // Rows that no version claims yet are kept too.
    const BOOL committed = EndRun();
    const BOOL success = exitCode >= 0 && committed;
    if (!success) {
        SetStepImage(GetCurrentStep(), 2);
        ShowAndActivate();
        QelMessageBoxById(IDS_SYNC_FAILED, MB_ICONWARNING, m_hWnd);
    } else {
        CTessarySettings().SetBool(kSection, L"Visible", IsWindowVisible());
        SetProgress(100, 100);
        SetStepImage(GetCurrentStep(), 1);
        PostMessage(WM_COMMAND, IDCANCEL);
    }
    if (m_events)
        m_events->OnSyncEnd();
}

void CSyncDlg::OnTimer(UINT_PTR id)
{
    if (id == kPollTimer) {
        // A tick already queued when the run was finished finds no thread.
        if (!m_thread || IsSyncing())
            return;
        StopTimers();
        DWORD code = 0;
        ::GetExitCodeThread(m_thread.Get(), &code);
        m_thread.Close();
        OnSyncFinished(static_cast<int>(code));
    } else if (id == kIconTimer) {
        FlushLog();
        ++m_iconCounter;
        SendDlgItemMessageW(m_hWnd, IDC_SYNC_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(m_icons[m_iconCounter & 3].Get()), 0);
    }
}

BOOL CSyncDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                    DWORD mapId)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return TRUE;
    case WM_TIMER:
        if (wParam != kPollTimer && wParam != kIconTimer)
            break;
        OnTimer(wParam);
        result = 0;
        return TRUE;
    case WM_CLOSE:
        ShowWindow(SW_HIDE);
        result = 0;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
        case IDC_SYNC_HIDE:
            PostMessage(WM_CLOSE);
            return TRUE;
        case IDC_SYNC_DETAILS:
            ToggleDetails();
            return TRUE;
        case IDC_SYNC_STOP:
            SetStop(TRUE);
            CWindowRef(GetDlgItem(IDC_SYNC_STOP)).EnableWindow(FALSE);
            return TRUE;
        }
        break;
    case WM_QEL_SYNCEVENT:
        result = TessaryDispatchSyncEvent(*this, wParam, lParam);
        return TRUE;
    }
    if (ProcessResizing(hwnd, message, wParam, lParam, result))
        return TRUE;
    return CDialogObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CSyncDlg::OnInitDialog()
{
    CenterWindow();
    QelTranslateWindow(m_hWnd);
    QelAttachThemedBorder(GetDlgItem(IDC_SYNC_LOG));
    // A rich edit takes 32,767 characters unless told otherwise; a long run logs more.
    SendDlgItemMessageW(m_hWnd, IDC_SYNC_LOG, EM_EXLIMITTEXT, 0, kLogTextLimit);
    PlaceIcon();
    InitStepList();
    InitResizing(m_hWnd,
                 {{IDC_SYNC_STEPS, kResizeSizeY},
                  {IDC_SYNC_OVERALL_PROGRESS, kResizeSizeX},
                  {IDC_SYNC_ITEM_PROGRESS, kResizeSizeX},
                  {IDC_SYNC_STEP_TEXT, kResizeSizeX},
                  {IDC_SYNC_STATUS_TEXT, kResizeSizeX},
                  {IDC_SYNC_LOG, kResizeSizeX | kResizeSizeY},
                  {IDC_SYNC_ICON, kResizeMoveX},
                  {IDC_SYNC_STOP, kResizeMoveX},
                  {IDC_SYNC_HIDE, kResizeMoveX}},
                 TRUE);
    ToggleDetails();
    RestoreState(FALSE);
}

void CSyncDlg::PlaceIcon()
{
    const RECT client = GetClientRect();
    const int right = client.right - kIconMargin;
    ::SetWindowPos(GetDlgItem(IDC_SYNC_ICON), nullptr, right - kIconSize, kIconMargin, kIconSize, kIconSize,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    SendDlgItemMessageW(m_hWnd, IDC_SYNC_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(m_icons[m_iconCounter & 3].Get()), 0);
}

int CSyncDlg::CollapsedHeight() const
{
    RECT steps = CWindowRef(GetDlgItem(IDC_SYNC_STEPS)).GetWindowRect();
    return steps.top - GetWindowRect().top - 2;
}

void CSyncDlg::SetHeight(int height) const
{
    const RECT window = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSyncDlg::ToggleDetails()
{
    const int collapsed = CollapsedHeight();
    const RECT window = GetWindowRect();
    const int height = window.bottom - window.top;
    if (height <= collapsed + kExpandedSlack) {
        SetHeight(m_expandedHeight > collapsed ? m_expandedHeight : collapsed + kFirstExpandGrowth);
        return;
    }
    m_expandedHeight = height;
    // First: the system keeps a resizable window to its minimum tracking size.
    SetMinTrackSize(SIZE{kCollapsedMinimumWidth, collapsed});
    SetHeight(collapsed);
}

BOOL CSyncDlg::AskUserAccount(std::wstring& userName, std::wstring& password)
{
    ShowAndActivate();
    CQueryUserAccountDlg dialog(userName, password);
    if (dialog.DoModal(m_hWnd) != IDOK)
        return FALSE;
    userName = dialog.GetUserName();
    password = dialog.GetPassword();
    return TRUE;
}
