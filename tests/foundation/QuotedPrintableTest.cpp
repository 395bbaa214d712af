#include <gtest/gtest.h>

#include "TestStreams.h"
#include "foundation/QuotedPrintable.h"

#include <wrl/client.h>

#include <cstring>
#include <string>

namespace {

std::string Encode(const std::string& bytes)
{
    return QelQPEncode(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
}

std::string Decode(const char* text, int room)
{
    std::string out(room + 4, '#');
    int length = room;
    if (!QelQPDecode(text, reinterpret_cast<BYTE*>(&out[0]), &length))
        return "failed";
    return out.substr(0, length) + "|" + out.substr(length);
}

} // namespace

TEST(QuotedPrintable, EscapesWhatIsNotPlainAndKeepsLineBreaks)
{
    EXPECT_EQ("a=3Db\tc=20\r\nd=20", Encode("a=b\tc \r\nd "));
    EXPECT_EQ("caf=E9 =00=FF", Encode(std::string("caf\xe9 \0\xff", 7)));
    EXPECT_EQ("a=0Ab=0D", Encode("a\nb\r"));
    EXPECT_EQ("", QelQPEncode(nullptr, 3));

    const std::string line(65, 'x');
    EXPECT_EQ(line, Encode(line));
    EXPECT_EQ(line + "=\r\n" + std::string(35, 'x'), Encode(std::string(100, 'x')));
    EXPECT_EQ(line + "\r\nx", Encode(line + "\r\nx"));
}

TEST(QuotedPrintable, DecodesEscapesAndSoftBreaks)
{
    // Text without "=": copied with its terminator.
    std::string plain(9, '#');
    int length = 9;
    EXPECT_TRUE(QelQPDecode("plain", reinterpret_cast<BYTE*>(&plain[0]), &length));
    EXPECT_EQ(5, length);
    EXPECT_EQ(std::string("plain\0###", 9), plain);

    EXPECT_EQ("caf\xe9x=|####", Decode("caf=E9=\r\nx=3d", 6));
    EXPECT_EQ("failed", Decode("caf=E9=\r\nx=3d", 5));
    EXPECT_EQ("ab|####", Decode("a=\nb", 2));
    EXPECT_EQ("a=zz=|####", Decode("a=zz=", 5));

    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    const std::string encoded = Encode(all + all);
    std::string decoded;
    EXPECT_TRUE(QelQPDecodeToString(encoded.c_str(), decoded));
    EXPECT_EQ("", decoded);  // the first byte is zero
    std::string out(all.size() * 2, '\0');
    length = static_cast<int>(out.size());
    EXPECT_TRUE(QelQPDecode(encoded.c_str(), reinterpret_cast<BYTE*>(&out[0]), &length));
    EXPECT_EQ(all + all, out);
    EXPECT_TRUE(QelQPDecodeToString("Gr=C3=BC=C3=9Fe", decoded));
    EXPECT_EQ("Gr\xc3\xbc\xc3\x9f" "e", decoded);
}

TEST(QuotedPrintable, DecodingNeverWritesPastTheRoomGiven)
{
    EXPECT_EQ("failed", Decode("plain", 4));
    EXPECT_EQ("plain|####", Decode("plain", 5));  // no room for the terminator: none written
    EXPECT_EQ("failed", Decode("a=3Db", 2));
    int length = 5;
    EXPECT_FALSE(QelQPDecode("a", nullptr, &length));
    EXPECT_FALSE(QelQPDecode(nullptr, reinterpret_cast<BYTE*>(&length), &length));
}

TEST(QuotedPrintable, StreamsAreEncodedWholeAndReplacedWhenDecoded)
{
    const auto stream = StreamWith("caf\xe9 =");
    std::string text;
    EXPECT_TRUE(QelQPEncodeStream(stream.Get(), text));
    EXPECT_EQ("caf=E9 =3D", text);

    ASSERT_TRUE(QelQPDecodeToStream("x=3Dy", stream.Get()));
    EXPECT_EQ("x=y", StreamText(stream.Get()));
}
