#include <gtest/gtest.h>

#include "AESPaths.h"
#include "HexBytes.h"
#include "foundation/AES.h"

#include <cstdio>
#include <random>
#include <utility>
#include <vector>

// Expected cipher texts computed with openssl enc; the single blocks are the
// FIPS-197 appendix C examples.

namespace {

const std::string kKey128 = "000102030405060708090a0b0c0d0e0f";
const std::string kKey192 = "000102030405060708090a0b0c0d0e0f1011121314151617";
const std::string kKey256 = "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f";
const std::string kIV = "0f0e0d0c0b0a09080706050403020100";
const std::string kBlock = "00112233445566778899aabbccddeeff";

int KeyCode(const std::string& hexKey)
{
    return static_cast<int>(hexKey.size() / 16) - 2;
}

std::string BlockCipher(int mode, int direction, const std::string& hexKey, const std::string& hexIV,
                        const std::string& hexData)
{
    CQelAES aes;
    const auto key = FromHex(hexKey);
    const auto iv = FromHex(hexIV);
    if (aes.Init(mode, direction, key.data(), KeyCode(hexKey), iv.empty() ? nullptr : iv.data()) != 0)
        return "init failed";
    const auto in = FromHex(hexData);
    std::vector<unsigned char> out(in.size());
    const int bits = direction == CQelAES::DirEncrypt
                         ? aes.BlockEncrypt(in.data(), static_cast<int>(in.size() * 8), out.data())
                         : aes.BlockDecrypt(in.data(), static_cast<int>(in.size() * 8), out.data());
    if (bits != static_cast<int>(in.size() * 8))
        return "bits " + std::to_string(bits);
    return ToHex(out);
}

std::string PadCipher(int mode, const std::string& hexKey, const std::string& hexIV, const std::string& plain)
{
    CQelAES aes;
    const auto key = FromHex(hexKey);
    const auto iv = FromHex(hexIV);
    aes.Init(mode, CQelAES::DirEncrypt, key.data(), KeyCode(hexKey), iv.empty() ? nullptr : iv.data());
    std::vector<unsigned char> out(plain.size() + 16);
    const int length = aes.PadEncrypt(reinterpret_cast<const BYTE*>(plain.data()), static_cast<int>(plain.size()),
                                      out.data());
    if (length < 0)
        return "error " + std::to_string(length);
    return ToHex(out.data(), static_cast<size_t>(length));
}

int PadDecipher(int mode, const std::string& hexKey, const std::string& hexIV, const std::string& hexData,
                std::string& plain)
{
    CQelAES aes;
    const auto key = FromHex(hexKey);
    const auto iv = FromHex(hexIV);
    aes.Init(mode, CQelAES::DirDecrypt, key.data(), KeyCode(hexKey), iv.empty() ? nullptr : iv.data());
    const auto in = FromHex(hexData);
    // Guard bytes show that nothing beyond the plaintext is written, and that a
    // rejected last block is not written at all.
    std::vector<unsigned char> out(in.size() + 8, 0xcc);
    const int length = aes.PadDecrypt(in.data(), static_cast<int>(in.size()), out.data());
    plain.assign(out.begin(), out.begin() + (length > 0 ? length : 0));
    const size_t untouched = length >= 0 ? static_cast<size_t>(length) : (in.size() / 16) * 16 - (in.size() >= 16 ? 16 : 0);
    for (size_t i = untouched; i < out.size(); ++i)
        if (out[i] != 0xcc)
            return -100;
    return length;
}

class AES : public CAESPathTest
{
};

} // namespace

INSTANTIATE_TEST_SUITE_P(, AES, AESPaths(), AESPathName);

TEST_P(AES, BlocksMatchFips197ForEveryKeyLength)
{
    EXPECT_EQ("69c4e0d86a7b0430d8cdb78070b4c55a", BlockCipher(CQelAES::ModeECB, 0, kKey128, "", kBlock));
    EXPECT_EQ("dda97ca4864cdfe06eaf70a0ec0d7191", BlockCipher(CQelAES::ModeECB, 0, kKey192, "", kBlock));
    EXPECT_EQ("8ea2b7ca516745bfeafc49904b496089", BlockCipher(CQelAES::ModeECB, 0, kKey256, "", kBlock));
    EXPECT_EQ(kBlock, BlockCipher(CQelAES::ModeECB, 1, kKey128, "", "69c4e0d86a7b0430d8cdb78070b4c55a"));
    EXPECT_EQ(kBlock, BlockCipher(CQelAES::ModeECB, 1, kKey192, "", "dda97ca4864cdfe06eaf70a0ec0d7191"));
    EXPECT_EQ(kBlock, BlockCipher(CQelAES::ModeECB, 1, kKey256, "", "8ea2b7ca516745bfeafc49904b496089"));
}

