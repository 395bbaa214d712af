#include "librarydata/XmlRpcValues.h"

#include "librarydata/SqlValues.h"
#include "foundation/Base64.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Strings.h"

#include <cerrno>
#include <cwchar>

namespace {

void Log1(const wchar_t* format, const std::wstring& a1)
{
    TessaryWriteLog(QelFormatString1(format, a1.c_str()));
}

void Log2(const wchar_t* format, const std::wstring& a1, const std::wstring& a2)
{
    TessaryWriteLog(QelFormatString2(format, a1.c_str(), a2.c_str()));
}

// The items of an array element's "data", each read from its own element
// (whose name is not looked at), in document order.
template <class TItem, class TList>
BOOL LoadArrayItems(const CQelXMLNode& array, TList& items, const wchar_t* itemFailure)
{
    CQelXMLNode data;
    if (!array.FindChildNode(L"data", data)) {
        TessaryWriteLog(L"Failed to get array data node");
        return FALSE;
    }
    std::vector<CQelXMLNode> children;
    if (!data.GetAllChildNodes(children)) {
        TessaryWriteLog(L"Failed to get struct array element nodes");
        return FALSE;
    }
    for (const auto& child : children) {
        TItem item;
        if (!item.Load(child)) {
            TessaryWriteLog(itemFailure);
            return FALSE;
        }
        items.push_back(std::move(item));
    }
    return TRUE;
}

}  // namespace

BOOL QelParseXmlRpcTime(const wchar_t* text, __int64& time, std::wstring& message)
{
    if (!text) {
        message = L"NULL pointer";
        return FALSE;
    }
    std::wstring value = text;
    if (value.size() != 17) {
        message = L"Invalid date time format";
        return FALSE;
    }
    value[8] = L' ';
    value.insert(6, 1, L'-');
    value.insert(4, 1, L'-');
    return QelParseSqlTime(value.c_str(), time, message);
}

BOOL CQelHttpXmlRpcValue::Load(const CQelXMLNode& value)
{
    CQelXMLNode first;
    if (value.GetFirstChildElement(first)) {
        m_type = first.GetName();
        if (m_type == L"struct") {
            m_struct = first;
            return TRUE;
        }
        if (m_type == L"array") {
            m_array = first;
            return TRUE;
        }
        if (!first.QueryText(m_text)) {
            TessaryWriteLog(L"Failed to get value text");
            return FALSE;
        }
        return TRUE;
    }
    if (!value.QueryText(m_text)) {
        TessaryWriteLog(L"Failed to get value type node");
        return FALSE;
    }
    m_type = L"string";
    return TRUE;
}

