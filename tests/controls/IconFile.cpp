#include "IconFile.h"

#include <vector>

#include "framework/Handle.h"

std::wstring WriteTestIconFile(COLORREF color)
{
    wchar_t folder[MAX_PATH]{};
    wchar_t path[MAX_PATH]{};
    if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"ico", 0, path))
        return std::wstring();
    const DWORD pixels = 16 * 16 * 4;
    const DWORD mask = 16 * 4;
    const DWORD imageSize = sizeof(BITMAPINFOHEADER) + pixels + mask;
    std::vector<BYTE> file;
    const auto put = [&file](const void* data, size_t size) {
        file.insert(file.end(), static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    };
    const WORD directory[3] = {0, 1, 1};  // reserved, icon, one image
    put(directory, sizeof directory);
    const BYTE entry[4] = {16, 16, 0, 0};
    const WORD planesAndBits[2] = {1, 32};
    const DWORD sizeAndOffset[2] = {imageSize, sizeof directory + 16};
    put(entry, sizeof entry);
    put(planesAndBits, sizeof planesAndBits);
    put(sizeAndOffset, sizeof sizeAndOffset);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 16;
    header.biHeight = 32;  // colour and mask
    header.biPlanes = 1;
    header.biBitCount = 32;
    put(&header, sizeof header);
    const BYTE pixel[4] = {GetBValue(color), GetGValue(color), GetRValue(color), 255};
    for (int i = 0; i < 16 * 16; ++i)
        put(pixel, sizeof pixel);
    file.resize(file.size() + mask, 0);

    const CHandle out(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!out || !::WriteFile(out.Get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr) ||
        written != file.size())
        return std::wstring();
    return path;
}
