#include "librarydata/Database.h"

#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Sealing.h"
#include "librarydata/DatabaseSchema.h"
#include "librarydata/SqlText.h"
#include "librarydata/SqlValues.h"

#include <ctime>

namespace {

std::wstring Upper(const wchar_t* text)
{
    std::wstring upper = text ? text : L"";
    if (!upper.empty())
        CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

BOOL CheckNameAndKey(const wchar_t* name, const wchar_t* key)
{
    if (!name || !*name) {
        TessaryWriteLog(L"Meta name is empty!");
        return FALSE;
    }
    if (!key || !*key) {
        TessaryWriteLog(L"Meta key is empty!");
        return FALSE;
    }
    return TRUE;
}

std::wstring NameKeyCondition(const std::wstring& name, const std::wstring& key)
{
    return L"META_NAME=" + QelSqlString(name.c_str()) + L" and META_KEY=" + QelSqlString(key.c_str());
}

}  // namespace

BOOL CTessaryDatabase::GetMeta(const wchar_t* name, const wchar_t* key, std::wstring& value,
                               const wchar_t* defaultValue, BOOL* found)
{
    if (!CheckNameAndKey(name, key))
        return FALSE;
    if (found)
        *found = FALSE;
    const std::wstring condition = NameKeyCondition(Upper(name), Upper(key));
    std::vector<TESSARYMETADATA> metas;
    if (!SQLToMetas(TessarySelectSql(kMetaColumns, kMetaTable, condition.c_str()).c_str(), metas)) {
        TessaryWriteLog(QelFormatString1(L"Failed tog get meta: %1", name));
        return FALSE;
    }
    if (metas.empty()) {
        value = defaultValue ? defaultValue : L"";
        return TRUE;
    }
    value = metas.front().value;
    if (metas.size() > 1)
        TessaryWriteLog(QelFormatString1(L"Warning: too more meta: %1", name));
    if (found)
        *found = TRUE;
    return TRUE;
}

std::wstring CTessaryDatabase::GetMeta(const wchar_t* name, const wchar_t* key, const wchar_t* defaultValue)
{
    std::wstring value;
    BOOL found = FALSE;
    if (GetMeta(name, key, value, defaultValue, &found) && found)
        return value;
    return defaultValue ? defaultValue : L"";
}

BOOL CTessaryDatabase::SetMeta(const wchar_t* name, const wchar_t* key, const wchar_t* value)
{
    if (!CheckNameAndKey(name, key))
        return FALSE;
    const std::wstring newValue = value ? value : L"";
    std::wstring current;
    BOOL found = FALSE;
    GetMeta(name, key, current, nullptr, &found);
    if (current == newValue)
        return TRUE;

    const std::wstring upperName = Upper(name);
    const std::wstring upperKey = Upper(key);
    std::wstring sql;
    if (found) {
        sql = L"update QEL_READER_META set META_VALUE=" + QelSqlString(newValue.c_str()) + L" where " +
              NameKeyCondition(upperName, upperKey);
    } else {
        sql = L"insert into QEL_READER_META (" + std::wstring(kMetaColumns) + L") values (" +
              QelSqlString(upperName.c_str()) + L", " + QelSqlString(upperKey.c_str()) + L", " +
              QelSqlString(newValue.c_str()) + L", " + QelSqlTime(_time64(nullptr)) + L")";
    }
    if (ExecSQL(sql.c_str()))
        return TRUE;
    // Built by concatenation: a value holding "%2" must show as it is.
    TessaryWriteLog(L"Failed to update meta, meta name= " + std::wstring(name) + L", meta key = " + key +
                    L", meta value = " + newValue);
    return FALSE;
}

BOOL CTessaryDatabase::GetAllMetas(std::vector<TESSARYMETADATA>& metas)
{
    return SQLToMetas(TessarySelectSql(kMetaColumns, kMetaTable).c_str(), metas);
}

BOOL CTessaryDatabase::GetMetasByName(const wchar_t* name, std::vector<TESSARYMETADATA>& metas)
{
    if (!name || !*name) {
        TessaryWriteLog(L"Meta name is empty!");
        return FALSE;
    }
    // Names are stored upper-cased, so they are looked up that way too.
    const std::wstring condition = L"META_NAME=" + QelSqlString(Upper(name).c_str());
    return SQLToMetas(TessarySelectSql(kMetaColumns, kMetaTable, condition.c_str()).c_str(), metas);
}

BOOL CTessaryDatabase::SetSubscriptionName(const wchar_t* subscriptionGuid, const wchar_t* name)
{
    return SetMeta(subscriptionGuid, L"Subscription", name);
}

BOOL CTessaryDatabase::GetLocalVersion(const wchar_t* subscriptionGuid, __int64& documentVersion,
                                       __int64& attachmentVersion)
{
    const std::wstring document = GetMeta(subscriptionGuid, L"DocumentVersion", L"");
    const std::wstring attachment = GetMeta(subscriptionGuid, L"AttachmentVersion", L"");
    documentVersion = document.empty() ? -1 : _wtoi64(document.c_str());
    attachmentVersion = attachment.empty() ? -1 : _wtoi64(attachment.c_str());
    return TRUE;
}

BOOL CTessaryDatabase::SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                                       __int64 attachmentVersion)
{
    return SetMeta(subscriptionGuid, L"DocumentVersion", std::to_wstring(documentVersion).c_str()) &&
           SetMeta(subscriptionGuid, L"AttachmentVersion", std::to_wstring(attachmentVersion).c_str());
}

std::wstring CTessaryDatabase::GetAccountUserName()
{
    return GetMeta(L"Account", L"UserName", L"");
}

BOOL CTessaryDatabase::SetAccountUserName(const wchar_t* userName)
{
    return SetMeta(L"Account", L"UserName", userName);
}

std::wstring CTessaryDatabase::GetAccountPassword()
{
    return QelDecryptPassword(GetMeta(L"Account", L"Password", L"").c_str());
}

BOOL CTessaryDatabase::SetAccountPassword(const wchar_t* password)
{
    return SetMeta(L"Account", L"Password", QelEncryptPassword(password).c_str());
}

BOOL CTessaryDatabase::GetDownloadAll()
{
    return GetMeta(L"Sync", L"DownloadAll", L"") == L"1";
}

BOOL CTessaryDatabase::SetDownloadAll(BOOL downloadAll)
{
    return SetMeta(L"Sync", L"DownloadAll", downloadAll ? L"1" : L"0");
}
