// Every control of the kit in one window, in the states worth seeing, captured from the
// screen into a 24-bit BMP beside the build for a person to look at.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <utility>
#include <vector>

#include "IconFile.h"
#include "ListFixture.h"
#include "PixelCapture.h"
#include "RecordingParent.h"
#include "ToolBarTestIds.h"
#include "controls/FlatButton.h"
#include "controls/IconEdit.h"
#include "controls/ListBox.h"
#include "controls/ListView.h"
#include "controls/MultiLineListView.h"
#include "controls/MultiPaneStatusBar.h"
#include "controls/PaintingHelpers.h"
#include "controls/SplitterWindow.h"
#include "controls/TabControl.h"
#include "controls/ThemedBorder.h"
#include "controls/ToolBar.h"
#include "controls/TreeCtrl.h"
#include "foundation/Settings.h"

#ifndef TESSARY_GALLERY_BMP
#error "TESSARY_GALLERY_BMP must name the gallery picture's path"
#endif

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 640;
// Blue, orange, green, red: the icons' colours throughout.
constexpr COLORREF kColors[] = {RGB(40, 120, 220), RGB(230, 150, 30), RGB(60, 170, 80), RGB(200, 50, 50)};

// A window of our own class, which reflects its children's notifications back to them.
class CPane : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN; }
};

// The account list's look: the name, then its folder in grey.
class CAccountList : public CQelMultiLineListCtrl {
public:
    CAccountList() : CQelMultiLineListCtrl(2) {}
    CQelIconImageList& Images() { return m_images; }

protected:
    void DrawItemLine(HDC dc, int item, int subItem, UINT state, const RECT& line, UINT format, LPARAM data,
                      int index) override
    {
        if (index == 0)
            return CQelMultiLineListCtrl::DrawItemLine(dc, item, subItem, state, line, format, data, index);
        ::SetTextColor(dc, ::GetSysColor((state & LVIS_SELECTED) ? COLOR_HIGHLIGHTTEXT : COLOR_BTNSHADOW));
        RECT area = line;
        const std::wstring folder = L"C:\\Tessary\\Data\\" + GetItemText(item, subItem) + L"\\";
        ::DrawTextW(dc, folder.c_str(), -1, &area, DT_SINGLELINE | DT_END_ELLIPSIS);
    }
};

// A size x size disc of colour with a darker rim, transparent around it.
HICON DiscIcon(int size, COLORREF color)
{
    const CWindowDc screen(nullptr);
    const CBitmapOwner colour(::CreateCompatibleBitmap(screen, size, size));
    const CBitmapOwner mask(::CreateBitmap(size, size, 1, 1, nullptr));
    const CMemoryDc dc(::CreateCompatibleDC(screen));
    const RECT all{0, 0, size, size};
    const CPenOwner rim(::CreatePen(PS_SOLID, 1, QelDarkenColor(color, 0.6f)));
    const CBrushOwner fill(::CreateSolidBrush(color));
    {
        const CSelectScope bitmap(dc, colour);
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        const CSelectScope pen(dc, rim);
        const CSelectScope brush(dc, fill);
        ::Ellipse(dc, 1, 1, size - 1, size - 1);
    }
    {
        const CSelectScope bitmap(dc, mask);
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        const CSelectScope pen(dc, ::GetStockObject(BLACK_PEN));
        const CSelectScope brush(dc, ::GetStockObject(BLACK_BRUSH));
        ::Ellipse(dc, 1, 1, size - 1, size - 1);
    }
    ICONINFO info{TRUE, 0, 0, mask, colour};
    return ::CreateIconIndirect(&info);
}

void AddIcon(HIMAGELIST list, int size, COLORREF color)
{
    const CIconOwner icon(DiscIcon(size, color));
    ::ImageList_ReplaceIcon(list, -1, icon);
}

void AddColumn(HWND list, int index, const wchar_t* title, int width, int format = LVCFMT_LEFT)
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void AddTexts(HWND list, std::initializer_list<const wchar_t*> texts)
{
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (const wchar_t* text : texts) {
        row.pszText = const_cast<wchar_t*>(text);
        if (row.iSubItem == 0)
            row.iItem = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
        else
            ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row.iItem), reinterpret_cast<LPARAM>(&row));
        ++row.iSubItem;
    }
}

