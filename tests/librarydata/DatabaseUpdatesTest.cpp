#include "librarydata/AttachmentFileName.h"
#include "librarydata/DataFileCache.h"
#include "librarydata/Database.h"

#include "foundation/AES.h"
#include "foundation/MD5.h"

#include "DataFileSupport.h"
#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const wchar_t kBook[] = L"0f3a2c44-8d2e-4b77-9a0b-1c2d3e4f5a6b";
const wchar_t kDoc[] = L"5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab";
// The zero-padded word hex MD5 of the UTF-16LE text kDoc + "_" + kBook, from Python.
const wchar_t kDataFile[] = L"3\\3f14059796cc7d7f6a2824dbe69e5146.kvd";

TESSARYDOCUMENTDATA Document(const std::wstring& md5)
{
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = kBook;
    document.documentGuid = kDoc;
    document.title = L"A title";
    document.location = L"/a/";
    document.created = LocalTime(2009, 12, 7, 10, 15, 3);
    document.modified = LocalTime(2010, 1, 2, 3, 4, 5);
    document.iconIndex = 4;
    document.attachmentCount = 2;
    document.indexed = 1;
    document.version = 1234567890123LL;
    document.dataMD5 = md5;
    return document;
}

TESSARYDOCUMENTATTACHMENTDATA Attachment(const std::wstring& guid, const std::wstring& name,
                                         const std::wstring& documentGuid = kDoc)
{
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.subscriptionGuid = kBook;
    attachment.attachmentGuid = guid;
    attachment.documentGuid = documentGuid;
    attachment.name = name;
    attachment.description = L"desc";
    attachment.version = 7;
    attachment.dataMD5 = L"ffeeddccbbaa99887766554433221100";
    return attachment;
}

// Deciphers a data file the way its format is laid down: 1040-byte pieces, each
// AES-256-CBC from a zero IV with padding, under the blank-padded word hex MD5
// of the computer's NetBIOS name in the ANSI code page.
std::string Unseal(const std::string& sealed)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameExW(ComputerNameNetBIOS, name, &size);
    char ansi[64] = {};
    const int length = WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof(ansi), nullptr, nullptr) - 1;
    const std::wstring keyText = QelMD5WordHexSpaced(ansi, length);
    BYTE key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<BYTE>(keyText[i]);
    CQelAES aes;
    EXPECT_EQ(0, aes.Init(CQelAES::ModeCBC, CQelAES::DirDecrypt, key, CQelAES::Key256, nullptr));
    std::string plain;
    for (std::size_t at = 0; at < sealed.size(); at += 1040) {
        const std::string piece = sealed.substr(at, 1040);
        BYTE out[1040];
        const int n = aes.PadDecrypt(reinterpret_cast<const BYTE*>(piece.data()), static_cast<int>(piece.size()), out);
        EXPECT_GT(n, 0);
        if (n > 0)
            plain.append(reinterpret_cast<const char*>(out), n);
    }
    return plain;
}

class DatabaseUpdates : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Open(folder.Path().c_str())); }

    std::string Raw(const std::string& sql)
    {
        RawDatabase raw(folder.Path() + L"index.db");
        return raw.Cell(sql);
    }

    std::string RawDocument(const char* column)
    {
        return Raw(std::string("select ") + column + " from QEL_READER_DOCUMENT where DOCUMENT_GUID='" + Utf8(kDoc) + "'");
    }

    std::wstring DataFile() const { return folder.Path() + kDataFile; }

    TestFolder folder;
    CTessaryDatabase db;
};

}  // namespace

