// A movie's sound output over one looping buffer of the sound mixer: a one-second ring of 44,100 Hz
// 16-bit stereo that the movie thread writes ahead of the play cursor. The mixer's cursor is followed by
// polling (the movie thread looks in at least every 10 ms, well inside one lap), what it has passed is
// zeroed so a starved buffer plays silence rather than old sound, and the played count covers only
// real sound: while the buffer is starved the count, and with it the movie clock, stands still.
#pragma once

#include "media/GxMovieSoundOutput.h"

#include <cstdint>
#include <memory>
#include <mutex>

class PfSoundBuffer;

class GxMovieSoundBuffer : public GxMovieSoundOutput
{
public:
    static constexpr uint32_t kRingFrames = 44100;

    // Null when the mixer is not open.
    static std::unique_ptr<GxMovieSoundOutput> Create();
    ~GxMovieSoundBuffer() override;

    uint32_t Write(const int16_t* samples, uint32_t frames) override;
    uint64_t GetPlayedFrames() override;
    uint32_t GetQueuedFrames() override;
    void Play() override;
    void Stop() override;
    void Reset() override;
    void SetVolume(int32_t volume) override;

private:
    explicit GxMovieSoundBuffer(std::unique_ptr<PfSoundBuffer> buffer);
    // Follows the play cursor and zeroes what it passed; m_Lock held.
    void Poll();
    void Zero(uint64_t from, uint64_t to);
    uint32_t QueuedLocked() const;

    std::unique_ptr<PfSoundBuffer> m_pBuffer;
    std::mutex m_Lock;
    uint32_t m_LastPlay = 0;   // the cursor's frame in the ring at the last poll
    uint64_t m_Cursor = 0;     // frames the mixer has read since the reset
    uint64_t m_WriteFrame = 0; // where the next write goes, counted like m_Cursor
    uint64_t m_SoundStart = 0; // real sound starts here after a starved stretch (silence before it)
    uint64_t m_Written = 0;    // real sound frames written since the reset
    bool m_Playing = false;
};
