#include "foundation/FileCompare.h"
#include "foundation/Global.h"
#include "foundation/URL.h"

#include "LocalHttpServer.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string FileText(const std::wstring& path)
{
    const std::vector<unsigned char> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + (i * 7) % 26);
    return bytes;
}

// Each test names its files after itself: the temporary folder is shared.
std::string Unique(const char* name)
{
    return "/" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

// Records what the download reports and hands it on.
class CRecordingURL : public CQelURL {
public:
    using CQelURL::CQelURL;
    struct Call {
        ULONG progress, progressMax, statusCode;
        std::wstring text;
    };
    std::vector<Call> calls;

    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText) override
    {
        calls.push_back({progress, progressMax, statusCode, statusText ? statusText : L""});
        return CQelURL::OnProgress(progress, progressMax, statusCode, statusText);
    }
};

TEST(URL, NormalisesWebUrlsFileUrlsAndDrivePaths)
{
    EXPECT_EQ(L"", CQelURL(L"", 0).GetURL());
    EXPECT_EQ(L"http://example.com/pics/a.png", CQelURL(L"//example.com/pics/a.png", 0).GetURL());
    EXPECT_EQ(L"http://example.com/a b.png", CQelURL(L"http://example.com/a%20b.png", 0).GetURL());
    EXPECT_EQ(L"http://example.com/x[1]{2}.png", CQelURL(L"http://example.com/x%5B1%5D%7B2%7D.png", 0).GetURL());
    EXPECT_EQ(L"C:\\My Pictures\\a b.png", CQelURL(L"file:///C:/My%20Pictures/a%20b.png", 0).GetURL());
    EXPECT_EQ(L"C:\\dir\\file.txt", CQelURL(L"C:\\dir\\file.txt", 0).GetURL());
    CQelURL drive(L"C:\\dir\\file.txt", 0);
    EXPECT_TRUE(drive.IsDrivePath());
    EXPECT_TRUE(drive.IsFileURL());
    EXPECT_EQ(L"C:\\dir\\file.txt", drive.ToFilePath());
    EXPECT_FALSE(CQelURL(L"http://example.com/", 0).IsFileURL());
    EXPECT_EQ(L"", CQelURL(L"http://example.com/", 0).ToFilePath());
}

TEST(URL, EscapedUtf8IsDecodedAsUtf8)
{
    // "中文.png" escaped as UTF-8: valid bytes in most ANSI code pages too, but meant as UTF-8.
    EXPECT_EQ(L"http://example.com/\u4E2D\u6587.png", CQelURL(L"http://example.com/%E4%B8%AD%E6%96%87.png", 0).GetURL());
    // "é" in UTF-8 is two bytes; in code page 1252 it is one byte, which is no UTF-8.
    EXPECT_EQ(L"http://example.com/caf\u00E9.png", CQelURL(L"http://example.com/caf%C3%A9.png", 0).GetURL());
    EXPECT_EQ(L"http://example.com/caf\u00E9.png", CQelURL(L"http://example.com/caf%E9.png", 1252).GetURL());
}

TEST(URL, PartsAndBase)
{
    const CQelURL url(L"http://example.com:8080/books/a/page.htm?x=1&y=2#top", 0);
    EXPECT_EQ(L"example.com", url.GetHost());
    EXPECT_EQ(L"x=1&y=2", CQelURL(L"http://example.com/page.htm?x=1&y=2", 0).GetQuery());
    EXPECT_EQ(L"books/a/page.htm", url.GetPath());
    EXPECT_EQ(L"http://example.com:8080/books/a/", url.GetBaseURL().GetURL());
    EXPECT_EQ(L"C:\\dir\\", CQelURL(L"C:\\dir\\file.txt", 0).GetBaseURL().GetURL());
    EXPECT_FALSE(url.HasEscapes());
    CQelURL raw;
    raw.SetURL(L"http://example.com/a%20b");
    EXPECT_TRUE(raw.HasEscapes());
}