TEST_F(DatabaseUpdates, RowIsStoredAsLiteralsAndReadBack)
{
    TESSARYDOCUMENTDATA document = Document(L"00112233445566778899aabbccddeeff");
    document.location.clear();
    ASSERT_TRUE(db.UpdateDocument(document, nullptr));

    RawDatabase raw(folder.Path() + L"index.db");
    const std::vector<std::string> expected = {Utf8(kBook), Utf8(kDoc), "A title", "<NULL>", "2009-12-07 10:15:03",
                                               "2010-01-02 03:04:05", "4", "2", "1", "1234567890123",
                                               "00112233445566778899aabbccddeeff"};
    EXPECT_EQ(expected, raw.Cells("select * from QEL_READER_DOCUMENT"));
    EXPECT_EQ("integer", raw.Cell("select typeof(QEL_VERSION) from QEL_READER_DOCUMENT"));

    TESSARYDOCUMENTDATA read;
    ASSERT_TRUE(db.GetDocumentByGuid(kBook, kDoc, read));
    EXPECT_EQ(L"", read.location);
    EXPECT_EQ(document.title, read.title);
    EXPECT_EQ(document.created, read.created);
    EXPECT_EQ(document.modified, read.modified);
    EXPECT_EQ(1234567890123LL, read.version);
    EXPECT_EQ(4, read.iconIndex);
    EXPECT_EQ(2, read.attachmentCount);
    EXPECT_EQ(1, read.indexed);

    // An update changes every column but the key.
    document.title = L"New";
    document.version = 2;
    document.location = L"/b/";
    ASSERT_TRUE(db.UpdateDocument(document, nullptr));
    EXPECT_EQ("1", raw.Cell("select count(*) from QEL_READER_DOCUMENT"));
    EXPECT_EQ("New", raw.Cell("select DOCUMENT_TITLE from QEL_READER_DOCUMENT"));
    EXPECT_EQ("/b/", raw.Cell("select DOCUMENT_LOCATION from QEL_READER_DOCUMENT"));

    // An empty title or key fails on "not null", logged with the statement.
    CLogCapture log;
    TESSARYDOCUMENTDATA untitled = Document(L"");
    untitled.documentGuid = L"other";
    untitled.title.clear();
    EXPECT_FALSE(db.UpdateDocument(untitled, nullptr));
    EXPECT_TRUE(log.Mentions(L"SQLITE_CONSTRAINT[19]")) << log.Text();
    EXPECT_TRUE(log.Mentions(L"insert into QEL_READER_DOCUMENT (")) << log.Text();
}

TEST_F(DatabaseUpdates, TimesOutsideTheRangeAreStoredAsNull)
{
    TESSARYDOCUMENTDATA document = Document(L"m");
    document.created = LocalTime(1990, 1, 1, 0, 0, 0);
    document.modified = LocalTime(2050, 12, 31, 23, 59, 59);
    ASSERT_TRUE(db.UpdateDocument(document, nullptr));
    EXPECT_EQ("1990-01-01 00:00:00", RawDocument("DT_CREATED"));
    EXPECT_EQ("2050-12-31 23:59:59", RawDocument("DT_MODIFIED"));
    TESSARYDOCUMENTDATA read;
    ASSERT_TRUE(db.GetDocumentByGuid(kBook, kDoc, read));
    EXPECT_EQ(document.created, read.created);
    EXPECT_EQ(document.modified, read.modified);

    document.created = LocalTime(1989, 12, 31, 23, 59, 59);
    document.modified = LocalTime(2051, 1, 1, 0, 0, 0);
    ASSERT_TRUE(db.UpdateDocument(document, nullptr));
    EXPECT_EQ("<NULL>", RawDocument("DT_CREATED"));
    EXPECT_EQ("<NULL>", RawDocument("DT_MODIFIED"));

    // A missing time reads as now, and the row keeps its place in every read.
    document.created = 0;
    document.modified = 0;
    ASSERT_TRUE(db.UpdateDocument(document, nullptr));
    EXPECT_EQ("<NULL>", RawDocument("DT_CREATED"));
    const __int64 before = _time64(nullptr);
    ASSERT_TRUE(db.GetDocumentByGuid(kBook, kDoc, read));
    EXPECT_GE(read.created, before);
    EXPECT_LE(read.created, _time64(nullptr));
    document.title = L"Updated again";
    ASSERT_TRUE(db.UpdateDocument(document, nullptr));
    EXPECT_EQ("1", Raw("select count(*) from QEL_READER_DOCUMENT"));
}