HWND Static(HWND parent, const wchar_t* text, HFONT font)
{
    const HWND window = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, 0, 0, 10, 10,
                                          parent, nullptr, nullptr, nullptr);
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

struct CGallery {
    CFontOwner font;
    CImageListOwner toolImages{::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0)};
    CImageListOwner treeImages{::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0)};
    CImageListOwner tabImages{::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0)};
    CIconOwner statusIcon{DiscIcon(16, kColors[2])};
    CRecordingParent window{WS_EX_TOPMOST};
    CQelVistaToolBarCtrl toolBar;
    CQelVistaIconEdit promptBox;
    CQelVistaIconEdit textBox;
    CQelVistaFlatButton plainButton, hotButton, disabledButton;
    CQelVistaSplitterWindowT<true, CQelEmptySettings> mainSplitter;
    CQelVistaSplitterWindowT<false, CQelEmptySettings> leftSplitter;
    CQelControlChooser chooser;
    CQelVistaTreeCtrl tree;
    CPane right;
    CQelVistaTabCtrl tabs;
    CQelVistaListCtrl books;
    CAccountList accounts;
    CQelMultiPaneStatusBar statusBar;
    std::vector<std::wstring> iconFiles;

    ~CGallery()
    {
        if (window.IsWindow())
            window.DestroyWindow();
        for (const std::wstring& file : iconFiles)
            ::DeleteFileW(file.c_str());
    }

    void Build()
    {
        QelCreateUIFont(font, FALSE, 0, 0);
        ASSERT_TRUE(window.Create(nullptr, RECT{20, 20, 20 + kWidth, 20 + kHeight}, L"Gallery",
                                  WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN));
        const RECT client = window.GetClientRect();
        BuildToolBar(client.right);
        const LONG top = toolBar.GetRectInParent().bottom;
        BuildSearchStrip(top + 6);
        BuildStatusBar();
        ASSERT_TRUE(mainSplitter.Create(window, RECT{0, top + 40, client.right, statusBar.GetRectInParent().top}));
        ASSERT_TRUE(leftSplitter.Create(mainSplitter, RECT{0, 0, 10, 10}));
        ASSERT_TRUE(right.Create(mainSplitter, RECT{0, 0, 10, 10}));
        mainSplitter.SetSplitterPanes(leftSplitter, right);
        mainSplitter.SetSplitterPos(260);
        BuildLeftPanes();
        BuildRightPane(right.GetClientRect());
    }

    void BuildToolBar(LONG width)
    {
        ASSERT_TRUE(toolBar.Create(window, RECT{0, 0, width, 33}, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_LIST |
                                       TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN |
                                       CCS_NORESIZE));
        toolBar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()));
        toolBar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_DRAWDDARROWS);
        const auto padding = static_cast<DWORD>(toolBar.SendMessage(TB_GETPADDING));
        toolBar.SendMessage(TB_SETPADDING, 0, MAKELPARAM(30, HIWORD(padding)));
        for (const COLORREF color : kColors)
            AddIcon(toolImages, 16, color);
        toolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolImages.Get()));
        toolBar.AddToolButton(IDS_GALLERY_UPDATE, BTNS_BUTTON, TRUE, 0);
        toolBar.SetButtonFlags(IDS_GALLERY_SYNC, CQelVistaToolBarCtrl::BoldText);
        toolBar.AddToolButton(IDS_GALLERY_SYNC, BTNS_DROPDOWN, TRUE, 1);
        toolBar.AddToolButton(IDS_GALLERY_READING, BTNS_CHECK, TRUE, 2);
        toolBar.AddToolButton(IDS_GALLERY_DELETE, BTNS_BUTTON, TRUE, 3);
        toolBar.AddSeparator();
        toolBar.AddToolButton(IDS_GALLERY_VIEW, BTNS_WHOLEDROPDOWN, TRUE, -1);
        toolBar.SendMessage(TB_SETSTATE, IDS_GALLERY_READING, TBSTATE_ENABLED | TBSTATE_CHECKED);
        toolBar.SendMessage(TB_SETSTATE, IDS_GALLERY_DELETE, 0);
        toolBar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(10, toolBar.GetTextBandHeight(33)));
        toolBar.SendMessage(TB_AUTOSIZE);
        ::SetWindowPos(toolBar, nullptr, 0, 0, width, toolBar.GetIdealHeight(33), SWP_NOMOVE | SWP_NOZORDER);
    }

    void BuildSearchStrip(LONG top)
    {
        const DWORD boxStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;
        for (CQelVistaIconEdit* box : {&promptBox, &textBox}) {
            box->SetPrompt(L"Search the library");
            box->SetSearchIcon(IDI_TEST_SEARCH);
            box->SetClearIcon(IDI_TEST_CLEAR);
        }
        promptBox.SetHistoryIcon(IDI_TEST_HISTORY);
        const LONG x = 8;
        ASSERT_TRUE(promptBox.Create(window, RECT{x, top, x + 240, top + 26}, L"", boxStyle));
        ASSERT_TRUE(textBox.Create(window, RECT{x + 250, top, x + 490, top + 26}, L"", boxStyle));
        textBox.SetWindowText(L"tea gardens");
        LONG left = x + 510;
        for (auto [button, caption] : {std::pair<CQelVistaFlatButton*, const wchar_t*>{&plainButton, L"Refresh"},
                                       {&hotButton, L"Zoom"},
                                       {&disabledButton, L"Remove"}}) {
            ASSERT_TRUE(button->Create(window, RECT{left, top + 1, left + 20, top + 25}, L"",
                                       WS_CHILD | WS_VISIBLE | BS_LEFT, 0, 100));
            button->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()));
            button->SetWindowText(caption);  // takes the caption's width
            left = button->GetRectInParent().right + 8;
        }
        disabledButton.EnableWindow(FALSE);
    }

    void BuildStatusBar()
    {
        ASSERT_TRUE(statusBar.Create(window, RECT{}, L"Ready", WS_CHILD | WS_VISIBLE));
        statusBar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()));
        const UINT panes[] = {CStatusBarPanes::kDefaultPaneId, 100, 101, 102};
        ASSERT_TRUE(statusBar.SetPanes(panes, 4));
        statusBar.SetPaneWidth(100, 200);
        statusBar.SetPaneWidth(101, 130);
        statusBar.SetPaneWidth(102, 150);
        statusBar.SetPaneIcon(102, statusIcon);
        statusBar.SetPaneWindow(100, Static(statusBar, L"Syncing 3 of 12 books", font));
        const HWND progress = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                                statusBar, nullptr, nullptr, nullptr);
        ::SendMessageW(progress, PBM_SETPOS, 40, 0);
        statusBar.SetPaneWindow(101, progress, 12);
        statusBar.SetPaneWindow(102, Static(statusBar, L"Online", font));
        statusBar.SendMessage(WM_SIZE);
    }

    void BuildLeftPanes()
    {
        ASSERT_TRUE(chooser.Create(leftSplitter, RECT{0, 0, 10, 10}, nullptr,
                                   WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0, 7));
        int index = 0;
        for (const wchar_t* text : {L"All books", L"Reading now", L"Favourites", L"Recently added"}) {
            chooser.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            iconFiles.push_back(WriteTestIconFile(kColors[index]));
            chooser.SetItemIcon(index, iconFiles.back().c_str());
            ++index;
        }
        chooser.SendMessage(LB_SETCURSEL, 1);

        ASSERT_TRUE(tree.Create(leftSplitter, RECT{0, 0, 10, 10}));
        AddIcon(treeImages, 16, RGB(230, 190, 80));
        tree.SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages.Get()));
        const HTREEITEM library = tree.InsertItem(TVI_ROOT, L"Library", 0);
        const HTREEITEM fiction = tree.InsertItem(library, L"Fiction", 0);
        tree.InsertItem(fiction, L"Novels", 0);
        const HTREEITEM poetry = tree.InsertItem(fiction, L"Poetry", 0);
        tree.InsertItem(library, L"History", 0);
        tree.InsertItem(tree.InsertItem(library, L"Science", 0), L"Physics", 0);
        tree.InsertItem(tree.InsertItem(TVI_ROOT, L"Shelf", 0), L"Borrowed", 0);
        tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(library));
        tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(fiction));
        tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(poetry));
        leftSplitter.SetSplitterPanes(chooser, tree);
        leftSplitter.SetSplitterPos(130);
    }

    void BuildRightPane(const RECT& area)
    {
        ASSERT_TRUE(tabs.Create(right, RECT{0, 0, area.right, 28}));
        for (int color = 0; color < 3; ++color)
            AddIcon(tabImages, 16, kColors[color]);
        tabs.SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(tabImages.Get()));
        int image = 0;
        for (const wchar_t* text : {L"Books", L"Notes & marks", L"Reading list"}) {
            TCITEMW tab{};
            tab.mask = TCIF_TEXT | TCIF_IMAGE;
            tab.pszText = const_cast<wchar_t*>(text);
            tab.iImage = image++;
            tabs.SendMessage(TCM_INSERTITEMW, 3, reinterpret_cast<LPARAM>(&tab));
        }
        tabs.SendMessage(TCM_SETCURSEL, 1);

        const LONG listBottom = area.bottom - 130;
        ASSERT_TRUE(books.Create(right, RECT{0, 28, area.right, listBottom}));
        AddColumn(books, 0, L"Title", 300);
        AddColumn(books, 1, L"Author", 200);
        AddColumn(books, 2, L"Pages", 80, LVCFMT_RIGHT);
        AddTexts(books, {L"The Tea Gardens of the Eastern Hills", L"M. Okafor", L"312"});
        AddTexts(books, {L"A Short History of Paper", L"L. Brandt", L"198"});
        AddTexts(books, {L"Rivers and the Towns They Made, with Maps of Every Crossing", L"P. Ito", L"455"});
        AddTexts(books, {L"Night Trains", L"S. Varga", L"240"});
        AddTexts(books, {L"The Quiet Garden", L"R. Duarte", L"86"});
        SetRowState(books, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

        const LONG half = area.right / 2;
        ASSERT_TRUE(accounts.Create(right, RECT{0, listBottom + 6, half - 3, area.bottom},
                                    nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS |
                                                 LVS_NOCOLUMNHEADER | LVS_SINGLESEL));
        accounts.Images().Create(32);
        accounts.Images().AddIcon(CIconOwner(DiscIcon(32, kColors[0])), L"alice");
        for (const wchar_t* name : {L"alice", L"bob", L"carol"})
            AddTexts(accounts, {name});
        SetRowState(accounts, 0, LVIS_SELECTED, LVIS_SELECTED);

        const HWND richEdit = ::CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW,
                                     L"Synchronised 12 books.\r\nTwo attachments were skipped.",
                                     WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, half + 3, listBottom + 6,
                                     area.right - half - 3, area.bottom - listBottom - 6, right, nullptr, nullptr,
                                     nullptr);
        ::SendMessageW(richEdit, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        QelAttachThemedBorder(richEdit);
    }

    // The window as the screen shows it.
    bool Capture(const std::wstring& path)
    {
        const RECT frame = window.GetWindowRect();
        CPixelCapture picture(frame.right - frame.left, frame.bottom - frame.top);
        const CWindowDc screen(nullptr);
        ::BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), screen, frame.left, frame.top, SRCCOPY);
        return picture.SaveBmp(path);
    }
};

}  // namespace

TEST(Gallery, EveryControlInOneWindowIsCapturedFromTheScreen)
{
    ASSERT_TRUE(::LoadLibraryW(L"RICHED20.DLL"));
    CGallery gallery;
    gallery.Build();
    if (::testing::Test::HasFatalFailure())
        return;

    ::SetForegroundWindow(gallery.window);
    ::SetFocus(gallery.books);
    POINT hot{200, MiddleY(RowBounds(gallery.books, 3))};
    gallery.books.ClientToScreen(hot);
    ::SetCursorPos(hot.x, hot.y);
    PumpWaitingMessages();
    // States the mouse would give, set after the waiting messages are handled.
    gallery.hotButton.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    gallery.toolBar.SendMessage(TB_SETHOTITEM, 0);
    ::RedrawWindow(gallery.window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

    const std::wstring path = L"" TESSARY_GALLERY_BMP;
    ASSERT_TRUE(gallery.Capture(path)) << "cannot write the gallery picture";
}
