#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdlib>

#include "DataFileSupport.h"
#include "common/TestLog.h"
#include "librarydata/DataFile.h"

namespace {

struct Freed {
    void operator()(BYTE* p) const { free(p); }
};

// The entry's bytes, or "<failed>".
template <typename Extract>
std::string Take(Extract extract)
{
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!extract(&data, &size))
        return "<failed>";
    std::unique_ptr<BYTE, Freed> owned(data);
    return AsText(data, size);
}

int IndexOf(const Entries& entries)
{
    const Bytes zip = MakeZip(entries);
    ReaderPtr reader = OpenBytes(zip);
    return reader ? COskanDataFile::FindIndexFile(reader.get()) : -99;
}

} // namespace

TEST(DataFile, LoadsASealedArchiveAndServesItsEntries)
{
    TestFolder folder;
    const std::wstring path = folder.Path() + L"a\u00e9\u4e2d.kvd";
    const std::string picture(5000, '\x7f');
    ASSERT_TRUE(SaveDataFile(path, {{L"img\\a.png", picture}, {L"qel_toc.htm", "toc"}, {L"page.html", "<p>page</p>"},
                                    {L"index.htm", "<p>index</p>"}}));
    COskanDataFile file;
    ASSERT_TRUE(file.Load(path.c_str()));
    EXPECT_FALSE(file.Load(path.c_str()));
    // The first page that qualifies wins, even before an index.htm.
    EXPECT_EQ(L"page.html", file.GetIndexFileName());
    EXPECT_EQ("<p>page</p>", Take([&](BYTE** d, DWORD* s) { return file.ExtractIndexFile(d, s); }));
    EXPECT_EQ(picture, Take([&](BYTE** d, DWORD* s) { return file.ExtractFile(L"IMG/A.PNG", d, s); }));
    EXPECT_EQ("toc", Take([&](BYTE** d, DWORD* s) { return file.ExtractItem(1, d, s); }));
    EXPECT_EQ("<failed>", Take([&](BYTE** d, DWORD* s) { return file.ExtractFile(L"missing.htm", d, s); }));

    BYTE* taken = reinterpret_cast<BYTE*>(1);
    DWORD size = 0;
    EXPECT_FALSE(file.ExtractItem(0, &taken, &size));  // *data must start null
    EXPECT_FALSE(file.ExtractItem(0, nullptr, &size));
}

TEST(DataFile, IndexPageRule)
{
    EXPECT_EQ(-1, IndexOf({{L"sub/index.htm", "x"}, {L"a.txt", "y"}}));
    EXPECT_EQ(0, IndexOf({{L"QelArticle_1.txt", "x"}, {L"index.htm", "y"}}));
    EXPECT_EQ(1, IndexOf({{L"qel_toc.htm", "x"}, {L"page.html", "y"}}));
    EXPECT_EQ(1, IndexOf({{L"a.txt", "x"}, {L"B.HTM", "y"}}));
    EXPECT_EQ(1, IndexOf({{L"notes.txt", "x"}, {L" INDEX.HTMLX ", "y"}}));
    EXPECT_EQ(0, IndexOf({{L"qelarticle_9", "x"}}));
    EXPECT_EQ(-1, IndexOf({{L"qel_page.htm", "x"}, {L"style.css", "y"}}));
    EXPECT_EQ(-1, IndexOf({}));
}

TEST(DataFile, IndexPageStoredWithALeadingSlashIsServed)
{
    TestFolder folder;
    const std::wstring path = folder.Path() + L"slash.kvd";
    ASSERT_TRUE(SaveDataFile(path, {{L"/index.htm", "<p>rooted</p>"}}));
    COskanDataFile file;
    ASSERT_TRUE(file.Load(path.c_str()));
    EXPECT_EQ(L"index.htm", file.GetIndexFileName());
    EXPECT_EQ("<p>rooted</p>", Take([&](BYTE** d, DWORD* s) { return file.ExtractIndexFile(d, s); }));
}

