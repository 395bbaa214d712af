#include "librarydata/AttachmentFileName.h"

#include "foundation/Paths.h"

#include <windows.h>

#include <cwchar>

namespace {

// Windows holds 255 UTF-16 units in one name; the Linux file systems under
// Wine hold 255 bytes, which the same name takes as UTF-8.
constexpr size_t kLongestName = 255;

size_t Utf8Length(const std::wstring& text)
{
    size_t bytes = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (IS_HIGH_SURROGATE(c) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

bool Fits(const std::wstring& name, size_t folderLength)
{
    return name.size() <= kLongestName && Utf8Length(name) <= kLongestName && folderLength + name.size() < MAX_PATH;
}

// The units of the piece's last character: two for a surrogate pair.
size_t LastCharacterUnits(const std::wstring& piece)
{
    const size_t size = piece.size();
    return size >= 2 && IS_LOW_SURROGATE(piece[size - 1]) && IS_HIGH_SURROGATE(piece[size - 2]) ? 2 : 1;
}

}  // namespace

std::wstring TessaryCleanFileNamePiece(const wchar_t* piece)
{
    std::wstring clean = piece ? piece : L"";
    for (wchar_t& c : clean) {
        if (c < 0x20 || wcschr(L"\\/:*?\"<>|", c))
            c = L'_';
    }
    return clean;
}

std::wstring TessaryAttachmentFileName(const wchar_t* attachmentName, const wchar_t* documentGuid,
                                       size_t folderLength)
{
    const wchar_t* name = attachmentName ? attachmentName : L"";
    std::wstring title = TessaryCleanFileNamePiece(QelExtractFileTitle(name).c_str());
    const std::wstring guid = L"_" + TessaryCleanFileNamePiece(documentGuid);
    std::wstring ext = TessaryCleanFileNamePiece(QelExtractFileExt(name).c_str());
    while (!Fits(title + guid + ext, folderLength) && title.size() > LastCharacterUnits(title))
        title.resize(title.size() - LastCharacterUnits(title));
    while (!Fits(title + guid + ext, folderLength) && !ext.empty())
        ext.resize(ext.size() - LastCharacterUnits(ext));
    return title + guid + ext;
}
