// Times showing a folder of 5,000 documents in the document pane, in-process: the
// query, the refill with its sort, and the first paint of the list; then a change of
// the sort field with its repaint. Medians of several rounds, in milliseconds.
// Run by hand on a display: wine DocumentListBench.exe

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
constexpr int kRounds = 7;
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
    for (int i = 0; i < kDocuments + 500; ++i) {
        wchar_t guid[40];
        swprintf(guid, 40, L"d0000000-0000-4000-8000-%012d", i);
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = kBook;
        document.documentGuid = guid;
        document.location = i < kDocuments ? L"/big/" : L"/other/";
        document.title = L"Document " + std::to_wstring((i * 7919) % kDocuments) + L" of the bench book";
        document.created = 1700000000 + (i * 104729) % 5000000;
        document.modified = document.created + (i % 97) * 3600;
        document.type = L"htm";
        document.attachmentCount = i % 3;
        if (!database.UpdateDocument(document, nullptr))
            return FALSE;
    }
    return database.CommitTransaction();
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

    std::vector<double> query, refill, paint, total, sort;
    for (int round = 0; round < kRounds; ++round) {
        pane.ShowLocation(kBook, L"/other/");  // a small folder between rounds
        ::UpdateWindow(list);
        Pump();
        const double start = clock.Now();
        std::vector<TESSARYDOCUMENTDATA> documents;
        database.GetDocumentsByLocation(kBook, L"/big/", documents);
        const double queried = clock.Now();
        pane.ShowDocuments(documents, L"/big/");
        const double refilled = clock.Now();
        ::UpdateWindow(list);
        const double painted = clock.Now();
        query.push_back((queried - start) * 1000);
        refill.push_back((refilled - queried) * 1000);
        paint.push_back((painted - refilled) * 1000);
        total.push_back((painted - start) * 1000);
        Pump();
    }
    const UINT fields[] = {ID_SORT_TITLE, ID_SORT_DATE_MODIFIED, ID_SORT_LOCATION, ID_SORT_DATE_CREATED};
    for (int round = 0; round < kRounds; ++round) {
        const double start = clock.Now();
        pane.SendMessage(WM_COMMAND, fields[round % 4]);
        ::UpdateWindow(list);
        sort.push_back((clock.Now() - start) * 1000);
        Pump();
    }
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::printf("folder of %d documents (median of %d rounds, ms)\n", rows, kRounds);
    std::printf("  query %.1f, refill and sort %.1f, first paint %.1f, together %.1f\n", Median(query),
                Median(refill), Median(paint), Median(total));
    std::printf("sort change with repaint: %.1f ms\n", Median(sort));
    pane.DestroyWindow();
    window.DestroyWindow();
    database.Close();
    ::DeleteFileW((folder + L"index.db").c_str());
    ::RemoveDirectoryW(folder.c_str());
    return 0;
}
