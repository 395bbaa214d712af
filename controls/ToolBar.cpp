#include "controls/ToolBar.h"

#include <algorithm>
#include <string>
#include <utility>

#include "controls/PaintingHelpers.h"
#include "foundation/Encoding.h"
#include "foundation/MessageFormat.h"
#include "foundation/Translations.h"

namespace {

constexpr LONG kArrowPart = 15;    // the clickable arrow part of a drop-down button
constexpr size_t kStringBuffer = 1024;  // TB_ADDSTRINGW reads strings up to two zeros
constexpr size_t kToolTipText = 80;     // NMTTDISPINFO's szText, its zero included

// The part of a command's string after its first line feed, the whole string without
// one; up to an embedded zero, where the buffers it goes to would end it.
std::wstring ShownText(UINT command)
{
    const std::wstring text = QelLoadTranslatedString(command);
    const size_t feed = text.find(L'\n');
    return std::wstring(text.c_str() + (feed == std::wstring::npos ? 0 : feed + 1));
}

void CopyBounded(const std::wstring& text, wchar_t* buffer, size_t capacity)
{
    const size_t count = std::min(text.size(), capacity - 1);
    std::copy_n(text.c_str(), count, buffer);
    buffer[count] = L'\0';
}

// In the ANSI code page, cut before a character that would not fit whole.
void CopyBoundedAnsi(const std::wstring& text, char* buffer, size_t capacity)
{
    std::string ansi;
    QelUnicodeToAnsi(ansi, text.c_str());
    const char* end = ansi.c_str();
    for (const char* next = ::CharNextA(end); next != end && next - ansi.c_str() <= static_cast<ptrdiff_t>(capacity - 1);
         next = ::CharNextA(end))
        end = next;
    const size_t count = static_cast<size_t>(end - ansi.c_str());
    std::copy_n(ansi.c_str(), count, buffer);
    buffer[count] = '\0';
}

RECT ArrowPart(RECT rect)
{
    rect.left = rect.right - kArrowPart;
    return rect;
}

}  // namespace

int QelMeasureTextHeight(HWND window, HFONT font)
{
    const CWindowDc dc(window);
    if (!dc || !font)
        return 0;
    const HGDIOBJ previous = ::SelectObject(dc, font);
    if (!previous || previous == HGDI_ERROR)
        return 0;
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"kg\u4e2d\u56fd", 4, &size);
    ::SelectObject(dc, previous);
    return size.cy;
}

BOOL CQelToolBarCtrlBase::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    switch (message) {
    case TB_SETBUTTONSIZE:
    case TB_SETBITMAPSIZE:
    case WM_SETTINGCHANGE:
    case WM_SETFONT:
        result = MeasureAsFlat(message, wParam, lParam);
        return TRUE;
    default:
        break;
    }
    return CQelSubclassedControl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

LRESULT CQelToolBarCtrlBase::MeasureAsFlat(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LONG_PTR style = GetStyle();
    const BOOL styleChanged = ModifyStyle(0, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
    const auto extended = static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE));
    const BOOL arrows = (extended & TBSTYLE_EX_DRAWDDARROWS) != 0;
    if (arrows)
        SendMessage(TB_SETEXTENDEDSTYLE, 0, extended & ~TBSTYLE_EX_DRAWDDARROWS);
    const LRESULT result = DefWindowProc(message, wParam, lParam);
    if (styleChanged)
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
    if (arrows)
        SendMessage(TB_SETEXTENDEDSTYLE, 0, extended);
    return result;
}

CQelVistaToolBarCtrlImpl::CQelVistaToolBarCtrlImpl()
{
    QelCreateUIFont(m_normalFont, FALSE, 0, 0);
    QelCreateUIFont(m_boldFont, TRUE, 0, 0);
}

BOOL CQelVistaToolBarCtrlImpl::AddButton(const TBBUTTON& button)
{
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)) != 0;
}

BOOL CQelVistaToolBarCtrlImpl::AddToolButton(UINT command, BYTE style, BOOL withText, int image)
{
    if (m_autoSize)
        style |= BTNS_AUTOSIZE;
    INT_PTR stringIndex = -1;
    const std::wstring text = withText ? ShownText(command) : std::wstring();
    if (!text.empty()) {
        // Zeroed beyond the text, which is cut to leave two zeros at the end.
        wchar_t buffer[kStringBuffer]{};
        CopyBounded(text, buffer, kStringBuffer - 1);
        stringIndex = SendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(buffer));
        if (stringIndex >= 0)
            style |= BTNS_SHOWTEXT;
    }
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = static_cast<int>(command);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    button.iString = stringIndex;
    return AddButton(button);
}

