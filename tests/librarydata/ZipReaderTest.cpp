#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "ZipTestSupport.h"
#include "ZipVectors.h"

namespace {

Bytes Sample() { return Bytes(kSampleZip, kSampleZip + sizeof(kSampleZip)); }

std::string PageText()
{
    std::string page = "<html><body>";
    for (int i = 0; i < 40; ++i)
        page += "Page text. ";
    return page + "</body></html>";
}

void ExpectLocalTime(const FILETIME& utc, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    const SYSTEMTIME st = LocalTimeOf(utc);
    EXPECT_EQ(year, st.wYear);
    EXPECT_EQ(month, st.wMonth);
    EXPECT_EQ(day, st.wDay);
    EXPECT_EQ(hour, st.wHour);
    EXPECT_EQ(minute, st.wMinute);
    EXPECT_EQ(second, st.wSecond);
}

} // namespace

TEST(ZipReader, ListsEntriesOfAnArchiveMadeElsewhere)
{
    const Bytes zip = Sample();
    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(QelZipIsReader(reader.get()));

    QELZIPENTRYINFO info{};
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), -1, &info));
    EXPECT_EQ(6, info.index);
    EXPECT_STREQ(L"", info.name);

    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 0, &info));
    EXPECT_EQ(0, info.index);
    EXPECT_STREQ(L"page.htm", info.name);
    EXPECT_EQ(static_cast<LONG>(kPageSize), info.uncompressedSize);
    EXPECT_LT(info.compressedSize, info.uncompressedSize);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE), info.attributes);
    ExpectLocalTime(info.modificationTime, 2010, 5, 6, 7, 8, 10);
    EXPECT_EQ(Value(info.modificationTime), Value(info.accessTime));
    EXPECT_EQ(Value(info.modificationTime), Value(info.creationTime));

    // A Unix host: writable, so only the archive bit; the extended time is exact.
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 1, &info));
    EXPECT_STREQ(L"img/logo.png", info.name);
    EXPECT_EQ(1024, info.uncompressedSize);
    EXPECT_EQ(1024, info.compressedSize);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_ARCHIVE), info.attributes);
    EXPECT_EQ(FromUnix(1325375998), Value(info.modificationTime));
    ExpectLocalTime(info.accessTime, 2011, 12, 31, 23, 59, 58);

    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 2, &info));
    EXPECT_STREQ(L"x.htm", info.name);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE), info.attributes);
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 3, &info));
    EXPECT_STREQ(L"y.htm", info.name);
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 4, &info));
    EXPECT_STREQ(L"sub/", info.name);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY), info.attributes);

    // The field claims three times but holds one: the others keep the DOS time.
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 5, &info));
    EXPECT_STREQ(L"Index.HTML", info.name);
    EXPECT_EQ(FromUnix(1300000000), Value(info.modificationTime));
    ExpectLocalTime(info.accessTime, 2012, 1, 1, 0, 0, 0);
    ExpectLocalTime(info.creationTime, 2012, 1, 1, 0, 0, 0);

    // Going back to an earlier entry, and asking twice, give the same answers.
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 0, &info));
    EXPECT_STREQ(L"page.htm", info.name);
    ASSERT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 0, &info));
    EXPECT_STREQ(L"page.htm", info.name);
    EXPECT_EQ(QELZR_ARGS, QelZipGetEntry(reader.get(), 6, &info));
    EXPECT_EQ(QELZR_ARGS, QelZipGetEntry(reader.get(), -2, &info));
}

