// A copyable handle on one node of a DOM document. Names are looked up
// ignoring ASCII letter case; paths are names separated by '/'.
#pragma once

#include <windows.h>
#include <msxml.h>
#include <wrl/client.h>

#include <string>
#include <vector>

class CQelXMLNode
{
public:
    CQelXMLNode() = default;
    CQelXMLNode(IXMLDOMNode* node, IXMLDOMDocument* document);
    CQelXMLNode(const CQelXMLNode& other) = default;
    CQelXMLNode& operator=(const CQelXMLNode& other);
    virtual ~CQelXMLNode() = default;

    void InitData(IXMLDOMNode* node, IXMLDOMDocument* document);
    BOOL IsValid() const;
    void Clear();

    IXMLDOMNode* GetNode() const { return m_node.Get(); }
    IXMLDOMDocument* GetDocument() const { return m_document.Get(); }
    BOOL IsElement() const;

    BOOL QueryName(std::wstring& name) const;
    std::wstring GetName() const;
    // The text of the node and all its descendants joined.
    BOOL QueryText(std::wstring& text) const;
    std::wstring GetText(const wchar_t* defaultText) const;
    // Replaces all content of the node by one text node.
    BOOL SetText(const wchar_t* text);

    BOOL QueryAttributeText(const wchar_t* name, std::wstring& text) const;
    BOOL QueryAttributeInt(const wchar_t* name, int& value) const;
    BOOL QueryAttributeInt64(const wchar_t* name, __int64& value) const;
    BOOL QueryAttributeBool(const wchar_t* name, BOOL& value) const;  // TRUE only for "1"
    std::wstring GetAttributeText(const wchar_t* name, const wchar_t* defaultText) const;
    int GetAttributeInt(const wchar_t* name, int defaultValue) const;
    BOOL GetAttributeBool(const wchar_t* name, BOOL defaultValue) const;
    BOOL SetAttributeText(const wchar_t* name, const wchar_t* value);
    BOOL SetAttributeInt(const wchar_t* name, int value);
    BOOL SetAttributeInt64(const wchar_t* name, __int64 value);
    BOOL SetAttributeBool(const wchar_t* name, BOOL value);

    BOOL FindChildNode(const wchar_t* name, CQelXMLNode& child) const;
    BOOL AppendChildNode(const wchar_t* name, CQelXMLNode& child);
    BOOL FindOrAppendChildNode(const wchar_t* name, CQelXMLNode& child);
    BOOL SetChildNodeText(const wchar_t* name, const wchar_t* text);
    // Creates the child when it is missing.
    BOOL GetChildNodeText(const wchar_t* name, std::wstring& text);

    BOOL GetAllChildNodes(std::vector<CQelXMLNode>& children) const;
    BOOL GetAllChildNodeNames(std::vector<std::wstring>& names) const;
    BOOL GetFirstChildElement(CQelXMLNode& child) const;
    BOOL HasChildNodes() const;
    // Every descendant, not only the children.
    int GetChildNodesCount() const;

    BOOL DeleteChild(const CQelXMLNode& child);
    BOOL DeleteChildNode(const wchar_t* name);
    BOOL DeleteAllChildNodes();

    BOOL FindNodeByPath(const wchar_t* path, CQelXMLNode& node) const;
    // Appends a fresh chain of elements even where elements of those names exist.
    BOOL AppendNodeByPath(const wchar_t* path, CQelXMLNode& node);
    BOOL GetNodeTextByPath(const wchar_t* path, std::wstring& text) const;
    BOOL AppendNodeTextByPath(const wchar_t* path, const wchar_t* text);

    // The element name is compared with its letter case, the key value without.
    BOOL FindChildNodeByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                            CQelXMLNode& node) const;
    BOOL FindNodeByKeyAndPath(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                              const wchar_t* valuePath, CQelXMLNode& node) const;
    BOOL GetTextByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                      const wchar_t* valuePath, std::wstring& text) const;
    BOOL GetIntByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                     const wchar_t* valuePath, int& value) const;
    BOOL GetBoolByKey(const wchar_t* elementName, const wchar_t* keyPath, const wchar_t* keyValue,
                      const wchar_t* valuePath, BOOL& value) const;

private:
    Microsoft::WRL::ComPtr<IXMLDOMDocument> m_document;
    Microsoft::WRL::ComPtr<IXMLDOMNode> m_node;
};

// Shared by nodes and documents (a document is a node too).
namespace QelXml {
BOOL EqualNamesNoCase(const wchar_t* a, const wchar_t* b);
BOOL SplitPath(const wchar_t* path, std::vector<std::wstring>& parts);
BOOL FindChild(IXMLDOMNode* parent, IXMLDOMDocument* document, const wchar_t* name, CQelXMLNode& child);
BOOL AppendChild(IXMLDOMNode* parent, IXMLDOMDocument* document, const wchar_t* name, CQelXMLNode& child);
BOOL GetChildren(IXMLDOMNode* parent, IXMLDOMDocument* document, std::vector<CQelXMLNode>& children);
BOOL GetChildNames(IXMLDOMNode* parent, IXMLDOMDocument* document, std::vector<std::wstring>& names);
// Follows the path's names down from the parent, each found ignoring case.
BOOL FindPath(IXMLDOMNode* parent, IXMLDOMDocument* document, const wchar_t* path, CQelXMLNode& node);
}  // namespace QelXml
