#include <gtest/gtest.h>

#include "foundation/MD5.h"
#include "TestFolder.h"

#include <string>

// Expected texts computed with Python's hashlib.

namespace {

std::wstring ByteHex(const std::string& bytes)
{
    return QelMD5ByteHex(bytes.data(), static_cast<UINT>(bytes.size()));
}

} // namespace

TEST(MD5, DigestMatchesKnownVectorsAcrossBlockBoundaries)
{
    EXPECT_EQ(L"d41d8cd98f00b204e9800998ecf8427e", ByteHex(""));
    EXPECT_EQ(L"900150983cd24fb0d6963f7d28e17f72", ByteHex("abc"));
    EXPECT_EQ(L"ef1772b6dff9a122358552954ad0df65", ByteHex(std::string(55, 'a')));
    EXPECT_EQ(L"3b0c8ac703f828b04c6c197006d17218", ByteHex(std::string(56, 'a')));
    EXPECT_EQ(L"014842d480b571495a4a0363793f7367", ByteHex(std::string(64, 'a')));
    EXPECT_EQ(L"8a7bd0732ed6a28ce75f6dabc90e1613", ByteHex(std::string(119, 'a')));
    std::string eighty;
    for (int i = 0; i < 8; ++i)
        eighty += "1234567890";
    EXPECT_EQ(L"57edf4a22be3c955ac49da2e2107b67a", ByteHex(eighty));

    BYTE digest[16];
    QelMD5Digest("abc", 3, digest);
    EXPECT_EQ(0x90, digest[0]);
    EXPECT_EQ(0x72, digest[15]);
}

TEST(MD5, IncrementalUpdatesGiveTheSameDigest)
{
    std::string data;
    for (int i = 0; i < 300; ++i)
        data += static_cast<char>(i * 7);
    CQelMD5 md5;
    md5.Update(data.data(), 1);
    md5.Update(data.data() + 1, 62);
    md5.Update(data.data() + 63, 130);
    md5.Update(data.data() + 193, data.size() - 193);
    BYTE split[16], whole[16];
    md5.Final(split);
    QelMD5Digest(data.data(), static_cast<UINT>(data.size()), whole);
    EXPECT_EQ(0, memcmp(split, whole, 16));
}

TEST(MD5, WordTextsReadDigestWordsLittleEndian)
{
    EXPECT_EQ(L"98500190b04fd23c7d3f96d6727fe128", QelMD5WordHexZeroPadded("abc", 3));
    EXPECT_EQ(L"98500190b04fd23c7d3f96d6727fe128", QelMD5WordHexSpaced("abc", 3));

    // Key text "i": the first word has a leading zero digit, printed as a blank.
    EXPECT_EQ(L"0b0c5c8663e0b04a38a3cae541871a7c", QelMD5WordHexZeroPadded("i", 1));
    EXPECT_EQ(L" b0c5c8663e0b04a38a3cae541871a7c", QelMD5WordHexSpaced("i", 1));
    EXPECT_EQ(L"865c0c0b4ab0e063e5caa3387c1a8741", QelMD5ByteHex("i", 1));

    // Nothing hashed still gives a digest; only the string forms give an empty text.
    EXPECT_EQ(L"d98c1dd4 4b2008f980980e97e42f8ec", QelMD5WordHexSpaced("", 0));
}

TEST(MD5, StringFormsHashUtf16AndLeaveEmptyTextEmpty)
{
    EXPECT_EQ(L"cf7314cefdb3c680c0dfe3a815c3ad06", QelMD5OfString(L"abc"));
    EXPECT_EQ(L"cf7314cefdb3c680c0dfe3a815c3ad06", QelMD5WordHexZeroPaddedOfString(L"abc"));

    // Several words with leading zeros, one with two of them.
    EXPECT_EQ(L"009c1d500556b10e0d16ba6af8d2a35d", QelMD5OfString(L"cv"));
    EXPECT_EQ(L"  9c1d50 556b10e d16ba6af8d2a35d", QelMD5WordHexSpacedOfString(L"cv"));
    EXPECT_EQ(L"   709aa5c0ff12659cb022335cfabf2", QelMD5WordHexSpacedOfString(L"agr"));

    EXPECT_EQ(L"", QelMD5OfString(L""));
    EXPECT_EQ(L"", QelMD5WordHexSpacedOfString(L""));
    EXPECT_EQ(L"", QelMD5OfString(nullptr));
}

TEST(MD5, FileDigestReadsTheWholeFile)
{
    TestFolder folder;
    const std::wstring path = folder / L"data.bin";
    // 40000 bytes: more than one read chunk.
    std::vector<unsigned char> data;
    for (int i = 0; i < 40000; ++i)
        data.push_back(static_cast<unsigned char>(i % 251));
    ASSERT_TRUE(WriteBytes(path, data));

    EXPECT_EQ(L"918653f8479b88d512b3195581128a0a", QelMD5WordHexZeroPaddedOfFile(path.c_str()));
    BYTE digest[16];
    EXPECT_TRUE(QelMD5OfFile(path.c_str(), digest));
    EXPECT_EQ(0xf8, digest[0]);

    const std::wstring missing = folder / L"missing.bin";
    EXPECT_FALSE(QelMD5OfFile(missing.c_str(), digest));
    EXPECT_EQ(L"", QelMD5WordHexZeroPaddedOfFile(missing.c_str()));
}