BOOL CQelVistaToolBarCtrlImpl::AddSeparator()
{
    TBBUTTON button{};
    button.fsStyle = BTNS_SEP;
    return AddButton(button);
}

void CQelVistaToolBarCtrlImpl::SetGlowEdge(int x)
{
    m_glowEdge = x;
    if (IsWindow())
        Invalidate();
}

UINT CQelVistaToolBarCtrlImpl::GetButtonFlags(UINT command) const
{
    const auto found = m_buttonFlags.find(command);
    return found == m_buttonFlags.end() ? 0 : found->second;
}

void CQelVistaToolBarCtrlImpl::GetButtonRect(int index, RECT& rect)
{
    rect = RECT{};
    SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    ::InflateRect(&rect, -1, 0);
    ++rect.top;
}

int CQelVistaToolBarCtrlImpl::ButtonHeight()
{
    return HIWORD(SendMessage(TB_GETBUTTONSIZE));
}

int CQelVistaToolBarCtrlImpl::GetIdealWidth()
{
    const auto count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    int width = 4;
    for (int index = 0; index < count; ++index) {
        RECT item{};
        if (SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)))
            width += item.right - item.left;
    }
    return width;
}

int CQelVistaToolBarCtrlImpl::GetIdealHeight(int minimum)
{
    return SendMessage(TB_BUTTONCOUNT) ? std::max(ButtonHeight() + 2, minimum) : minimum;
}

int CQelVistaToolBarCtrlImpl::GetBarHeight()
{
    return SendMessage(TB_BUTTONCOUNT) ? ButtonHeight() + 2 : 22;
}

int CQelVistaToolBarCtrlImpl::GetTextBandHeight(int height)
{
    return std::max(height - 2, QelMeasureTextHeight(m_hWnd, m_normalFont) + 10);
}

void CQelVistaToolBarCtrlImpl::DoPaint(HDC dc)
{
    const RECT client = GetClientRect();
    const CSaveDcScope save(dc);
    DrawBackground(dc, client);
    ::SelectObject(dc, m_normalFont);
    const auto count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    const auto hotItem = static_cast<int>(SendMessage(TB_GETHOTITEM));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
    const auto disabledImages = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETDISABLEDIMAGELIST));
    for (int index = 0; index < count; ++index)
        DrawButton(dc, index, index == hotItem, images, disabledImages);
}

void CQelVistaToolBarCtrlImpl::DrawBackground(HDC dc, const RECT& client)
{
    m_splitY = client.top + (client.bottom - client.top - 3) / 2;
    QelDrawTwoBandGradient(dc, RECT{client.left, client.top, client.right, client.bottom - 3}, m_splitY, FALSE);
    const COLORREF edge[3] = {RGB(239, 239, 239), RGB(219, 219, 219), RGB(177, 177, 177)};
    for (int row = 0; row < 3; ++row) {
        const LONG y = client.bottom - 3 + row;
        QelFillSolidRect(dc, RECT{client.left, y, client.right, y + 1}, edge[row]);
    }
    if (m_glowEdge == -1)
        return;
    for (int column = m_glowEdge - 16; column < m_glowEdge; ++column) {
        const float factor = static_cast<float>(100 + (column - (m_glowEdge - 16)) / 2) / 100.0f;
        for (LONG y = client.top; y <= client.bottom - 4; ++y)
            ::SetPixelV(dc, column, y, QelLightenColor(::GetPixel(dc, column, y), factor));
    }
}

