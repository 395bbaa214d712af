#include "foundation/Log.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "foundation/DateTime.h"
#include "foundation/Files.h"
#include "foundation/StdioFile.h"
#include "foundation/TextFiles.h"

namespace {

// One lock for the whole process, from the rotation check to the close, so that
// lines from different threads never interleave and rotation never races.
std::mutex& LogLock()
{
    static std::mutex lock;
    return lock;
}

std::wstring FormatLine(const wchar_t* text)
{
    std::wstring line = QelFormatLongDateTime(CQelOleDateTime::Now(), FALSE);
    wchar_t ticks[32] = {};
    swprintf(ticks, 32, L" (%d)", static_cast<int>(GetTickCount()));
    line += ticks;
    line += L": ";
    const size_t start = line.size();
    line += text ? text : L"";
    for (size_t i = start; i < line.size(); ++i)
        if (line[i] == L'\r' || line[i] == L'\n')
            line[i] = L' ';
    line += L"\r\n";
    return line;
}

}  // namespace

void QelWriteLogFile(const wchar_t* logPath, const wchar_t* text)
{
    if (!logPath || !*logPath)
        return;
    try {
        std::lock_guard<std::mutex> guard(LogLock());
        const std::wstring line = FormatLine(text);
        if (QelGetFileSize(logPath) > QEL_LOG_SIZE_LIMIT || QelGetTextFileEncoding(logPath) != QEL_TEXT_UTF16LE)
            DeleteFileW(logPath);
        CQelStdioFile file;
        if (QelFileExists(logPath)) {
            file = QelOpenFile(logPath, L"r+b");
            if (file && fseek(file.get(), 0, SEEK_END))
                return;
        } else {
            file = QelOpenFile(logPath, L"wb");
            static const unsigned char mark[2] = {0xFF, 0xFE};
            if (file && fwrite(mark, 1, 2, file.get()) != 2)
                return;
        }
        if (!file)
            return;
        fwrite(line.data(), sizeof(wchar_t), line.size(), file.get());
        fflush(file.get());
    } catch (...) {
    }
}