TEST_F(DatabaseUpdates, MalformedStoredTimesReadAsMissingWithALogLine)
{
    {
        RawDatabase raw(folder.Path() + L"index.db");
        raw.Exec("insert into QEL_READER_DOCUMENT values ('" + Utf8(kBook) +
                 "', 'd1', 'Epoch', '/a/', '1970-01-01 00:00:00', '2009-12-07 10:15:03', 0, 0, 0, 1, NULL)");
        raw.Exec("insert into QEL_READER_DOCUMENT values ('" + Utf8(kBook) +
                 "', 'd2', 'Garbage', '/a/', 'garbage', '2009-13-07 10:15:03', 0, 0, 0, 1, NULL)");
    }
    CLogCapture log;
    const __int64 before = _time64(nullptr);
    std::vector<TESSARYDOCUMENTDATA> documents;
    ASSERT_TRUE(db.GetDocumentsByLocation(kBook, L"/a/", documents));
    ASSERT_EQ(2u, documents.size());
    for (const TESSARYDOCUMENTDATA& document : documents) {
        EXPECT_GE(document.created, before) << document.title;
    }
    EXPECT_TRUE(log.Contains(L"Invalid time in DT_CREATED read as missing: 1970-01-01 00:00:00")) << log.Text();
    EXPECT_TRUE(log.Contains(L"Invalid time in DT_CREATED read as missing: garbage")) << log.Text();
    EXPECT_TRUE(log.Contains(L"Invalid time in DT_MODIFIED read as missing: 2009-13-07 10:15:03")) << log.Text();

    std::vector<TESSARYDOCUMENTDATA> found;
    EXPECT_TRUE(db.SearchDocuments(L"Epoch", L"", FALSE, found));
    EXPECT_EQ(1u, found.size());
    std::vector<TESSARYDOCUMENTDATA> recent;
    EXPECT_TRUE(db.GetRecentDocuments(recent, 50));
    EXPECT_EQ(2u, recent.size());
}

TEST_F(DatabaseUpdates, DataFileHoldsTheSealedBytesAtItsDigestName)
{
    std::string zip(2500, '\0');
    for (std::size_t i = 0; i < zip.size(); ++i)
        zip[i] = static_cast<char>(i * 7 + 3);
    auto stream = NewStream(zip);
    ASSERT_TRUE(db.UpdateDocument(Document(L"m1"), stream.Get()));

    EXPECT_EQ(DataFile(), db.GetDocumentFileName(kBook, kDoc));
    const std::string sealed = FileBytes(DataFile());
    EXPECT_EQ(1040u + 1040u + 464u, sealed.size());
    EXPECT_EQ(zip, Unseal(sealed));
    EXPECT_EQ(L"", db.GetDocumentFileName(kBook, L""));

    // The same data MD5 again keeps the file.
    ASSERT_TRUE(db.UpdateDocument(Document(L"m1"), nullptr));
    EXPECT_TRUE(std::filesystem::exists(DataFile()));
    // A new MD5 without data removes it, and the row shows the new MD5.
    ASSERT_TRUE(db.UpdateDocument(Document(L"m2"), nullptr));
    EXPECT_FALSE(std::filesystem::exists(DataFile()));
    EXPECT_EQ("m2", RawDocument("DOCUMENT_DATA_MD5"));
}

TEST_F(DatabaseUpdates, ReplacedDataFileIsNotServedFromTheCache)
{
    const auto page = [this](std::string& text) {
        BYTE* data = nullptr;
        DWORD size = 0;
        if (!QelGetDataFileCache()->ExtractIndexPage(DataFile().c_str(), &data, &size))
            return false;
        text.assign(reinterpret_cast<const char*>(data), size);
        free(data);
        return true;
    };
    const auto zipStream = [](const char* html) {
        const Bytes zip = MakeZip({{L"index.htm", html}});
        return NewStream(std::string(zip.begin(), zip.end()));
    };
    std::string text;
    ASSERT_TRUE(db.UpdateDocument(Document(L"m1"), zipStream("first page").Get()));
    ASSERT_TRUE(page(text));
    EXPECT_EQ("first page", text);
    ASSERT_TRUE(db.UpdateDocument(Document(L"m2"), zipStream("second page").Get()));
    ASSERT_TRUE(page(text));
    EXPECT_EQ("second page", text);
    // Changed without data: the file is gone, and so is its cached copy.
    ASSERT_TRUE(db.UpdateDocument(Document(L"m3"), nullptr));
    EXPECT_FALSE(page(text));
}

