#include <gtest/gtest.h>

#include "TestFolder.h"
#include "foundation/Streams.h"

using Microsoft::WRL::ComPtr;

namespace {

ComPtr<IStream> MemoryStream(const std::string& content = std::string())
{
    ComPtr<IStream> stream;
    EXPECT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    if (!content.empty()) {
        EXPECT_TRUE(QelWriteStream(stream.Get(), content.data(), static_cast<ULONG>(content.size())));
    }
    return stream;
}

ULONGLONG Position(IStream* stream)
{
    LARGE_INTEGER zero{};
    ULARGE_INTEGER position{};
    stream->Seek(zero, STREAM_SEEK_CUR, &position);
    return position.QuadPart;
}

std::string Content(IStream* stream)
{
    std::string text(static_cast<size_t>(QelGetStreamSize(stream)), '\0');
    QelSeekStreamToBegin(stream);
    QelReadStream(stream, &text[0], static_cast<ULONG>(text.size()));
    return text;
}

}  // namespace

TEST(Streams, SizeKeepsThePosition)
{
    auto stream = MemoryStream("abcdef");
    LARGE_INTEGER two{};
    two.QuadPart = 2;
    stream->Seek(two, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(6u, QelGetStreamSize(stream.Get()));
    EXPECT_EQ(2u, Position(stream.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(nullptr));
    EXPECT_TRUE(QelSetStreamSize(stream.Get(), 3));
    EXPECT_EQ("abc", Content(stream.Get()));
}

TEST(Streams, ShortReadFailsButKeepsTheBytes)
{
    auto stream = MemoryStream("xyz");
    QelSeekStreamToBegin(stream.Get());
    char buffer[8] = {};
    EXPECT_FALSE(QelReadStream(stream.Get(), buffer, 5));
    EXPECT_STREQ("xyz", buffer);
    EXPECT_TRUE(QelReadStream(stream.Get(), buffer, 0));
    EXPECT_FALSE(QelReadStream(nullptr, buffer, 1));
}

TEST(Streams, CopyReplacesTargetAndRewindsIt)
{
    auto source = MemoryStream("source bytes");
    auto target = MemoryStream("a much longer old target content");
    EXPECT_TRUE(QelCopyStream(source.Get(), target.Get()));
    EXPECT_EQ(0u, Position(target.Get()));
    EXPECT_EQ(12u, Position(source.Get()));
    EXPECT_EQ("source bytes", Content(target.Get()));

    auto empty = MemoryStream();
    EXPECT_TRUE(QelCopyStream(empty.Get(), target.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(target.Get()));
}

TEST(Streams, FileRoundTripAndEdgeCases)
{
    TestFolder dir;
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>(i * 7);
    auto stream = MemoryStream(binary);
    EXPECT_TRUE(QelSaveStreamToFile(stream.Get(), (dir / L"a.bin").c_str()));
    auto loaded = MemoryStream("old content");
    EXPECT_TRUE(QelLoadFileToStream((dir / L"a.bin").c_str(), loaded.Get()));
    EXPECT_EQ(binary, Content(loaded.Get()));

    // An empty file gives an empty stream and success.
    ASSERT_TRUE(WriteBytes(dir / L"empty", {}));
    EXPECT_TRUE(QelLoadFileToStream((dir / L"empty").c_str(), loaded.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(loaded.Get()));

    // A missing file fails and leaves the stream emptied.
    auto kept = MemoryStream("content");
    EXPECT_FALSE(QelLoadFileToStream((dir / L"missing").c_str(), kept.Get()));
    EXPECT_EQ(0u, QelGetStreamSize(kept.Get()));

    auto none = MemoryStream();
    EXPECT_TRUE(QelSaveStreamToFile(none.Get(), (dir / L"zero").c_str()));
    EXPECT_TRUE(ReadBytes(dir / L"zero").empty());
    EXPECT_FALSE(QelSaveStreamToFile(stream.Get(), (dir / L"no\\such\\folder").c_str()));
}

TEST(Streams, WholeContentWhereverThePositionStands)
{
    auto stream = MemoryStream("whole content");
    LARGE_INTEGER end{};
    stream->Seek(end, STREAM_SEEK_END, nullptr);
    std::vector<BYTE> bytes{1, 2, 3};
    EXPECT_TRUE(QelReadWholeStream(stream.Get(), bytes));
    EXPECT_EQ("whole content", std::string(bytes.begin(), bytes.end()));

    EXPECT_TRUE(QelReadWholeStream(MemoryStream().Get(), bytes));
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
    EXPECT_EQ("abc", Content(stream.Get()));
}
