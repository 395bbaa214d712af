// Whole runs of the program that sync through the services stand-in, its proxy: what
// reaches the services, what the program stores, and what its windows show.
#include "ProgramSyncFixture.h"  // winsock2.h before windows.h

#include <shlwapi.h>

#include "RemoteControls.h"
#include "app/frame/OskanToolBar.h"
#include "app/frame/TessaryDocumentListCtrl.h"
#include "foundation/Encoding.h"
#include "foundation/Files.h"
#include "foundation/Settings.h"
#include "foundation/TextFiles.h"
#include "framework/ComInitialize.h"
#include "librarydata/Database.h"

namespace {

const char kGarden[] = "a0000000-0000-4000-8000-00000000000a";
const char kCycling[] = "b0000000-0000-4000-8000-00000000000b";
// The MessageBox's text control.
constexpr int kMessageBoxText = 0xFFFF;

}  // namespace

TEST_F(ProgramSync, UpdateSyncsEveryBookInOrderStoresItAndShowsItInTheTree)
{
    Open(StandardScenario());
    // The strip opens its page at its timer's first tick, whenever that falls.
    const HWND toolBar = ::FindWindowExW(frame, nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_TRUE(toolBar);
    ::PostMessageW(toolBar, WM_TIMER, COskanToolBar::kAdTimerId, 0);
    Update();
    ::PostMessageW(toolBar, WM_TIMER, COskanToolBar::kAdTimerId, 0);
    ASSERT_TRUE(WaitForBooks()) << log.Text();

    EXPECT_EQ((std::vector<std::wstring>{L"Quick Views", L"Bicycle Care", L"  Roadside (1)", L"Garden Notes",
                                         L"  Getting Started (1)", L"  Soil (1)", L"  Vegetables",
                                         L"    Fruiting (1)"}),
              RemoteTreeItems(tree));
    // The dialog stays hidden, showing the run's end.
    EXPECT_FALSE(::IsWindowVisible(dialog));
    EXPECT_EQ((std::vector<std::wstring>{L"Login", L"Get Subscribed Books", L"Get Local Version (Bicycle Care, 2/2)",
                                         L"Download Documents List (Bicycle Care, 2/2)",
                                         L"Sync Documents (Bicycle Care, 2/2)",
                                         L"Download Attachments List (Bicycle Care, 2/2)",
                                         L"Sync Attachments (Bicycle Care, 2/2)"}),
              RemoteListViewColumn(::GetDlgItem(dialog, IDC_SYNC_STEPS), 0));
    EXPECT_EQ(100, ::SendDlgItemMessageW(dialog, IDC_SYNC_OVERALL_PROGRESS, PBM_GETPOS, 0, 0));
    EXPECT_FALSE(CProgramRun::IsEnabled(dialog, IDC_SYNC_STOP));
    EXPECT_EQ((std::vector<std::string>{
                  "accounts.clientLogin", "subscription.getList", "subscription.getDocumentList",
                  "subscription.getDocumentData", "subscription.getDocumentData", "subscription.getDocumentData",
                  "subscription.getAttachmentList", "subscription.getAttachmentData",
                  "subscription.getAttachmentData", "subscription.getDocumentList", "subscription.getDocumentData",
                  "subscription.getAttachmentList", "subscription.getAttachmentData", "accounts.clientLogout",
                  "GET /api/"}),
              Calls());
    const auto strip = [&] {
        std::vector<std::string> urls;
        for (const CStandInRequest& request : standIn.Requests()) {
            if (request.host == kStripHost)
                urls.push_back(request.method + " " + request.url);
        }
        return urls;
    };
    ASSERT_TRUE(run.WaitUntil([&] { return !strip().empty(); }));
    ASSERT_EQ(1u, strip().size());
    EXPECT_NE(std::string::npos, strip()[0].find("s=1280X1024&m=Tessary")) << strip()[0];
    EXPECT_EQ(0u, strip()[0].rfind("GET http://ads.tessary.test:80/?", 0)) << strip()[0];

    CloseProgram();
    const CComInitialize com;
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    const std::pair<const char*, const wchar_t*> documents[] = {{kGarden, L"a1000000-0000-4000-8000-000000000001"},
                                                                {kGarden, L"a2000000-0000-4000-8000-000000000002"},
                                                                {kGarden, L"a3000000-0000-4000-8000-000000000003"},
                                                                {kCycling, L"b1000000-0000-4000-8000-000000000001"}};
    for (const auto& [book, guid] : documents) {
        TESSARYDOCUMENTDATA document;
        EXPECT_TRUE(database.GetDocumentByGuid(FromUtf8(book).c_str(), guid, document)) << guid;
        const std::wstring file = database.GetDocumentFileName(FromUtf8(book).c_str(), guid);
        EXPECT_EQ(L".kvd", file.substr(file.size() - 4));
        EXPECT_TRUE(::PathFileExistsW(file.c_str())) << file;
    }
    __int64 documentVersion = 0;
    __int64 attachmentVersion = 0;
    ASSERT_TRUE(database.GetLocalVersion(FromUtf8(kCycling).c_str(), documentVersion, attachmentVersion));
    EXPECT_EQ(11, documentVersion);
    EXPECT_EQ(21, attachmentVersion);
}

TEST_F(ProgramSync, ARefusedPasswordIsAskedForACancelFailsTheRunAndANewOneIsStored)
{
    Open(StandardScenario(), L"stale");
    Update();
    HWND account = run.WaitForWindow(L"#32770", L"Account");
    ASSERT_TRUE(account) << log.Text();
    EXPECT_EQ(kUser, CProgramRun::GetText(account, IDC_QUERY_USER_ACCOUNT_EMAIL));
    EXPECT_EQ(L"stale", CProgramRun::GetText(account, IDC_QUERY_USER_ACCOUNT_PASSWORD));
    // The run began hidden; the question shows the dialog behind it.
    EXPECT_TRUE(::IsWindowVisible(dialog));
    CProgramRun::Press(account, IDCANCEL);

    const HWND box = run.WaitForWindow(L"#32770", L"Tessary");
    ASSERT_TRUE(box);
    EXPECT_EQ(L"Sync failed!", CProgramRun::GetText(box, kMessageBoxText));
    const std::vector<std::wstring> lines = {L"Invalid user name or password!",
                                             L"The operation has been canceled at the user's request!",
                                             L"Failed to login!"};
    EXPECT_TRUE(log.ContainsInOrder(lines)) << log.Text();
    EXPECT_EQ(lines[0] + L"\r\n" + lines[1] + L"\r\n" + lines[2] + L"\r\n",
              CProgramRun::ControlText(::GetDlgItem(dialog, IDC_SYNC_LOG)));
    EXPECT_EQ(std::vector<std::string>{"accounts.clientLogin"}, Calls());
    CProgramRun::Press(box, IDOK);

    Update();
    account = run.WaitForWindow(L"#32770", L"Account");
    ASSERT_TRUE(account);
    CProgramRun::SetText(account, IDC_QUERY_USER_ACCOUNT_PASSWORD, L"reader");
    CProgramRun::Press(account, IDOK);
    ASSERT_TRUE(WaitForBooks()) << log.Text();
    const std::vector<CStandInRequest> requests = ServiceRequests();
    ASSERT_LE(4u, requests.size());
    EXPECT_EQ("accounts.clientLogin", requests[2].xmlrpcMethod);
    EXPECT_EQ("md5.1de9b0a30075ae8c303eb420c103c320", requests[2].params[size_t(0)]["password"].text);
    EXPECT_EQ("subscription.getList", requests[3].xmlrpcMethod);

    CloseProgram();
    const CComInitialize com;
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    EXPECT_EQ(L"reader", database.GetAccountPassword());
}

TEST_F(ProgramSync, StopEndsARunAsASuccessAndACloseDuringARunEndsTheProgramAtItsEnd)
{
    CScenario scenario = StandardScenario();
    // Each run's first data answer waits until the test has done what falls within that request.
    scenario.faults = R"({"subscription.getDocumentData": [
        {"kind": "delay", "seconds": 50, "until": "stopped", "times": 1},
        {"kind": "delay", "seconds": 50, "until": "closed", "times": 1}]})";
    Open(scenario);
    const auto waitForDelayedAnswers = [&](size_t count) {
        return run.WaitUntil([&] { return CountOf("subscription.getDocumentData") >= count; },
                             CProgramRun::kSyncPatience);
    };

    Update();
    ASSERT_TRUE(waitForDelayedAnswers(1)) << log.Text();
    // A second Update during the run shows the dialog.
    Update();
    ASSERT_TRUE(run.WaitUntil([&] { return ::IsWindowVisible(dialog) != FALSE; }));
    CProgramRun::Press(dialog, IDC_SYNC_STOP);
    ASSERT_TRUE(run.WaitUntil([&] { return !::IsWindowEnabled(::GetDlgItem(dialog, IDC_SYNC_STOP)); }));
    ASSERT_TRUE(standIn.Release(L"stopped"));
    // A success hides the dialog.
    ASSERT_TRUE(run.WaitUntil([&] { return !::IsWindowVisible(dialog); }, CProgramRun::kSyncPatience));
    EXPECT_FALSE(run.FindWindow(L"#32770", L"Tessary")) << log.Text();  // no "Sync failed!" box
    EXPECT_EQ(1u, CountOf("subscription.getDocumentData"));
    EXPECT_EQ(1u, CountOf("accounts.clientLogout"));

    // Shown at the start now, as it was at the last end.
    Update();
    ASSERT_TRUE(waitForDelayedAnswers(2)) << log.Text();
    EXPECT_TRUE(::IsWindowVisible(dialog));
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitUntil([&] { return !::IsWindowVisible(frame); }));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    ASSERT_TRUE(standIn.Release(L"closed"));
    EXPECT_EQ(1u, run.WaitForExit());
    EXPECT_EQ(2u, CountOf("accounts.clientLogout"));
    // The dialog's place is kept when the frame goes.
    const CComInitialize com;
    CQelSettings settings((run.DataFolder() + L"Tessary.xml").c_str(), L"Tessary");
    EXPECT_LT(0, settings.GetInt(L"SyncDlg", L"Right", -1));
}

