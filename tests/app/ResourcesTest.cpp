#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "PixelCapture.h"
#include "foundation/TranslationTable.h"
#include "framework/GdiOwners.h"
#include "resources/ResourceIds.h"

namespace {

// Texts the program shows without a row in the translation tables: they stay English.
const std::set<std::wstring> kEnglishOnly = {
    L"Step", L"Document Information", L"(Empty)", L"&Windows...",
    L"Tessary keeps the books you subscribe to on this computer and shows their documents offline. Choose Update "
    L"to bring them up to date."};

HMODULE Module()
{
    return ::GetModuleHandleW(nullptr);
}

std::vector<BYTE> ResourceBytes(const wchar_t* type, const wchar_t* name)
{
    const HRSRC resource = ::FindResourceW(Module(), name, type);
    if (!resource)
        return {};
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(Module(), resource)));
    return std::vector<BYTE>(bytes, bytes + ::SizeofResource(Module(), resource));
}

BOOL CALLBACK AddResourceId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(ids)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

std::vector<WORD> ResourceIds(const wchar_t* type)
{
    std::vector<WORD> ids;
    ::EnumResourceNamesW(Module(), type, AddResourceId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// The source texts of the Simplified Chinese table, escaped as the table writes them.
std::set<std::wstring> TableRows()
{
    const std::vector<BYTE> bytes = ResourceBytes(L"QELLANGUAGE", MAKEINTRESOURCEW(2052));
    std::set<std::wstring> rows;
    if (bytes.size() < 2)
        return rows;
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(L"\r\n", start), text.size());
        const std::wstring line = text.substr(start, end - start);
        rows.insert(line.substr(0, line.find(L'=')));
        start = end + 2;
    }
    return rows;
}

bool IsRow(const std::set<std::wstring>& rows, std::wstring text)
{
    CQelTranslationsStringTable::EscapeText(text);
    return rows.count(text) != 0;
}

// One dialog of the resources as its extended template lays it out.
struct DialogItem {
    DWORD id = 0;
    std::wstring className;
    std::wstring text;
    WORD textOrdinal = 0;
    DWORD style = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    std::wstring caption;
    std::wstring font;
    WORD pointSize = 0;
    std::vector<DialogItem> items;
};

class TemplateReader {
public:
    explicit TemplateReader(std::vector<BYTE> bytes) : bytes_(std::move(bytes)) {}

    template <typename T>
    T Read()
    {
        T value{};
        if (offset_ + sizeof(T) <= bytes_.size())
            std::memcpy(&value, bytes_.data() + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }
    // A text, or an ordinal given back through `ordinal`.
    std::wstring ReadText(WORD* ordinal = nullptr)
    {
        std::wstring text;
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            const WORD value = Read<WORD>();
            if (ordinal)
                *ordinal = value;
            return text;
        }
        for (WORD c = first; c != 0 && offset_ < bytes_.size(); c = Read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~size_t{3}; }
    void Skip(size_t count) { offset_ += count; }

private:
    std::vector<BYTE> bytes_;
    size_t offset_ = 0;
};

DialogTemplate ReadDialog(WORD id)
{
    TemplateReader reader(ResourceBytes(RT_DIALOG, MAKEINTRESOURCEW(id)));
    DialogTemplate dialog;
    EXPECT_EQ(1, reader.Read<WORD>()) << id;
    EXPECT_EQ(0xFFFF, reader.Read<WORD>()) << id;
    reader.Skip(8);  // help id, extended style
    dialog.style = reader.Read<DWORD>();
    const WORD count = reader.Read<WORD>();
    reader.Skip(8);  // place and size
    reader.ReadText();  // menu
    reader.ReadText();  // class
    dialog.caption = reader.ReadText();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.Read<WORD>();
        reader.Skip(4);  // weight, italic, character set
        dialog.font = reader.ReadText();
    }
    static const std::map<WORD, std::wstring> kClassAtoms = {
        {0x80, L"Button"}, {0x81, L"Edit"}, {0x82, L"Static"}, {0x83, L"ListBox"}, {0x84, L"ScrollBar"},
        {0x85, L"ComboBox"}};
    for (WORD i = 0; i < count; ++i) {
        reader.AlignToDword();
        DialogItem item;
        reader.Skip(8);  // help id, extended style
        item.style = reader.Read<DWORD>();
        reader.Skip(8);  // place and size, checked on the open dialogs
        item.id = reader.Read<DWORD>();
        WORD atom = 0;
        item.className = reader.ReadText(&atom);
        if (atom)
            item.className = kClassAtoms.at(atom);
        item.text = reader.ReadText(&item.textOrdinal);
        reader.Skip(reader.Read<WORD>());
        dialog.items.push_back(item);
    }
    return dialog;
}

