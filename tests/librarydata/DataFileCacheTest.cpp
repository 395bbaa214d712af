#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "DataFileSupport.h"
#include "common/TestLog.h"
#include "librarydata/DataFileCache.h"

namespace {

std::string IndexPage(const std::wstring& path)
{
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!QelGetDataFileCache()->ExtractIndexPage(path.c_str(), &data, &size))
        return "<failed>";
    const std::string text = AsText(data, size);
    free(data);
    return text;
}

std::string Entry(const std::wstring& path, const wchar_t* name)
{
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!QelGetDataFileCache()->ExtractEntry(path.c_str(), name, &data, &size))
        return "<failed>";
    const std::string text = AsText(data, size);
    free(data);
    return text;
}

class DataFileCacheTest : public ::testing::Test {
protected:
    void SetUp() override { QelGetDataFileCache()->Clear(); }
    void TearDown() override { QelGetDataFileCache()->Clear(); }

    std::wstring Save(const std::wstring& name, const std::string& page)
    {
        const std::wstring path = m_folder.Path() + name;
        EXPECT_TRUE(SaveDataFile(path, {{L"index.htm", page}, {L"style.css", "body{}"}}));
        return path;
    }

    TestFolder m_folder;
};

} // namespace

TEST_F(DataFileCacheTest, EleventhFileEmptiesAFullCache)
{
    std::vector<std::wstring> paths;
    for (int i = 1; i <= 11; ++i) {
        paths.push_back(Save(L"doc" + std::to_wstring(i) + L".kvd", "old " + std::to_string(i)));
        EXPECT_EQ("old " + std::to_string(i), IndexPage(paths.back()));
    }
    // Rewritten on disk behind the cache's back: only what was dropped is read again.
    for (int i = 1; i <= 11; ++i)
        Save(L"doc" + std::to_wstring(i) + L".kvd", "new " + std::to_string(i));
    EXPECT_EQ("old 11", IndexPage(paths[10]));
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ("new " + std::to_string(i), IndexPage(paths[static_cast<size_t>(i - 1)]));
}

TEST_F(DataFileCacheTest, OnePathInAnyCaseIsOneEntry)
{
    const std::wstring path = Save(L"Case.kvd", "first");
    EXPECT_EQ("first", IndexPage(path));
    Save(L"Case.kvd", "second");
    std::wstring upper = path;
    CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    EXPECT_EQ("first", IndexPage(upper));
    EXPECT_EQ("body{}", Entry(upper, L"STYLE.CSS"));
    EXPECT_EQ("<failed>", Entry(path, L"missing.png"));
}

TEST_F(DataFileCacheTest, RemovedOrClearedFilesAreReadAgain)
{
    const std::wstring path = Save(L"replace.kvd", "before sync");
    EXPECT_EQ("before sync", IndexPage(path));
    Save(L"replace.kvd", "after sync");
    std::wstring upper = path;
    CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    QelGetDataFileCache()->Remove(upper.c_str());
    EXPECT_EQ("after sync", IndexPage(path));

    // A deleted data file is no longer served.
    DeleteFileW(path.c_str());
    EXPECT_EQ("after sync", IndexPage(path));
    QelGetDataFileCache()->Remove(path.c_str());
    EXPECT_EQ("<failed>", IndexPage(path));

    const std::wstring other = Save(L"other.kvd", "one");
    EXPECT_EQ("one", IndexPage(other));
    Save(L"other.kvd", "two");
    QelGetDataFileCache()->Clear();
    EXPECT_EQ("two", IndexPage(other));
    QelGetDataFileCache()->Remove(L"");
    QelGetDataFileCache()->Remove(nullptr);
}

