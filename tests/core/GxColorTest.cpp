#include "core/GxColor.h"

#include <gtest/gtest.h>

#include <limits>

TEST(GxColor, ChannelsConvertBothWaysSaturatedWithNaNAsZero)
{
    const GxVector4 c = GxColor::FromARGB(0x80FF0000u);
    EXPECT_FLOAT_EQ(c.x, 1.0f);
    EXPECT_FLOAT_EQ(c.y, 0.0f);
    EXPECT_FLOAT_EQ(c.z, 0.0f);
    EXPECT_NEAR(c.w, 0.50196f, 1e-5f);

    const GxVector4 d = GxColor::FromARGB(0x00336699u);
    EXPECT_FLOAT_EQ(d.x, 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(d.y, 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(d.z, 0x99 / 255.0f);
    EXPECT_EQ(d.w, 0.0f);
    EXPECT_EQ(GxColor::ToARGB(GxVector4(1.0f, 0.5f, 0.0f, 1.0f)), 0xFFFF7F00u);
    EXPECT_EQ(GxColor::ToARGB(GxVector4(0.999f, 0.0f, 0.0f, 0.0f)), 0x00FE0000u);
    EXPECT_EQ(GxColor::ToARGB(GxVector4(0.0f, 0.0f, 1.0f, 0.5f)), 0x7F0000FFu);
    // Saturated first.
    EXPECT_EQ(GxColor::ToARGB(GxVector4(2.0f, -1.0f, 0.0f, 1.0f)), 0xFFFF0000u);
    EXPECT_EQ(GxColor::ToARGB(GxVector4(1e30f, -1e30f, 1.5f, 7.0f)), 0xFFFF00FFu);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // A NaN channel counts as zero.
    const GxVector4 s = GxColor::Saturate(GxVector4(nan, 0.25f, 3.0f, -2.0f));
    EXPECT_TRUE(s.x == 0.0f && s.y == 0.25f && s.z == 1.0f && s.w == 0.0f);
    EXPECT_EQ(GxColor::ToARGB(GxVector4(nan, 1.0f, nan, 1.0f)), 0xFF00FF00u);
}
