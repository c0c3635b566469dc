#include "core/GxMath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

// Easing ----------------------------------------------------------------------------------------------

TEST(GxMath, EaseIsLinearAtZeroAndBendsBySign)
{
    for (float t : {0.0f, 0.1f, 0.5f, 0.75f, 1.0f})
        EXPECT_NEAR(GxMath::EaseLerp(10.0f, 30.0f, t, 0.0f), 10.0f + 20.0f * t, 1e-5f) << t;
    // (1 - t)^(4p + 1) with p = 0.25 is (1 - t)^2: three quarters of the way at half time.
    EXPECT_NEAR(GxMath::EaseLerp(10.0f, 30.0f, 0.5f, 0.25f), 25.0f, 1e-5f);
    EXPECT_NEAR(GxMath::EaseLerp(10.0f, 30.0f, 0.0f, 0.25f), 10.0f, 1e-5f);
    EXPECT_NEAR(GxMath::EaseLerp(10.0f, 30.0f, 1.0f, 0.25f), 30.0f, 1e-5f);
    // p = 1: (1 - t)^5.
    EXPECT_NEAR(GxMath::EaseLerp(0.0f, 1.0f, 0.5f, 1.0f), 1.0f - 1.0f / 32.0f, 1e-6f);
    // t^(1 - 4p) with p = -0.25 is t^2: a quarter of the way at half time.
    EXPECT_NEAR(GxMath::EaseLerp(10.0f, 30.0f, 0.5f, -0.25f), 15.0f, 1e-5f);
    EXPECT_NEAR(GxMath::EaseLerp(10.0f, 30.0f, 1.0f, -0.25f), 30.0f, 1e-5f);
    EXPECT_NEAR(GxMath::EaseLerp(30.0f, 10.0f, 0.5f, -0.25f), 25.0f, 1e-5f);
}

// Scalars ---------------------------------------------------------------------------------------------

TEST(GxMath, SignsAbsoluteValuesAndVectorEase)
{
    EXPECT_EQ(GxMath::Sign(-0.5), -1.0);
    EXPECT_EQ(GxMath::Sign(0.0), 0.0);
    EXPECT_EQ(GxMath::Sign(3.0), 1.0);
    EXPECT_EQ(GxMath::Sign64(-7), -1);
    EXPECT_EQ(GxMath::Sign64(0), 0);
    EXPECT_EQ(GxMath::Sign64(std::numeric_limits<int64_t>::max()), 1);
    EXPECT_EQ(GxMath::Abs64(-5000000000LL), 5000000000LL);
    EXPECT_EQ(GxMath::Abs64(12), 12);
    // The smallest value has no positive counterpart and comes back as itself.
    EXPECT_EQ(GxMath::Abs64(std::numeric_limits<int64_t>::min()), std::numeric_limits<int64_t>::min());
    EXPECT_FLOAT_EQ(GxMath::Pow(2.0f, 10.0f), 1024.0f);
    EXPECT_FLOAT_EQ(GxMath::Pow(9.0f, 0.5f), 3.0f);
    GxVector3 start(0, 10, -4), end(4, 30, 4);
    start.w = 9.0f;
    const GxVector3 v = GxMath::EaseLerpVec3(start, end, 0.5f, 0.25f);
    EXPECT_NEAR(v.x, 3.0f, 1e-5f);
    EXPECT_NEAR(v.y, 25.0f, 1e-5f);
    EXPECT_NEAR(v.z, 2.0f, 1e-5f);
    EXPECT_EQ(v.w, 0.0f);
}

// Ray and plane ---------------------------------------------------------------------------------------

TEST(GxMath, RayMeetsPlaneUnlessOnOrParallelToIt)
{
    const GxVector4 ground(0, 1, 0, 0); // y = 0
    GxVector3 out;
    ASSERT_TRUE(GxMath::IntersectRayPlane(out, GxVector3(3, 10, 4), GxVector3(0, -2, 1), ground, 0.0001f));
    EXPECT_FLOAT_EQ(out.x, 3.0f);
    EXPECT_FLOAT_EQ(out.y, 0.0f);
    EXPECT_FLOAT_EQ(out.z, 9.0f);
    EXPECT_EQ(out.w, 0.0f);
    EXPECT_FLOAT_EQ(GxMath::PlaneLineParam(GxVector3(3, 10, 4), GxVector3(0, -2, 1), ground), 5.0f);

    // The plane y = 2 written as (0, 1, 0, -2); a hit behind the origin still counts.
    ASSERT_TRUE(GxMath::IntersectRayPlane(out, GxVector3(0, 10, 0), GxVector3(0, 1, 0), GxVector4(0, 1, 0, -2), 0));
    EXPECT_FLOAT_EQ(out.y, 2.0f);
    // A ray that starts on the plane is no hit and leaves the output alone.
    out = GxVector3(7, 7, 7);
    EXPECT_FALSE(GxMath::IntersectRayPlane(out, GxVector3(1, 0, 1), GxVector3(0, 1, 0), GxVector4(0, 1, 0, 0), 0.0f));
    // |t| at or below epsilon is no hit either.
    EXPECT_FALSE(
        GxMath::IntersectRayPlane(out, GxVector3(0, 0.001f, 0), GxVector3(0, -1, 0), GxVector4(0, 1, 0, 0), 0.01f));
    // Above the plane and in it: the line never meets it, or meets it everywhere.
    EXPECT_FALSE(GxMath::IntersectRayPlane(out, GxVector3(0, 5, 0), GxVector3(1, 0, 0), GxVector4(0, 1, 0, 0), 0.0f));
    EXPECT_FALSE(GxMath::IntersectRayPlane(out, GxVector3(0, 0, 0), GxVector3(1, 0, 1), GxVector4(0, 1, 0, 0), 0.0f));
    // So nearly parallel that t overflows.
    EXPECT_FALSE(
        GxMath::IntersectRayPlane(out, GxVector3(0, 1e30f, 0), GxVector3(1, -1e-30f, 0), GxVector4(0, 1, 0, 0), 0.0f));
    EXPECT_EQ(out.x, 7.0f);
    EXPECT_EQ(out.y, 7.0f);
}
