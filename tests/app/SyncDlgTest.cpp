// The sync dialog: its bridge from a real worker thread, whole runs against the
// services stand-in, and what it shows of a run.
#include "SyncToolSupport.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AccountFixture.h"
#include "DialogAnswer.h"
#include "app/dialogs/QueryUserAccountDlg.h"
#include "app/sync/SyncDlg.h"
#include "common/MessagePump.h"
#include "common/TestLog.h"
#include "framework/Handle.h"
#include "librarydata/AccountFolder.h"
#include "resources/ResourceIds.h"

namespace {

const char kGarden[] = "a0000000-0000-4000-8000-00000000000a";
const char kCycling[] = "b0000000-0000-4000-8000-00000000000b";
const wchar_t kUser[] = L"reader@example.com";

// Runs work on a thread of its own while this thread handles what it sends.
void OnWorker(std::function<void()> work)
{
    struct Start {
        static DWORD WINAPI Proc(void* param)
        {
            (*static_cast<std::function<void()>*>(param))();
            return 0;
        }
    };
    const CHandle thread(::CreateThread(nullptr, 0, Start::Proc, &work, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0; }));
}

class CSyncOwner : public ISyncDlgEvents {
public:
    void OnSyncBegin() override { ++begun; }
    void OnSyncEnd() override { ++ended; }
    void OnSyncProgress(int position) override { progress.push_back(position); }

    int begun = 0;
    int ended = 0;
    std::vector<int> progress;
};

// Every event as the dialog received it, with scripted answers.
class CRecordingSyncDlg : public CSyncDlg {
public:
    using CSyncDlg::CSyncDlg;

    void OnStepBegin(int step) override { seen.push_back(L"step " + std::to_wstring(step)); }
    void OnSubscriptionBegin(const wchar_t* guid, const wchar_t* name, int index, int count) override
    {
        seen.push_back(std::wstring(L"book ") + guid + L" " + name + L" " + std::to_wstring(index) + L"/" +
                       std::to_wstring(count));
    }
    void OnStepProgress(int position, int total) override
    {
        seen.push_back(L"step progress " + std::to_wstring(position) + L"/" + std::to_wstring(total));
    }
    void OnItemProgress(int done, int total) override
    {
        seen.push_back(L"item progress " + std::to_wstring(done) + L"/" + std::to_wstring(total));
    }
    void OnLog(int level, const wchar_t* text) override
    {
        seen.push_back(L"log " + std::to_wstring(level) + L" " + text);
    }
    void QueryUserAccount(wchar_t* userName, wchar_t* password) override
    {
        seen.push_back(std::wstring(L"account ") + userName + L" " + password);
        TessaryCopyToAccountBuffer(L"ann@example.com", userName);
        TessaryCopyToAccountBuffer(L"s3cret", password);
    }
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override
    {
        seen.push_back(L"document " + document->title + (data == stream ? L" with its data" : L""));
        return answer;
    }
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override
    {
        seen.push_back(L"attachment " + attachment->name + (data == stream ? L" with its data" : L""));
        return answer;
    }
    void GetDocument(const wchar_t* guid, const wchar_t* documentGuid, TESSARYDOCUMENTDATA* document) override
    {
        seen.push_back(std::wstring(L"get document ") + guid + L" " + documentGuid);
        document->title = L"Held";
    }
    void GetAttachment(const wchar_t* guid, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override
    {
        seen.push_back(std::wstring(L"get attachment ") + guid + L" " + attachmentGuid);
        attachment->name = L"held.txt";
    }
    BOOL GetLocalVersion(const wchar_t* guid, __int64* documents, __int64* attachments) override
    {
        seen.push_back(std::wstring(L"get versions ") + guid + L" " + std::to_wstring(*documents) + L" " +
                       std::to_wstring(*attachments));
        *documents = 5;
        *attachments = 6;
        return answer;
    }
    BOOL SetLocalVersion(const wchar_t* guid, __int64 documents, __int64 attachments) override
    {
        seen.push_back(std::wstring(L"set versions ") + guid + L" " + std::to_wstring(documents) + L" " +
                       std::to_wstring(attachments));
        return answer;
    }
    BOOL IsCanceled() override { return answer; }

    std::vector<std::wstring> seen;
    BOOL answer = TRUE;
    IStream* stream = nullptr;
};

template <class Dialog>
class SyncDialogT : public AccountFixture {
protected:
    void SetUp() override
    {
        AccountFixture::SetUp();
        // As start-up does: the rich edit class comes from this library.
        ::LoadLibraryW(L"RICHED20.DLL");
        ASSERT_TRUE(CreateAccount(kUser, L"reader"));
        ASSERT_TRUE(database.Open(Account().c_str()));
        dialog = std::make_unique<Dialog>(&database);
        dialog->SetEvents(&owner);
        ASSERT_TRUE(dialog->CreateDialogWindow());
    }
    void TearDown() override
    {
        dialog.reset();
        database.Close();
        AccountFixture::TearDown();
    }

