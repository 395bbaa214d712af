#pragma once
// The CRC-32 folding loop on the processor's carry-less multiply. Only
// QelZipCrc32 calls it, and only after it has seen the instructions through cpuid.

#include <windows.h>

#include <cstddef>

// length: at least 64 and a multiple of 16. The CRC goes in and comes out
// inverted, as the tables keep it inside zlib.
DWORD QelClmulCrc32Blocks(DWORD invertedCrc, const BYTE* data, size_t length);
