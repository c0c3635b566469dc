#pragma once

#include <cstdint>
#include <string>

class GxUserConfig;
class GxUserData;

// The game's sound functions over the channel API: channel roles, levels from the user configuration,
// and the user data's channel records kept in step with what plays (so a saved game can restart it).
//
//   BGM            channels 0 and 1 (cross-fade pair)   the BGM record
//   BGV            channel 2                             the BGV record
//   SE slot i      channel 4 + i                         SE record i
//   voice slot i   channel 8 + i                         voice record i
//
// Loop counts are the caller's (0 endless, 1 once, n n times); the channel is given count - 1. A play
// writes its record first, then closes the channel (SE and voice), then plays: a failed play keeps the
// record so a later save still names the sound.
class GxSoundControl
{
public:
    static constexpr int kSlotCount = 4;
    static constexpr uint32_t kBGVChannel = 2;
    static constexpr uint32_t kFirstSEChannel = 4;
    static constexpr uint32_t kFirstVoiceChannel = 8;
    static constexpr int kSystemSoundCount = 6;
    // The system sounds: indices into the system configuration's list.
    static constexpr int kSystemSoundPush = 0;
    static constexpr int kSystemSoundCancel = 1;
    static constexpr int kSystemSoundOpen = 2;
    static constexpr int kSystemSoundClose = 3;
    static constexpr int kSystemSoundDrop = 4;
    static constexpr int kSystemSoundDecide = 5;

    // With skipIfSame and the BGM record naming the same file (exact comparison), nothing happens.
    static bool PlayBGM(const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t fadeMs, uint32_t loopMs,
                        bool skipIfSame);
    static bool PlayBGV(const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t fadeMs,
                        uint32_t loopMs);
    static bool PlaySE(int slot, const std::wstring& name, int32_t loopCount, uint32_t startMs, uint32_t fadeMs,
                       uint32_t loopMs);
    static bool PlayVoice(int slot, const std::wstring& name, int32_t charID);
    // False when the voice record is empty.
    static bool ReplayVoice(int slot);
    // No record is written.
    static bool PlaySEWithVoiceVolume(int slot, int32_t voiceVolumeID, const std::wstring& name);
    static bool PlayOneShot(const std::wstring& name);
    // One of the six above ("push", "cancel", "open", "close", "drop", "decide").
    static bool PlaySystemSound(int index);
    static bool StopBGM(uint32_t fadeMs);
    static bool StopBGV(uint32_t fadeMs);
    static bool StopSE(int slot, uint32_t fadeMs);
    static bool StopAllSE();
    static bool StopVoice(int slot);
    static bool StopAllVoices();
    // Also sets channel 1 while it is the music fading in, so a cross-fade follows the slider.
    static bool UpdateBGMVolume();
    static bool UpdateSEVolume();
    static bool UpdateVoiceVolume();
    static bool UpdateMovieVolume();
    static bool IsAnyVoicePlaying();

    // The configuration and records used; null (the default) takes the core's. Tests give their own.
    static void SetTargets(GxUserConfig* config, GxUserData* data);

private:
    static GxUserConfig* Config();
    static GxUserData* Data();
};
