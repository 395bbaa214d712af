#include <gtest/gtest.h>

#include <algorithm>

#include "TestFolder.h"
#include "foundation/Files.h"
#include "foundation/Paths.h"

namespace {

bool IsFolder(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<unsigned char> Pattern(size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>((i * 131) ^ (i >> 9));
    return bytes;
}

}  // namespace

TEST(Files, DirectoryTreeCreatesEveryLevelAndAcceptsExisting)
{
    TestFolder dir;
    const std::wstring tree = dir / L"x\\y\\z";
    EXPECT_TRUE(QelCreateDirectoryTree(tree.c_str()));
    EXPECT_TRUE(IsFolder(dir / L"x"));
    EXPECT_TRUE(IsFolder(tree));
    EXPECT_TRUE(QelCreateDirectoryTree(tree.c_str()));         // already there
    EXPECT_TRUE(QelEnsureFolder((tree + L"\\w\\").c_str()));  // trailing separator
    EXPECT_TRUE(IsFolder(tree + L"\\w"));
    EXPECT_TRUE(QelEnsureFolder((dir / L"s/t").c_str()));
    EXPECT_TRUE(IsFolder(dir / L"s\\t"));

    // A file in the way is a failure.
    ASSERT_TRUE(WriteText(dir / L"file", "x"));
    EXPECT_FALSE(QelCreateDirectoryTree((dir / L"file\\sub").c_str()));
    EXPECT_FALSE(QelCreateDirectoryTree(L""));
}

TEST(Files, DirectoryTreeKeepsUncPrefixWhole)
{
    // Under Wine a share \\server\share is the folder dosdevices\unc\server\share
    // of the prefix, reachable as a drive path through Z:.
    const char* prefix = getenv("WINEPREFIX");
    if (!prefix || !*prefix)
        GTEST_SKIP() << "needs a share; set up under Wine only";
    std::wstring unixPrefix;
    for (const char* p = prefix; *p; ++p)
        unixPrefix += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
    const std::wstring server = L"qeltest" + std::to_wstring(GetCurrentProcessId());
    const std::wstring shareRoot = L"Z:" + unixPrefix + L"\\dosdevices\\unc\\" + server;
    ASSERT_TRUE(QelEnsureFolder((shareRoot + L"\\share").c_str()));
    struct Cleanup {
        std::wstring path;
        ~Cleanup() { std::error_code e; std::filesystem::remove_all(std::filesystem::path(path), e); }
    } cleanup{shareRoot};

    const std::wstring unc = L"\\\\" + server + L"\\share\\u1\\u2";
    EXPECT_TRUE(QelCreateDirectoryTree(unc.c_str()));
    EXPECT_TRUE(IsFolder(shareRoot + L"\\share\\u1\\u2"));
    EXPECT_TRUE(IsFolder(unc));
    EXPECT_TRUE(QelCreateDirectoryTree((unc + L"\\").c_str()));  // exists now
    // Nothing was made on the current drive from a share path with its "\\" dropped.
    EXPECT_FALSE(IsFolder(L"\\" + server));
}

TEST(Files, DirectoryTreeUnderLongPathPrefix)
{
    TestFolder dir;
    if (dir.Path().size() < 3 || dir.Path()[1] != L':')
        GTEST_SKIP() << "temporary folder has no drive letter";
    const std::wstring prefixed = L"\\\\?\\" + dir.Path() + L"p1\\p2";
    EXPECT_TRUE(QelCreateDirectoryTree(prefixed.c_str()));
    EXPECT_TRUE(IsFolder(dir / L"p1\\p2"));
}

TEST(Files, SizesAndExistence)
{
    TestFolder dir;
    const std::wstring file = dir / L"a.bin";
    ASSERT_TRUE(WriteBytes(file, Pattern(1000)));
    EXPECT_TRUE(QelFileExists(file.c_str()));
    EXPECT_FALSE(QelFileExists(dir.Path().c_str()));
    EXPECT_EQ(1000u, QelGetFileSize(file.c_str()));
    EXPECT_EQ(0u, QelGetFileSize(dir.Path().substr(0, dir.Path().size() - 1).c_str()));  // a folder
    EXPECT_EQ(0u, QelGetFileSize((dir / L"missing").c_str()));
    EXPECT_LE(_abs64(QelGetFileModifiedTime(file.c_str()) - _time64(nullptr)), 5);
    EXPECT_EQ(0, QelGetFileModifiedTime((dir / L"missing").c_str()));
}

TEST(Files, SaveBytesCreatesOneMissingFolder)
{
    TestFolder dir;
    const std::string text = "hello";
    EXPECT_TRUE(QelSaveBytesToFile(text.data(), 5, (dir / L"new\\f.txt").c_str()));
    EXPECT_EQ(std::vector<unsigned char>(text.begin(), text.end()), ReadBytes(dir / L"new\\f.txt"));
    EXPECT_FALSE(QelSaveBytesToFile(text.data(), 5, (dir / L"two\\levels\\f.txt").c_str()));
}

TEST(Files, CopyFromMissingSourceFailsAndCreatesNothing)
{
    TestFolder dir;
    const std::wstring target = dir / L"target.txt";
    EXPECT_FALSE(QelCopyFile((dir / L"missing.txt").c_str(), target.c_str(), FALSE));
    EXPECT_FALSE(QelFileExists(target.c_str()));
    // A folder is no source either.
    EXPECT_FALSE(QelCopyFile(dir.Path().c_str(), target.c_str(), FALSE));
    EXPECT_FALSE(QelFileExists(target.c_str()));
}

TEST(Files, CopySmallAndEmptyFiles)
{
    TestFolder dir;
    const auto bytes = Pattern(5000);
    ASSERT_TRUE(WriteBytes(dir / L"s", bytes));
    ASSERT_TRUE(WriteBytes(dir / L"e", {}));
    EXPECT_TRUE(QelCopyFile((dir / L"s").c_str(), (dir / L"t").c_str(), FALSE));
    EXPECT_EQ(bytes, ReadBytes(dir / L"t"));
    EXPECT_FALSE(QelCopyFile((dir / L"e").c_str(), (dir / L"t").c_str(), TRUE));  // target exists
    EXPECT_EQ(bytes, ReadBytes(dir / L"t"));
    EXPECT_TRUE(QelCopyFile((dir / L"e").c_str(), (dir / L"t").c_str(), FALSE));
    EXPECT_TRUE(QelFileExists((dir / L"t").c_str()));
    EXPECT_EQ(0u, QelGetFileSize((dir / L"t").c_str()));
}

TEST(Files, CopyAtAndPastTheInMemoryLimit)
{
    TestFolder dir;
    for (size_t size : {size_t{QEL_COPY_IN_MEMORY_LIMIT}, size_t{QEL_COPY_IN_MEMORY_LIMIT} + 1,
                        size_t{QEL_COPY_IN_MEMORY_LIMIT} * 2 + 7}) {
        const auto bytes = Pattern(size);
        ASSERT_TRUE(WriteBytes(dir / L"big", bytes));
        ASSERT_TRUE(QelCopyFile((dir / L"big").c_str(), (dir / L"copy").c_str(), FALSE)) << size;
        EXPECT_TRUE(ReadBytes(dir / L"copy") == bytes) << size;
    }
    EXPECT_TRUE(QelCopyLargeFile((dir / L"big").c_str(), (dir / L"copy2").c_str(), TRUE));
    EXPECT_FALSE(QelCopyLargeFile((dir / L"big").c_str(), (dir / L"copy2").c_str(), TRUE));
}

TEST(Files, LargeCopyOntoItselfFailsWithoutTruncating)
{
    TestFolder dir;
    const auto bytes = Pattern(QEL_COPY_IN_MEMORY_LIMIT + 100);
    const std::wstring file = dir / L"self.bin";
    ASSERT_TRUE(WriteBytes(file, bytes));
    EXPECT_FALSE(QelCopyFile(file.c_str(), file.c_str(), FALSE));
    EXPECT_FALSE(QelCopyLargeFile(file.c_str(), file.c_str(), FALSE));
    EXPECT_TRUE(ReadBytes(file) == bytes);

    const auto small = Pattern(300);
    ASSERT_TRUE(WriteBytes(file, small));
    QelCopyFile(file.c_str(), file.c_str(), FALSE);
    EXPECT_EQ(small, ReadBytes(file));
}

TEST(Files, DeleteFolderContentsKeepsTheFolder)
{
    TestFolder dir;
    const std::wstring folder = dir / L"box";
    ASSERT_TRUE(QelEnsureFolder((folder + L"\\sub\\deeper").c_str()));
    ASSERT_TRUE(WriteText(folder + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteText(folder + L"\\noext", "b"));
    ASSERT_TRUE(WriteText(folder + L"\\sub\\c.txt", "c"));
    EXPECT_TRUE(QelDeleteFolderContents(folder.c_str()));
    EXPECT_TRUE(IsFolder(folder));
    std::vector<std::wstring> left;
    QelEnumFiles(folder.c_str(), L"*.*", left, QEL_ENUM_RECURSE);
    QelEnumFolders(folder.c_str(), left, QEL_ENUM_RECURSE);
    EXPECT_TRUE(left.empty());
    EXPECT_TRUE(QelDeleteFolderContents(folder.c_str()));  // already empty

    EXPECT_TRUE(QelDeleteFolder(folder.c_str()));
    EXPECT_FALSE(IsFolder(folder));
}

TEST(Files, DeleteFolderContentsRefusesEmptyRelativeAndRootPaths)
{
    for (const wchar_t* root : {L"", L"\\", L"C:", L"C:\\", L"c:/", L"C:\\Windows\\..", L"\\\\srv\\share\\",
                                L"\\\\srv\\share", L"\\\\?\\C:\\"}) {
        EXPECT_FALSE(QelDeleteFolderContents(root)) << std::wstring(root).size();
        EXPECT_FALSE(QelDeleteFolder(root));
    }
    EXPECT_FALSE(QelDeleteFolderContents(nullptr));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"C:\\windows"));

