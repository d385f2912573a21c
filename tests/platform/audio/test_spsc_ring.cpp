#include "platform/audio/SpscRing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <thread>
#include <vector>

TEST(SpscRing, PushSomeTakesWhatFitsAcrossTheWrapAndResetEmptiesTheRing) {
    SpscRing<int> ring(6); // rounded up to 8
    ASSERT_EQ(ring.capacity(), 8u);
    const int first[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(ring.pushSome(first, 6), 6u);
    int out[8] = {};
    EXPECT_EQ(ring.pop(out, 4), 4u);
    EXPECT_EQ(out[3], 4);
    const int second[] = {7, 8, 9, 10, 11, 12, 13};
    EXPECT_EQ(ring.pushSome(second, 7), 6u) << "only what fits is taken";
    EXPECT_EQ(ring.writableCount(), 0u);
    EXPECT_EQ(ring.pop(out, 8), 8u);
    EXPECT_EQ(std::vector<int>(out, out + 8), (std::vector<int>{5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(ring.pop(out, 1), 0u);
    ring.reset();
    EXPECT_EQ(ring.readableCount(), 0u);
    EXPECT_EQ(ring.writableCount(), 8u);
}

// One writer and one reader thread with uneven chunk sizes move a long counting sequence
// through a small ring; every value must arrive once and in order.
TEST(SpscRing, PartialPushesCarryASequenceIntactBetweenTwoThreads) {
    constexpr uint32_t kCount = 2'000'000;
    SpscRing<uint32_t> ring(64);
    std::thread writer([&ring] {
        std::minstd_rand random(1);
        uint32_t next = 0;
        std::vector<uint32_t> chunk;
        while (next < kCount) {
            chunk.clear();
            const uint32_t size = 1 + random() % 50;
            for (uint32_t i = 0; i < size && next + i < kCount; ++i)
                chunk.push_back(next + i);
            size_t done = 0;
            while (done < chunk.size()) {
                done += ring.pushSome(chunk.data() + done, chunk.size() - done);
                if (done < chunk.size())
                    std::this_thread::yield();
            }
            next += uint32_t(chunk.size());
        }
    });
    std::minstd_rand random(2);
    uint32_t expected = 0;
    bool inOrder = true;
    std::vector<uint32_t> chunk(64);
    while (expected < kCount && inOrder) {
        const size_t got = ring.pop(chunk.data(), 1 + random() % 64);
        if (got == 0)
            std::this_thread::yield();
        for (size_t i = 0; i < got; ++i)
            inOrder = inOrder && chunk[i] == expected++;
    }
    writer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, kCount);
    EXPECT_EQ(ring.readableCount(), 0u);
}
