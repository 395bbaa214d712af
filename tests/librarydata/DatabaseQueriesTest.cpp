#include "librarydata/Database.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const wchar_t kBook[] = L"0f3a2c44-8d2e-4b77-9a0b-1c2d3e4f5a6b";
const wchar_t kOtherBook[] = L"7d0e9b1a-2c3d-4e5f-8091-a2b3c4d5e6f7";

TESSARYDOCUMENTDATA Document(const wchar_t* book, const std::wstring& guid, const std::wstring& title,
                             const std::wstring& location, __int64 created, __int64 modified)
{
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = book;
    document.documentGuid = guid;
    document.title = title;
    document.location = location;
    document.created = created;
    document.modified = modified;
    document.version = 1;
    document.dataMD5 = L"00112233445566778899aabbccddeeff";
    return document;
}

std::set<std::wstring> Titles(const std::vector<TESSARYDOCUMENTDATA>& documents)
{
    std::set<std::wstring> titles;
    for (const TESSARYDOCUMENTDATA& document : documents)
        titles.insert(document.title);
    return titles;
}

class DatabaseQueries : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Open(folder.Path().c_str())); }

    void Add(const TESSARYDOCUMENTDATA& document) { ASSERT_TRUE(db.UpdateDocument(document, nullptr)); }

    std::set<std::wstring> Search(const wchar_t* words, const wchar_t* location = L"", BOOL anywhere = FALSE)
    {
        std::vector<TESSARYDOCUMENTDATA> found;
        EXPECT_TRUE(db.SearchDocuments(words, location, anywhere, found)) << words;
        return Titles(found);
    }

    std::set<std::wstring> InFolder(const wchar_t* book, const wchar_t* location)
    {
        std::vector<TESSARYDOCUMENTDATA> found;
        EXPECT_TRUE(db.GetDocumentsByLocation(book, location, found));
        return Titles(found);
    }

    TestFolder folder;
    CTessaryDatabase db;
    const __int64 old = LocalTime(2009, 12, 7, 10, 15, 3);
};

}  // namespace

TEST_F(DatabaseQueries, BooksAreThoseWithDocumentsNamedFromTheirMeta)
{
    std::vector<TESSARYSUBSCRIPTIONDATA> books;
    EXPECT_TRUE(db.GetSubscriptions(books));
    EXPECT_TRUE(books.empty());

    EXPECT_TRUE(db.SetSubscriptionName(L"ffffffff-0000-0000-0000-000000000000", L"No documents"));
    ASSERT_TRUE(db.SetSubscriptionName(kBook, L"Cooking"));
    Add(Document(kBook, L"d1", L"One", L"/a/", old, old));
    Add(Document(kBook, L"d2", L"Two", L"/a/", old, old));
    Add(Document(kOtherBook, L"d3", L"Three", L"/", old, old));

    EXPECT_TRUE(db.GetSubscriptions(books));
    ASSERT_EQ(2u, books.size());
    std::sort(books.begin(), books.end(),
              [](const TESSARYSUBSCRIPTIONDATA& a, const TESSARYSUBSCRIPTIONDATA& b) { return a.guid < b.guid; });
    EXPECT_EQ(kBook, books[0].guid);
    EXPECT_EQ(L"Cooking", books[0].name);
    EXPECT_EQ(kOtherBook, books[1].guid);
    EXPECT_EQ(kOtherBook, books[1].name);  // no stored name: the GUID itself
    EXPECT_TRUE(books[0].serverUrl.empty());
    EXPECT_EQ(kOtherBook, db.GetSubscriptionName(kOtherBook));
}

