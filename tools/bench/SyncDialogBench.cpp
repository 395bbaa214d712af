// Sync dialog benchmark: the sync benchmark's book (10,000 documents and 2,000
// attachments by default) synced into a fresh account three ways: by
// tessary-sync.exe, and through the reader's sync dialog hidden and shown
// (expanded, its log growing). Prints the times, their ratio to the tool's,
// and where the dialog's time goes: the events sent to the user-interface
// thread, a bare round trip's cost, and the handlers' own time per kind.
//
// Run under Wine from the build folder, e.g.
//   xvfb-run -a tools/under-wine.sh build wine build/tools/bench/SyncDialogBench.exe [documents attachments]

#include "ServicesStandIn.h"  // winsock2.h before windows.h

#include "BenchScenario.h"
#include "SyncToolRun.h"
#include "app/sync/SyncDlg.h"
#include "foundation/Folders.h"
#include "foundation/Settings.h"
#include "framework/ComInitialize.h"
#include "framework/Handle.h"
#include "librarydata/Database.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

const wchar_t kUser[] = L"bench@example.com";

// Time spent in the handlers on the user-interface thread, per kind of event.
struct CHandlerTimes {
    double seconds = 0;
    unsigned count = 0;
};

class CTimedSyncDlg : public CSyncDlg {
public:
    using CSyncDlg::CSyncDlg;

    void OnStepBegin(int step) override { Time(other, [&] { CSyncDlg::OnStepBegin(step); }); }
    void OnSubscriptionBegin(const wchar_t* guid, const wchar_t* name, int index, int count) override
    {
        Time(other, [&] { CSyncDlg::OnSubscriptionBegin(guid, name, index, count); });
    }
    void OnStepProgress(int position, int total) override
    {
        Time(stepProgress, [&] { CSyncDlg::OnStepProgress(position, total); });
    }
    void OnItemProgress(int done, int total) override
    {
        Time(itemProgress, [&] { CSyncDlg::OnItemProgress(done, total); });
    }
    void OnLog(int level, const wchar_t* text) override { Time(log, [&] { CSyncDlg::OnLog(level, text); }); }
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override
    {
        BOOL result = FALSE;
        Time(store, [&] { result = CSyncDlg::UpdateDocument(document, data); });
        return result;
    }
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override
    {
        BOOL result = FALSE;
        Time(store, [&] { result = CSyncDlg::UpdateAttachment(attachment, data); });
        return result;
    }
    void GetDocument(const wchar_t* guid, const wchar_t* documentGuid, TESSARYDOCUMENTDATA* document) override
    {
        Time(lookups, [&] { CSyncDlg::GetDocument(guid, documentGuid, document); });
    }
    void GetAttachment(const wchar_t* guid, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override
    {
        Time(lookups, [&] { CSyncDlg::GetAttachment(guid, attachmentGuid, attachment); });
    }
    BOOL IsCanceled() override
    {
        BOOL result = FALSE;
        Time(other, [&] { result = CSyncDlg::IsCanceled(); });
        return result;
    }

    unsigned Events() const
    {
        return stepProgress.count + itemProgress.count + log.count + store.count + lookups.count + other.count;
    }
    double HandlerSeconds() const
    {
        return stepProgress.seconds + itemProgress.seconds + log.seconds + store.seconds + lookups.seconds +
               other.seconds;
    }

    CHandlerTimes stepProgress, itemProgress, log, store, lookups, other;
    // The user-interface thread's time waiting for the worker, and at work.
    double idle = 0;
    double busy = 0;

private:
    template <class Work>
    void Time(CHandlerTimes& times, Work work)
    {
        const double start = m_clock.Now();
        work();
        times.seconds += m_clock.Now() - start;
        ++times.count;
    }

    CStopwatch m_clock;
};

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool FreshAccount(const std::wstring& folder, CTessaryDatabase& database)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    std::filesystem::create_directories(std::filesystem::path(folder), ignored);
    return database.Open(folder.c_str()) && database.SetAccountUserName(kUser) &&
           database.SetAccountPassword(L"bench");
}

// One run through the dialog, as the program's message loop would handle it.
bool SyncThroughDialog(BOOL shown, double& seconds, CTimedSyncDlg*& timed, std::unique_ptr<CTimedSyncDlg>& keep,
                       CTessaryDatabase& database)
{
    const std::wstring account = QelGetDataFolder() + kUser + L"\\";
    database.Close();
    if (!FreshAccount(account, database))
        return false;
    CTessarySettings().SetBool(L"SyncDlg", L"Visible", shown);
    keep = std::make_unique<CTimedSyncDlg>(&database);
    timed = keep.get();
    if (!timed->CreateDialogWindow())
        return false;
    if (shown)
        timed->SendMessage(WM_COMMAND, IDC_SYNC_DETAILS);
    CStopwatch clock;
    const double start = clock.Now();
    if (!timed->StartSync())
        return false;
    while (timed->IsSyncing()) {
        const double waiting = clock.Now();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        const double handling = clock.Now();
        Pump();
        timed->idle += handling - waiting;
        timed->busy += clock.Now() - handling;
    }
    timed->SendMessage(WM_TIMER, CSyncDlg::kPollTimer);
    seconds = clock.Now() - start;
    Pump();
    __int64 documents = -1;
    __int64 attachments = -1;
    const std::wstring book(kBenchBook, kBenchBook + strlen(kBenchBook));
    return database.GetLocalVersion(book.c_str(), documents, attachments) && documents > 0;
}