TEST_F(DatabaseUpdates, UnwritableDataFileClearsTheRowsMD5AndFails)
{
    // A folder in the way of the data file makes its write fail.
    std::filesystem::create_directories(DataFile());
    CLogCapture log;
    auto stream = NewStream("zip bytes");
    EXPECT_FALSE(db.UpdateDocument(Document(L"m1"), stream.Get()));
    EXPECT_TRUE(log.Contains(L"Failed to save document: A title")) << log.Text();
    EXPECT_EQ("<NULL>", RawDocument("DOCUMENT_DATA_MD5"));
    EXPECT_EQ("A title", RawDocument("DOCUMENT_TITLE"));

    // The next sync sees the difference and stores the data.
    std::filesystem::remove(DataFile());
    TESSARYDOCUMENTDATA local;
    ASSERT_TRUE(db.GetDocumentByGuid(kBook, kDoc, local));
    EXPECT_NE(L"m1", local.dataMD5);
    auto again = NewStream("zip bytes");
    EXPECT_TRUE(db.UpdateDocument(Document(L"m1"), again.Get()));
    EXPECT_EQ("m1", RawDocument("DOCUMENT_DATA_MD5"));
    EXPECT_EQ("zip bytes", Unseal(FileBytes(DataFile())));

    // An update whose write fails clears it too.
    std::filesystem::remove(DataFile());
    std::filesystem::create_directories(DataFile());
    auto third = NewStream("newer zip");
    EXPECT_FALSE(db.UpdateDocument(Document(L"m1"), third.Get()));
    EXPECT_EQ("<NULL>", RawDocument("DOCUMENT_DATA_MD5"));
}

TEST_F(DatabaseUpdates, FailedInsertWritesNoDataFile)
{
    TESSARYDOCUMENTDATA document = Document(L"m1");
    document.title.clear();
    auto stream = NewStream("zip bytes");
    EXPECT_FALSE(db.UpdateDocument(document, stream.Get()));
    EXPECT_FALSE(std::filesystem::exists(DataFile()));
    EXPECT_EQ("0", Raw("select count(*) from QEL_READER_DOCUMENT"));

    CLogCapture log;
    TESSARYDOCUMENTDATA nameless = Document(L"m1");
    nameless.subscriptionGuid.clear();
    auto data = NewStream("zip");
    EXPECT_FALSE(db.SaveDocumentData(nameless, data.Get()));
    EXPECT_TRUE(log.Contains(L"Document SubscriptionGUID or GUID is empty: A title")) << log.Text();
}

TEST_F(DatabaseUpdates, AttachmentFilesStayInsideTheAttachmentsFolder)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* documentGuid;
        const wchar_t* fileName;
    };
    const Case cases[] = {
        // Names that were already valid keep their file names.
        {L"report 2009 (final).doc", kDoc, L"report 2009 (final)_5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab.doc"},
        {L"README", kDoc, L"README_5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab"},
        {L"a.b.c.tar.gz", kDoc, L"a.b.c.tar_5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab.gz"},
        {L"..\\..\\evil.txt", kDoc, L"evil_5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab.txt"},
        // Hostile pieces are cleaned.
        {L"Q&A: part 1.pdf", kDoc, L"Q&A_ part 1_5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab.pdf"},
        {L"x.txt", L"..\\..\\x", L"x_.._.._x.txt"},
        {L"x.txt", L"../../y", L"x_.._.._y.txt"},
        {L"a\"b|c<d>e*f?g\tz.t:xt", L"C:\\w", L"a_b_c_d_e_f_g_z_C__w.t_xt"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const TESSARYDOCUMENTATTACHMENTDATA attachment = Attachment(L"a" + std::to_wstring(++n), c.name, c.documentGuid);
        EXPECT_EQ(folder.Path() + L"Attachments\\" + c.fileName, db.GetAttachmentFileName(attachment)) << c.name;
        auto stream = NewStream("bytes " + std::to_string(n));
        EXPECT_TRUE(db.UpdateAttachment(attachment, stream.Get())) << c.name;
        EXPECT_EQ("bytes " + std::to_string(n), FileBytes(folder.Path() + L"Attachments\\" + c.fileName)) << c.name;
    }
    // Nothing was written beside the database but the Attachments folder.
    std::vector<std::wstring> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        entries.push_back(entry.path().filename().wstring());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Attachments", L"index.db"}), entries);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path() + L"Attachments"))
        EXPECT_TRUE(entry.is_regular_file()) << entry.path();

    EXPECT_EQ(L"a_b_c\x7F" L"d", TessaryCleanFileNamePiece(L"a\x01" L"b\x1F" L"c\x7F" L"d"));
    EXPECT_EQ(L"____ ok", TessaryCleanFileNamePiece(L"\\/:| ok"));
}

