#include "librarydata/ZipCrc.h"

#include <cpuid.h>
#include <zlib.h>

#include "librarydata/ZipCrcClmul.h"

namespace {

// The folding loop also takes SSE4.1's lane extraction; every processor with the
// carry-less multiply has it.
bool ProcessorHasClmul()
{
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & bit_PCLMUL) && (ecx & bit_SSE4_1);
}

// zlib's length type is 32 bits here.
DWORD TableCrc32(DWORD crc, const BYTE* data, size_t length)
{
    while (length > 0) {
        const uInt piece = length > 0x40000000u ? 0x40000000u : static_cast<uInt>(length);
        crc = static_cast<DWORD>(crc32(crc, data, piece));
        data += piece;
        length -= piece;
    }
    return crc;
}

} // namespace

DWORD QelZipCrc32(DWORD crc, const BYTE* data, size_t length)
{
    static const bool clmul = ProcessorHasClmul();
    if (clmul && length >= 64) {
        const size_t blocks = length & ~size_t(15);
        crc = ~QelClmulCrc32Blocks(~crc, data, blocks);
        data += blocks;
        length -= blocks;
    }
    return TableCrc32(crc, data, length);
}
