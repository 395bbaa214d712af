#include <gtest/gtest.h>

#include "foundation/Base64.h"
#include "HexBytes.h"
#include "TestFolder.h"
#include "TestStreams.h"

#include <wrl/client.h>

// Expected texts computed with Python's base64 module, one line per 57 bytes.

namespace {

std::vector<BYTE> Counting(int first, int count)
{
    std::vector<BYTE> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<BYTE>(first + i));
    return bytes;
}

std::string Encode(const std::vector<BYTE>& bytes)
{
    return QelBase64Encode(bytes.data(), static_cast<int>(bytes.size()));
}

std::string Decode(const char* text)
{
    int length = -1;
    if (!QelBase64Decode(text, nullptr, &length))
        return "no size";
    std::vector<BYTE> out(length + 10, 0xcc);
    int room = static_cast<int>(out.size());
    if (!QelBase64Decode(text, out.data(), &room) || room != length)
        return "no decode";
    for (size_t i = length; i < out.size(); ++i)
        if (out[i] != 0xcc)
            return "overrun";
    return ToHex(out.data(), length);
}

const char kLine1[] = "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4";
const char kLine2[] = "OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJTVFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3Bx";

} // namespace

TEST(Base64, EncodesInLinesOf76WithCrLfAfterEveryFullLine)
{
    EXPECT_EQ("YWJj", QelBase64EncodeString("abc"));
    EXPECT_EQ("YQ==", QelBase64EncodeString("a"));
    EXPECT_EQ("YWI=", QelBase64EncodeString("ab"));
    EXPECT_EQ("", QelBase64EncodeString(""));
    EXPECT_EQ("", QelBase64Encode(nullptr, 5));

    EXPECT_EQ("AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc=",
              Encode(Counting(0, 56)));
    EXPECT_EQ(std::string(kLine1) + "\r\n", Encode(Counting(0, 57)));
    EXPECT_EQ(std::string(kLine1) + "\r\nOQ==", Encode(Counting(0, 58)));
    EXPECT_EQ(std::string(kLine1) + "\r\n" + kLine2 + "\r\n", Encode(Counting(0, 114)));
    EXPECT_EQ(std::string(kLine1) + "\r\n" + kLine2 + "\r\ncg==", Encode(Counting(0, 115)));
    EXPECT_EQ("yMnKy8zNzs/Q0dLT1NXW19jZ2tvc3d7f4OHi4+Tl5ufo6err7O3u7/Dx8vP09fb3+Pn6+/z9/v8A\r\n"
              "AQIDBAUGBwgJCgsMDQ4PEBESExQVFhcYGRobHB0eHyAhIiMkJSYnKCkqKywtLi8wMTIzNDU2Nzg5\r\n"
              "Ojs8PT4/QEFCQ0RFRkdISUpLTE1OT1BRUlNUVVZXWFlaW1xdXl9gYWJjZGVmZ2hpamtsbW5vcHFy\r\n"
              "c3R1dnc=",
              Encode(Counting(200, 176)));

    std::string text;
    EXPECT_TRUE(QelBase64EncodeText("hello", text));
    EXPECT_EQ("aGVsbG8=", text);
}

TEST(Base64, DecodingSkipsEverythingOutsideTheAlphabet)
{
    EXPECT_EQ("616263", Decode("YWJj"));
    EXPECT_EQ("61", Decode("YQ=="));
    EXPECT_EQ("61", Decode("YQ"));
    EXPECT_EQ("6162", Decode("YWI="));
    EXPECT_EQ("", Decode(""));
    EXPECT_EQ("", Decode("===\r\n"));
    EXPECT_EQ("00ff1068656c6c6f00", Decode("AP8Q\r\naGVs bG8A\t*"));
    EXPECT_EQ(ToHex(Counting(0, 115)), Decode(Encode(Counting(0, 115)).c_str()));
    EXPECT_EQ(ToHex(Counting(0, 114)), Decode(Encode(Counting(0, 114)).c_str()));
}

TEST(Base64, DecodingNeverWritesPastTheRoomGiven)
{
    BYTE out[8];
    memset(out, 0xcc, sizeof(out));
    int room = 2;
    EXPECT_FALSE(QelBase64Decode("YWJj", out, &room));
    EXPECT_EQ(3, room);
    EXPECT_EQ(0xcc, out[0]);
    room = 3;
    EXPECT_TRUE(QelBase64Decode("YWJj", out, &room));
    EXPECT_EQ(3, room);
    EXPECT_EQ(0xcc, out[3]);

    EXPECT_FALSE(QelBase64Decode(nullptr, out, &room));
    EXPECT_FALSE(QelBase64Decode("YWJj", out, nullptr));
}

TEST(Base64, DecodingToAStringStopsAtTheFirstZero)
{
    std::string text = "old";
    EXPECT_TRUE(QelBase64DecodeToString("aGVs\r\nbG8=", text));
    EXPECT_EQ("hello", text);
    EXPECT_TRUE(QelBase64DecodeToString("AP8QaGVsbG8A", text));
    EXPECT_EQ("", text);
    EXPECT_TRUE(QelBase64DecodeToString("", text));
    EXPECT_EQ("", text);
}

TEST(Base64, EncodesStreamsAndFilesWhole)
{
    const auto stream = StreamWith(Counting(0, 58));
    // The position does not matter: the whole content is encoded.
    std::string text;
    EXPECT_TRUE(QelBase64EncodeStream(stream.Get(), text));
    EXPECT_EQ(std::string(kLine1) + "\r\nOQ==", text);

    TestFolder folder;
    const std::wstring path = folder / L"data.bin";
    ASSERT_TRUE(WriteBytes(path, {0x00, 0xff, 0x10, 'h', 'e', 'l', 'l', 'o', 0x00}));
    EXPECT_TRUE(QelBase64EncodeFile(path.c_str(), text));
    EXPECT_EQ("AP8QaGVsbG8A", text);
    EXPECT_FALSE(QelBase64EncodeFile((folder / L"missing.bin").c_str(), text));
}

TEST(Base64, DecodingToAStreamReplacesItsContent)
{
    const auto stream = StreamWith(std::string(100, 'x'));
    ASSERT_TRUE(QelBase64DecodeToStream("AP8Q\r\naGVsbG8A", stream.Get()));
    EXPECT_EQ("00ff1068656c6c6f00", ToHex(StreamBytes(stream.Get())));

    EXPECT_TRUE(QelBase64DecodeToStream("", stream.Get()));
    EXPECT_TRUE(StreamBytes(stream.Get()).empty());
}