TEST(AttachmentFileName, OverlongNamesLoseTheEndOfTheirTitleNeverHalfACharacter)
{
    const std::wstring guid = std::wstring(L"_") + kDoc;
    // 100 characters beyond 16 bits: 400 bytes of UTF-8, so 53 whole pairs stay.
    const std::wstring seedling = L"\U0001F331";
    EXPECT_EQ(Repeated(seedling, 53) + guid + L".txt",
              TessaryAttachmentFileName((Repeated(seedling, 100) + L".txt").c_str(), kDoc, 10));
    // A folder of 200 characters leaves 59 for the name within MAX_PATH.
    EXPECT_EQ(std::wstring(18, L'x') + guid + L".txt",
              TessaryAttachmentFileName((std::wstring(100, L'x') + L".txt").c_str(), kDoc, 200));
    // The title keeps its one character; then the extension gives way.
    EXPECT_EQ(L"x" + guid + L"." + std::wstring(216, L'e'),
              TessaryAttachmentFileName((L"x." + std::wstring(300, L'e')).c_str(), kDoc, 0));
}

TEST_F(DatabaseUpdates, AttachmentsOfOneNameShareOneFile)
{
    auto first = NewStream("first");
    auto second = NewStream("second");
    ASSERT_TRUE(db.UpdateAttachment(Attachment(L"a1", L"same.txt"), first.Get()));
    ASSERT_TRUE(db.UpdateAttachment(Attachment(L"a2", L"same.txt"), second.Get()));
    EXPECT_EQ(db.GetAttachmentFileName(Attachment(L"a1", L"same.txt")),
              db.GetAttachmentFileName(Attachment(L"a2", L"same.txt")));
    EXPECT_EQ("second", FileBytes(db.GetAttachmentFileName(Attachment(L"a1", L"same.txt"))));

    // A changed attachment row keeps its key and takes every other column.
    TESSARYDOCUMENTATTACHMENTDATA changed = Attachment(L"a1", L"renamed.txt");
    changed.description.clear();
    changed.version = 8;
    ASSERT_TRUE(db.UpdateAttachment(changed, nullptr));
    RawDatabase raw(folder.Path() + L"index.db");
    EXPECT_EQ((std::vector<std::string>{"renamed.txt", "<NULL>", "8"}),
              raw.Cells("select ATTACHMENT_NAME, ATTACHMENT_DESCRIPTION, QEL_VERSION from "
                        "QEL_READER_DOCUMENT_ATTACHMENT where ATTACHMENT_GUID='a1'"));
}

