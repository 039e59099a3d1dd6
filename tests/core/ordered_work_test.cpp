#include "cli/ordered_work.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>

namespace ritmova::cli {
namespace {

struct WorkCase {
    const char* name;
    std::size_t count;
    std::size_t chunkSize;
    bool parallel;
};

class OrderedWorkTest : public ::testing::TestWithParam<WorkCase> {};

// Every index once, in order, one chunk per consume; never more chunks begun and not yet
// written than there are slots; the helper only when asked for.
TEST_P(OrderedWorkTest, WritesEveryIndexInOrderWithinTheSlots) {
    const WorkCase& c = GetParam();
    std::atomic<std::size_t> begun = 0;
    std::atomic<bool> helperUsed = false;
    std::size_t written = 0;
    std::string expected;
    std::string all;
    for (std::size_t i = 0; i < c.count; ++i) expected += std::to_string(i) + ",";
    ForEachInOrder(
        c.count, c.chunkSize, c.parallel,
        [&](std::size_t worker, std::size_t index, ChunkText& text) {
            if (index % c.chunkSize == 0) ++begun;
            if (worker == 1) helperUsed = true;
            text.out += std::to_string(index) + ",";
            text.err += "x";
        },
        [&](const ChunkText& text) {
            EXPECT_LE(begun - written, ChunkQueue::Slots);
            EXPECT_EQ(text.err.size(), std::min(c.chunkSize, c.count - written * c.chunkSize));
            ++written;
            all += text.out;
        });
    EXPECT_EQ(all, expected);
    EXPECT_EQ(written, (c.count + c.chunkSize - 1) / c.chunkSize);
    EXPECT_TRUE(c.parallel || !helperUsed);
}

INSTANTIATE_TEST_SUITE_P(, OrderedWorkTest,
                         ::testing::Values(WorkCase{"Nothing", 0, 64, true},
                                           WorkCase{"One", 1, 64, true},
                                           WorkCase{"OneFullChunk", 64, 64, true},
                                           WorkCase{"OneMore", 65, 64, true},
                                           WorkCase{"ManySmallChunks", 1000, 7, true},
                                           WorkCase{"OneThread", 1000, 64, false}),
                         [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace ritmova::cli
