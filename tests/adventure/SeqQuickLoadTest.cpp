// Quick load waits for its 32nd update step after entry and loads once per entry.
#include "../task/TaskTestSupport.h"

#include "adventure/SeqQuickLoad.h"

#include <gtest/gtest.h>

TEST(SeqQuickLoad, LoadsOnceOnTheThirtySecondStep)
{
    TaskTree t;
    auto* quick = new SeqQuickLoad(t.root);
    auto* other = new GxSeqBase(t.root, L"SeqOther");
    for (int entry = 0; entry < 2; ++entry)
    {
        t.Enter(other);
        t.Enter(quick);
        for (int step = 1; step <= 31; ++step)
            t.Step(0, 16000);
        EXPECT_FALSE(quick->HasLoaded());
        t.Step(0, 16000);
        EXPECT_TRUE(quick->HasLoaded());
        EXPECT_EQ(quick->GetFrameCount(), 32u);
    }
}
