#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PaneFixture.h"
#include "app/frame/DocumentListCtrl.h"
#include "app/frame/RelativeDate.h"
#include "foundation/DateTime.h"

namespace {

// Seconds of a local time.
__int64 At(int year, int month, int day, int hour, int minute, int second = 0)
{
    const SYSTEMTIME fields{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                            static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
    return QelSystemTimeToTime(fields);
}

TESSARYDOCUMENTDATA Document(const wchar_t* title, const wchar_t* location, __int64 created, __int64 modified)
{
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = L"aaaaaaaa-0000-0000-0000-000000000001";
    document.documentGuid = title;
    document.title = title;
    document.location = location;
    document.created = created;
    document.modified = modified;
    return document;
}

class DocumentListTest : public PaneFixture, public ITessaryDocumentListCtrlEvents {
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        ASSERT_TRUE(list.Create(host, RECT{0, 0, 300, 500}, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LVS_REPORT | LVS_NOCOLUMNHEADER));
        list.SetEvents(this);
    }

    void OnDocumentOpen(CTessaryDocumentListCtrl& from) override
    {
        TESSARYDOCUMENTDATA document;
        if (from.GetSelectedDocument(document))
            opened.push_back(document.title);
    }
    void OnDocumentsOpenInNewTabs(CTessaryDocumentListCtrl&) override {}

    std::wstring Titles()
    {
        std::wstring titles;
        const int count = static_cast<int>(list.SendMessage(LVM_GETITEMCOUNT));
        for (int i = 0; i < count; ++i)
            titles += list.GetDocument(i)->title;
        return titles;
    }

    void Select(int item)
    {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    }

    CDocumentListCtrl list{&database};
    std::vector<std::wstring> opened;
};

TEST_F(DocumentListTest, SortsByEachFieldInEitherDirection)
{
    // Created a B c, modified c a B; titles and locations sort a B c only when case is ignored.
    list.SetDocuments({Document(L"B", L"/y/", 20, 300), Document(L"c", L"/Z/", 30, 100),
                       Document(L"a", L"/x/", 10, 200)},
                      L"");
    EXPECT_EQ(L"cBa", Titles());  // newest first by default
    list.SetSortOrder(0);
    EXPECT_EQ(L"aBc", Titles());
    list.SetSortBy(CTessaryDocumentListCtrl::SortByModified);
    EXPECT_EQ(L"caB", Titles());
    list.SetSortBy(CTessaryDocumentListCtrl::SortByTitle);
    EXPECT_EQ(L"aBc", Titles());
    list.SetSortBy(CTessaryDocumentListCtrl::SortByLocation);
    EXPECT_EQ(L"aBc", Titles());
    list.SetSortOrder(1);
    EXPECT_EQ(L"cBa", Titles());
    list.SetSortBy(CTessaryDocumentListCtrl::SortByModified);
    EXPECT_EQ(L"Bac", Titles());
}

TEST_F(DocumentListTest, ABurstOfSelectionsOpensOneDocumentWhenTheTimerFires)
{
    list.SetDocuments({Document(L"a", L"/", 10, 10), Document(L"b", L"/", 20, 20), Document(L"c", L"/", 30, 30)},
                      L"/");
    Select(0);
    Select(1);
    Select(2);
    EXPECT_TRUE(opened.empty());
    list.SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    list.SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    EXPECT_EQ(std::vector<std::wstring>{L"a"}, opened);  // the list is newest first: row 2 is "a"

    // A refill clears the selection, which starts the next wait.
    Select(0);
    list.SetDocuments({Document(L"d", L"/", 40, 40)}, L"/");
    Select(0);
    list.SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"d"}), opened);
}

TEST(RelativeDate, CountsWithinTheDayThenNamesTheDaysBefore)
{
    const __int64 noon = At(2026, 3, 10, 12, 0);
    EXPECT_EQ(L"2 hours ago", FormatRelativeDate(noon - 2 * 3600 - 59 * 60, noon));
    EXPECT_EQ(L"5 minutes ago", FormatRelativeDate(noon - 5 * 60 - 30, noon));
    EXPECT_EQ(L"59 seconds ago", FormatRelativeDate(noon - 59, noon));
    EXPECT_EQ(L"Yesterday", FormatRelativeDate(At(2026, 3, 9, 23, 59), At(2026, 3, 10, 0, 1)));
    EXPECT_EQ(L"The day before yesterday", FormatRelativeDate(At(2026, 3, 8, 0, 0), noon));
    const __int64 earlier = At(2026, 3, 7, 12, 0);
    EXPECT_EQ(QelFormatLongDate(QelTimeToOleDate(&earlier)), FormatRelativeDate(earlier, noon));
    // A clock ahead of ours: no negative counts on the same day, the date on a later one.
    EXPECT_EQ(L"0 seconds ago", FormatRelativeDate(noon + 3 * 3600, noon));
    const __int64 tomorrow = At(2026, 3, 11, 9, 0);
    EXPECT_EQ(QelFormatLongDate(QelTimeToOleDate(&tomorrow)), FormatRelativeDate(tomorrow, noon));
}

}  // namespace