    static std::wstring Account() { return QelGetDataFolder() + kUser + L"\\"; }
    HWND Item(int id) const { return ::GetDlgItem(*dialog, id); }
    int Height() const
    {
        const RECT window = dialog->GetWindowRect();
        return window.bottom - window.top;
    }
    int Overall() const { return static_cast<int>(::SendMessageW(Item(IDC_SYNC_OVERALL_PROGRESS), PBM_GETPOS, 0, 0)); }
    std::wstring StepText(int row) const
    {
        wchar_t text[256]{};
        ListView_GetItemText(Item(IDC_SYNC_STEPS), row, 0, text, 256);
        return text;
    }
    int StepImage(int row) const
    {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ListView_GetItem(Item(IDC_SYNC_STEPS), &item);
        return item.iImage;
    }

    // Handles the worker's events until it ends, then the poll timer's tick.
    void RunToEnd()
    {
        ASSERT_TRUE(PumpMessagesUntil([&] { return !dialog->IsSyncing(); }, 120000));
        dialog->SendMessage(WM_TIMER, CSyncDlg::kPollTimer);
        // The hide it posts.
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }

    void ExpectVersions(const char* book, __int64 documents, __int64 attachments)
    {
        __int64 documentVersion = 0;
        __int64 attachmentVersion = 0;
        ASSERT_TRUE(database.GetLocalVersion(FromUtf8(book).c_str(), documentVersion, attachmentVersion));
        EXPECT_EQ(documents, documentVersion) << book;
        EXPECT_EQ(attachments, attachmentVersion) << book;
    }

    CTessaryDatabase database;
    CSyncOwner owner;
    std::unique_ptr<Dialog> dialog;
};

using SyncDialog = SyncDialogT<CSyncDlg>;
using SyncEventBridge = SyncDialogT<CRecordingSyncDlg>;

}  // namespace

