// Soaks the reader's main frame in-process and reports what the process keeps: its
// memory before and after rounds of tab opens and closes, About boxes, searches in a
// 5,000-document folder and folder switches, each after a warm-up, then the curve of a
// long mixed soak. Everything is driven by the messages a user's clicks and keys send.
//
// Usage: SoakBench [--tabs N] [--opens N] [--browsers N] [--about N] [--searches N] [--folders N]
//                  [--mixed N] [--every N] [--warmup N] [--quick]
//                  [--only tabs,opens,browsers,about,searches,folders,mixed]
//                  [--mix open=5,tab=5,folder=4,search=5,about=1] [--keep] [--regions]
// --regions adds, after each round, the allocations of the address space whose committed
// private memory grew most, and whether they hold heap memory.
// The program copies itself into a fresh folder under %TEMP% with an account beside the
// copy (the reader keeps Data\ beside its program), and runs the copy, which measures.

#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchAccount.h"
#include "DocumentStore.h"
#include "BenchScenario.h"
#include "MemoryReading.h"
#include "app/dialogs/AboutDlg.h"
#include "app/frame/DocumentPane.h"
#include "app/frame/MainFrame.h"
#include "app/views/OskanUrl.h"
#include "app/views/ReaderTabView.h"
#include "controls/IconEdit.h"
#include "foundation/Folders.h"
#include "foundation/MessageBox.h"
#include "foundation/Streams.h"
#include "foundation/Translations.h"
#include "framework/ActiveXHost.h"
#include "framework/Bstr.h"
#include "framework/ComInitialize.h"
#include "framework/MessageLoop.h"
#include "resources/ResourceIds.h"

namespace {

// The account: one 5,000-document folder and a few smaller ones in two books.
constexpr int kLargeFolder = 5000;
struct SmallFolder {
    int book;
    const wchar_t* location;
    int documents;
};
const SmallFolder kSmallFolders[] = {
    {0, L"/Letters/", 300}, {0, L"/Notes/2010/", 120}, {0, L"/Notes/2011/", 80}, {1, L"/Projects/Alpha/", 200},
    {1, L"/Projects/Beta/", 40},
};
constexpr wchar_t kLargeLocation[] = L"/Archive/";
int SmallFolderDocuments()
{
    int documents = 0;
    for (const SmallFolder& small : kSmallFolders)
        documents += small.documents;
    return documents;
}
// More searches than the history keeps, so that the rounds see it full.
constexpr int kSearchWarmup = 60;
const wchar_t* const kSearchTexts[] = {L"apple", L"report", L"garden notes", L"no. 1"};

// How many of each kind of operation the mixed soak has in every Total() of its operations.
struct Mix {
    int open = 5;
    int tab = 5;
    int folder = 4;
    int search = 5;
    int about = 1;

    int Total() const { return open + tab + folder + search + about; }
    // "open=5,tab=5,folder=4,search=5,about=1", any of them; false for an unknown kind.
    bool Parse(const std::string& text)
    {
        const std::map<std::string, int*> slots{
            {"open", &open}, {"tab", &tab}, {"folder", &folder}, {"search", &search}, {"about", &about}};
        std::string::size_type start = 0;
        while (start < text.size()) {
            const std::string::size_type end = std::min(text.find(',', start), text.size());
            const std::string item = text.substr(start, end - start);
            const std::string::size_type equals = item.find('=');
            const auto slot = slots.find(item.substr(0, equals));
            if (slot == slots.end() || equals == std::string::npos)
                return false;
            *slot->second = std::max(0, atoi(item.c_str() + equals + 1));
            start = end + 1;
        }
        return true;
    }
};

struct Options {
    int tabs = 500;
    int opens = 500;
    int browsers = 200;
    int about = 200;
    int searches = 200;
    int folders = 200;
    int mixed = 10000;
    int every = 1000;
    int warmup = 10;
    Mix mix;
    std::string only;  // empty: every round
    bool keep = false;
    bool regions = false;  // where the committed memory grew, after each round
    bool child = false;

