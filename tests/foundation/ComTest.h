#pragma once
// Base of the tests whose code needs COM on the test's thread (the charset
// lookup, the XML parser).

#include <gtest/gtest.h>

#include "framework/ComInitialize.h"

class ComTest : public ::testing::Test
{
private:
    CComInitialize m_com;
};
