#include "librarydata/AttachmentFileName.h"

#include "foundation/Paths.h"

#include <cwchar>

std::wstring TessaryCleanFileNamePiece(const wchar_t* piece)
{
    std::wstring clean = piece ? piece : L"";
    for (wchar_t& c : clean) {
        if (c < 0x20 || wcschr(L"\\/:*?\"<>|", c))
            c = L'_';
    }
    return clean;
}

std::wstring TessaryAttachmentFileName(const wchar_t* attachmentName, const wchar_t* documentGuid)
{
    const wchar_t* name = attachmentName ? attachmentName : L"";
    return TessaryCleanFileNamePiece(QelExtractFileTitle(name).c_str()) + L"_" +
           TessaryCleanFileNamePiece(documentGuid) + TessaryCleanFileNamePiece(QelExtractFileExt(name).c_str());
}