    // Relative paths name folders below the current one, or the current one itself.
    TestFolder dir;
    ASSERT_TRUE(QelEnsureFolder((dir / L"Data").c_str()));
    ASSERT_TRUE(WriteText(dir / L"Data\\kept.txt", "k"));
    ASSERT_TRUE(WriteText(dir / L"kept.txt", "k"));
    wchar_t current[MAX_PATH] = {};
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, current));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    const std::wstring drive = dir.Path().substr(0, 2);
    for (const std::wstring& relative : {std::wstring(L"Data"), std::wstring(L".\\Data"), drive, drive + L"Data"})
        EXPECT_FALSE(QelDeleteFolderContents(relative.c_str())) << relative;
    SetCurrentDirectoryW(current);
    EXPECT_TRUE(QelFileExists((dir / L"Data\\kept.txt").c_str()));
    EXPECT_TRUE(QelFileExists((dir / L"kept.txt").c_str()));
}

TEST(Files, EnumerationFiltersByExtensionAndRecurses)
{
    TestFolder dir;
    ASSERT_TRUE(QelEnsureFolder((dir / L"sub").c_str()));
    for (const wchar_t* name : {L"a.htm", L"b.TXT", L"c.html", L"d", L"sub\\e.txt"})
        ASSERT_TRUE(WriteText(dir / name, "x"));
    ASSERT_TRUE(WriteText(dir / L"h.txt", "x"));
    SetFileAttributesW((dir / L"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

    std::vector<std::wstring> files;
    QelEnumFiles(dir.Path().c_str(), L"*.htm;*.txt", files, 0);
    std::sort(files.begin(), files.end());
    // "*.htm" occurs inside "*.html" too: the filter is a substring test.
    EXPECT_EQ((std::vector<std::wstring>{dir / L"a.htm", dir / L"b.TXT"}), files);

    files.clear();
    QelEnumFiles(dir.Path().c_str(), L"*.txt", files, QEL_ENUM_HIDDEN | QEL_ENUM_RECURSE);
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{dir / L"b.TXT", dir / L"h.txt", dir / L"sub\\e.txt"}), files);

    files.clear();
    QelEnumFiles(dir.Path().c_str(), L"*.*", files, 0);
    EXPECT_EQ(4u, files.size());

    std::vector<std::wstring> folders;
    QelEnumFolders(dir.Path().c_str(), folders, 0);
    EXPECT_EQ((std::vector<std::wstring>{dir / L"sub"}), folders);
}

