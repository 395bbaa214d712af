#include "foundation/MessageBox.h"

// Nobody answers message boxes in a test run.
namespace {
const bool kMessageBoxesOff = (QelEnableMessageBoxes(FALSE), true);
}
