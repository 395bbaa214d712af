#include "librarydata/AdList.h"

#include "foundation/Encoding.h"
#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Settings.h"
#include "foundation/TextFiles.h"
#include "foundation/URL.h"
#include "foundation/XMLDocument.h"
#include "librarydata/ServiceHosts.h"

#include <shlwapi.h>

namespace {

std::wstring TickCountText()
{
    return std::to_wstring(static_cast<unsigned long>(::GetTickCount()));
}

std::wstring LowerAscii(const wchar_t* text)
{
    std::wstring out = text ? text : L"";
    for (wchar_t& c : out) {
        if (c >= L'A' && c <= L'Z')
            c = wchar_t(c - L'A' + L'a');
    }
    return out;
}

// The UTF-8 bytes of the text, every byte that may not stand in a query
// escaped; what does not fit the 4096-byte room is dropped whole.
std::wstring CanonicalizeArgument(const wchar_t* url)
{
    std::string bytes;
    QelUnicodeToMultiByte(bytes, CP_UTF8, url ? url : L"");
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring out;
    for (const unsigned char c : bytes) {
        if (c <= 0x20 || c >= 0x7F || std::wcschr(L"\"<>\\^`{|}", wchar_t(c))) {
            out += L'%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += wchar_t(c);
        }
    }
    return out.size() < 4096 ? out : std::wstring();
}

// Deletes the file when the scope ends.
class CTemporaryFile
{
public:
    explicit CTemporaryFile(std::wstring path) : m_path(std::move(path)) {}
    ~CTemporaryFile() { ::DeleteFileW(m_path.c_str()); }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

private:
    std::wstring m_path;
};

BOOL StoreAdList(const wchar_t* settingsFile, const wchar_t* rootName, const std::vector<QELADDATA>& ads)
{
    // Held from the load to the save, so that no other writer's save falls between.
    CQelSettingsFileLock lock;
    CQelXMLDocument document;
    // A file that is there but does not load would be replaced by a document
    // holding the advertisements alone, losing every other setting: give up.
    // No parse-error box either: this runs on the sync's worker thread.
    if (!QelLoadSettingsFileForUpdate(settingsFile, document, FALSE)) {
        TessaryWriteLog(QelFormatString1(
            L"Failed to store the advertisement list, the settings file does not load: %1", settingsFile));
        return FALSE;
    }
    CQelXMLNode root;
    CQelXMLNode adsNode;
    if (!document.FindOrAppendChildNode(rootName, root) || !root.FindOrAppendChildNode(L"Ads", adsNode))
        return FALSE;
    adsNode.DeleteAllChildNodes();
    for (const QELADDATA& ad : ads) {
        CQelXMLNode node;
        if (!adsNode.AppendChildNode(L"Ad", node) || !node.SetAttributeText(L"Title", ad.title.c_str()) ||
            !node.SetAttributeText(L"URL", ad.url.c_str()))
            return FALSE;
    }
    if (!document.SaveToFile(settingsFile)) {
        TessaryWriteLog(QelFormatString1(L"Failed to save xml file: %1", settingsFile));
        return FALSE;
    }
    return TRUE;
}

BOOL LoadAdListFromText(const wchar_t* file, const wchar_t* rootName, std::vector<QELADDATA>& ads)
{
    std::wstring text;
    if (!QelLoadTextFileEx(file, text, QEL_TEXT_XML, 0))
        return FALSE;
    CQelXMLDocument document;
    if (!document.LoadXML(text.c_str()))
        return FALSE;
    CQelXMLNode adsNode;
    if (rootName) {
        CQelXMLNode root;
        if (!document.FindChildNode(rootName, root) || !root.FindChildNode(L"Ads", adsNode))
            return FALSE;
    } else if (!document.FindChildNode(L"Ads", adsNode)) {
        return FALSE;
    }
    return QelLoadADListFromNode(adsNode, ads);
}

}  // namespace

