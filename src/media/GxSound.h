#pragma once

#include <cstdint>
#include <string>

class GxSoundCache;
class GxSoundPlayerStream;
class PfWindow;

// The music restrain factor, 0..100: how far the music is lowered while something else speaks.
extern int g_BGMRestrainFactor;

// The sound service: 32 streaming channels (0 and 1 the music's cross-fade pair), 16 fixed static
// players, up to 16 one-shot players, the sound cache and the sound lock. Every operation but
// Initialize and Finalize holds the sound lock throughout; the lock order is the sound lock, then a
// buffer's or the cache's lock, then the mixer's. Channel numbers compare unsigned: -1 fails like 32.
// Without a sound device every play yields false and the game runs silent.
//
// Units: levels in hundredths of a decibel (0 full, -10000 silent), pan -10000..10000, times in ms.
// loop counts further passes: -1 endless, 0 once (a static player repeats only on -1).
class GxSound
{
public:
    static constexpr uint32_t kChannelCount = 32;
    static constexpr uint32_t kStaticPlayerCount = 16;
    static constexpr uint32_t kMaxOneShots = 16;
    // A one-shot of the same name within this many ms of its last use is refused.
    static constexpr uint32_t kOneShotRepeatMs = 4;

    // Opens the sound output (or takes the one already open, as tests do with the pull output) and
    // writes the device report to "device.log". False without a device.
    static bool Initialize(PfWindow* window);
    static void Finalize();
    static bool Update();

    static bool PlayFile(uint32_t channel, const std::wstring& name, int32_t loop, uint32_t startMs, uint32_t fadeInMs,
                         int32_t volume, int32_t pan, uint32_t loopMs);
    static bool PlayBGM(const std::wstring& name, int32_t loop, uint32_t startMs, uint32_t fadeMs, int32_t volume,
                        int32_t pan, uint32_t loopMs);
    static bool Close(uint32_t channel);
    static bool Stop(uint32_t channel, uint32_t fadeMs);
    static bool StopBGM(uint32_t fadeMs);
    static bool SetVolume(uint32_t channel, int32_t volume);
    static bool GetChannelState(uint32_t channel);
    static int GetCurrentBGMChannel();
    // number (when given) receives the new player's serial number.
    static bool PlayOneShot(uint32_t* number, const std::wstring& name, int32_t loop, uint32_t startMs,
                            uint32_t fadeInMs, int32_t volume, int32_t pan);
    static bool StopAllOneShots();

    static bool IsStarted();
    static uint32_t GetOneShotCount();
    static GxSoundCache& GetCache();
    // The channel's player, for tests and diagnostics; null past the last channel. Call under no lock.
    static GxSoundPlayerStream* GetChannel(uint32_t channel);
};
