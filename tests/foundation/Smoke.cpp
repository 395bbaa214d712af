#include <gtest/gtest.h>
#include <windows.h>
#include <sqlite3.h>
TEST(Smoke, Runs) { EXPECT_NE(0u, GetACP()); EXPECT_STRNE("", sqlite3_libversion()); }
