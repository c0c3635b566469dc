#include "core/GxOrderManage.h"

#include <gtest/gtest.h>

TEST(GxOrderManage, ClearFreesEveryPayload)
{
    GxOrderManage order;
    EXPECT_EQ(order.GetValue(), 0u);
    uint8_t* first = order.Add(4);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first[3], 0);
    order.Add(16);
    EXPECT_EQ(order.GetCount(), 2u);
    order.Clear();
    EXPECT_EQ(order.GetCount(), 0u);
}