TEST_P(AES, ChainedModesMatchOpenssl)
{
    const std::string plain = kBlock + kBlock + "ffeeddccbbaa99887766554433221100";
    const std::string cbc = "5619ba42f9b3e67661562c2dd0a5eddc4622e8fe14801b17919f788eac430205"
                            "930231453950b8d6a6598e93293d4fc6";
    EXPECT_EQ(cbc, BlockCipher(CQelAES::ModeCBC, 0, kKey256, kIV, plain));
    EXPECT_EQ(plain, BlockCipher(CQelAES::ModeCBC, 1, kKey256, kIV, cbc));

    const std::string plain2 = kBlock + "ffeeddccbbaa99887766554433221100";
    const std::string cfb128 = "12045cf21b4ce1199bafc6127a7917a5c557aa0273ff4aa9a9bd740872dfc19e";
    const std::string cfb256 = "17fd6a50f034b2f2c25acb6118e5a2595cd173bfb0641762b46ec3440bf68fa3";
    EXPECT_EQ(cfb128, BlockCipher(CQelAES::ModeCFB1, 0, kKey128, kIV, plain2));
    EXPECT_EQ(cfb256, BlockCipher(CQelAES::ModeCFB1, 0, kKey256, kIV, plain2));
    EXPECT_EQ(plain2, BlockCipher(CQelAES::ModeCFB1, 1, kKey128, kIV, cfb128));

    // One-bit feedback deciphers with the forward schedule, whatever the direction.
    CQelAES aes;
    const auto key = FromHex(kKey128);
    const auto iv = FromHex(kIV);
    ASSERT_EQ(0, aes.Init(CQelAES::ModeCFB1, CQelAES::DirEncrypt, key.data(), CQelAES::Key128, iv.data()));
    const auto in = FromHex(cfb128);
    std::vector<unsigned char> out(in.size());
    EXPECT_EQ(256, aes.BlockDecrypt(in.data(), 256, out.data()));
    EXPECT_EQ(plain2, ToHex(out));
}

TEST_P(AES, BlockCallsTakeWholeBlocksOnlyAndStartFromTheIVEachTime)
{
    CQelAES aes;
    const auto key = FromHex(kKey256);
    const auto iv = FromHex(kIV);
    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirEncrypt, key.data(), CQelAES::Key256, iv.data()));
    const auto in = FromHex(kBlock + kBlock + kBlock);
    std::vector<unsigned char> first(48, 0), second(48, 0);
    // 300 bits: two whole blocks, the rest untouched.
    EXPECT_EQ(256, aes.BlockEncrypt(in.data(), 300, first.data()));
    EXPECT_EQ(std::string(32, '0'), ToHex(first.data() + 32, 16));
    EXPECT_EQ(0, aes.BlockEncrypt(in.data(), 100, second.data()));
    EXPECT_EQ(256, aes.BlockEncrypt(in.data(), 256, second.data()));
    EXPECT_EQ(ToHex(first), ToHex(second));
    EXPECT_EQ("5619ba42f9b3e67661562c2dd0a5eddc", ToHex(first.data(), 16));
}

TEST_P(AES, InitChecksItsArgumentsInOrder)
{
    const auto key = FromHex(kKey256);
    CQelAES aes;
    EXPECT_EQ(CQelAES::BadMode, aes.Init(3, 5, nullptr, 7, nullptr));
    EXPECT_EQ(CQelAES::BadDirection, aes.Init(1, 2, nullptr, 7, nullptr));
    EXPECT_EQ(CQelAES::BadKeyLength, aes.Init(1, 0, nullptr, 3, nullptr));
    EXPECT_EQ(CQelAES::BadKeyLength, aes.Init(1, 0, key.data(), -1, nullptr));
    EXPECT_EQ(CQelAES::BadKeyMaterial, aes.Init(1, 0, nullptr, 2, nullptr));

    // A failed Init leaves the object unusable.
    BYTE in[16] = {}, out[32] = {};
    EXPECT_EQ(CQelAES::BadCipherState, aes.PadEncrypt(in, 16, out));
    EXPECT_EQ(CQelAES::BadCipherState, aes.PadDecrypt(in, 16, out));
    EXPECT_EQ(CQelAES::BadCipherState, aes.BlockEncrypt(in, 128, out));
    EXPECT_EQ(CQelAES::BadCipherState, aes.BlockDecrypt(in, 128, out));
    CQelAES fresh;
    EXPECT_EQ(CQelAES::BadCipherState, fresh.PadEncrypt(in, 16, out));

    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirEncrypt, key.data(), CQelAES::Key256, nullptr));
    EXPECT_EQ(CQelAES::WrongDirection, aes.PadDecrypt(in, 16, out));
    EXPECT_EQ(CQelAES::WrongDirection, aes.BlockDecrypt(in, 128, out));
    EXPECT_EQ(0, aes.PadEncrypt(nullptr, 16, out));
    EXPECT_EQ(0, aes.PadEncrypt(in, 0, out));
    EXPECT_EQ(0, aes.BlockEncrypt(in, 0, out));

    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirDecrypt, key.data(), CQelAES::Key256, nullptr));
    EXPECT_EQ(CQelAES::BadCipherState, aes.PadEncrypt(in, 16, out));
    EXPECT_EQ(CQelAES::WrongDirection, aes.BlockEncrypt(in, 128, out));
    EXPECT_EQ(0, aes.PadDecrypt(in, 0, out));

    ASSERT_EQ(0, aes.Init(CQelAES::ModeCFB1, CQelAES::DirEncrypt, key.data(), CQelAES::Key256, nullptr));
    EXPECT_EQ(CQelAES::BadMode, aes.PadEncrypt(in, 16, out));
    EXPECT_EQ(CQelAES::BadMode, aes.PadEncryptChunks(in, 16, 1, out));

    // Chunks are whole blocks, at least one of them.
    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirEncrypt, key.data(), CQelAES::Key256, nullptr));
    EXPECT_EQ(0, aes.PadEncryptChunks(in, 15, 1, out));
    EXPECT_EQ(0, aes.PadEncryptChunks(in, 16, 0, out));
    EXPECT_EQ(0, aes.PadEncryptChunks(in, 0x7ffffff0, 2, out));
    EXPECT_EQ(CQelAES::BadCipherState, fresh.PadEncryptChunks(in, 16, 1, out));
}

