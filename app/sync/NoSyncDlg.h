#pragma once
// The sync dialog's stand-in while the program cannot sync: no window, never syncing.
#include "app/sync/SyncDlgInterface.h"

class CNoSyncDlg : public ISyncDlg {
public:
    BOOL CreateDialogWindow() override { return TRUE; }
    BOOL IsDialogWindow() const override { return FALSE; }
    void DestroyDialogWindow() override {}
    void SetEvents(ISyncDlgEvents*) override {}
    BOOL IsSyncing() const override { return FALSE; }
    void StartSync() override {}
    void ShowAndActivate() override {}
};
