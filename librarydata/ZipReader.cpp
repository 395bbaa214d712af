#include "librarydata/ZipReader.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "librarydata/ZipCrc.h"
#include "librarydata/ZipInput.h"

namespace {

CQelZipLastResult g_lastResult;

// No deflate stream expands more than this many times.
constexpr ULONGLONG kDeflateMaxRatio = 1032;
constexpr WORD kExtendedTimestampTag = 0x5455;  // "UT"
// The most the reading loop asks of the unzip library at once.
constexpr DWORD kLargestPiece = 0x40000000;
// The unzip library refuses to look for a name this long or longer.
constexpr size_t kLongestName = 256;

FILETIME FileTimeFromValue(ULONGLONG value)
{
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return time;
}

FILETIME FileTimeFromDos(uLong dosDate)
{
    FILETIME local{};
    FILETIME utc{};
    if (DosDateTimeToFileTime(HIWORD(dosDate), LOWORD(dosDate), &local))
        LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

DWORD ReadLittle(const BYTE* p, int count)
{
    DWORD value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

// Each time is taken only when its flag is set and the field has room for it.
void ApplyExtendedTimestamp(const std::vector<BYTE>& extra, QELZIPENTRYINFO& info)
{
    size_t pos = 0;
    while (pos + 4 <= extra.size()) {
        const WORD tag = static_cast<WORD>(ReadLittle(&extra[pos], 2));
        const size_t size = ReadLittle(&extra[pos + 2], 2);
        const size_t data = pos + 4;
        if (data + size > extra.size())
            return;
        if (tag == kExtendedTimestampTag && size >= 1) {
            const BYTE flags = extra[data];
            size_t at = 1;
            FILETIME* const targets[] = {&info.modificationTime, &info.accessTime, &info.creationTime};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (at + 4 > size)
                    break;
                const ULONGLONG seconds = ReadLittle(&extra[data + at], 4);
                *targets[bit] = FileTimeFromValue(seconds * 10000000ULL + QELZIP_UNIX_EPOCH);
                at += 4;
            }
        }
        pos = data + size;
    }
}

DWORD AttributesOf(const unz_file_info& file)
{
    const BYTE host = static_cast<BYTE>(file.version >> 8);
    const uLong external = file.external_fa;
    if (host == 0 || host == 7 || host == 11 || host == 14)
        return external & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    if (external & 0x40000000)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(external & 0x00800000))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

// Drops a drive, leading separators, and everything up to the last climb.
std::wstring CleanName(std::wstring name)
{
    if (name.size() >= 2 && name[1] == L':' && iswalpha(name[0]))
        name.erase(0, 2);
    const size_t first = name.find_first_not_of(L"\\/");
    name.erase(0, first == std::wstring::npos ? name.size() : first);
    size_t cut = std::wstring::npos;
    for (const wchar_t* climb : {L"\\..\\", L"\\../", L"/../", L"/..\\"}) {
        const size_t at = name.rfind(climb);
        if (at != std::wstring::npos && (cut == std::wstring::npos || at + 4 > cut))
            cut = at + 4;
    }
    if (cut != std::wstring::npos)
        name.erase(0, cut);
    return name;
}

std::wstring AnsiToWide(const char* text)
{
    const int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], count);
    wide.resize(static_cast<size_t>(count - 1));
    return wide;
}

QELZRESULT FromUnzip(int code)
{
    switch (code) {
    case UNZ_OK: return QELZR_OK;
    case UNZ_ERRNO: return QELZR_READ;
    case UNZ_PARAMERROR: return QELZR_ARGS;
    case UNZ_BADZIPFILE:
    case UNZ_CRCERROR: return QELZR_CORRUPT;
    default: return QELZR_FLATE;
    }
}

// An entry as a search by name finds it: its name as stored, where it stands.
struct CNamedEntry {
    std::string name;
    int index;
    unz_file_pos position;
};

class CQelZipReader : public CQelZipObject {
public:
    ~CQelZipReader() override
    {
        if (m_zip) {
            CloseEntry();
            unzClose(m_zip);
        }
    }

