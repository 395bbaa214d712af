// The only channel between the sync engine and the rest of the program: steps,
// progress and log lines out; credentials, local records and versions in.
// Every call comes from the sync's worker thread, one at a time.
#pragma once

#include "librarydata/DatabaseRecords.h"
#include "librarydata/HttpServer.h"

#include <windows.h>
#include <objidl.h>

#include <algorithm>
#include <string>

// Step numbers of OnStepBegin.
enum
{
    TESSARY_SYNC_STEP_LOGIN = 0,
    TESSARY_SYNC_STEP_GET_SUBSCRIPTIONS = 1,
    TESSARY_SYNC_STEP_GET_LOCAL_VERSION = 2,
    TESSARY_SYNC_STEP_DOCUMENT_LIST = 3,
    TESSARY_SYNC_STEP_SYNC_DOCUMENTS = 4,
    TESSARY_SYNC_STEP_ATTACHMENT_LIST = 5,
    TESSARY_SYNC_STEP_SYNC_ATTACHMENTS = 6,
};

// Levels of OnLog.
enum
{
    TESSARY_SYNC_LOG_PROGRESS = 0,
    TESSARY_SYNC_LOG_STEP_FAILURE = 1,
    TESSARY_SYNC_LOG_ITEM_FAILURE = 2,
};

// The size of each buffer QueryUserAccount fills, terminator included.
constexpr int TESSARY_SYNC_ACCOUNT_BUFFER = 260;

// Fills one of those buffers: the text cut to the room left by the terminator.
inline void TessaryCopyToAccountBuffer(const std::wstring& text, wchar_t* buffer)
{
    const size_t count = std::min(text.size(), size_t(TESSARY_SYNC_ACCOUNT_BUFFER - 1));
    std::copy_n(text.c_str(), count, buffer);
    buffer[count] = L'\0';
}

struct ITessarySyncEvents : IQelHttpProgress
{
    virtual void OnStepBegin(int step) = 0;
    virtual void OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName, int index,
                                     int count) = 0;
    virtual void OnStepProgress(int position, int total) = 0;
    virtual void OnItemProgress(int done, int total) = 0;
    virtual void OnLog(int level, const wchar_t* text) = 0;
    // Fills two caller-owned buffers of TESSARY_SYNC_ACCOUNT_BUFFER characters;
    // an empty user name or password means the user cancelled.
    virtual void QueryUserAccount(wchar_t* userName, wchar_t* password) = 0;
    // `data` is the document's zip archive, or null when no data comes with the update.
    virtual BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) = 0;
    // `data` is the attachment file's bytes, or null.
    virtual BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) = 0;
    // A document not held locally leaves `document` as it was.
    virtual void GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                             TESSARYDOCUMENTDATA* document) = 0;
    virtual void GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                               TESSARYDOCUMENTATTACHMENTDATA* attachment) = 0;
    // Both versions are -1 before the call; a book never synced leaves them so.
    virtual BOOL GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                                 __int64* attachmentVersion) = 0;
    virtual BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                                 __int64 attachmentVersion) = 0;
    virtual BOOL IsCanceled() = 0;

protected:
    ~ITessarySyncEvents() = default;
};
