#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The sound output: the SDL audio device at 44,100 Hz, 16-bit stereo, fed by the mixer from SDL's
// audio thread, or the pull output, where nothing plays by itself and the caller takes mixed frames
// with Pull (tests, and runs that must not depend on timing). Sound buffers can be created only while
// one of the two is open. Also the sound system's millisecond clock.
class PfAudioDevice
{
public:
    enum Output
    {
        kOutputDevice,
        kOutputPull,
    };

    // What the output takes, in the shape of a DirectSound capability record.
    struct Caps
    {
        enum : uint32_t
        {
            kPrimaryMono = 0x1,
            kPrimaryStereo = 0x2,
            kPrimary8Bit = 0x4,
            kPrimary16Bit = 0x8,
            kContinuousRate = 0x10,
            kEmulDriver = 0x20,
            kCertified = 0x40,
            kSecondaryMono = 0x100,
            kSecondaryStereo = 0x200,
            kSecondary8Bit = 0x400,
            kSecondary16Bit = 0x800,
        };
        uint32_t flags = 0;
        uint32_t minSecondaryRate = 0;
        uint32_t maxSecondaryRate = 0;
        uint32_t primaryBuffers = 0;
        uint32_t maxBuffers = 0; // 0: no limit but memory
        uint32_t outputRate = 0;
        uint32_t outputChannels = 0;
        uint32_t outputBits = 0;
    };

    // False (and nothing open) when SDL has no usable audio device; opening again first closes.
    static bool Open(Output output);
    static void Close();
    // At the process's end: the device falls silent (no callback runs after this returns) and is closed as
    // far as callers can tell, but SDL's device and its thread, which finishes sleeping out a period before
    // it can be joined, are left for the process's end to take.
    static void SilenceForExit();
    static bool IsOpen();
    static Output GetOutput();
    // The SDL driver in use ("pulseaudio", "disk", "dummy"), "pull" for the pull output, "" when closed.
    static std::string GetDriverName();
    static Caps GetCaps();
    // SDL's message for the last failed Open.
    static std::string GetLastError();

    // Pull output only: mixes frames of interleaved stereo into out; 0 when the pull output is not open.
    static uint32_t Pull(int16_t* out, uint32_t frames);
    // Called by Pull on the caller's thread before every mix, outside every lock of the output: the sound
    // system waits there for its feeding threads, so what a pull mixes does not depend on how fast they
    // ran. Kept across Open and Close; an empty function removes it. The device output never calls it.
    static void SetBeforePull(std::function<void()> hook);

    // A millisecond clock that wraps at 32 bits (the sound system compares times wrap-safe). Tests may
    // put a clock of their own in its place; null restores the process's monotonic clock.
    static uint32_t GetTimeMs();
    static void SetClock(uint32_t (*clock)());
};
