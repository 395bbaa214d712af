// The storing side of a sync: the events object that writes what the engine
// downloads into the account's database, data files and versions, and answers
// the sign-in's questions from the stored credentials.
//
// The rows of a list are stored a page at a time, one database transaction
// for each page (the list's page size, at most 100 rows), and what is left of
// the list is committed just before its version is stored: a crash loses at
// most one page and nothing that a stored version claims, no write stays open
// across more than one page's downloads, and the rows cost no disk flush each.
//
// Everything runs on the thread that calls it. A front end with a window
// marshals each event to its own thread and calls these same operations
// there; a console front end derives from this class and passes it to the
// engine as it is. Derived classes show the run by overriding the display
// events (calling the base where it stores something) and supply
// AskUserAccount and IsStop.
#pragma once

#include "librarydata/Database.h"
#include "librarydata/SyncEvents.h"

#include <string>

class CTessarySyncStoreEvents : public ITessarySyncEvents
{
public:
    explicit CTessarySyncStoreEvents(CTessaryDatabase* database);
    virtual ~CTessarySyncStoreEvents();
    CTessarySyncStoreEvents(const CTessarySyncStoreEvents&) = delete;
    CTessarySyncStoreEvents& operator=(const CTessarySyncStoreEvents&) = delete;

    // Before each run: step 0, credentials read afresh, the stop flag cleared.
    void Reset();
    // After each run: the rows not yet committed are.
    BOOL EndRun();
    void SetStop(BOOL stop) { m_stop = stop; }

    int GetCurrentStep() const { return m_step; }
    int GetBookIndex() const { return m_bookIndex; }
    int GetBookCount() const { return m_bookCount; }

    // The HTTP progress reaches OnItemProgress and never cancels.
    int OnHttpProgress(DWORD done, DWORD total) override;
    void OnStepBegin(int step) override;
    // Stores the book's name.
    void OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName, int index,
                             int count) override;
    void OnStepProgress(int position, int total) override;
    void OnItemProgress(int done, int total) override;
    // Failures (levels 1 and 2) go to the program log too.
    void OnLog(int level, const wchar_t* text) override;
    // The first question of a run is answered from the stored user name and
    // password; a later one (the last answer was refused), or one with nothing
    // stored, asks AskUserAccount and stores the new password sealed.
    void QueryUserAccount(wchar_t* userName, wchar_t* password) override;
    // These answer whether the row (and its file) was stored, and the page it
    // filled committed.
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override;
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override;
    void GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                     TESSARYDOCUMENTDATA* document) override;
    void GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override;
    BOOL GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                         __int64* attachmentVersion) override;
    // Commits the list's rows, then stores the versions; FALSE when either fails.
    BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                         __int64 attachmentVersion) override;
    BOOL IsCanceled() override;

protected:
    // Asks for new credentials, both pre-filled with the refused ones; FALSE is
    // a cancel. The default cancels.
    virtual BOOL AskUserAccount(std::wstring& userName, std::wstring& password);
    // The default answers the stop flag.
    virtual BOOL IsStop();

private:
    void BeginPage();
    // Commits the page once it holds a page's rows.
    BOOL EndRow();
    BOOL CommitPage();

    std::wstring m_userName;
    std::wstring m_password;
    int m_step = 0;
    int m_bookIndex = 0;
    int m_bookCount = 0;
    BOOL m_stop = FALSE;
    BOOL m_inTransaction = FALSE;
    int m_pageRows = 0;
    CTessaryDatabase* m_database;
};
