#pragma once

#include <cstdint>
#include <string>

class PfWindow;

// The music restrain factor, 0..100: how far the music is lowered while something else speaks.
extern int g_BGMRestrainFactor;

// The sound system: start-up with the main window, the per-pass update of every player, shut-down.
class GxSound
{
public:
    static bool Initialize(PfWindow* window);
    static void Update();
    static void Finalize();
    // Plays a sound file once (out: the player's number when asked for; loop, start and fade-in in
    // milliseconds; volume as an attenuation in hundredths of a decibel; pan). True when playback started.
    static bool PlayOneShot(uint32_t* number, const std::wstring& name, int32_t loop, int32_t start, int32_t fadeIn,
                            int32_t volume, int32_t pan);
};
