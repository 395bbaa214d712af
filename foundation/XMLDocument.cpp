#include "foundation/XMLDocument.h"

#include "foundation/Files.h"
#include "foundation/Global.h"
#include "foundation/MessageBox.h"
#include "foundation/MessageFormat.h"
#include "foundation/TextFiles.h"
#include "foundation/XMLText.h"
#include "framework/Bstr.h"

#include <shlwapi.h>

#include <cwchar>
#include <mutex>
#include <set>

using Microsoft::WRL::ComPtr;

namespace {

// Boxes belong to the user-interface thread: the one that started the program.
const DWORD g_startThreadId = ::GetCurrentThreadId();

void ReportCreateFailure(const wchar_t* format, HRESULT hr)
{
    wchar_t text[96] = {};
    swprintf(text, sizeof text / sizeof text[0], format, static_cast<unsigned>(hr));
    TessaryGetGlobal()->WriteLog(text);
    if (QelAreMessageBoxesEnabled() && ::GetCurrentThreadId() == g_startThreadId)
        ::MessageBoxW(::GetForegroundWindow(), text, nullptr, MB_OK);
}

}  // namespace

BOOL QelClaimParseErrorBox(const wchar_t* source)
{
    if (!QelAreMessageBoxesEnabled() || ::GetCurrentThreadId() != g_startThreadId)
        return FALSE;
    std::wstring key = source ? source : L"";
    if (!key.empty())
        ::CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
    static std::mutex lock;
    static std::set<std::wstring> shown;
    std::lock_guard<std::mutex> guard(lock);
    return shown.insert(key).second ? TRUE : FALSE;
}

CQelXMLDocument::CQelXMLDocument()
{
    Create();
}

CQelXMLDocument::CQelXMLDocument(IXMLDOMDocument* document) : m_document(document)
{
}

BOOL CQelXMLDocument::Create()
{
    if (m_document)
        return FALSE;
    CLSID clsid = {};
    HRESULT hr = ::CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid);
    if (FAILED(hr))
        hr = ::CLSIDFromProgID(L"MSXML.DOMDocument", &clsid);
    if (FAILED(hr)) {
        ReportCreateFailure(L"No MSXML Installed, HRESULT=0x%08X", hr);
        return FALSE;
    }
    constexpr DWORD anyContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    hr = ::CoCreateInstance(clsid, nullptr, anyContext, IID_IXMLDOMDocument,
                            reinterpret_cast<void**>(m_document.ReleaseAndGetAddressOf()));
    if (FAILED(hr) || !m_document) {
        m_document.Reset();
        ReportCreateFailure(L"Failed to create XMLDocument, HRESULT=0x%08X", hr);
        return FALSE;
    }
    return TRUE;
}

void CQelXMLDocument::Clear()
{
    if (!m_document)
        return;
    m_document.Reset();
    Create();
}

IXMLDOMNode* CQelXMLDocument::AsNode() const
{
    return m_document.Get();
}

BOOL CQelXMLDocument::LoadXML(const wchar_t* text)
{
    if (!m_document)
        return FALSE;
    std::wstring copy = text ? text : L"";
    QelRemoveXMLDeclEncoding(copy);
    CBstr xml(copy);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    return SUCCEEDED(m_document->loadXML(xml.Get(), &loaded)) && loaded == VARIANT_TRUE ? TRUE : FALSE;
}

BOOL CQelXMLDocument::LoadFromFile(const wchar_t* path, BOOL report)
{
    if (!m_document || !path)
        return FALSE;
    // An empty or truncated file is started afresh.
    if (QelGetFileSize(path) < 10)
        ::DeleteFileW(path);
    if (!::PathFileExistsW(path))
        return FALSE;
    // The parser's own file loading takes the path for a URL, so the bytes are
    // read and decoded here.
    std::wstring text;
    if (!QelLoadTextFileEx(path, text, QEL_TEXT_XML, 0)) {
        Clear();
        return FALSE;
    }
    if (LoadXML(text.c_str()))
        return TRUE;
    if (report)
        ReportParseError(path);
    return FALSE;
}

BOOL CQelXMLDocument::ReportParseError(const wchar_t* source)
{
    m_parseErrorReason.clear();
    m_parseErrorSource.clear();
    if (!m_document)
        return TRUE;
    ComPtr<IXMLDOMParseError> error;
    if (FAILED(m_document->get_parseError(&error)) || !error)
        return FALSE;
    long code = 0;
    if (FAILED(error->get_errorCode(&code)) || code == 0)
        return FALSE;
    CBstr reason;
    if (SUCCEEDED(error->get_reason(reason.Receive())) && !reason.IsNull()) {
        m_parseErrorReason = reason.ToString();
        TessaryGetGlobal()->WriteLog(m_parseErrorReason.c_str());
        if (QelClaimParseErrorBox(source))
            QelErrorBox(m_parseErrorReason.c_str(), 0, nullptr);
    }
    CBstr sourceText;
    if (SUCCEEDED(error->get_srcText(sourceText.Receive())) && !sourceText.IsNull()) {
        m_parseErrorSource = sourceText.ToString();
        TessaryGetGlobal()->WriteLog(m_parseErrorSource.c_str());
    }
    return TRUE;
}

