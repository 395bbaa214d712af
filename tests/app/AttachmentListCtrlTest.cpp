#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/views/AttachmentListCtrl.h"
#include "common/TestLog.h"
#include "foundation/TestFolder.h"
#include "framework/Handle.h"
#include "framework/SortableListFixture.h"
#include "resources/ResourceIds.h"

namespace {

using ShellCall = std::tuple<std::wstring, std::wstring, int>;

class CRecordingAttachmentList : public CAttachmentListCtrl {
public:
    using CAttachmentListCtrl::CAttachmentListCtrl;
    using CAttachmentListCtrl::GetContextMenu;
    using CAttachmentListCtrl::PrepareContextMenu;

    std::vector<ShellCall> calls;

protected:
    void ExecuteShellVerb(const wchar_t* verb, const std::wstring& file, int show) override
    {
        calls.emplace_back(verb, file, show);
    }
};

// An account database with one document, and the list showing its attachments.
class AttachmentList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_database.Open(m_folder.Path().c_str()));
        m_document.subscriptionGuid = L"7C0D6A52-1B3E-4F60-9A1D-2E4B8C7F1A30";
        m_document.documentGuid = L"doc-1";
        ASSERT_TRUE(m_host.Create(nullptr, RECT{0, 0, 400, 300}, L"host", WS_POPUP));
    }

    // The attachment's row, and its file of this size unless the size is negative.
    TESSARYDOCUMENTATTACHMENTDATA Add(const wchar_t* guid, const wchar_t* name, __int64 size)
    {
        TESSARYDOCUMENTATTACHMENTDATA attachment;
        attachment.subscriptionGuid = m_document.subscriptionGuid;
        attachment.documentGuid = m_document.documentGuid;
        attachment.attachmentGuid = guid;
        attachment.name = name;
        EXPECT_TRUE(m_database.UpdateAttachment(attachment, nullptr));
        if (size >= 0)
            SetFileSize(m_database.GetAttachmentFileName(attachment), size);
        return attachment;
    }

    // A file grown by its end alone stays sparse: no gigabytes are written.
    static void SetFileSize(const std::wstring& path, __int64 size)
    {
        const CHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = size;
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get()));
    }

    void Show()
    {
        ASSERT_TRUE(m_list.Create(m_host, RECT{0, 0, 400, 300}, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT));
        m_list.SetDocument(m_document);
    }

    // The database gives the attachments in an order of its own: rows are found by name.
    int RowOf(const wchar_t* name) const
    {
        LVFINDINFOW find{};
        find.flags = LVFI_STRING;
        find.psz = name;
        return static_cast<int>(m_list.SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(&find)));
    }

    void Select(std::initializer_list<const wchar_t*> names) const
    {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED;
        m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED;
        for (const wchar_t* name : names)
            m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(RowOf(name)), reinterpret_cast<LPARAM>(&state));
    }

    ShellCall Opened(const TESSARYDOCUMENTATTACHMENTDATA& attachment) const
    {
        return ShellCall(L"open", m_database.GetAttachmentFileName(attachment), SW_SHOW);
    }

    TestFolder m_folder;
    CTessaryDatabase m_database;
    TESSARYDOCUMENTDATA m_document;
    CListHost m_host;
    CRecordingAttachmentList m_list{&m_database};
};

}  // namespace

