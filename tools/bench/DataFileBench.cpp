// Times opening a document's data file, sealing and unsealing, zipping and
// unzipping, each beside the same work done by the raw pieces alone.
// Run by hand: DataFileBench.exe (under Wine: wine DataFileBench.exe).

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handle.h"
#include "foundation/AES.h"
#include "foundation/Encoding.h"
#include "foundation/MD5.h"
#include "foundation/Sealing.h"
#include "foundation/Streams.h"
#include "librarydata/DataFileCache.h"
#include "librarydata/ZipReader.h"
#include "librarydata/ZipWriter.h"

namespace {

using Bytes = std::vector<BYTE>;

// Blocks the data-file calls hand out are freed with free.
struct CFree {
    void operator()(BYTE* block) const { free(block); }
};
using CBlock = std::unique_ptr<BYTE, CFree>;

struct CReaderClose {
    void operator()(QELZIPHANDLEDATA* zip) const { QelZipClose(zip); }
};
struct CWriterClose {
    void operator()(QELZIPHANDLEDATA* zip) const { QelZipCloseWriter(zip); }
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

// The median time of one run, in milliseconds.
double Time(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        times.push_back((Now() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

Bytes Noise(size_t size, DWORD seed)
{
    Bytes bytes(size);
    for (BYTE& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<BYTE>(seed >> 16);
    }
    return bytes;
}

// Text that deflates about as well as a real page does.
std::string Page(size_t size, DWORD seed)
{
    static const char* const words[] = {"<p>", "the ", "reader ", "book ", "</p>\r\n", "document ", "class=\"x\" ",
                                        "<td>", "</td>", "subscription ", "and ", "of ", "<br/>", "style ", "page "};
    std::string text;
    while (text.size() < size) {
        seed = seed * 1103515245u + 12345u;
        text += words[(seed >> 16) % 15];
        if ((seed >> 8) % 7 == 0)
            text += std::to_string(seed % 100000);
    }
    text.resize(size);
    return text;
}

Bytes Zip(const std::vector<std::pair<std::wstring, Bytes>>& entries, DWORD capacity)
{
    const std::unique_ptr<QELZIPHANDLEDATA, CWriterClose> writer(QelZipCreateMemory(nullptr, capacity, nullptr));
    for (const auto& entry : entries)
        QelZipAdd(writer.get(), entry.first.c_str(), entry.second.data(), static_cast<DWORD>(entry.second.size()),
                  QELZIP_SOURCE_MEMORY);
    void* block = nullptr;
    DWORD length = 0;
    Bytes zip;
    if (QelZipGetMemory(writer.get(), &block, &length) == QELZR_OK)
        zip.assign(static_cast<BYTE*>(block), static_cast<BYTE*>(block) + length);
    return zip;
}

Bytes SealBytes(const Bytes& plain, const std::string& key)
{
    const Microsoft::WRL::ComPtr<IStream> stream = QelCreateMemoryStream();
    Bytes sealed;
    if (stream && QelWriteStream(stream.Get(), plain.data(), static_cast<ULONG>(plain.size())) &&
        QelEncryptStream(key.c_str(), stream.Get()))
        QelReadWholeStream(stream.Get(), sealed);
    return sealed;
}

Bytes ReadWholeFile(const std::wstring& path)
{
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    Bytes bytes(file ? GetFileSize(file.Get(), nullptr) : 0);
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return bytes;
}

void InitKey(CQelAES& aes, int direction, const std::string& key)
{
    const std::wstring wide = QelMD5WordHexSpaced(key.data(), static_cast<UINT>(key.size()));
    const std::string text(wide.begin(), wide.end());
    aes.Init(CQelAES::ModeCBC, direction, reinterpret_cast<const BYTE*>(text.data()), CQelAES::Key256, nullptr);
}

// The raw cipher over independent chunks, as the sealed format has them: whole
// chunks side by side when sealing.
size_t RawChunks(const std::string& key, int direction, const Bytes& in, Bytes& out)
{
    CQelAES aes;
    InitKey(aes, direction, key);
    const size_t chunk = direction == CQelAES::DirEncrypt ? 1024 : 1040;
    out.resize(in.size() / chunk * 1040 + 1040);
    size_t at = 0, written = 0;
    if (direction == CQelAES::DirEncrypt && in.size() >= chunk) {
        const int whole = static_cast<int>(in.size() / chunk);
        written = static_cast<size_t>(aes.PadEncryptChunks(in.data(), static_cast<int>(chunk), whole, out.data()));
        at = whole * chunk;
    }
    for (; at < in.size(); at += chunk) {
        const int count = static_cast<int>(std::min(chunk, in.size() - at));
        const int length = direction == CQelAES::DirEncrypt ? aes.PadEncrypt(in.data() + at, count, out.data() + written)
                                                            : aes.PadDecrypt(in.data() + at, count, out.data() + written);
        if (length < 0)
            return 0;
        written += static_cast<size_t>(length);
    }
    return written;
}

const char* PathName()
{
    return CQelAES::UsesInstructions() ? "AES instructions" : "tables";
}

Bytes RawDeflate(const Bytes& plain)
{
    z_stream stream{};
    deflateInit2(&stream, 8, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, static_cast<uLong>(plain.size())));
    stream.next_in = const_cast<BYTE*>(plain.data());
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

bool RawInflate(const Bytes& packed, Bytes& plain)
{
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = const_cast<BYTE*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = plain.data();
    stream.avail_out = static_cast<uInt>(plain.size());
    const int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

void Row(const char* what, double ms, const char* rawWhat, double rawMs, double megabytes = 0)
{
    std::printf("%-38s %9.2f ms   %-34s %9.2f ms   x%5.2f", what, ms, rawWhat, rawMs, ms / rawMs);
    if (megabytes > 0)
        std::printf("   %7.1f MB/s (raw %7.1f MB/s)", megabytes / (ms / 1000.0), megabytes / (rawMs / 1000.0));
    std::printf("\n");
}

} // namespace

int main()
{
    const std::string key = QelGetComputerNameAnsi();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"tessary-bench-document.kvd";

    // A document of about 1 MB: its page, then pictures that do not deflate.
    const std::string pageText = Page(400 * 1024, 7);
    const Bytes page(pageText.begin(), pageText.end());
    std::vector<std::pair<std::wstring, Bytes>> entries = {{L"index.htm", page}};
    for (int i = 0; i < 6; ++i)
        entries.push_back({L"images/picture" + std::to_wstring(i) + L".png", Noise(150 * 1024, 100 + i)});
    const Bytes document = Zip(entries, 4 << 20);
    const Bytes sealed = SealBytes(document, key);
    {
        const CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), sealed.data(), static_cast<DWORD>(sealed.size()), &written, nullptr)) {
            std::printf("Cannot write %ls\n", path.c_str());
            return 1;
        }
    }
    std::printf("Document: %u bytes sealed (%u bytes zip, index page %u bytes)\n\n",
                unsigned(sealed.size()), unsigned(document.size()), unsigned(page.size()));

    COskanDataFileCache* cache = QelGetDataFileCache();
    bool ok = true;
    const auto openIndex = [&] {
        BYTE* data = nullptr;
        DWORD size = 0;
        ok = cache->ExtractIndexPage(path.c_str(), &data, &size) && size == page.size() && ok;
        const CBlock owned(data);
    };
    const double cold = Time(21, [&] {
        cache->Clear();
        openIndex();
    });
    const double warm = Time(51, openIndex);
    std::vector<double> clears;
    for (int i = 0; i < 21; ++i) {
        openIndex();
        const double start = Now();
        cache->Clear();
        clears.push_back((Now() - start) * 1000.0);
    }
    std::sort(clears.begin(), clears.end());
    const double clear = clears[clears.size() / 2];

    Bytes plain;
    const double read = Time(21, [&] { ReadWholeFile(path); });
    const double decipher = Time(21, [&] { RawChunks(key, CQelAES::DirDecrypt, sealed, plain); });
    const Bytes packedPage = RawDeflate(page);
    Bytes inflated(page.size());
    const double inflatePage = Time(51, [&] { RawInflate(packedPage, inflated); });
    const double pieces = read + decipher + inflatePage;
    std::printf("Cipher: %s\n", PathName());
    Row("open document, cold", cold, "read + decipher + inflate", pieces);
    std::printf("%-38s %9s      %-34s read %.2f, decipher %.2f, inflate %.2f ms\n", "", "", "  of which", read,
                decipher, inflatePage);
    Row("", cold, "read + inflate", read + inflatePage);
    Row("open document, from the cache", warm, "inflate alone", inflatePage);
    const double inflateChecked = Time(51, [&] {
        // A fresh block from malloc each time, as the data-file calls hand out.
        const CBlock block(static_cast<BYTE*>(malloc(page.size())));
        Bytes packed = packedPage;
        z_stream z{};
        inflateInit2(&z, -MAX_WBITS);
        z.next_in = packed.data();
        z.avail_in = static_cast<uInt>(packed.size());
        z.next_out = block.get();
        z.avail_out = static_cast<uInt>(page.size());
        inflate(&z, Z_FINISH);
        inflateEnd(&z);
        ok = crc32(0, block.get(), static_cast<uInt>(page.size())) ==
                 crc32(0, page.data(), static_cast<uInt>(page.size())) &&
             ok;
    });
    Row("", warm, "inflate, CRC-32, fresh block", inflateChecked);

    // Where the cold open's time goes, step by step.
    const double loadStep = Time(21, [&] { QelLoadFileToStream(path.c_str(), QelCreateMemoryStream().Get()); });
    std::vector<Microsoft::WRL::ComPtr<IStream>> copies(21);
    for (auto& copy : copies) {
        copy = QelCreateMemoryStream();
        QelWriteStream(copy.Get(), sealed.data(), static_cast<ULONG>(sealed.size()));
    }
    size_t next = 0;
    const double unsealStep = Time(21, [&] { QelDecryptStream(key.c_str(), copies[next++].Get()); });
    const double zipStep = Time(21, [&] {
        CQelUnZipStream archive;
        archive.Open(copies[0].Get());
        const int index = COskanDataFile::FindIndexFile(archive.GetHandle());
        BYTE* data = nullptr;
        DWORD size = 0;
        ok = archive.ExtractItem(index, &data, &size) && ok;
        const CBlock owned(data);
    });
    std::printf("%-38s load to stream %.2f, unseal stream %.2f, open zip + find + extract %.2f,\n"
                "%-38s dropping the previous data file %.2f ms\n",
                "  cold open step by step:", loadStep, unsealStep, zipStep, "", clear);

    // 16 MB sealed and unsealed, on each path the cipher has.
    const size_t big = 16u << 20;
    const Bytes bigPlain = Noise(big, 5);
    for (const bool tables : {false, true}) {
        CQelAES::ForceTables(tables);
        const Microsoft::WRL::ComPtr<IStream> stream = QelCreateMemoryStream();
        std::vector<double> seals;
        std::vector<double> unseals;
        for (int i = 0; i < 5; ++i) {
            QelSetStreamSize(stream.Get(), 0);
            QelSeekStreamToBegin(stream.Get());
            QelWriteStream(stream.Get(), bigPlain.data(), static_cast<ULONG>(big));
            double start = Now();
            ok = QelEncryptStream(key.c_str(), stream.Get()) && ok;
            seals.push_back((Now() - start) * 1000.0);
            start = Now();
            ok = QelDecryptStream(key.c_str(), stream.Get()) && ok;
            unseals.push_back((Now() - start) * 1000.0);
        }
        std::sort(seals.begin(), seals.end());
        std::sort(unseals.begin(), unseals.end());
        ok = QelGetStreamSize(stream.Get()) == big && ok;
        Bytes bigSealed;
        const double rawSeal = Time(5, [&] { RawChunks(key, CQelAES::DirEncrypt, bigPlain, bigSealed); });
        Bytes bigBack;
        const double rawUnseal = Time(5, [&] { RawChunks(key, CQelAES::DirDecrypt, bigSealed, bigBack); });
        ok = bigBack.size() >= big && std::equal(bigPlain.begin(), bigPlain.end(), bigBack.begin()) && ok;
        std::printf("\nCipher: %s\n", PathName());
        Row("seal 16 MB", seals[2], "AES chunks alone", rawSeal, 16);
        Row("unseal 16 MB", unseals[2], "AES chunks alone", rawUnseal, 16);
    }
    CQelAES::ForceTables(false);

    // 16 MB zipped and unzipped: text-like, so deflate has work to do.
    const std::string bigText = Page(big, 11);
    const Bytes bigPage(bigText.begin(), bigText.end());
    Bytes zipped;
    const double zipMs = Time(3, [&] { zipped = Zip({{L"big.htm", bigPage}}, 24 << 20); });
    Bytes unzipped(big);
    const double unzipMs = Time(3, [&] {
        const std::unique_ptr<QELZIPHANDLEDATA, CReaderClose> reader(
            QelZipOpenMemory(zipped.data(), static_cast<DWORD>(zipped.size()), nullptr));
        ok = QelZipExtract(reader.get(), 0, unzipped.data(), static_cast<DWORD>(big), QELZIP_EXTRACT_MEMORY) ==
                 QELZR_OK &&
             ok;
    });
    ok = unzipped == bigPage && ok;
    Bytes rawPacked;
    const double rawZip = Time(3, [&] { rawPacked = RawDeflate(bigPage); });
    const double rawUnzip = Time(3, [&] { RawInflate(rawPacked, unzipped); });
    std::printf("\nZipped 16 MB to %u bytes (raw deflate: %u)\n", unsigned(zipped.size()), unsigned(rawPacked.size()));
    Row("zip 16 MB", zipMs, "deflate alone", rawZip, 16);
    Row("unzip 16 MB", unzipMs, "inflate alone", rawUnzip, 16);

    DeleteFileW(path.c_str());
    std::printf("\n%s\n", ok ? "All results checked." : "SOME RESULTS WERE WRONG.");
    return ok ? 0 : 1;
}