    bool Runs(const char* round) const
    {
        return only.empty() || ("," + only + ",").find("," + std::string(round) + ",") != std::string::npos;
    }
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    const std::map<std::string, int*> counts{
        {"--tabs", &options.tabs},       {"--opens", &options.opens},       {"--browsers", &options.browsers},
        {"--about", &options.about},     {"--searches", &options.searches}, {"--folders", &options.folders},
        {"--mixed", &options.mixed},     {"--every", &options.every},       {"--warmup", &options.warmup}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = i + 1 < argc;
        if (arg == "--child")
            options.child = true;
        else if (arg == "--keep")
            options.keep = true;
        else if (arg == "--regions")
            options.regions = true;
        else if (arg == "--quick") {
            options.tabs = 50;
            options.opens = 50;
            options.browsers = 20;
            options.about = 20;
            options.searches = 20;
            options.folders = 20;
            options.mixed = 1000;
            options.every = 200;
            options.warmup = 5;
        } else if (arg == "--only" && valued) {
            options.only = argv[++i];
        } else if (arg == "--mix" && valued) {
            if (!options.mix.Parse(argv[++i]))
                printf("Unknown mix %s\n", argv[i]);
        } else if (valued && counts.count(arg)) {
            *counts.at(arg) = std::max(0, atoi(argv[++i]));
        } else {
            printf("Unknown option %s\n", arg.c_str());
        }
    }
    options.every = std::max(1, options.every);
    return options;
}

// ---------------------------------------------------------------------------------------
// The account beside the copy of the program.

std::string ZipOfPage(const std::wstring& title)
{
    const std::string narrow(title.begin(), title.end());
    return ZipOf({{L"index.html", "<html><head><title>" + narrow + "</title></head><body><h1>" + narrow +
                                      "</h1><p>A page of the soak benchmark.</p></body></html>"}});
}

bool StoreDocument(CTessaryDatabase& database, TESSARYDOCUMENTDATA document, int book, const wchar_t* location, int n)
{
    document.subscriptionGuid = bench::BookGuid(book);
    document.location = location;
    document.type = L"html";
    document.attachmentCount = n % 10 == 0 ? 1 : 0;
    const std::string zip = ZipOfPage(document.title);
    const Microsoft::WRL::ComPtr<IStream> stream = QelCreateMemoryStream();
    QelWriteStream(stream.Get(), zip.data(), static_cast<ULONG>(zip.size()));
    QelSeekStreamToBegin(stream.Get());
    if (!database.UpdateDocument(document, stream.Get()))
        return false;
    if (!document.attachmentCount)
        return true;
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.subscriptionGuid = document.subscriptionGuid;
    attachment.attachmentGuid = bench::DocumentGuid(1000000 + n);
    attachment.documentGuid = document.documentGuid;
    attachment.name = L"attachment " + std::to_wstring(n) + L".txt";
    attachment.version = n + 1;
    attachment.dataMD5 = document.dataMD5;
    return database.UpdateAttachment(attachment, nullptr) != FALSE;
}

bool FillAccount(const std::wstring& folder)
{
    std::filesystem::create_directories(folder);
    CTessaryDatabase database;
    if (!database.Open(folder.c_str()) || !database.BeginTransaction())
        return false;
    std::mt19937 random(20110321);
    const __int64 now = _time64(nullptr);
    int n = 0;
    for (int i = 0; i < kLargeFolder; ++i, ++n) {
        if (!StoreDocument(database, bench::MakeDocument(n, random, now), 0, kLargeLocation, n))
            return false;
    }
    for (const SmallFolder& small : kSmallFolders) {
        for (int i = 0; i < small.documents; ++i, ++n) {
            if (!StoreDocument(database, bench::MakeDocument(n, random, now), small.book, small.location, n))
                return false;
        }
    }
    database.SetSubscriptionName(bench::BookGuid(0).c_str(), L"Soak Book");
    database.SetSubscriptionName(bench::BookGuid(1).c_str(), L"Second Book");
    database.SetAccountUserName(bench::kUserName);
    return database.CommitTransaction() != FALSE;
}

// Runs the copy with the same options and its output on ours; its exit code.
int RunCopy(const std::wstring& program, const std::wstring& folder, int argc, char** argv)
{
    std::wstring commandLine = L"\"" + program + L"\" --child";
    for (int i = 1; i < argc; ++i)
        commandLine += L" " + std::filesystem::path(argv[i]).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    PROCESS_INFORMATION info{};
    fflush(stdout);
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                          &info)) {
        printf("Cannot start %ls\n", commandLine.c_str());
        return 1;
    }
    ::CloseHandle(info.hThread);
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

