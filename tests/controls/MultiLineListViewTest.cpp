#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "IconFile.h"
#include "ListFixture.h"
#include "PixelCapture.h"
#include "controls/MultiLineListView.h"

namespace {

class CTwoLineList : public CQelMultiLineListCtrl {
public:
    CTwoLineList() : CQelMultiLineListCtrl(2) {}
    std::vector<RECT> lines;  // of the first row, as last painted
    CQelIconImageList& Images() { return m_images; }

protected:
    void DrawItemLine(HDC dc, int item, int subItem, UINT state, const RECT& line, UINT format, LPARAM data,
                      int index) override
    {
        if (item == 0)
            lines.resize(static_cast<size_t>(index) + 1, line);
        CQelMultiLineListCtrl::DrawItemLine(dc, item, subItem, state, line, format, data, index);
    }
};

int LineHeight(HWND list)
{
    const CWindowDc dc(list);
    const CSelectScope font(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"Kg", 2, &size);
    return size.cy;
}

}  // namespace

TEST(MultiLineListView, RowsHoldTheirLinesAboveAButtonFaceLineAndTheColumnFillsTheList)
{
    CListHost host;
    CTwoLineList list;
    ASSERT_TRUE(host.Create(nullptr, RECT{0, 0, 400, 300}, L"host", WS_POPUP));
    ASSERT_TRUE(list.Create(host, RECT{0, 0, 300, 200}));
    host.AddRow(list, 1, {L"alice"});
    host.AddRow(list, 2, {L"bob"});
    SetRowState(list, 1, LVIS_SELECTED, LVIS_SELECTED);

    const int lineHeight = LineHeight(list);
    const RECT row = RowBounds(list, 0);
    EXPECT_GE(row.bottom - row.top, (lineHeight + 3) * 2 + 4);
    EXPECT_LE(row.bottom - row.top, (lineHeight + 3) * 2 + 5);

    const CPixelCapture picture(list);
    ASSERT_EQ(2u, list.lines.size());
    EXPECT_EQ(row.left + 8, list.lines[0].left);  // no images
    EXPECT_EQ(row.top + 3, list.lines[0].top);
    EXPECT_EQ(lineHeight, list.lines[0].bottom - list.lines[0].top);
    EXPECT_EQ(row.top + 3 + lineHeight + 3, list.lines[1].top);
    for (int item = 0; item < 2; ++item)
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), picture.At(150, RowBounds(list, item).bottom - 1)) << item;

    // With the icon cache filled, each row's image stands left of its text.
    ASSERT_TRUE(list.Images().Create(32));
    const std::wstring icon = WriteTestIconFile(RGB(200, 40, 40));
    EXPECT_EQ(0, list.Images().AddIconFile(icon.c_str()));
    ::DeleteFileW(icon.c_str());
    list.lines.clear();
    const CPixelCapture withImages(list);
    ASSERT_EQ(2u, list.lines.size());
    EXPECT_EQ(row.left + 40, list.lines[0].left);
    EXPECT_EQ(RGB(200, 40, 40), withImages.At(row.left + 4 + 16, MiddleY(row)));

    EXPECT_EQ(list.GetClientRect().right, list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
    ::SetWindowPos(list, nullptr, 0, 0, 250, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(list.GetClientRect().right, list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
}
