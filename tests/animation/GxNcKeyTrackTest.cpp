// Key search, track evaluation by loop mode and the interpolation curves.
#include "AnimationTestSupport.h"

#include "animation/GxNcKey.h"
#include "animation/GxNcKeyTrack.h"

#include <cmath>

using namespace kvanim;

namespace
{

std::vector<GxNcFloatKey> FloatKeys(std::initializer_list<std::pair<int32_t, float>> keys, uint32_t mode = 1)
{
    std::vector<GxNcFloatKey> out;
    for (auto [t, v] : keys)
        out.push_back(ValueKey<GxNcFloatKey>(t, v, mode));
    return out;
}

GxNcKeyTrack::Context At(int32_t t, uint32_t loopMode, int32_t loopLength = 100, int32_t lastTime = 0)
{
    return {t, loopMode, loopLength, lastTime};
}

} // namespace

TEST(GxNcKey, SearchFindsTheLastKeyAtOrBeforeTheTime)
{
    struct Case
    {
        std::vector<int32_t> times;
        int32_t t;
        int32_t expected;
    } cases[] = {
        {{0, 10, 10, 20}, 10, 2},
        {{10, 10, 20}, 10, 1},
        {{0, 10}, 10, 1},
        {{0, 10}, 5, 0},
        {{5}, 3, 0},
        {{5}, 9, 0},
        {{0, 10, 10, 10, 20}, 10, 3},
        {{0, 1, 2, 3, 4, 5, 6}, 4, 4},
        {{0, 2, 4, 6, 8}, 7, 3},
        {{0, 2, 4, 6, 8}, -1, 0},
    };
    for (const Case& c : cases)
    {
        std::vector<GxNcFloatKey> keys;
        for (int32_t t : c.times)
            keys.push_back(ValueKey<GxNcFloatKey>(t, 0.0f));
        EXPECT_EQ(GxNcKey::FindKeyIndex(0, keys.data(), (int32_t)keys.size(), c.t), c.expected) << c.t;
    }
    // The four-float variant answers 0 for a time at its first key, even when the next key shares it.
    std::vector<GxNcVector4Key> v4 = {ValueKey<GxNcVector4Key>(10, GxVector4()),
                                      ValueKey<GxNcVector4Key>(10, GxVector4()),
                                      ValueKey<GxNcVector4Key>(20, GxVector4())};
    EXPECT_EQ(GxNcKey::FindKeyIndex(v4.data(), 3, 10), 0);
    EXPECT_EQ(GxNcKey::FindKeyIndex(v4.data(), 3, 15), 1);
}

TEST(GxNcKeyTrack, LoopModesWrapAndHoldAndBeforeTheFirstKeyOnceEachTrackGivesItsValueWithoutKey)
{
    const auto keys = FloatKeys({{0, 0.0f}, {50, 10.0f}});
    struct Case
    {
        GxNcKeyTrack::Context c;
        float expected;
    } cases[] = {
        {At(75, 1), 5.0f},          // B is the first key moved to 100
        {At(175, 1), 5.0f},         // wrapped by the loop length
        {At(25, 1), 5.0f},          // between the keys
        {At(75, 0), 10.0f},         // once: the last key held
        {At(-10, 0), 1.0f},         // once, before the first key: the value without key
        {At(-25, 1), 5.0f},         // a negative time stays negative: from the last key moved back
        {At(60, 2, 100, 0), 0.0f},  // m_LastTime 0: the time wraps modulo 1, always time 0
        {At(35, 2, 100, 30), 1.0f}, // wrapped by m_LastTime to 5
        {At(75, 1, 0), 1.0f},       // no loop length: the value without key
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(keys, c.c, 1.0f).m_Value, c.expected) << c.c.m_Time;
    EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(std::vector<GxNcFloatKey>{}, At(3, 1), 1.0f).m_Value, 1.0f);
    // A key followed by one at the same time: no division, the first one's value.
    EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(FloatKeys({{0, 2.0f}, {0, 4.0f}, {9, 8.0f}}), At(0, 1), 1).m_Value, 2.0f);
    // Stepped tracks take the earlier key whatever its mode.
    std::vector<GxNcUIntKey> vis = {ValueKey<GxNcUIntKey>(0, 3u), ValueKey<GxNcUIntKey>(10, 9u)};
    EXPECT_EQ(GxNcKeyTrack::Evaluate(vis, At(9, 1), 1u).m_Value, 3u);

    // Before the first key, played once, each track gives its own value without key.
    GxNcLayer l;
    l.m_ScaleKeys = {ValueKey<GxNcVector4Key>(10, GxVector4(3, 3, 3, 3))};
    l.m_PositionKeys = {ValueKey<GxNcVector4Key>(10, GxVector4(3, 3, 3, 3))};
    l.m_OpacityKeys = FloatKeys({{10, 0.5f}});
    l.m_VisibilityKeys = {ValueKey<GxNcUIntKey>(10, 0u)};
    GxNcVector4x5Key c;
    c.m_Time = 10;
    l.m_VertexColorKeys = {c};
    const GxNcKeyTrack::Context at = At(5, 0);
    EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(l.m_ScaleKeys, at, 1.0f).m_Value.y, 1.0f);
    EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(l.m_PositionKeys, at, 0.0f).m_Value.x, 0.0f);
    EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(l.m_OpacityKeys, at, 1.0f).m_Value, 1.0f);
    EXPECT_EQ(GxNcKeyTrack::Evaluate(l.m_VisibilityKeys, at, 1u).m_Value, 1u);
    EXPECT_FLOAT_EQ(GxNcKeyTrack::Evaluate(l.m_VertexColorKeys, at, 1.0f).m_Value[4].w, 1.0f);
}

TEST(GxNcKeyTrack, InterpolationCurves)
{
    struct Case
    {
        uint32_t mode;
        float f, p, expected;
    } cases[] = {
        {2, 0.5f, 0.5f, 8.75f},
        {2, 0.5f, -0.5f, 1.25f},
        {2, 0.5f, 0.0f, 5.0f},
        {3, 0.3f, 0.0f, 3.0f},
        {4, 0.3f, 0.0f, 3.0f},
        {0, 0.5f, 0.0f, 0.0f},
        {7, 0.5f, 0.0f, 0.0f},
        {1, 0.25f, 9.0f, 2.5f},
        // a quarter of a sine swing: f + sin(pi f) p / pi
        {3, 0.5f, 1.0f, 10.0f * (0.5f + (float)(1.0 / 3.14159274))},
        // f outside 0..1 (a key beyond the loop length): the ease is clamped, not NaN
        {2, 1.5f, -0.3f, 10.0f},
        {2, -0.5f, 0.3f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GxNcKeyTrack::Interpolate(0.0f, 10.0f, c.f, c.p, c.mode), c.expected, 1e-5f)
            << "mode " << c.mode << " f " << c.f << " p " << c.p;
    for (uint32_t mode : {1u, 2u, 3u, 4u})
    {
        EXPECT_EQ(GxNcKeyTrack::Interpolate(2.0f, 7.0f, 0.0f, 0.7f, mode), 2.0f);
        EXPECT_EQ(GxNcKeyTrack::Interpolate(2.0f, 7.0f, 1.0f, -0.7f, mode), 7.0f);
    }
}
