#pragma once

#include "animation/GxNcCallbackBase.h"

#include <string>

// The callback of played effects: sound keys play "sounds/" + the key's name once at the player's
// sound-effect volume; event keys and the draw hook do nothing.
//
// The sound system and the player's settings sit above the animation layer, so the playing itself is the
// sound player the program's start-up installs (GxGameRoot); without one a sound key plays nothing.
class GxNcCallbackSystemSound : public GxNcCallbackBase
{
public:
    // Plays the file once as a sound effect.
    using SoundPlayer = void (*)(const std::wstring& path);
    // Installs the player (null to withdraw it); the one installed, or null.
    static void SetSoundPlayer(SoundPlayer player);
    static SoundPlayer GetSoundPlayer();

    bool OnSoundKey(void* owner, int32_t depth, int32_t channel, const GxNcSoundKey& key) override;
    bool OnEventKey(void*, int32_t, int32_t, const GxNcEventKey&) override { return false; }
    bool OnDrawLayer(const GxNcMotionSnapShotEx&, const GxNcLayerSnapShotEx&, const GxMatrix&, float, const GxVector4&,
                     const GxVector4&, uint32_t) override
    {
        return false;
    }
};
