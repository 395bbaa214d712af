#include "app/sync/SyncEventBridge.h"

namespace {

// A day: the "Account" question may wait that long for its user.
constexpr UINT kSendTimeout = 86400000;
constexpr DWORD kProgressInterval = 100;

}  // namespace

CTessarySyncEventBridge::Answer CTessarySyncEventBridge::Send(int code, TESSARYSYNCEVENTDATA& record) const
{
    DWORD_PTR result = 0;
    const LRESULT delivered = ::SendMessageTimeoutW(m_target, WM_QEL_SYNCEVENT, static_cast<WPARAM>(code),
                                                    reinterpret_cast<LPARAM>(&record), SMTO_BLOCK, kSendTimeout,
                                                    &result);
    return Answer{delivered != 0, delivered ? static_cast<LRESULT>(result) : 0};
}

BOOL CTessarySyncEventBridge::SendForSuccess(int code, TESSARYSYNCEVENTDATA& record) const
{
    const Answer answer = Send(code, record);
    return answer.delivered && answer.result != 0;
}

int CTessarySyncEventBridge::OnHttpProgress(DWORD done, DWORD total)
{
    const DWORD now = ::GetTickCount();
    const BOOL repeated = m_progressSent && done == m_progressDone && total == m_progressTotal;
    const BOOL ended = total != 0 && done >= total;
    if (repeated || (m_progressSent && !ended && now - m_progressTick < kProgressInterval))
        return 0;
    m_progressSent = TRUE;
    m_progressTick = now;
    m_progressDone = done;
    m_progressTotal = total;
    OnItemProgress(static_cast<int>(done), static_cast<int>(total));
    return 0;
}

void CTessarySyncEventBridge::OnStepBegin(int step)
{
    TESSARYSYNCEVENTDATA record;
    record.step = step;
    Send(TESSARY_SYNC_EVENT_STEP_BEGIN, record);
}

void CTessarySyncEventBridge::OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName,
                                                  int index, int count)
{
    TESSARYSYNCEVENTDATA record;
    record.subscriptionGuid = subscriptionGuid;
    record.subscriptionName = subscriptionName;
    record.subscriptionIndex = index;
    record.subscriptionCount = count;
    Send(TESSARY_SYNC_EVENT_SUBSCRIPTION_BEGIN, record);
}

void CTessarySyncEventBridge::OnStepProgress(int position, int total)
{
    TESSARYSYNCEVENTDATA record;
    record.position = position;
    record.total = total;
    Send(TESSARY_SYNC_EVENT_STEP_PROGRESS, record);
}

void CTessarySyncEventBridge::OnItemProgress(int done, int total)
{
    TESSARYSYNCEVENTDATA record;
    record.position = done;
    record.total = total;
    Send(TESSARY_SYNC_EVENT_ITEM_PROGRESS, record);
}

void CTessarySyncEventBridge::OnLog(int level, const wchar_t* text)
{
    TESSARYSYNCEVENTDATA record;
    record.logLevel = level;
    record.logText = text;
    Send(TESSARY_SYNC_EVENT_LOG, record);
}

void CTessarySyncEventBridge::QueryUserAccount(wchar_t* userName, wchar_t* password)
{
    TESSARYSYNCEVENTDATA record;
    record.userName = userName;
    record.password = password;
    if (!Send(TESSARY_SYNC_EVENT_QUERY_USER_ACCOUNT, record).delivered && userName && password) {
        userName[0] = L'\0';
        password[0] = L'\0';
    }
}

BOOL CTessarySyncEventBridge::UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data)
{
    TESSARYSYNCEVENTDATA record;
    record.document = document;
    record.data = data;
    return SendForSuccess(TESSARY_SYNC_EVENT_UPDATE_DOCUMENT, record);
}

BOOL CTessarySyncEventBridge::UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data)
{
    TESSARYSYNCEVENTDATA record;
    record.attachment = attachment;
    record.data = data;
    return SendForSuccess(TESSARY_SYNC_EVENT_UPDATE_ATTACHMENT, record);
}

void CTessarySyncEventBridge::GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                                          TESSARYDOCUMENTDATA* document)
{
    TESSARYSYNCEVENTDATA record;
    record.subscriptionGuid = subscriptionGuid;
    record.itemGuid = documentGuid;
    record.documentOut = document;
    Send(TESSARY_SYNC_EVENT_GET_DOCUMENT, record);
}