// Without a window manager (Xvfb) Wine waits 2 s for one at each hidden top-level window, a
// closed About box included; for this program alone it manages its windows itself.
class CUnmanagedWindowsUnderWine {
public:
    CUnmanagedWindowsUnderWine()
    {
        if (!IsUnderWine())
            return;
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != 0)
            return;
        const wchar_t no[] = L"N";
        m_set = ::RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no), sizeof no) == 0;
        ::RegCloseKey(key);
        if (m_set)
            printf("Under Wine: windows unmanaged for this program, since no window manager withdraws them\n");
    }
    ~CUnmanagedWindowsUnderWine()
    {
        if (m_set)
            ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\SoakBench.exe");
    }
    CUnmanagedWindowsUnderWine(const CUnmanagedWindowsUnderWine&) = delete;
    CUnmanagedWindowsUnderWine& operator=(const CUnmanagedWindowsUnderWine&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\SoakBench.exe\\X11 Driver";
    bool m_set = false;
};

int Prepare(const Options& options, int argc, char** argv)
{
    const CComInitialize com;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"tessary-soak-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    const std::wstring program = folder + L"SoakBench.exe";
    std::filesystem::create_directories(folder);
    const CStopwatch clock;
    const double start = clock.Now();
    if (!::CopyFileW(QelGetExePath().c_str(), program.c_str(), FALSE) ||
        !FillAccount(folder + L"Data\\" + bench::kUserName + L"\\")) {
        printf("Cannot prepare the account in %ls\n", folder.c_str());
        return 1;
    }
    printf("Account of %d documents made in %.1f s in %ls\n", kLargeFolder + SmallFolderDocuments(),
           clock.Now() - start, folder.c_str());
    int code = 1;
    {
        const CUnmanagedWindowsUnderWine unmanaged;
        code = RunCopy(program, folder, argc, argv);
    }
    if (!options.keep) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return code;
}

// ---------------------------------------------------------------------------------------
// The frame and what a user does to it.

// Closes each modal dialog once the dialog box loop, its window shown and painted, finds
// its queue empty and tells the owner so.
class CDialogCloser {
public:
    CDialogCloser() { m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId()); }
    ~CDialogCloser() { ::UnhookWindowsHookEx(m_hook); }
    CDialogCloser(const CDialogCloser&) = delete;
    CDialogCloser& operator=(const CDialogCloser&) = delete;

    static int& Closed()
    {
        static int closed = 0;
        return closed;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_ENTERIDLE && message->wParam == MSGF_DIALOGBOX) {
            const HWND dialog = reinterpret_cast<HWND>(message->lParam);
            // The first idle comes before the box is shown, the next after its paint.
            if (::IsWindowVisible(dialog) && !(HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT) &&
                !::GetUpdateRect(dialog, nullptr, FALSE) && !::GetPropW(dialog, L"SoakClosing")) {
                ::SetPropW(dialog, L"SoakClosing", dialog);
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                ++Closed();
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook = nullptr;
};

HWND FindDescendant(HWND parent, const wchar_t* className)
{
    if (HWND direct = ::FindWindowExW(parent, nullptr, className, nullptr))
        return direct;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HWND found = FindDescendant(child, className))
            return found;
    }
    return nullptr;
}

class CSoak {
public:
    explicit CSoak(CUiMessageLoop& loop) : m_loop(loop) {}