TEST_F(DatabaseQueries, FoldersWithCountsAndTheirDocuments)
{
    Add(Document(kBook, L"d1", L"One", L"/b/", old, old));
    Add(Document(kBook, L"d2", L"Two", L"/a/", old, old));
    Add(Document(kBook, L"d3", L"Three", L"/a/", old, old));
    Add(Document(kBook, L"d4", L"Four", L"/a_b/", old, old));
    Add(Document(kBook, L"d5", L"Five", L"/axb/", old, old));
    Add(Document(kOtherBook, L"d6", L"Six", L"/a/", old, old));

    std::vector<std::pair<std::wstring, int>> locations;
    EXPECT_TRUE(db.GetLocationsWithCount(kBook, locations));
    const std::vector<std::pair<std::wstring, int>> expected = {{L"/a/", 2}, {L"/a_b/", 1}, {L"/axb/", 1}, {L"/b/", 1}};
    EXPECT_EQ(expected, locations);

    std::vector<std::wstring> names;
    EXPECT_TRUE(db.GetLocations(kOtherBook, names));
    EXPECT_EQ(std::vector<std::wstring>{L"/a/"}, names);

    EXPECT_EQ((std::set<std::wstring>{L"Two", L"Three"}), InFolder(kBook, L"/a/"));
    // Letter case does not matter; a "_" in a folder name is no wildcard.
    EXPECT_EQ((std::set<std::wstring>{L"Two", L"Three"}), InFolder(kBook, L"/A/"));
    EXPECT_EQ((std::set<std::wstring>{L"Four"}), InFolder(kBook, L"/a_b/"));
    EXPECT_EQ((std::set<std::wstring>{L"Six"}), InFolder(kOtherBook, L"/a/"));
    EXPECT_TRUE(InFolder(kBook, L"/a").empty());
    EXPECT_TRUE(InFolder(kBook, L"").empty());
    // Nor in a search from the folder, with either scope.
    for (const BOOL anywhere : {FALSE, TRUE}) {
        EXPECT_EQ((std::set<std::wstring>{L"Four"}), Search(L"f", L"/A_B/", anywhere)) << anywhere;
        EXPECT_TRUE(Search(L"f", L"/a%b/", anywhere).empty()) << anywhere;
    }

    // Longer than any like pattern SQLite takes.
    const std::wstring deep = L"/" + std::wstring(60000, L'x') + L"/";
    Add(Document(kBook, L"d7", L"Seven", deep, old, old));
    Add(Document(kBook, L"d8", L"Seven below", deep + L"sub/", old, old));
    EXPECT_EQ((std::set<std::wstring>{L"Seven"}), InFolder(kBook, deep.c_str()));
    EXPECT_EQ((std::set<std::wstring>{L"Seven"}), Search(L"seven", deep.c_str(), FALSE));
    EXPECT_EQ((std::set<std::wstring>{L"Seven", L"Seven below"}), Search(L"seven", deep.c_str(), TRUE));
}

TEST_F(DatabaseQueries, TitlesWithQuotesAndPercentSignsRoundTripAndSearch)
{
    const std::wstring hostile = L"It's 100% \"done\" -- '); drop table QEL_READER_DOCUMENT; -- %s%n %1 %2";
    Add(Document(kBook, L"d1", hostile, L"/O'Brien/", old, old));
    Add(Document(kBook, L"d2", L"1000 ways", L"/x/", old, old));
    Add(Document(kBook, L"d3", L"Its fine", L"/x/", old, old));

    TESSARYDOCUMENTDATA read;
    ASSERT_TRUE(db.GetDocumentByGuid(kBook, L"d1", read));
    EXPECT_EQ(hostile, read.title);
    EXPECT_EQ(L"/O'Brien/", read.location);

    EXPECT_EQ((std::set<std::wstring>{hostile}), Search(L"it's"));
    EXPECT_EQ((std::set<std::wstring>{hostile}), Search(L"100%"));
    EXPECT_EQ((std::set<std::wstring>{hostile, L"1000 ways"}), Search(L"100"));
    EXPECT_EQ((std::set<std::wstring>{hostile}), Search(L"%s%n"));
    EXPECT_EQ((std::set<std::wstring>{hostile}), Search(L"'); drop"));
    EXPECT_EQ((std::set<std::wstring>{hostile}), InFolder(kBook, L"/o'brien/"));
    EXPECT_EQ((std::set<std::wstring>{hostile}), Search(L"done", L"O'Brien/"));
    EXPECT_TRUE(Search(L"_ts").empty());
    EXPECT_TRUE(db.DocumentExists(kBook, L"d2"));
}

TEST_F(DatabaseQueries, SearchNeedsEveryWordAndMatchesTheLocation)
{
    Add(Document(kBook, L"d1", L"Red apple pie", L"/x/a/", old, old));
    Add(Document(kBook, L"d2", L"Green apple", L"/a/b/", old, old));
    Add(Document(kBook, L"d3", L"red pepper", L"/a/", old, old));

    EXPECT_EQ((std::set<std::wstring>{L"Red apple pie"}), Search(L"apple  RED"));
    EXPECT_EQ((std::set<std::wstring>{L"Red apple pie", L"Green apple"}), Search(L" apple "));
    EXPECT_TRUE(Search(L"apple banana").empty());
    // The location at the end of the document's location, or anywhere in it.
    EXPECT_EQ((std::set<std::wstring>{L"Red apple pie"}), Search(L"apple", L"/a/", FALSE));
    EXPECT_EQ((std::set<std::wstring>{L"Red apple pie", L"Green apple"}), Search(L"apple", L"/a/", TRUE));
    EXPECT_EQ((std::set<std::wstring>{L"red pepper", L"Red apple pie"}), Search(L"red", L"/a/", FALSE));
    // Nothing to look for finds nothing.
    EXPECT_TRUE(Search(L"   ").empty());
}