TEST_F(SyncEventBridge, EveryEventReachesTheDialogWithItsFieldsAndItsAnswerReachesTheWorker)
{
    CTessarySyncEventBridge bridge(*dialog);
    IStream* const stream = reinterpret_cast<IStream*>(0x1234);
    dialog->stream = stream;
    TESSARYDOCUMENTDATA document;
    document.title = L"Sowing Seeds";
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.name = L"calendar.csv";
    wchar_t user[TESSARY_SYNC_ACCOUNT_BUFFER] = L"old";
    wchar_t password[TESSARY_SYNC_ACCOUNT_BUFFER] = L"refused";
    TESSARYDOCUMENTDATA held;
    TESSARYDOCUMENTATTACHMENTDATA heldAttachment;
    __int64 documents = -1;
    __int64 attachments = -1;
    std::vector<BOOL> answers;
    OnWorker([&] {
        EXPECT_EQ(0, bridge.OnHttpProgress(10, 40));
        // The end of a transfer always reaches the bar, once.
        EXPECT_EQ(0, bridge.OnHttpProgress(40, 40));
        EXPECT_EQ(0, bridge.OnHttpProgress(40, 40));
        bridge.OnStepBegin(3);
        bridge.OnSubscriptionBegin(L"guid", L"Garden", 1, 3);
        bridge.OnStepProgress(2, 9);
        bridge.OnItemProgress(7, 8);
        bridge.OnLog(2, L"Failed to update document: X");
        bridge.QueryUserAccount(user, password);
        answers.push_back(bridge.UpdateDocument(&document, stream));
        answers.push_back(bridge.UpdateAttachment(&attachment, stream));
        bridge.GetDocument(L"guid", L"doc", &held);
        bridge.GetAttachment(L"guid", L"att", &heldAttachment);
        answers.push_back(bridge.GetLocalVersion(L"guid", &documents, &attachments));
        answers.push_back(bridge.SetLocalVersion(L"guid", 8, 9));
        answers.push_back(bridge.IsCanceled());
        // A handler that fails reaches the engine as a failure.
        dialog->answer = FALSE;
        answers.push_back(bridge.UpdateDocument(&document, nullptr));
        answers.push_back(bridge.UpdateAttachment(&attachment, nullptr));
        answers.push_back(bridge.GetLocalVersion(L"guid", &documents, &attachments));
        answers.push_back(bridge.SetLocalVersion(L"guid", 8, 9));
        answers.push_back(bridge.IsCanceled());
    });
    EXPECT_EQ((std::vector<std::wstring>{
                  L"item progress 10/40", L"item progress 40/40", L"step 3", L"book guid Garden 1/3", L"step progress 2/9",
                  L"item progress 7/8", L"log 2 Failed to update document: X", L"account old refused",
                  L"document Sowing Seeds with its data", L"attachment calendar.csv with its data",
                  L"get document guid doc", L"get attachment guid att", L"get versions guid -1 -1",
                  L"set versions guid 8 9", L"document Sowing Seeds", L"attachment calendar.csv",
                  L"get versions guid 5 6", L"set versions guid 8 9"}),
              dialog->seen);
    EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE, TRUE, TRUE, TRUE, FALSE, FALSE, FALSE, FALSE, FALSE}), answers);
    EXPECT_EQ(L"ann@example.com", std::wstring(user));
    EXPECT_EQ(L"s3cret", std::wstring(password));
    EXPECT_EQ(L"Held", held.title);
    EXPECT_EQ(L"held.txt", heldAttachment.name);

    // Codes outside the table and records that are missing are answered 0.
    TESSARYSYNCEVENTDATA record;
    EXPECT_EQ(0, dialog->SendMessage(WM_QEL_SYNCEVENT, 13, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(0, dialog->SendMessage(WM_QEL_SYNCEVENT, TESSARY_SYNC_EVENT_IS_CANCELED, 0));

    // Without a window nothing is delivered: no success, no stop, and the sign-in reads a cancel.
    CTessarySyncEventBridge nowhere(nullptr);
    EXPECT_FALSE(nowhere.UpdateDocument(&document, nullptr));
    EXPECT_FALSE(nowhere.SetLocalVersion(L"guid", 1, 1));
    dialog->answer = TRUE;
    CTessarySyncEventBridge gone(*dialog);
    dialog->DestroyDialogWindow();
    EXPECT_FALSE(gone.IsCanceled());
    EXPECT_FALSE(gone.GetLocalVersion(L"guid", &documents, &attachments));
    gone.QueryUserAccount(user, password);
    EXPECT_EQ(L"", std::wstring(user));
    EXPECT_EQ(L"", std::wstring(password));
}

TEST_F(SyncDialog, ShowsStepsProgressAndAColouredLog)
{
    // The step list leaves the step icons to the dialog, which destroys them; the log
    // takes more than a rich edit's first 32,767 characters.
    EXPECT_TRUE(CWindowRef(Item(IDC_SYNC_STEPS)).GetStyle() & LVS_SHAREIMAGELISTS);
    EXPECT_GT(::SendMessageW(Item(IDC_SYNC_LOG), EM_GETLIMITTEXT, 0, 0), 32767);
    for (int row = 0; row < CSyncDlg::kStepCount; ++row)
        EXPECT_EQ(I_IMAGENONE, StepImage(row));
    dialog->OnStepBegin(TESSARY_SYNC_STEP_GET_SUBSCRIPTIONS);
    dialog->OnStepProgress(1, 2);
    EXPECT_EQ(3, Overall());

    // Four books: the third one's "Sync Documents" begins at 4 + 2 x 24 + 5 x 0.24.
    dialog->OnSubscriptionBegin(L"c0000000-0000-4000-8000-00000000000c", L"Roses", 2, 4);
    EXPECT_EQ(L"Roses", database.GetSubscriptionName(L"c0000000-0000-4000-8000-00000000000c"));
    dialog->OnStepBegin(TESSARY_SYNC_STEP_SYNC_DOCUMENTS);
    EXPECT_EQ(53, Overall());
    EXPECT_EQ(53, owner.progress.back());
    EXPECT_EQ(L"Login", StepText(0));
    EXPECT_EQ(L"Get Local Version (Roses, 3/4)", StepText(2));
    EXPECT_EQ(L"Sync Documents (Roses, 3/4)", StepText(4));
    EXPECT_EQ(L"Sync Documents (Roses, 3/4)", CWindowRef(Item(IDC_SYNC_STEP_TEXT)).GetWindowText());
    EXPECT_EQ(1, StepImage(3));
    EXPECT_EQ(0, StepImage(4));
    // Half of the step: 5 + 37 of the book's 24.
    dialog->OnStepProgress(1, 2);
    EXPECT_EQ(62, Overall());
    dialog->OnItemProgress(30, 120);
    EXPECT_EQ(25, ::SendMessageW(Item(IDC_SYNC_ITEM_PROGRESS), PBM_GETPOS, 0, 0));
    EXPECT_EQ(100, ::SendMessageW(Item(IDC_SYNC_ITEM_PROGRESS), PBM_GETRANGE, FALSE, 0));

    const CLogCapture programLog;
    dialog->OnLog(TESSARY_SYNC_LOG_PROGRESS, L"Downloading Roses");
    dialog->OnLog(TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to login!");
    dialog->OnLog(TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to update document: Pruning");
    dialog->OnLog(3, L"Never shown");
    // The lines go in on the icon's tick.
    dialog->SendMessage(WM_TIMER, CSyncDlg::kIconTimer);
    EXPECT_EQ(L"Downloading Roses", CWindowRef(Item(IDC_SYNC_STATUS_TEXT)).GetWindowText());
    EXPECT_EQ((std::vector<std::wstring>{L"Failed to login!", L"Failed to update document: Pruning"}),
              programLog.Lines());
    const HWND log = Item(IDC_SYNC_LOG);
    struct Line {
        const wchar_t* text;
        COLORREF colour;
        BOOL bold;
    };
    const Line lines[] = {{L"Downloading Roses", RGB(0, 0, 0), FALSE},
                          {L"Failed to login!", RGB(255, 0, 0), TRUE},
                          {L"Failed to update document: Pruning", RGB(255, 0, 0), FALSE}};
    EXPECT_EQ(3, ::SendMessageW(log, EM_GETLINECOUNT, 0, 0) - 1);
    for (int i = 0; i < 3; ++i) {
        const LRESULT start = ::SendMessageW(log, EM_LINEINDEX, i, 0);
        const LRESULT length = ::SendMessageW(log, EM_LINELENGTH, start, 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        *reinterpret_cast<WORD*>(text.data()) = static_cast<WORD>(text.size());
        text.resize(static_cast<size_t>(::SendMessageW(log, EM_GETLINE, i, reinterpret_cast<LPARAM>(text.data()))));
        if (!text.empty() && text.back() == L'\r')  // the rich edit's paragraph end
            text.pop_back();
        EXPECT_EQ(lines[i].text, text);
        ::SendMessageW(log, EM_SETSEL, start, start + length);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        ::SendMessageW(log, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(lines[i].colour, format.crTextColor) << i;
        EXPECT_EQ(lines[i].bold, (format.dwEffects & CFE_BOLD) != 0) << i;
    }
}

TEST_F(SyncDialog, DetailsCollapseAndExpandTheDialog)
{
    const int collapsed = CWindowRef(Item(IDC_SYNC_STEPS)).GetWindowRect().top - dialog->GetWindowRect().top - 2;
    EXPECT_EQ(collapsed, Height());
    // The first expand gives back the height the template had before the first collapse.
    dialog->SendMessage(WM_COMMAND, IDC_SYNC_DETAILS);
    EXPECT_GT(Height(), collapsed + 100);
    EXPECT_LE(CWindowRef(Item(IDC_SYNC_LOG)).GetRectInParent().bottom, dialog->GetClientRect().bottom);
    const RECT window = dialog->GetWindowRect();
    ::SetWindowPos(*dialog, nullptr, 0, 0, window.right - window.left, collapsed + 350, SWP_NOMOVE | SWP_NOZORDER);
    dialog->SendMessage(WM_COMMAND, IDC_SYNC_DETAILS);
    EXPECT_EQ(collapsed, Height());
    dialog->SendMessage(WM_COMMAND, IDC_SYNC_DETAILS);
    EXPECT_EQ(collapsed + 350, Height());
}

TEST_F(SyncDialog, AStoreFailingMidPageFailsTheRunAndKeepsTheVersionAndTheNextRunStartsClean)
{
    CServicesStandIn standIn;
    ASSERT_TRUE(standIn.Start(StandardScenario().Json())) << standIn.Error();
    // A folder where the third document's data file belongs makes its store fail.
    const std::wstring obstacle =
        database.GetDocumentFileName(FromUtf8(kGarden).c_str(), L"a3000000-0000-4000-8000-000000000003");
    ASSERT_TRUE(QelCreateDirectoryTree(obstacle.c_str()));

    EXPECT_TRUE(dialog->StartSync());
    EXPECT_EQ(1, owner.begun);
    EXPECT_FALSE(dialog->IsWindowVisible());
    EXPECT_TRUE(CWindowRef(Item(IDC_SYNC_STOP)).IsWindowEnabled());
    const CLogCapture programLog;
    RunToEnd();
    EXPECT_EQ(1, owner.ended);
    ExpectVersions(kGarden, -1, -1);
    ExpectVersions(kCycling, 11, 21);
    TESSARYDOCUMENTDATA stored;
    EXPECT_TRUE(database.GetDocumentByGuid(FromUtf8(kGarden).c_str(), L"a1000000-0000-4000-8000-000000000001", stored));
    // Failed: shown, the step marked, the box's text in the log.
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_FALSE(CWindowRef(Item(IDC_SYNC_STOP)).IsWindowEnabled());
    EXPECT_EQ(2, StepImage(TESSARY_SYNC_STEP_SYNC_ATTACHMENTS));
    EXPECT_NE(std::wstring::npos, programLog.NewText().find(L"Failed to update document!"));
    EXPECT_NE(std::wstring::npos, programLog.NewText().find(L"Sync failed!"));

    // The next run starts with clean steps and log.
    ASSERT_TRUE(::RemoveDirectoryW(obstacle.c_str()));
    EXPECT_TRUE(dialog->StartSync());
    EXPECT_EQ(I_IMAGENONE, StepImage(TESSARY_SYNC_STEP_SYNC_ATTACHMENTS));
    EXPECT_EQ(0, ::GetWindowTextLengthW(Item(IDC_SYNC_LOG)));
    RunToEnd();
    EXPECT_EQ(2, owner.ended);
    ExpectVersions(kGarden, 7, 4);
    EXPECT_EQ(1, StepImage(TESSARY_SYNC_STEP_SYNC_ATTACHMENTS));
}

TEST_F(SyncDialog, WithoutItsWindowNoSyncStartsAndTheFailureIsLogged)
{
    CSyncDlg windowless(&database);
    windowless.SetEvents(&owner);
    const CLogCapture programLog;
    EXPECT_FALSE(windowless.StartSync());
    EXPECT_FALSE(windowless.IsSyncing());
    EXPECT_EQ(0, owner.begun);
    EXPECT_TRUE(programLog.Contains(L"Failed to start sync: no sync dialog!")) << programLog.Text();
}

TEST_F(SyncDialog, AccountNeedsBothFieldsAndRefusesOverlongOnes)
{
    CQueryUserAccountDlg account(L"ann@example.com", L"");
    int checks = 0;
    const std::wstring longName(51, L'a');
    CDialogAnswer answer([&](HWND window) {
        const HWND ok = ::GetDlgItem(window, IDOK);
        EXPECT_EQ(L"ann@example.com", CWindowRef(::GetDlgItem(window, IDC_QUERY_USER_ACCOUNT_EMAIL)).GetWindowText());
        EXPECT_FALSE(::IsWindowEnabled(ok));
        ::SetDlgItemTextW(window, IDC_QUERY_USER_ACCOUNT_PASSWORD, L"better");
        EXPECT_TRUE(::IsWindowEnabled(ok));
        ::SetDlgItemTextW(window, IDC_QUERY_USER_ACCOUNT_EMAIL, longName.c_str());
        ::SendMessageW(window, WM_COMMAND, IDOK, 0);
        ::SetDlgItemTextW(window, IDC_QUERY_USER_ACCOUNT_EMAIL, longName.substr(1).c_str());
        ::SendMessageW(window, WM_COMMAND, IDOK, 0);
        ++checks;
    });
    EXPECT_EQ(IDOK, account.DoModal(nullptr));
    EXPECT_EQ(1, checks);
    EXPECT_EQ(longName.substr(1), account.GetUserName());
    EXPECT_EQ(L"better", account.GetPassword());
}
