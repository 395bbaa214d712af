#include "NetTestSupport.h"

#include "librarydata/HttpTransfer.h"

BOOL CRawBody::Send(HINTERNET request, IQelHttpProgress* progress)
{
    return QelHttpSendXmlBody(request, m_bytes, progress);
}

std::string LoginRequestBody()
{
    return "<?xml version=\"1.0\"?>\r\n<methodCall><methodName>accounts.clientLogin</methodName><params><param>"
           "<value><struct><member><name>email</name><value><string>nobody@example.com</string></value></member>"
           "<member><name>password</name><value><string>md5.x</string></value></member>"
           "<member><name>program_type</name><value><string>reader</string></value></member>"
           "<member><name>client_type</name><value><string>WIN</string></value></member>"
           "</struct></value></param></params></methodCall>";
}
