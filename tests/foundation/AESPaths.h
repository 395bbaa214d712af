#pragma once
// A test suite whose cases run twice: on the processor's AES instructions
// (where it has them) and on the table-driven cipher.
//     class AES : public CAESPathTest {};
//     INSTANTIATE_TEST_SUITE_P(, AES, AESPaths(), AESPathName);

#include <gtest/gtest.h>

#include "foundation/AES.h"

#include <string>

class CAESPathTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override { CQelAES::ForceTables(GetParam()); }
    void TearDown() override { CQelAES::ForceTables(false); }
};

inline auto AESPaths()
{
    return ::testing::Values(false, true);
}

inline std::string AESPathName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "Tables" : "Instructions";
}

// Sets the path for one scope.
class CForceAESTables
{
public:
    explicit CForceAESTables(bool force) { CQelAES::ForceTables(force); }
    ~CForceAESTables() { CQelAES::ForceTables(false); }
    CForceAESTables(const CForceAESTables&) = delete;
    CForceAESTables& operator=(const CForceAESTables&) = delete;
};