TEST_F(DataFileCacheTest, FileOfAnotherComputerIsNotServed)
{
    const std::wstring path = m_folder.Path() + L"foreign.kvd";
    ASSERT_TRUE(SaveDataFile(path, {{L"index.htm", "secret"}}, ComputerKey() + "-OTHER"));
    const CLogCapture log;
    EXPECT_EQ("<failed>", IndexPage(path));
    const std::vector<std::wstring> expected = {
        L"Failed to decrypt data file: " + path, L"Failed to open data file: " + path,
        L"Failed to get document data: " + path, L"Failed to get data file: " + path};
    EXPECT_EQ(expected, log.Lines());

    const std::wstring missing = m_folder.Path() + L"missing.kvd";
    const CLogCapture again;
    EXPECT_EQ("<failed>", Entry(missing, L"index.htm"));
    const std::vector<std::wstring> missingLines = {L"Failed to get document data: " + missing,
                                                    L"Failed to get data file: " + missing};
    EXPECT_EQ(missingLines, again.Lines());
    EXPECT_EQ("<failed>", IndexPage(L""));
}

TEST_F(DataFileCacheTest, BadDataFilesFailClearly)
{
    Bytes noise(5000);
    DWORD state = 99;
    for (BYTE& b : noise) {
        state = state * 1103515245u + 12345u;
        b = static_cast<BYTE>(state >> 16);
    }
    const std::string picture(noise.begin(), noise.begin() + 2000);
    const Bytes zip = MakeZip({{L"index.htm", std::string(noise.begin() + 2000, noise.end())}, {L"a.png", picture}});
    const Bytes sealed = Seal(zip, ComputerKey());
    ASSERT_GT(sealed.size(), 2080u);
    // The zip's CRC of its index page, broken before sealing.
    Bytes badCrc = zip;
    const size_t central = CentralRecordOf(badCrc, 0);
    const size_t local = LocalHeaderOf(badCrc, 0);
    Set32(badCrc, central + 16, Get32(badCrc, central + 16) ^ 1);
    Set32(badCrc, local + 14, Get32(badCrc, local + 14) ^ 1);

    const std::vector<std::pair<std::wstring, Bytes>> corpus = {
        {L"empty.kvd", Bytes()},
        {L"noise.kvd", noise},
        {L"ragged.kvd", Bytes(sealed.begin(), sealed.end() - 5)},
        {L"cut.kvd", Bytes(sealed.begin(), sealed.begin() + 1040)},
        {L"crc.kvd", Seal(badCrc, ComputerKey())},
        {L"sealed-noise.kvd", Seal(noise, ComputerKey())},
    };
    for (const auto& item : corpus) {
        const std::wstring path = m_folder.Path() + item.first;
        ASSERT_TRUE(WriteBytes(path, item.second));
        const CLogCapture log;
        EXPECT_EQ("<failed>", IndexPage(path)) << std::string(item.first.begin(), item.first.end());
        if (item.first != L"crc.kvd") {
            const std::vector<std::wstring> lines = log.Lines();
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(L"Failed to get data file: " + path, lines.back());
        }
    }
    // The damaged page is refused; the sound entry beside it is served.
    EXPECT_EQ(picture, Entry(m_folder.Path() + L"crc.kvd", L"a.png"));
}

TEST_F(DataFileCacheTest, TwoThreadsReadOneFileAtOnce)
{
    Entries entries;
    for (int i = 0; i < 8; ++i) {
        std::string content;
        for (int j = 0; j < 20000 + i * 1000; ++j)
            content += static_cast<char>('a' + (i * 7 + j) % 26);
        entries.push_back({L"part" + std::to_wstring(i) + L".txt", content});
    }
    entries.push_back({L"index.htm", "<p>shared</p>"});
    const std::wstring path = m_folder.Path() + L"shared.kvd";
    ASSERT_TRUE(SaveDataFile(path, entries));

    std::atomic<int> ready{0};
    std::atomic<int> wrong{0};
    auto reader = [&](int first) {
        ++ready;
        while (ready < 2) {
        }
        for (int round = 0; round < 60; ++round) {
            const auto& entry = entries[static_cast<size_t>((first + round) % 8)];
            if (Entry(path, entry.first.c_str()) != entry.second)
                ++wrong;
            if (IndexPage(path) != "<p>shared</p>")
                ++wrong;
        }
    };
    std::thread one(reader, 0);
    std::thread two(reader, 3);
    one.join();
    two.join();
    EXPECT_EQ(0, wrong.load());
}
