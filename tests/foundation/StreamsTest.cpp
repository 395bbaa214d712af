#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestStreams.h"
#include "foundation/Streams.h"

TEST(Streams, SizeKeepsThePosition)
{
    auto stream = StreamWith("abcdef");
    LARGE_INTEGER two{};
    two.QuadPart = 2;
    stream->Seek(two, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(6u, QelGetStreamSize(stream.Get()));
    EXPECT_EQ(2u, StreamPosition(stream.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(nullptr));
    EXPECT_TRUE(QelSetStreamSize(stream.Get(), 3));
    EXPECT_EQ("abc", StreamText(stream.Get()));
}

TEST(Streams, ShortReadFailsButKeepsTheBytes)
{
    auto stream = StreamWith("xyz");
    QelSeekStreamToBegin(stream.Get());
    char buffer[8] = {};
    EXPECT_FALSE(QelReadStream(stream.Get(), buffer, 5));
    EXPECT_STREQ("xyz", buffer);
    EXPECT_TRUE(QelReadStream(stream.Get(), buffer, 0));
    EXPECT_FALSE(QelReadStream(nullptr, buffer, 1));
}

TEST(Streams, CopyReplacesTargetAndRewindsIt)
{
    auto source = StreamWith("source bytes");
    auto target = StreamWith("a much longer old target content");
    EXPECT_TRUE(QelCopyStream(source.Get(), target.Get()));
    EXPECT_EQ(0u, StreamPosition(target.Get()));
    EXPECT_EQ(12u, StreamPosition(source.Get()));
    EXPECT_EQ("source bytes", StreamText(target.Get()));

    auto empty = StreamWith();
    EXPECT_TRUE(QelCopyStream(empty.Get(), target.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(target.Get()));
}

TEST(Streams, FileRoundTripAndEdgeCases)
{
    TestFolder dir;
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>(i * 7);
    auto stream = StreamWith(binary);
    EXPECT_TRUE(QelSaveStreamToFile(stream.Get(), (dir / L"a.bin").c_str()));
    auto loaded = StreamWith("old content");
    EXPECT_TRUE(QelLoadFileToStream((dir / L"a.bin").c_str(), loaded.Get()));
    EXPECT_EQ(binary, StreamText(loaded.Get()));

    // An empty file gives an empty stream and success.
    ASSERT_TRUE(WriteBytes(dir / L"empty", {}));
    EXPECT_TRUE(QelLoadFileToStream((dir / L"empty").c_str(), loaded.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(loaded.Get()));

    // A missing file fails and leaves the stream emptied.
    auto kept = StreamWith("content");
    EXPECT_FALSE(QelLoadFileToStream((dir / L"missing").c_str(), kept.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(kept.Get()));

    auto none = StreamWith();
    EXPECT_TRUE(QelSaveStreamToFile(none.Get(), (dir / L"zero").c_str()));
    EXPECT_TRUE(ReadBytes(dir / L"zero").empty());
    EXPECT_FALSE(QelSaveStreamToFile(stream.Get(), (dir / L"no\\such\\folder").c_str()));
}

TEST(Streams, WholeContentWhereverThePositionStands)
{
    auto stream = StreamWith("whole content");
    LARGE_INTEGER end{};
    stream->Seek(end, STREAM_SEEK_END, nullptr);
    std::vector<BYTE> bytes{1, 2, 3};
    EXPECT_TRUE(QelReadWholeStream(stream.Get(), bytes));
    EXPECT_EQ("whole content", std::string(bytes.begin(), bytes.end()));

    EXPECT_TRUE(QelReadWholeStream(StreamWith().Get(), bytes));
    EXPECT_TRUE(bytes.empty());
    bytes.assign(2, 0);
    EXPECT_FALSE(QelReadWholeStream(nullptr, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(Streams, NewMemoryStreamIsEmptyAndGrows)
{
    const auto stream = QelCreateMemoryStream();
    ASSERT_TRUE(stream);
    EXPECT_EQ(0u, QelGetStreamSize(stream.Get()));
    EXPECT_TRUE(QelWriteStream(stream.Get(), "abc", 3));
    EXPECT_EQ("abc", StreamText(stream.Get()));
}
