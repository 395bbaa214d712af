#pragma once
// A document's data file opened into memory: read, deciphered with the
// computer's key, opened as a zip archive, its index page chosen.

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <string>

#include "librarydata/UnZipFile.h"

class COskanDataFile : public CQelUnZipStream {
public:
    COskanDataFile() = default;
    ~COskanDataFile() override;

    BOOL Load(const wchar_t* path);
    // The page chosen at load, taken by its position in the archive, since
    // its name may have been cleaned of leading separators.
    BOOL ExtractIndexFile(BYTE** data, DWORD* size);
    const std::wstring& GetIndexFileName() const { return m_indexFileName; }

    // The position of the index page among the archive's entries, or -1.
    static int FindIndexFile(HQELZIP zip);

private:
    Microsoft::WRL::ComPtr<IStream> m_stream;
    std::wstring m_indexFileName;
    int m_indexFileIndex = -1;
};
