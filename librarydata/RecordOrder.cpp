#include "librarydata/RecordOrder.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr __int64 kRecentSeconds = 3 * 24 * 60 * 60;

__int64 LaterDate(const TESSARYDOCUMENTDATA& document)
{
    return std::max(document.created, document.modified);
}

}  // namespace

bool TessaryCompareAttachmentNames(const TESSARYDOCUMENTATTACHMENTDATA& a, const TESSARYDOCUMENTATTACHMENTDATA& b)
{
    return _wcsicmp(a.name.c_str(), b.name.c_str()) < 0;
}

bool TessaryCompareDocumentDates(const TESSARYDOCUMENTDATA& a, const TESSARYDOCUMENTDATA& b)
{
    return LaterDate(a) > LaterDate(b);
}

void TessaryRemoveDuplicateDocuments(std::vector<TESSARYDOCUMENTDATA>& documents)
{
    std::sort(documents.begin(), documents.end(), [](const TESSARYDOCUMENTDATA& a, const TESSARYDOCUMENTDATA& b) {
        return _wcsicmp(a.documentGuid.c_str(), b.documentGuid.c_str()) > 0;
    });
    for (std::size_t i = documents.size(); i-- > 1;) {
        if (_wcsicmp(documents[i].documentGuid.c_str(), documents[i - 1].documentGuid.c_str()) == 0)
            documents.erase(documents.begin() + i);
    }
}

void TessaryRemoveOldDocuments(std::vector<TESSARYDOCUMENTDATA>& documents, __int64 now)
{
    const __int64 cutOff = now - kRecentSeconds;
    for (std::size_t i = documents.size(); i-- > 1;) {
        if (documents[i].created < cutOff && documents[i].modified < cutOff)
            documents.erase(documents.begin() + i);
    }
}
