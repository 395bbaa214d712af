#include "app/frame/DocumentFileName.h"

#include <shlwapi.h>

#include <string>
#include <vector>

#include "app/frame/MainFrameMessages.h"

namespace {

std::vector<std::wstring> SplitAtUnderscores(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t found; (found = text.find(L'_', start)) != std::wstring::npos; start = found + 1)
        parts.push_back(text.substr(start, found - start));
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

LRESULT AnswerDocumentFileName(CTessaryDatabase& database, const wchar_t* request, wchar_t* reply)
{
    if (!request || !reply || !*request)
        return 0;
    const std::vector<std::wstring> parts = SplitAtUnderscores(request);
    if (parts.size() != 2)
        return 0;
    const std::wstring path = database.GetDocumentFileName(parts[0].c_str(), parts[1].c_str());
    if (!::PathFileExistsW(path.c_str()))
        return 0;
    ::lstrcpynW(reply, path.c_str(), static_cast<int>(kDocumentFileNameLength));
    return 1;
}
