#pragma once
// What the main frame needs of the sync dialog, and what the dialog tells the frame.
// The frame owns one; a close during a running sync waits for its end event.
#include <windows.h>

// The status bar's sync pane shows these: a pane from the begin, the overall
// position (0 to 100), and the end.
class ISyncDlgEvents {
public:
    virtual void OnSyncBegin() = 0;
    // After the run's last rows are committed: the frame reloads what it shows.
    virtual void OnSyncEnd() = 0;
    virtual void OnSyncProgress(int position) = 0;

protected:
    ~ISyncDlgEvents() = default;
};

class ISyncDlg {
public:
    virtual ~ISyncDlg() = default;

    // Modeless, without owner, hidden.
    virtual BOOL CreateDialogWindow() = 0;
    virtual BOOL IsDialogWindow() const = 0;
    // Saves the window's state and destroys it.
    virtual void DestroyDialogWindow() = 0;
    virtual void SetEvents(ISyncDlgEvents* events) = 0;

    virtual BOOL IsSyncing() const = 0;
    // A second start while one runs only shows the dialog and answers FALSE.
    virtual BOOL StartSync() = 0;
    virtual void ShowAndActivate() = 0;
};