void CQelVistaToolBarCtrlImpl::DrawButtonBackground(HDC dc, int index, BOOL hot)
{
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return;
    RECT rect{};
    GetButtonRect(index, rect);
    const BOOL dropDown = (button.fsStyle & BTNS_DROPDOWN) != 0;
    if (button.fsStyle & BTNS_SEP) {
        const LONG x = (rect.left + rect.right) / 2;
        QelDrawDarkGrooveLine(dc, POINT{x, rect.top + 3}, POINT{x, rect.bottom - 3});
        QelDrawLightGrooveLine(dc, POINT{x + 1, rect.top + 3}, POINT{x + 1, rect.bottom - 3});
    } else if (index == m_arrowPressed) {
        QelDrawHotButtonFace(dc, rect, m_splitY);
        QelDrawPressedButtonFace(dc, ArrowPart(rect), m_splitY);
        DrawDropDownDivider(dc, rect, 1 | 2);
    } else if (button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) {
        QelDrawPressedButtonFace(dc, rect, m_splitY);
        if (dropDown)
            DrawDropDownDivider(dc, rect, 2);
    } else if (hot) {
        QelDrawHotButtonFace(dc, rect, m_splitY);
        if (dropDown)
            DrawDropDownDivider(dc, rect, 1 | 2 | 4);
    }
}

void CQelVistaToolBarCtrlImpl::DrawDropDownDivider(HDC dc, const RECT& rect, UINT mask)
{
    const LONG x = rect.right - 16;
    const COLORREF colors[3] = {RGB(250, 250, 251), RGB(217, 217, 217), RGB(250, 250, 251)};
    for (LONG column = 0; column < 3; ++column) {
        if (mask & (1u << column))
            QelFillSolidRect(dc, RECT{x + column, rect.top + 1, x + column + 1, rect.bottom - 1}, colors[column]);
    }
}

void CQelVistaToolBarCtrlImpl::DrawDropDownArrow(HDC dc, const RECT& rect)
{
    const COLORREF color = ::GetSysColor(COLOR_WINDOWTEXT);
    const CPenOwner pen(::CreatePen(PS_SOLID, 1, color));
    const CBrushOwner brush(::CreateSolidBrush(color));
    const CSelectScope selectPen(dc, pen);
    const CSelectScope selectBrush(dc, brush);
    const LONG x = (rect.left + rect.right) / 2;
    const LONG y = (rect.top + rect.bottom) / 2;
    const POINT corners[3] = {{x - 2, y - 1}, {x + 2, y - 1}, {x, y + 1}};
    ::Polygon(dc, corners, 3);
}