    bool Open()
    {
        m_frame = std::make_unique<CMainFrame>();
        if (!m_frame->OpenDatabase() || !m_frame->CreateFrame(RECT{20, 20, 1000, 740})) {
            printf("The main frame did not open\n");
            return false;
        }
        m_frame->RestoreLayout();
        Pump();
        const HWND paneWindow = FindDescendant(*m_frame, L"Tessary_DocumentPane");
        m_pane = dynamic_cast<CDocumentPane*>(CWindowObject::FromHandle(paneWindow));
        m_tree = FindDescendant(*m_frame, L"Qel_TreeCtrl");
        if (!m_pane || !m_tree) {
            printf("The document pane or the folder tree is missing\n");
            return false;
        }
        CollectFolders();
        if (!m_largeFolder) {
            printf("The %d-document folder is not in the tree\n", kLargeFolder);
            return false;
        }
        ShowLargeFolder();
        if (List().SendMessage(LVM_GETITEMCOUNT) != kLargeFolder) {
            printf("The large folder shows %d rows\n", static_cast<int>(List().SendMessage(LVM_GETITEMCOUNT)));
            return false;
        }
        // A shown tab for documents opened by a click.
        OpenIntoShownTab();
        return true;
    }

    void Close()
    {
        if (m_frame && m_frame->IsWindow())
            m_frame->SendMessage(WM_CLOSE);
        Pump();
        m_frame.reset();
    }