    QELZRESULT Open(std::unique_ptr<CQelZipInput> input)
    {
        m_input = std::move(input);
        zlib_filefunc_def callbacks = m_input->Callbacks();
        m_zip = unzOpen2("", &callbacks);
        if (m_zip) {
            unz_global_info global{};
            if (unzGetGlobalInfo(m_zip, &global) != UNZ_OK)
                return QELZR_CORRUPT;
            m_count = global.number_entry > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(global.number_entry);
        } else if (!m_input->IsEmptyArchive()) {
            return QELZR_NOFILE;
        }
        wchar_t folder[MAX_PATH] = {};
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
        if (length > 0 && length < MAX_PATH)
            SetBaseFolder(folder);
        return QELZR_OK;
    }

    QELZRESULT SetBaseFolder(const wchar_t* folder)
    {
        std::wstring base = folder;
        if (!base.empty() && base.back() != L'\\' && base.back() != L'/')
            base += L'\\';
        if (base.size() >= MAX_PATH)
            return QELZR_ARGS;
        m_baseFolder = base;
        return QELZR_OK;
    }

    QELZRESULT GetEntry(int index, QELZIPENTRYINFO& info)
    {
        memset(&info, 0, sizeof(info));
        if (index == -1) {
            info.index = m_count;
            return QELZR_OK;
        }
        if (index < 0 || index >= m_count)
            return QELZR_ARGS;
        CloseEntry();
        if (index == m_lastIndex) {
            info = m_lastInfo;
            return QELZR_OK;
        }
        const QELZRESULT moved = MoveTo(index);
        if (moved != QELZR_OK)
            return moved;
        return ReadCurrentInfo(index, info);
    }

