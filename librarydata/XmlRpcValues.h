// XML-RPC values read from an answer document: simple values, structs with
// typed getters by member name, arrays, and faults.
#pragma once

#include "foundation/XMLNode.h"

#include <windows.h>
#include <objidl.h>

#include <map>
#include <string>
#include <vector>

// "20091204T10:20:30" (17 characters; the separators are not looked at) read as local time.
BOOL QelParseXmlRpcTime(const wchar_t* text, __int64& time, std::wstring& message);

class CQelHttpXmlRpcValue
{
public:
    // From a "value" element: its type element, or bare text read as a string.
    BOOL Load(const CQelXMLNode& value);

    std::wstring m_type;
    std::wstring m_text;
    CQelXMLNode m_array;
    CQelXMLNode m_struct;
};

class CQelHttpXmlRpcStructMember : public CQelHttpXmlRpcValue
{
public:
    // From a "member" element holding "name" and "value".
    BOOL Load(const CQelXMLNode& member);

    std::wstring m_name;
};

class CQelHttpXmlRpcValueArray;

class CQelHttpXmlRpcStruct
{
public:
    // From a "value" element holding a "struct".
    BOOL Load(const CQelXMLNode& value);
    BOOL LoadMembers(const CQelXMLNode& structNode);
    BOOL IsValid() const { return m_valid; }

    BOOL HasMember(const wchar_t* name) const;
    BOOL GetTypeAndText(const wchar_t* name, std::wstring& text, std::wstring& type) const;
    BOOL GetString(const wchar_t* name, std::wstring& value) const;
    BOOL GetInt(const wchar_t* name, int& value) const;
    BOOL GetInt64(const wchar_t* name, __int64& value) const;
    BOOL GetBool(const wchar_t* name, BOOL& value) const;
    BOOL GetBool(const wchar_t* name, VARIANT_BOOL& value) const;
    BOOL GetTime(const wchar_t* name, __int64& value) const;
    BOOL GetStruct(const wchar_t* name, CQelHttpXmlRpcStruct& value) const;
    BOOL GetArray(const wchar_t* name, CQelHttpXmlRpcValueArray& value) const;
    BOOL GetStringArray(const wchar_t* name, std::vector<std::wstring>& values) const;
    // Replaces the stream's content with the decoded bytes.
    BOOL GetBase64(const wchar_t* name, IStream* stream) const;
    BOOL GetColor(const wchar_t* name, COLORREF& value) const;
    BOOL GetIntFromString(const wchar_t* name, int& value) const;

private:
    const CQelHttpXmlRpcStructMember* Find(const wchar_t* name) const;
    // The member of that name and type; null, with a log line, when it is missing or of another type.
    const CQelHttpXmlRpcStructMember* FindTyped(const wchar_t* name, const wchar_t* type,
                                                const wchar_t* wrongType) const;

    std::map<std::wstring, CQelHttpXmlRpcStructMember> m_members;
    BOOL m_valid = FALSE;
};

class CQelHttpXmlRpcValueArray : public std::vector<CQelHttpXmlRpcValue>
{
public:
    // From an "array" element.
    BOOL Load(const CQelXMLNode& array);
};

class CQelHttpXmlRpcStructArray : public std::vector<CQelHttpXmlRpcStruct>
{
public:
    BOOL Load(const CQelXMLNode& array);
};

class CQelHttpXmlRpcFault
{
public:
    // From the fault's "value" element.
    BOOL Load(const CQelXMLNode& value);
    void Clear();

    int m_code = 0;
    std::wstring m_text;
};
