#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "framework/GlobalLock.h"

namespace {

UINT LockCount(HGLOBAL memory)
{
    return ::GlobalFlags(memory) & GMEM_LOCKCOUNT;
}

class CMovableBlock
{
public:
    explicit CMovableBlock(SIZE_T size) : m_memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {}
    ~CMovableBlock() { ::GlobalFree(m_memory); }
    CMovableBlock(const CMovableBlock&) = delete;
    CMovableBlock& operator=(const CMovableBlock&) = delete;
    HGLOBAL Get() const { return m_memory; }

private:
    HGLOBAL m_memory;
};

}  // namespace

TEST(GlobalLock, HoldsOneLockUntilItGoesOrUnlocks)
{
    CMovableBlock block(64);
    ASSERT_NE(nullptr, block.Get());
    // Held throughout, so that an unlock too many shows in the count instead of stopping at 0.
    const CGlobalLock other(block.Get());
    {
        CGlobalLock lock(block.Get());
        ASSERT_NE(nullptr, lock.Data());
        EXPECT_EQ(2u, LockCount(block.Get()));
        EXPECT_GE(lock.Size(), 64u);
        std::memcpy(lock.Data(), "abc", 4);

        CGlobalLock moved(std::move(lock));
        EXPECT_EQ(nullptr, lock.Data());
        EXPECT_EQ(2u, LockCount(block.Get())) << "a move takes the lock, it does not add one";
        EXPECT_STREQ("abc", static_cast<const char*>(moved.Data()));

        moved.Unlock();
        EXPECT_EQ(1u, LockCount(block.Get()));
        EXPECT_EQ(nullptr, moved.Data());
        moved.Unlock();
        EXPECT_EQ(1u, LockCount(block.Get())) << "a second unlock does nothing";
    }
    EXPECT_EQ(1u, LockCount(block.Get())) << "the moved-from lock unlocks nothing when it goes";
    {
        CGlobalLock first(block.Get());
        CGlobalLock second;
        second = std::move(first);
        EXPECT_EQ(2u, LockCount(block.Get()));
    }
    EXPECT_EQ(1u, LockCount(block.Get()));

    // A movable block of no bytes is born discarded and cannot be locked.
    CMovableBlock empty(0);
    ASSERT_NE(nullptr, empty.Get());
    EXPECT_EQ(nullptr, CGlobalLock(empty.Get()).Data());
}
