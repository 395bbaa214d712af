#include <gtest/gtest.h>

#include "AESPaths.h"
#include "HexBytes.h"
#include "common/TestLog.h"
#include "TestStreams.h"
#include "foundation/AES.h"
#include "foundation/MD5.h"
#include "foundation/Sealing.h"

#include <shlwapi.h>
#include <wrl/client.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

// Expected sealed bytes computed with openssl enc -aes-256-cbc, chunk by chunk,
// under the key text that Python's hashlib gives; long results by their MD5.

using Microsoft::WRL::ComPtr;

namespace {

std::vector<BYTE> Pattern(size_t length)
{
    std::vector<BYTE> bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<BYTE>(i * 31 + 7);
    return bytes;
}

std::string Md5(const std::vector<BYTE>& bytes)
{
    const std::wstring hex = QelMD5ByteHex(bytes.data(), static_cast<UINT>(bytes.size()));
    return std::string(hex.begin(), hex.end());
}

struct Vector
{
    size_t plainLength;
    size_t sealedLength;
    const char* sealedMd5;
    const char* lastBlock;
};

// Password "i": its key text " b0c5c8663e0b04a38a3cae541871a7c" starts with a blank.
const Vector kVectors[] = {
    {1, 16, "730bb0d5e4805223db8fad7627bfcdaf", "b98d52a7ff842d97d0f4647a535ee662"},
    {16, 32, "d90f9f9a4e34c78f2a024af967125dab", "7da2905b206a61bf94eee703fc9e42a6"},
    {1024, 1040, "efd7c5c587c9a62dc31b422c6e81e89d", "9d09bbe96ec9948c75e8f8813c22702a"},
    {1025, 1056, "6f67d9ec5c0c640e0cd6f9ec5d33fcf6", "b98d52a7ff842d97d0f4647a535ee662"},
    {2048, 2080, "9ace9dc1ad530ed7ec2f025243ac1882", "9d09bbe96ec9948c75e8f8813c22702a"},
};

// A memory stream whose reads fail.
class UnreadableStream : public IStream
{
public:
    explicit UnreadableStream(IStream* inner) : m_inner(inner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG* read) override
    {
        if (read)
            *read = 0;
        return STG_E_READFAULT;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG count, ULONG* written) override
    {
        return m_inner->Write(data, count, written);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override
    {
        return m_inner->Seek(move, origin, position);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override { return m_inner->SetSize(size); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flag) override { return m_inner->Stat(stat, flag); }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    IStream* m_inner;
};

class Sealing : public CAESPathTest
{
};

} // namespace

INSTANTIATE_TEST_SUITE_P(, Sealing, AESPaths(), AESPathName);

TEST_P(Sealing, SealsEachChunkOnItsOwnFromAZeroIV)
{
    for (const Vector& v : kVectors) {
        const auto stream = StreamWith(Pattern(v.plainLength));
        ASSERT_TRUE(QelEncryptStream("i", stream.Get())) << v.plainLength;
        EXPECT_EQ(0u, StreamPosition(stream.Get()));
        const auto sealed = StreamBytes(stream.Get());
        ASSERT_EQ(v.sealedLength, sealed.size()) << v.plainLength;
        EXPECT_EQ(v.sealedMd5, Md5(sealed)) << v.plainLength;
        EXPECT_EQ(v.lastBlock, ToHex(sealed.data() + sealed.size() - 16, 16)) << v.plainLength;
    }
    const auto one = StreamWith(Pattern(1));
    ASSERT_TRUE(QelEncryptStream("i", one.Get()));
    EXPECT_EQ("b98d52a7ff842d97d0f4647a535ee662", ToHex(StreamBytes(one.Get())));
    const auto sixteen = StreamWith(Pattern(16));
    ASSERT_TRUE(QelEncryptStream("i", sixteen.Get()));
    EXPECT_EQ("2297ffed43b75a6d57ec3a38bf5c4e047da2905b206a61bf94eee703fc9e42a6", ToHex(StreamBytes(sixteen.Get())));

    // Equal plaintext chunks give equal sealed chunks.
    const auto twice = StreamWith(Pattern(2048));
    ASSERT_TRUE(QelEncryptStream("i", twice.Get()));
    const auto sealed = StreamBytes(twice.Get());
    EXPECT_TRUE(std::equal(sealed.begin(), sealed.begin() + 1040, sealed.begin() + 1040));
}

TEST_P(Sealing, UnsealsBackToThePlaintext)
{
    for (const Vector& v : kVectors) {
        const auto stream = StreamWith(Pattern(v.plainLength));
        ASSERT_TRUE(QelEncryptStream("i", stream.Get()));
        ASSERT_TRUE(QelDecryptStream("i", stream.Get())) << v.plainLength;
        EXPECT_EQ(0u, StreamPosition(stream.Get()));
        EXPECT_EQ(Pattern(v.plainLength), StreamBytes(stream.Get())) << v.plainLength;
    }
    // The externally computed 16-byte seal.
    const auto stream = StreamWith(FromHex("2297ffed43b75a6d57ec3a38bf5c4e047da2905b206a61bf94eee703fc9e42a6"));
    ASSERT_TRUE(QelDecryptStream("i", stream.Get()));
    EXPECT_EQ(Pattern(16), StreamBytes(stream.Get()));
}

TEST_P(Sealing, BadStreamsFailAndKeepTheirContent)
{
    for (const Vector& v : kVectors) {
        const auto stream = StreamWith(Pattern(v.plainLength));
        ASSERT_TRUE(QelEncryptStream("i", stream.Get()));
        const auto sealed = StreamBytes(stream.Get());
        EXPECT_FALSE(QelDecryptStream("j", stream.Get())) << v.plainLength;
        EXPECT_EQ(sealed, StreamBytes(stream.Get()));
    }

    auto sealed = StreamBytes([] {
        auto s = StreamWith(Pattern(1024));
        QelEncryptStream("i", s.Get());
        return s;
    }().Get());
    // 1041 bytes: the last chunk is one byte, not a whole block.
    auto damaged = sealed;
    damaged.push_back(0);
    auto stream = StreamWith(damaged);
    EXPECT_FALSE(QelDecryptStream("i", stream.Get()));
    EXPECT_EQ(damaged, StreamBytes(stream.Get()));
    // A last chunk of 17 bytes.
    damaged.resize(1040 + 17, 0);
    stream = StreamWith(damaged);
    EXPECT_FALSE(QelDecryptStream("i", stream.Get()));
    // A changed last byte spoils the padding; the whole chunk before it stays sealed.
    damaged = sealed;
    damaged.push_back(0);
    damaged.resize(1040 + 16);
    damaged.back() ^= 0x5a;
    stream = StreamWith(damaged);
    EXPECT_FALSE(QelDecryptStream("i", stream.Get()));
    EXPECT_EQ(damaged, StreamBytes(stream.Get()));
    // Truncated to 1024 bytes.
    damaged = sealed;
    damaged.resize(1024);
    stream = StreamWith(damaged);
    EXPECT_FALSE(QelDecryptStream("i", stream.Get()));

    // Nothing to seal or unseal.
    stream = StreamWith();
    EXPECT_FALSE(QelEncryptStream("i", stream.Get()));
    EXPECT_FALSE(QelDecryptStream("i", stream.Get()));
    EXPECT_FALSE(QelEncryptStream(nullptr, StreamWith(Pattern(3)).Get()));
    EXPECT_FALSE(QelEncryptStream("i", nullptr));
}

TEST_P(Sealing, AnUnreadableStreamIsLoggedAndKept)
{
    const CLogCapture log;
    const auto inner = StreamWith(Pattern(3000));
    UnreadableStream stream(inner.Get());
    EXPECT_FALSE(QelEncryptStream("i", &stream));
    EXPECT_FALSE(QelDecryptStream("i", &stream));
    EXPECT_EQ(Pattern(3000), StreamBytes(inner.Get()));
    EXPECT_NE(std::wstring::npos, log.NewText().find(L": Failed to read from stream!\r\n"));
}

TEST_P(Sealing, AFullChunkMustUnsealToAFullChunk)
{
    // 1040 bytes with one byte of padding, then a proper last chunk: well
    // padded, but not a sealed stream.
    const std::wstring keyText = QelMD5WordHexSpaced("i", 1);
    BYTE key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<BYTE>(keyText[i]);
    CQelAES aes;
    ASSERT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirEncrypt, key, CQelAES::Key256, nullptr));
    const auto plain = Pattern(1039);
    std::vector<BYTE> bytes(1040 + 16);
    ASSERT_EQ(1040, aes.PadEncrypt(plain.data(), 1039, bytes.data()));
    ASSERT_EQ(16, aes.PadEncrypt(plain.data(), 5, bytes.data() + 1040));
    const auto stream = StreamWith(bytes);
    EXPECT_FALSE(QelDecryptStream("i", stream.Get()));
    EXPECT_EQ(bytes, StreamBytes(stream.Get()));
}

