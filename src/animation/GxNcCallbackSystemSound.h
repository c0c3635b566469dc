#pragma once

#include "animation/GxNcCallbackBase.h"

// The callback of played effects: sound keys play "sounds/" + the key's name once at the player's
// sound-effect volume; event keys and the draw hook do nothing.
class GxNcCallbackSystemSound : public GxNcCallbackBase
{
public:
    bool OnSoundKey(void* owner, int32_t depth, int32_t channel, const GxNcSoundKey& key) override;
    bool OnEventKey(void*, int32_t, int32_t, const GxNcEventKey&) override { return false; }
    bool OnDrawLayer(const GxNcMotionSnapShotEx&, const GxNcLayerSnapShotEx&, const GxMatrix&, float, const GxVector4&,
                     const GxVector4&, uint32_t) override
    {
        return false;
    }
};