TEST(URL, CombineResolvesRelativeAddressesAndKeepsResourcePaths)
{
    CQelURL url(L"http://example.com/books/a/page.htm?x=1", 0);
    EXPECT_TRUE(url.Combine(L"img/p%20q.png"));
    EXPECT_EQ(L"http://example.com/books/a/img/p q.png", url.GetURL());
    EXPECT_TRUE(url.Combine(L"../b.htm"));
    EXPECT_EQ(L"http://example.com/books/a/b.htm", url.GetURL());
    EXPECT_TRUE(url.Combine(L"%ResourceFilePath%/style.css"));
    EXPECT_EQ(L"%ResourceFilePath%/style.css", url.GetURL());
    EXPECT_TRUE(url.Combine(L"C:\\pics\\a.png"));
    EXPECT_EQ(L"C:\\pics\\a.png", url.GetURL());
}

TEST(URL, SameIgnoresCaseAndShortPathForms)
{
    EXPECT_TRUE(CQelURL(L"http://Example.com/Page.htm", 0).IsSame(CQelURL(L"http://example.com/page.htm", 0)));
    EXPECT_FALSE(CQelURL(L"http://example.com/a.htm", 0).IsSameText(L"http://example.com/b.htm"));

    TestFolder folder;
    const std::wstring longName = folder / L"a rather long folder name";
    ASSERT_TRUE(CreateDirectoryW(longName.c_str(), nullptr));
    const std::wstring file = longName + L"\\document with long name.htm";
    WriteText(file, "x");
    wchar_t shortPath[MAX_PATH] = L"";
    ASSERT_NE(0u, GetShortPathNameW(file.c_str(), shortPath, MAX_PATH));
    ASSERT_NE(file, std::wstring(shortPath));
    EXPECT_TRUE(CQelURL(file.c_str(), 0).IsSameText(shortPath));
}

TEST(URL, CopiesTakeTheUrlOnlyAndRedirectsAreRemembered)
{
    CQelURL url(L"http://example.com/a.png", 0);
    EXPECT_EQ(S_OK, url.OnProgress(0, 0, BINDSTATUS_REDIRECTING, L"http://example.com/b.png"));
    EXPECT_EQ(L"http://example.com/b.png", url.GetRedirectURL());
    EXPECT_EQ(S_OK, url.OnProgress(10, 100, BINDSTATUS_DOWNLOADINGDATA, L"http://example.com/b.png"));
    EXPECT_EQ(L"http://example.com/b.png", url.GetRedirectURL());

    CQelURL copy(url);
    EXPECT_EQ(url.GetURL(), copy.GetURL());
    EXPECT_EQ(L"", copy.GetRedirectURL());
    CQelURL assigned;
    assigned.OnProgress(0, 0, BINDSTATUS_REDIRECTING, L"http://elsewhere/");
    assigned = url;
    EXPECT_EQ(L"", assigned.GetRedirectURL());
    url.SetURL(L"HTTP://raw%20text");
    EXPECT_EQ(L"HTTP://raw%20text", url.GetURL());
    EXPECT_EQ(L"", url.GetRedirectURL());
}

