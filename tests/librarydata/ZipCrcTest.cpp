#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "librarydata/ZipCrc.h"

// Every length around the folding loop's blocks, at each alignment, chained and in
// one piece, and a large block: the same values as zlib's crc32.
TEST(ZipCrc, EqualsZlibsCrc32AtEveryLengthAndAlignment)
{
    std::vector<BYTE> data(1 << 20);
    DWORD seed = 12345;
    for (BYTE& b : data) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<BYTE>(seed >> 16);
    }
    for (size_t offset = 0; offset < 4; ++offset) {
        for (size_t length = 0; length <= 300; ++length) {
            const BYTE* at = data.data() + offset;
            const DWORD expected = crc32(0, at, static_cast<uInt>(length));
            ASSERT_EQ(expected, QelZipCrc32(0, at, length)) << "length " << length << ", offset " << offset;
            const size_t half = length / 2;
            ASSERT_EQ(expected, QelZipCrc32(QelZipCrc32(0, at, half), at + half, length - half)) << length;
        }
    }
    EXPECT_EQ(crc32(0, data.data(), static_cast<uInt>(data.size())), QelZipCrc32(0, data.data(), data.size()));
    EXPECT_EQ(crc32(7, data.data() + 3, 100000), QelZipCrc32(7, data.data() + 3, 100000));
}
