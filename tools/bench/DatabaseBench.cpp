// Fills an account database with 100,000 documents in 200 folders of 3 books
// and 20,000 attachments, then times the catalogue queries the panes run and
// the store of 10,000 updated documents (each its own transaction, as the sync
// writes them). Usage: DatabaseBench [folder] [--plans]
// Without a folder the account lives in a fresh folder under %TEMP%, removed
// at the end.

#include "framework/ComInitialize.h"
#include "librarydata/CppSQLite3.h"
#include "librarydata/Database.h"

#include <objidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kDocuments = 100000;
constexpr int kFolders = 200;
constexpr int kBooks = 3;
constexpr int kLargeFolder = 5000;
constexpr int kAttachments = 20000;
constexpr int kUpdates = 10000;
constexpr int kUpdatesWithData = 1000;
constexpr int kRuns = 5;

const wchar_t* const kWords[] = {L"apple",  L"river",   L"engine", L"garden", L"report", L"summary", L"install",
                                 L"guide",  L"network", L"policy", L"budget", L"server", L"window",  L"travel",
                                 L"health", L"market",  L"design", L"energy", L"letter", L"notes"};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring BookGuid(int book)
{
    wchar_t text[40];
    swprintf(text, 40, L"%08x-0000-4000-8000-%012x", 0xb00c0000 + book, book);
    return text;
}

std::wstring DocumentGuid(int n)
{
    wchar_t text[40];
    swprintf(text, 40, L"%08x-%04x-4%03x-8%03x-%012x", n * 2654435761u, n & 0xFFFF, n % 0xFFF, (n / 7) % 0xFFF, n);
    return text;
}

std::wstring FolderPath(int folder)
{
    return L"/Section " + std::to_wstring(folder / 20) + L"/Topic " + std::to_wstring(folder) + L"/";
}

// The folder of document n: the first 5,000 fill folder 0, the rest spread over the others.
int FolderOf(int n)
{
    return n < kLargeFolder ? 0 : 1 + (n - kLargeFolder) % (kFolders - 1);
}

TESSARYDOCUMENTDATA MakeDocument(int n, std::mt19937& random, __int64 now)
{
    const int folder = FolderOf(n);
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = BookGuid(folder % kBooks);
    document.documentGuid = DocumentGuid(n);
    document.location = FolderPath(folder);
    document.title = std::wstring(kWords[random() % 20]) + L" " + kWords[random() % 20] + L" " +
                     kWords[random() % 20] + L" no. " + std::to_wstring(n);
    // Two years of history; a few documents from the last days.
    const __int64 age = (n % 997 == 0) ? random() % (2 * 86400) : random() % (730 * 86400);
    document.created = now - age - 86400;
    document.modified = now - age;
    document.iconIndex = n % 12;
    document.attachmentCount = 0;
    document.indexed = 1;
    document.version = n + 1;
    wchar_t md5[33];
    swprintf(md5, 33, L"%08x%08x%08x%08x", n, random(), random(), random());
    document.dataMD5 = md5;
    return document;
}

struct Figure {
    double first = 0;
    double median = 0;
    std::size_t rows = 0;
};

Figure Measure(const std::function<std::size_t()>& query)
{
    std::vector<double> times;
    Figure figure;
    for (int run = 0; run < kRuns; ++run) {
        const double start = Now();
        figure.rows = query();
        times.push_back((Now() - start) * 1000.0);
    }
    figure.first = times.front();
    std::sort(times.begin(), times.end());
    figure.median = times[times.size() / 2];
    return figure;
}

void Print(const char* name, const Figure& figure)
{
    printf("%-34s %8.2f ms median, %8.2f ms first run, %6u rows%s\n", name, figure.median, figure.first,
           static_cast<unsigned>(figure.rows), figure.median < 50.0 ? "" : "   <-- over 50 ms");
}

