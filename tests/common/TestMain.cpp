#include <gtest/gtest.h>

#include "foundation/MessageBox.h"

int main(int argc, char** argv)
{
    // Nobody is there to answer a message box in a test run: they go to the log.
    QelEnableMessageBoxes(FALSE);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
