// One DOM document behind the library's conventions, with name lookup that
// ignores letter case and the fixed TAB layout of saved files.
#pragma once

#include "foundation/XMLNode.h"

#include <windows.h>
#include <msxml.h>
#include <wrl/client.h>

#include <string>
#include <vector>

class CQelXMLDocument
{
public:
    CQelXMLDocument();
    explicit CQelXMLDocument(IXMLDOMDocument* document);  // takes a reference
    virtual ~CQelXMLDocument() = default;
    CQelXMLDocument(const CQelXMLDocument&) = delete;
    CQelXMLDocument& operator=(const CQelXMLDocument&) = delete;

    BOOL Create();
    void Clear();  // a fresh empty document in place of the held one
    IXMLDOMDocument* GetDocument() const { return m_document.Get(); }

    BOOL LoadXML(const wchar_t* text);
    // Reads the file's bytes and decodes them (marks, declared encoding, or a
    // guess) before parsing. A file shorter than 10 bytes is deleted first.
    BOOL LoadFromFile(const wchar_t* path, BOOL report);
    // Logs the last parse error; a box may follow, at most one per source a run.
    BOOL ReportParseError(const wchar_t* source = nullptr);
    const std::wstring& GetParseErrorReason() const { return m_parseErrorReason; }
    const std::wstring& GetParseErrorSource() const { return m_parseErrorSource; }

    // With the layout flag the text is laid out as it is saved, without a
    // final line break.
    BOOL GetXML(std::wstring& text, BOOL layout) const;
    BOOL SaveToFile(const wchar_t* path) const;

    BOOL FindChildNode(const wchar_t* name, CQelXMLNode& node) const;
    BOOL AppendChildNode(const wchar_t* name, CQelXMLNode& node);
    BOOL FindOrAppendChildNode(const wchar_t* name, CQelXMLNode& node);
    BOOL FindChildNodeOfChild(const wchar_t* name1, const wchar_t* name2, CQelXMLNode& node) const;
    BOOL FindOrAppendChildNodeOfChild(const wchar_t* name1, const wchar_t* name2, CQelXMLNode& node);
    BOOL FindNodeByPath(const wchar_t* path, CQelXMLNode& node) const;
    BOOL GetNodeTextByPath(const wchar_t* path, std::wstring& text) const;
    BOOL GetAllChildNodes(std::vector<CQelXMLNode>& nodes) const;
    BOOL GetAllChildNodeNames(std::vector<std::wstring>& names) const;

    // Settings keys: root element / section / key, each found ignoring case
    // or appended (so a read adds the missing elements to the document).
    BOOL GetSettingsKeyNode(const wchar_t* root, const wchar_t* section, const wchar_t* key, CQelXMLNode& node);
    BOOL GetSettingsValue(const wchar_t* root, const wchar_t* section, const wchar_t* key,
                          const wchar_t* defaultValue, std::wstring& value);
    BOOL SetSettingsValue(const wchar_t* root, const wchar_t* section, const wchar_t* key, const wchar_t* value);

private:
    IXMLDOMNode* AsNode() const;

    Microsoft::WRL::ComPtr<IXMLDOMDocument> m_document;
    std::wstring m_parseErrorReason;
    std::wstring m_parseErrorSource;
};

// Whether a parse-error box may be shown now for the given source (a file
// path; empty for texts): boxes must be switched on, the caller must be the
// thread that started the program, and the source must not have had a box in
// this run. A TRUE answer counts as the box being shown.
BOOL QelClaimParseErrorBox(const wchar_t* source);
