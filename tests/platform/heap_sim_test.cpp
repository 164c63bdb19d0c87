#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/heap.h"
#include "platform/platform.h"
#include "platform/thread_state.h"
#include "sim_fixture.h"

namespace {

class HeapSimTest : public SimTest {
protected:
    platform::HeapHandle heap = sim.heap().Create();
};

TEST_F(HeapSimTest, BlocksAreZeroFilledAndShrinkKeepsTheirStart) {
    auto* block = static_cast<char*>(platform::heap().Alloc(heap, 16));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block, "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
    std::memcpy(block, "abcdef", 6);
    auto* smaller = static_cast<char*>(platform::heap().ReAlloc(heap, block, 4));
    ASSERT_NE(smaller, nullptr);
    EXPECT_EQ(std::string(smaller, 4), "abcd");
    EXPECT_EQ(sim.heap().BlockSize(heap, smaller), 4u);
    EXPECT_FALSE(sim.heap().BlockSize(heap, block)) << "the old block is gone";
    EXPECT_TRUE(platform::heap().Free(heap, smaller));
    EXPECT_EQ(sim.heap().BlockCount(heap), 0u);
}

TEST_F(HeapSimTest, RefusalsLeaveTheBlockAlone) {
    sim.heap().RefuseAfter(heap, 1);
    void* block = platform::heap().Alloc(heap, 8);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(platform::heap().Alloc(heap, 8), nullptr);
    EXPECT_EQ(platform::heap().ReAlloc(heap, block, 4), nullptr);
    EXPECT_EQ(sim.heap().BlockSize(heap, block), 8u);
}

TEST_F(HeapSimTest, ForeignHeapsAndBlocksFail) {
    const platform::HeapHandle other = sim.heap().Create();
    void* block = platform::heap().Alloc(heap, 8);
    EXPECT_EQ(platform::heap().Alloc(0, 8), nullptr);
    EXPECT_FALSE(platform::heap().Free(other, block));
    EXPECT_EQ(platform::heap().ReAlloc(other, block, 4), nullptr);
    sim.heap().Destroy(heap);
    EXPECT_FALSE(platform::heap().Free(heap, block)) << "destroying the heap took its blocks";
}

TEST_F(SimTest, EachThreadHasItsOwnIdAndLastError) {
    auto& state = platform::threadState();
    EXPECT_EQ(state.GetLastError(), 0u);
    state.SetLastError(platform::kErrorInvalidParameter);
    const std::uint32_t mine = state.CurrentThreadId();
    std::uint32_t otherId = 0;
    std::uint32_t otherError = 1;
    std::thread([&] {
        otherId = state.CurrentThreadId();
        otherError = state.GetLastError();
        state.SetLastError(5);
    }).join();
    EXPECT_NE(mine, 0u);
    EXPECT_NE(otherId, mine);
    EXPECT_EQ(otherError, 0u);
    EXPECT_EQ(state.GetLastError(), platform::kErrorInvalidParameter);
    EXPECT_EQ(state.CurrentThreadId(), mine);
}

}  // namespace
