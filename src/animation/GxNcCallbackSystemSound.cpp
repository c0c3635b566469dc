#include "animation/GxNcCallbackSystemSound.h"

#include "animation/GxNcSoundKey.h"

namespace
{
GxNcCallbackSystemSound::SoundPlayer s_Player = nullptr;
}

void GxNcCallbackSystemSound::SetSoundPlayer(SoundPlayer player)
{
    s_Player = player;
}

GxNcCallbackSystemSound::SoundPlayer GxNcCallbackSystemSound::GetSoundPlayer()
{
    return s_Player;
}

bool GxNcCallbackSystemSound::OnSoundKey(void*, int32_t, int32_t, const GxNcSoundKey& key)
{
    if (s_Player)
        s_Player(L"sounds/" + key.m_SoundName);
    return false;
}