TEST_P(Sealing, PasswordTextsAreBase64OfTheSealedUtf16)
{
    EXPECT_EQ(L"IgmxLoIM5i6XHO13ndidWg==", QelEncryptPassword(L"secret"));
    EXPECT_EQ(L"oSJiY0t0482jPSSvPIDYNw==", QelEncryptPassword(L"a"));
    EXPECT_EQ(L"lqs4JiQ8Sj25MOVuxTJhVg==", QelEncryptPassword(L"1234567"));
    EXPECT_EQ(L"hZWJ8ZLJiwT5MsdYt3JMhl55zifmgrVkY7V8wgqZ3dc=", QelEncryptPassword(L"12345678"));
    EXPECT_EQ(L"IfyukD1/rQ5QstD+X+e8bw==", QelEncryptPassword(L"\u5bc6\u7801\u00e9"));
    const std::wstring longer = L"FpQ/qjczpMlOet0IZZO3ZBMA+YBCSms5ELqnRnLJZZdl57N80IIiKPjuhd36E6jMQ6M4Pe3hQQvi\r\n"
                                L"FmHJdlWFvA==";
    EXPECT_EQ(longer, QelEncryptPassword(L"abcdefghijklmnopqrstuvwx"));

    std::wstring text;
    for (int i = 0; i < 600; ++i)
        text += static_cast<wchar_t>(L'A' + i % 26);
    const std::wstring sealed = QelEncryptPassword(text.c_str());
    ASSERT_EQ(1686u, sealed.size());
    const std::string narrow(sealed.begin(), sealed.end());
    EXPECT_EQ("c491d763de1c1f0fd0b4acfeb49c40ad", Md5(std::vector<BYTE>(narrow.begin(), narrow.end())));
    EXPECT_EQ(L"\r\n", sealed.substr(76, 2));

    EXPECT_EQ(L"secret", QelDecryptPassword(L"IgmxLoIM5i6XHO13ndidWg=="));
    EXPECT_EQ(L"\u5bc6\u7801\u00e9", QelDecryptPassword(L"IfyukD1/rQ5QstD+X+e8bw=="));
    EXPECT_EQ(L"abcdefghijklmnopqrstuvwx", QelDecryptPassword(longer.c_str()));
    EXPECT_EQ(text, QelDecryptPassword(sealed.c_str()));
}

