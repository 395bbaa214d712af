// Fills an account database with 100,000 documents in 200 folders of 3 books
// and 20,000 attachments, then times the catalogue queries the panes run and
// the store of 10,000 updated documents (each its own transaction, as the sync
// writes them). Usage: DatabaseBench [folder] [--plans]
// Without a folder the account lives in a fresh folder under %TEMP%, removed
// at the end.

#include "BenchAccount.h"
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

using namespace bench;

constexpr int kUpdates = 10000;
constexpr int kUpdatesWithData = 1000;
constexpr int kRuns = 5;

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
    const std::vector<TESSARYDOCUMENTDATA> documents = MakeDocuments(random);

    // A folder filled by an earlier run is used as it stands.
    if (!IsFilled(db, documents)) {
        const double start = Now();
        if (!FillAccount(db, documents))
            return 1;
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