TEST_F(DatabaseQueries, DocumentsAndAttachmentsByGuid)
{
    CLogCapture log;
    TESSARYDOCUMENTDATA document;
    EXPECT_FALSE(db.GetDocumentByGuid(kBook, L"missing", document));
    EXPECT_FALSE(db.DocumentExists(kBook, L"missing"));
    EXPECT_FALSE(db.AttachmentExists(kBook, L"missing"));
    EXPECT_TRUE(log.Lines().empty()) << log.Text();

    Add(Document(kBook, L"d1", L"One", L"/a/", old, old));
    EXPECT_TRUE(db.DocumentExists(kBook, L"d1"));
    EXPECT_FALSE(db.DocumentExists(kOtherBook, L"d1"));

    const wchar_t* names[] = {L"b.txt", L"C.txt", L"a.txt", L"B2.txt"};
    int n = 0;
    for (const wchar_t* name : names) {
        TESSARYDOCUMENTATTACHMENTDATA attachment;
        attachment.subscriptionGuid = kBook;
        attachment.attachmentGuid = L"a" + std::to_wstring(++n);
        attachment.documentGuid = L"d1";
        attachment.name = name;
        attachment.version = n;
        ASSERT_TRUE(db.UpdateAttachment(attachment, nullptr));
    }
    TESSARYDOCUMENTATTACHMENTDATA stray;
    stray.subscriptionGuid = kBook;
    stray.attachmentGuid = L"a9";
    stray.documentGuid = L"d2";
    stray.name = L"0.txt";
    ASSERT_TRUE(db.UpdateAttachment(stray, nullptr));

    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    ASSERT_TRUE(db.GetAttachments(Document(kBook, L"d1", L"", L"", 0, 0), attachments));
    std::vector<std::wstring> sorted;
    for (const TESSARYDOCUMENTATTACHMENTDATA& attachment : attachments)
        sorted.push_back(attachment.name);
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"b.txt", L"B2.txt", L"C.txt"}), sorted);
    EXPECT_EQ(4, db.GetAttachmentCount(Document(kBook, L"d1", L"", L"", 0, 0)));
    EXPECT_EQ(0, db.GetAttachmentCount(Document(kBook, L"d1' or '1'='1", L"", L"", 0, 0)));

    TESSARYDOCUMENTATTACHMENTDATA read;
    ASSERT_TRUE(db.GetAttachmentByGuid(kBook, L"a3", read));
    EXPECT_EQ(L"a.txt", read.name);
    EXPECT_EQ(3, read.version);
    EXPECT_EQ(L"", read.description);
}

TEST_F(DatabaseQueries, QuickViewsListRecentDocumentsOnceNewestFirst)
{
    std::vector<std::wstring> views;
    EXPECT_TRUE(db.GetQuickViews(views));
    ASSERT_EQ(1u, views.size());

    const __int64 now = _time64(nullptr);
    for (int i = 0; i < 10; ++i)
        Add(Document(kBook, L"recent" + std::to_wstring(i), L"Recent " + std::to_wstring(i), L"/r/", now - 3600 * (i + 1),
                     now - 60 * (i + 1)));
    for (int i = 0; i < 60; ++i)
        Add(Document(kBook, L"old" + std::to_wstring(i), L"Old " + std::to_wstring(i), L"/o/", old - i * 86400,
                     old - i * 86400));

    std::vector<TESSARYDOCUMENTDATA> shown;
    EXPECT_TRUE(db.GetQuickViewDocuments(L"quick views", shown));
    ASSERT_EQ(10u, shown.size());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(L"Recent " + std::to_wstring(i), shown[i].title);

    std::vector<TESSARYDOCUMENTDATA> other;
    EXPECT_TRUE(db.GetQuickViewDocuments(L"Something else", other));
    EXPECT_TRUE(other.empty());
}

TEST_F(DatabaseQueries, QuickViewsOfAnOldAccountShowOnlyTheNewest)
{
    for (int i = 0; i < 5; ++i)
        Add(Document(kBook, L"old" + std::to_wstring(i), L"Old " + std::to_wstring(i), L"/o/", old - i * 86400,
                     old + i * 3600));
    std::vector<TESSARYDOCUMENTDATA> shown;
    EXPECT_TRUE(db.GetQuickViewDocuments(L"Quick Views", shown));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"Old 4", shown[0].title);
}