    QELZRESULT FindEntry(const wchar_t* name, BOOL ignoreCase, int& index, QELZIPENTRYINFO& info)
    {
        memset(&info, 0, sizeof(info));
        info.index = -1;
        index = -1;
        CloseEntry();
        char ansi[MAX_PATH] = {};
        if (!WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, MAX_PATH, nullptr, nullptr))
            return QELZR_NOTFOUND;
        if (m_count == 0 || strlen(ansi) >= kLongestName)
            return QELZR_NOTFOUND;
        const CNamedEntry* found = Locate(ansi, ignoreCase != FALSE);
        if (!found)
            return QELZR_NOTFOUND;
        if (found->index == m_lastIndex) {
            info = m_lastInfo;
        } else {
            unz_file_pos position = found->position;
            if (unzGoToFilePos(m_zip, &position) != UNZ_OK)
                return QELZR_CORRUPT;
            const QELZRESULT read = ReadCurrentInfo(found->index, info);
            if (read != QELZR_OK)
                return read;
        }
        index = found->index;
        return QELZR_OK;
    }

    QELZRESULT CheckEntrySize(int index)
    {
        if (index < 0 || index >= m_count)
            return QELZR_ARGS;
        CloseEntry();
        unz_file_info file{};
        const QELZRESULT moved = MoveTo(index);
        if (moved != QELZR_OK)
            return moved;
        if (unzGetCurrentFileInfo(m_zip, &file, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return QELZR_CORRUPT;
        return Plausible(file) ? QELZR_OK : QELZR_CORRUPT;
    }

    QELZRESULT ExtractToMemory(int index, BYTE* block, DWORD length)
    {
        if (!block && length > 0)
            return QELZR_ARGS;
        QELZRESULT result = QELZR_OK;
        if (index != m_openIndex && m_input->Memory() && ExtractWhole(index, block, length, result))
            return result;
        result = OpenEntry(index);
        if (result != QELZR_OK)
            return result;
        DWORD filled = 0;
        while (filled < length) {
            const DWORD ask = length - filled < kLargestPiece ? length - filled : kLargestPiece;
            const int read = unzReadCurrentFile(m_zip, block + filled, ask);
            if (read < 0) {
                CloseEntry();
                return FromUnzip(read);
            }
            if (read == 0)
                break;
            filled += static_cast<DWORD>(read);
        }
        if (unztell64(m_zip) < m_openSize) {
            if (filled == length)
                return QELZR_MORE;
            CloseEntry();
            return QELZR_CORRUPT;
        }
        return FinishEntry();
    }

    QELZRESULT ExtractToHandle(int index, HANDLE file)
    {
        if (!file || file == INVALID_HANDLE_VALUE)
            return QELZR_ARGS;
        CloseEntry();
        QELZRESULT result = OpenEntry(index);
        if (result != QELZR_OK)
            return result;
        m_scratch.resize(QELZIP_BLOCK_SIZE);
        for (;;) {
            const int read = unzReadCurrentFile(m_zip, m_scratch.data(), QELZIP_BLOCK_SIZE);
            if (read < 0) {
                CloseEntry();
                return FromUnzip(read);
            }
            if (read == 0)
                break;
            DWORD written = 0;
            if (!WriteFile(file, m_scratch.data(), static_cast<DWORD>(read), &written, nullptr) ||
                written != static_cast<DWORD>(read)) {
                CloseEntry();
                return QELZR_WRITE;
            }
        }
        if (unztell64(m_zip) < m_openSize) {
            CloseEntry();
            return QELZR_CORRUPT;
        }
        result = FinishEntry();
        if (result == QELZR_OK)
            SetTimes(index, file);
        return result;
    }

    QELZRESULT ExtractToFile(int index, const wchar_t* target)
    {
        if (!target || !*target)
            return QELZR_ARGS;
        QELZIPENTRYINFO info{};
        QELZRESULT result = GetEntry(index, info);
        if (result != QELZR_OK)
            return result;
        std::wstring path = PathIsRelativeW(target) ? m_baseFolder + target : std::wstring(target);
        for (wchar_t& c : path) {
            if (c == L'/')
                c = L'\\';
        }
        if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            const int made = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
            return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS ? QELZR_OK : QELZR_NOFILE;
        }
        const size_t slash = path.find_last_of(L'\\');
        if (slash != std::wstring::npos && slash > 0)
            SHCreateDirectoryExW(nullptr, path.substr(0, slash).c_str(), nullptr);
        CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        if (!file)
            return QELZR_NOFILE;
        result = ExtractToHandle(index, file.Get());
        file.Close();
        // A damaged entry leaves no half-written file behind.
        if (result != QELZR_OK)
            DeleteFileW(path.c_str());
        return result;
    }

private:
    // Folded as the unzip library compares without regard to case: ASCII letters only.
    static std::string Folded(const char* name)
    {
        std::string folded = name;
        for (char& c : folded) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 0x20);
        }
        return folded;
    }

    // The first entry of that name in the directory's order, or null. The names are
    // read once: a search through the directory for every lookup re-read every
    // header before the one found. As that search did, the names end at the first
    // unreadable header.
    const CNamedEntry* Locate(const char* name, bool ignoreCase)
    {
        if (!m_namesRead) {
            m_namesRead = true;
            int index = 0;
            for (int status = unzGoToFirstFile(m_zip); status == UNZ_OK; status = unzGoToNextFile(m_zip), ++index) {
                char entry[kLongestName + 1] = {};
                unz_file_pos position{};
                if (unzGetCurrentFileInfo(m_zip, nullptr, entry, kLongestName, nullptr, 0, nullptr, 0) !=
                        UNZ_OK ||
                    unzGetFilePos(m_zip, &position) != UNZ_OK)
                    break;
                if (index == static_cast<int>(m_positions.size()))
                    m_positions.push_back(position);
                // Names of the longest length were cut and so match no name looked for.
                if (strlen(entry) < kLongestName)
                    m_names[Folded(entry)].push_back({entry, index, position});
            }
        }
        const auto same = m_names.find(Folded(name));
        if (same == m_names.end())
            return nullptr;
        for (const CNamedEntry& entry : same->second) {
            if (ignoreCase || entry.name == name)
                return &entry;
        }
        return nullptr;
    }

    QELZRESULT MoveTo(int index)
    {
        if (index < 0 || index >= m_count)
            return QELZR_ARGS;
        if (index < static_cast<int>(m_positions.size()))
            return unzGoToFilePos(m_zip, &m_positions[static_cast<size_t>(index)]) == UNZ_OK
                       ? QELZR_OK
                       : QELZR_CORRUPT;
        unz_file_pos position{};
        if (m_positions.empty()) {
            if (unzGoToFirstFile(m_zip) != UNZ_OK || unzGetFilePos(m_zip, &position) != UNZ_OK)
                return QELZR_CORRUPT;
            m_positions.push_back(position);
        } else if (unzGoToFilePos(m_zip, &m_positions.back()) != UNZ_OK) {
            return QELZR_CORRUPT;
        }
        while (static_cast<int>(m_positions.size()) <= index) {
            if (unzGoToNextFile(m_zip) != UNZ_OK || unzGetFilePos(m_zip, &position) != UNZ_OK)
                return QELZR_CORRUPT;
            m_positions.push_back(position);
        }
        return QELZR_OK;
    }

    // The information of minizip's current entry, which is entry index.
    QELZRESULT ReadCurrentInfo(int index, QELZIPENTRYINFO& info)
    {
        unz_file_info file{};
        char name[MAX_PATH + 1] = {};
        if (unzGetCurrentFileInfo(m_zip, &file, name, MAX_PATH, nullptr, 0, nullptr, 0) != UNZ_OK)
            return QELZR_CORRUPT;
        std::vector<BYTE> extra;
        if (unzOpenCurrentFile2(m_zip, nullptr, nullptr, 1) != UNZ_OK)
            return QELZR_READ;
        const int extraSize = unzGetLocalExtrafield(m_zip, nullptr, 0);
        if (extraSize > 0) {
            extra.resize(static_cast<size_t>(extraSize));
            if (unzGetLocalExtrafield(m_zip, extra.data(), static_cast<unsigned>(extraSize)) != extraSize) {
                unzCloseCurrentFile(m_zip);
                return QELZR_READ;
            }
        }
        unzCloseCurrentFile(m_zip);

        info.index = index;
        const std::wstring clean = CleanName(AnsiToWide(name)).substr(0, MAX_PATH - 1);
        wmemcpy(info.name, clean.c_str(), clean.size() + 1);
        info.attributes = AttributesOf(file);
        info.modificationTime = info.accessTime = info.creationTime = FileTimeFromDos(file.dosDate);
        ApplyExtendedTimestamp(extra, info);
        info.compressedSize = static_cast<LONG>(file.compressed_size);
        info.uncompressedSize = static_cast<LONG>(file.uncompressed_size);
        m_lastInfo = info;
        m_lastIndex = index;
        return QELZR_OK;
    }

    bool Plausible(const unz_file_info& file) const
    {
        if (file.compressed_size > m_input->Size())
            return false;
        if (file.compression_method == 0)
            return file.uncompressed_size == file.compressed_size;
        if (file.compression_method == Z_DEFLATED)
            return ULONGLONG(file.uncompressed_size) <= ULONGLONG(file.compressed_size) * kDeflateMaxRatio;
        return false;
    }

    // Entry index made the library's current one and checked as opening it checks.
    QELZRESULT SelectEntry(int index, unz_file_info& file)
    {
        CloseEntry();
        const QELZRESULT moved = MoveTo(index);
        if (moved != QELZR_OK)
            return moved;
        if (unzGetCurrentFileInfo(m_zip, &file, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return QELZR_CORRUPT;
        if (file.flag & 1)
            return QELZR_PASSWORD;
        return Plausible(file) ? QELZR_OK : QELZR_CORRUPT;
    }

    QELZRESULT OpenEntry(int index)
    {
        if (index == m_openIndex)
            return QELZR_OK;
        unz_file_info file{};
        const QELZRESULT selected = SelectEntry(index, file);
        if (selected != QELZR_OK)
            return selected;
        const int opened = unzOpenCurrentFile(m_zip);
        if (opened != UNZ_OK)
            return FromUnzip(opened);
        m_openIndex = index;
        m_openSize = file.uncompressed_size;
        return QELZR_OK;
    }

    // A whole entry of an archive in memory, unzipped straight from the archive's
    // block, where the library would copy it through a buffer of its own and check
    // it with zlib's slower CRC. The pieces fed to inflate and the calls are the
    // library's, so every result is as before. False, with nothing done, when the
    // block cannot take the entry at once or its data do not lie wholly in the archive.
    bool ExtractWhole(int index, BYTE* block, DWORD length, QELZRESULT& result)
    {
        unz_file_info file{};
        result = SelectEntry(index, file);
        if (result != QELZR_OK)
            return true;
        if (length < file.uncompressed_size || file.uncompressed_size >= kLargestPiece)
            return false;
        const int opened = unzOpenCurrentFile2(m_zip, nullptr, nullptr, 1);
        if (opened != UNZ_OK) {
            result = FromUnzip(opened);
            return true;
        }
        const ZPOS64_T start = unzGetCurrentFileZStreamPos64(m_zip);
        unzCloseCurrentFile(m_zip);
        if (start > m_input->Size() || file.compressed_size > m_input->Size() - start)
            return false;
        const BYTE* data = m_input->Memory() + start;
        DWORD crc = 0;
        DWORD produced = file.uncompressed_size;
        if (file.compression_method == 0) {
            memcpy(block, data, produced);
            crc = QelZipCrc32(0, block, produced);
        } else {
            result = Inflate(data, file.compressed_size, block, produced, crc);
            if (result != QELZR_OK)
                return true;
        }
        result = produced == file.uncompressed_size && crc == file.crc ? QELZR_OK : QELZR_CORRUPT;
        return true;
    }

    // As the library's reading loop does it: 16 KB of input at a time, synchronous
    // flushes, the CRC of each call's output. length: in the block's size, out what was produced.
    static QELZRESULT Inflate(const BYTE* data, DWORD size, BYTE* block, DWORD& length, DWORD& crc)
    {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return QELZR_FLATE;
        stream.next_out = block;
        stream.avail_out = length;
        int status = Z_OK;
        while (stream.avail_out > 0) {
            if (stream.avail_in == 0 && size > 0) {
                const DWORD piece = size < QELZIP_BLOCK_SIZE ? size : QELZIP_BLOCK_SIZE;
                stream.next_in = const_cast<BYTE*>(data);
                stream.avail_in = piece;
                data += piece;
                size -= piece;
            }
            BYTE* const before = stream.next_out;
            status = inflate(&stream, Z_SYNC_FLUSH);
            if (status >= 0 && stream.msg)
                status = Z_DATA_ERROR;
            crc = QelZipCrc32(crc, before, static_cast<size_t>(stream.next_out - before));
            if (status != Z_OK)
                break;
        }
        length -= stream.avail_out;
        inflateEnd(&stream);
        return status == Z_OK || status == Z_STREAM_END ? QELZR_OK : FromUnzip(status);
    }

    // The whole entry was read: its CRC decides.
    QELZRESULT FinishEntry()
    {
        m_openIndex = -1;
        return unzCloseCurrentFile(m_zip) == UNZ_OK ? QELZR_OK : QELZR_CORRUPT;
    }

    void CloseEntry()
    {
        if (m_openIndex != -1) {
            unzCloseCurrentFile(m_zip);
            m_openIndex = -1;
        }
    }

    void SetTimes(int index, HANDLE file)
    {
        QELZIPENTRYINFO info{};
        if (GetEntry(index, info) == QELZR_OK)
            SetFileTime(file, &info.creationTime, &info.accessTime, &info.modificationTime);
    }

    std::unique_ptr<CQelZipInput> m_input;
    unzFile m_zip = nullptr;
    int m_count = 0;
    std::vector<unz_file_pos> m_positions;  // of entries 0 .. size - 1, found on the way
    bool m_namesRead = false;
    // Each folded name's entries in the directory's order.
    std::unordered_map<std::string, std::vector<CNamedEntry>> m_names;
    int m_openIndex = -1;
    ZPOS64_T m_openSize = 0;
    QELZIPENTRYINFO m_lastInfo{};
    int m_lastIndex = -1;
    std::vector<BYTE> m_scratch;
    std::wstring m_baseFolder;
};

HQELZIP Failed(QELZRESULT result)
{
    g_lastResult.Keep(result);
    return nullptr;
}

HQELZIP OpenReader(std::unique_ptr<CQelZipInput> input)
{
    auto reader = std::make_unique<CQelZipReader>();
    const QELZRESULT result = reader->Open(std::move(input));
    if (result != QELZR_OK)
        return Failed(result);
    g_lastResult.Keep(QELZR_OK);
    return QelZipMakeHandle(QELZIP_KIND_READER, std::move(reader));
}

// Every operation on an open archive: the handle checked, the result kept.
template <class Action>
QELZRESULT WithReader(HQELZIP zip, Action action)
{
    return QelZipWithObject<CQelZipReader>(zip, QELZIP_KIND_READER, g_lastResult, action);
}

} // namespace