// Window classes are named without regard to case; the resource compiler writes them in capitals.
bool SameClass(const wchar_t* expected, const std::wstring& className)
{
    return ::lstrcmpiW(expected, className.c_str()) == 0;
}

const DialogItem* FindItem(const DialogTemplate& dialog, DWORD id)
{
    for (const DialogItem& item : dialog.items)
        if (item.id == id)
            return &item;
    return nullptr;
}

struct MenuItem {
    UINT id;
    std::wstring text;  // empty for a separator
};

// The single pop-up of a menu resource: its name and its items.
bool ReadMenu(WORD id, std::wstring& name, std::vector<MenuItem>& items)
{
    const CMenuOwner menu(::LoadMenuW(Module(), MAKEINTRESOURCEW(id)));
    if (!menu)
        return false;
    const auto text = [](HMENU owner, UINT position, UINT& command, HMENU& sub) {
        wchar_t buffer[260] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = buffer;
        info.cch = 260;
        ::GetMenuItemInfoW(owner, position, TRUE, &info);
        command = info.wID;
        sub = info.hSubMenu;
        return std::wstring(buffer);
    };
    UINT command = 0;
    HMENU popup = nullptr;
    const bool single = ::GetMenuItemCount(menu) == 1;
    if (single)
        name = text(menu, 0, command, popup);
    for (int i = 0; popup && i < ::GetMenuItemCount(popup); ++i) {
        HMENU sub = nullptr;
        MenuItem item{};
        item.text = text(popup, i, item.id, sub);
        EXPECT_EQ(nullptr, sub) << id;
        items.push_back(item);
    }
    return single && popup;
}

// Every string of the string table by id, read block by block.
std::map<UINT, std::wstring> StringTable()
{
    std::map<UINT, std::wstring> strings;
    for (WORD block : ResourceIds(RT_STRING)) {
        const std::vector<BYTE> bytes = ResourceBytes(RT_STRING, MAKEINTRESOURCEW(block));
        const auto* at = reinterpret_cast<const wchar_t*>(bytes.data());
        const auto* end = at + bytes.size() / 2;
        for (UINT i = 0; i < 16 && at < end; ++i) {
            const WORD length = static_cast<WORD>(*at++);
            if (length)
                strings[(block - 1u) * 16 + i] = std::wstring(at, at + length);
            at += length;
        }
    }
    return strings;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The sizes an icon resource carries.
std::set<int> IconSizes(WORD id)
{
    const std::vector<BYTE> bytes = ResourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEW(id));
    std::set<int> sizes;
    if (bytes.size() < 6)
        return sizes;
    WORD count = 0;
    std::memcpy(&count, bytes.data() + 4, sizeof count);
    for (WORD i = 0; i < count && 6 + (i + 1u) * sizeof(GroupIconEntry) <= bytes.size(); ++i) {
        GroupIconEntry entry{};
        std::memcpy(&entry, bytes.data() + 6 + i * sizeof entry, sizeof entry);
        sizes.insert(entry.width ? entry.width : 256);
    }
    return sizes;
}

