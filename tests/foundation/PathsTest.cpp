#include <gtest/gtest.h>

#include "foundation/Folders.h"
#include "foundation/Paths.h"

TEST(Paths, Pieces)
{
    EXPECT_EQ(L"C:\\a\\", QelExtractFilePath(L"C:\\a\\b.txt"));
    EXPECT_EQ(L"b.txt", QelExtractFileName(L"C:\\a\\b.txt"));
    EXPECT_EQ(L".txt", QelExtractFileExt(L"C:\\a\\b.txt"));
    EXPECT_EQ(L"", QelExtractFileExt(L"C:\\a\\b"));
    EXPECT_EQ(L"b", QelExtractFileTitle(L"C:\\a\\b.txt"));
    EXPECT_EQ(L"b.tar", QelExtractFileTitle(L"b.tar.gz"));
    EXPECT_EQ(L"\\\\srv\\sh\\", QelExtractFilePath(L"\\\\srv\\sh\\x.doc"));
    EXPECT_EQ(L"", QelExtractFilePath(L""));
    EXPECT_EQ(L"b", QelExtractFolderName(L"C:\\a\\b\\"));

    // Longer than the runtime's usual 260-character parts.
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\name.txt";
    EXPECT_EQ(L"name.txt", QelExtractFileName(deep.c_str()));
}

TEST(Paths, Separators)
{
    std::wstring empty, slash = L"C:\\a/", plain = L"C:\\a";
    QelAppendPathSeparator(empty);
    QelAppendPathSeparator(slash);
    QelAppendPathSeparator(plain);
    EXPECT_EQ(L"", empty);
    EXPECT_EQ(L"C:\\a/", slash);
    EXPECT_EQ(L"C:\\a\\", plain);
    QelRemovePathSeparator(plain);
    EXPECT_EQ(L"C:\\a", plain);

    std::wstring folder = L"C:\\a\\b\\";
    QelGetParentFolder(folder);
    EXPECT_EQ(L"C:\\a\\", folder);

    EXPECT_EQ(0, QelComparePaths(L"C:\\Windows\\", L"c:\\windows"));
    EXPECT_NE(0, QelComparePaths(L"C:\\a", L"C:\\b"));
}

TEST(Paths, TrimPath)
{
    wchar_t quoted[] = L"  \"C:\\x y\\\"  ";
    EXPECT_TRUE(QelTrimPath(quoted));
    EXPECT_STREQ(L"C:\\x y\\", quoted);
    wchar_t blank[] = L" \" ";
    EXPECT_FALSE(QelTrimPath(blank));
    EXPECT_FALSE(QelTrimPath(nullptr));
}

TEST(Paths, ValidFileNames)
{
    EXPECT_TRUE(QelIsValidFileName(L"a\\b.txt"));  // the backslash is allowed
    EXPECT_FALSE(QelIsValidFileName(L"50%"));
    EXPECT_FALSE(QelIsValidFileName(std::wstring(260, L'a').c_str()));
    EXPECT_EQ(L"a-b-c", QelGetValidFileName(L"a:b??c"));
    EXPECT_EQ(L"x", QelGetValidFileName(L" ?x* "));
    EXPECT_EQ(259u, QelGetValidFileName(std::wstring(300, L'a').c_str()).size());
}

TEST(Folders, ProgramAndSystemFolders)
{
    const std::wstring exe = QelGetExePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(iswupper(exe[0]));
    EXPECT_EQ(L".exe", QelExtractFileExt(exe.c_str()));
    EXPECT_EQ(QelExtractFilePath(exe.c_str()), QelGetExeFolder());
    EXPECT_EQ(QelGetExeFolder(), QelGetModuleFolder(nullptr));

    const std::wstring data = QelGetDataFolder();
    EXPECT_EQ(QelGetExeFolder() + L"Data\\", data);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(data.c_str()));

    for (const std::wstring& folder : {QelGetTempPath(), QelGetSystemFolder(), QelGetWindowsFolder(),
                                       QelGetAppDataFolder(), QelGetMyDocumentsFolder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(L'\\', folder.back());
    }
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(name, &size));
    EXPECT_EQ(std::wstring(name), QelGetComputerName());
}
