// Screenshots of the program after a sync, kept in the test output for a person to look at.
#include "ProgramSyncFixture.h"  // winsock2.h before windows.h

TEST_F(ProgramSync, TheFrameAfterASyncAndTheExpandedDialogAreCapturedFromTheScreen)
{
    Open(StandardScenario());
    Update();
    ASSERT_TRUE(WaitForBooks()) << log.Text();
    EXPECT_TRUE(CProgramRun::SaveScreenshot(frame, L"ProgramFrame"));

    CProgramRun::Press(dialog, IDC_SYNC_DETAILS);
    ::ShowWindowAsync(dialog, SW_SHOW);
    ASSERT_TRUE(run.WaitUntil([&] { return ::IsWindowVisible(dialog) != FALSE; }));
    EXPECT_TRUE(CProgramRun::SaveScreenshot(dialog, L"ProgramSyncDialog"));
}