HQELZIP QelZipOpenFile(const wchar_t* path, const char*)
{
    return QelZipOpenGuarded(g_lastResult, [path] {
        if (!path)
            return Failed(QELZR_ARGS);
        CHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        if (!file)
            return Failed(QELZR_NOFILE);
        return OpenReader(std::make_unique<CQelZipInput>(std::move(file)));
    });
}

HQELZIP QelZipOpenHandle(HANDLE file, const char*)
{
    return QelZipOpenGuarded(g_lastResult, [file] {
        if (!file || file == INVALID_HANDLE_VALUE)
            return Failed(QELZR_ARGS);
        auto input = std::make_unique<CQelZipInput>(file);
        if (!input->CanSeek())
            return Failed(QELZR_SEEK);
        return OpenReader(std::move(input));
    });
}

HQELZIP QelZipOpenMemory(const void* buffer, DWORD size, const char*)
{
    return QelZipOpenGuarded(g_lastResult, [buffer, size] {
        if (!buffer)
            return Failed(QELZR_ARGS);
        return OpenReader(std::make_unique<CQelZipInput>(buffer, size));
    });
}

QELZRESULT QelZipGetEntry(HQELZIP zip, int index, QELZIPENTRYINFO* info)
{
    return WithReader(zip, [&](CQelZipReader& reader) { return info ? reader.GetEntry(index, *info) : QELZR_ARGS; });
}