TEST(URL, QueryInterfaceFollowsComRules)
{
    CQelURL url(L"http://example.com/", 0);
    void* out = nullptr;
    EXPECT_EQ(S_OK, url.QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<IBindStatusCallback*>(&url), out);
    out = nullptr;
    EXPECT_EQ(S_OK, url.QueryInterface(IID_IBindStatusCallback, &out));
    EXPECT_EQ(static_cast<IBindStatusCallback*>(&url), out);
    out = &url;
    EXPECT_EQ(E_NOINTERFACE, url.QueryInterface(IID_IHttpNegotiate, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, url.QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(1u, url.AddRef());
    EXPECT_EQ(1u, url.Release());
}

TEST(URLDownload, ReportsProgressAndCopiesIntoTheTemporaryFolder)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    const std::string path = Unique("progress.bin");
    LocalHttpServer::Response response;
    response.body = Pattern(64 * 1024);
    response.pauseEveryKilobyteMs = 1;
    server.Route(path, response);

    CRecordingURL url(server.Url(path.c_str()).c_str(), 0);
    std::wstring out;
    ASSERT_TRUE(url.DownloadToFile(out));
    EXPECT_EQ(TessaryGetGlobal()->GetTempFolder(), out.substr(0, out.rfind(L'\\') + 1));
    EXPECT_EQ(response.body, FileText(out));
    EXPECT_EQ(1, server.Hits(path));

    ASSERT_FALSE(url.calls.empty());
    const auto& last = url.calls.back();
    EXPECT_EQ(static_cast<ULONG>(BINDSTATUS_ENDDOWNLOADDATA), last.statusCode);
    EXPECT_EQ(response.body.size(), last.progress);
    bool downloading = false;
    for (const auto& call : url.calls)
        downloading |= call.statusCode == BINDSTATUS_DOWNLOADINGDATA && call.progress > 0 &&
                       call.progress <= response.body.size();
    EXPECT_TRUE(downloading);
    DeleteFileW(out.c_str());

    // The cache now answers without asking the server, whatever the scheme's case and fragment.
    CQelURL again((server.Url(path.c_str()) + L"#part").c_str(), 0);
    again.SetURL(std::wstring(L"HTTP" + again.GetURL().substr(4)).c_str());
    std::wstring cached;
    again.GetLocalFile(cached, false);
    EXPECT_FALSE(cached.empty());
    EXPECT_EQ(response.body, FileText(cached));
    EXPECT_EQ(1, server.Hits(path));
}

TEST(URLDownload, AnAddressTheCacheRefusesIsDownloadedUnderAnOwnName)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    const std::string path = Unique("api") + "/";
    LocalHttpServer::Response response;
    response.body = "<Ads><Ad Title=\"One\" URL=\"http://example.com/\"/></Ads>";
    server.Route(path, response);

    CQelURL url(server.Url((path + "?p=tessary&c=ad&a=&url=&t=1").c_str()).c_str(), 0);
    std::wstring out;
    ASSERT_TRUE(url.DownloadToFile(out));
    EXPECT_EQ(TessaryGetGlobal()->GetTempFolder(), out.substr(0, out.rfind(L'\\') + 1));
    EXPECT_EQ(response.body, FileText(out));

    std::wstring safe;
    EXPECT_TRUE(url.GetSafeLocalFileExists(safe, true));
    EXPECT_EQ(response.body, FileText(safe));
    EXPECT_NE(out, safe) << "a second download, under a name of its own";
    DeleteFileW(out.c_str());
    DeleteFileW(safe.c_str());
}

TEST(URLDownload, ALocalCopyUnderAnEscapedNameStaysInTheTemporaryFolder)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    // The cache keeps the escapes in its file name; unescaped they would climb two folders.
    const std::string path = "/..%5C..%5C" + Unique("climber.txt").substr(1);
    LocalHttpServer::Response response;
    response.body = "climbed";
    server.Route(path, response);
    CQelURL url;
    url.SetURL(server.Url(path.c_str()).c_str());
    std::wstring out;
    url.GetLocalFile(out, true);
    wchar_t full[MAX_PATH] = {};
    ASSERT_NE(0u, GetFullPathNameW(out.c_str(), MAX_PATH, full, nullptr)) << out;
    const std::wstring temp = TessaryGetGlobal()->GetTempFolder();
    EXPECT_EQ(temp, std::wstring(full).substr(0, temp.size())) << full;
    EXPECT_EQ(std::wstring::npos, std::wstring(full).find(L'\\', temp.size())) << full;
    EXPECT_EQ("climbed", FileText(full));
    DeleteFileW(full);
}

TEST(URLDownload, FailedDownloadGivesNoFile)
{
    std::wstring address;
    {
        LocalHttpServer closed;
        address = closed.Url(Unique("gone.png").c_str());
    }
    CQelURL url(address.c_str(), 0);
    std::wstring out = L"old";
    EXPECT_FALSE(url.DownloadToFile(out));
    EXPECT_EQ(L"", out);
    url.GetLocalFile(out, true);
    EXPECT_EQ(L"", out);
    EXPECT_FALSE(url.GetSafeLocalFileExists(out, true));
    EXPECT_EQ(L"", out);
    url.GetLocalFile(out, false);
    EXPECT_EQ(L"", out) << "no cache entry and no permission to download";
}