TEST_F(AttachmentList, ShowsNameSizeAndTheShellsTypeNameOfEachAttachment)
{
    Add(L"a1", L"report.txt", 1234);
    Add(L"a2", L"README", 5);
    Add(L"a3", L"gone.qzx", -1);
    Show();

    for (int i = 0; i < 3; ++i) {
        wchar_t title[16]{};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 16;
        m_list.SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ((std::vector<std::wstring>{L"Name", L"Size", L"Type"}[i]), title);
        EXPECT_EQ(i == 0 ? 150 : 100, column.cx);
        EXPECT_EQ(i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);
    }
    ASSERT_EQ(3, m_list.SendMessage(LVM_GETITEMCOUNT));
    EXPECT_EQ(L"1.20 KB", m_list.GetItemText(RowOf(L"report.txt"), 1));
    // A missing file shows the size 0 and the type of its name. Wine names an unregistered
    // extension ".qzx file" (Windows: "QZX File") and a name without one "File", as Windows does.
    EXPECT_EQ(L"5 bytes", m_list.GetItemText(RowOf(L"README"), 1));
    EXPECT_EQ(L"File", m_list.GetItemText(RowOf(L"README"), 2));
    EXPECT_EQ(L"0 bytes", m_list.GetItemText(RowOf(L"gone.qzx"), 1));
    EXPECT_EQ(L".qzx file", m_list.GetItemText(RowOf(L"gone.qzx"), 2));

    // A document without attachments, or without a GUID, shows an empty list.
    TESSARYDOCUMENTDATA other = m_document;
    other.documentGuid = L"doc-2";
    m_list.SetDocument(other);
    EXPECT_EQ(0, m_list.SendMessage(LVM_GETITEMCOUNT));
    m_list.SetDocument(m_document);
    other.documentGuid.clear();
    m_list.SetDocument(other);
    EXPECT_EQ(0, m_list.SendMessage(LVM_GETITEMCOUNT));
}

TEST_F(AttachmentList, SizeOrderFollowsTheFilesOnDiskPastTwoGigabytes)
{
    const auto big = Add(L"a1", L"big.iso", 3LL << 30);
    Add(L"a2", L"small.txt", 10);
    Add(L"a3", L"missing.txt", -1);
    const auto grown = Add(L"a4", L"grown.txt", 1);
    Show();
    // The column still says 1 byte: the order comes from the disk, not the text.
    SetFileSize(m_database.GetAttachmentFileName(grown), 100);

    ASSERT_TRUE(m_list.SortByColumn(1));
    EXPECT_EQ((std::vector<std::wstring>{L"missing.txt", L"small.txt", L"grown.txt", L"big.iso"}), Column(m_list, 0));
    ASSERT_TRUE(m_list.SortByColumn(1, TRUE));
    EXPECT_EQ((std::vector<std::wstring>{L"big.iso", L"grown.txt", L"small.txt", L"missing.txt"}), Column(m_list, 0));
    // Each row still opens its own file after the sort.
    Select({L"big.iso"});
    m_list.OpenSelected();
    EXPECT_EQ(std::vector<ShellCall>{Opened(big)}, m_list.calls);
}

TEST_F(AttachmentList, OpeningHandsEachSelectedFileToTheShellInSelectionOrder)
{
    const auto first = Add(L"a1", L"one.txt", 1);
    const auto second = Add(L"a2", L"two.txt", 2);
    const auto third = Add(L"a3", L"three.txt", 3);
    Show();
    // A row without a record is skipped with one log line.
    LVITEMW bare{};
    bare.mask = LVIF_TEXT;
    bare.iItem = 3;
    bare.pszText = const_cast<wchar_t*>(L"bare");
    ASSERT_EQ(3, m_list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&bare)));

    Select({L"one.txt", L"three.txt", L"bare"});
    const CLogCapture log;
    m_list.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    std::vector<ShellCall> expected{Opened(first), Opened(third)};
    if (RowOf(L"three.txt") < RowOf(L"one.txt"))
        std::swap(expected[0], expected[1]);
    EXPECT_EQ(expected, m_list.calls);
    EXPECT_TRUE(log.Contains(L"Failed to get attachment item data:3")) << log.Text();

    // The menu's "&Open" comes back as the same command; it is enabled for a click on a row
    // while rows are selected.
    m_list.calls.clear();
    Select({L"two.txt"});
    m_list.SendMessage(WM_COMMAND, ID_OPEN_ATTACHMENT);
    EXPECT_EQ(std::vector<ShellCall>{Opened(second)}, m_list.calls);
    const HMENU menu = m_list.GetContextMenu();
    wchar_t text[32]{};
    ::GetMenuStringW(menu, ID_OPEN_ATTACHMENT, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"&Open", text);
    const auto greyed = [&] { return (::GetMenuState(menu, ID_OPEN_ATTACHMENT, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    m_list.PrepareContextMenu(0, menu);
    EXPECT_FALSE(greyed());
    m_list.PrepareContextMenu(-1, menu);
    EXPECT_TRUE(greyed());
    Select({});
    m_list.PrepareContextMenu(0, menu);
    EXPECT_TRUE(greyed());
}