    // Runs the queue dry as the reader's loop does, idle handlers included.
    void Pump()
    {
        for (int round = 0; round < 2; ++round) {
            MSG message{};
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT)
                    continue;
                if (!m_loop.PreTranslateMessage(&message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageW(&message);
                }
            }
            m_loop.OnIdle();
        }
    }

    // A document in a new tab from the list's menu, then the tab closed from its menu.
    void TabOpenAndClose()
    {
        CReaderTabView& tabs = m_frame->GetTabView();
        const int pages = tabs.GetPageCount();
        SelectRow(NextRow());
        List().SendMessage(WM_COMMAND, ID_OPEN_IN_NEW_TAB);
        // The click's own open, due 100 ms later, finds the document in its new tab.
        List().SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
        Pump();
        if (tabs.GetPageCount() != pages + 1)
            ++m_failed["tab open"];
        tabs.SendMessage(WM_COMMAND, ID_CLOSE_TAB);
        Pump();
        if (tabs.GetPageCount() != pages)
            ++m_failed["tab close"];
    }

    // A click on a row: the document opens in the shown tab once the selection rests.
    void OpenIntoShownTab()
    {
        const int row = NextRow();
        SelectRow(row);
        List().SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
        Pump();
        const TESSARYDOCUMENTDATA* document = row >= 0 ? List().GetDocument(row) : nullptr;
        CReaderTabView& tabs = m_frame->GetTabView();
        if (!document || tabs.FindDocumentPage(*document) != tabs.GetActivePage())
            ++m_failed["open"];
    }

    // The WebBrowser alone in the framework's plain ActiveX host, shown over the tab view,
    // sent to the same pages and destroyed: what a tab costs without the reader's views.
    void BareBrowser()
    {
        const int row = NextRow();
        const TESSARYDOCUMENTDATA* document = row >= 0 ? List().GetDocument(row) : nullptr;
        const RECT area = m_frame->GetTabView().GetClientRect();
        const HWND host = ::CreateWindowExW(0, kActiveXHostClass, L"Shell.Explorer.2", WS_CHILD | WS_VISIBLE, 0, 30,
                                            area.right, area.bottom - 30, m_frame->GetTabView(), nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
        Microsoft::WRL::ComPtr<IWebBrowser2> browser;
        if (!host || !document || FAILED(QueryHostedControl(host, IID_PPV_ARGS(&browser)))) {
            ++m_failed["browser"];
        } else {
            CBstr url(MakeOskanUrl(document->subscriptionGuid.c_str(), document->documentGuid.c_str()).c_str());
            VARIANT empty{};
            browser->Navigate(url.Get(), &empty, &empty, &empty, &empty);
        }
        Pump();
        browser.Reset();
        if (host)
            ::DestroyWindow(host);
        Pump();
    }

    void About()
    {
        const int closed = CDialogCloser::Closed();
        if (::GetActiveWindow() != m_frame->m_hWnd)
            ::SetActiveWindow(*m_frame);
        const CDialogCloser closer;
        m_frame->SendMessage(WM_COMMAND, ID_ABOUT);
        Pump();
        if (CDialogCloser::Closed() != closed + 1)
            ++m_failed["About"];
    }

    // Text typed into the search box, then Enter.
    void Search()
    {
        CDocumentAdvancedPane& area = m_pane->GetSearchArea();
        const size_t searched = m_pane->GetSearchHistory().size();
        const wchar_t* text = kSearchTexts[m_searches++ % std::size(kSearchTexts)];
        area.GetSearchBox().SetWindowText(text);
        area.SendMessage(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(area.GetSearchBox().m_hWnd));
        area.SendMessage(WM_QEL_SEARCH);
        Pump();
        const auto& history = m_pane->GetSearchHistory();
        if (history.empty() || (history.size() == searched && history.back().text != text))
            ++m_failed["search"];
    }

    // The next folder of the tree clicked, the large one every other time.
    void SwitchFolder()
    {
        const HTREEITEM item = (m_switches++ % 2) ? m_folders[(m_switches / 2) % m_folders.size()] : m_largeFolder;
        SelectFolder(item);
    }

    void ShowLargeFolder() { SelectFolder(m_largeFolder); }

    using FailureCounts = std::map<std::string, int>;
    const FailureCounts& Failures() const { return m_failed; }
    size_t FolderCount() const { return m_folders.size(); }

private:
    CDocumentListCtrl& List() { return m_pane->GetList(); }

    // The next row in a stride through the list, one whose document no tab shows; a search
    // or folder that left the list empty gives way to the large folder first.
    int NextRow()
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int rows = static_cast<int>(List().SendMessage(LVM_GETITEMCOUNT));
            for (int tries = 0; tries < std::min(rows, 100); ++tries) {
                const int row = (m_row++ * 37) % rows;
                const TESSARYDOCUMENTDATA* document = List().GetDocument(row);
                if (document && m_frame->GetTabView().FindDocumentPage(*document) < 0)
                    return row;
            }
            ShowLargeFolder();
        }
        return -1;
    }

    void SelectRow(int row)
    {
        if (row < 0) {
            ++m_failed["row"];
            return;
        }
        LVITEMW none{};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        List().SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        LVITEMW chosen{};
        chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
        List().SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&chosen));
        List().SendMessage(LVM_ENSUREVISIBLE, row, FALSE);
    }

    void SelectFolder(HTREEITEM item)
    {
        ::SendMessageW(m_tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Pump();
    }

    // Every item of the tree, expanded; the large folder's apart.
    void CollectFolders()
    {
        std::vector<HTREEITEM> pending;
        for (HTREEITEM root = TreeView_GetRoot(m_tree); root; root = TreeView_GetNextSibling(m_tree, root))
            pending.push_back(root);
        while (!pending.empty()) {
            const HTREEITEM item = pending.back();
            pending.pop_back();
            TreeView_Expand(m_tree, item, TVE_EXPAND);
            wchar_t text[260]{};
            TVITEMW data{};
            data.mask = TVIF_TEXT;
            data.hItem = item;
            data.pszText = text;
            data.cchTextMax = 260;
            TreeView_GetItem(m_tree, &data);
            if (wcsncmp(text, L"Archive", 7) == 0)
                m_largeFolder = item;
            else
                m_folders.push_back(item);
            for (HTREEITEM child = TreeView_GetChild(m_tree, item); child;
                 child = TreeView_GetNextSibling(m_tree, child))
                pending.push_back(child);
        }
        Pump();
    }

    CUiMessageLoop& m_loop;
    std::unique_ptr<CMainFrame> m_frame;
    CDocumentPane* m_pane = nullptr;
    HWND m_tree = nullptr;
    HTREEITEM m_largeFolder = nullptr;
    std::vector<HTREEITEM> m_folders;
    int m_row = 0;
    int m_searches = 0;
    int m_switches = 0;
    FailureCounts m_failed;
};

// ---------------------------------------------------------------------------------------
// The figures.

