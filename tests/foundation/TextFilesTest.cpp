#include <gtest/gtest.h>

#include "ComTest.h"
#include "TestFolder.h"
#include "TestStreams.h"
#include "common/TestLog.h"
#include "foundation/TextFiles.h"
#include "framework/Handle.h"

using Bytes = std::vector<unsigned char>;

namespace {

std::wstring Decode(const Bytes& bytes, UINT flags = 0, const wchar_t* hint = L"", UINT codePage = 0)
{
    std::wstring out;
    EXPECT_TRUE(QelLoadTextFromBuffer(bytes.data(), static_cast<UINT>(bytes.size()), out, flags, codePage, hint));
    return out;
}

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

class TextDecoding : public ComTest
{
};

}  // namespace

TEST(TextFiles, DecodeMarkedUtf16AndLineEnds)
{
    const Bytes marked = {0xFF, 0xFE, 0x41, 0x00, 0x0D, 0x00, 0x0A, 0x00};
    EXPECT_EQ(L"A\n", Decode(marked));
    EXPECT_EQ(L"A\r\n", Decode(marked, QEL_TEXT_KEEP_CRLF));
    EXPECT_EQ(L"\u4E2D\n\n", Decode(Utf16Bytes(L"\u4E2D\r\r\n", true)));
    // Unmarked Latin UTF-16 is recognised by its shape.
    EXPECT_EQ(L"Hello, plain world", Decode(Utf16Bytes(L"Hello, plain world", false)));
    EXPECT_EQ(L"xy", Decode(Utf16Bytes(L"xy", false), QEL_TEXT_AS_UTF16));
}

TEST(TextFiles, DecodeEightBitLineEndsAndZeros)
{
    EXPECT_EQ(L"a\nb", Decode(B("a\rb")));
    EXPECT_EQ(L"a\nb\n", Decode(B("a\r\nb\n")));
    EXPECT_EQ(L"a\r\nb", Decode(B("a\r\nb"), QEL_TEXT_KEEP_CRLF));
    EXPECT_EQ(L"ab", Decode(Bytes{'a', 0, 'b'}));
    EXPECT_EQ(L"", Decode(Bytes{}));
}

TEST(TextFiles, DecodeUtf8WithAndWithoutMark)
{
    EXPECT_EQ(L"\u4E2D\u6587", Decode(B("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87")));
    EXPECT_EQ(L"caf\u00E9", Decode(B("caf\xC3\xA9"), QEL_TEXT_AS_UTF8));
    EXPECT_EQ(L"caf\u00E9", Decode(B("caf\xC3\xA9")));  // guessed
    EXPECT_EQ(L"", Decode(B("\xEF\xBB\xBF")));
}

TEST_F(TextDecoding, DecodeByPathHint)
{
    const std::string page = "<meta http-equiv='Content-Type' content='text/html; charset=big5'>\xA4\xA4\xA4\xE5";
    EXPECT_EQ(L"<meta http-equiv='Content-Type' content='text/html; charset=big5'>\u4E2D\u6587",
              Decode(B(page), 0, L"C:\\x\\x.html"));
    EXPECT_EQ(L"<?xml encoding='gb2312'?>\u4E2D\u6587",
              Decode(B("<?xml encoding='gb2312'?>\xD6\xD0\xCE\xC4"), 0, L"a.XML"));
    EXPECT_EQ(L"<?xml encoding='gb2312'?>\u4E2D\u6587",
              Decode(B("<?xml encoding='gb2312'?>\xD6\xD0\xCE\xC4"), QEL_TEXT_XML, L"a.txt"));
    // Scripts are UTF-8 whatever their bytes; invalid bytes still decode.
    std::wstring out;
    const std::string bad = "x\xE9y";
    EXPECT_TRUE(QelLoadTextFromBuffer(bad.data(), 3, out, 0, 0, L"index.php"));
    EXPECT_EQ(L"x\uFFFDy", out);
    EXPECT_EQ(L"\u4E2D\u6587", Decode(B("\xD6\xD0\xCE\xC4"), 0, L"a.txt", 936));
}

TEST(TextFiles, EncodingOfAFileNeedsFourBytesAndAMark)
{
    TestFolder dir;
    const struct { Bytes bytes; int expected; } cases[] = {
        {{0xEF, 0xBB, 0xBF}, QEL_TEXT_UNKNOWN},
        {{0xEF, 0xBB, 0xBF, 'a'}, QEL_TEXT_UTF8},
        {{0xFF, 0xFE, 'a', 0}, QEL_TEXT_UTF16LE},
        {{0xFE, 0xFF, 0, 'a'}, QEL_TEXT_UNKNOWN},
        {{'a', 'b', 'c', 'd'}, QEL_TEXT_UNKNOWN},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes(dir / L"f", c.bytes));
        EXPECT_EQ(c.expected, QelGetTextFileEncoding((dir / L"f").c_str())) << c.bytes.size();
    }
    EXPECT_EQ(QEL_TEXT_UNKNOWN, QelGetTextFileEncoding((dir / L"missing").c_str()));
}

