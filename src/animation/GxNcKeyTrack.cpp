#include "animation/GxNcKeyTrack.h"

#include "animation/GxNcKey.h"

#include <cmath>

namespace
{

// The single-precision pi of the authoring tool, widened: results must match what it previewed.
constexpr double kPi = 3.14159274;
constexpr double kTwoPi = 6.28318548;

inline float Ease(float a, float b, float f, float p, uint32_t mode)
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
    a.m_Value = GxVector4(
        Ease(a.m_Value.x, b.m_Value.x, f, p, a.m_InterMode), Ease(a.m_Value.y, b.m_Value.y, f, p, a.m_InterMode),
        Ease(a.m_Value.z, b.m_Value.z, f, p, a.m_InterMode), Ease(a.m_Value.w, b.m_Value.w, f, p, a.m_InterMode));
}
void Blend(GxNcFloatKey& a, const GxNcFloatKey& b, float f)
{
    a.m_Value = Ease(a.m_Value, b.m_Value, f, a.m_InterParam0, a.m_InterMode);
}
void Blend(GxNcVector4x5Key& a, const GxNcVector4x5Key& b, float f)
{
    const float p = a.m_InterParam0;
    for (int i = 0; i < 5; ++i)
    {
        GxVector4& v = a.m_Value[i];
        const GxVector4& w = b.m_Value[i];
        v = GxVector4(Ease(v.x, w.x, f, p, a.m_InterMode), Ease(v.y, w.y, f, p, a.m_InterMode),
                      Ease(v.z, w.z, f, p, a.m_InterMode), Ease(v.w, w.w, f, p, a.m_InterMode));
    }
}
template <typename Key> void Blend(Key&, const Key&, float) {}

// Where a time falls in a track: no key governs (the value without key), or key a (its time moved by
// shiftA) governs with key b (moved by shiftB) as the next one; held when a is the last key held once.
struct Located
{
    bool m_None = false;
    bool m_Held = false;
    int32_t m_Time = 0; // the wrapped time
    int32_t m_A = 0;
    int32_t m_B = 0;
    int64_t m_ShiftA = 0;
    int64_t m_ShiftB = 0;
};

template <typename Key> Located Locate(const std::vector<Key>& keys, const GxNcKeyTrack::Context& c)
{
    Located at;
    if (keys.empty() || c.m_LoopLength == 0)
    {
        at.m_None = true;
        return at;
    }
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
    at.m_Time = t;
    const bool once = c.m_LoopMode == 0;
    if (t < keys.front().m_Time)
    {
        at.m_None = once;
        at.m_A = n - 1;
        at.m_ShiftA = -static_cast<int64_t>(w);
        at.m_B = 0;
    }
    else if (t > keys.back().m_Time)
    {
        at.m_Held = once;
        at.m_A = n - 1;
        at.m_B = 0;
        at.m_ShiftB = w;
    }
    else
    {
        const int32_t i = (t == keys.front().m_Time) ? 0 : Search(keys, t);
        at.m_A = i;
        at.m_B = (i + 1) % n;
        if (keys[at.m_A].m_Time > keys[at.m_B].m_Time)
            at.m_ShiftB = w;
    }
    return at;
}

// Written into out, so a caller's record is filled in place.
template <typename Key, bool kInterpolated>
void EvaluateTrackInto(const std::vector<Key>& keys, const GxNcKeyTrack::Context& c, const Key& noKey, Key& a)
{
    const Located at = Locate(keys, c);
    if (at.m_None)
    {
        a = noKey;
        return;
    }
    if (at.m_Held)
    {
        a = keys.back();
        return;
    }
    a = keys[at.m_A];
    a.m_Time = Shift(a.m_Time, at.m_ShiftA);
    if constexpr (kInterpolated)
    {
        const int32_t bTime = Shift(keys[at.m_B].m_Time, at.m_ShiftB);
        const int32_t t = at.m_Time;
        if (a.m_InterMode != 0 && t != a.m_Time && a.m_Time != bTime)
        {
            const float f = static_cast<float>(static_cast<int64_t>(t) - a.m_Time) /
                            static_cast<float>(static_cast<int64_t>(bTime) - a.m_Time);
            Blend(a, keys[at.m_B], f);
        }
    }
}

template <typename Key, bool kInterpolated>
Key EvaluateTrack(const std::vector<Key>& keys, const GxNcKeyTrack::Context& c, const Key& noKey)
{
    Key a;
    EvaluateTrackInto<Key, kInterpolated>(keys, c, noKey, a);
    return a;
}