struct Metric {
    const char* name;  // a column heading
    double MemoryReading::*field;
    bool countsObjects;  // whose growth per operation shows in thousandths
};
const Metric kMetrics[] = {
    {"WS KB", &MemoryReading::workingSetKb, false},    {"priv KB", &MemoryReading::privateKb, false},
    {"commit KB", &MemoryReading::committedKb, false}, {"blocks", &MemoryReading::heapBlocks, false},
    {"heap KB", &MemoryReading::heapKb, false},        {"free KB", &MemoryReading::heapFreeKb, false},
    {"GDI", &MemoryReading::gdiObjects, true},         {"USER", &MemoryReading::userObjects, true},
    {"windows", &MemoryReading::windows, true},        {"threads", &MemoryReading::threads, true},
    {"handles", &MemoryReading::handles, true},
};
constexpr int kColumn = 10;

bool Counted(const MemoryReading& reading, const Metric& metric)
{
    return reading.*metric.field >= 0;
}

void PrintLegend()
{
    printf("WS: working set, priv: private bytes (both GetProcessMemoryInfo); commit: private memory committed\n"
           "in the address space (VirtualQuery; under Wine without what Wine's Unix side allocates); blocks, heap,\n"
           "free: busy blocks, their bytes and the free bytes of the process heaps (HeapWalk); GDI, USER objects,\n"
           "windows, threads and handles of the process. Rounds: growth per operation after a warm-up; \"2nd half\":\n"
           "priv KB per operation over the round's second half; \"warm-up\": the priv KB the warm-up added.\n");
}

void PrintHeadings(const MemoryReading& reading, const char* first, int firstWidth, const char* middle)
{
    printf("%-*s%s", firstWidth, first, middle);
    for (const Metric& metric : kMetrics) {
        if (Counted(reading, metric))
            printf("%*s", kColumn, metric.name);
    }
}

// "", or what failed since the earlier counts: "   <-- failed: search 3, About 1".
std::string FailedSince(const CSoak::FailureCounts& earlier, const CSoak::FailureCounts& now)
{
    std::string text;
    for (const auto& [what, count] : now) {
        const auto found = earlier.find(what);
        const int added = count - (found == earlier.end() ? 0 : found->second);
        if (added)
            text += (text.empty() ? "   <-- failed: " : ", ") + what + " " + std::to_string(added);
    }
    return text;
}

constexpr int kRoundWidth = 30;

void PrintRoundHeadings(const MemoryReading& reading)
{
    printf("\n%*s  growth per operation\n", kRoundWidth + 11, "");
    PrintHeadings(reading, "round", kRoundWidth, "  ops  ms/op");
    printf("%10s%12s%12s%10s\n", "2nd half", "priv before", "priv after", "warm-up");
}

// Each counted figure's growth per operation from one reading to the other.
void PrintGrowth(const MemoryReading& from, const MemoryReading& to, int operations)
{
    for (const Metric& metric : kMetrics) {
        if (Counted(from, metric))
            printf("%+*.*f", kColumn, metric.countsObjects ? 3 : 2,
                   operations ? (to.*metric.field - from.*metric.field) / operations : 0.0);
    }
}

void PrintRound(const char* name, int operations, double seconds, const MemoryReading& warm,
                const MemoryReading& before, const MemoryReading& halfway, const MemoryReading& after,
                const std::string& failed)
{
    printf("%-*s%5d%7.1f", kRoundWidth, name, operations, operations ? seconds * 1000 / operations : 0.0);
    PrintGrowth(before, after, operations);
    const int later = operations - operations / 2;
    printf("%+10.2f%12.0f%12.0f%+10.0f%s\n", later ? (after.privateKb - halfway.privateKb) / later : 0.0,
           before.privateKb, after.privateKb, before.privateKb - warm.privateKb, failed.c_str());
}

void PrintCurveHeader(const MemoryReading& reading)
{
    PrintHeadings(reading, "", 0, "     ops");
    printf("%8s\n", "s");
}

