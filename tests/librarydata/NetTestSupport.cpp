#include "NetTestSupport.h"

#include "librarydata/HttpTransfer.h"
#include "foundation/Folders.h"

#include <algorithm>

namespace {

std::wstring ReadLog(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    if (bytes.size() < 2)
        return std::wstring();
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    return text;
}

}  // namespace

CLogCapture::CLogCapture() : m_path(QelGetDataFolder() + L"Tessary.log"), m_start(ReadLog(m_path).size())
{
}

std::vector<std::wstring> CLogCapture::Lines() const
{
    std::wstring text = ReadLog(m_path);
    // The log starts afresh past its size limit; then everything is new.
    text = text.size() >= m_start ? text.substr(m_start) : text;
    std::vector<std::wstring> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(L"\r\n", pos);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(pos, end - pos);
        const size_t message = line.find(L"): ");
        lines.push_back(message == std::wstring::npos ? line : line.substr(message + 3));
        pos = end + 2;
    }
    return lines;
}

bool CLogCapture::Contains(const std::wstring& line) const
{
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool CLogCapture::ContainsInOrder(const std::vector<std::wstring>& wanted) const
{
    const auto lines = Lines();
    auto at = lines.begin();
    for (const auto& line : wanted) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end())
            return false;
        ++at;
    }
    return true;
}

std::wstring CLogCapture::Text() const
{
    std::wstring text;
    for (const auto& line : Lines())
        text += line + L"\n";
    return text;
}

BOOL CRawBody::Send(HINTERNET request, IQelHttpProgress* progress)
{
    const std::wstring headers =
        L"Content-Type: text/xml\r\nContent-length: " + std::to_wstring(m_bytes.size()) + L"\r\n";
    INTERNET_BUFFERSW buffers{};
    buffers.dwStructSize = sizeof buffers;
    buffers.lpcszHeader = headers.c_str();
    buffers.dwHeadersLength = DWORD(headers.size());
    buffers.dwBufferTotal = DWORD(m_bytes.size());
    BOOL result = FALSE;
    if (HttpSendRequestExW(request, &buffers, nullptr, 0, 0))
        result = QelHttpWriteFile(request, m_bytes.data(), DWORD(m_bytes.size()), progress);
    if (!HttpEndRequestW(request, nullptr, 0, 0))
        return FALSE;
    return result;
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