TEST(ZipReader, FindsEntriesWithOrWithoutRegardToCase)
{
    const Bytes zip = Sample();
    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    int index = -7;
    QELZIPENTRYINFO info{};
    EXPECT_EQ(QELZR_OK, QelZipFindEntry(reader.get(), L"PAGE.HTM", TRUE, &index, &info));
    EXPECT_EQ(0, index);
    EXPECT_STREQ(L"page.htm", info.name);

    EXPECT_EQ(QELZR_NOTFOUND, QelZipFindEntry(reader.get(), L"PAGE.HTM", FALSE, &index, &info));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(-1, info.index);

    EXPECT_EQ(QELZR_OK, QelZipFindEntry(reader.get(), L"img/logo.png", FALSE, &index, &info));
    EXPECT_EQ(1, index);
    EXPECT_EQ(QELZR_OK, QelZipFindEntry(reader.get(), L"index.html", TRUE, &index, &info));
    EXPECT_EQ(5, index);
    EXPECT_EQ(FromUnix(1300000000), Value(info.modificationTime));
    EXPECT_EQ(QELZR_NOTFOUND, QelZipFindEntry(reader.get(), L"missing.htm", TRUE, &index, &info));

    // Names that differ in case only: the first in the archive's order answers a
    // search without regard to case, the one spelt alike an exact search.
    WriterPtr writer(QelZipCreateMemory(nullptr, 4096, nullptr));
    for (const wchar_t* name : {L"Same.htm", L"same.htm", L"SAME.htm"})
        ASSERT_EQ(QELZR_OK, QelZipAdd(writer.get(), name, "x", 1, QELZIP_SOURCE_MEMORY));
    void* block = nullptr;
    DWORD length = 0;
    ASSERT_EQ(QELZR_OK, QelZipGetMemory(writer.get(), &block, &length));
    const Bytes cased(static_cast<BYTE*>(block), static_cast<BYTE*>(block) + length);
    ReaderPtr casedReader = OpenBytes(cased);
    EXPECT_EQ(QELZR_OK, QelZipFindEntry(casedReader.get(), L"SAME.htm", FALSE, &index, &info));
    EXPECT_EQ(2, index);
    EXPECT_EQ(QELZR_OK, QelZipFindEntry(casedReader.get(), L"same.htm", FALSE, &index, &info));
    EXPECT_EQ(1, index);
    EXPECT_STREQ(L"same.htm", info.name);
    EXPECT_EQ(QELZR_OK, QelZipFindEntry(casedReader.get(), L"sAmE.HTM", TRUE, &index, &info));
    EXPECT_EQ(0, index);
    EXPECT_EQ(QELZR_NOTFOUND, QelZipFindEntry(casedReader.get(), L"sAmE.HTM", FALSE, &index, &info));
}

