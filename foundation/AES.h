#pragma once
// AES block cipher (128-bit blocks; 128-, 192- and 256-bit keys) with ECB, CBC
// and one-bit CFB modes and PKCS#7-style padding. ECB and CBC run on the
// processor's AES instructions where it has them, table-driven elsewhere;
// both give the same bytes.

#include <windows.h>
#include <cstdint>

class CQelAES
{
public:
    enum { ModeECB = 0, ModeCBC = 1, ModeCFB1 = 2 };
    enum { DirEncrypt = 0, DirDecrypt = 1 };
    enum { Key128 = 0, Key192 = 1, Key256 = 2 };

    // Results below zero.
    enum {
        BadMode = -1,
        BadDirection = -2,
        BadKeyLength = -3,
        BadKeyMaterial = -4,
        BadCipherState = -5,
        WrongDirection = -6,
        BadData = -7,
    };

    CQelAES();

    // iv NULL means sixteen zero bytes. Returns 0 or BadMode, BadDirection,
    // BadKeyLength, BadKeyMaterial (checked in that order).
    int Init(int mode, int direction, const BYTE* key, int keyLengthCode, const BYTE* iv);

    // Every call starts its chaining from the IV given to Init: the object keeps
    // no chaining state between calls.

    // Whole 128-bit blocks only; returns the bits processed.
    int BlockEncrypt(const BYTE* in, int lengthInBits, BYTE* out);
    int BlockDecrypt(const BYTE* in, int lengthInBits, BYTE* out);

    // ECB or CBC with 1 to 16 padding bytes of the padding length. Encryption
    // returns (length / 16 + 1) * 16; decryption returns the plaintext length
    // and writes only the plaintext bytes. in and out may be the same buffer;
    // for decryption out may also lie before in within one buffer.
    int PadEncrypt(const BYTE* in, int length, BYTE* out);
    int PadDecrypt(const BYTE* in, int length, BYTE* out);

    // `count` chunks of `chunkLength` bytes (a whole number of blocks), each as
    // its own PadEncrypt call would give it, written one after another; chunks
    // run side by side where the processor gains by it. in and out must not
    // overlap. Returns count * (chunkLength + 16), or PadEncrypt's results.
    int PadEncryptChunks(const BYTE* in, int chunkLength, int count, BYTE* out);

    // Whether the AES instructions do the work: chosen once per process.
    // Tests and benchmarks force the tables to run both paths on one machine.
    static bool UsesInstructions();
    static void ForceTables(bool force);

private:
    int PadEncryptReady() const;
    void EncryptWords(uint32_t s[4]) const;
    void DecryptWords(uint32_t s[4]) const;
    void EncryptCFB1(const BYTE* in, int blocks, BYTE* out, bool decrypt) const;
    void EncryptBlocks(const BYTE* in, int blocks, BYTE* out, uint32_t chain[4]) const;
    void DecryptBlocks(const BYTE* in, int blocks, BYTE* out, uint32_t chain[4]) const;

    uint32_t m_state;
    int m_mode;
    int m_direction;
    BYTE m_iv[16];
    int m_rounds;
    uint32_t m_encryptKey[60];
    uint32_t m_decryptKey[60];
};
