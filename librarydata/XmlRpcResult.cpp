#include "librarydata/XmlRpcResult.h"

#include "foundation/Global.h"
#include "foundation/MessageFormat.h"

BOOL CQelHttpXmlRcpResultData::LoadStructArray(const CQelHttpXmlRpcStructArray&)
{
    return FALSE;
}

BOOL CQelHttpXmlRcpResultData::LoadValueArray(const CQelHttpXmlRpcValueArray&)
{
    return FALSE;
}

BOOL CQelHttpXmlRcpResultData::LoadStruct(const CQelHttpXmlRpcStruct&)
{
    return FALSE;
}

BOOL CQelHttpXmlRcpResultData::LoadValue(const CQelHttpXmlRpcValue&)
{
    return FALSE;
}

BOOL CQelHttpXmlRcpResultData::SetFault(const CQelHttpXmlRpcFault& fault)
{
    m_fault = fault;
    m_isFault = TRUE;
    return TRUE;
}

BOOL CQelHttpXmlRcpResultData::IsFault()
{
    return m_isFault;
}

BOOL CQelHttpXmlRpcResult::LoadFromText(const wchar_t* text)
{
    m_document.Clear();
    m_root.Clear();
    m_value.Clear();
    m_valueType.clear();
    m_isFault = FALSE;
    m_fault.Clear();
    // LoadXML drops a declared encoding: the text is already wide.
    if (!m_document.LoadXML(text)) {
        TessaryWriteLog(L"Failed to load result xml text");
        return FALSE;
    }
    return Parse();
}

BOOL CQelHttpXmlRpcResult::Parse()
{
    if (!m_document.FindChildNode(L"methodResponse", m_root)) {
        TessaryWriteLog(L"Failed to get root node name: methodResponse");
        return FALSE;
    }
    CQelXMLNode faultValue;
    if (m_root.FindNodeByPath(L"fault/value", faultValue)) {
        const BOOL loaded = m_fault.Load(faultValue);
        if (!loaded)
            TessaryWriteLog(L"Failed to load fault struct!");
        m_isFault = TRUE;
        return loaded;
    }
    if (!m_root.FindNodeByPath(L"params/param/value", m_value)) {
        TessaryWriteLog(L"Failed to find methodResponse value node!");
        return FALSE;
    }
    CQelXMLNode type;
    if (!m_value.GetFirstChildElement(type)) {
        TessaryWriteLog(L"Failed to find methodResponse value type node!");
        return FALSE;
    }
    m_valueType = type.GetName();
    return TRUE;
}

BOOL CQelHttpXmlRpcResult::GetFault(CQelHttpXmlRpcFault& fault) const
{
    if (!m_isFault)
        return FALSE;
    fault = m_fault;
    return TRUE;
}

BOOL CQelHttpXmlRpcResult::GetValue(CQelHttpXmlRpcValue& value) const
{
    if (m_isFault) {
        TessaryWriteLog(L"Xmlrpc failed!");
        return FALSE;
    }
    if (m_valueType == L"struct" || m_valueType == L"array") {
        TessaryWriteLog(QelFormatString1(L"Type is not a simple value: %1", m_valueType.c_str()));
        return FALSE;
    }
    return value.Load(m_value);
}

BOOL CQelHttpXmlRpcResult::GetStruct(CQelHttpXmlRpcStruct& value) const
{
    if (m_isFault) {
        TessaryWriteLog(L"Xmlrpc failed!");
        return FALSE;
    }
    if (m_valueType != L"struct") {
        TessaryWriteLog(QelFormatString1(L"Type is not a struct value: %1", m_valueType.c_str()));
        return FALSE;
    }
    return value.Load(m_value);
}

BOOL CQelHttpXmlRpcResult::FindArray(CQelXMLNode& array) const
{
    if (m_isFault) {
        TessaryWriteLog(L"Xmlrpc failed!");
        return FALSE;
    }
    if (m_valueType != L"array") {
        TessaryWriteLog(QelFormatString1(L"Type is not an array value: %1", m_valueType.c_str()));
        return FALSE;
    }
    if (!m_value.FindChildNode(L"array", array)) {
        TessaryWriteLog(L"Failed to find array node");
        return FALSE;
    }
    return TRUE;
}

BOOL CQelHttpXmlRpcResult::GetValueArray(CQelHttpXmlRpcValueArray& items) const
{
    CQelXMLNode array;
    return FindArray(array) && items.Load(array);
}

BOOL CQelHttpXmlRpcResult::GetStructArray(CQelHttpXmlRpcStructArray& items) const
{
    CQelXMLNode array;
    return FindArray(array) && items.Load(array);
}

BOOL CQelHttpXmlRpcResult::GetResultData(CQelHttpXmlRcpResultData& receiver) const
{
    if (m_isFault) {
        receiver.SetFault(m_fault);
        return FALSE;
    }
    switch (receiver.GetDataType()) {
    case CQelHttpXmlRcpResultData::TypeNone:
        return TRUE;
    case CQelHttpXmlRcpResultData::TypeValue: {
        CQelHttpXmlRpcValue value;
        if (!GetValue(value)) {
            TessaryWriteLog(L"Failed to get simple value");
            return FALSE;
        }
        return receiver.LoadValue(value);
    }
    case CQelHttpXmlRcpResultData::TypeStruct: {
        CQelHttpXmlRpcStruct value;
        if (!GetStruct(value)) {
            TessaryWriteLog(L"Failed to get struct value!");
            return FALSE;
        }
        return receiver.LoadStruct(value);
    }
    case CQelHttpXmlRcpResultData::TypeValueArray: {
        CQelHttpXmlRpcValueArray items;
        if (!GetValueArray(items)) {
            TessaryWriteLog(L"Failed to get array value!");
            return FALSE;
        }
        return receiver.LoadValueArray(items);
    }
    case CQelHttpXmlRcpResultData::TypeStructArray: {
        CQelHttpXmlRpcStructArray items;
        if (!GetStructArray(items)) {
            TessaryWriteLog(L"Failed to get array value!");
            return FALSE;
        }
        return receiver.LoadStructArray(items);
    }
    default:
        TessaryWriteLog(L"Unknown data type!");
        return FALSE;
    }
}
