#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "PaneFixture.h"
#include "app/frame/BookmarkListBox.h"

namespace {

class BookmarkListTest : public PaneFixture {
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        ASSERT_TRUE(list.Create(host));
    }

    static void Write(const std::wstring& path, const std::string& bytes)
    {
        std::ofstream(path.c_str(), std::ios::binary) << bytes;
    }
    static std::string Read(const std::wstring& path)
    {
        std::ifstream file(path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    // "name|value" of each item.
    std::vector<std::wstring> Items()
    {
        std::vector<std::wstring> items;
        for (int i = 0; i < static_cast<int>(list.SendMessage(LB_GETCOUNT)); ++i) {
            EXPECT_EQ(list.GetBookmark(i)->second, list.GetItemText(i));
            items.push_back(list.GetBookmark(i)->first + L"|" + list.GetBookmark(i)->second);
        }
        return items;
    }

    CBookmarkListBox list;
};

TEST_F(BookmarkListTest, LinesSplitAtTheFirstEqualsSignWhateverTheMarkAndLineEnds)
{
    const std::vector<std::wstring> expected{L"home|http://h/?a=1", L"|no name", L"empty|"};
    const std::wstring utf8 = folder / L"utf8.txt";
    const std::string utf8Bytes = "\xEF\xBB\xBFhome=http://h/?a=1\r\nno equals sign\r\n=no name\r\nempty=\r\n";
    Write(utf8, utf8Bytes);
    ASSERT_TRUE(list.Load(utf8.c_str()));
    EXPECT_EQ(expected, Items());

    const std::wstring utf16 = folder / L"utf16.txt";
    const std::wstring text = L"\nhome=http://h/?a=1\nno equals sign\n=no name\nempty=";
    std::string utf16Bytes = "\xFF\xFE";
    utf16Bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    Write(utf16, utf16Bytes);
    ASSERT_TRUE(list.Load(utf16.c_str()));
    EXPECT_EQ(expected, Items());

    EXPECT_FALSE(list.Load((folder / L"missing.txt").c_str()));
    EXPECT_TRUE(Items().empty());
    list.DestroyWindow();
    EXPECT_EQ(utf8Bytes, Read(utf8));
    EXPECT_EQ(utf16Bytes, Read(utf16));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((folder / L"missing.txt").c_str()));
}

}  // namespace