TEST_F(ProgramSync, AfterASyncDocumentsOpenInOneTabAMissingDataFileIsNamedAndBookmarksReplaceTheDocumentPane)
{
    // Read when the frame opens.
    ASSERT_TRUE(QelCreateDirectoryTree(run.DataFolder().c_str()));
    ASSERT_TRUE(QelSaveTextLines((run.DataFolder() + L"bookmarks.txt").c_str(),
                                 {L"Compost=Building a Compost Bin", L"Tomatoes=Growing Tomatoes"}, L"\r\n"));
    Open(StandardScenario());
    Update();
    ASSERT_TRUE(WaitForBooks()) << log.Text();
    const std::wstring tomatoes = FromUtf8(kGarden) + L"_a3000000-0000-4000-8000-000000000003";
    {
        const CComInitialize com;
        CTessaryDatabase database;
        ASSERT_TRUE(database.Open(Account().c_str()));
        ASSERT_TRUE(::DeleteFileW(database.GetDocumentFileName(FromUtf8(kGarden).c_str(),
                                                               L"a3000000-0000-4000-8000-000000000003").c_str()));
    }

    const HWND documentPane = CProgramRun::FindDescendant(frame, L"Tessary_DocumentPane");
    ASSERT_TRUE(documentPane);
    const HWND list = CProgramRun::FindDescendant(documentPane, L"Qel_ListCtrl");
    const HWND tabs = CProgramRun::FindDescendant(CProgramRun::FindDescendant(frame, L"Qel_TabView"), WC_TABCONTROLW);
    ASSERT_TRUE(list && tabs);
    // A folder chosen, its one document selected, and the list's pause after a selection ended.
    const auto open = [&](const wchar_t* folder) {
        ASSERT_TRUE(RemoteSelectTreeItem(tree, folder));
        ASSERT_EQ(1, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        ASSERT_TRUE(RemoteSelectListViewRow(list, 0));
        ::PostMessageW(list, WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer, 0);
    };
    const auto caption = [&] {
        wchar_t text[256]{};
        ::GetWindowTextW(frame, text, 256);
        return std::wstring(text);
    };
    open(L"Soil (1)");
    ASSERT_TRUE(run.WaitUntil([&] { return caption() != L"Tessary"; }));
    EXPECT_EQ(L"Tessary - Building a Compost Bin", caption());
    EXPECT_EQ(std::vector<std::wstring>{L"Building a Compost Bin"}, RemoteTabTitles(tabs));

    // The page shows the next document in its place; its data file is gone.
    open(L"Fruiting (1)");
    ASSERT_TRUE(run.WaitUntil([&] { return log.Contains(L"Failed to get the data file name of document: " + tomatoes); }))
        << log.Text();
    EXPECT_EQ(std::vector<std::wstring>{L"Growing Tomatoes"}, RemoteTabTitles(tabs));
    EXPECT_EQ(L"Tessary - Growing Tomatoes", caption());

    const HWND chooser = CProgramRun::FindDescendant(frame, L"Qel_ControlChooser");
    const HWND bookmarks = CProgramRun::FindDescendant(frame, L"Qel_ListBox");
    ASSERT_TRUE(chooser && bookmarks);
    CProgramRun::ClickListBoxItem(chooser, 1);
    ASSERT_TRUE(run.WaitUntil([&] { return ::IsWindowVisible(bookmarks) != FALSE; }));
    EXPECT_EQ((std::vector<std::wstring>{L"Building a Compost Bin", L"Growing Tomatoes"}), ListBoxItems(bookmarks));
    EXPECT_FALSE(::IsWindowVisible(documentPane));
    EXPECT_FALSE(::IsWindowVisible(tree));
    EXPECT_TRUE(::IsWindowVisible(tabs));
}
