#pragma once
// The sync engine's events object on the worker thread. Each call becomes a
// record on the worker's stack, sent to the sync dialog's window and handled
// there on the user-interface thread while the worker waits; the dialog
// answers through TessaryDispatchSyncEvent.
#include <windows.h>

#include "app/sync/SyncEventRecord.h"
#include "librarydata/SyncEvents.h"

class CTessarySyncEventBridge : public ITessarySyncEvents {
public:
    explicit CTessarySyncEventBridge(HWND target = nullptr) : m_target(target) {}
    void SetTarget(HWND target) { m_target = target; }

    // A transfer reports each piece it moves; the item bar gets the end of each
    // transfer and otherwise at most a few reports a second, since every
    // report is a round trip to the user-interface thread. Never cancels.
    int OnHttpProgress(DWORD done, DWORD total) override;
    void OnStepBegin(int step) override;
    void OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName, int index,
                             int count) override;
    void OnStepProgress(int position, int total) override;
    void OnItemProgress(int done, int total) override;
    void OnLog(int level, const wchar_t* text) override;
    // Empty buffers when the event is not delivered: the engine reads a cancel.
    void QueryUserAccount(wchar_t* userName, wchar_t* password) override;
    // These four answer TRUE only when the event was delivered and the handler
    // succeeded, so that a row the dialog could not store fails its book.
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override;
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override;
    BOOL GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                         __int64* attachmentVersion) override;
    BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                         __int64 attachmentVersion) override;
    void GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                     TESSARYDOCUMENTDATA* document) override;
    void GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override;
    // FALSE when the event is not delivered.
    BOOL IsCanceled() override;

private:
    struct Answer {
        BOOL delivered;
        LRESULT result;
    };
    Answer Send(int code, TESSARYSYNCEVENTDATA& record) const;
    BOOL SendForSuccess(int code, TESSARYSYNCEVENTDATA& record) const;

    HWND m_target;
    BOOL m_progressSent = FALSE;
    DWORD m_progressTick = 0;
    DWORD m_progressDone = 0;
    DWORD m_progressTotal = 0;
};

// The dialog's side: runs the event in lParam's record on these events and
// gives the handler's answer (0 for an unknown code or no record).
LRESULT TessaryDispatchSyncEvent(ITessarySyncEvents& events, WPARAM code, LPARAM record);