TEST_P(Sealing, EmptyAndBadPasswordTextsGiveEmptyText)
{
    EXPECT_EQ(L"", QelEncryptPassword(L""));
    EXPECT_EQ(L"", QelEncryptPassword(nullptr));
    EXPECT_EQ(L"", QelDecryptPassword(L""));
    EXPECT_EQ(L"", QelDecryptPassword(nullptr));
    EXPECT_EQ(L"", QelDecryptPassword(L"not sealed"));
    EXPECT_EQ(L"", QelDecryptPassword(L"IgmxLoIM5i6XHO13ndid"));  // a byte short
    EXPECT_EQ(L"", QelDecryptPassword(L"===="));

    std::string base64 = "unchanged";
    EXPECT_TRUE(QelEncryptTextToBase64("i", L"", base64));
    EXPECT_EQ("", base64);
    std::wstring text = L"unchanged";
    EXPECT_TRUE(QelDecryptBase64ToText("i", "", text));
    EXPECT_EQ(L"", text);
    EXPECT_FALSE(QelDecryptBase64ToText("wrong", "IgmxLoIM5i6XHO13ndidWg==", text));
}

namespace {

// A memory stream either on global memory, which sealing works in, or not.
ComPtr<IStream> StreamOfKind(bool global, const std::vector<BYTE>& bytes)
{
    if (global)
        return StreamWith(bytes);
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    return stream;
}

// The result and the stream's content afterwards.
std::pair<BOOL, std::vector<BYTE>> Unseal(bool global, const char* password, const std::vector<BYTE>& bytes)
{
    const auto stream = StreamOfKind(global, bytes);
    const BOOL result = QelDecryptStream(password, stream.Get());
    HGLOBAL memory = nullptr;
    if (global && SUCCEEDED(GetHGlobalFromStream(stream.Get(), &memory))) {
        EXPECT_EQ(0u, GlobalFlags(memory) & GMEM_LOCKCOUNT);
    }
    return {result, StreamBytes(stream.Get())};
}

} // namespace

