#include "animation/GxNcKeyTrack.h"

#include "animation/GxNcKey.h"

#include <cmath>

namespace
{

// The single-precision pi of the authoring tool, widened: results must match what it previewed.
constexpr double kPi = 3.14159274;
constexpr double kTwoPi = 6.28318548;

// Times are moved by a loop length; in 64 bits so that extreme times of a damaged file cannot overflow.
int32_t Shift(int32_t time, int64_t by)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(time) + by));
}

template <typename Key> int32_t Search(const std::vector<Key>& keys, int32_t t)
{
    return GxNcKey::FindKeyIndex<Key>(0, keys.data(), static_cast<int32_t>(keys.size()), t);
}
int32_t Search(const std::vector<GxNcVector4Key>& keys, int32_t t)
{
    return GxNcKey::FindKeyIndex(keys.data(), static_cast<int32_t>(keys.size()), t);
}

void Blend(GxNcVector4Key& a, const GxNcVector4Key& b, float f)
{
    const float p = a.m_InterParam0;
    a.m_Value = GxVector4(GxNcKeyTrack::Interpolate(a.m_Value.x, b.m_Value.x, f, p, a.m_InterMode),
                          GxNcKeyTrack::Interpolate(a.m_Value.y, b.m_Value.y, f, p, a.m_InterMode),
                          GxNcKeyTrack::Interpolate(a.m_Value.z, b.m_Value.z, f, p, a.m_InterMode),
                          GxNcKeyTrack::Interpolate(a.m_Value.w, b.m_Value.w, f, p, a.m_InterMode));
}
void Blend(GxNcFloatKey& a, const GxNcFloatKey& b, float f)
{
    a.m_Value = GxNcKeyTrack::Interpolate(a.m_Value, b.m_Value, f, a.m_InterParam0, a.m_InterMode);
}
void Blend(GxNcVector4x5Key& a, const GxNcVector4x5Key& b, float f)
{
    const float p = a.m_InterParam0;
    for (int i = 0; i < 5; ++i)
    {
        GxVector4& v = a.m_Value[i];
        const GxVector4& w = b.m_Value[i];
        v = GxVector4(GxNcKeyTrack::Interpolate(v.x, w.x, f, p, a.m_InterMode),
                      GxNcKeyTrack::Interpolate(v.y, w.y, f, p, a.m_InterMode),
                      GxNcKeyTrack::Interpolate(v.z, w.z, f, p, a.m_InterMode),
                      GxNcKeyTrack::Interpolate(v.w, w.w, f, p, a.m_InterMode));
    }
}
template <typename Key> void Blend(Key&, const Key&, float) {}

template <typename Key, bool kInterpolated>
Key EvaluateTrack(const std::vector<Key>& keys, const GxNcKeyTrack::Context& c, const Key& noKey)
{
    if (keys.empty() || c.m_LoopLength == 0)
        return noKey;
    const int32_t n = static_cast<int32_t>(keys.size());
    int32_t t = c.m_Time;
    int32_t w = c.m_LoopLength;
    if (c.m_LoopMode == 2)
    {
        w = c.m_LastTime < 1 ? 1 : c.m_LastTime;
        t %= w; // truncating: a negative time stays negative
    }
    else if (c.m_LoopMode != 0 && w > 0)
    {
        t %= w;
    }
    const bool once = c.m_LoopMode == 0;

    Key a;
    Key b;
    if (t < keys.front().m_Time)
    {
        if (once)
            return noKey;
        a = keys.back();
        a.m_Time = Shift(a.m_Time, -static_cast<int64_t>(w));
        b = keys.front();
    }
    else if (t > keys.back().m_Time)
    {
        if (once)
            return keys.back();
        a = keys.back();
        b = keys.front();
        b.m_Time = Shift(b.m_Time, w);
    }
    else
    {
        const int32_t i = (t == keys.front().m_Time) ? 0 : Search(keys, t);
        a = keys[i];
        b = GxNcKey::FetchKeyModulo(keys.data(), n, i + 1);
        if (a.m_Time > b.m_Time)
            b.m_Time = Shift(b.m_Time, w);
    }
    if constexpr (kInterpolated)
    {
        if (a.m_InterMode != 0 && t != a.m_Time && a.m_Time != b.m_Time)
        {
            const float f = static_cast<float>(static_cast<int64_t>(t) - a.m_Time) /
                            static_cast<float>(static_cast<int64_t>(b.m_Time) - a.m_Time);
            Blend(a, b, f);
        }
    }
    return a;
}

} // namespace

