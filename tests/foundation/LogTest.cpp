#include <gtest/gtest.h>

#include <thread>

#include "TestFolder.h"
#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/Log.h"

namespace {

std::wstring ReadLog(const std::wstring& path)
{
    const auto bytes = ReadBytes(path);
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        return L"<no mark>";
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    memcpy(&text[0], bytes.data() + 2, text.size() * 2);
    return text;
}

std::wstring Stamp(const SYSTEMTIME& now)
{
    wchar_t date[128] = {}, time[128] = {};
    GetDateFormatW(GetThreadLocale(), DATE_LONGDATE, &now, nullptr, date, 128);
    GetTimeFormatW(GetThreadLocale(), 0, &now, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

// The part after the stamp and the tick count: ": " onward.
std::wstring Message(const std::wstring& line)
{
    const size_t at = line.find(L"): ");
    return at == std::wstring::npos ? L"<bad line>" : line.substr(at + 1);
}

}  // namespace

TEST(Log, LineFormat)
{
    TestFolder dir;
    const std::wstring log = dir / L"Tessary.log";
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    QelWriteLogFile(log.c_str(), L"Failed to open database: C:\\x\\Data\\a\\index.db");
    GetLocalTime(&after);

    const std::wstring text = ReadLog(log);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(L"\r\n", text.substr(text.size() - 2));
    const std::wstring line = text.substr(0, text.size() - 2);
    EXPECT_EQ(std::wstring::npos, line.find(L'\n'));

    const std::wstring stamp1 = Stamp(before), stamp2 = Stamp(after);
    const bool stamped = line.compare(0, stamp1.size(), stamp1) == 0 || line.compare(0, stamp2.size(), stamp2) == 0;
    EXPECT_TRUE(stamped) << std::string(line.begin(), line.end());

    const size_t open = line.find(L" (", stamp1.size() - 1);
    ASSERT_NE(std::wstring::npos, open);
    const size_t close = line.find(L')', open);
    ASSERT_NE(std::wstring::npos, close);
    const std::wstring ticks = line.substr(open + 2, close - open - 2);
    EXPECT_EQ(std::wstring::npos, ticks.find_first_not_of(L"-0123456789"));
    EXPECT_EQ(L": Failed to open database: C:\\x\\Data\\a\\index.db", line.substr(close + 1));
}

TEST(Log, LineEndsBecomeBlanksAndEmptyMessagesStillWrite)
{
    TestFolder dir;
    const std::wstring log = dir / L"Tessary.log";
    QelWriteLogFile(log.c_str(), L"a\r\nb");
    QelWriteLogFile(log.c_str(), L"");
    QelWriteLogFile(log.c_str(), nullptr);
    const std::wstring text = ReadLog(log);
    std::vector<std::wstring> lines;
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(L": a  b", Message(lines[0]));
    EXPECT_EQ(L": ", Message(lines[1]));
    EXPECT_EQ(L": ", Message(lines[2]));
}

TEST(Log, RotationKeepsExactlyOneMegabyteAndRestartsLarger)
{
    TestFolder dir;
    const std::wstring log = dir / L"Tessary.log";
    std::vector<unsigned char> full(QEL_LOG_SIZE_LIMIT, 'x');
    full[0] = 0xFF;
    full[1] = 0xFE;
    ASSERT_TRUE(WriteBytes(log, full));
    QelWriteLogFile(log.c_str(), L"kept");
    auto bytes = ReadBytes(log);
    EXPECT_GT(bytes.size(), full.size());
    EXPECT_TRUE(std::equal(full.begin(), full.end(), bytes.begin()));

    full.push_back('x');  // 1,048,577 bytes
    ASSERT_TRUE(WriteBytes(log, full));
    QelWriteLogFile(log.c_str(), L"fresh");
    const std::wstring text = ReadLog(log);
    EXPECT_EQ(L": fresh\r\n", Message(text));
    EXPECT_LT(text.size(), 200u);
}

TEST(Log, RestartsFilesWithoutTheUtf16Mark)
{
    const std::vector<std::vector<unsigned char>> starts = {
        {0xEF, 0xBB, 0xBF, 'o', 'l', 'd'},  // UTF-8 mark
        {'o', 'l', 'd', ' ', 'l', 'o', 'g'},  // no mark
        {0xFF, 0xFE, 'a'},                     // shorter than 4 bytes
    };
    for (const auto& start : starts) {
        TestFolder dir;
        const std::wstring log = dir / L"Tessary.log";
        ASSERT_TRUE(WriteBytes(log, start));
        QelWriteLogFile(log.c_str(), L"new");
        const auto bytes = ReadBytes(log);
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(0xFF, bytes[0]);
        EXPECT_EQ(0xFE, bytes[1]);
        EXPECT_EQ(L": new\r\n", Message(ReadLog(log)));
    }
}

TEST(Log, ThreadsNeverInterleaveLines)
{
    TestFolder dir;
    const std::wstring log = dir / L"Tessary.log";
    const int threads = 6, perThread = 40;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            const std::wstring message = L"thread " + std::to_wstring(t) + L" " + std::wstring(200, L'a' + t);
            for (int i = 0; i < perThread; ++i)
                QelWriteLogFile(log.c_str(), message.c_str());
        });
    for (auto& worker : workers)
        worker.join();

    const std::wstring text = ReadLog(log);
    int count = 0;
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        const std::wstring message = Message(text.substr(start, end - start));
        ASSERT_GT(message.size(), 10u);
        const int t = message[9] - L'0';
        EXPECT_EQ(L": thread " + std::to_wstring(t) + L" " + std::wstring(200, L'a' + t), message);
        ++count;
    }
    EXPECT_EQ(threads * perThread, count);
}

TEST(Global, ServicesObject)
{
    IQelGlobal* global = TessaryGetGlobal();
    ASSERT_NE(nullptr, global);
    EXPECT_EQ(global, TessaryGetGlobal());
    EXPECT_EQ(L"Tessary", global->GetAppName());
    EXPECT_TRUE(global->IsResourceFilePath(L"%ResourceFilePath%/img/a.png"));
    EXPECT_FALSE(global->IsResourceFilePath(L"%resourcefilepath%/a"));
    EXPECT_FALSE(global->IsResourceFilePath(L"%ResourceFilePath%"));

    const std::wstring temp = global->GetTempFolder();
    EXPECT_EQ(QelGetTempPath() + L"Tessary\\", temp);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(temp.c_str()));
    RemoveDirectoryW(temp.c_str());
    EXPECT_EQ(temp, global->GetTempFolder());  // cached, not made again
}

TEST(Global, WriteLogAppendsToDataFolderLog)
{
    const std::wstring log = QelGetDataFolder() + L"Tessary.log";
    const std::wstring marker = L"marker " + std::to_wstring(GetTickCount());
    TessaryGetGlobal()->WriteLog(marker.c_str());
    EXPECT_NE(std::wstring::npos, ReadLog(log).find(L": " + marker + L"\r\n"));
}

TEST(Global, DefaultDropsLogAndCleansTempFolderWhenAsked)
{
    const std::wstring name = L"QelTest" + std::to_wstring(GetCurrentProcessId());
    std::wstring folder;
    {
        CQelGlobalDefault global(name.c_str(), TRUE);
        global.WriteLog(L"dropped");
        folder = global.GetTempFolder();
        ASSERT_EQ(QelGetTempPath() + name + L"\\", folder);
        ASSERT_TRUE(WriteText(folder + L"x.tmp", "x"));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"x.tmp").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.c_str()));
    RemoveDirectoryW(folder.c_str());
}
