#include <gtest/gtest.h>

#include <string>

#include "ZipTestSupport.h"
#include "ZipVectors.h"

// A corpus of damaged archives made from a good one: each must fail clearly,
// never crash, hang, allocate beyond what the archive implies, or hand back
// wrong bytes as a success.

namespace {

Bytes Sample() { return Bytes(kSampleZip, kSampleZip + sizeof(kSampleZip)); }

struct Outcome {
    QELZRESULT result = QELZR_OK;
    std::string data;
};

// Entry by entry, as a careful caller does it: sizes checked before allocating.
std::vector<Outcome> ReadAll(const Bytes& zip, bool& opened)
{
    std::vector<Outcome> outcomes;
    ReaderPtr reader = OpenBytes(zip);
    opened = reader != nullptr;
    if (!reader)
        return outcomes;
    QELZIPENTRYINFO info{};
    EXPECT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), -1, &info));
    const int count = info.index < 16 ? info.index : 16;
    for (int i = 0; i < count; ++i) {
        Outcome outcome;
        outcome.result = QelZipGetEntry(reader.get(), i, &info);
        if (outcome.result == QELZR_OK)
            outcome.result = QelZipCheckEntrySize(reader.get(), i);
        if (outcome.result == QELZR_OK) {
            const ULONGLONG declared = static_cast<DWORD>(info.uncompressedSize);
            EXPECT_LE(declared, ULONGLONG(zip.size()) * 1032);
            outcome.data.assign(static_cast<size_t>(declared), '\0');
            outcome.result = QelZipExtract(reader.get(), i, outcome.data.empty() ? nullptr : &outcome.data[0],
                                           static_cast<DWORD>(declared), QELZIP_EXTRACT_MEMORY);
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

std::vector<Outcome> Originals()
{
    bool opened = false;
    return ReadAll(Sample(), opened);
}

// Every success must give exactly the original bytes of that entry.
void ExpectNoWrongSuccess(const Bytes& zip, const std::vector<Outcome>& originals, const std::string& label)
{
    bool opened = false;
    const std::vector<Outcome> outcomes = ReadAll(zip, opened);
    for (size_t i = 0; i < outcomes.size() && i < originals.size(); ++i) {
        if (outcomes[i].result == QELZR_OK) {
            EXPECT_EQ(originals[i].data, outcomes[i].data) << label << " entry " << i;
        }
    }
}

QELZRESULT ExtractDeclared(const Bytes& zip, int index)
{
    ReaderPtr reader = OpenBytes(zip);
    if (!reader)
        return QELZR_NOFILE;
    QELZIPENTRYINFO info{};
    QELZRESULT result = QelZipGetEntry(reader.get(), index, &info);
    if (result != QELZR_OK)
        return result;
    const DWORD size = static_cast<DWORD>(info.uncompressedSize);
    if (size > (1u << 24))
        return QelZipExtract(reader.get(), index, Bytes(kPageSize).data(), kPageSize, QELZIP_EXTRACT_MEMORY);
    Bytes block(size + 1);
    return QelZipExtract(reader.get(), index, block.data(), size, QELZIP_EXTRACT_MEMORY);
}

// Removes bytes from inside an entry's data and moves every later record back.
Bytes Cut(Bytes zip, size_t at, size_t count)
{
    const size_t end = EndRecordOf(zip);
    const WORD entries = Get16(zip, end + 10);
    for (int i = 0; i < entries; ++i) {
        const size_t central = CentralRecordOf(zip, i);
        if (Get32(zip, central + 42) > at)
            Set32(zip, central + 42, static_cast<DWORD>(Get32(zip, central + 42) - count));
    }
    Set32(zip, end + 16, static_cast<DWORD>(Get32(zip, end + 16) - count));
    zip.erase(zip.begin() + static_cast<long>(at), zip.begin() + static_cast<long>(at + count));
    return zip;
}

} // namespace

TEST(ZipBadInput, TruncatedArchivesNeverGiveWrongBytes)
{
    const Bytes zip = Sample();
    const std::vector<Outcome> originals = Originals();
    ASSERT_EQ(6u, originals.size());
    for (const Outcome& original : originals)
        ASSERT_EQ(QELZR_OK, original.result);
    for (size_t length = 0; length < zip.size(); length += 7) {
        bool opened = true;
        ReadAll(Bytes(zip.begin(), zip.begin() + static_cast<long>(length)), opened);
        EXPECT_FALSE(opened) << "prefix of " << length;
    }
    // Data that ends before its declared size, the directory intact.
    const Bytes shortStored = Cut(zip, DataOf(zip, 1) + 100, 50);
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(shortStored, 1));
    ExpectNoWrongSuccess(shortStored, originals, "short stored");
    const Bytes shortDeflated = Cut(zip, DataOf(zip, 0) + 5, 20);
    EXPECT_NE(QELZR_OK, ExtractDeclared(shortDeflated, 0));
    ExpectNoWrongSuccess(shortDeflated, originals, "short deflated");
}

TEST(ZipBadInput, WrongCrcsAreCaught)
{
    const std::vector<Outcome> originals = Originals();
    for (int entry : {0, 1}) {
        Bytes zip = Sample();
        const size_t central = CentralRecordOf(zip, entry);
        const size_t local = LocalHeaderOf(zip, entry);
        Set32(zip, central + 16, Get32(zip, central + 16) ^ 0x00010000);
        Set32(zip, local + 14, Get32(zip, local + 14) ^ 0x00010000);
        EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(zip, entry)) << entry;
    }
    // A changed byte of stored data.
    Bytes zip = Sample();
    zip[DataOf(zip, 1) + 500] ^= 0x40;
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(zip, 1));
    ExpectNoWrongSuccess(zip, originals, "changed byte");
}