QELZRESULT QelZipFindEntry(HQELZIP zip, const wchar_t* name, BOOL ignoreCase, int* index,
                           QELZIPENTRYINFO* info)
{
    return WithReader(zip, [&](CQelZipReader& reader) {
        return name && index && info ? reader.FindEntry(name, ignoreCase, *index, *info) : QELZR_ARGS;
    });
}

QELZRESULT QelZipExtract(HQELZIP zip, int index, void* target, DWORD length, DWORD mode)
{
    return WithReader(zip, [&](CQelZipReader& reader) {
        switch (mode) {
        case QELZIP_EXTRACT_MEMORY:
            return reader.ExtractToMemory(index, static_cast<BYTE*>(target), length);
        case QELZIP_EXTRACT_FILE:
            return reader.ExtractToFile(index, static_cast<const wchar_t*>(target));
        case QELZIP_EXTRACT_HANDLE:
            return reader.ExtractToHandle(index, static_cast<HANDLE>(target));
        default:
            return QELZR_ARGS;
        }
    });
}

QELZRESULT QelZipCheckEntrySize(HQELZIP zip, int index)
{
    return WithReader(zip, [&](CQelZipReader& reader) { return reader.CheckEntrySize(index); });
}

QELZRESULT QelZipSetBaseFolder(HQELZIP zip, const wchar_t* folder)
{
    return WithReader(zip, [&](CQelZipReader& reader) { return folder ? reader.SetBaseFolder(folder) : QELZR_ARGS; });
}

QELZRESULT QelZipClose(HQELZIP zip)
{
    return WithReader(zip, [zip](CQelZipReader&) {
        std::unique_ptr<QELZIPHANDLEDATA> closed(zip);
        return QELZR_OK;
    });
}

BOOL QelZipIsReader(HQELZIP zip)
{
    return zip && zip->kind == QELZIP_KIND_READER;
}

DWORD QelZipResultText(QELZRESULT code, wchar_t* buffer, DWORD length)
{
    return QelZipCopyResultText(g_lastResult.Resolve(code), buffer, length, true);
}