BOOL TessaryDownloadAds(const wchar_t* url)
{
    return TessaryUpdateAdList(L"Tessary", url, QelGetSettingsFileName().c_str(), L"Tessary", nullptr);
}

BOOL TessaryUpdateAdList(const wchar_t* product, const wchar_t* url, const wchar_t* settingsFile,
                         const wchar_t* rootName, const wchar_t* version)
{
    std::wstring destination = TessaryGetGlobal()->GetTempFolder() + TickCountText() + L".xml";
    QelMakeUniqueFileName(destination);
    const CTemporaryFile answer(destination);
    if (!TessaryFetchAdAnswer(product, url, destination.c_str(), version))
        return FALSE;
    std::vector<QELADDATA> ads;
    if (!QelLoadADListFromFile(destination.c_str(), ads)) {
        TessaryWriteLog(QelFormatString1(L"Failed to read the advertisement list: %1", destination.c_str()));
        return FALSE;
    }
    return StoreAdList(settingsFile, rootName, ads);
}

BOOL TessaryFetchAdAnswer(const wchar_t* product, const wchar_t* url, const wchar_t* destination,
                          const wchar_t* version)
{
    const std::wstring fileVersion =
        version && *version ? std::wstring(version) : QelGetFileVersionString(QelGetExePath().c_str());
    const std::wstring request =
        TessaryFormatApiUrl(LowerAscii(product).c_str(), QelIntToStr(int(::GetUserDefaultLCID())).c_str(),
                            fileVersion.c_str(), L"ad", L"") +
        L"&url=" + CanonicalizeArgument(url) + L"&t=" + TickCountText();
    CQelURL location(request.c_str(), 0);
    std::wstring local;
    location.GetSafeLocalFile(local, true);
    if (local.empty() || !::PathFileExistsW(local.c_str())) {
        TessaryWriteLog(QelFormatString1(L"Failed to download the advertisement list: %1", request.c_str()));
        return FALSE;
    }
    // The downloaded copy goes whether or not it reaches the destination.
    const CTemporaryFile downloaded(local);
    if (!QelCopyFile(local.c_str(), destination, FALSE)) {
        // Formatted in two pieces: a "%2" in the first path must not take the second.
        TessaryWriteLog(QelFormatString1(L"Failed to copy %1", local.c_str()) +
                        QelFormatString1(L" to %1", destination));
        return FALSE;
    }
    return TRUE;
}

std::wstring TessaryFormatApiUrl(const wchar_t* product, const wchar_t* lcid, const wchar_t* version,
                                 const wchar_t* command, const wchar_t* argument)
{
    // Each value is put in on its own: filled in turn, a "%2" in the product
    // would take the locale id.
    const auto text = [](const wchar_t* value) { return std::wstring(value ? value : L""); };
    return std::wstring(L"http://") + TESSARY_WEB_API_HOST + L"/api/?p=" + text(product) + L"&l=" + text(lcid) +
           L"&v=" + text(version) + L"&c=" + text(command) + L"&a=" + text(argument);
}

BOOL QelLoadADListFromFile(const wchar_t* file, std::vector<QELADDATA>& ads)
{
    return LoadAdListFromText(file, nullptr, ads);
}

BOOL QelLoadADListFromXmlFile(const wchar_t* file, const wchar_t* rootName, std::vector<QELADDATA>& ads)
{
    return LoadAdListFromText(file, rootName ? rootName : L"", ads);
}

BOOL QelLoadADListFromNode(const CQelXMLNode& adsNode, std::vector<QELADDATA>& ads)
{
    std::vector<CQelXMLNode> children;
    if (!adsNode.GetAllChildNodes(children))
        return FALSE;
    for (const CQelXMLNode& child : children) {
        QELADDATA ad;
        ad.title = child.GetAttributeText(L"Title", L"");
        ad.url = child.GetAttributeText(L"URL", L"");
        if (!ad.title.empty() && !ad.url.empty())
            ads.push_back(ad);
    }
    return TRUE;
}
