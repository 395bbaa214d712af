#include "foundation/XMLNode.h"

#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Strings.h"
#include "foundation/XMLText.h"
#include "framework/Bstr.h"
#include "framework/Variant.h"

#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace {

// The child list of a node with its length; FALSE when either cannot be had.
BOOL ChildList(IXMLDOMNode* parent, ComPtr<IXMLDOMNodeList>& list, long& count)
{
    count = 0;
    return parent && SUCCEEDED(parent->get_childNodes(&list)) && list && SUCCEEDED(list->get_length(&count));
}

}  // namespace

namespace QelXml {

BOOL EqualNamesNoCase(const wchar_t* a, const wchar_t* b)
{
    auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    for (;; ++a, ++b) {
        if (fold(*a) != fold(*b))
            return FALSE;
        if (!*a)
            return TRUE;
    }
}

BOOL SplitPath(const wchar_t* path, std::vector<std::wstring>& parts)
{
    parts.clear();
    QelSplitText(path ? path : L"", L'/', parts);
    QelRemoveBlankItems(parts);
    for (auto& part : parts)
        part = QelTrimSpaces(part);
    return parts.empty() ? FALSE : TRUE;
}

BOOL FindChild(IXMLDOMNode* parent, IXMLDOMDocument* document, const wchar_t* name, CQelXMLNode& child)
{
    ComPtr<IXMLDOMNodeList> list;
    long count = 0;
    if (!name || !ChildList(parent, list, count))
        return FALSE;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> item;
        if (list->get_item(i, &item) != S_OK || !item)
            continue;
        CBstr itemName;
        if (item->get_nodeName(itemName.Receive()) != S_OK || itemName.IsNull())
            continue;
        if (EqualNamesNoCase(itemName.Get(), name)) {
            child.InitData(item.Get(), document);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL AppendChild(IXMLDOMNode* parent, IXMLDOMDocument* document, const wchar_t* name, CQelXMLNode& child)
{
    // The DOM would take any name and then write a file it cannot read back.
    if (!parent || !document || !QelIsXMLName(name))
        return FALSE;
    CVariant type{static_cast<LONG>(NODE_ELEMENT)};
    CBstr nodeName(name);
    CBstr namespaceUri(L"");
    ComPtr<IXMLDOMNode> created;
    if (FAILED(document->createNode(type.Get(), nodeName.Get(), namespaceUri.Get(), &created)) || !created)
        return FALSE;
    ComPtr<IXMLDOMNode> appended;
    if (FAILED(parent->appendChild(created.Get(), &appended)) || !appended)
        return FALSE;
    child.InitData(appended.Get(), document);
    return TRUE;
}

BOOL GetChildren(IXMLDOMNode* parent, IXMLDOMDocument* document, std::vector<CQelXMLNode>& children)
{
    children.clear();
    ComPtr<IXMLDOMNodeList> list;
    long count = 0;
    if (!ChildList(parent, list, count))
        return FALSE;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> item;
        if (list->get_item(i, &item) == S_OK && item)
            children.emplace_back(item.Get(), document);
    }
    return TRUE;
}

BOOL GetChildNames(IXMLDOMNode* parent, IXMLDOMDocument* document, std::vector<std::wstring>& names)
{
    names.clear();
    std::vector<CQelXMLNode> children;
    if (!GetChildren(parent, document, children))
        return FALSE;
    for (const auto& child : children) {
        std::wstring name;
        if (child.QueryName(name))
            names.push_back(name);
    }
    return TRUE;
}

BOOL FindPath(IXMLDOMNode* parent, IXMLDOMDocument* document, const wchar_t* path, CQelXMLNode& node)
{
    std::vector<std::wstring> parts;
    if (!parent || !document || !SplitPath(path, parts))
        return FALSE;
    CQelXMLNode current(parent, document);
    for (const auto& part : parts) {
        CQelXMLNode next;
        if (!FindChild(current.GetNode(), document, part.c_str(), next))
            return FALSE;
        current = next;
    }
    node = current;
    return TRUE;
}

}  // namespace QelXml

namespace {

std::wstring LowerAscii(std::wstring text)
{
    for (auto& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

}  // namespace

CQelXMLNode::CQelXMLNode(IXMLDOMNode* node, IXMLDOMDocument* document)
{
    InitData(node, document);
}

CQelXMLNode& CQelXMLNode::operator=(const CQelXMLNode& other)
{
    if (this != &other) {
        if (other.IsValid()) {
            m_document = other.m_document;
            m_node = other.m_node;
        } else {
            Clear();
        }
    }
    return *this;
}

void CQelXMLNode::InitData(IXMLDOMNode* node, IXMLDOMDocument* document)
{
    if (node && document) {
        m_node = node;
        m_document = document;
    } else {
        Clear();
    }
}

BOOL CQelXMLNode::IsValid() const
{
    return m_node && m_document ? TRUE : FALSE;
}

void CQelXMLNode::Clear()
{
    m_node.Reset();
    m_document.Reset();
}

BOOL CQelXMLNode::IsElement() const
{
    DOMNodeType type = NODE_INVALID;
    return IsValid() && SUCCEEDED(m_node->get_nodeType(&type)) && type == NODE_ELEMENT ? TRUE : FALSE;
}

BOOL CQelXMLNode::QueryName(std::wstring& name) const
{
    if (!IsValid())
        return FALSE;
    CBstr value;
    if (m_node->get_nodeName(value.Receive()) != S_OK || value.IsNull())
        return FALSE;
    name = value.ToString();
    return TRUE;
}

std::wstring CQelXMLNode::GetName() const
{
    std::wstring name;
    return QueryName(name) ? name : std::wstring();
}

BOOL CQelXMLNode::QueryText(std::wstring& text) const
{
    if (!IsValid())
        return FALSE;
    CBstr value;
    if (m_node->get_text(value.Receive()) != S_OK || value.IsNull())
        return FALSE;
    text = value.ToString();
    return TRUE;
}

std::wstring CQelXMLNode::GetText(const wchar_t* defaultText) const
{
    std::wstring text;
    if (QueryText(text))
        return text;
    return defaultText ? defaultText : L"";
}

BOOL CQelXMLNode::SetText(const wchar_t* text)
{
    if (!IsValid())
        return FALSE;
    CBstr value(text ? text : L"");
    return SUCCEEDED(m_node->put_text(value.Get())) ? TRUE : FALSE;
}

BOOL CQelXMLNode::QueryAttributeText(const wchar_t* name, std::wstring& text) const
{
    if (!IsValid() || !name)
        return FALSE;
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(m_node->get_attributes(&attributes)) || !attributes)
        return FALSE;
    CBstr attributeName(name);
    ComPtr<IXMLDOMNode> attribute;
    if (FAILED(attributes->getNamedItem(attributeName.Get(), &attribute)) || !attribute)
        return FALSE;
    CVariant value;
    if (FAILED(attribute->get_nodeValue(value.Receive())))
        return FALSE;
    return value.GetString(text) ? TRUE : FALSE;
}

BOOL CQelXMLNode::QueryAttributeInt(const wchar_t* name, int& value) const
{
    std::wstring text;
    if (!QueryAttributeText(name, text))
        return FALSE;
    value = _wtoi(text.c_str());
    return TRUE;
}

BOOL CQelXMLNode::QueryAttributeInt64(const wchar_t* name, __int64& value) const
{
    std::wstring text;
    if (!QueryAttributeText(name, text))
        return FALSE;
    value = _wtoi64(text.c_str());
    return TRUE;
}

BOOL CQelXMLNode::QueryAttributeBool(const wchar_t* name, BOOL& value) const
{
    std::wstring text;
    if (!QueryAttributeText(name, text))
        return FALSE;
    value = QelTrimSpaces(text) == L"1" ? TRUE : FALSE;
    return TRUE;
}

std::wstring CQelXMLNode::GetAttributeText(const wchar_t* name, const wchar_t* defaultText) const
{
    std::wstring text;
    if (QueryAttributeText(name, text))
        return text;
    return defaultText ? defaultText : L"";
}

int CQelXMLNode::GetAttributeInt(const wchar_t* name, int defaultValue) const
{
    int value = 0;
    return QueryAttributeInt(name, value) ? value : defaultValue;
}

BOOL CQelXMLNode::GetAttributeBool(const wchar_t* name, BOOL defaultValue) const
{
    BOOL value = FALSE;
    return QueryAttributeBool(name, value) ? value : defaultValue;
}

BOOL CQelXMLNode::SetAttributeText(const wchar_t* name, const wchar_t* value)
{
    if (!IsValid() || !QelIsXMLName(name))
        return FALSE;
    CBstr attributeName(name);
    ComPtr<IXMLDOMAttribute> attribute;
    if (FAILED(m_document->createAttribute(attributeName.Get(), &attribute)) || !attribute)
        return FALSE;
    CVariant attributeValue(value ? value : L"");
    if (FAILED(attribute->put_nodeValue(attributeValue.Get())))
        return FALSE;
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(m_node->get_attributes(&attributes)) || !attributes)
        return FALSE;
    ComPtr<IXMLDOMNode> replaced;
    return SUCCEEDED(attributes->setNamedItem(attribute.Get(), &replaced)) ? TRUE : FALSE;
}

BOOL CQelXMLNode::SetAttributeInt(const wchar_t* name, int value)
{
    return SetAttributeText(name, QelIntToStr(value).c_str());
}

BOOL CQelXMLNode::SetAttributeInt64(const wchar_t* name, __int64 value)
{
    return SetAttributeText(name, QelInt64ToStr(value).c_str());
}

BOOL CQelXMLNode::SetAttributeBool(const wchar_t* name, BOOL value)
{
    return SetAttributeText(name, value ? L"1" : L"0");
}

BOOL CQelXMLNode::FindChildNode(const wchar_t* name, CQelXMLNode& child) const
{
    return IsValid() && QelXml::FindChild(m_node.Get(), m_document.Get(), name, child);
}

BOOL CQelXMLNode::AppendChildNode(const wchar_t* name, CQelXMLNode& child)
{
    return IsValid() && QelXml::AppendChild(m_node.Get(), m_document.Get(), name, child);
}

BOOL CQelXMLNode::FindOrAppendChildNode(const wchar_t* name, CQelXMLNode& child)
{
    return FindChildNode(name, child) || AppendChildNode(name, child);
}

BOOL CQelXMLNode::SetChildNodeText(const wchar_t* name, const wchar_t* text)
{
    CQelXMLNode child;
    return FindOrAppendChildNode(name, child) && child.SetText(text);
}

BOOL CQelXMLNode::GetChildNodeText(const wchar_t* name, std::wstring& text)
{
    CQelXMLNode child;
    return FindOrAppendChildNode(name, child) && child.QueryText(text);
}

BOOL CQelXMLNode::GetAllChildNodes(std::vector<CQelXMLNode>& children) const
{
    children.clear();
    return IsValid() && QelXml::GetChildren(m_node.Get(), m_document.Get(), children);
}

BOOL CQelXMLNode::GetAllChildNodeNames(std::vector<std::wstring>& names) const
{
    names.clear();
    return IsValid() && QelXml::GetChildNames(m_node.Get(), m_document.Get(), names);
}

BOOL CQelXMLNode::GetFirstChildElement(CQelXMLNode& child) const
{
    if (!IsValid())
        return FALSE;
    ComPtr<IXMLDOMNode> first;
    if (m_node->get_firstChild(&first) != S_OK || !first)
        return FALSE;
    CBstr type;
    if (FAILED(first->get_nodeTypeString(type.Receive())) || type.ToString() != L"element")
        return FALSE;
    child.InitData(first.Get(), m_document.Get());
    return TRUE;
}

BOOL CQelXMLNode::HasChildNodes() const
{
    std::vector<CQelXMLNode> children;
    return GetAllChildNodes(children) && !children.empty();
}

int CQelXMLNode::GetChildNodesCount() const
{
    std::vector<CQelXMLNode> children;
    if (!GetAllChildNodes(children))
        return 0;
    int count = static_cast<int>(children.size());
    for (const auto& child : children)
        count += child.GetChildNodesCount();
    return count;
}

BOOL CQelXMLNode::DeleteChild(const CQelXMLNode& child)
{
    if (!IsValid() || !child.IsValid())
        return FALSE;
    ComPtr<IXMLDOMNode> removed;
    return SUCCEEDED(m_node->removeChild(child.GetNode(), &removed)) ? TRUE : FALSE;
}

BOOL CQelXMLNode::DeleteChildNode(const wchar_t* name)
{
    CQelXMLNode child;
    if (FindChildNode(name, child))
        DeleteChild(child);
    return TRUE;
}

BOOL CQelXMLNode::DeleteAllChildNodes()
{
    std::vector<CQelXMLNode> children;
    if (!GetAllChildNodes(children))
        return FALSE;
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        DeleteChild(*child);
    return TRUE;
}

BOOL CQelXMLNode::FindNodeByPath(const wchar_t* path, CQelXMLNode& node) const
{
    return IsValid() && QelXml::FindPath(m_node.Get(), m_document.Get(), path, node);
}

BOOL CQelXMLNode::AppendNodeByPath(const wchar_t* path, CQelXMLNode& node)
{
    std::vector<std::wstring> parts;
    if (!IsValid() || !QelXml::SplitPath(path, parts))
        return FALSE;
    CQelXMLNode current = *this;
    for (const auto& part : parts) {
        CQelXMLNode next;
        if (!current.AppendChildNode(part.c_str(), next)) {
            TessaryGetGlobal()->WriteLog(QelFormatString1(L"Failed to append child node: %1", part.c_str()).c_str());
            return FALSE;
        }
        current = next;
    }
    node = current;
    return TRUE;
}

BOOL CQelXMLNode::GetNodeTextByPath(const wchar_t* path, std::wstring& text) const
{
    CQelXMLNode node;
    return FindNodeByPath(path, node) && node.QueryText(text);
}

BOOL CQelXMLNode::AppendNodeTextByPath(const wchar_t* path, const wchar_t* text)
{
    CQelXMLNode node;
    if (!AppendNodeByPath(path, node)) {
        TessaryGetGlobal()->WriteLog(QelFormatString1(L"Failed to append node path: %1", path ? path : L"").c_str());
        return FALSE;
    }
    if (!node.SetText(text)) {
        TessaryGetGlobal()->WriteLog(L"Failed to set node text");
        return FALSE;
    }
    return TRUE;
}

BOOL CQelXMLNode::FindChildNodeByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                                     CQelXMLNode& node) const
{
    std::vector<CQelXMLNode> children;
    if (!elementName || !keyValue || !GetAllChildNodes(children))
        return FALSE;
    const std::wstring wanted = LowerAscii(keyValue);
    for (const auto& child : children) {
        std::wstring name;
        if (!child.QueryName(name) || name != elementName)
            continue;
        std::wstring key;
        if (child.GetNodeTextByPath(keyPath, key) && LowerAscii(key) == wanted) {
            node = child;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CQelXMLNode::FindNodeByKeyAndPath(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                                       const wchar_t* valuePath, CQelXMLNode& node) const
{
    CQelXMLNode match;
    return FindChildNodeByKey(elementName, keyPath, keyValue, match) && match.FindNodeByPath(valuePath, node);
}

BOOL CQelXMLNode::GetTextByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                               const wchar_t* valuePath, std::wstring& text) const
{
    CQelXMLNode node;
    if (!FindNodeByKeyAndPath(elementName, keyPath, keyValue, valuePath, node))
        return FALSE;
    text = node.GetText(L"");
    return TRUE;
}

BOOL CQelXMLNode::GetIntByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                              const wchar_t* valuePath, int& value) const
{
    std::wstring text;
    if (!GetTextByKey(elementName, keyPath, keyValue, valuePath, text))
        return FALSE;
    text = QelTrimSpaces(text);
    const int number = _wtoi(text.c_str());
    // Only a plain decimal number counts: "007" or "12abc" do not.
    if (QelIntToStr(number) != text)
        return FALSE;
    value = number;
    return TRUE;
}

BOOL CQelXMLNode::GetBoolByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                               const wchar_t* valuePath, BOOL& value) const
{
    std::wstring text;
    if (!GetTextByKey(elementName, keyPath, keyValue, valuePath, text))
        return FALSE;
    text = LowerAscii(QelTrimSpaces(text));
    if (text == L"0" || text == L"false") {
        value = FALSE;
        return TRUE;
    }
    if (text == L"1" || text == L"true") {
        value = TRUE;
        return TRUE;
    }
    return FALSE;
}
