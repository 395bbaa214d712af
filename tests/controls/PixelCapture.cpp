#include "PixelCapture.h"

#include "framework/Handle.h"

namespace {

int Stride(int width) { return (width * 3 + 3) & ~3; }

RECT ClientOf(HWND window)
{
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
}

}  // namespace

CPixelCapture::CPixelCapture(int width, int height, COLORREF background)
    : m_width(width), m_height(height), m_dc(::CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap.Attach(::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    m_previous = ::SelectObject(m_dc, m_bitmap);
    const RECT all{0, 0, width, height};
    const CBrushOwner brush(::CreateSolidBrush(background));
    ::FillRect(m_dc, &all, brush);
}

CPixelCapture::CPixelCapture(HWND window)
    : CPixelCapture(ClientOf(window).right, ClientOf(window).bottom)
{
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Dc()), PRF_CLIENT | PRF_ERASEBKGND);
}

CPixelCapture::~CPixelCapture()
{
    if (m_previous)
        ::SelectObject(m_dc, m_previous);
}

COLORREF CPixelCapture::At(int x, int y) const
{
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    ::GdiFlush();
    const auto* pixel = static_cast<const BYTE*>(m_bits) + y * Stride(m_width) + x * 3;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

bool CPixelCapture::SaveBmp(const std::wstring& path) const
{
    if (!m_bits)
        return false;
    ::GdiFlush();
    const DWORD imageSize = static_cast<DWORD>(Stride(m_width) * m_height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = m_width;
    header.biHeight = -m_height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = imageSize;
    const CHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return out && ::WriteFile(out.Get(), &file, sizeof file, &written, nullptr) &&
           ::WriteFile(out.Get(), &header, sizeof header, &written, nullptr) &&
           ::WriteFile(out.Get(), m_bits, imageSize, &written, nullptr) && written == imageSize;
}