TEST(ZipBadInput, DeclaredSizesThatLieAreRefused)
{
    const Bytes sample = Sample();
    const size_t pageRecord = CentralRecordOf(sample, 0);
    const size_t logoRecord = CentralRecordOf(sample, 1);
    const size_t pageLocal = LocalHeaderOf(sample, 0);
    const size_t logoLocal = LocalHeaderOf(sample, 1);
    // Directory and local header tell the same lie, else the entry reads as damaged.
    const auto lie = [](Bytes zip, size_t central, size_t local, size_t field, DWORD value) {
        Set32(zip, central + field, value);
        Set32(zip, local + field - 2, value);
        return zip;
    };
    Bytes mismatch = sample;
    Set32(mismatch, pageRecord + 24, kPageSize + 1);
    EXPECT_EQ(QELZR_READ, ExtractDeclared(mismatch, 0));

    // Gigabytes declared: refused before anything is allocated.
    const Bytes huge = lie(sample, pageRecord, pageLocal, 24, 0x7FFFFFF0);
    {
        ReaderPtr reader = OpenBytes(huge);
        ASSERT_TRUE(reader);
        EXPECT_EQ(QELZR_CORRUPT, QelZipCheckEntrySize(reader.get(), 0));
        EXPECT_EQ(QELZR_OK, QelZipCheckEntrySize(reader.get(), 1));
    }
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(huge, 0));

    const Bytes bigCompressed = lie(sample, pageRecord, pageLocal, 20, 0x10000000);
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(bigCompressed, 0));

    // A stored entry cannot grow.
    const Bytes storedGrows = lie(sample, logoRecord, logoLocal, 24, 1034);
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(storedGrows, 1));

    // Plausible but wrong: the data ends short, or the CRC no longer matches.
    const Bytes longer = lie(sample, pageRecord, pageLocal, 24, kPageSize + 5);
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(longer, 0));
    const Bytes shorter = lie(sample, pageRecord, pageLocal, 24, kPageSize - 5);
    EXPECT_EQ(QELZR_CORRUPT, ExtractDeclared(shorter, 0));
}

TEST(ZipBadInput, EncipheredAndUnknownMethodsAreRefused)
{
    Bytes enciphered = Sample();
    Set16(enciphered, CentralRecordOf(enciphered, 1) + 8, 1);
    Set16(enciphered, LocalHeaderOf(enciphered, 1) + 6, 1);
    EXPECT_EQ(QELZR_PASSWORD, ExtractDeclared(enciphered, 1));

    Bytes unknown = Sample();
    Set16(unknown, CentralRecordOf(unknown, 0) + 10, 14);
    Set16(unknown, LocalHeaderOf(unknown, 0) + 8, 14);
    ReaderPtr reader = OpenBytes(unknown);
    ASSERT_TRUE(reader);
    EXPECT_EQ(QELZR_CORRUPT, QelZipCheckEntrySize(reader.get(), 0));
    QELZIPENTRYINFO info{};
    EXPECT_EQ(QELZR_READ, QelZipGetEntry(reader.get(), 0, &info));
    EXPECT_EQ(QELZR_CORRUPT, QelZipExtract(reader.get(), 0, info.name, 100, QELZIP_EXTRACT_MEMORY));
}

TEST(ZipBadInput, LyingCountsAndFieldLengthsEndClearly)
{
    Bytes counts = Sample();
    Set16(counts, EndRecordOf(counts) + 8, 0x7FFF);
    Set16(counts, EndRecordOf(counts) + 10, 0x7FFF);
    ReaderPtr reader = OpenBytes(counts);
    ASSERT_TRUE(reader);
    QELZIPENTRYINFO info{};
    EXPECT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), -1, &info));
    EXPECT_EQ(0x7FFF, info.index);
    EXPECT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 5, &info));
    EXPECT_EQ(QELZR_CORRUPT, QelZipGetEntry(reader.get(), 6, &info));
    EXPECT_EQ(QELZR_CORRUPT, QelZipGetEntry(reader.get(), 30000, &info));
    reader.reset();

    // A local extra field said to run far past the end of the archive.
    Bytes extra = Sample();
    Set16(extra, LocalHeaderOf(extra, 5) + 28, 0xFFFF);
    reader = OpenBytes(extra);
    ASSERT_TRUE(reader);
    EXPECT_EQ(QELZR_READ, QelZipGetEntry(reader.get(), 5, &info));
    EXPECT_EQ(QELZR_OK, QelZipGetEntry(reader.get(), 0, &info));
}

TEST(ZipBadInput, EmptyAndRandomBytesAreNotArchives)
{
    EXPECT_FALSE(OpenBytes(Bytes()));
    EXPECT_EQ(ReaderText(QELZR_NOFILE), LastReaderText());
    Bytes noise(8192);
    DWORD state = 12345;
    for (BYTE& b : noise) {
        state = state * 1103515245u + 12345u;
        b = static_cast<BYTE>(state >> 16);
    }
    EXPECT_FALSE(OpenBytes(noise));

    // Random damage anywhere in a good archive.
    const std::vector<Outcome> originals = Originals();
    const Bytes sample = Sample();
    for (int round = 0; round < 300; ++round) {
        Bytes zip = sample;
        for (int flips = 0; flips < 1 + round % 3; ++flips) {
            state = state * 1103515245u + 12345u;
            const size_t at = (state >> 8) % zip.size();
            state = state * 1103515245u + 12345u;
            zip[at] ^= static_cast<BYTE>(1 + ((state >> 16) % 255));
        }
        ExpectNoWrongSuccess(zip, originals, "round " + std::to_string(round));
    }
}