BOOL CQelHttpXmlRpcStructMember::Load(const CQelXMLNode& member)
{
    std::vector<CQelXMLNode> children;
    member.GetAllChildNodes(children);
    for (const auto& child : children) {
        const std::wstring name = child.GetName();
        if (name == L"name") {
            if (!child.QueryText(m_name))
                m_name.clear();
        } else if (name == L"value") {
            if (!CQelHttpXmlRpcValue::Load(child))
                return FALSE;
        } else {
            Log1(L"%1 is not a valid value node:", name);
            return FALSE;
        }
    }
    if (m_name.empty()) {
        TessaryWriteLog(L"struct dose not contain a valid name!");
        return FALSE;
    }
    if (m_type.empty()) {
        TessaryWriteLog(L"struct dose not contain a valid type!");
        return FALSE;
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::Load(const CQelXMLNode& value)
{
    CQelXMLNode structNode;
    if (!value.FindChildNode(L"struct", structNode)) {
        TessaryWriteLog(L"Failed to get struct node in value!");
        m_valid = FALSE;
        return FALSE;
    }
    m_valid = LoadMembers(structNode);
    return m_valid;
}

BOOL CQelHttpXmlRpcStruct::LoadMembers(const CQelXMLNode& structNode)
{
    m_members.clear();
    m_valid = FALSE;
    std::vector<CQelXMLNode> children;
    if (!structNode.GetAllChildNodes(children)) {
        TessaryWriteLog(L"Failed to get struct member nodes");
        return FALSE;
    }
    for (const auto& child : children) {
        const std::wstring name = child.GetName();
        if (name != L"member") {
            Log1(L"%1 is ot a valid struct member node!", name);
            return FALSE;
        }
        CQelHttpXmlRpcStructMember member;
        if (!member.Load(child)) {
            TessaryWriteLog(L"Failed to load struct member!");
            return FALSE;
        }
        const std::wstring key = member.m_name;
        m_members[key] = std::move(member);
    }
    m_valid = TRUE;
    return TRUE;
}

const CQelHttpXmlRpcStructMember* CQelHttpXmlRpcStruct::Find(const wchar_t* name) const
{
    const auto found = m_members.find(name);
    return found == m_members.end() ? nullptr : &found->second;
}

const CQelHttpXmlRpcStructMember* CQelHttpXmlRpcStruct::FindTyped(const wchar_t* name, const wchar_t* type,
                                                                  const wchar_t* wrongType) const
{
    const auto* member = Find(name);
    if (!member) {
        Log1(L"Failed to find struct member %1", name);
        return nullptr;
    }
    if (member->m_type != type) {
        Log2(wrongType, name, member->m_type);
        return nullptr;
    }
    return member;
}

BOOL CQelHttpXmlRpcStruct::HasMember(const wchar_t* name) const
{
    if (!m_valid) {
        TessaryWriteLog(L"struct is not valid");
        return FALSE;
    }
    return Find(name) != nullptr;
}

BOOL CQelHttpXmlRpcStruct::GetTypeAndText(const wchar_t* name, std::wstring& text, std::wstring& type) const
{
    if (!m_valid) {
        TessaryWriteLog(L"struct is not valid");
        return FALSE;
    }
    const auto* member = Find(name);
    if (!member) {
        Log1(L"Failed to find struct member %1", name);
        return FALSE;
    }
    text = member->m_text;
    type = member->m_type;
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetString(const wchar_t* name, std::wstring& value) const
{
    std::wstring text;
    std::wstring type;
    if (!GetTypeAndText(name, text, type))
        return FALSE;
    if (type != L"string")
        Log2(L"Warning: The type of the struct member %1 is %2, it is not a string.", name, type);
    value = text;
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetInt(const wchar_t* name, int& value) const
{
    std::wstring text;
    std::wstring type;
    if (!GetTypeAndText(name, text, type))
        return FALSE;
    if (type != L"int" && type != L"i4" && type != L"string")
        Log2(L"Warning: The type of the struct member %1 is %2, it is not a integer.", name, type);
    value = _wtoi(text.c_str());
    if (QelIntToStr(value) != text)
        Log1(L"Failed to convert %1 to int", text);
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetInt64(const wchar_t* name, __int64& value) const
{
    std::wstring text;
    if (!GetString(name, text)) {
        Log1(L"Failed to get member %1", name);
        return FALSE;
    }
    // Trailing text would be cut off, and a number beyond 64 bits clamped to the end of the range.
    const std::wstring number = QelTrimSpaces(text);
    const size_t digits = !number.empty() && (number[0] == L'-' || number[0] == L'+') ? 1 : 0;
    const bool whole = number.size() > digits &&
                       number.find_first_not_of(L"0123456789", digits) == std::wstring::npos;
    errno = 0;
    const __int64 parsed = whole ? _wcstoi64(number.c_str(), nullptr, 10) : 0;
    if (!whole || errno == ERANGE) {
        Log1(L"Failed to convert %1 to a 64-bit integer", text);
        return FALSE;
    }
    value = parsed;
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetBool(const wchar_t* name, BOOL& value) const
{
    std::wstring text;
    std::wstring type;
    if (!GetTypeAndText(name, text, type))
        return FALSE;
    if (type != L"boolean")
        Log2(L"Warning: The type of the struct member %1 is %2, it is not a boolean.", name, type);
    const int number = _wtoi(text.c_str());
    if (QelIntToStr(number) != text)
        Log1(L"Failed to convert %1 to bool", text);
    value = number != 0;
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetBool(const wchar_t* name, VARIANT_BOOL& value) const
{
    BOOL flag = FALSE;
    if (!GetBool(name, flag))
        return FALSE;
    value = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetTime(const wchar_t* name, __int64& value) const
{
    std::wstring text;
    std::wstring type;
    if (!GetTypeAndText(name, text, type)) {
        Log1(L"Failed to get member %1", name);
        return FALSE;
    }
    std::wstring message;
    const BOOL parsed = type == L"dateTime.iso8601" ? QelParseXmlRpcTime(text.c_str(), value, message)
                                                    : QelParseSqlTime(text.c_str(), value, message);
    if (!parsed) {
        TessaryWriteLog(message);
        return FALSE;
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetStruct(const wchar_t* name, CQelHttpXmlRpcStruct& value) const
{
    const auto* member = FindTyped(name, L"struct", L"The type of the struct member %1 is %2, it is not an struct.");
    if (!member)
        return FALSE;
    if (!member->m_struct.IsValid()) {
        Log1(L"Struct node is invalid: %1", name);
        return FALSE;
    }
    return value.LoadMembers(member->m_struct);
}

BOOL CQelHttpXmlRpcStruct::GetArray(const wchar_t* name, CQelHttpXmlRpcValueArray& value) const
{
    if (!m_valid) {
        TessaryWriteLog(L"struct is not valid");
        return FALSE;
    }
    const auto* member = FindTyped(name, L"array", L"The type of the struct member %1 is %2, it is not an array.");
    if (!member)
        return FALSE;
    if (!member->m_array.IsValid()) {
        Log1(L"Array node is invalid: %1", name);
        return FALSE;
    }
    return value.Load(member->m_array);
}

BOOL CQelHttpXmlRpcStruct::GetStringArray(const wchar_t* name, std::vector<std::wstring>& values) const
{
    CQelHttpXmlRpcValueArray array;
    if (!GetArray(name, array)) {
        Log1(L"Failed to get value array: %1", name);
        return FALSE;
    }
    std::vector<std::wstring> texts;
    for (const auto& item : array) {
        if (item.m_type == L"array" || item.m_type == L"struct") {
            Log2(L"Array %1 element type is %2, not a simple value", name, item.m_type);
            return FALSE;
        }
        texts.push_back(item.m_text);
    }
    values = std::move(texts);
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetBase64(const wchar_t* name, IStream* stream) const
{
    if (!stream) {
        Log1(L"Stream pointer is null: %1!", name);
        return FALSE;
    }
    const auto* member =
        FindTyped(name, L"base64", L"The type of the struct member %1 is %2, it is not a base64 value.");
    if (!member)
        return FALSE;
    // Base64 text is ASCII; anything else is skipped by the decoder like any stray character.
    std::string text;
    text.reserve(member->m_text.size());
    for (wchar_t c : member->m_text)
        text += c < 0x80 ? char(c) : ' ';
    return QelBase64DecodeToStream(text.c_str(), stream);
}

BOOL CQelHttpXmlRpcStruct::GetColor(const wchar_t* name, COLORREF& value) const
{
    std::wstring text;
    if (!GetString(name, text)) {
        Log1(L"Failed to get member %1", name);
        return FALSE;
    }
    value = QelHexToColor(text.c_str());
    return TRUE;
}

BOOL CQelHttpXmlRpcStruct::GetIntFromString(const wchar_t* name, int& value) const
{
    std::wstring text;
    if (!GetString(name, text)) {
        Log1(L"Failed to get string value: %1", name);
        return FALSE;
    }
    value = _wtoi(text.c_str());
    if (QelIntToStr(value) != text)
        Log1(L"Failed to convert %1 to int", text);
    return TRUE;
}

BOOL CQelHttpXmlRpcValueArray::Load(const CQelXMLNode& array)
{
    return LoadArrayItems<CQelHttpXmlRpcValue>(array, *this, L"Failed to load value");
}

BOOL CQelHttpXmlRpcStructArray::Load(const CQelXMLNode& array)
{
    return LoadArrayItems<CQelHttpXmlRpcStruct>(array, *this, L"Failed to load struct in array!");
}

BOOL CQelHttpXmlRpcFault::Load(const CQelXMLNode& value)
{
    CQelHttpXmlRpcStruct fault;
    if (!fault.Load(value)) {
        TessaryWriteLog(L"Failed to load fault struct!");
        return FALSE;
    }
    if (!fault.GetInt(L"faultCode", m_code))
        return FALSE;
    return fault.GetString(L"faultString", m_text);
}

void CQelHttpXmlRpcFault::Clear()
{
    m_code = 0;
    m_text.clear();
}
