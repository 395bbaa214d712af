#pragma once
// Documents stored as the sync stores them (CTessaryDatabase::UpdateDocument with a
// zip of the zip writer) in a private account folder, and a stand-in main window that
// answers WM_QEL_GETDOCUMENTFILENAME from that database as the frame does.
#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <string>
#include <utility>
#include <vector>

#include "app/frame/DocumentFileName.h"
#include "app/frame/MainFrameMessages.h"
#include "foundation/Streams.h"
#include "foundation/TestFolder.h"
#include "framework/WindowObject.h"
#include "librarydata/Database.h"
#include "librarydata/ZipWriter.h"

using Entries = std::vector<std::pair<std::wstring, std::string>>;

inline constexpr wchar_t kTestSubscription[] = L"5b1d6f0e-7a2c-4c11-9e0f-3d2b1a0c9e8d";

inline std::string ZipOf(const Entries& entries)
{
    HQELZIP writer = QelZipCreateMemory(nullptr, 32 << 20, nullptr);
    for (const auto& entry : entries)
        QelZipAdd(writer, entry.first.c_str(), entry.second.data(), static_cast<DWORD>(entry.second.size()),
                  QELZIP_SOURCE_MEMORY);
    void* block = nullptr;
    DWORD length = 0;
    std::string zip;
    if (QelZipGetMemory(writer, &block, &length) == QELZR_OK)
        zip.assign(static_cast<const char*>(block), length);
    QelZipCloseWriter(writer);
    return zip;
}

// Stores the document's archive; its key, "<subscription guid>_<document guid>".
inline std::wstring StoreDocument(CTessaryDatabase& database, const wchar_t* documentGuid, const Entries& entries)
{
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = kTestSubscription;
    document.documentGuid = documentGuid;
    document.title = documentGuid;
    document.dataMD5 = L"0123456789abcdef0123456789abcdef";
    const Microsoft::WRL::ComPtr<IStream> stream = QelCreateMemoryStream();
    const std::string zip = ZipOf(entries);
    QelWriteStream(stream.Get(), zip.data(), static_cast<ULONG>(zip.size()));
    QelSeekStreamToBegin(stream.Get());
    database.UpdateDocument(document, stream.Get());
    return std::wstring(kTestSubscription) + L"_" + documentGuid;
}

// A database in a private folder.
class CDocumentStore {
public:
    CDocumentStore() { m_database.Open(m_folder.Path().c_str()); }

    std::wstring Add(const wchar_t* documentGuid, const Entries& entries)
    {
        return StoreDocument(m_database, documentGuid, entries);
    }
    CTessaryDatabase& Database() { return m_database; }

private:
    TestFolder m_folder;
    CTessaryDatabase m_database;
};

// Answers the path request as the main frame does and keeps the keys it was asked.
class CFakeMainWindow : public CWindowObject {
public:
    explicit CFakeMainWindow(CTessaryDatabase& database) : m_database(database)
    {
        Create(nullptr, RECT{0, 0, 100, 100}, L"Main", WS_OVERLAPPEDWINDOW);
    }
    ~CFakeMainWindow() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    std::vector<std::wstring> asked;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        if (message != WM_QEL_GETDOCUMENTFILENAME)
            return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
        const std::wstring key = reinterpret_cast<const wchar_t*>(wParam);
        asked.push_back(key);
        result = AnswerDocumentFileName(m_database, key.c_str(), reinterpret_cast<wchar_t*>(lParam));
        return TRUE;
    }

private:
    CTessaryDatabase& m_database;
};