void CTessarySyncEventBridge::GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                                            TESSARYDOCUMENTATTACHMENTDATA* attachment)
{
    TESSARYSYNCEVENTDATA record;
    record.subscriptionGuid = subscriptionGuid;
    record.itemGuid = attachmentGuid;
    record.attachmentOut = attachment;
    Send(TESSARY_SYNC_EVENT_GET_ATTACHMENT, record);
}

BOOL CTessarySyncEventBridge::GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                                              __int64* attachmentVersion)
{
    TESSARYSYNCEVENTDATA record;
    record.subscriptionGuid = subscriptionGuid;
    record.documentVersionOut = documentVersion;
    record.attachmentVersionOut = attachmentVersion;
    return SendForSuccess(TESSARY_SYNC_EVENT_GET_LOCAL_VERSION, record);
}

BOOL CTessarySyncEventBridge::SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                                              __int64 attachmentVersion)
{
    TESSARYSYNCEVENTDATA record;
    record.subscriptionGuid = subscriptionGuid;
    record.documentVersion = documentVersion;
    record.attachmentVersion = attachmentVersion;
    return SendForSuccess(TESSARY_SYNC_EVENT_SET_LOCAL_VERSION, record);
}

BOOL CTessarySyncEventBridge::IsCanceled()
{
    BOOL stop = FALSE;
    TESSARYSYNCEVENTDATA record;
    record.stopOut = &stop;
    Send(TESSARY_SYNC_EVENT_IS_CANCELED, record);
    return stop;
}

LRESULT TessaryDispatchSyncEvent(ITessarySyncEvents& events, WPARAM code, LPARAM lParam)
{
    TESSARYSYNCEVENTDATA* const record = reinterpret_cast<TESSARYSYNCEVENTDATA*>(lParam);
    if (!record)
        return 0;
    TESSARYSYNCEVENTDATA& r = *record;
    switch (code) {
    case TESSARY_SYNC_EVENT_STEP_BEGIN:
        events.OnStepBegin(r.step);
        return 0;
    case TESSARY_SYNC_EVENT_SUBSCRIPTION_BEGIN:
        events.OnSubscriptionBegin(r.subscriptionGuid, r.subscriptionName, r.subscriptionIndex, r.subscriptionCount);
        return 0;
    case TESSARY_SYNC_EVENT_STEP_PROGRESS:
        events.OnStepProgress(r.position, r.total);
        return 0;
    case TESSARY_SYNC_EVENT_ITEM_PROGRESS:
        events.OnItemProgress(r.position, r.total);
        return 0;
    case TESSARY_SYNC_EVENT_LOG:
        events.OnLog(r.logLevel, r.logText);
        return 0;
    case TESSARY_SYNC_EVENT_QUERY_USER_ACCOUNT:
        events.QueryUserAccount(r.userName, r.password);
        return r.userName && r.password && r.userName[0] && r.password[0];
    case TESSARY_SYNC_EVENT_UPDATE_DOCUMENT:
        return events.UpdateDocument(r.document, r.data);
    case TESSARY_SYNC_EVENT_UPDATE_ATTACHMENT:
        return events.UpdateAttachment(r.attachment, r.data);
    case TESSARY_SYNC_EVENT_GET_DOCUMENT:
        events.GetDocument(r.subscriptionGuid, r.itemGuid, r.documentOut);
        return 0;
    case TESSARY_SYNC_EVENT_GET_ATTACHMENT:
        events.GetAttachment(r.subscriptionGuid, r.itemGuid, r.attachmentOut);
        return 0;
    case TESSARY_SYNC_EVENT_GET_LOCAL_VERSION:
        return events.GetLocalVersion(r.subscriptionGuid, r.documentVersionOut, r.attachmentVersionOut);
    case TESSARY_SYNC_EVENT_SET_LOCAL_VERSION:
        return events.SetLocalVersion(r.subscriptionGuid, r.documentVersion, r.attachmentVersion);
    case TESSARY_SYNC_EVENT_IS_CANCELED: {
        const BOOL stop = events.IsCanceled();
        if (r.stopOut)
            *r.stopOut = stop;
        return stop;
    }
    default:
        return 0;
    }
}