TEST(SealingPaths, InstructionsAndTablesSealAndUnsealAlike)
{
    std::mt19937 random(23);
    for (size_t length : {1u, 15u, 16u, 17u, 1023u, 1024u, 1025u, 5000u, 1u << 20}) {
        SCOPED_TRACE(length);
        std::vector<BYTE> plain(length);
        for (BYTE& b : plain)
            b = static_cast<BYTE>(random());

        std::vector<BYTE> sealed;
        for (bool tables : {false, true}) {
            for (bool global : {true, false}) {
                const CForceAESTables force(tables);
                const auto stream = StreamOfKind(global, plain);
                ASSERT_TRUE(QelEncryptStream("key", stream.Get()));
                if (sealed.empty())
                    sealed = StreamBytes(stream.Get());
                EXPECT_EQ(sealed, StreamBytes(stream.Get())) << tables << global;
            }
        }

        // Damage to the last block spoils the padding of the last chunk alone. Unsealing
        // on the two cipher paths is compared where the cipher is tested.
        ASSERT_GT(sealed.size(), length);
        auto lastByte = sealed;
        lastByte[sealed.size() - 1] ^= 0x21;
        auto firstBlock = sealed;
        firstBlock[5] ^= 0x21;
        for (bool global : {true, false}) {
            EXPECT_EQ(std::make_pair(TRUE, plain), Unseal(global, "key", sealed)) << global;
            EXPECT_EQ(std::make_pair(FALSE, sealed), Unseal(global, "kez", sealed)) << global;
            EXPECT_EQ(std::make_pair(FALSE, lastByte), Unseal(global, "key", lastByte)) << global;
        }
        // So does damage to the padding of a full chunk far into the stream.
        if (sealed.size() > 100 * 1040) {
            auto middle = sealed;
            middle[100 * 1040 - 1] ^= 0x21;
            EXPECT_EQ(std::make_pair(FALSE, middle), Unseal(true, "key", middle));
        }
        EXPECT_EQ(Unseal(true, "key", firstBlock), Unseal(false, "key", firstBlock));
    }
}
