#pragma once

#include "animation/GxNcFloatKey.h"
#include "animation/GxNcImageKey.h"
#include "animation/GxNcUIntKey.h"
#include "animation/GxNcVector2Key.h"
#include "animation/GxNcVector4Key.h"
#include "animation/GxNcVector4x5Key.h"

#include <cstdint>
#include <vector>

// Evaluation of one key track of a layer at a time: the time wrapped by the layer's loop mode, the keys on
// either side found, the value between them interpolated by the earlier key's mode. The result is a whole
// key: the governing key's fields with m_Value replaced by the interpolated value.
//
// Loop modes: 0 plays once (before the first key the track's value without key, after the last key the
// last key held); 2 wraps by the layer's m_LastTime (1 below 1); 1 and every other value wraps by the
// motion's loop length. Times are the motion's own units.
class GxNcKeyTrack
{
public:
    // What the evaluation of a track needs besides its keys.
    struct Context
    {
        int32_t m_Time = 0;
        uint32_t m_LoopMode = 0;
        int32_t m_LoopLength = 1; // the motion's m_EndTime, 1 below 2
        int32_t m_LastTime = 0;   // the layer's own loop length for mode 2
    };

    // The values of tracks without keys.
    static GxNcImageKey NoImageKey();
    static GxNcVector4Key NoVector4Key(float value);
    static GxNcVector2Key NoVector2Key(float value);
    static GxNcFloatKey NoFloatKey(float value);
    static GxNcUIntKey NoUIntKey(uint32_t value);
    static GxNcVector4x5Key NoVector4x5Key(float value);

    // Stepped tracks: the image key, the size and texture-offset keys, the visibility key.
    static GxNcImageKey Evaluate(const std::vector<GxNcImageKey>& keys, const Context& c);
    // The same, assigned into out (its strings keep their buffers).
    static void EvaluateInto(const std::vector<GxNcImageKey>& keys, const Context& c, GxNcImageKey& out);
    static void EvaluateInto(const std::vector<GxNcVector4Key>& keys, const Context& c, float noKeyValue,
                             GxNcVector4Key& out);
    static void EvaluateInto(const std::vector<GxNcVector4x5Key>& keys, const Context& c, float noKeyValue,
                             GxNcVector4x5Key& out);
    static GxNcVector2Key Evaluate(const std::vector<GxNcVector2Key>& keys, const Context& c, float noKeyValue);
    static GxNcUIntKey Evaluate(const std::vector<GxNcUIntKey>& keys, const Context& c, uint32_t noKeyValue);
    // Interpolated tracks.
    static GxNcVector4Key Evaluate(const std::vector<GxNcVector4Key>& keys, const Context& c, float noKeyValue);
    static GxNcFloatKey Evaluate(const std::vector<GxNcFloatKey>& keys, const Context& c, float noKeyValue);
    static GxNcVector4x5Key Evaluate(const std::vector<GxNcVector4x5Key>& keys, const Context& c, float noKeyValue);

    // a to b at fraction f with parameter p (m_InterParam0) by interpolation mode: 0 and 5 and above step,
    // 1 straight, 2 eased (p > 0 out, else in), 3 and 4 a sine swing of one half or one whole period.
    static float Interpolate(float a, float b, float f, float p, uint32_t mode);
};