void CQelVistaToolBarCtrlImpl::DrawButton(HDC dc, int index, BOOL hot, HIMAGELIST images, HIMAGELIST disabledImages)
{
    DrawButtonBackground(dc, index, hot);
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) || (button.fsStyle & BTNS_SEP))
        return;
    RECT rect{};
    GetButtonRect(index, rect);
    const CSaveDcScope save(dc);
    const BOOL hasText = (button.fsStyle & BTNS_SHOWTEXT) != 0;
    const BOOL hasImage = images && button.iBitmap >= 0;
    const BOOL enabled = (button.fsState & TBSTATE_ENABLED) != 0;

    std::wstring text;
    LONG width = 0;
    if (hasText) {
        ::SelectObject(dc, (GetButtonFlags(static_cast<UINT>(button.idCommand)) & BoldText) ? m_boldFont
                                                                                             : m_normalFont);
        const auto length = static_cast<int>(SendMessage(TB_GETBUTTONTEXTW, button.idCommand));
        if (length > 0) {
            text.resize(static_cast<size_t>(length) + 1);
            SendMessage(TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(length));
        }
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        width = extent.cx;
    }

    const LONG left = rect.left;
    const LONG span = rect.right - rect.left;
    RECT imageRect{};
    RECT textRect{};
    if (hasText && hasImage) {
        width += 2;
        const LONG x = left + (span - width - 18) / 2;
        imageRect = RECT{x, rect.top, x + 18, rect.bottom};
        textRect = RECT{x + 18, rect.top, x + 18 + width, rect.bottom};
    } else if (hasText) {
        const LONG x = left + (span - width) / 2;
        textRect = RECT{x, rect.top, x + width, rect.bottom};
    } else if (hasImage) {
        const LONG x = left + (span - 18) / 2;
        imageRect = RECT{x, rect.top, x + 18, rect.bottom};
    }

    if (button.fsStyle & BTNS_DROPDOWN) {
        ::OffsetRect(&imageRect, -8, 0);
        ::OffsetRect(&textRect, -8, 0);
        DrawDropDownArrow(dc, RECT{rect.right - 16, rect.top, rect.right, rect.bottom});
    } else if ((button.fsStyle & BTNS_WHOLEDROPDOWN) && (hasText || hasImage)) {
        ::OffsetRect(&imageRect, -4, 0);
        ::OffsetRect(&textRect, -4, 0);
        RECT arrow = hasText ? textRect : imageRect;
        ::OffsetRect(&arrow, arrow.right - arrow.left, 0);
        arrow.right = std::min(arrow.left + 8, rect.right);
        DrawDropDownArrow(dc, arrow);
    }

    if (hasImage) {
        const int x = imageRect.left + (imageRect.right - imageRect.left - 16) / 2;
        const int y = imageRect.top + (imageRect.bottom - imageRect.top - 16) / 2;
        if (enabled || disabledImages) {
            ::ImageList_Draw(enabled ? images : disabledImages, button.iBitmap, dc, x, y, ILD_TRANSPARENT);
        } else {
            const CIconOwner icon(::ImageList_GetIcon(images, button.iBitmap, ILD_NORMAL));
            if (icon)
                ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.Get()), 0, x, y, 16, 16,
                             DST_ICON | DSS_DISABLED);
        }
    }
    if (hasText) {
        ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

BOOL CQelVistaToolBarCtrlImpl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                    LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(wParam, lParam, result);
        return TRUE;
    case WM_NOTIFY: {
        // The tool tip's requests reach the parent under the tool tip's name, so
        // reflection would never bring them back here: answer them on the way out.
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && (header->code == TTN_GETDISPINFOW || header->code == TTN_GETDISPINFOA) &&
            header->hwndFrom == reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS))) {
            FillToolTip(header);
            result = 0;
            return TRUE;
        }
        break;
    }
    case OCM__BASE + WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->code == TBN_DROPDOWN) {
            ShowDropDownMenu(*reinterpret_cast<NMTOOLBARW*>(lParam));
            result = TBDDRET_DEFAULT;
            return TRUE;
        }
        if (header && header->code == TBN_GETINFOTIPW) {
            FillInfoTip(*reinterpret_cast<NMTBGETINFOTIPW*>(lParam));
            result = 0;
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    return CQelToolBarCtrlBase::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CQelVistaToolBarCtrlImpl::OnLeftButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    m_arrowPressed = -1;
    POINT point = PointFromLParam(lParam);
    const auto index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    TBBUTTON button{};
    RECT item{};
    if (index >= 0 && SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) &&
        (button.fsStyle & BTNS_DROPDOWN) && SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item))) {
        const RECT arrow = ArrowPart(item);
        if (::PtInRect(&arrow, point))
            m_arrowPressed = index;
    }
    // The drop-down menu runs inside the default handling.
    result = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    const int pressed = std::exchange(m_arrowPressed, -1);
    if (pressed != -1 && IsWindow() && SendMessage(TB_GETITEMRECT, pressed, reinterpret_cast<LPARAM>(&item)))
        InvalidateRect(item, TRUE);
}

void CQelVistaToolBarCtrlImpl::ShowDropDownMenu(const NMTOOLBARW& button)
{
    // Loaded for each click and destroyed once tracked.
    const CMenuOwner menu(::LoadMenuW(FrameworkInstance(), MAKEINTRESOURCEW(button.iItem)));
    if (!menu)
        return;
    QelTranslateMenu(menu);
    const HMENU popup = ::GetSubMenu(menu, 0);
    if (!popup)
        return;
    POINT corner{button.rcButton.left, button.rcButton.bottom};
    ClientToScreen(corner);
    ::TrackPopupMenu(popup, 0, corner.x, corner.y, 0, m_hWnd, nullptr);
}

void CQelVistaToolBarCtrlImpl::FillToolTip(NMHDR* header)
{
    if (!header->idFrom)
        return;
    const std::wstring text = ShownText(static_cast<UINT>(header->idFrom));
    if (text.empty())
        return;
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        CopyBounded(text, info->szText, kToolTipText);
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        CopyBoundedAnsi(text, info->szText, kToolTipText);
        info->lpszText = info->szText;
    }
}

void CQelVistaToolBarCtrlImpl::FillInfoTip(NMTBGETINFOTIPW& tip)
{
    if (!tip.hdr.idFrom || !tip.pszText || tip.cchTextMax < 260)
        return;
    const std::wstring text = ShownText(static_cast<UINT>(tip.iItem));
    if (!text.empty())
        CopyBounded(text, tip.pszText, static_cast<size_t>(tip.cchTextMax));
}