TEST_P(AES, PaddedEncryptionMatchesOpenssl)
{
    const std::string zero(32, '0');
    // Short, block-sized and longer texts: 1 to 16 padding bytes.
    EXPECT_EQ("91684487c34c3456eb4e901cef884a1e", PadCipher(CQelAES::ModeCBC, kKey256, "", "hello"));
    EXPECT_EQ("91684487c34c3456eb4e901cef884a1e", PadCipher(CQelAES::ModeCBC, kKey256, zero, "hello"));
    EXPECT_EQ("7862a071da19f3286dcd4ca7ca9c6e3eefc10d3fa3d646e6872b69bda7350a19",
              PadCipher(CQelAES::ModeCBC, kKey256, kIV, "0123456789abcdef"));
    EXPECT_EQ("281567ab2f4cf0d73d3198225b8b839311c837c29eda23f06991f2df4aadd870",
              PadCipher(CQelAES::ModeECB, kKey128, "", "0123456789abcdefXYZ"));
    EXPECT_EQ("8653c62a5988b5a128d6fa25897f163b32239cf2937d3fcfdab80f1a2168c67e",
              PadCipher(CQelAES::ModeCBC, kKey192, kIV, "0123456789abcdefXYZ"));

    // In place.
    CQelAES aes;
    const auto key = FromHex(kKey192);
    const auto iv = FromHex(kIV);
    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirEncrypt, key.data(), CQelAES::Key192, iv.data()));
    BYTE buffer[32] = "0123456789abcdefXYZ";
    EXPECT_EQ(32, aes.PadEncrypt(buffer, 19, buffer));
    EXPECT_EQ("8653c62a5988b5a128d6fa25897f163b32239cf2937d3fcfdab80f1a2168c67e", ToHex(buffer, 32));
}

TEST_P(AES, PaddedDecryptionReturnsOnlyThePlaintext)
{
    std::string plain;
    EXPECT_EQ(5, PadDecipher(CQelAES::ModeCBC, kKey256, "", "91684487c34c3456eb4e901cef884a1e", plain));
    EXPECT_EQ("hello", plain);
    EXPECT_EQ(16, PadDecipher(CQelAES::ModeCBC, kKey256, kIV,
                              "7862a071da19f3286dcd4ca7ca9c6e3eefc10d3fa3d646e6872b69bda7350a19", plain));
    EXPECT_EQ("0123456789abcdef", plain);
    EXPECT_EQ(19, PadDecipher(CQelAES::ModeECB, kKey128, "",
                              "281567ab2f4cf0d73d3198225b8b839311c837c29eda23f06991f2df4aadd870", plain));
    EXPECT_EQ("0123456789abcdefXYZ", plain);

    // In place.
    CQelAES aes;
    const auto key = FromHex(kKey192);
    const auto iv = FromHex(kIV);
    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirDecrypt, key.data(), CQelAES::Key192, iv.data()));
    auto buffer = FromHex("8653c62a5988b5a128d6fa25897f163b32239cf2937d3fcfdab80f1a2168c67e");
    EXPECT_EQ(19, aes.PadDecrypt(buffer.data(), 32, buffer.data()));
    EXPECT_EQ("0123456789abcdefXYZ", std::string(buffer.begin(), buffer.begin() + 19));
}

