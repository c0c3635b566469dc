#include "animation/GxNcCallbackSystemSound.h"

#include "animation/GxNcSoundKey.h"
#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "media/GxSound.h"

bool GxNcCallbackSystemSound::OnSoundKey(void*, int32_t, int32_t, const GxNcSoundKey& key)
{
    const int32_t volume = (g_Core && g_Core->m_UserConfig) ? g_Core->m_UserConfig->GetSoundVolume() : 0;
    GxSound::PlayOneShot(nullptr, L"sounds/" + key.m_SoundName, 0, 0, 0, volume, 0);
    return false;
}