// The tool from a folder of its own beside this program.
bool SyncThroughTool(double& seconds)
{
    const std::wstring folder = QelGetExeFolder() + L"dialogbench_tool\\";
    if (!PrepareToolFolder(folder))
        return false;
    CStopwatch clock;
    const double start = clock.Now();
    const DWORD exitCode = RunSyncTool(folder, INFINITE);
    seconds = clock.Now() - start;
    return exitCode == 0;
}

struct RoundTripParam {
    HWND window;
    int count;
};

DWORD WINAPI SendNothing(void* parameter)
{
    const RoundTripParam& param = *static_cast<RoundTripParam*>(parameter);
    for (int i = 0; i < param.count; ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(param.window, WM_NULL, 0, 0, SMTO_BLOCK, 86400000, &result);
    }
    return 0;
}

// A bare event's round trip: a worker's blocking send to a window of this thread.
double RoundTripSeconds(HWND window, int count)
{
    RoundTripParam param{window, count};
    CStopwatch clock;
    const double start = clock.Now();
    const CHandle thread(CreateThread(nullptr, 0, SendNothing, &param, 0, nullptr));
    HANDLE handle = thread.Get();
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        Pump();
    return (clock.Now() - start) / count;
}

void PrintWhere(const char* name, const CTimedSyncDlg& dialog)
{
    printf("  %s: %u events\n", name, dialog.Events());
    const auto row = [](const char* kind, const CHandlerTimes& times) {
        printf("    %-38s %7u  %6.2f s\n", kind, times.count, times.seconds);
    };
    row("item progress (HTTP bytes)", dialog.itemProgress);
    row("step progress", dialog.stepProgress);
    row("log lines", dialog.log);
    row("stores (rows, data files, versions)", dialog.store);
    row("look-ups of held rows", dialog.lookups);
    row("steps, books, stop questions", dialog.other);
    printf("    %-38s %7s  %6.2f s\n", "all handlers", "", dialog.HandlerSeconds());
    printf("    %-38s %7s  %6.2f s\n", "delivery, painting, timers (busy - handlers)", "",
           dialog.busy - dialog.HandlerSeconds());
    printf("    %-38s %7s  %6.2f s\n", "waiting for the worker", "", dialog.idle);
}

}  // namespace

int main(int argc, char** argv)
{
    const unsigned documents = argc > 2 ? unsigned(std::atoi(argv[1])) : 10000;
    const unsigned attachments = argc > 2 ? unsigned(std::atoi(argv[2])) : 2000;
    if (documents == 0) {
        fprintf(stderr, "usage: SyncDialogBench.exe [documents attachments], at least one document\n");
        return 1;
    }
    const CComInitialize com;
    // As start-up does, for the dialog's log.
    LoadLibraryW(L"RICHED20.DLL");
    printf("Building the scenario: %u documents, %u attachments...\n", documents, attachments);
    CServicesStandIn standIn;
    if (!standIn.Start(BenchScenario(documents, attachments))) {
        fprintf(stderr, "The stand-in did not start: %s\n", standIn.Error().c_str());
        return 1;
    }

    double toolSeconds = 0;
    if (!SyncThroughTool(toolSeconds)) {
        fprintf(stderr, "tessary-sync.exe failed\n");
        return 1;
    }
    printf("tessary-sync.exe:            %6.1f s\n", toolSeconds);

    CTessaryDatabase database;
    std::unique_ptr<CTimedSyncDlg> hiddenDialog;
    std::unique_ptr<CTimedSyncDlg> shownDialog;
    CTimedSyncDlg* hidden = nullptr;
    CTimedSyncDlg* shown = nullptr;
    double hiddenSeconds = 0;
    double shownSeconds = 0;
    if (!SyncThroughDialog(FALSE, hiddenSeconds, hidden, hiddenDialog, database)) {
        fprintf(stderr, "The hidden dialog's sync failed\n");
        return 1;
    }
    printf("the dialog, hidden:          %6.1f s  (%.2f x the tool)\n", hiddenSeconds, hiddenSeconds / toolSeconds);
    const double roundTrip = RoundTripSeconds(*hidden, 20000);
    hiddenDialog->DestroyDialogWindow();
    if (!SyncThroughDialog(TRUE, shownSeconds, shown, shownDialog, database)) {
        fprintf(stderr, "The shown dialog's sync failed\n");
        return 1;
    }
    printf("the dialog, shown, expanded: %6.1f s  (%.2f x the tool)\n", shownSeconds, shownSeconds / toolSeconds);
    printf("Goal: at most 1.5 x the tool.\n\nWhere the dialog's time goes:\n");
    printf("  a bare round trip to the user-interface thread: %.1f us\n", roundTrip * 1e6);
    PrintWhere("hidden", *hidden);
    printf("    %-38s %7s  %6.2f s\n", "round trips (events x bare trip)", "", hidden->Events() * roundTrip);
    PrintWhere("shown", *shown);
    printf("    %-38s %7s  %6.2f s\n", "round trips (events x bare trip)", "", shown->Events() * roundTrip);
    return 0;
}
