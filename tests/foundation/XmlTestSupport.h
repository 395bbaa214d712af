#pragma once
// Base of the tests of the XML wrapper and the settings store: COM on the
// test's thread and the log lines the test caused.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ComTest.h"
#include "TestFolder.h"
#include "common/TestLog.h"
#include "foundation/MessageBox.h"

class XmlTest : public ComTest
{
protected:
    // What the log gained since the test began.
    std::wstring NewLogText() const { return m_log.NewText(); }

private:
    CLogCapture m_log;
};