void PrintCurvePoint(int operations, const MemoryReading& reading, double seconds)
{
    printf("%8d", operations);
    for (const Metric& metric : kMetrics) {
        if (Counted(reading, metric))
            printf("%*.0f", kColumn, reading.*metric.field);
    }
    printf("%8.1f\n", seconds);
    fflush(stdout);
}

void PrintRegionGrowth(const AddressSpaceMap& before, const AddressSpaceMap& after)
{
    std::vector<std::pair<double, const void*>> grown;
    double heap = 0;
    double other = 0;
    for (const auto& [base, kb] : after.committedKb) {
        const auto found = before.committedKb.find(base);
        const double growth = kb - (found == before.committedKb.end() ? 0 : found->second);
        (after.heapAllocations.count(base) || before.heapAllocations.count(base) ? heap : other) += growth;
        grown.emplace_back(growth, base);
    }
    for (const auto& [base, kb] : before.committedKb) {
        if (!after.committedKb.count(base))
            (before.heapAllocations.count(base) ? heap : other) -= kb;
    }
    std::sort(grown.rbegin(), grown.rend());
    printf("    committed: %+.0f KB in heap allocations, %+.0f KB elsewhere; grown most:", heap, other);
    for (size_t i = 0; i < std::min<size_t>(6, grown.size()) && grown[i].first > 0; ++i) {
        MEMORY_BASIC_INFORMATION region{};
        ::VirtualQuery(grown[i].second, &region, sizeof region);
        printf("%s %p%s %+.0f KB", i ? "," : "", grown[i].second,
               after.heapAllocations.count(grown[i].second) ? " (heap)" : "", grown[i].first);
    }
    printf("\n");
}

template <class Operation>
void RunRound(CSoak& soak, const char* name, int count, int warmup, Operation operation, bool regions)
{
    const CStopwatch clock;
    const CSoak::FailureCounts failures = soak.Failures();
    soak.Pump();
    const MemoryReading warm = ReadMemory();
    for (int i = 0; i < warmup; ++i)
        operation();
    soak.Pump();
    const AddressSpaceMap mapBefore = regions ? ReadAddressSpaceMap() : AddressSpaceMap();
    const MemoryReading before = ReadMemory();
    const double start = clock.Now();
    double paused = 0;  // in the reading halfway
    MemoryReading halfway = before;
    for (int i = 0; i < count; ++i) {
        operation();
        if (i + 1 == count / 2) {
            const double pause = clock.Now();
            soak.Pump();
            halfway = ReadMemory();
            paused = clock.Now() - pause;
        }
    }
    soak.Pump();
    const double seconds = clock.Now() - start - paused;
    const MemoryReading after = ReadMemory();
    PrintRound(name, count, seconds, warm, before, halfway, after, FailedSince(failures, soak.Failures()));
    if (regions)
        PrintRegionGrowth(mapBefore, ReadAddressSpaceMap());
    fflush(stdout);
}

void RunMixed(CSoak& soak, const Options& options)
{
    const std::vector<std::pair<int, std::function<void()>>> kinds = {
        {options.mix.open, [&] { soak.OpenIntoShownTab(); }}, {options.mix.tab, [&] { soak.TabOpenAndClose(); }},
        {options.mix.folder, [&] { soak.SwitchFolder(); }},   {options.mix.search, [&] { soak.Search(); }},
        {options.mix.about, [&] { soak.About(); }},
    };
    const int total = options.mix.Total();
    printf("\nMixed soak of %d operations, in %d: %d documents opened into the shown tab, %d tabs opened and closed,\n"
           "%d folder switches, %d searches, %d About boxes; the process every %d operations:\n",
           options.mixed, total, options.mix.open, options.mix.tab, options.mix.folder, options.mix.search,
           options.mix.about, options.every);
    if (total <= 0)
        return;
    std::mt19937 random(7);
    const auto operation = [&] {
        int pick = static_cast<int>(random() % static_cast<unsigned>(total));
        for (const auto& [weight, run] : kinds) {
            if (pick < weight) {
                run();
                return;
            }
            pick -= weight;
        }
    };
    const CSoak::FailureCounts failures = soak.Failures();
    for (int i = 0; i < options.warmup; ++i)
        operation();
    soak.Pump();
    const CStopwatch clock;
    const double start = clock.Now();
    const MemoryReading first = ReadMemory();
    MemoryReading second = first;
    PrintCurveHeader(first);
    PrintCurvePoint(0, first, 0);
    MemoryReading last = first;
    for (int done = 1; done <= options.mixed; ++done) {
        operation();
        if (done % options.every == 0 || done == options.mixed) {
            soak.Pump();
            last = ReadMemory();
            PrintCurvePoint(done, last, clock.Now() - start);
            if (done == options.every)
                second = last;
        }
    }
    if (const std::string failed = FailedSince(failures, soak.Failures()); !failed.empty())
        printf("%s\n", failed.c_str());
    printf("growth per operation:\n");
    printf("  (from 0 to %d, then from %d to %d)\n", options.mixed, options.every, options.mixed);
    printf("%-8s", "  all");
    PrintGrowth(first, last, options.mixed);
    printf("\n");
    if (options.mixed > options.every) {
        printf("%-8s", "  later");
        PrintGrowth(second, last, options.mixed - options.every);
        printf("\n");
    }
}

