#include "librarydata/XmlRpcRequest.h"

#include "librarydata/HttpTransfer.h"
#include "librarydata/SqlValues.h"
#include "foundation/Base64.h"
#include "foundation/Encoding.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Strings.h"

#include <cstdio>
#include <ctime>

namespace {

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

std::wstring QelFormatXmlRpcTime(__int64 time)
{
    std::tm local{};
    const __time64_t value = time;
    if (_localtime64_s(&local, &value) != 0)
        return std::wstring();
    wchar_t text[32];
    swprintf(text, 32, L"%04d%02d%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
             local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

CQelHttpXmlRpcFormData::CQelHttpXmlRpcFormData(const wchar_t* methodName)
    : m_methodName(methodName ? methodName : L"")
{
    m_built = InitDocument();
}

BOOL CQelHttpXmlRpcFormData::InitDocument()
{
    m_document.Clear();
    CQelXMLNode root;
    CQelXMLNode name;
    CQelXMLNode params;
    return m_document.AppendChildNode(L"methodCall", root) && root.AppendChildNode(L"methodName", name) &&
           name.SetText(m_methodName.c_str()) && root.AppendChildNode(L"params", params);
}

BOOL CQelHttpXmlRpcFormData::GetParamsNode(CQelXMLNode& params)
{
    if (!m_built)
        return FALSE;
    CQelXMLNode root;
    if (!m_document.FindChildNode(L"methodCall", root)) {
        TessaryWriteLog(L"Failed to find methodCall node!");
        return FALSE;
    }
    if (!root.FindChildNode(L"params", params)) {
        TessaryWriteLog(L"Failed to find methodCall/params node!");
        return FALSE;
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcFormData::AppendParamNode(const wchar_t* path, CQelXMLNode& node)
{
    CQelXMLNode params;
    if (!GetParamsNode(params))
        return FALSE;
    if (!params.AppendNodeByPath(path, node)) {
        TessaryWriteLog(QelFormatString1(L"Failed to append node in methodCall/params: %1", path));
        return FALSE;
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcFormData::AddParam(const wchar_t* type, const wchar_t* text)
{
    CQelXMLNode value;
    CQelXMLNode typeNode;
    return AppendParamNode(L"param/value", value) && value.AppendChildNode(type, typeNode) && typeNode.SetText(text);
}

BOOL CQelHttpXmlRpcFormData::AddParamString(const wchar_t* text)
{
    return AddParam(L"string", text);
}

BOOL CQelHttpXmlRpcFormData::AddParamBool(BOOL value)
{
    return AddParam(L"boolean", value ? L"1" : L"0");
}

BOOL CQelHttpXmlRpcFormData::AddParamInt(int value)
{
    return AddParam(L"int", QelIntToStr(value).c_str());
}

BOOL CQelHttpXmlRpcFormData::AddStructMember(CQelXMLNode& structNode, const wchar_t* name, const wchar_t* type,
                                             CQelXMLNode& typeNode)
{
    CQelXMLNode member;
    if (!structNode.AppendChildNode(L"member", member))
        return FALSE;
    if (!member.SetChildNodeText(L"name", name)) {
        TessaryWriteLog(L"Failed to set struct member name!");
        return FALSE;
    }
    if (!member.AppendNodeByPath((std::wstring(L"value/") + type).c_str(), typeNode)) {
        TessaryWriteLog(L"Failed to set struct member value text!");
        return FALSE;
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberValue(CQelXMLNode& structNode, const wchar_t* name,
                                                  const wchar_t* type, const wchar_t* text)
{
    CQelXMLNode typeNode;
    if (!AddStructMember(structNode, name, type, typeNode)) {
        TessaryWriteLog(L"Failed to add struct member node!");
        return FALSE;
    }
    return typeNode.SetText(text);
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberString(CQelXMLNode& structNode, const wchar_t* name,
                                                   const wchar_t* value)
{
    return AddStructMemberValue(structNode, name, L"string", value);
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberBool(CQelXMLNode& structNode, const wchar_t* name, BOOL value)
{
    return AddStructMemberValue(structNode, name, L"boolean", value ? L"1" : L"0");
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberInt(CQelXMLNode& structNode, const wchar_t* name, int value)
{
    return AddStructMemberValue(structNode, name, L"int", QelIntToStr(value).c_str());
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberBase64File(CQelXMLNode& structNode, const wchar_t* name,
                                                       const wchar_t* path)
{
    std::string encoded;
    if (!QelBase64EncodeFile(path, encoded)) {
        TessaryWriteLog(QelFormatString1(L"Failed to base64 file: %1", path));
        return FALSE;
    }
    return AddStructMemberValue(structNode, name, L"base64", Widen(encoded).c_str());
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberBase64Stream(CQelXMLNode& structNode, const wchar_t* name,
                                                         IStream* stream)
{
    std::string encoded;
    if (!QelBase64EncodeStream(stream, encoded)) {
        TessaryWriteLog(L"Failed to base64 stream!");
        return FALSE;
    }
    return AddStructMemberValue(structNode, name, L"base64", Widen(encoded).c_str());
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberTime(CQelXMLNode& structNode, const wchar_t* name, __int64 time)
{
    return AddStructMemberValue(structNode, name, L"dateTime.iso8601", QelFormatXmlRpcTime(time).c_str());
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberColor(CQelXMLNode& structNode, const wchar_t* name, COLORREF color)
{
    return AddStructMemberValue(structNode, name, L"string", QelColorToHex(color).c_str());
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberStringArray(CQelXMLNode& structNode, const wchar_t* name,
                                                        const std::vector<std::wstring>& values)
{
    CQelXMLNode array;
    if (!AddStructMember(structNode, name, L"array", array)) {
        TessaryWriteLog(L"Failed to add struct member node: array!");
        return FALSE;
    }
    CQelXMLNode data;
    if (!array.AppendChildNode(L"data", data)) {
        TessaryWriteLog(L"Failed to add array data node!");
        return FALSE;
    }
    for (const auto& text : values) {
        CQelXMLNode value;
        if (!data.AppendChildNode(L"value", value)) {
            TessaryWriteLog(L"Failed to add array element value node!");
            return FALSE;
        }
        if (!value.SetText(text.c_str())) {
            TessaryWriteLog(L"Failed to add string array element data");
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcFormData::AddStructMemberStruct(CQelXMLNode& structNode, const wchar_t* name,
                                                   CQelXMLNode& innerStruct)
{
    return AddStructMember(structNode, name, L"struct", innerStruct);
}

BOOL CQelHttpXmlRpcFormData::GetBody(std::string& body) const
{
    if (!m_built)
        return FALSE;
    std::wstring text;
    if (!m_document.GetXML(text, TRUE) || text.empty())
        return FALSE;
    text.insert(0, L"<?xml version=\"1.0\"?>\n");
    QelNormalizeCRLF(text);
    QelUnicodeToMultiByte(body, 65001, text.c_str());
    return TRUE;
}

BOOL CQelHttpXmlRpcFormData::Send(HINTERNET request, IQelHttpProgress* progress)
{
    std::string body;
    if (!GetBody(body))
        return FALSE;
    return QelHttpSendXmlBody(request, body, progress);
}
