#pragma once

#include "media/GxSoundPlayerBase.h"

#include <cstdint>

// The player's level, pan, loop and playing state read and set on its one buffer: the part the static
// and the streamed player share. Buffer is GxSoundBufferStatic or GxSoundBufferStream. Opening, starting
// and closing the buffer stay with each player, since they own different things (a streamed player's
// decoder outlives the start).
template <class Buffer> class GxSoundPlayerBuffered : public GxSoundPlayerBase
{
public:
    bool SetPan(int32_t pan) override { return m_Buffer.SetPan(pan); }
    int32_t GetVolume() override
    {
        int32_t volume = 0;
        m_Buffer.GetVolume(&volume);
        return volume;
    }
    int32_t GetPan() override
    {
        int32_t pan = 0;
        m_Buffer.GetPan(&pan);
        return pan;
    }
    int32_t GetLoopCount() override { return m_Buffer.GetLoopCount(); }
    bool IsPlaying() override { return m_Buffer.IsPlaying(); }

protected:
    bool SetBufferVolume(int32_t volume) override { return m_Buffer.SetVolume(volume); }

    Buffer m_Buffer;
};
