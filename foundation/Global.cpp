#include "foundation/Global.h"

#include <cwchar>

#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"

CQelGlobalDefault::CQelGlobalDefault(const wchar_t* appName, BOOL deleteTempFolderAtExit)
    : m_appName(appName ? appName : L""), m_deleteTempFolderAtExit(deleteTempFolderAtExit)
{
}

CQelGlobalDefault::~CQelGlobalDefault()
{
    if (!m_appName.empty() && m_deleteTempFolderAtExit && !m_tempFolder.empty())
        QelDeleteFolderContents(m_tempFolder.c_str());
}

void CQelGlobalDefault::WriteLog(const wchar_t*) {}

std::wstring CQelGlobalDefault::GetTempFolder()
{
    if (m_tempFolder.empty()) {
        std::wstring folder = QelGetTempPath();
        if (!m_appName.empty()) {
            folder += m_appName;
            QelAppendPathSeparator(folder);
            QelEnsureFolder(folder.c_str());
        }
        m_tempFolder = folder;
    }
    return m_tempFolder;
}

BOOL CQelGlobalDefault::IsResourceFilePath(const wchar_t* path)
{
    static const wchar_t prefix[] = L"%ResourceFilePath%/";
    return path && !wcsncmp(path, prefix, wcslen(prefix));
}

void CQelGlobalDefault::OnDownloadProgress(ULONG, ULONG, const wchar_t*) {}

std::wstring CQelGlobalDefault::GetAppName() { return m_appName; }

CTessaryGlobal::CTessaryGlobal() : CQelGlobalDefault(L"Tessary", FALSE) {}

void CTessaryGlobal::WriteLog(const wchar_t* text)
{
    static const std::wstring logPath = QelGetDataFolder() + L"Tessary.log";
    QelWriteLogFile(logPath.c_str(), text);
}

IQelGlobal* TessaryGetGlobal()
{
    static CTessaryGlobal global;
    return &global;
}

void TessaryWriteLog(const wchar_t* text)
{
    TessaryGetGlobal()->WriteLog(text);
}

void TessaryWriteLog(const std::wstring& text)
{
    TessaryGetGlobal()->WriteLog(text.c_str());
}
