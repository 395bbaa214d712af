#pragma once
// CQelAES's block loops on the processor's AES instructions. Only CQelAES
// calls these, and only after it has seen the instructions through cpuid.
// Round keys and chaining values come as CQelAES keeps them: 32-bit words
// holding four bytes each, the first byte in the top bits. Blocks are read
// before their output is written, so out may be in or lie before it in the
// same buffer.

#include <windows.h>
#include <cstdint>

// ECB, or CBC when `chain` is not null (it carries the chaining value in and out).
void QelAesniEncryptBlocks(const uint32_t* roundKeys, int rounds, const BYTE* in, int blocks, BYTE* out,
                           uint32_t* chain);
// With the equivalent inverse cipher's round keys.
void QelAesniDecryptBlocks(const uint32_t* roundKeys, int rounds, const BYTE* in, int blocks, BYTE* out,
                           uint32_t* chain);

// `count` CBC runs from `iv`, enciphered side by side: run k is the `blocks`
// blocks at in + 16 * blocks * k followed by the block `last`, and goes to
// out + 16 * (blocks + 1) * k. in and out must not overlap.
void QelAesniEncryptRuns(const uint32_t* roundKeys, int rounds, const BYTE* in, int blocks, int count,
                         const BYTE* last, const uint32_t* iv, BYTE* out);
