// The sync events of the headless tool: stores as the reader does, answers the
// sign-in from the account and the retry passwords, stops when told to, and
// prints every event as one line.
#pragma once

#include "ConsoleOutput.h"
#include "librarydata/SyncStoreEvents.h"

#include <deque>
#include <string>

class CConsoleSyncEvents : public CTessarySyncStoreEvents
{
public:
    // cancelAfter: the stop question answers "stop" from its cancelAfter-th
    // call on; 0 never.
    CConsoleSyncEvents(CTessaryDatabase* database, std::deque<std::wstring> retryPasswords, int cancelAfter,
                       CConsoleOutput& output);

    void OnStepBegin(int step) override;
    void OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName, int index,
                             int count) override;
    void OnStepProgress(int position, int total) override;
    void OnItemProgress(int done, int total) override;
    void OnLog(int level, const wchar_t* text) override;
    void QueryUserAccount(wchar_t* userName, wchar_t* password) override;
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override;
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override;
    void GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                     TESSARYDOCUMENTDATA* document) override;
    void GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override;
    BOOL GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                         __int64* attachmentVersion) override;
    BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                         __int64 attachmentVersion) override;
    BOOL IsCanceled() override;

protected:
    BOOL AskUserAccount(std::wstring& userName, std::wstring& password) override;
    BOOL IsStop() override;

private:
    std::deque<std::wstring> m_retryPasswords;
    int m_cancelAfter;
    int m_stopQuestions = 0;
    CConsoleOutput& m_output;
};
