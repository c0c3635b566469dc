#pragma once

#include <cstdint>
#include <string>

// The player's options, kept in "userconf.dat" in the save folder.
class GxUserConfig
{
public:
    static constexpr int kVoiceVolumeCount = 32;

    GxUserConfig();
    virtual ~GxUserConfig();

    void SetDefault();
    // False (defaults kept) when the file cannot be opened.
    bool Load(const std::wstring& path);
    bool Save(const std::wstring& path);

    // Attenuations for the sound channels, in hundredths of a decibel, 0 (full) down to -9600.
    // A level L (percent, clamped to 0..100) gives -96 x truncate(100 - 100 x (L / 100)^0.25).
    static int32_t LevelToAttenuation(int32_t level);
    // The music with the restrain blend of g_BGMRestrainFactor.
    int32_t GetBGMVolume() const;
    int32_t GetBGVVolume(bool silent) const;
    int32_t GetSoundVolume() const;
    int32_t GetMovieVolume() const;
    // Through the character's voice-volume id in DBAvgChar (an unknown character reads as row 0).
    int32_t GetCharVoiceVolume(int32_t charID) const;
    // An id outside 0..31 reads as 0.
    int32_t GetVoiceVolume(int32_t voiceVolumeID) const;

    int32_t m_ScreenMode = 0; // 1 = full screen
    // Volumes in percent.
    int32_t m_Volume_Master = 100;
    int32_t m_Volume_BGM = 80;
    int32_t m_Volume_BGV = 100;
    int32_t m_Volume_System = 100;
    int32_t m_Volume_Sound = 100;
    int32_t m_Volume_Movie = 100;
    int32_t m_Volume_RestrainBGM = 100;
    int32_t m_Volume_VoiceMaster = 100;
    int32_t m_Volume_Voice[kVoiceVolumeCount];
};