TEST(ZipReader, UnzipsIntoMemoryWholeOrInPieces)
{
    const Bytes zip = Sample();
    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    const std::string page = PageText();

    std::string whole(kPageSize, '\0');
    ASSERT_EQ(QELZR_OK, QelZipExtract(reader.get(), 0, &whole[0], kPageSize, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ(page, whole);
    EXPECT_EQ(kPageCrc, crc32(0, reinterpret_cast<const Bytef*>(whole.data()), kPageSize));

    std::string first(100, '\0');
    std::string rest(kPageSize, '\0');
    EXPECT_EQ(QELZR_MORE, QelZipExtract(reader.get(), 0, &first[0], 100, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ(QELZR_OK, QelZipExtract(reader.get(), 0, &rest[0], kPageSize, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ(page, first + rest.substr(0, kPageSize - 100));

    Bytes logo(1024);
    ASSERT_EQ(QELZR_OK, QelZipExtract(reader.get(), 1, logo.data(), 1024, QELZIP_EXTRACT_MEMORY));
    for (size_t i = 0; i < logo.size(); ++i)
        ASSERT_EQ(BYTE(i & 0xFF), logo[i]);

    char empty = 'z';
    EXPECT_EQ(QELZR_OK, QelZipExtract(reader.get(), 4, &empty, 1, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ('z', empty);
    EXPECT_EQ(QELZR_ARGS, QelZipExtract(reader.get(), 9, &empty, 1, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ(QELZR_ARGS, QelZipExtract(reader.get(), 0, &empty, 1, 7));
    EXPECT_EQ(QELZR_OK, QelZipCheckEntrySize(reader.get(), 0));
}

TEST(ZipReader, EmptyArchiveAndNonArchives)
{
    const Bytes empty(kEmptyZip, kEmptyZip + sizeof(kEmptyZip));
    ReaderPtr reader = OpenBytes(empty);
    ASSERT_TRUE(reader);
    QELZIPENTRYINFO info{};
    EXPECT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), -1, &info));
    EXPECT_EQ(0, info.index);
    int index = 0;
    EXPECT_EQ(QELZR_NOTFOUND, QelZipFindEntry(reader.get(), L"index.htm", TRUE, &index, &info));
    EXPECT_EQ(QELZR_ARGS, QelZipGetEntry(reader.get(), 0, &info));

    const Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p'};
    EXPECT_FALSE(OpenBytes(text));
    EXPECT_EQ(L"Couldn't create/open file", LastReaderText());
    EXPECT_FALSE(QelZipOpenFile(L"Z:\\no\\such\\file.zip", nullptr));
    EXPECT_EQ(ReaderText(QELZR_NOFILE), LastReaderText());
    EXPECT_FALSE(QelZipOpenMemory(nullptr, 10, nullptr));
    EXPECT_EQ(ReaderText(QELZR_ARGS), LastReaderText());
}

TEST(ZipReader, HandlesOfTheWrongKindAreRefused)
{
    const Bytes zip = Sample();
    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    WriterPtr writer(QelZipCreateMemory(nullptr, 4096, nullptr));
    ASSERT_TRUE(writer);
    QELZIPENTRYINFO info{};
    EXPECT_EQ(QELZR_ARGS, QelZipGetEntry(nullptr, -1, &info));
    EXPECT_EQ(QELZR_ZMODE, QelZipGetEntry(writer.get(), -1, &info));
    EXPECT_EQ(QELZR_ZMODE, QelZipClose(writer.get()));
    EXPECT_EQ(QELZR_ARGS, QelZipClose(nullptr));
    EXPECT_FALSE(QelZipIsReader(writer.get()));
    EXPECT_FALSE(QelZipIsReader(nullptr));
    // The writer's close leaves a reading handle alone.
    EXPECT_EQ(QELZR_ZMODE, QelZipCloseWriter(reader.get()));
    EXPECT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), -1, &info));
    EXPECT_EQ(6, info.index);
}

TEST(ZipReader, ResultTextsAreCutToFit)
{
    wchar_t small[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(7u, QelZipResultText(QELZR_OK, small, 5));
    EXPECT_STREQ(L"Succ", small);
    EXPECT_EQ(L"Zipfile is corrupt or not a zipfile", ReaderText(QELZR_CORRUPT));
    EXPECT_EQ(L"Zip-bug: an internal error during flation", ReaderText(QELZR_FLATE));
    EXPECT_EQ(L"unknown zip result code", ReaderText(0x1234));
    // No password can help this build: the text says so.
    EXPECT_NE(std::wstring::npos, ReaderText(QELZR_PASSWORD).find(L"cannot"));
    EXPECT_EQ(23u, QelZipResultText(0x1234, nullptr, 0));
}

TEST(ZipReader, OpensFilesAndHandlesUnderUnicodePaths)
{
    TestFolder folder;
    const std::wstring sub = folder.Path() + L"B\u00fccher \u6863\u6848\\";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    const std::wstring path = sub + L"\u0391\u03b2 \u2153.zip";
    ASSERT_TRUE(WriteBytes(path, Sample()));

    ReaderPtr reader(QelZipOpenFile(path.c_str(), nullptr));
    ASSERT_TRUE(reader);
    std::string whole(kPageSize, '\0');
    EXPECT_EQ(QELZR_OK, QelZipExtract(reader.get(), 0, &whole[0], kPageSize, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ(PageText(), whole);
    reader.reset();

    // A handle is read from its position at open, which is the archive's start.
    Bytes prefixed(37, 0xEE);
    prefixed.insert(prefixed.end(), kSampleZip, kSampleZip + sizeof(kSampleZip));
    const std::wstring prefixedPath = sub + L"prefixed.bin";
    ASSERT_TRUE(WriteBytes(prefixedPath, prefixed));
    const CHandle file(CreateFileW(prefixedPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    SetFilePointer(file.Get(), 37, nullptr, FILE_BEGIN);
    reader.reset(QelZipOpenHandle(file.Get(), nullptr));
    ASSERT_TRUE(reader);
    Bytes logo(1024);
    EXPECT_EQ(QELZR_OK, QelZipExtract(reader.get(), 1, logo.data(), 1024, QELZIP_EXTRACT_MEMORY));
    EXPECT_EQ(BYTE(255), logo[1023]);
    reader.reset();
}

TEST(ZipReader, UnzipsToFilesBelowTheBaseFolder)
{
    TestFolder folder;
    const Bytes zip = Sample();
    ReaderPtr reader = OpenBytes(zip);
    ASSERT_TRUE(reader);
    ASSERT_EQ(QELZR_OK, QelZipSetBaseFolder(reader.get(), folder.Path().c_str()));
    std::wstring relative = L"out/deep/page.htm";
    ASSERT_EQ(QELZR_OK, QelZipExtract(reader.get(), 0, &relative[0], 0, QELZIP_EXTRACT_FILE));
    const Bytes written = ReadBytes(folder.Path() + L"out\\deep\\page.htm");
    EXPECT_EQ(PageText(), std::string(written.begin(), written.end()));

    CHandle file(CreateFileW((folder.Path() + L"logo.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_EQ(QELZR_OK, QelZipExtract(reader.get(), 1, file.Get(), 0, QELZIP_EXTRACT_HANDLE));
    FILETIME created{}, accessed{}, modified{};
    GetFileTime(file.Get(), &created, &accessed, &modified);
    file.Close();
    EXPECT_EQ(FromUnix(1325375998), Value(modified));
    EXPECT_EQ(1024u, ReadBytes(folder.Path() + L"logo.png").size());

    std::wstring sub = L"made";
    EXPECT_EQ(QELZR_OK, QelZipExtract(reader.get(), 4, &sub[0], 0, QELZIP_EXTRACT_FILE));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder.Path() + L"made").c_str()));
}