BOOL CQelXMLDocument::GetXML(std::wstring& text, BOOL layout) const
{
    if (!m_document)
        return FALSE;
    CBstr xml;
    if (FAILED(m_document->get_xml(xml.Receive())) || xml.IsNull() || xml.Length() == 0)
        return FALSE;
    text = xml.ToString();
    if (layout) {
        // The DOM may end its text with a line break; a laid-out file never does.
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
            text.pop_back();
        QelIndentXMLText(text);
    }
    return TRUE;
}

BOOL CQelXMLDocument::SaveToFile(const wchar_t* path) const
{
    std::wstring text;
    if (!path || !GetXML(text, TRUE))
        return FALSE;
    return QelSaveUnicodeTextFile(path, text.c_str());
}

BOOL CQelXMLDocument::FindChildNode(const wchar_t* name, CQelXMLNode& node) const
{
    return m_document && QelXml::FindChild(AsNode(), m_document.Get(), name, node);
}

BOOL CQelXMLDocument::AppendChildNode(const wchar_t* name, CQelXMLNode& node)
{
    if (!m_document)
        return FALSE;
    // A second document element would make a file that cannot be read back,
    // and not every DOM refuses it.
    ComPtr<IXMLDOMElement> root;
    if (SUCCEEDED(m_document->get_documentElement(&root)) && root)
        return FALSE;
    return QelXml::AppendChild(AsNode(), m_document.Get(), name, node);
}

BOOL CQelXMLDocument::FindOrAppendChildNode(const wchar_t* name, CQelXMLNode& node)
{
    return m_document && (FindChildNode(name, node) || AppendChildNode(name, node));
}

BOOL CQelXMLDocument::FindChildNodeOfChild(const wchar_t* name1, const wchar_t* name2, CQelXMLNode& node) const
{
    CQelXMLNode parent;
    return FindChildNode(name1, parent) && parent.FindChildNode(name2, node);
}

BOOL CQelXMLDocument::FindOrAppendChildNodeOfChild(const wchar_t* name1, const wchar_t* name2, CQelXMLNode& node)
{
    CQelXMLNode parent;
    return FindOrAppendChildNode(name1, parent) && parent.FindOrAppendChildNode(name2, node);
}

BOOL CQelXMLDocument::FindNodeByPath(const wchar_t* path, CQelXMLNode& node) const
{
    return m_document && QelXml::FindPath(AsNode(), m_document.Get(), path, node);
}

BOOL CQelXMLDocument::GetNodeTextByPath(const wchar_t* path, std::wstring& text) const
{
    CQelXMLNode node;
    return FindNodeByPath(path, node) && node.QueryText(text);
}

BOOL CQelXMLDocument::GetAllChildNodes(std::vector<CQelXMLNode>& nodes) const
{
    nodes.clear();
    return m_document && QelXml::GetChildren(AsNode(), m_document.Get(), nodes);
}

BOOL CQelXMLDocument::GetAllChildNodeNames(std::vector<std::wstring>& names) const
{
    names.clear();
    return m_document && QelXml::GetChildNames(AsNode(), m_document.Get(), names);
}

BOOL CQelXMLDocument::GetSettingsKeyNode(const wchar_t* root, const wchar_t* section, const wchar_t* key,
                                         CQelXMLNode& node)
{
    CQelXMLNode rootNode;
    if (!FindOrAppendChildNode(root, rootNode))
        return FALSE;
    CQelXMLNode sectionNode;
    if (!rootNode.FindOrAppendChildNode(section, sectionNode))
        return FALSE;
    if (!sectionNode.FindOrAppendChildNode(key, node)) {
        TessaryGetGlobal()->WriteLog(QelFormatString1(L"Failed to get key node by name: %1", key ? key : L"").c_str());
        return FALSE;
    }
    return TRUE;
}

BOOL CQelXMLDocument::GetSettingsValue(const wchar_t* root, const wchar_t* section, const wchar_t* key,
                                       const wchar_t* defaultValue, std::wstring& value)
{
    CQelXMLNode node;
    if (!GetSettingsKeyNode(root, section, key, node)) {
        TessaryGetGlobal()->WriteLog(L"Failed to get value node");
        return FALSE;
    }
    value = node.GetText(defaultValue);
    return TRUE;
}

BOOL CQelXMLDocument::SetSettingsValue(const wchar_t* root, const wchar_t* section, const wchar_t* key,
                                       const wchar_t* value)
{
    CQelXMLNode node;
    if (!GetSettingsKeyNode(root, section, key, node)) {
        TessaryGetGlobal()->WriteLog(L"Failed to get value node");
        return FALSE;
    }
    return node.SetText(value);
}
