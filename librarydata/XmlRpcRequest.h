// One XML-RPC request (a methodCall document), sent as the body of a POST.
#pragma once

#include "librarydata/HttpServer.h"
#include "foundation/XMLDocument.h"

#include <string>
#include <vector>

// "%04d%02d%02dT%02d:%02d:%02d" of the time in local time.
std::wstring QelFormatXmlRpcTime(__int64 time);

class CQelHttpXmlRpcFormData : public CQelHttpFormDataBase
{
public:
    explicit CQelHttpXmlRpcFormData(const wchar_t* methodName);
    ~CQelHttpXmlRpcFormData() override = default;

    BOOL InitDocument();
    BOOL GetParamsNode(CQelXMLNode& params);
    // Appends a fresh chain of elements for the path below "params".
    BOOL AppendParamNode(const wchar_t* path, CQelXMLNode& node);

    BOOL AddParam(const wchar_t* type, const wchar_t* text);
    BOOL AddParamString(const wchar_t* text);
    BOOL AddParamBool(BOOL value);
    BOOL AddParamInt(int value);

    BOOL AddStructMember(CQelXMLNode& structNode, const wchar_t* name, const wchar_t* type, CQelXMLNode& typeNode);
    BOOL AddStructMemberValue(CQelXMLNode& structNode, const wchar_t* name, const wchar_t* type, const wchar_t* text);
    BOOL AddStructMemberString(CQelXMLNode& structNode, const wchar_t* name, const wchar_t* value);
    BOOL AddStructMemberBool(CQelXMLNode& structNode, const wchar_t* name, BOOL value);
    BOOL AddStructMemberInt(CQelXMLNode& structNode, const wchar_t* name, int value);
    BOOL AddStructMemberBase64File(CQelXMLNode& structNode, const wchar_t* name, const wchar_t* path);
    BOOL AddStructMemberBase64Stream(CQelXMLNode& structNode, const wchar_t* name, IStream* stream);
    BOOL AddStructMemberTime(CQelXMLNode& structNode, const wchar_t* name, __int64 time);
    BOOL AddStructMemberColor(CQelXMLNode& structNode, const wchar_t* name, COLORREF color);
    BOOL AddStructMemberStringArray(CQelXMLNode& structNode, const wchar_t* name,
                                    const std::vector<std::wstring>& values);
    BOOL AddStructMemberStruct(CQelXMLNode& structNode, const wchar_t* name, CQelXMLNode& innerStruct);

    // The body: the declaration, the laid-out document with CR LF line ends, UTF-8.
    BOOL GetBody(std::string& body) const;
    BOOL Send(HINTERNET request, IQelHttpProgress* progress) override;

private:
    BOOL m_built = FALSE;
    std::wstring m_methodName;
    CQelXMLDocument m_document;
};
