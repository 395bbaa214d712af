#include "librarydata/ZipWriter.h"

#include <zlib.h>

#include "framework/Handle.h"

#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

CQelZipLastResult g_lastResult;

constexpr DWORD kBlockSize = QELZIP_BLOCK_SIZE;
constexpr int kDeflateLevel = 8;
constexpr DWORD kLocalHeaderSize = 30;
constexpr WORD kFlagEnciphered = 1;
constexpr WORD kFlagDescriptor = 8;
constexpr WORD kMethodStored = 0;
constexpr WORD kMethodDeflated = 8;
constexpr WORD kVersionNeeded = 20;
constexpr WORD kVersionMadeBy = 0x0B17;
constexpr DWORD kEncryptionHeaderSize = 12;

void Put16(std::vector<BYTE>& out, DWORD value)
{
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void Put32(std::vector<BYTE>& out, DWORD value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

DWORD UnixTime(const FILETIME& time)
{
    const ULONGLONG value = (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (value <= QELZIP_UNIX_EPOCH)
        return 0;
    const ULONGLONG seconds = (value - QELZIP_UNIX_EPOCH) / 10000000ULL;
    return seconds > 0xFFFFFFFFULL ? 0xFFFFFFFFu : static_cast<DWORD>(seconds);
}

// Dates before 1980 cannot be written and become its first day.
void DosTime(const FILETIME& utc, WORD& date, WORD& time)
{
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
        date = 0x21;
        time = 0;
    }
}

bool StoredByName(const std::wstring& name)
{
    const size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || name.find(L'/', dot) != std::wstring::npos)
        return false;
    const std::wstring ext = name.substr(dot);
    for (const wchar_t* packed : {L".Z", L".zip", L".zoo", L".arc", L".lzh", L".arj", L".gz", L".tgz"}) {
        if (lstrcmpiW(ext.c_str(), packed) == 0)
            return true;
    }
    return false;
}

// The traditional generator of the encryption headers, seeded once per process.
BYTE NextHeaderByte()
{
    static std::mutex lock;
    static bool seeded = false;
    static DWORD state = 0;
    std::lock_guard<std::mutex> guard(lock);
    if (!seeded) {
        state = GetTickCount() ^ static_cast<DWORD>(reinterpret_cast<UINT_PTR>(GetDesktopWindow()));
        seeded = true;
    }
    state = state * 214013u + 2531011u;
    const DWORD value = (state >> 16) & 0x7FFF;
    return static_cast<BYTE>((value >> 7) & 0xFF);
}

// The traditional zip encryption's three keys.
class CZipCipher {
public:
    explicit CZipCipher(const std::string& password)
    {
        for (char c : password)
            Update(static_cast<BYTE>(c));
    }

    BYTE Encode(BYTE plain)
    {
        const DWORD temp = (m_keys[2] | 2) & 0xFFFF;
        const BYTE mask = static_cast<BYTE>((temp * (temp ^ 1)) >> 8);
        Update(plain);
        return plain ^ mask;
    }

    void Encode(BYTE* data, DWORD size)
    {
        for (DWORD i = 0; i < size; ++i)
            data[i] = Encode(data[i]);
    }

private:
    static DWORD Crc(DWORD crc, BYTE b)
    {
        return static_cast<DWORD>(get_crc_table()[(crc ^ b) & 0xFF]) ^ (crc >> 8);
    }

    void Update(BYTE b)
    {
        m_keys[0] = Crc(m_keys[0], b);
        m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
        m_keys[2] = Crc(m_keys[2], static_cast<BYTE>(m_keys[1] >> 24));
    }

    DWORD m_keys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

struct SourceInfo {
    DWORD length = 0;
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    FILETIME modified{};
    FILETIME accessed{};
    FILETIME created{};
};

// A raw deflate stream, made on first use and ended with its owner.
class CDeflater {
public:
    CDeflater() = default;
    ~CDeflater()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    CDeflater(const CDeflater&) = delete;
    CDeflater& operator=(const CDeflater&) = delete;

    // A fresh stream for the next entry; false when zlib cannot make one.
    bool Start()
    {
        if (m_ready)
            return deflateReset(&m_stream) == Z_OK;
        m_ready = deflateInit2(&m_stream, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        return m_ready;
    }
    z_stream& Stream() { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

struct CViewUnmap {
    void operator()(void* view) const { UnmapViewOfFile(view); }
};

SourceInfo NowInfo(DWORD attributes)
{
    SourceInfo info;
    GetSystemTimeAsFileTime(&info.modified);
    info.accessed = info.created = info.modified;
    info.attributes = attributes;
    return info;
}

} // namespace

class CQelZipWriter : public CQelZipObject {
public:
    void SetPassword(const char* password)
    {
        if (password && *password)
            m_password = password;
    }

    // The file is closed with the writer.
    void OwnFile(CHandle file)
    {
        m_ownedFile = std::move(file);
        UseFile(m_ownedFile.Get());
    }

    void UseFile(HANDLE file)
    {
        m_file = file;
        LARGE_INTEGER zero{};
        LARGE_INTEGER position{};
        m_canSeek = GetFileType(file) == FILE_TYPE_DISK &&
                    SetFilePointerEx(file, zero, &position, FILE_CURRENT) != FALSE;
        m_base = m_canSeek ? position.QuadPart : 0;
    }

    QELZRESULT UseMemory(void* block, DWORD size)
    {
        if (size == 0)
            return QELZR_MEMSIZE;
        if (!block) {
            m_mapping.Attach(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, nullptr));
            if (!m_mapping)
                return QELZR_NOALLOC;
            m_view.reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
            if (!m_view)
                return QELZR_NOALLOC;
            block = m_view.get();
        }
        m_memory = static_cast<BYTE*>(block);
        m_memorySize = size;
        m_canSeek = true;
        return QELZR_OK;
    }

    QELZRESULT Add(const wchar_t* name, const void* source, DWORD length, DWORD kind)
    {
        if (m_error != QELZR_OK)
            return QELZR_FAILED;
        if (m_ended)
            return QELZR_ENDED;
        QELZRESULT result = QELZR_NOALLOC;
        try {
            result = AddEntry(name, source, length, kind);
        } catch (const std::bad_alloc&) {
            // A half-written entry: the error sticks like any other.
        }
        if (result != QELZR_OK)
            m_error = result;
        return result;
    }

    QELZRESULT End()
    {
        if (m_ended)
            return m_endResult;
        m_ended = true;
        if (m_error != QELZR_OK)
            return m_endResult = QELZR_FAILED;
        const DWORD offset = m_written;
        std::vector<BYTE> end;
        Put32(end, 0x06054b50);
        Put16(end, 0);
        Put16(end, 0);
        Put16(end, m_count);
        Put16(end, m_count);
        Put32(end, static_cast<DWORD>(m_central.size()));
        Put32(end, offset);
        Put16(end, 0);
        QELZRESULT result = Write(m_central.data(), static_cast<DWORD>(m_central.size()));
        if (result == QELZR_OK)
            result = Write(end.data(), static_cast<DWORD>(end.size()));
        if (result != QELZR_OK)
            m_error = result;
        return m_endResult = result;
    }

    QELZRESULT GetMemory(void** block, DWORD* length)
    {
        if (!m_memory)
            return QELZR_NOTMMAP;
        const QELZRESULT result = End();
        if (result != QELZR_OK)
            return result;
        *block = m_memory;
        *length = m_written;
        return QELZR_OK;
    }

private:
    QELZRESULT AddEntry(const wchar_t* name, const void* source, DWORD length, DWORD kind)
    {
        if (!name || !*name || kind < QELZIP_SOURCE_HANDLE || kind > QELZIP_SOURCE_FOLDER)
            return QELZR_ARGS;
        if (m_count == 0xFFFF)
            return QELZR_ARGS;
        std::wstring entryName = name;
        if (entryName.size() > MAX_PATH)
            return QELZR_ARGS;
        for (wchar_t& c : entryName) {
            if (c == L'\\')
                c = L'/';
        }
        const bool folder = kind == QELZIP_SOURCE_FOLDER;
        if (folder && entryName.back() != L'/')
            entryName += L'/';
        const std::string stored = Ansi(entryName);
        if (stored.empty())
            return QELZR_ARGS;

        HANDLE input = INVALID_HANDLE_VALUE;
        CHandle opened;
        SourceInfo info;
        if (kind == QELZIP_SOURCE_FILE) {
            if (!source)
                return QELZR_ARGS;
            opened.Attach(CreateFileW(static_cast<const wchar_t*>(source), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!opened)
                return QELZR_NOFILE;
            input = opened.Get();
            length = QELZIP_LENGTH_OF_SOURCE;
        } else if (kind == QELZIP_SOURCE_HANDLE) {
            input = static_cast<HANDLE>(const_cast<void*>(source));
            if (!input || input == INVALID_HANDLE_VALUE)
                return QELZR_ARGS;
        } else if (kind == QELZIP_SOURCE_MEMORY) {
            if (!source && length > 0)
                return QELZR_ARGS;
            info = NowInfo(FILE_ATTRIBUTE_ARCHIVE);
            info.length = length;
        } else {
            info = NowInfo(FILE_ATTRIBUTE_DIRECTORY);
        }
        if (input != INVALID_HANDLE_VALUE) {
            const QELZRESULT result = HandleInfo(input, length, info);
            if (result != QELZR_OK)
                return result;
        }
        return WriteEntry(stored, folder, StoredByName(entryName), info, input,
                          kind == QELZIP_SOURCE_MEMORY ? static_cast<const BYTE*>(source) : nullptr);
    }

    static std::string Ansi(const std::wstring& text)
    {
        const int count = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (count <= 1)
            return std::string();
        std::string ansi(static_cast<size_t>(count), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], count, nullptr, nullptr);
        ansi.resize(static_cast<size_t>(count - 1));
        return ansi;
    }

    static QELZRESULT HandleInfo(HANDLE input, DWORD length, SourceInfo& info)
    {
        BY_HANDLE_FILE_INFORMATION file{};
        if (GetFileInformationByHandle(input, &file)) {
            if (length == QELZIP_LENGTH_OF_SOURCE) {
                if (file.nFileSizeHigh != 0)
                    return QELZR_MISSIZE;
                length = file.nFileSizeLow;
            }
            info.attributes = file.dwFileAttributes;
            info.modified = file.ftLastWriteTime;
            info.accessed = file.ftLastAccessTime;
            info.created = file.ftCreationTime;
        } else {
            // A pipe has no size or times of its own.
            if (length == QELZIP_LENGTH_OF_SOURCE)
                return QELZR_ARGS;
            info = NowInfo(FILE_ATTRIBUTE_ARCHIVE);
        }
        info.length = length;
        return QELZR_OK;
    }

    static DWORD ExternalAttributes(DWORD attributes, bool folder)
    {
        const DWORD dos = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        if (folder)
            return (0x41C0u << 16) | dos | FILE_ATTRIBUTE_DIRECTORY;
        DWORD mode = 0x8000 | 0x0100;  // a regular file the owner may read
        if (!(attributes & FILE_ATTRIBUTE_READONLY))
            mode |= 0x0080;
        return (mode << 16) | dos;
    }

    QELZRESULT WriteEntry(const std::string& name, bool folder, bool storedByName, const SourceInfo& info,
                          HANDLE input, const BYTE* memory)
    {
        const bool enciphered = !m_password.empty() && !folder;
        const WORD method = folder || storedByName ? kMethodStored : kMethodDeflated;
        WORD flags = kFlagDescriptor | (enciphered ? kFlagEnciphered : 0);
        WORD dosDate = 0;
        WORD dosTime = 0;
        DosTime(info.modified, dosDate, dosTime);
        const DWORD headerOffset = m_written;
        const DWORD modified = UnixTime(info.modified);

        QELZRESULT result = Write(LocalHeader(name, flags, method, dosTime, dosDate, 0, 0, 0, modified));
        if (result != QELZR_OK)
            return result;

        DWORD crc = crc32(0, nullptr, 0);
        DWORD compressed = 0;
        std::unique_ptr<CZipCipher> cipher;
        if (enciphered) {
            cipher = std::make_unique<CZipCipher>(m_password);
            BYTE header[kEncryptionHeaderSize];
            for (DWORD i = 0; i + 1 < kEncryptionHeaderSize; ++i)
                header[i] = NextHeaderByte();
            // With a data descriptor the check byte is the time's high byte.
            header[kEncryptionHeaderSize - 1] = static_cast<BYTE>(dosTime >> 8);
            cipher->Encode(header, kEncryptionHeaderSize);
            result = Write(header, kEncryptionHeaderSize);
            if (result != QELZR_OK)
                return result;
            compressed = kEncryptionHeaderSize;
        }
        if (!folder) {
            result = WriteData(info.length, method, input, memory, cipher.get(), crc, compressed);
            if (result != QELZR_OK)
                return result;
        }

        if (m_canSeek && !enciphered) {
            flags &= static_cast<WORD>(~kFlagDescriptor);
            result = Rewrite(headerOffset, LocalHeader(name, flags, method, dosTime, dosDate, crc, compressed,
                                                       info.length, modified));
        } else {
            std::vector<BYTE> descriptor;
            Put32(descriptor, 0x08074b50);
            Put32(descriptor, crc);
            Put32(descriptor, compressed);
            Put32(descriptor, info.length);
            result = Write(descriptor);
        }
        if (result != QELZR_OK)
            return result;

        Put32(m_central, 0x02014b50);
        Put16(m_central, kVersionMadeBy);
        Put16(m_central, kVersionNeeded);
        Put16(m_central, flags);
        Put16(m_central, method);
        Put16(m_central, dosTime);
        Put16(m_central, dosDate);
        Put32(m_central, crc);
        Put32(m_central, compressed);
        Put32(m_central, info.length);
        Put16(m_central, static_cast<DWORD>(name.size()));
        Put16(m_central, 17);
        Put16(m_central, 0);
        Put16(m_central, 0);
        Put16(m_central, 0);
        Put32(m_central, ExternalAttributes(info.attributes, folder));
        Put32(m_central, headerOffset);
        m_central.insert(m_central.end(), name.begin(), name.end());
        Put16(m_central, 0x5455);
        Put16(m_central, 13);
        m_central.push_back(7);
        Put32(m_central, modified);
        Put32(m_central, UnixTime(info.accessed));
        Put32(m_central, UnixTime(info.created));
        ++m_count;
        return QELZR_OK;
    }

    static std::vector<BYTE> LocalHeader(const std::string& name, WORD flags, WORD method, WORD dosTime,
                                         WORD dosDate, DWORD crc, DWORD compressed, DWORD size, DWORD modified)
    {
        std::vector<BYTE> header;
        Put32(header, 0x04034b50);
        Put16(header, kVersionNeeded);
        Put16(header, flags);
        Put16(header, method);
        Put16(header, dosTime);
        Put16(header, dosDate);
        Put32(header, crc);
        Put32(header, compressed);
        Put32(header, size);
        Put16(header, static_cast<DWORD>(name.size()));
        Put16(header, 9);
        header.insert(header.end(), name.begin(), name.end());
        Put16(header, 0x5455);
        Put16(header, 5);
        header.push_back(7);
        Put32(header, modified);
        return header;
    }

    QELZRESULT WriteData(DWORD length, WORD method, HANDLE input, const BYTE* memory, CZipCipher* cipher,
                         DWORD& crc, DWORD& compressed)
    {
        if (method == kMethodDeflated) {
            if (!m_deflater.Start())
                return QELZR_FLATE;
            m_output.resize(kBlockSize);
        }
        m_input.resize(kBlockSize);
        DWORD done = 0;
        for (;;) {
            const DWORD want = length - done < kBlockSize ? length - done : kBlockSize;
            const BYTE* piece = nullptr;
            if (want > 0) {
                if (memory) {
                    piece = memory + done;
                } else {
                    DWORD read = 0;
                    if (!ReadFile(input, m_input.data(), want, &read, nullptr) || read != want)
                        return QELZR_MISSIZE;
                    piece = m_input.data();
                }
                crc = crc32(crc, piece, want);
                done += want;
            }
            const bool last = done == length;
            QELZRESULT result = QELZR_OK;
            if (method == kMethodStored) {
                if (want > 0)
                    result = WritePiece(piece, want, cipher, compressed);
            } else {
                result = DeflatePiece(piece, want, last, cipher, compressed);
            }
            if (result != QELZR_OK)
                return result;
            if (last)
                return QELZR_OK;
        }
    }

    QELZRESULT DeflatePiece(const BYTE* piece, DWORD size, bool last, CZipCipher* cipher, DWORD& compressed)
    {
        z_stream& stream = m_deflater.Stream();
        stream.next_in = const_cast<BYTE*>(piece);
        stream.avail_in = size;
        for (;;) {
            stream.next_out = m_output.data();
            stream.avail_out = kBlockSize;
            const int status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            if (status == Z_STREAM_ERROR)
                return QELZR_FLATE;
            const DWORD produced = kBlockSize - stream.avail_out;
            if (produced > 0) {
                const QELZRESULT result = WritePiece(m_output.data(), produced, cipher, compressed);
                if (result != QELZR_OK)
                    return result;
            }
            if (last ? status == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out != 0)
                return QELZR_OK;
        }
    }

    QELZRESULT WritePiece(const BYTE* data, DWORD size, CZipCipher* cipher, DWORD& compressed)
    {
        if (compressed > 0xFFFFFFFFu - size)
            return QELZR_MISSIZE;
        compressed += size;
        if (!cipher)
            return Write(data, size);
        m_enciphered.assign(data, data + size);
        cipher->Encode(m_enciphered.data(), size);
        return Write(m_enciphered.data(), size);
    }

    QELZRESULT Write(const std::vector<BYTE>& data) { return Write(data.data(), static_cast<DWORD>(data.size())); }

    QELZRESULT Write(const BYTE* data, DWORD size)
    {
        if (size == 0)
            return QELZR_OK;
        if (m_memory) {
            if (size > m_memorySize - m_written)
                return QELZR_MEMSIZE;
            memcpy(m_memory + m_written, data, size);
        } else {
            DWORD written = 0;
            if (!WriteFile(m_file, data, size, &written, nullptr) || written != size)
                return QELZR_WRITE;
        }
        m_written += size;
        return QELZR_OK;
    }

    QELZRESULT Rewrite(DWORD offset, const std::vector<BYTE>& data)
    {
        if (m_memory) {
            memcpy(m_memory + offset, data.data(), data.size());
            return QELZR_OK;
        }
        LARGE_INTEGER at{};
        at.QuadPart = m_base + offset;
        if (!SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN))
            return QELZR_SEEK;
        DWORD written = 0;
        if (!WriteFile(m_file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
            written != data.size())
            return QELZR_WRITE;
        at.QuadPart = m_base + m_written;
        return SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) ? QELZR_OK : QELZR_SEEK;
    }

    std::string m_password;
    CHandle m_ownedFile;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    LONGLONG m_base = 0;
    bool m_canSeek = false;
    CHandle m_mapping;
    std::unique_ptr<void, CViewUnmap> m_view;
    BYTE* m_memory = nullptr;
    DWORD m_memorySize = 0;
    DWORD m_written = 0;
    bool m_ended = false;
    QELZRESULT m_endResult = QELZR_OK;
    QELZRESULT m_error = QELZR_OK;
    std::vector<BYTE> m_central;
    DWORD m_count = 0;
    CDeflater m_deflater;
    std::vector<BYTE> m_input;
    std::vector<BYTE> m_output;
    std::vector<BYTE> m_enciphered;
};

namespace {

HQELZIP Failed(QELZRESULT result)
{
    g_lastResult.Keep(result);
    return nullptr;
}

HQELZIP MakeHandle(std::unique_ptr<CQelZipWriter> writer)
{
    g_lastResult.Keep(QELZR_OK);
    return QelZipMakeHandle(QELZIP_KIND_WRITER, std::move(writer));
}

std::unique_ptr<CQelZipWriter> NewWriter(const char* password)
{
    auto writer = std::make_unique<CQelZipWriter>();
    writer->SetPassword(password);
    return writer;
}

// Every operation on a writer: the handle checked, the result kept.
template <class Action>
QELZRESULT WithWriter(HQELZIP zip, Action action)
{
    return QelZipWithObject<CQelZipWriter>(zip, QELZIP_KIND_WRITER, g_lastResult, action);
}

} // namespace

HQELZIP QelZipCreateFile(const wchar_t* path, const char* password)
{
    return QelZipOpenGuarded(g_lastResult, [path, password] {
        if (!path)
            return Failed(QELZR_ARGS);
        CHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return Failed(QELZR_NOFILE);
        auto writer = NewWriter(password);
        writer->OwnFile(std::move(file));
        return MakeHandle(std::move(writer));
    });
}

HQELZIP QelZipCreateHandle(HANDLE file, const char* password)
{
    return QelZipOpenGuarded(g_lastResult, [file, password] {
        if (!file || file == INVALID_HANDLE_VALUE)
            return Failed(QELZR_ARGS);
        auto writer = NewWriter(password);
        writer->UseFile(file);
        return MakeHandle(std::move(writer));
    });
}

HQELZIP QelZipCreateMemory(void* block, DWORD size, const char* password)
{
    return QelZipOpenGuarded(g_lastResult, [block, size, password] {
        auto writer = NewWriter(password);
        const QELZRESULT result = writer->UseMemory(block, size);
        if (result != QELZR_OK)
            return Failed(result);
        return MakeHandle(std::move(writer));
    });
}

QELZRESULT QelZipAdd(HQELZIP zip, const wchar_t* name, const void* source, DWORD length, DWORD kind)
{
    return WithWriter(zip, [&](CQelZipWriter& writer) { return writer.Add(name, source, length, kind); });
}

QELZRESULT QelZipGetMemory(HQELZIP zip, void** block, DWORD* length)
{
    return WithWriter(zip, [&](CQelZipWriter& writer) {
        return block && length ? writer.GetMemory(block, length) : QELZR_ARGS;
    });
}

QELZRESULT QelZipCloseWriter(HQELZIP zip)
{
    return WithWriter(zip, [zip](CQelZipWriter& writer) {
        std::unique_ptr<QELZIPHANDLEDATA> closed(zip);
        return writer.End();
    });
}

BOOL QelZipIsWriter(HQELZIP zip)
{
    return zip && zip->kind == QELZIP_KIND_WRITER;
}

DWORD QelZipWriterResultText(QELZRESULT code, wchar_t* buffer, DWORD length)
{
    return QelZipCopyResultText(g_lastResult.Resolve(code), buffer, length, false);
}
