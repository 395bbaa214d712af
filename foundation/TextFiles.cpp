#include "foundation/TextFiles.h"

#include "foundation/StdioFile.h"

int QelGetTextFileEncoding(const wchar_t* path)
{
    CQelStdioFile file = QelOpenFile(path, L"rb", _SH_DENYNO);
    if (!file || QelGetOpenFileSize(file.get()) < 4)
        return QEL_TEXT_UNKNOWN;
    unsigned char head[3] = {};
    if (fread(head, 1, 3, file.get()) != 3)
        return QEL_TEXT_UNKNOWN;
    if (head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF)
        return QEL_TEXT_UTF8;
    if (head[0] == 0xFF && head[1] == 0xFE)
        return QEL_TEXT_UTF16LE;
    return QEL_TEXT_UNKNOWN;
}
