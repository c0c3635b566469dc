#pragma once

#include <cstdint>

class GxMatrix;
class GxNcLayerSnapShotEx;
class GxNcMotionSnapShotEx;
class GxVector4;
struct GxNcEventKey;
struct GxNcSoundKey;

// What a playing motion reports: its sound and event keys as the play passes them, and a hook that may
// draw a layer in place of the normal draw. owner is the motion snapshot that fired, or the object handed
// to GxNcMotion::InvokeCallbacks. Results of the two key operations are not used.
class GxNcCallbackBase
{
public:
    virtual ~GxNcCallbackBase() = default;
    virtual bool OnSoundKey(void* owner, int32_t depth, int32_t channel, const GxNcSoundKey& key) = 0;
    virtual bool OnEventKey(void* owner, int32_t depth, int32_t channel, const GxNcEventKey& key) = 0;
    // True when the hook has drawn the layer itself.
    virtual bool OnDrawLayer(const GxNcMotionSnapShotEx& motion, const GxNcLayerSnapShotEx& layer,
                             const GxMatrix& matrix, float alpha, const GxVector4& colour, const GxVector4& specular,
                             uint32_t blendOverride) = 0;
};