int Measure(const Options& options)
{
    const CStopwatch clock;
    const double begin = clock.Now();
    QelEnableMessageBoxes(FALSE);
    CComInitialize com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::LoadLibraryW(L"RICHED20.DLL");
    UiModule().Init(::GetModuleHandleW(nullptr));
    RegisterActiveXHostClass();
    QelLoadTranslations(L"Tessary", L"QELLANGUAGE");
    CUiMessageLoop loop;
    UiModule().AddMessageLoop(&loop);

    const MemoryReading start = ReadMemory();
    if (start.gdiObjects < 0)
        printf("No count of GDI objects here: GetGuiResources answers nothing and no handle table was found\n");
    else if (start.userObjects < 0)
        printf("GDI objects counted in Wine's handle table; USER objects not counted (GetGuiResources answers 0)\n");
    int failures = 0;
    {
        CSoak soak(loop);
        if (!soak.Open())
            return 1;
        printf("Main frame open on %d + %d documents in %d tree items; a warm-up of %d operations before each round,\n"
               "%d before the searches, which fills the search history\n",
               kLargeFolder, SmallFolderDocuments(), static_cast<int>(soak.FolderCount()) + 1, options.warmup,
               std::max(options.warmup, kSearchWarmup));
        PrintLegend();
        PrintRoundHeadings(start);
        fflush(stdout);
        if (options.Runs("tabs"))
            RunRound(soak, "tab opened and closed", options.tabs, options.warmup, [&] { soak.TabOpenAndClose(); },
                     options.regions);
        if (options.Runs("opens"))
            RunRound(soak, "document opened in shown tab", options.opens, options.warmup,
                     [&] { soak.OpenIntoShownTab(); }, options.regions);
        if (options.Runs("browsers"))
            RunRound(soak, "bare WebBrowser made, shut", options.browsers, options.warmup, [&] { soak.BareBrowser(); },
                     options.regions);
        if (options.Runs("about"))
            RunRound(soak, "About box", options.about, options.warmup, [&] { soak.About(); }, options.regions);
        if (options.Runs("searches")) {
            soak.ShowLargeFolder();
            RunRound(soak, "search in the 5,000", options.searches, std::max(options.warmup, kSearchWarmup),
                     [&] { soak.Search(); }, options.regions);
        }
        if (options.Runs("folders"))
            RunRound(soak, "folder switch", options.folders, options.warmup, [&] { soak.SwitchFolder(); },
                     options.regions);
        if (options.Runs("mixed") && options.mixed > 0)
            RunMixed(soak, options);
        failures = !FailedSince({}, soak.Failures()).empty();
        soak.Close();
    }
    UiModule().RemoveMessageLoop();
    UiModule().Term();
    printf("\nSoak done in %.0f s%s\n", clock.Now() - begin, failures ? ", with failed operations" : "");
    return failures ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    if (!options.child)
        return Prepare(options, argc, argv);
    return Measure(options);
}
