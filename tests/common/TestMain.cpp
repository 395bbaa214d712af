#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/ThreadStarts.h"
#include "foundation/Folders.h"
#include "foundation/MessageBox.h"

int main(int argc, char** argv)
{
    // Nobody is there to answer a message box in a test run: they go to the log.
    QelEnableMessageBoxes(FALSE);
    // Test programs run side by side in one Wine prefix and would share its temporary folder, where two
    // downloads named by the same tick count meet in one file. Each program runs from a folder of its own
    // (tests/wine-run.in), so its temporary files go there too.
    const std::wstring temp = QelGetExeFolder() + L"Temp\\";
    ::CreateDirectoryW(temp.c_str(), nullptr);
    ::SetEnvironmentVariableW(L"TMP", temp.c_str());
    ::SetEnvironmentVariableW(L"TEMP", temp.c_str());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    WaitForStartingThreads();
    return result;
}
