// Times showing a folder of 5,000 documents and one of 100,000 in the document pane,
// in-process: the query, the refill with its sort, and the first paint of the list; then
// a change of the sort field with its repaint in the smaller folder. Medians of several
// rounds, in milliseconds. Run by hand on a display: wine DocumentListBench.exe

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchScenario.h"
#include "app/frame/DocumentPane.h"
#include "framework/ComInitialize.h"
#include "framework/WindowObject.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kDocuments = 5000;
constexpr int kHugeDocuments = 100000;
constexpr int kRounds = 7;
constexpr int kHugeRounds = 3;
constexpr wchar_t kBook[] = L"c0000000-0000-4000-8000-00000000000c";

class CBenchWindow : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN; }
    DWORD DefaultExStyle() const override { return 0; }
};

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Pump()
{
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
}

BOOL Fill(CTessaryDatabase& database)
{
    if (!database.SetSubscriptionName(kBook, L"Bench book") || !database.BeginTransaction())
        return FALSE;
    for (int i = 0; i < kDocuments + kHugeDocuments + 500; ++i) {
        wchar_t guid[40];
        swprintf(guid, 40, L"d0000000-0000-4000-8000-%012d", i);
        const bool big = i < kDocuments;
        const bool huge = !big && i < kDocuments + kHugeDocuments;
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = kBook;
        document.documentGuid = guid;
        document.location = big ? L"/big/" : huge ? L"/huge/" : L"/other/";
        const long long n = i;  // the products below pass the range of int
        document.title = L"Document " + std::to_wstring((n * 7919) % (huge ? kHugeDocuments : kDocuments)) +
                         L" of the bench book";
        document.created = 1700000000 + (n * 104729) % 5000000;
        document.modified = document.created + (i % 97) * 3600;
        document.type = L"htm";
        document.attachmentCount = i % 3;
        if (!database.UpdateDocument(document, nullptr))
            return FALSE;
    }
    return database.CommitTransaction();
}

struct FolderTimes {
    int rows = 0;
    int rounds = 0;
    std::vector<double> query, refill, paint, total;
};

// Shows the folder in rounds, each after the small folder, and times its steps.
FolderTimes TimeFolder(CDocumentPane& pane, CTessaryDatabase& database, const wchar_t* location, int rounds,
                       const CStopwatch& clock)
{
    const HWND list = pane.GetList();
    FolderTimes times;
    times.rounds = rounds;
    for (int round = 0; round < rounds; ++round) {
        pane.ShowLocation(kBook, L"/other/");
        ::UpdateWindow(list);
        Pump();
        const double start = clock.Now();
        std::vector<TESSARYDOCUMENTDATA> documents;
        database.GetDocumentsByLocation(kBook, location, documents);
        const double queried = clock.Now();
        pane.ShowDocuments(documents, location);
        const double refilled = clock.Now();
        ::UpdateWindow(list);
        const double painted = clock.Now();
        times.query.push_back((queried - start) * 1000);
        times.refill.push_back((refilled - queried) * 1000);
        times.paint.push_back((painted - refilled) * 1000);
        times.total.push_back((painted - start) * 1000);
        Pump();
    }
    times.rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    return times;
}

void Print(const FolderTimes& times)
{
    std::printf("folder of %d documents (median of %d rounds, ms)\n", times.rows, times.rounds);
    std::printf("  query %.1f, refill and sort %.1f, first paint %.1f, together %.1f\n", Median(times.query),
                Median(times.refill), Median(times.paint), Median(times.total));
}

}  // namespace

int main()
{
    CComInitialize com;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"DocumentListBench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::DeleteFileW((folder + L"index.db").c_str());
    CTessaryDatabase database;
    if (!database.Open(folder.c_str()) || !Fill(database)) {
        std::printf("could not fill the database in %ls\n", folder.c_str());
        return 1;
    }

    CBenchWindow window;
    window.Create(nullptr, RECT{0, 0, 500, 900}, L"DocumentListBench");
    CDocumentPane pane(&database);
    pane.Create(window);
    pane.MoveWindow(window.GetClientRect());
    Pump();
    const HWND list = pane.GetList();
    const CStopwatch clock;
    const FolderTimes big = TimeFolder(pane, database, L"/big/", kRounds, clock);
    const UINT fields[] = {ID_SORT_TITLE, ID_SORT_DATE_MODIFIED, ID_SORT_LOCATION, ID_SORT_DATE_CREATED};
    std::vector<double> sort;
    for (int round = 0; round < kRounds; ++round) {
        const double start = clock.Now();
        pane.SendMessage(WM_COMMAND, fields[round % 4]);
        ::UpdateWindow(list);
        sort.push_back((clock.Now() - start) * 1000);
        Pump();
    }
    pane.SendMessage(WM_COMMAND, ID_SORT_DATE_CREATED);  // the reader's default order again
    const FolderTimes huge = TimeFolder(pane, database, L"/huge/", kHugeRounds, clock);
    Print(big);
    std::printf("sort change with repaint: %.1f ms\n", Median(sort));
    Print(huge);
    pane.DestroyWindow();
    window.DestroyWindow();
    database.Close();
    ::DeleteFileW((folder + L"index.db").c_str());
    ::RemoveDirectoryW(folder.c_str());
    return 0;
}