GxNcImageKey GxNcKeyTrack::NoImageKey()
{
    GxNcImageKey key;
    key.m_InterMode = 0;
    key.m_LoopMode = 1;
    return key;
}

GxNcVector4Key GxNcKeyTrack::NoVector4Key(float value)
{
    GxNcVector4Key key;
    key.m_Value = GxVector4(value, value, value, value);
    return key;
}

GxNcVector2Key GxNcKeyTrack::NoVector2Key(float value)
{
    GxNcVector2Key key;
    key.m_Value = GxVector2(value, value);
    return key;
}

GxNcFloatKey GxNcKeyTrack::NoFloatKey(float value)
{
    GxNcFloatKey key;
    key.m_Value = value;
    return key;
}

GxNcUIntKey GxNcKeyTrack::NoUIntKey(uint32_t value)
{
    GxNcUIntKey key;
    key.m_Value = value;
    return key;
}

GxNcVector4x5Key GxNcKeyTrack::NoVector4x5Key(float value)
{
    GxNcVector4x5Key key;
    for (GxVector4& v : key.m_Value)
        v = GxVector4(value, value, value, value);
    return key;
}

GxNcImageKey GxNcKeyTrack::Evaluate(const std::vector<GxNcImageKey>& keys, const Context& c)
{
    return EvaluateTrack<GxNcImageKey, false>(keys, c, NoImageKey());
}

GxNcVector2Key GxNcKeyTrack::Evaluate(const std::vector<GxNcVector2Key>& keys, const Context& c, float noKeyValue)
{
    return EvaluateTrack<GxNcVector2Key, false>(keys, c, NoVector2Key(noKeyValue));
}

GxNcUIntKey GxNcKeyTrack::Evaluate(const std::vector<GxNcUIntKey>& keys, const Context& c, uint32_t noKeyValue)
{
    return EvaluateTrack<GxNcUIntKey, false>(keys, c, NoUIntKey(noKeyValue));
}

GxNcVector4Key GxNcKeyTrack::Evaluate(const std::vector<GxNcVector4Key>& keys, const Context& c, float noKeyValue)
{
    return EvaluateTrack<GxNcVector4Key, true>(keys, c, NoVector4Key(noKeyValue));
}

GxNcFloatKey GxNcKeyTrack::Evaluate(const std::vector<GxNcFloatKey>& keys, const Context& c, float noKeyValue)
{
    return EvaluateTrack<GxNcFloatKey, true>(keys, c, NoFloatKey(noKeyValue));
}

GxNcVector4x5Key GxNcKeyTrack::Evaluate(const std::vector<GxNcVector4x5Key>& keys, const Context& c, float noKeyValue)
{
    return EvaluateTrack<GxNcVector4x5Key, true>(keys, c, NoVector4x5Key(noKeyValue));
}

float GxNcKeyTrack::Interpolate(float a, float b, float f, float p, uint32_t mode)
{
    const double da = a;
    const double d = static_cast<double>(b) - da;
    const double df = f;
    const double dp = p;
    switch (mode)
    {
    case 1:
        return static_cast<float>(da + d * df);
    case 2:
    {
        // A key lying beyond the loop length puts f outside 0..1, and a negative base to a fractional
        // power is NaN: the curve is only defined on 0..1.
        const double g = df < 0.0 ? 0.0 : (df > 1.0 ? 1.0 : df);
        if (p > 0.0f)
            return static_cast<float>(static_cast<double>(b) - d * std::pow(1.0 - g, 4.0 * dp + 1.0));
        return static_cast<float>(da + d * std::pow(g, 1.0 - 4.0 * dp));
    }
    case 3:
        return static_cast<float>(da + d * (df + std::sin(kPi * df) * dp / kPi));
    case 4:
        return static_cast<float>(da + d * (df + std::sin(kTwoPi * df) * dp / kTwoPi));
    default:
        return a;
    }
}
