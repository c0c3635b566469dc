// Where a movie's sound goes: a sound buffer playing 44,100 Hz 16-bit stereo that the movie thread keeps
// filled. Its count of played sample frames is the movie's clock while the sound lasts.
#pragma once

#include <cstdint>

class GxMovieSoundOutput
{
public:
    virtual ~GxMovieSoundOutput() = default;

    // Takes up to frames interleaved stereo sample frames; the number taken (less when the buffer is full).
    virtual uint32_t Write(const int16_t* samples, uint32_t frames) = 0;
    // Sample frames played since the last Reset.
    virtual uint64_t GetPlayedFrames() = 0;
    // Sample frames written but not yet played.
    virtual uint32_t GetQueuedFrames() = 0;
    virtual void Play() = 0;
    // Pauses; Play resumes where it stopped.
    virtual void Stop() = 0;
    // Stops, forgets what is queued and restarts the played count at 0.
    virtual void Reset() = 0;
    // Hundredths of a decibel: 0 full, -10000 silent.
    virtual void SetVolume(int32_t volume) = 0;
};
