#pragma once

#include <cstdint>
#include <string>

// The player's options, kept in "userconf.dat" in the save folder.
class GxUserConfig
{
public:
    GxUserConfig();
    virtual ~GxUserConfig();

    void SetDefault();
    // False (defaults kept) when the file cannot be opened.
    bool Load(const std::wstring& path);
    bool Save(const std::wstring& path);

    // The sound-effect attenuation in hundredths of a decibel, 0 (full) down to -9600.
    // FIXME: full volume until the player's volume settings arrive.
    int32_t GetSoundVolume() const { return 0; }

    int32_t m_ScreenMode = 0; // 1 = full screen
};