// The value without key of a track, from two prepared ones when it is 0 or 1 (every track's case), so an
// empty track costs no construction.
template <typename Key> Key Pick(const Key& zero, const Key& one, float value, Key (*make)(float))
{
    if (value == 0.0f)
        return zero;
    if (value == 1.0f)
        return one;
    return make(value);
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

void GxNcKeyTrack::EvaluateInto(const std::vector<GxNcImageKey>& keys, const Context& c, GxNcImageKey& out)
{
    // Assigned in place: the strings reuse their buffers, so a playing motion does not allocate per step.
    static const GxNcImageKey s_NoKey = NoImageKey();
    const Located at = Locate(keys, c);
    if (at.m_None)
    {
        out = s_NoKey;
        return;
    }
    out = keys[at.m_Held ? keys.size() - 1 : at.m_A];
    if (!at.m_Held)
        out.m_Time = Shift(out.m_Time, at.m_ShiftA);
}

GxNcVector2Key GxNcKeyTrack::Evaluate(const std::vector<GxNcVector2Key>& keys, const Context& c, float noKeyValue)
{
    static const GxNcVector2Key s_Zero = NoVector2Key(0.0f), s_One = NoVector2Key(1.0f);
    return EvaluateTrack<GxNcVector2Key, false>(keys, c, Pick(s_Zero, s_One, noKeyValue, &NoVector2Key));
}

GxNcUIntKey GxNcKeyTrack::Evaluate(const std::vector<GxNcUIntKey>& keys, const Context& c, uint32_t noKeyValue)
{
    return EvaluateTrack<GxNcUIntKey, false>(keys, c, NoUIntKey(noKeyValue));
}

GxNcVector4Key GxNcKeyTrack::Evaluate(const std::vector<GxNcVector4Key>& keys, const Context& c, float noKeyValue)
{
    static const GxNcVector4Key s_Zero = NoVector4Key(0.0f), s_One = NoVector4Key(1.0f);
    return EvaluateTrack<GxNcVector4Key, true>(keys, c, Pick(s_Zero, s_One, noKeyValue, &NoVector4Key));
}

GxNcFloatKey GxNcKeyTrack::Evaluate(const std::vector<GxNcFloatKey>& keys, const Context& c, float noKeyValue)
{
    return EvaluateTrack<GxNcFloatKey, true>(keys, c, NoFloatKey(noKeyValue));
}

GxNcVector4x5Key GxNcKeyTrack::Evaluate(const std::vector<GxNcVector4x5Key>& keys, const Context& c, float noKeyValue)
{
    static const GxNcVector4x5Key s_Zero = NoVector4x5Key(0.0f), s_One = NoVector4x5Key(1.0f);
    return EvaluateTrack<GxNcVector4x5Key, true>(keys, c, Pick(s_Zero, s_One, noKeyValue, &NoVector4x5Key));
}

float GxNcKeyTrack::Interpolate(float a, float b, float f, float p, uint32_t mode)
{
    return Ease(a, b, f, p, mode);
}

void GxNcKeyTrack::EvaluateInto(const std::vector<GxNcVector4Key>& keys, const Context& c, float noKeyValue,
                                GxNcVector4Key& out)
{
    static const GxNcVector4Key s_Zero = NoVector4Key(0.0f), s_One = NoVector4Key(1.0f);
    if (noKeyValue == 0.0f || noKeyValue == 1.0f)
        EvaluateTrackInto<GxNcVector4Key, true>(keys, c, noKeyValue == 0.0f ? s_Zero : s_One, out);
    else
        EvaluateTrackInto<GxNcVector4Key, true>(keys, c, NoVector4Key(noKeyValue), out);
}

void GxNcKeyTrack::EvaluateInto(const std::vector<GxNcVector4x5Key>& keys, const Context& c, float noKeyValue,
                                GxNcVector4x5Key& out)
{
    static const GxNcVector4x5Key s_Zero = NoVector4x5Key(0.0f), s_One = NoVector4x5Key(1.0f);
    if (noKeyValue == 0.0f || noKeyValue == 1.0f)
        EvaluateTrackInto<GxNcVector4x5Key, true>(keys, c, noKeyValue == 0.0f ? s_Zero : s_One, out);
    else
        EvaluateTrackInto<GxNcVector4x5Key, true>(keys, c, NoVector4x5Key(noKeyValue), out);
}
