#include "core/GxVector3.h"

#include "core/GxMatrix.h"

#include <gtest/gtest.h>

TEST(GxVector3, SetLengthKeepsDirectionOrGivesZero)
{
    GxVector3 v(3, 4, 0);
    v.w = 7.0f;
    v.SetLength(10.0f);
    EXPECT_FLOAT_EQ(v.x, 6.0f);
    EXPECT_FLOAT_EQ(v.y, 8.0f);
    EXPECT_FLOAT_EQ(v.z, 0.0f);
    EXPECT_EQ(v.w, 0.0f);
    GxVector3 zero;
    zero.SetLength(1.0f);
    EXPECT_TRUE(zero.x == 0.0f && zero.y == 0.0f && zero.z == 0.0f);

    // Below 2^-23 there is no direction to keep.
    GxVector3 tiny(1e-8f, 0, 0);
    tiny.SetLength(1.0f);
    EXPECT_EQ(tiny.x, 0.0f);

    // At 2^-23 there still is.
    GxVector3 small(1.1920929e-7f, 0, 0);
    small.SetLength(2.0f);
    EXPECT_FLOAT_EQ(small.x, 2.0f);
}

TEST(GxVector3, TransformCoordIgnoresFourthColumn)
{
    GxMatrix m;
    m.Set(1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 10, 20, 30, 8);
    GxVector3 v(1, 2, 3);
    GxVector3 out;
    v.TransformCoordTo(m, out);
    // No division by (x, y, z, 1) . column 3.
    EXPECT_FLOAT_EQ(out.x, 11.0f);
    EXPECT_FLOAT_EQ(out.y, 22.0f);
    EXPECT_FLOAT_EQ(out.z, 33.0f);
    EXPECT_EQ(out.w, 0.0f);
    EXPECT_FLOAT_EQ(v.x, 1.0f); // the source is left alone

    v.w = 3.0f;
    v.TransformCoord(m);
    EXPECT_FLOAT_EQ(v.z, 33.0f);
    EXPECT_EQ(v.w, 0.0f);
}
