#include "foundation/Log.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "foundation/DateTime.h"
#include "foundation/StdioFile.h"

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

// The log positioned at its end, or begun again with the mark when it is
// missing, larger than the limit, shorter than 4 bytes or not marked FF FE.
// One open in the usual case: size and mark come from the opened file.
CQelStdioFile OpenLogForAppend(const wchar_t* logPath)
{
    static const unsigned char mark[2] = {0xFF, 0xFE};
    CQelStdioFile file = QelOpenFile(logPath, L"r+b");
    if (file) {
        const __int64 size = QelGetOpenFileSize(file.get());
        unsigned char head[2] = {};
        const bool keep = size >= 4 && size <= QEL_LOG_SIZE_LIMIT && fread(head, 1, 2, file.get()) == 2 &&
                          head[0] == mark[0] && head[1] == mark[1];
        if (keep) {
            if (fseek(file.get(), 0, SEEK_END) != 0)
                file.reset();
            return file;
        }
        file.reset();
    }
    // Created, or emptied when it was there.
    file = QelOpenFile(logPath, L"wb");
    if (file && fwrite(mark, 1, 2, file.get()) != 2)
        return CQelStdioFile();
    return file;
}

}  // namespace

void QelWriteLogFile(const wchar_t* logPath, const wchar_t* text)
{
    if (!logPath || !*logPath)
        return;
    try {
        // Formatted before the lock: other threads wait only for the file.
        const std::wstring line = FormatLine(text);
        std::lock_guard<std::mutex> guard(LogLock());
        CQelStdioFile file = OpenLogForAppend(logPath);
        if (!file)
            return;
        fwrite(line.data(), sizeof(wchar_t), line.size(), file.get());
        fflush(file.get());
    } catch (...) {
    }
}