TEST(Files, UniqueNames)
{
    TestFolder dir;
    std::wstring path = dir / L"x.txt";
    QelMakeUniqueFileName(path);
    EXPECT_EQ(dir / L"x.txt", path);  // free already

    ASSERT_TRUE(WriteText(dir / L"x.txt", "1"));
    path = dir / L"x.txt";
    QelMakeUniqueFileName(path);
    EXPECT_EQ(dir / L"x_2.txt", path);

    ASSERT_TRUE(WriteText(dir / L"x_2.txt", "2"));
    path = dir / L"x.txt";
    QelMakeUniqueFileName(path);
    EXPECT_EQ(dir / L"x_3.txt", path);
    path = dir / L"x_2.txt";
    QelMakeUniqueFileName(path);
    EXPECT_EQ(dir / L"x_3.txt", path);

    ASSERT_TRUE(WriteText(dir / L"x_02.txt", "3"));
    path = dir / L"x_02.txt";
    QelMakeUniqueFileName(path);
    EXPECT_EQ(dir / L"x_02_2.txt", path);

    ASSERT_TRUE(QelEnsureFolder((dir / L"f").c_str()));
    std::wstring folder = dir / L"f\\";
    QelMakeUniqueFolderName(folder);
    EXPECT_EQ(dir / L"f_2\\", folder);
}

TEST(Files, UniqueNameOfAnOverlongPathIsCut)
{
    TestFolder dir;
    const std::wstring longTitle(300, L't');
    std::wstring path = dir.Path() + longTitle + L".txt";
    QelMakeUniqueFileName(path);
    EXPECT_EQ(250u, path.size());
    EXPECT_EQ(L".txt", QelExtractFileExt(path.c_str()));
    EXPECT_EQ(dir.Path(), QelExtractFilePath(path.c_str()));
}

TEST(Files, PumpingKeepsAQuitRequest)
{
    PostQuitMessage(7);
    QelPumpMessages();
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
    EXPECT_EQ(7u, message.wParam);
}

TEST(Files, VersionStringOfAModule)
{
    wchar_t kernel[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"kernel32.dll"), kernel, MAX_PATH);
    const std::wstring version = QelGetFileVersionString(kernel);
    EXPECT_EQ(3, std::count(version.begin(), version.end(), L'.')) << std::string(version.begin(), version.end());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(L"", QelGetFileVersionString(self));  // tests carry no version resource
}
