#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <thread>

#include "ZipTestSupport.h"

namespace {

// CRC-32 values computed with Python's zlib.crc32.
const std::string kHello = "hello world";
constexpr DWORD kHelloCrc = 0x0d4a1185;
const std::string kRepeated(100000, 'a');
constexpr DWORD kRepeatedCrc = 0x1be2fa87;

Bytes TakeMemory(HQELZIP writer)
{
    void* block = nullptr;
    DWORD length = 0;
    if (QelZipGetMemory(writer, &block, &length) != QELZR_OK)
        return Bytes();
    const BYTE* bytes = static_cast<const BYTE*>(block);
    return Bytes(bytes, bytes + length);
}

std::string Unzip(HQELZIP reader, int index, QELZRESULT expected = QELZR_OK)
{
    QELZIPENTRYINFO info{};
    if (QelZipGetEntry(reader, index, &info) != QELZR_OK)
        return "<no entry>";
    std::string data(static_cast<size_t>(info.uncompressedSize), '\0');
    const QELZRESULT result = QelZipExtract(reader, index, data.empty() ? nullptr : &data[0],
                                            static_cast<DWORD>(data.size()), QELZIP_EXTRACT_MEMORY);
    return result == expected ? data : "<result " + std::to_string(result) + ">";
}

WORD WriterWord(const Bytes& zip, size_t at) { return Get16(zip, at); }

} // namespace

TEST(ZipWriter, ArchiveInMemoryReadsBackEntryForEntry)
{
    TestFolder folder;
    const std::wstring source = folder.Path() + L"s\u00e9ance.txt";
    ASSERT_TRUE(WriteBytes(source, Bytes(kHello.begin(), kHello.end())));
    FILETIME accessed{}, modified{};
    const ULONGLONG mod = FromUnix(1262347200);  // 2010-01-01 12:00:00 UTC
    modified.dwLowDateTime = static_cast<DWORD>(mod);
    modified.dwHighDateTime = static_cast<DWORD>(mod >> 32);
    const ULONGLONG access = FromUnix(1230768000);  // 2009-01-01 00:00:00 UTC
    accessed.dwLowDateTime = static_cast<DWORD>(access);
    accessed.dwHighDateTime = static_cast<DWORD>(access >> 32);
    {
        const CHandle file(CreateFileW(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        SetFileTime(file.Get(), nullptr, &accessed, &modified);
    }

    WriterPtr writer(QelZipCreateMemory(nullptr, 1 << 20, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_TRUE(QelZipIsWriter(writer.get()));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"index.htm", kRepeated.data(), static_cast<DWORD>(kRepeated.size()), QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"pics\\old.GZ", kHello.data(), static_cast<DWORD>(kHello.size()), QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"a\\b", nullptr, 0, QELZIP_SOURCE_FOLDER));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"docs/s\u00e9ance.txt", source.c_str(), 0, QELZIP_SOURCE_FILE));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"empty.txt", nullptr, 0, QELZIP_SOURCE_MEMORY));
    const Bytes zip = TakeMemory(writer.get());
    ASSERT_FALSE(zip.empty());
    EXPECT_EQ(QELZR_ENDED, QelZipAdd(writer.get(), L"late.txt", "x", 1, QELZIP_SOURCE_MEMORY));

    // Memory can seek: local headers carry the real CRC and sizes, without flag 8.
    const size_t first = LocalHeaderOf(zip, 0);
    EXPECT_EQ(0x04034b50u, Get32(zip, first));
    EXPECT_EQ(20, WriterWord(zip, first + 4));
    EXPECT_EQ(0, WriterWord(zip, first + 6));
    EXPECT_EQ(8, WriterWord(zip, first + 8));
    EXPECT_EQ(kRepeatedCrc, Get32(zip, first + 14));
    EXPECT_EQ(kRepeated.size(), Get32(zip, first + 22));
    EXPECT_LT(Get32(zip, first + 18), 1000u);
    EXPECT_EQ(9, WriterWord(zip, first + 28));
    EXPECT_EQ(0x5455, WriterWord(zip, first + 30 + 9));
    EXPECT_EQ(7, zip[first + 30 + 9 + 4]);
    const size_t gz = LocalHeaderOf(zip, 1);
    EXPECT_EQ(0, WriterWord(zip, gz + 8));
    EXPECT_EQ(kHelloCrc, Get32(zip, gz + 14));
    EXPECT_EQ(kHello, std::string(zip.begin() + DataOf(zip, 1), zip.begin() + DataOf(zip, 1) + kHello.size()));
    const size_t central = CentralRecordOf(zip, 0);
    EXPECT_EQ(0x0B17, WriterWord(zip, central + 4));
    EXPECT_EQ(17, WriterWord(zip, central + 30));
    EXPECT_EQ(5, WriterWord(zip, EndRecordOf(zip) + 10));

    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    QELZIPENTRYINFO info{};
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), -1, &info));
    EXPECT_EQ(5, info.index);

    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 0, &info));
    EXPECT_STREQ(L"index.htm", info.name);
    EXPECT_EQ(static_cast<LONG>(kRepeated.size()), info.uncompressedSize);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_ARCHIVE), info.attributes);
    EXPECT_EQ(kRepeated, Unzip(reader.get(), 0));

    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 1, &info));
    EXPECT_STREQ(L"pics/old.GZ", info.name);
    EXPECT_EQ(info.compressedSize, info.uncompressedSize);
    EXPECT_EQ(kHello, Unzip(reader.get(), 1));

    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 2, &info));
    EXPECT_STREQ(L"a/b/", info.name);
    EXPECT_EQ(0, info.uncompressedSize);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY), info.attributes & FILE_ATTRIBUTE_DIRECTORY);

    // The exact modification time travels in the local field; the others as DOS time.
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 3, &info));
    EXPECT_STREQ(L"docs/s\u00e9ance.txt", info.name);
    EXPECT_EQ(mod, Value(info.modificationTime));
    EXPECT_EQ(mod, Value(info.accessTime));
    EXPECT_EQ(mod, Value(info.creationTime));
    EXPECT_EQ(kHello, Unzip(reader.get(), 3));
    const size_t fileRecord = CentralRecordOf(zip, 3);
    const size_t centralExtra = fileRecord + 46 + WriterWord(zip, fileRecord + 28);
    EXPECT_EQ(1262347200u, Get32(zip, centralExtra + 5));
    EXPECT_EQ(7, zip[centralExtra + 4]);
    EXPECT_EQ(1230768000u, Get32(zip, centralExtra + 9));

    EXPECT_EQ("", Unzip(reader.get(), 4));
    EXPECT_EQ(QELZR_OK, QelZipCloseWriter(writer.release()));
}