// An icon drawn at its size over one colour, its pixels row by row.
std::vector<DWORD> IconPixels(WORD id, int size, COLORREF background)
{
    const CIconOwner icon(static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
    if (!icon)
        return {};
    const CPixelCapture picture(size, size, background);
    ::DrawIconEx(picture.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    std::vector<DWORD> out;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.push_back(picture.At(x, y));
    return out;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

struct DialogWindow {
    explicit DialogWindow(WORD id)
        : window(::CreateDialogParamW(Module(), MAKEINTRESOURCEW(id), nullptr, QuietDialogProc, 0))
    {
    }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    ~DialogWindow()
    {
        if (window)
            ::DestroyWindow(window);
    }
    HWND window;
};

const std::vector<WORD> kDialogs = {IDD_WINDOWS, IDD_SYNC, IDD_QUERY_USER_ACCOUNT,
                                    IDD_ABOUT,   IDD_NEW_ACCOUNT, IDD_CHOOSE_ACCOUNT};

} // namespace

TEST(Resources, EveryTextIsATableRowOrOneOfTheEnglishOnlyTexts)
{
    const std::set<std::wstring> rows = TableRows();
    ASSERT_FALSE(rows.empty());
    for (const std::wstring& text : kEnglishOnly)
        EXPECT_FALSE(IsRow(rows, text)) << "translated after all: " << text;
    const auto check = [&](const std::wstring& text, const std::string& where) {
        if (!text.empty()) {
            EXPECT_TRUE(IsRow(rows, text) || kEnglishOnly.count(text)) << where;
        }
    };
    std::vector<WORD> dialogs = ResourceIds(RT_DIALOG);
    std::sort(dialogs.begin(), dialogs.end());
    std::vector<WORD> expected = kDialogs;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, dialogs);
    for (WORD id : dialogs) {
        const DialogTemplate dialog = ReadDialog(id);
        check(dialog.caption, "caption of dialog " + std::to_string(id));
        for (const DialogItem& item : dialog.items)
            check(item.text, "dialog " + std::to_string(id) + " control " + std::to_string(item.id));
    }
    for (WORD id : ResourceIds(RT_MENU)) {
        std::wstring name;
        std::vector<MenuItem> items;
        ASSERT_TRUE(ReadMenu(id, name, items)) << "menu " << id;
        check(name, "pop-up of menu " + std::to_string(id));
        for (const MenuItem& item : items)
            check(item.text, "menu " + std::to_string(id) + " item " + std::to_string(item.id));
    }
    for (const auto& [id, text] : StringTable())
        check(text, "string " + std::to_string(id));
    // The frame has no accelerators; that it has no menu bar the menu count below shows.
    EXPECT_TRUE(ResourceIds(RT_ACCELERATOR).empty());
}

TEST(Resources, DialogsCarryTheirControls)
{
    // Every control the dialogs' code talks to, of the class it expects; where they sit is
    // checked on the open dialogs below.
    struct Controls {
        WORD dialog;
        const wchar_t* className;
        std::vector<DWORD> ids;
    };
    const std::vector<Controls> controls = {
        {IDD_SYNC, L"Static", {IDC_SYNC_STEP_TEXT, IDC_SYNC_STATUS_TEXT, IDC_SYNC_ICON}},
        {IDD_SYNC, L"msctls_progress32", {IDC_SYNC_OVERALL_PROGRESS, IDC_SYNC_ITEM_PROGRESS}},
        {IDD_SYNC, L"Button", {IDC_SYNC_DETAILS, IDC_SYNC_STOP, IDC_SYNC_HIDE}},
        {IDD_SYNC, L"SysListView32", {IDC_SYNC_STEPS}},
        {IDD_SYNC, L"RichEdit20W", {IDC_SYNC_LOG}},
        {IDD_QUERY_USER_ACCOUNT, L"Edit", {IDC_QUERY_USER_ACCOUNT_EMAIL, IDC_QUERY_USER_ACCOUNT_PASSWORD}},
        {IDD_QUERY_USER_ACCOUNT, L"Button", {IDC_QUERY_USER_ACCOUNT_REGISTER, IDOK, IDCANCEL}},
        {IDD_NEW_ACCOUNT, L"Edit", {IDC_NEW_ACCOUNT_USER_NAME, IDC_NEW_ACCOUNT_PASSWORD, IDC_NEW_ACCOUNT_PATH}},
        {IDD_NEW_ACCOUNT, L"Button", {IDC_NEW_ACCOUNT_REGISTER, IDOK, IDCANCEL}},
        {IDD_CHOOSE_ACCOUNT, L"SysListView32", {IDC_CHOOSE_ACCOUNT_LIST}},
        {IDD_CHOOSE_ACCOUNT, L"Button", {IDOK, IDCANCEL}},
        {IDD_ABOUT, L"Static",
         {IDC_ABOUT_ICON, IDC_ABOUT_TITLE, IDC_ABOUT_SECOND_TITLE, IDC_ABOUT_HOME_LINK, IDC_ABOUT_TEXT,
          IDC_ABOUT_COPYRIGHT, IDC_ABOUT_MAKER_LINK, IDC_ABOUT_YEARS}},
        {IDD_ABOUT, L"Button", {IDOK}},
        {IDD_WINDOWS, L"ListBox", {IDC_WINDOWS_LIST}},
        {IDD_WINDOWS, L"Button", {IDC_WINDOWS_ACTIVATE, IDC_WINDOWS_CLOSE, IDOK, IDCANCEL}}};
    std::map<WORD, DialogTemplate> dialogs;
    std::map<WORD, size_t> listed;
    for (const Controls& group : controls)
        listed[group.dialog] += group.ids.size();
    for (WORD id : kDialogs) {
        dialogs[id] = ReadDialog(id);
        EXPECT_EQ(L"MS Shell Dlg", dialogs[id].font);
        EXPECT_EQ(8, dialogs[id].pointSize);
        EXPECT_EQ(listed[id], std::count_if(dialogs[id].items.begin(), dialogs[id].items.end(),
                                            [](const DialogItem& item) { return item.id != 0xFFFFFFFF; }))
            << id;
    }
    for (const Controls& group : controls) {
        for (DWORD control : group.ids) {
            const DialogItem* item = FindItem(dialogs[group.dialog], control);
            ASSERT_NE(nullptr, item) << group.dialog << ": " << control;
            EXPECT_TRUE(SameClass(group.className, item->className)) << group.dialog << ": " << control;
        }
    }
    const DWORD sizable = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(sizable, dialogs[IDD_SYNC].style & sizable);

    const auto style = [&](WORD dialog, DWORD id, DWORD mask) {
        const DialogItem* item = FindItem(dialogs[dialog], id);
        return item ? item->style & mask : 0;
    };
    const DWORD report = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL;
    EXPECT_EQ(report, style(IDD_SYNC, IDC_SYNC_STEPS, LVS_TYPEMASK | report));
    const DWORD log = ES_READONLY | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL;
    EXPECT_EQ(log, style(IDD_SYNC, IDC_SYNC_LOG, log));
    EXPECT_TRUE(style(IDD_QUERY_USER_ACCOUNT, IDC_QUERY_USER_ACCOUNT_PASSWORD, ES_PASSWORD));
    EXPECT_TRUE(style(IDD_NEW_ACCOUNT, IDC_NEW_ACCOUNT_PASSWORD, ES_PASSWORD));
    EXPECT_FALSE(style(IDD_NEW_ACCOUNT, IDC_NEW_ACCOUNT_USER_NAME, ES_PASSWORD));
    EXPECT_TRUE(style(IDD_NEW_ACCOUNT, IDC_NEW_ACCOUNT_PATH, ES_READONLY));
    const DWORD chooser = report | LVS_SHOWSELALWAYS;
    EXPECT_EQ(chooser, style(IDD_CHOOSE_ACCOUNT, IDC_CHOOSE_ACCOUNT_LIST, LVS_TYPEMASK | chooser));
    EXPECT_TRUE(style(IDD_CHOOSE_ACCOUNT, IDOK, WS_DISABLED));
    EXPECT_FALSE(style(IDD_ABOUT, IDC_ABOUT_SECOND_TITLE, WS_VISIBLE));
    const DWORD list = LBS_EXTENDEDSEL | LBS_NOTIFY | WS_VSCROLL;
    EXPECT_EQ(list, style(IDD_WINDOWS, IDC_WINDOWS_LIST, list | LBS_MULTIPLESEL));
    // The About box's banner and icon come from the resources.
    EXPECT_EQ(IDB_ABOUT_BANNER, dialogs[IDD_ABOUT].items.front().textOrdinal);
    EXPECT_EQ(IDI_APP, FindItem(dialogs[IDD_ABOUT], IDC_ABOUT_ICON)->textOrdinal);
}

TEST(Resources, MenusShowTheirItemsEachSendingTheCommandItNames)
{
    // A command as its item says; empty: a separator.
    struct Item {
        const wchar_t* text;
        UINT command;
    };
    const std::map<WORD, std::vector<Item>> menus = {
        {IDR_DOCUMENT_LIST_MENU, {{L"Open in &New Tab", ID_OPEN_IN_NEW_TAB}}},
        {IDR_TAB_MENU,
         {{L"Close Tab\tDbl Click", ID_CLOSE_TAB}, {}, {L"Close All But This", ID_CLOSE_ALL_BUT_THIS},
          {L"Close Left", ID_CLOSE_LEFT}, {L"Close Right", ID_CLOSE_RIGHT}, {}, {L"Close All", ID_CLOSE_ALL}}},
        {IDR_FOLDER_TREE_MENU, {{L"Refresh", ID_REFRESH}}},
        {IDR_ATTACHMENT_LIST_MENU, {{L"&Open", ID_OPEN_ATTACHMENT}}},
        {IDR_SEARCH_SCOPE_MENU,
         {{L"Current Folder", ID_SEARCH_CURRENT_FOLDER}, {L"Current Folder and Sub Folders", ID_SEARCH_SUB_FOLDERS},
          {L"All Documents", ID_SEARCH_ALL_DOCUMENTS}}},
        {IDR_SORT_MENU,
         {{L"Date Created", ID_SORT_DATE_CREATED}, {L"Date Modified", ID_SORT_DATE_MODIFIED},
          {L"Title", ID_SORT_TITLE}, {L"Location", ID_SORT_LOCATION}}},
        {IDR_TOOLS_MENU, {{L"New Account...", ID_NEW_ACCOUNT}}},
        {IDR_HELP_MENU, {{L"About...", ID_ABOUT}}},
        {IDR_ZOOM_MENU,
         {{L"Zoom In", ID_ZOOM_IN}, {L"Zoom Out", ID_ZOOM_OUT}, {}, {L"400%", ID_ZOOM_400}, {L"200%", ID_ZOOM_200},
          {L"150%", ID_ZOOM_150}, {L"125%", ID_ZOOM_125}, {L"100%", ID_ZOOM_100}, {L"75%", ID_ZOOM_75},
          {L"50%", ID_ZOOM_50}, {}, {L"Custom...", ID_ZOOM_CUSTOM}}}};
    EXPECT_EQ(menus.size(), ResourceIds(RT_MENU).size());
    for (const auto& [id, expected] : menus) {
        std::wstring name;
        std::vector<MenuItem> items;
        ASSERT_TRUE(ReadMenu(id, name, items)) << id;
        ASSERT_EQ(expected.size(), items.size()) << id;
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(expected[i].text ? expected[i].text : L"", items[i].text) << id << ": " << i;
            if (expected[i].text) {
                EXPECT_EQ(expected[i].command, items[i].id) << id << ": " << items[i].text;
            }
        }
    }
}

