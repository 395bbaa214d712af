#include "librarydata/SyncStoreEvents.h"

#include "foundation/Global.h"
#include "librarydata/SubscriptionServers.h"

#include <algorithm>

namespace {

constexpr int kMostRowsPerPage = 100;

}  // namespace

CTessarySyncStoreEvents::CTessarySyncStoreEvents(CTessaryDatabase* database) : m_database(database)
{
}

CTessarySyncStoreEvents::~CTessarySyncStoreEvents()
{
    EndRun();
}

void CTessarySyncStoreEvents::Reset()
{
    CommitPage();
    m_step = 0;
    m_userName.clear();
    m_password.clear();
    m_stop = FALSE;
}

BOOL CTessarySyncStoreEvents::EndRun()
{
    return CommitPage();
}

void CTessarySyncStoreEvents::BeginPage()
{
    // Without a transaction every row is stored on its own, which is slower but as safe.
    if (!m_inTransaction && m_database) {
        m_inTransaction = m_database->BeginTransaction();
        m_pageRows = 0;
    }
}

BOOL CTessarySyncStoreEvents::EndRow()
{
    if (!m_inTransaction || ++m_pageRows < std::min(TessaryGetCountPerPage(), kMostRowsPerPage))
        return TRUE;
    return CommitPage();
}

BOOL CTessarySyncStoreEvents::CommitPage()
{
    if (!m_inTransaction)
        return TRUE;
    m_inTransaction = FALSE;
    return m_database->CommitTransaction();
}

int CTessarySyncStoreEvents::OnHttpProgress(DWORD done, DWORD total)
{
    OnItemProgress(int(done), int(total));
    return 0;
}

void CTessarySyncStoreEvents::OnStepBegin(int step)
{
    m_step = step;
}

void CTessarySyncStoreEvents::OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName,
                                                  int index, int count)
{
    // Rows of the last book that no version claims (a stopped list) are kept.
    CommitPage();
    m_bookIndex = index;
    m_bookCount = count;
    if (m_database && subscriptionGuid)
        m_database->SetSubscriptionName(subscriptionGuid, subscriptionName ? subscriptionName : L"");
}

void CTessarySyncStoreEvents::OnStepProgress(int, int)
{
}

void CTessarySyncStoreEvents::OnItemProgress(int, int)
{
}

void CTessarySyncStoreEvents::OnLog(int level, const wchar_t* text)
{
    if ((level == TESSARY_SYNC_LOG_STEP_FAILURE || level == TESSARY_SYNC_LOG_ITEM_FAILURE) && text)
        TessaryWriteLog(text);
}

void CTessarySyncStoreEvents::QueryUserAccount(wchar_t* userName, wchar_t* password)
{
    if (!userName || !password)
        return;
    BOOL ask = TRUE;
    // Both cached means this run asked before and the answer was refused.
    if (m_userName.empty() || m_password.empty()) {
        if (m_database) {
            m_userName = m_database->GetAccountUserName();
            m_password = m_database->GetAccountPassword();
        }
        ask = m_userName.empty() || m_password.empty();
    }
    if (ask) {
        if (!AskUserAccount(m_userName, m_password)) {
            userName[0] = L'\0';
            password[0] = L'\0';
            return;
        }
        if (m_database)
            m_database->SetAccountPassword(m_password.c_str());
    }
    TessaryCopyToAccountBuffer(m_userName, userName);
    TessaryCopyToAccountBuffer(m_password, password);
}

BOOL CTessarySyncStoreEvents::UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data)
{
    BeginPage();
    if (!document || !m_database || !m_database->UpdateDocument(*document, data) || !EndRow()) {
        OnLog(TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to update document!");
        return FALSE;
    }
    return TRUE;
}

BOOL CTessarySyncStoreEvents::UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data)
{
    BeginPage();
    if (!attachment || !m_database || !m_database->UpdateAttachment(*attachment, data) || !EndRow()) {
        OnLog(TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to update attachment!");
        return FALSE;
    }
    return TRUE;
}

void CTessarySyncStoreEvents::GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                                          TESSARYDOCUMENTDATA* document)
{
    if (!document || !m_database || !subscriptionGuid || !documentGuid)
        return;
    TESSARYDOCUMENTDATA held;
    if (m_database->GetDocumentByGuid(subscriptionGuid, documentGuid, held))
        *document = held;
}

void CTessarySyncStoreEvents::GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                                            TESSARYDOCUMENTATTACHMENTDATA* attachment)
{
    if (!attachment || !m_database || !subscriptionGuid || !attachmentGuid)
        return;
    TESSARYDOCUMENTATTACHMENTDATA held;
    if (m_database->GetAttachmentByGuid(subscriptionGuid, attachmentGuid, held))
        *attachment = held;
}

BOOL CTessarySyncStoreEvents::GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                                              __int64* attachmentVersion)
{
    if (!m_database || !subscriptionGuid || !documentVersion || !attachmentVersion)
        return FALSE;
    return m_database->GetLocalVersion(subscriptionGuid, *documentVersion, *attachmentVersion);
}

BOOL CTessarySyncStoreEvents::SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                                              __int64 attachmentVersion)
{
    if (!m_database || !subscriptionGuid)
        return FALSE;
    // The list's rows reach the file before the version that claims them, so
    // no version is stored for rows that SQLite rolled back on an error.
    if (!CommitPage())
        return FALSE;
    return m_database->SetLocalVersion(subscriptionGuid, documentVersion, attachmentVersion);
}

BOOL CTessarySyncStoreEvents::IsCanceled()
{
    return IsStop();
}

BOOL CTessarySyncStoreEvents::AskUserAccount(std::wstring&, std::wstring&)
{
    return FALSE;
}

BOOL CTessarySyncStoreEvents::IsStop()
{
    return m_stop;
}
