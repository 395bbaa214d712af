// The program-wide services object: failure log, temporary folder, application name.
#pragma once

#include <windows.h>

#include <string>

struct IQelGlobal
{
    virtual void WriteLog(const wchar_t* text) = 0;
    virtual std::wstring GetTempFolder() = 0;
    virtual BOOL IsResourceFilePath(const wchar_t* path) = 0;
    virtual void OnDownloadProgress(ULONG progress, ULONG progressMax, const wchar_t* statusText) = 0;
    virtual std::wstring GetAppName() = 0;

protected:
    ~IQelGlobal() = default;  // never deleted through the interface
};

class CQelGlobalDefault : public IQelGlobal
{
public:
    CQelGlobalDefault(const wchar_t* appName, BOOL deleteTempFolderAtExit);
    virtual ~CQelGlobalDefault();
    CQelGlobalDefault(const CQelGlobalDefault&) = delete;
    CQelGlobalDefault& operator=(const CQelGlobalDefault&) = delete;

    void WriteLog(const wchar_t* text) override;
    std::wstring GetTempFolder() override;
    BOOL IsResourceFilePath(const wchar_t* path) override;
    void OnDownloadProgress(ULONG progress, ULONG progressMax, const wchar_t* statusText) override;
    std::wstring GetAppName() override;

private:
    std::wstring m_appName;
    std::wstring m_tempFolder;
    BOOL m_deleteTempFolderAtExit;
};

// The reader's services: the log goes to Data\Tessary.log beside the program.
class CTessaryGlobal : public CQelGlobalDefault
{
public:
    CTessaryGlobal();
    ~CTessaryGlobal() override = default;

    void WriteLog(const wchar_t* text) override;
};

// The single services object, built on the first call and kept until exit.
IQelGlobal* TessaryGetGlobal();

// One line through the single services object's log.
void TessaryWriteLog(const wchar_t* text);
void TessaryWriteLog(const std::wstring& text);