TEST(URLSafeLocalFile, NamesAreCleanedOrHashedAndCopiesSkippedWhenAlreadyThere)
{
    TestFolder folder;
    const std::wstring temp = TessaryGetGlobal()->GetTempFolder();
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());

    const std::wstring plain = folder / (L"plain_" + tag + L"[1].png").c_str();
    WriteText(plain, "plain");
    std::wstring out;
    CQelURL(plain.c_str(), 0).GetSafeLocalFile(out, false);
    EXPECT_EQ(plain, out) << "a clean name is used where it lies";

    const std::wstring blanks = folder / (L"a b+c " + tag + L".png").c_str();
    WriteText(blanks, "blanks");
    CQelURL(blanks.c_str(), 0).GetSafeLocalFile(out, false);
    EXPECT_EQ(temp + L"a_b_c_" + tag + L".png", out);
    EXPECT_EQ("blanks", FileText(out));
    std::wstring second;
    CQelURL(blanks.c_str(), 0).GetSafeLocalFile(second, false);
    EXPECT_EQ(out, second) << "the same bytes are already there";
    DeleteFileW(out.c_str());

    std::wstring title50 = L"x-" + tag;
    title50.resize(50, L'y');
    const std::wstring fifty = folder / (title50 + L".gif").c_str();
    WriteText(fifty, "fifty");
    CQelURL(fifty.c_str(), 0).GetSafeLocalFile(out, false);
    std::wstring cleaned = title50;
    cleaned[1] = L'_';
    EXPECT_EQ(temp + cleaned + L".gif", out);
    DeleteFileW(out.c_str());

    const std::wstring title51 = title50 + L"z";
    const std::wstring fiftyOne = folder / (title51 + L".gif").c_str();
    WriteText(fiftyOne, "fifty-one");
    CQelURL(fiftyOne.c_str(), 0).GetSafeLocalFile(out, false);
    const std::wstring name = out.substr(temp.size());
    EXPECT_EQ(36u, name.size());
    EXPECT_EQ(std::wstring::npos, name.substr(0, 32).find_first_not_of(L"0123456789abcdef"));
    EXPECT_EQ(L".gif", name.substr(32));
    EXPECT_EQ("fifty-one", FileText(out));
    DeleteFileW(out.c_str());

    CQelURL((folder.Path() + L"missing.png").c_str(), 0).GetSafeLocalFile(out, false);
    EXPECT_EQ(L"", out);
}

TEST(FileCompare, DigestsDecideAndCopiesGoToAFreeName)
{
    TestFolder folder;
    const std::wstring a = folder / L"a.txt", b = folder / L"b.txt", c = folder / L"c.txt";
    WriteText(a, "same");
    WriteText(b, "same");
    WriteText(c, "other");
    EXPECT_EQ(0, QelCompareFiles(a.c_str(), b.c_str()));
    EXPECT_EQ(0, QelCompareFiles(a.c_str(), (folder / L"A.TXT").c_str()));
    // The digest of "same" begins 51 03, that of "other" 79 5f (Python's hashlib).
    EXPECT_EQ(-1, QelCompareFiles(a.c_str(), c.c_str()));
    EXPECT_EQ(1, QelCompareFiles(c.c_str(), a.c_str()));
    EXPECT_EQ(-1, QelCompareFiles((folder / L"none.txt").c_str(), a.c_str()));
    EXPECT_EQ(1, QelCompareFiles(a.c_str(), (folder / L"none.txt").c_str()));

    EXPECT_EQ(b, QelCopyFileIfDifferent(a.c_str(), b.c_str()));
    const std::wstring copied = QelCopyFileIfDifferent(c.c_str(), b.c_str());
    EXPECT_EQ(folder / L"b_2.txt", copied);
    EXPECT_EQ("other", FileText(copied));
    EXPECT_EQ("same", FileText(b));
    const std::wstring fresh = QelCopyFileIfDifferent(c.c_str(), (folder / L"new.txt").c_str());
    EXPECT_EQ(folder / L"new.txt", fresh);
    EXPECT_EQ("other", FileText(fresh));
}

} // namespace