TEST(Resources, ACommandsStringCarriesItsTipExactlyWhereTheTranslationTableHasThePair)
{
    const std::set<std::wstring> rows = TableRows();
    for (const auto& [id, text] : StringTable()) {
        if (id < ID_UPDATE)
            continue;
        const size_t feed = text.find(L'\n');
        const std::wstring shown = text.substr(0, feed);
        EXPECT_EQ(feed != std::wstring::npos, IsRow(rows, shown + L"\n" + shown)) << id;
    }
}

TEST(Resources, DialogsOpenWithTheirControlsInsideAndApart)
{
    ASSERT_NE(nullptr, ::LoadLibraryW(L"riched20.dll"));
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    for (WORD id : kDialogs) {
        const DialogWindow dialog(id);
        ASSERT_NE(nullptr, dialog.window) << id;
        RECT client{};
        ::GetClientRect(dialog.window, &client);
        struct Child {
            int id;
            RECT rect;
            bool banner;
        };
        std::vector<Child> children;
        for (HWND child = ::GetWindow(dialog.window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const LONG style = ::GetWindowLongW(child, GWL_STYLE);
            if (!(style & WS_VISIBLE))
                continue;
            RECT rect{};
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&rect), 2);
            wchar_t className[32] = {};
            ::GetClassNameW(child, className, 32);
            const bool banner = SameClass(L"Static", className) && (style & SS_TYPEMASK) == SS_BITMAP;
            children.push_back({::GetDlgCtrlID(child), rect, banner});
        }
        for (size_t i = 0; i < children.size(); ++i) {
            const Child& a = children[i];
            if (a.banner) {
                // Wide enough for the box at any font size; never below its top.
                EXPECT_GE(a.rect.right, client.right) << id;
                EXPECT_EQ(0, a.rect.top);
            } else {
                RECT inside{};
                ::IntersectRect(&inside, &a.rect, &client);
                EXPECT_TRUE(::EqualRect(&inside, &a.rect)) << id << ": " << a.id;
            }
            for (size_t j = i + 1; j < children.size(); ++j) {
                const Child& b = children[j];
                // Only the About box's title is drawn over its banner.
                if ((a.banner && b.id == IDC_ABOUT_TITLE) || (b.banner && a.id == IDC_ABOUT_TITLE))
                    continue;
                RECT overlap{};
                EXPECT_FALSE(::IntersectRect(&overlap, &a.rect, &b.rect)) << id << ": " << a.id << " and " << b.id;
            }
        }
    }
}