TEST(ZipWriter, MemoryTooSmallAndErrorsThatStick)
{
    EXPECT_FALSE(QelZipCreateMemory(nullptr, 0, nullptr));
    wchar_t text[80] = {};
    QelZipWriterResultText(QELZR_RECENT, text, 80);
    EXPECT_STREQ(L"Caller: not enough space allocated for memory zipfile", text);

    Bytes block(200);
    WriterPtr writer(QelZipCreateMemory(block.data(), static_cast<DWORD>(block.size()), nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"a.txt", "abc", 3, QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_ARGS, QelZipAdd(writer.get(), L"b.txt", "abc", 3, 9));
    EXPECT_EQ(QELZR_FAILED, QelZipAdd(writer.get(), L"c.txt", "abc", 3, QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_FAILED, QelZipCloseWriter(writer.release()));

    writer.reset(QelZipCreateMemory(block.data(), static_cast<DWORD>(block.size()), nullptr));
    EXPECT_EQ(QELZR_MEMSIZE, QelZipAdd(writer.get(), L"big.zip", kRepeated.data(), 1000, QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_FAILED, QelZipCloseWriter(writer.release()));

    // A handle source that ends before its announced length.
    TestFolder folder;
    const std::wstring path = folder.Path() + L"short.bin";
    ASSERT_TRUE(WriteBytes(path, Bytes(10, 'x')));
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    writer.reset(QelZipCreateMemory(nullptr, 4096, nullptr));
    EXPECT_EQ(QELZR_MISSIZE, QelZipAdd(writer.get(), L"short.bin", file.Get(), 20, QELZIP_SOURCE_HANDLE));
    file.Close();
    EXPECT_EQ(QELZR_FAILED, QelZipAdd(writer.get(), L"x", "x", 1, QELZIP_SOURCE_MEMORY));
    writer.reset();

    void* memory = nullptr;
    DWORD length = 0;
    WriterPtr onFile(QelZipCreateFile((folder.Path() + L"f.zip").c_str(), nullptr));
    ASSERT_TRUE(onFile);
    EXPECT_EQ(QELZR_NOTMMAP, QelZipGetMemory(onFile.get(), &memory, &length));
    QelZipWriterResultText(QELZR_PASSWORD, text, 80);
    EXPECT_STREQ(L"unknown zip result code", text);
}

TEST(ZipWriter, PipeOutputGetsDataDescriptors)
{
    HANDLE readRaw = nullptr;
    HANDLE writeRaw = nullptr;
    ASSERT_TRUE(CreatePipe(&readRaw, &writeRaw, nullptr, 1 << 20));
    const CHandle readEnd(readRaw);
    CHandle writeEnd(writeRaw);
    Bytes received;
    std::thread drain([&] {
        BYTE buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
            received.insert(received.end(), buffer, buffer + read);
    });
    {
        WriterPtr writer(QelZipCreateHandle(writeEnd.Get(), nullptr));
        ASSERT_TRUE(writer);
        EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"one.txt", kHello.data(), static_cast<DWORD>(kHello.size()), QELZIP_SOURCE_MEMORY));
        EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"two.zip", kHello.data(), static_cast<DWORD>(kHello.size()), QELZIP_SOURCE_MEMORY));
        EXPECT_EQ(QELZR_OK, QelZipCloseWriter(writer.release()));
    }
    // The reader sees the end of the pipe once its only writing end is closed.
    writeEnd.Close();
    drain.join();

    ASSERT_GT(received.size(), 100u);
    EXPECT_EQ(8, Get16(received, 6));
    EXPECT_EQ(0u, Get32(received, 14));
    // The stored entry: its data, then the descriptor with CRC and sizes.
    const size_t data = DataOf(received, 1);
    EXPECT_EQ(0x08074b50u, Get32(received, data + kHello.size()));
    EXPECT_EQ(kHelloCrc, Get32(received, data + kHello.size() + 4));
    EXPECT_EQ(kHello.size(), Get32(received, data + kHello.size() + 12));
    EXPECT_EQ(8, Get16(received, CentralRecordOf(received, 1) + 8));

    ReaderPtr reader = OpenBytes(received);
    ASSERT_TRUE(reader);
    EXPECT_EQ(kHello, Unzip(reader.get(), 0));
    EXPECT_EQ(kHello, Unzip(reader.get(), 1));
}