TEST_P(AES, PaddedDecryptionRejectsBadLengthsAndPadding)
{
    std::string plain;
    const std::string good = "7862a071da19f3286dcd4ca7ca9c6e3eefc10d3fa3d646e6872b69bda7350a19";
    EXPECT_EQ(CQelAES::BadData, PadDecipher(CQelAES::ModeCBC, kKey256, kIV, good.substr(0, 62), plain));
    EXPECT_EQ(CQelAES::BadData, PadDecipher(CQelAES::ModeCBC, kKey256, kIV, good + "00", plain));
    // The wrong IV spoils only the first block here, the wrong key everything.
    EXPECT_EQ(CQelAES::BadData, PadDecipher(CQelAES::ModeCBC, kKey128, kIV, good, plain));

    // Last blocks ending in 0, 17 and 0x02 0x03: enciphered raw, then unpadded.
    const char* lastBlocks[] = {"41414141414141414141414141414100", "41414141414141414141414141414111",
                                "41414141414141414141414141410203", "41414141414141414141414141414110"};
    for (int mode : {CQelAES::ModeECB, CQelAES::ModeCBC}) {
        for (const char* last : lastBlocks) {
            const std::string cipher = BlockCipher(mode, 0, kKey256, kIV, kBlock + last);
            EXPECT_EQ(CQelAES::BadData, PadDecipher(mode, kKey256, kIV, cipher, plain)) << last;
        }
        // A whole block of 0x10 is the empty remainder.
        const std::string cipher = BlockCipher(mode, 0, kKey256, kIV, kBlock + "10101010101010101010101010101010");
        EXPECT_EQ(16, PadDecipher(mode, kKey256, kIV, cipher, plain));
    }
}

namespace {

std::vector<BYTE> RandomBytes(std::mt19937& random, size_t length)
{
    std::vector<BYTE> bytes(length);
    for (BYTE& b : bytes)
        b = static_cast<BYTE>(random());
    return bytes;
}

// The result code and the bytes of one padded call on the chosen path, in place.
std::pair<int, std::vector<BYTE>> Padded(bool tables, int mode, int direction, const std::vector<BYTE>& key,
                                         int keyCode, const std::vector<BYTE>& iv, std::vector<BYTE> data)
{
    const CForceAESTables force(tables);
    CQelAES aes;
    aes.Init(mode, direction, key.data(), keyCode, iv.data());
    const int length = static_cast<int>(data.size());
    data.resize(data.size() + 16);
    const int result = direction == CQelAES::DirEncrypt ? aes.PadEncrypt(data.data(), length, data.data())
                                                        : aes.PadDecrypt(data.data(), length, data.data());
    data.resize(result > 0 ? static_cast<size_t>(result) : 0);
    return {result, data};
}

} // namespace

TEST(AESPaths, InstructionsAndTablesGiveTheSameBytes)
{
    if (!CQelAES::UsesInstructions())
        std::printf("No AES instructions here: the tables are compared with themselves.\n");
    std::mt19937 random(17);
    for (int keyCode : {CQelAES::Key128, CQelAES::Key192, CQelAES::Key256}) {
        for (int mode : {CQelAES::ModeECB, CQelAES::ModeCBC}) {
            for (size_t length : {1u, 15u, 16u, 17u, 1023u, 1024u, 1025u, 5000u, 1u << 20}) {
                const auto key = RandomBytes(random, 32);
                const auto iv = RandomBytes(random, 16);
                const auto plain = RandomBytes(random, length);
                SCOPED_TRACE(testing::Message() << "key " << keyCode << " mode " << mode << " length " << length);
                const auto sealed = Padded(false, mode, CQelAES::DirEncrypt, key, keyCode, iv, plain);
                ASSERT_EQ(sealed, Padded(true, mode, CQelAES::DirEncrypt, key, keyCode, iv, plain));
                for (bool tables : {false, true})
                    EXPECT_EQ(plain, Padded(tables, mode, CQelAES::DirDecrypt, key, keyCode, iv, sealed.second).second);

                // A wrong key and a changed byte go wrong the same way on both paths.
                auto wrongKey = key;
                wrongKey[0] ^= 1;
                auto damaged = sealed.second;
                damaged[damaged.size() / 2] ^= 0x40;
                EXPECT_EQ(Padded(false, mode, CQelAES::DirDecrypt, wrongKey, keyCode, iv, sealed.second),
                          Padded(true, mode, CQelAES::DirDecrypt, wrongKey, keyCode, iv, sealed.second));
                EXPECT_EQ(Padded(false, mode, CQelAES::DirDecrypt, key, keyCode, iv, damaged),
                          Padded(true, mode, CQelAES::DirDecrypt, key, keyCode, iv, damaged));
            }
        }
    }
}