void PrintPlan(CppSQLite3DB& raw, const wchar_t* sql)
{
    printf("  plan of: %ls\n", sql);
    CppSQLite3Query query = raw.ExecuteQuery((L"explain query plan " + std::wstring(sql)).c_str());
    while (!query.IsEof()) {
        printf("    %ls\n", query.GetStringField(3).c_str());
        query.NextRow();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const CComInitialize com;
    std::wstring folder;
    bool plans = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--plans") == 0)
            plans = true;
        else
            folder = std::filesystem::path(argv[i]).wstring() + L"\\";
    }
    const bool ownFolder = folder.empty();
    if (ownFolder) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"tessary-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    }
    std::filesystem::create_directories(folder);
    printf("Account folder: %ls\n", folder.c_str());

    CTessaryDatabase db;
    if (!db.Open(folder.c_str())) {
        printf("Cannot open the database\n");
        return 1;
    }

    std::mt19937 random(20091207);
    const __int64 now = _time64(nullptr);
    std::vector<TESSARYDOCUMENTDATA> documents;
    documents.reserve(kDocuments);
    for (int n = 0; n < kDocuments; ++n)
        documents.push_back(MakeDocument(n, random, now));

    // A folder filled by an earlier run is used as it stands.
    if (!db.DocumentExists(documents.back().subscriptionGuid.c_str(), documents.back().documentGuid.c_str())) {
        const double start = Now();
        db.BeginTransaction();
        for (int n = 0; n < kDocuments; ++n) {
            if (!db.UpdateDocument(documents[n], nullptr)) {
                printf("Fill failed at document %d\n", n);
                return 1;
            }
        }
        for (int n = 0; n < kAttachments; ++n) {
            const TESSARYDOCUMENTDATA& owner = documents[(n * 5) % kDocuments];
            TESSARYDOCUMENTATTACHMENTDATA attachment;
            attachment.subscriptionGuid = owner.subscriptionGuid;
            attachment.attachmentGuid = DocumentGuid(kDocuments + n);
            attachment.documentGuid = owner.documentGuid;
            attachment.name = L"attachment " + std::to_wstring(n) + L".pdf";
            attachment.version = n + 1;
            attachment.dataMD5 = owner.dataMD5;
            if (!db.UpdateAttachment(attachment, nullptr)) {
                printf("Fill failed at attachment %d\n", n);
                return 1;
            }
        }
        for (int book = 0; book < kBooks; ++book)
            db.SetSubscriptionName(BookGuid(book).c_str(), (L"Book " + std::to_wstring(book)).c_str());
        db.SetAccountUserName(L"bench@example.com");
        db.CommitTransaction();
        printf("Filled %d documents and %d attachments in %.1f s (one transaction)\n", kDocuments, kAttachments,
               Now() - start);
    }
    printf("index.db: %.1f MB\n\n", std::filesystem::file_size(folder + L"index.db") / 1048576.0);

    // Measured as the program meets the file after a start: a fresh connection.
    db.Close();
    db.Open(folder.c_str());
    const std::wstring largeBook = BookGuid(0);
    const std::wstring largeFolder = FolderPath(0);
    const auto search = [&](const wchar_t* words, const wchar_t* location) {
        return [&db, words, location] {
            std::vector<TESSARYDOCUMENTDATA> found;
            db.SearchDocuments(words, location, FALSE, found);
            return found.size();
        };
    };
    Print("Books list", Measure([&] {
              std::vector<TESSARYSUBSCRIPTIONDATA> books;
              db.GetSubscriptions(books);
              return books.size();
          }));
    Print("Folders with counts (one book)", Measure([&] {
              std::vector<std::pair<std::wstring, int>> locations;
              db.GetLocationsWithCount(largeBook.c_str(), locations);
              return locations.size();
          }));
    Print("Documents of a folder of 5,000", Measure([&] {
              std::vector<TESSARYDOCUMENTDATA> found;
              db.GetDocumentsByLocation(largeBook.c_str(), largeFolder.c_str(), found);
              return found.size();
          }));
    Print("Title search, a common word", Measure(search(L"garden", L"")));
    Print("Title search, a rare word", Measure(search(L"no. 4711", L"")));
    Print("Title search, two words and folder", Measure(search(L"garden report", L"/Topic 3/")));
    Print("Quick Views", Measure([&] {
              std::vector<TESSARYDOCUMENTDATA> found;
              db.GetQuickViewDocuments(L"Quick Views", found);
              return found.size();
          }));
    Print("Attachments of a document", Measure([&] {
              std::vector<TESSARYDOCUMENTATTACHMENTDATA> found;
              db.GetAttachments(documents[5], found);
              return found.size();
          }));

    // The sync's store: every document its own transaction.
    double start = Now();
    for (int n = 0; n < kUpdates; ++n) {
        TESSARYDOCUMENTDATA document = documents[(n * 7) % kDocuments];
        document.version += kDocuments;
        document.modified += 60;
        document.title += L" (rev)";
        if (!db.UpdateDocument(document, nullptr)) {
            printf("Update failed at %d\n", n);
            return 1;
        }
    }
    double seconds = Now() - start;
    printf("\nStored %d updated documents (rows) in %.2f s: %.0f documents/second\n", kUpdates, seconds,
           kUpdates / seconds);

    // The same with a changed 8 KB data file each, enciphered and written beside the database.
    std::string zip(8192, '\0');
    for (std::size_t i = 0; i < zip.size(); ++i)
        zip[i] = static_cast<char>(random());
    start = Now();
    for (int n = 0; n < kUpdatesWithData; ++n) {
        TESSARYDOCUMENTDATA document = documents[(n * 11) % kDocuments];
        document.version += 2 * kDocuments;
        document.dataMD5[0] = document.dataMD5[0] == L'f' ? L'0' : L'f';
        Microsoft::WRL::ComPtr<IStream> stream;
        CreateStreamOnHGlobal(nullptr, TRUE, &stream);
        stream->Write(zip.data(), static_cast<ULONG>(zip.size()), nullptr);
        if (!db.UpdateDocument(document, stream.Get())) {
            printf("Update with data failed at %d\n", n);
            return 1;
        }
    }
    seconds = Now() - start;
    printf("Stored %d updated documents with 8 KB data files in %.2f s: %.0f documents/second\n", kUpdatesWithData,
           seconds, kUpdatesWithData / seconds);

    // What one transaction costs here, without any work of its own.
    start = Now();
    for (int n = 0; n < 1000; ++n)
        db.GetAccountUserName();
    const double read = Now() - start;
    start = Now();
    for (int n = 0; n < 1000; ++n)
        db.ExecSQL(L"update QEL_READER_META set DT_MODIFIED=DT_MODIFIED where META_NAME='ACCOUNT'");
    const double write = Now() - start;
    printf("One read-only transaction: %.3f ms; one committed one-row write: %.3f ms\n", read, write);
    db.Close();

    if (plans) {
        CppSQLite3DB raw;
        raw.Open((folder + L"index.db").c_str());
        printf("\n");
        PrintPlan(raw, L"select min(SUBSCRIPTION_GUID) from QEL_READER_DOCUMENT where SUBSCRIPTION_GUID > 'x'");
        PrintPlan(raw, (L"select DOCUMENT_LOCATION, count(*) from QEL_READER_DOCUMENT where SUBSCRIPTION_GUID like '" +
                        largeBook + L"' escape '\\' group by DOCUMENT_LOCATION order by DOCUMENT_LOCATION")
                           .c_str());
        PrintPlan(raw, (L"select * from QEL_READER_DOCUMENT where SUBSCRIPTION_GUID like '" + largeBook +
                        L"' escape '\\' and DOCUMENT_LOCATION like '" + largeFolder + L"' escape '\\'")
                           .c_str());
        PrintPlan(raw, L"select * from QEL_READER_DOCUMENT where ((DOCUMENT_TITLE like '%garden%' escape '\\'))");
        PrintPlan(raw, L"select * from QEL_READER_DOCUMENT order by DT_CREATED desc limit 0, 50");
        PrintPlan(raw, L"select * from QEL_READER_DOCUMENT order by DT_MODIFIED desc limit 0, 50");
        PrintPlan(raw, (L"select * from QEL_READER_DOCUMENT_ATTACHMENT where SUBSCRIPTION_GUID='" + largeBook +
                        L"' and DOCUMENT_GUID='x'")
                           .c_str());
    }
    if (ownFolder) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return 0;
}
