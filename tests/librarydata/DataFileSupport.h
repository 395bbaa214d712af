#pragma once
// Making document data files for the tests: archives written in memory, sealed
// with a key text, saved.

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <string>
#include <utility>
#include <vector>

#include "ZipTestSupport.h"
#include "foundation/Encoding.h"
#include "foundation/Sealing.h"
#include "foundation/Streams.h"

using Entries = std::vector<std::pair<std::wstring, std::string>>;

inline Bytes MakeZip(const Entries& entries)
{
    WriterPtr writer(QelZipCreateMemory(nullptr, 16 << 20, nullptr));
    for (const auto& entry : entries)
        QelZipAdd(writer.get(), entry.first.c_str(), entry.second.data(), static_cast<DWORD>(entry.second.size()),
                  QELZIP_SOURCE_MEMORY);
    void* block = nullptr;
    DWORD length = 0;
    if (QelZipGetMemory(writer.get(), &block, &length) != QELZR_OK)
        return Bytes();
    return Bytes(static_cast<BYTE*>(block), static_cast<BYTE*>(block) + length);
}

// The key of this computer, as the data files are sealed.
inline std::string ComputerKey() { return QelGetComputerNameAnsi(); }

inline Bytes Seal(const Bytes& plain, const std::string& key)
{
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        !QelWriteStream(stream.Get(), plain.data(), static_cast<ULONG>(plain.size())) ||
        !QelEncryptStream(key.c_str(), stream.Get()))
        return Bytes();
    Bytes sealed(static_cast<size_t>(QelGetStreamSize(stream.Get())));
    QelSeekStreamToBegin(stream.Get());
    QelReadStream(stream.Get(), sealed.data(), static_cast<ULONG>(sealed.size()));
    return sealed;
}

inline bool SaveDataFile(const std::wstring& path, const Entries& entries, const std::string& key = ComputerKey())
{
    return WriteBytes(path, Seal(MakeZip(entries), key));
}

inline std::string AsText(const BYTE* data, DWORD size) { return std::string(data, data + size); }
