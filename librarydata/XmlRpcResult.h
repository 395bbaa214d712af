// An XML-RPC answer (a methodResponse document) and the receivers that take
// its result value in the shape they expect.
#pragma once

#include "librarydata/XmlRpcValues.h"
#include "foundation/XMLDocument.h"

// The base of result receivers. There is no virtual destructor: receivers
// live on their callers' stacks and are never deleted through the base.
class CQelHttpXmlRcpResultData
{
public:
    enum { TypeNone = 0, TypeValue = 1, TypeStruct = 2, TypeValueArray = 3, TypeStructArray = 4 };

    virtual int GetDataType() = 0;
    virtual BOOL LoadStructArray(const CQelHttpXmlRpcStructArray& items);
    virtual BOOL LoadValueArray(const CQelHttpXmlRpcValueArray& items);
    virtual BOOL LoadStruct(const CQelHttpXmlRpcStruct& value);
    virtual BOOL LoadValue(const CQelHttpXmlRpcValue& value);
    virtual BOOL SetFault(const CQelHttpXmlRpcFault& fault);
    virtual BOOL IsFault();

    const CQelHttpXmlRpcFault& GetFault() const { return m_fault; }

protected:
    ~CQelHttpXmlRcpResultData() = default;

    CQelHttpXmlRpcFault m_fault;
    BOOL m_isFault = FALSE;
};

class CQelHttpXmlRcpResultData_Strcut : public CQelHttpXmlRcpResultData
{
public:
    int GetDataType() override { return TypeStruct; }

protected:
    ~CQelHttpXmlRcpResultData_Strcut() = default;
};

// For calls whose answer is not read: the call only has to succeed.
class CQelHttpXmlRcpResultData_Empty : public CQelHttpXmlRcpResultData
{
public:
    int GetDataType() override { return TypeNone; }
};

class CQelHttpXmlRpcResult
{
public:
    virtual ~CQelHttpXmlRpcResult() = default;

    BOOL LoadFromText(const wchar_t* text);
    BOOL Parse();
    BOOL IsFault() const { return m_isFault; }
    BOOL GetFault(CQelHttpXmlRpcFault& fault) const;
    const std::wstring& GetValueType() const { return m_valueType; }

    BOOL GetValue(CQelHttpXmlRpcValue& value) const;
    BOOL GetStruct(CQelHttpXmlRpcStruct& value) const;
    BOOL GetValueArray(CQelHttpXmlRpcValueArray& items) const;
    BOOL GetStructArray(CQelHttpXmlRpcStructArray& items) const;

    // A fault goes to the receiver's SetFault and gives FALSE; otherwise the
    // value in the shape the receiver asks for, loaded by the receiver.
    BOOL GetResultData(CQelHttpXmlRcpResultData& receiver) const;

private:
    BOOL FindArray(CQelXMLNode& array) const;

    CQelXMLDocument m_document;
    CQelXMLNode m_root;
    CQelXMLNode m_value;
    std::wstring m_valueType;
    BOOL m_isFault = FALSE;
    CQelHttpXmlRpcFault m_fault;
};
