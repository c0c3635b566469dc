#include "core/GxCrtRandom.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(GxCrtRandom, RuntimeLibrarySequenceWithinFifteenBits)
{
    GxCrtRandom::Seed(1);
    // The classic first draws of the runtime library's rand() after srand(1).
    EXPECT_EQ(GxCrtRandom::Next(), 41);
    EXPECT_EQ(GxCrtRandom::Next(), 18467);
    EXPECT_EQ(GxCrtRandom::Next(), 6334);
    EXPECT_EQ(GxCrtRandom::Next(), 26500);
    GxCrtRandom::Seed(0xDEADBEEF);
    int32_t first[64];
    int32_t highest = 0;
    for (int32_t& v : first)
    {
        v = GxCrtRandom::Next();
        EXPECT_GE(v, 0);
        EXPECT_LE(v, GxCrtRandom::kMax);
        highest = std::max(highest, v);
    }
    EXPECT_GT(highest, 16384); // the top bit of the 15 is reached
    GxCrtRandom::Seed(0xDEADBEEF);
    for (int32_t v : first)
        EXPECT_EQ(GxCrtRandom::Next(), v);
}
