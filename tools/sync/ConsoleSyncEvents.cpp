#include "ConsoleSyncEvents.h"

#include "foundation/Numbers.h"
#include "foundation/Streams.h"

#include <iterator>
#include <utility>

namespace {

const wchar_t* StepName(int step)
{
    static const wchar_t* const names[] = {L"Login",          L"Get Subscribed Books",      L"Get Local Version",
                                           L"Download Documents List", L"Sync Documents",
                                           L"Download Attachments List", L"Sync Attachments"};
    return step >= 0 && step < int(std::size(names)) ? names[step] : L"";
}

std::wstring Text(const wchar_t* text)
{
    return text ? text : L"";
}

std::wstring Number(__int64 value)
{
    return QelInt64ToStr(value);
}

std::wstring Result(BOOL result)
{
    return result ? L"TRUE" : L"FALSE";
}

// The size of the data handed over, taken before the store works on it.
std::wstring DataSize(IStream* data)
{
    return data ? Number(static_cast<__int64>(QelGetStreamSize(data))) : L"-";
}

std::wstring OrDash(const std::wstring& text)
{
    return text.empty() ? L"-" : text;
}

}  // namespace

CConsoleSyncEvents::CConsoleSyncEvents(CTessaryDatabase* database, std::deque<std::wstring> retryPasswords,
                                       int cancelAfter, CConsoleOutput& output)
    : CTessarySyncStoreEvents(database), m_retryPasswords(std::move(retryPasswords)), m_cancelAfter(cancelAfter),
      m_output(output)
{
}

void CConsoleSyncEvents::OnStepBegin(int step)
{
    CTessarySyncStoreEvents::OnStepBegin(step);
    m_output.WriteFields({L"OnStepBegin", Number(step), StepName(step)});
}

void CConsoleSyncEvents::OnSubscriptionBegin(const wchar_t* subscriptionGuid, const wchar_t* subscriptionName,
                                             int index, int count)
{
    CTessarySyncStoreEvents::OnSubscriptionBegin(subscriptionGuid, subscriptionName, index, count);
    m_output.WriteFields({L"OnSubscriptionBegin", Number(index), Number(count), Text(subscriptionGuid),
                          Text(subscriptionName)});
}

void CConsoleSyncEvents::OnStepProgress(int position, int total)
{
    m_output.WriteFields({L"OnStepProgress", Number(position), Number(total)});
}

void CConsoleSyncEvents::OnItemProgress(int done, int total)
{
    m_output.WriteFields({L"OnItemProgress", Number(done), Number(total)});
}

void CConsoleSyncEvents::OnLog(int level, const wchar_t* text)
{
    CTessarySyncStoreEvents::OnLog(level, text);
    m_output.WriteFields({L"OnLog", Number(level), Text(text)});
}

void CConsoleSyncEvents::QueryUserAccount(wchar_t* userName, wchar_t* password)
{
    CTessarySyncStoreEvents::QueryUserAccount(userName, password);
    // The password is never printed.
    const bool answered = userName && password && userName[0] && password[0];
    m_output.WriteFields({L"QueryUserAccount", userName ? OrDash(userName) : L"-", answered ? L"answered" : L"canceled"});
}

BOOL CConsoleSyncEvents::UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data)
{
    const std::wstring size = DataSize(data);
    const BOOL result = CTessarySyncStoreEvents::UpdateDocument(document, data);
    if (document)
        m_output.WriteFields({L"UpdateDocument", document->subscriptionGuid, document->documentGuid,
                              Number(document->version), document->title, size, Result(result)});
    return result;
}

BOOL CConsoleSyncEvents::UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data)
{
    const std::wstring size = DataSize(data);
    const BOOL result = CTessarySyncStoreEvents::UpdateAttachment(attachment, data);
    if (attachment)
        m_output.WriteFields({L"UpdateAttachment", attachment->subscriptionGuid, attachment->attachmentGuid,
                              attachment->documentGuid, Number(attachment->version), attachment->name, size,
                              Result(result)});
    return result;
}

void CConsoleSyncEvents::GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                                     TESSARYDOCUMENTDATA* document)
{
    CTessarySyncStoreEvents::GetDocument(subscriptionGuid, documentGuid, document);
    m_output.WriteFields({L"GetDocument", Text(subscriptionGuid), Text(documentGuid),
                          document ? OrDash(document->dataMD5) : L"-"});
}

void CConsoleSyncEvents::GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                                       TESSARYDOCUMENTATTACHMENTDATA* attachment)
{
    CTessarySyncStoreEvents::GetAttachment(subscriptionGuid, attachmentGuid, attachment);
    m_output.WriteFields({L"GetAttachment", Text(subscriptionGuid), Text(attachmentGuid),
                          attachment ? OrDash(attachment->dataMD5) : L"-"});
}

BOOL CConsoleSyncEvents::GetLocalVersion(const wchar_t* subscriptionGuid, __int64* documentVersion,
                                         __int64* attachmentVersion)
{
    const BOOL result = CTessarySyncStoreEvents::GetLocalVersion(subscriptionGuid, documentVersion, attachmentVersion);
    m_output.WriteFields({L"GetLocalVersion", Text(subscriptionGuid), documentVersion ? Number(*documentVersion) : L"-",
                          attachmentVersion ? Number(*attachmentVersion) : L"-", Result(result)});
    return result;
}

BOOL CConsoleSyncEvents::SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                                         __int64 attachmentVersion)
{
    const BOOL result = CTessarySyncStoreEvents::SetLocalVersion(subscriptionGuid, documentVersion, attachmentVersion);
    m_output.WriteFields({L"SetLocalVersion", Text(subscriptionGuid), Number(documentVersion),
                          Number(attachmentVersion), Result(result)});
    return result;
}

BOOL CConsoleSyncEvents::IsCanceled()
{
    const BOOL result = CTessarySyncStoreEvents::IsCanceled();
    m_output.WriteFields({L"IsCanceled", Result(result)});
    return result;
}

BOOL CConsoleSyncEvents::AskUserAccount(std::wstring&, std::wstring& password)
{
    // The user name stays as stored; each question takes the next retry password.
    if (m_retryPasswords.empty())
        return FALSE;
    password = m_retryPasswords.front();
    m_retryPasswords.pop_front();
    return TRUE;
}

BOOL CConsoleSyncEvents::IsStop()
{
    ++m_stopQuestions;
    return m_cancelAfter > 0 && m_stopQuestions >= m_cancelAfter;
}