TEST_F(DatabaseUpdates, UnwritableAttachmentFileClearsTheRowsMD5AndFails)
{
    const TESSARYDOCUMENTATTACHMENTDATA attachment = Attachment(L"a1", L"blocked.txt");
    std::filesystem::create_directories(db.GetAttachmentFileName(attachment));
    CLogCapture log;
    auto stream = NewStream("bytes");
    EXPECT_FALSE(db.UpdateAttachment(attachment, stream.Get()));
    EXPECT_TRUE(log.Contains(L"Failed to save attachment: blocked.txt")) << log.Text();
    RawDatabase raw(folder.Path() + L"index.db");
    EXPECT_EQ("<NULL>", raw.Cell("select ATTACHMENT_DATA_MD5 from QEL_READER_DOCUMENT_ATTACHMENT"));

    auto again = NewStream("bytes");
    EXPECT_FALSE(db.UpdateAttachment(attachment, again.Get()));
    EXPECT_EQ("<NULL>", raw.Cell("select ATTACHMENT_DATA_MD5 from QEL_READER_DOCUMENT_ATTACHMENT"));
    EXPECT_EQ("1", raw.Cell("select count(*) from QEL_READER_DOCUMENT_ATTACHMENT"));
}

TEST_F(DatabaseUpdates, InsertAndModifyCalledDirectly)
{
    CLogCapture log;
    EXPECT_FALSE(db.ModifyDocument(Document(L"m1"), nullptr));
    EXPECT_TRUE(log.Contains(L"Failed to get document by guid: A title")) << log.Text();
    EXPECT_EQ("0", Raw("select count(*) from QEL_READER_DOCUMENT"));

    auto data = NewStream("zip bytes");
    ASSERT_TRUE(db.InsertDocument(Document(L"m1"), data.Get()));
    EXPECT_EQ("zip bytes", Unseal(FileBytes(DataFile())));
    // A second insert of the same key fails at the statement and keeps the first row.
    EXPECT_FALSE(db.InsertDocument(Document(L"m2"), nullptr));
    EXPECT_EQ("m1", RawDocument("DOCUMENT_DATA_MD5"));
    TESSARYDOCUMENTDATA changed = Document(L"m1");
    changed.title = L"Changed";
    ASSERT_TRUE(db.ModifyDocument(changed, nullptr));
    EXPECT_EQ("Changed", RawDocument("DOCUMENT_TITLE"));
    EXPECT_TRUE(std::filesystem::exists(DataFile()));

    // An attachment update of a row that does not exist changes nothing and succeeds.
    ASSERT_TRUE(db.ModifyAttachment(Attachment(L"a1", L"x.txt"), nullptr));
    EXPECT_EQ("0", Raw("select count(*) from QEL_READER_DOCUMENT_ATTACHMENT"));
    auto bytes = NewStream("attached");
    ASSERT_TRUE(db.InsertAttachment(Attachment(L"a1", L"x.txt"), bytes.Get()));
    EXPECT_EQ("attached", FileBytes(db.GetAttachmentFileName(Attachment(L"a1", L"x.txt"))));
    EXPECT_FALSE(db.InsertAttachment(Attachment(L"a1", L"y.txt"), nullptr));
    ASSERT_TRUE(db.ModifyAttachment(Attachment(L"a1", L"y.txt"), nullptr));
    EXPECT_EQ("y.txt", Raw("select ATTACHMENT_NAME from QEL_READER_DOCUMENT_ATTACHMENT"));
}

TEST_F(DatabaseUpdates, SingleValueReads)
{
    ASSERT_TRUE(db.UpdateDocument(Document(L"m1"), nullptr));
    std::wstring text = L"untouched";
    EXPECT_TRUE(db.SQLToString(L"select DOCUMENT_TITLE, DOCUMENT_DATA_MD5 from QEL_READER_DOCUMENT", 1, text));
    EXPECT_EQ(L"m1", text);
    text = L"untouched";
    EXPECT_FALSE(db.SQLToString(L"select DOCUMENT_TITLE from QEL_READER_DOCUMENT where 0", 0, text));
    EXPECT_EQ(L"untouched", text);
    CLogCapture log;
    EXPECT_FALSE(db.SQLToString(L"select nothing from nowhere", 0, text));
    EXPECT_TRUE(log.Contains(L"SQLITE_ERROR[1]: ")) << log.Text();
    EXPECT_TRUE(log.Contains(L"select nothing from nowhere")) << log.Text();
}
