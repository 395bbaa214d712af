// Kill-and-resume benchmark: an account of one 2,000-document book synced by
// tessary-sync.exe from the services stand-in, once from start to end, and
// once killed 20 times at spread-out moments and then run to its end. Prints
// how many documents each way downloaded: what a crash costs in work done again.
//
// The kill moments are spread evenly, in shuffled order, over a window after
// each start (a fixed seed, so every run of the benchmark kills at the same
// moments). By default the window is twice the clean sync's time shared among
// the kills (a tenth of it for 20): short enough that the account is not
// finished before its last kill, and covering start-up, sign-in, lists and
// downloads. A longer window (the third argument, as a fraction of the clean
// sync's time) lets each killed run download more, and may finish the account
// before the last kills, whose runs then end before their moment.
//
// Run under Wine from the build folder, e.g.
//   tools/under-wine.sh build wine build/tools/bench/KillResumeBench.exe [documents kills [window]]

#include "ServicesStandIn.h"  // winsock2.h before windows.h

#include "BenchScenario.h"
#include "SyncToolRun.h"
#include "framework/ComInitialize.h"
#include "framework/Handle.h"
#include "foundation/Folders.h"
#include "librarydata/Database.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

size_t DocumentDownloads(const CServicesStandIn& standIn)
{
    const std::vector<CStandInRequest> requests = standIn.Requests();
    return size_t(std::count_if(requests.begin(), requests.end(), [](const CStandInRequest& request) {
        return request.xmlrpcMethod == "subscription.getDocumentData";
    }));
}

// The account holds every document and the book's last version.
bool IsComplete(const std::wstring& folder, unsigned documents)
{
    CTessaryDatabase database;
    if (!database.Open((folder + L"Data\\bench@example.com\\").c_str()))
        return false;
    const std::wstring book(kBenchBook, kBenchBook + strlen(kBenchBook));
    __int64 documentVersion = -1;
    __int64 attachmentVersion = -1;
    database.GetLocalVersion(book.c_str(), documentVersion, attachmentVersion);
    unsigned stored = 0;
    for (unsigned i = 0; i < documents; ++i) {
        TESSARYDOCUMENTDATA document;
        const std::string guid = BenchGuid(0xd0c, i);
        if (database.GetDocumentByGuid(book.c_str(), std::wstring(guid.begin(), guid.end()).c_str(), document) &&
            document.dataMD5.size() == 32 && GetFileAttributesW(database.GetDocumentFileName(document).c_str()) !=
                                                 INVALID_FILE_ATTRIBUTES)
            ++stored;
    }
    return stored == documents && documentVersion == static_cast<__int64>(documents);
}

}  // namespace

int main(int argc, char** argv)
{
    const unsigned documents = argc > 2 ? unsigned(std::atoi(argv[1])) : 2000;
    const unsigned kills = argc > 2 ? unsigned(std::atoi(argv[2])) : 20;
    const double windowFraction = argc > 3 ? std::atof(argv[3]) : 2.0 / kills;
    if (documents == 0 || kills == 0 || windowFraction <= 0) {
        fprintf(stderr, "usage: KillResumeBench.exe [documents kills [window]], at least one of each\n");
        return 1;
    }
    const CComInitialize com;
    CStopwatch clock;
    CServicesStandIn standIn;
    if (!standIn.Start(BenchScenario(documents, 0))) {
        fprintf(stderr, "The stand-in did not start: %s\n", standIn.Error().c_str());
        return 1;
    }

    const std::wstring clean = QelGetExeFolder() + L"killbench_clean\\";
    const std::wstring killed = QelGetExeFolder() + L"killbench_killed\\";
    if (!PrepareToolFolder(clean) || !PrepareToolFolder(killed)) {
        fprintf(stderr, "Cannot prepare the tool's folders beside this program\n");
        return 1;
    }

    double start = clock.Now();
    if (RunSyncTool(clean, INFINITE) != 0 || !IsComplete(clean, documents)) {
        fprintf(stderr, "The clean sync failed\n");
        return 1;
    }
    const double cleanSeconds = clock.Now() - start;
    const size_t cleanDownloads = DocumentDownloads(standIn);
    printf("Clean sync: %zu documents downloaded in %.1f s\n", cleanDownloads, cleanSeconds);

    // Evenly spread moments within the window, in an order of their own.
    const double window = windowFraction * cleanSeconds;
    std::vector<DWORD> moments;
    CNoise noise;
    for (unsigned i = 0; i < kills; ++i)
        moments.push_back(DWORD(1000 * window * (i + (noise.Next() % 1000) / 1000.0) / kills));
    for (unsigned i = kills - 1; i > 0; --i)
        std::swap(moments[i], moments[noise.Next() % (i + 1)]);

    unsigned done = 0;
    unsigned endedFirst = 0;
    for (const DWORD moment : moments) {
        if (RunSyncTool(killed, moment) == kKilledExitCode)
            ++done;
        else
            ++endedFirst;
    }
    if (RunSyncTool(killed, INFINITE) != 0 || !IsComplete(killed, documents)) {
        fprintf(stderr, "The sync after the kills did not complete the account\n");
        return 1;
    }
    const size_t killedDownloads = DocumentDownloads(standIn) - cleanDownloads;
    printf("Killed %u times (moments from 0 to %.1f s after each start; %u runs ended before their moment), "
           "then run to the end: %zu documents downloaded\n",
           done, window, endedFirst, killedDownloads);
    printf("Ratio killed / clean: %.2f (goal: at most 1.2)\n", double(killedDownloads) / double(cleanDownloads));
    return 0;
}