TEST(TextFiles, UnicodeSaversWriteMarkAndCRLF)
{
    TestFolder dir;
    const Bytes expected = {0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0, 'b', 0, '\r', 0, '\n', 0, 'c', 0};
    EXPECT_TRUE(QelSaveUnicodeTextFile((dir / L"u.txt").c_str(), L"a\nb\r\nc"));
    EXPECT_EQ(expected, ReadBytes(dir / L"u.txt"));

    const auto stream = StreamWith();
    EXPECT_TRUE(QelSaveUnicodeTextToStream(stream.Get(), L"a\nb\r\nc"));
    EXPECT_EQ(expected, StreamBytes(stream.Get()));

    {
        const CHandle file(CreateFileW((dir / L"h.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file.IsValid());
        EXPECT_TRUE(QelWriteUnicodeTextToFileHandle(file.Get(), L"a\nb\r\nc"));
    }
    EXPECT_EQ(expected, ReadBytes(dir / L"h.txt"));

    EXPECT_FALSE(QelSaveUnicodeTextFile((dir / L"no\\folder\\u.txt").c_str(), L"x"));
    std::wstring back;
    EXPECT_TRUE(QelLoadTextFile((dir / L"u.txt").c_str(), back));
    EXPECT_EQ(L"a\nb\nc", back);
    EXPECT_TRUE(QelLoadTextFileKeepCRLF((dir / L"u.txt").c_str(), back));
    EXPECT_EQ(L"a\r\nb\r\nc", back);
}

TEST(TextFiles, AFailedSaveLeavesTheOldFileAsItWas)
{
    TestFolder dir;
    const std::wstring path = dir / L"Tessary.xml";
    ASSERT_TRUE(QelSaveUnicodeTextFile(path.c_str(), L"old"));
    const Bytes old = ReadBytes(path);

    // A folder where the temporary file would be written.
    ASSERT_TRUE(CreateDirectoryW((path + L".tmp").c_str(), nullptr));
    CLogCapture log;
    EXPECT_FALSE(QelSaveUnicodeTextFile(path.c_str(), L"new"));
    EXPECT_EQ(old, ReadBytes(path));
    EXPECT_TRUE(log.Contains(L"Failed to create the temporary file of " + path)) << log.NewText();
    ASSERT_TRUE(RemoveDirectoryW((path + L".tmp").c_str()));

    {
        // The old file held open without delete sharing refuses its replacement.
        const CHandle held(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_FALSE(QelSaveUnicodeTextFile(path.c_str(), L"new"));
    }
    EXPECT_EQ(old, ReadBytes(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L".tmp").c_str())) << "the temporary file is removed";
    EXPECT_TRUE(log.Mentions(L"Failed to replace " + path + L": error ")) << log.NewText();
}

TEST(TextFiles, AnsiSaverModes)
{
    TestFolder dir;
    EXPECT_TRUE(QelSaveAnsiTextFile((dir / L"t").c_str(), "a\nb", FALSE, FALSE));
    EXPECT_EQ(B("a\r\nb"), ReadBytes(dir / L"t"));
    EXPECT_TRUE(QelSaveAnsiTextFile((dir / L"b").c_str(), "a\nb", TRUE, TRUE));
    EXPECT_EQ(B("\xEF\xBB\xBF" "a\nb"), ReadBytes(dir / L"b"));
    EXPECT_FALSE(QelSaveAnsiTextFile((dir / L"no\\b").c_str(), "x", TRUE, FALSE));
    EXPECT_TRUE(QelHasZeroByte("a\0b", 3));
    EXPECT_FALSE(QelHasZeroByte("abc", 3));
}

TEST(TextFiles, LoadBytesRefusesUtf16AndMarkedHtml)
{
    TestFolder dir;
    std::string out;
    ASSERT_TRUE(WriteBytes(dir / L"u16", {0xFF, 0xFE, 'a', 0}));
    EXPECT_FALSE(QelLoadTextFileBytes((dir / L"u16").c_str(), out, 0));
    ASSERT_TRUE(WriteText(dir / L"u8", "\xEF\xBB\xBF" "a\r\nb\rc"));
    EXPECT_FALSE(QelLoadTextFileBytes((dir / L"u8").c_str(), out, QEL_TEXT_HTML));
    EXPECT_TRUE(QelLoadTextFileBytes((dir / L"u8").c_str(), out, 0));
    EXPECT_EQ("\xEF\xBB\xBF" "a\nb\nc", out);
    EXPECT_TRUE(QelLoadTextFileBytesKeepCRLF((dir / L"u8").c_str(), out));
    EXPECT_EQ("\xEF\xBB\xBF" "a\r\nb\nc", out);
    EXPECT_FALSE(QelLoadTextFileBytes((dir / L"missing").c_str(), out, 0));

    std::wstring text;
    EXPECT_FALSE(QelLoadTextFile((dir / L"missing").c_str(), text));
    ASSERT_TRUE(WriteBytes(dir / L"empty", {}));
    EXPECT_TRUE(QelLoadTextFile((dir / L"empty").c_str(), text));
    EXPECT_EQ(L"", text);
}

TEST(TextFiles, LinesRoundTripAndJoin)
{
    TestFolder dir;
    const std::vector<std::wstring> lines = {L"first", L"", L"\u4E2D\u6587"};
    EXPECT_TRUE(QelSaveTextLines((dir / L"a.txt").c_str(), lines, L"\n"));
    std::vector<std::wstring> back;
    EXPECT_TRUE(QelLoadTextLines((dir / L"a.txt").c_str(), back));
    EXPECT_EQ(lines, back);

    EXPECT_TRUE(QelSaveTextLines((dir / L"b.txt").c_str(), {L"x", L"y"}, L"\r\n"));
    EXPECT_TRUE(QelJoinTextFiles((dir / L"a.txt").c_str(), (dir / L"b.txt").c_str(), (dir / L"c.txt").c_str()));
    back.clear();
    EXPECT_TRUE(QelLoadTextLines((dir / L"c.txt").c_str(), back));
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"", L"\u4E2D\u6587", L"x", L"y"}), back);
    EXPECT_FALSE(QelJoinTextFiles((dir / L"a.txt").c_str(), (dir / L"none").c_str(), (dir / L"d.txt").c_str()));
    EXPECT_FALSE(QelLoadTextLines((dir / L"none").c_str(), back));
}