TEST(Resources, IconsAndBitmapsCarryTheirSizesAndDistinctPictures)
{
    std::map<WORD, std::set<int>> icons = {{IDI_APP, {16, 32, 48}}};
    for (WORD id : {202, 203, 204, 207, 208, 214, 216, 217, 256, 300, 301, 420})
        icons[id] = {16, 32};
    for (WORD id = IDI_DOC_ASP; id <= IDI_DOC_ZIP; ++id)
        icons[id] = {16, 32};
    for (WORD id = IDI_SYNC_FRAME_1; id <= IDI_SYNC_FRAME_4; ++id)
        icons[id] = {32, 64};
    std::vector<WORD> present = ResourceIds(RT_GROUP_ICON);
    EXPECT_EQ(icons.size(), present.size());
    std::map<WORD, std::vector<DWORD>> pictures;
    for (const auto& [id, sizes] : icons) {
        EXPECT_EQ(sizes, IconSizes(id)) << id;
        const int size = *sizes.begin();
        pictures[id] = IconPixels(id, size, RGB(255, 255, 255));
        ASSERT_EQ(static_cast<size_t>(size * size), pictures[id].size()) << id;
        // Something is drawn, and the mask lets the background through somewhere.
        EXPECT_TRUE(std::any_of(pictures[id].begin(), pictures[id].end(), [](DWORD p) { return p != 0xFFFFFF; }))
            << id;
        const std::vector<DWORD> onBlack = IconPixels(id, size, RGB(0, 0, 0));
        EXPECT_TRUE(std::any_of(onBlack.begin(), onBlack.end(), [](DWORD p) { return p == 0; })) << id;
    }
    for (auto a = pictures.begin(); a != pictures.end(); ++a)
        for (auto b = std::next(a); b != pictures.end(); ++b)
            EXPECT_TRUE(a->second != b->second) << a->first << " looks like " << b->first;

    const CBitmapOwner buttons(static_cast<HBITMAP>(
        ::LoadImageW(Module(), MAKEINTRESOURCEW(IDB_TAB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP bitmap{};
    ASSERT_TRUE(::GetObjectW(buttons, sizeof bitmap, &bitmap));
    EXPECT_EQ(16, bitmap.bmWidth);
    EXPECT_EQ(15, bitmap.bmHeight);
    const std::vector<BYTE> toolbar = ResourceBytes(MAKEINTRESOURCEW(241), MAKEINTRESOURCEW(IDR_TAB_TOOLBAR));
    std::vector<WORD> layout(toolbar.size() / 2);
    std::memcpy(layout.data(), toolbar.data(), layout.size() * 2);
    EXPECT_EQ((std::vector<WORD>{1, 16, 15, 1, ID_VIEW_WINDOWS}), layout);
    const CBitmapOwner banner(static_cast<HBITMAP>(
        ::LoadImageW(Module(), MAKEINTRESOURCEW(IDB_ABOUT_BANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    EXPECT_TRUE(banner);
}
