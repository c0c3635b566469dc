// The volume operations of GxUserConfig: percentages of the options turned into channel attenuations.
#include "appdata/DBAvgChar.h"
#include "appdata/GxUserConfig.h"
#include "media/GxSound.h"

#include <algorithm>
#include <cmath>

int32_t GxUserConfig::LevelToAttenuation(int32_t level)
{
    // Single precision throughout, as the curve has always been computed. A level outside 0..100 (a
    // damaged options file) would take the root of a negative number: clamp it first.
    const float l = static_cast<float>(std::clamp(level, 0, 100)) / 100.0f;
    const float root = std::pow(l, 0.25f);
    return -96 * static_cast<int32_t>(100.0f - 100.0f * root);
}

int32_t GxUserConfig::GetBGMVolume() const
{
    const float f = static_cast<float>(g_BGMRestrainFactor) / 100.0f;
    const float b = static_cast<float>(m_Volume_BGM);
    const float r = static_cast<float>(m_Volume_RestrainBGM);
    const int32_t share = static_cast<int32_t>(100.0f * (f * b / 100.0f + (r * b / 100.0f / 100.0f) * (1.0f - f)));
    return LevelToAttenuation(share * m_Volume_Master / 100);
}

int32_t GxUserConfig::GetBGVVolume(bool silent) const
{
    return LevelToAttenuation(silent ? 0 : m_Volume_BGV * m_Volume_Master / 100);
}

int32_t GxUserConfig::GetSoundVolume() const
{
    return LevelToAttenuation(m_Volume_Sound * m_Volume_Master / 100);
}

int32_t GxUserConfig::GetMovieVolume() const
{
    return LevelToAttenuation(m_Volume_Movie * m_Volume_Master / 100);
}

int32_t GxUserConfig::GetCharVoiceVolume(int32_t charID) const
{
    // Character ids come from save files: one outside the table reads as the "none" row.
    const bool inTable = charID >= 0 && charID <= g_DBAvgChar.GetMaxID();
    const DBAvgCharData* row = g_DBAvgChar.GetRow(inTable ? static_cast<uint32_t>(charID) : 0);
    return GetVoiceVolume(row ? row->m_VoiceVolumeID : 0);
}

int32_t GxUserConfig::GetVoiceVolume(int32_t voiceVolumeID) const
{
    const int32_t id = voiceVolumeID >= 0 && voiceVolumeID < kVoiceVolumeCount ? voiceVolumeID : 0;
    return LevelToAttenuation((m_Volume_Voice[id] * m_Volume_VoiceMaster * m_Volume_Master / 100) / 100);
}