TEST(DataFile, PlainArchiveOpensAfterALoggedDecipherFailure)
{
    TestFolder folder;
    const std::wstring path = folder.Path() + L"plain.kvd";
    ASSERT_TRUE(WriteBytes(path, MakeZip({{L"index.htm", "plain"}})));
    COskanDataFile file;
    const CLogCapture log;
    ASSERT_TRUE(file.Load(path.c_str()));
    EXPECT_EQ("plain", Take([&](BYTE** d, DWORD* s) { return file.ExtractIndexFile(d, s); }));
    EXPECT_EQ(std::vector<std::wstring>{L"Failed to decrypt data file: " + path}, log.Lines());
}

TEST(DataFile, FailuresAreLoggedAndNothingIsServed)
{
    TestFolder folder;
    const std::wstring sub = folder.Path() + L"sub.kvd";
    ASSERT_TRUE(SaveDataFile(sub, {{L"pages/index.htm", "deep"}}));
    COskanDataFile deep;
    const CLogCapture log;
    EXPECT_FALSE(deep.Load(sub.c_str()));
    EXPECT_EQ(std::vector<std::wstring>{L"Failed to find index file: " + sub}, log.Lines());
    EXPECT_EQ("<failed>", Take([&](BYTE** d, DWORD* s) { return deep.ExtractIndexFile(d, s); }));

    const std::wstring missing = folder.Path() + L"missing.kvd";
    COskanDataFile none;
    const CLogCapture again;
    EXPECT_FALSE(none.Load(missing.c_str()));
    EXPECT_EQ(std::vector<std::wstring>{L"Failed to load data file: " + missing}, again.Lines());
}

TEST(DataFile, StreamsWithoutGlobalMemoryAreCopied)
{
    const Bytes zip = MakeZip({{L"a.txt", "alpha"}, {L"b.txt", std::string(3000, 'b')}});
    Microsoft::WRL::ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(zip.data(), static_cast<UINT>(zip.size())));
    ASSERT_TRUE(stream);
    HGLOBAL memory = nullptr;
    ASSERT_TRUE(FAILED(GetHGlobalFromStream(stream.Get(), &memory)));
    CQelUnZipStream archive;
    ASSERT_TRUE(archive.Open(stream.Get()));
    EXPECT_EQ("alpha", Take([&](BYTE** d, DWORD* s) { return archive.ExtractItem(0, d, s); }));
    EXPECT_EQ(std::string(3000, 'b'), Take([&](BYTE** d, DWORD* s) { return archive.ExtractFile(L"B.TXT", d, s); }));
    archive.Close();
    EXPECT_EQ("<failed>", Take([&](BYTE** d, DWORD* s) { return archive.ExtractItem(0, d, s); }));

    // A stream on global memory is read in place and stays locked until the close.
    Microsoft::WRL::ComPtr<IStream> global;
    ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &global)));
    ASSERT_TRUE(QelWriteStream(global.Get(), zip.data(), static_cast<ULONG>(zip.size())));
    ASSERT_TRUE(archive.Open(global.Get()));
    ASSERT_TRUE(SUCCEEDED(GetHGlobalFromStream(global.Get(), &memory)));
    EXPECT_EQ(1u, GlobalFlags(memory) & GMEM_LOCKCOUNT);
    EXPECT_EQ("alpha", Take([&](BYTE** d, DWORD* s) { return archive.ExtractItem(0, d, s); }));
    archive.Close();
    EXPECT_EQ(0u, GlobalFlags(memory) & GMEM_LOCKCOUNT);
}

TEST(DataFile, UnZipFileOpensFilesAndKnowsNoWriter)
{
    TestFolder folder;
    const std::wstring path = folder.Path() + L"\u0436.zip";
    ASSERT_TRUE(WriteBytes(path, MakeZip({{L"x.txt", "x"}})));
    CQelUnZipFile archive;
    EXPECT_FALSE(archive.ExtractItem(0, nullptr, nullptr));
    ASSERT_TRUE(archive.OpenFile(path.c_str()));
    EXPECT_EQ("x", Take([&](BYTE** d, DWORD* s) { return archive.ExtractFile(L"X.TXT", d, s); }));
    EXPECT_TRUE(archive.Close());
    EXPECT_FALSE(archive.OpenFile((folder.Path() + L"none.zip").c_str()));
    EXPECT_FALSE(archive.OpenMemory("junk", 4));
}