TEST(ZipWriter, FileAndHandleOutputs)
{
    TestFolder folder;
    const std::wstring path = folder.Path() + L"\u6587\u6863.zip";
    WriterPtr writer(QelZipCreateFile(path.c_str(), nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"r.txt", kRepeated.data(), static_cast<DWORD>(kRepeated.size()), QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_OK, QelZipCloseWriter(writer.release()));
    ReaderPtr reader(QelZipOpenFile(path.c_str(), nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(kRepeated, Unzip(reader.get(), 0));
    reader.reset();

    // On a handle the archive starts where the handle stood; it stays open.
    const std::wstring joined = folder.Path() + L"joined.bin";
    CHandle file(CreateFileW(joined.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    WriteFile(file.Get(), "0123456789", 10, &written, nullptr);
    writer.reset(QelZipCreateHandle(file.Get(), nullptr));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"h.txt", kHello.data(), static_cast<DWORD>(kHello.size()), QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"f.txt", path.c_str(), 0, QELZIP_SOURCE_FILE));
    EXPECT_EQ(QELZR_OK, QelZipCloseWriter(writer.release()));
    const Bytes bytes = ReadBytes(joined);
    ASSERT_GT(bytes.size(), 100u);
    const Bytes archive(bytes.begin() + 10, bytes.end());
    EXPECT_EQ(0u, LocalHeaderOf(archive, 0));
    EXPECT_EQ(0, Get16(archive, 6));
    SetFilePointer(file.Get(), 10, nullptr, FILE_BEGIN);
    reader.reset(QelZipOpenHandle(file.Get(), nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(kHello, Unzip(reader.get(), 0));
    EXPECT_EQ(ReadBytes(path).size(), Unzip(reader.get(), 1).size());
    reader.reset();
    EXPECT_TRUE(CloseHandle(file.Detach())) << "the writer and the reader left the handle open";
}

namespace {

// The traditional zip decryption, written from the published format.
class TraditionalDecoder {
public:
    explicit TraditionalDecoder(const std::string& password)
    {
        for (char c : password)
            Update(static_cast<BYTE>(c));
    }
    BYTE Decode(BYTE c)
    {
        const unsigned temp = (k[2] & 0xFFFF) | 2;
        const BYTE plain = c ^ static_cast<BYTE>((temp * (temp ^ 1)) >> 8);
        Update(plain);
        return plain;
    }

private:
    void Update(BYTE c)
    {
        k[0] = Crc(k[0], c);
        k[1] = (k[1] + (k[0] & 0xFF)) * 134775813u + 1;
        k[2] = Crc(k[2], static_cast<BYTE>(k[1] >> 24));
    }
    static DWORD Crc(DWORD crc, BYTE c)
    {
        crc ^= c;
        for (int i = 0; i < 8; ++i)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        return crc;
    }
    DWORD k[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

} // namespace

TEST(ZipWriter, PasswordEnciphersEntriesButNotFolders)
{
    WriterPtr writer(QelZipCreateMemory(nullptr, 1 << 20, "s3cret"));
    ASSERT_TRUE(writer);
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"page.htm", kRepeated.data(), 5000, QELZIP_SOURCE_MEMORY));
    EXPECT_EQ(QELZR_OK, QelZipAdd(writer.get(), L"dir", nullptr, 0, QELZIP_SOURCE_FOLDER));
    const Bytes zip = TakeMemory(writer.get());
    ASSERT_FALSE(zip.empty());

    const size_t local = LocalHeaderOf(zip, 0);
    EXPECT_EQ(9, Get16(zip, local + 6));
    EXPECT_EQ(0u, Get32(zip, local + 14));
    const size_t central = CentralRecordOf(zip, 0);
    const DWORD compressed = Get32(zip, central + 20);
    const WORD dosTime = Get16(zip, central + 12);
    EXPECT_EQ(9, Get16(zip, central + 8));
    EXPECT_EQ(0, Get16(zip, CentralRecordOf(zip, 1) + 8));

    TraditionalDecoder decoder("s3cret");
    const size_t data = DataOf(zip, 0);
    BYTE header[12];
    for (int i = 0; i < 12; ++i)
        header[i] = decoder.Decode(zip[data + i]);
    EXPECT_EQ(BYTE(dosTime >> 8), header[11]);
    Bytes deflated;
    for (size_t i = 12; i < compressed; ++i)
        deflated.push_back(decoder.Decode(zip[data + i]));
    EXPECT_EQ(0x08074b50u, Get32(zip, data + compressed));

    std::string plain(5000, '\0');
    z_stream stream{};
    ASSERT_EQ(Z_OK, inflateInit2(&stream, -MAX_WBITS));
    stream.next_in = deflated.data();
    stream.avail_in = static_cast<uInt>(deflated.size());
    stream.next_out = reinterpret_cast<Bytef*>(&plain[0]);
    stream.avail_out = 5000;
    EXPECT_EQ(Z_STREAM_END, inflate(&stream, Z_FINISH));
    inflateEnd(&stream);
    EXPECT_EQ(kRepeated.substr(0, 5000), plain);

    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    EXPECT_EQ("<result 4096>", Unzip(reader.get(), 0, QELZR_OK));
}
