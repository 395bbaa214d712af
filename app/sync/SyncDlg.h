#pragma once
// The modeless "Update" dialog through which the reader syncs. It owns the one
// worker thread, which runs the sync engine on a bridge that hands every event
// to this window; the events are handled here on the user-interface thread,
// where the storing base writes the database and this class shows the run:
// the seven steps, two progress bars, a turning icon and a coloured log.
// A run goes on while the dialog is hidden; the owner hears of its begin,
// progress and end.
#include <windows.h>

#include <string>

#include "app/sync/SyncDlgInterface.h"
#include "app/sync/SyncEventBridge.h"
#include "foundation/Settings.h"
#include "foundation/WindowState.h"
#include "framework/DialogObject.h"
#include "framework/DialogResizer.h"
#include "framework/GdiOwners.h"
#include "framework/Handle.h"
#include "framework/MessageLoop.h"
#include "librarydata/SyncStoreEvents.h"

class CSyncDlg : public CDialogObject,
                 private CDialogResizer,
                 public CTessarySyncStoreEvents,
                 public CQelWindowState<CSyncDlg, CTessarySettings>,
                 public ISyncDlg,
                 private IUiMessageFilter {
public:
    static constexpr UINT_PTR kPollTimer = 100;
    static constexpr UINT_PTR kIconTimer = 101;
    static constexpr int kStepCount = 7;

    explicit CSyncDlg(CTessaryDatabase* database);
    // A run still going is waited for: its worker uses this object.
    ~CSyncDlg() override;

    BOOL CreateDialogWindow() override;
    BOOL IsDialogWindow() const override { return IsWindow(); }
    void DestroyDialogWindow() override;
    void SetEvents(ISyncDlgEvents* events) override { m_events = events; }
    BOOL IsSyncing() const override;
    // FALSE when a run was going (the dialog is only shown) or did not start.
    BOOL StartSync() override;
    void ShowAndActivate() override;

    // The display of the engine's events, calling the storing base first.
    void OnStepBegin(int step) override;
    void OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName, int index,
                             int count) override;
    void OnStepProgress(int position, int total) override;
    void OnItemProgress(int done, int total) override;
    void OnLog(int level, const wchar_t* text) override;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    // Shows the dialog and asks with the "Account" dialog.
    BOOL AskUserAccount(std::wstring& userName, std::wstring& password) override;
    virtual std::wstring GetStepName(int step) const;
    virtual void SetProgress(int position, int maximum);
    // The worker's end, found by the poll timer.
    virtual void OnSyncFinished(int exitCode);

private:
    BOOL PreTranslateMessage(MSG* message) override;

    void OnInitDialog();
    void PlaceIcon();
    void InitStepList();
    void OnTimer(UINT_PTR id);
    void ToggleDetails();
    int CollapsedHeight() const;
    void SetHeight(int height) const;
    void ResetRun();
    void StopTimers();

    void SetStepImage(int row, int image) const;
    void SetStepText(const std::wstring& text) const;
    void SetStatusText(const wchar_t* text) const;
    void UpdateProgress(int position, int total);
    // Lines wait for the icon's tick (or a change of format, the run's end, a
    // show) and go in together: under Wine each append makes the rich edit
    // pass over the whole log and repaint, so a line at a time grows with it.
    void AddLogLine(const wchar_t* text, COLORREF colour, BOOL bold);
    void FlushLog();
    static BOOL IsVisibleSetting();

    CTessarySyncEventBridge m_bridge;
    CHandle m_thread;
    int m_expandedHeight = 0;
    int m_iconCounter = 0;
    CIconOwner m_icons[4];
    CImageListOwner m_stepImages;
    ISyncDlgEvents* m_events = nullptr;
    std::wstring m_pendingLog;
    COLORREF m_pendingColour = 0;
    BOOL m_pendingBold = FALSE;
};
