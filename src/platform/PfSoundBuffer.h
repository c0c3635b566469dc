#pragma once

#include "platform/PfD3DTypes.h"
#include "platform/PfWaveFormat.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class PfAudioSignal;

// One secondary sound buffer of the mixer, shaped like a DirectSound buffer: a ring of PCM bytes (8 or
// 16 bits, mono or stereo, 100 Hz to 200 kHz) that the mixer reads at its play cursor, once or looping,
// at its own volume, pan and frequency, resampled to the output.
//
// Thread rules: every call may come from any thread. The state the mixer reads (cursor, levels, play
// flags) is changed under the mixer's short lock. The bytes themselves are written through Lock without
// any lock: as with DirectSound, the writer keeps away from the part between the play and the write
// cursor. The memory never moves while the buffer exists.
//
// Units: volume in hundredths of a decibel, 0 full, -10000 silent (gain 10^(v/2000)); pan -10000..10000,
// the side away from the pan lowered by |pan|/100 dB; frequency in Hz, 0 for the format's own rate.
class PfSoundBuffer
{
public:
    enum : PfResult
    {
        kOk = 0,
        kErrInvalidParam = (PfResult)0x80070057u,
        kErrBadFormat = (PfResult)0x88780064u,
        kErrNoDriver = (PfResult)0x88780078u,
        kErrOutOfMemory = (PfResult)0x8007000Eu,
    };
    enum : uint32_t
    {
        kStatusPlaying = 1,
        kStatusBufferLost = 2, // never set: the mixer's memory cannot be taken away
        kStatusLooping = 4,
    };
    enum PlayMode
    {
        kPlayOnce,
        kPlayLooping,
    };
    enum Contents
    {
        kContentsSilence,
        // The caller fills every byte before playing (a whole decoded sound): no silence written first.
        kContentsUndefined,
    };
    static constexpr int32_t kVolumeMin = -10000;
    static constexpr int32_t kPanLeft = -10000;
    static constexpr int32_t kPanRight = 10000;
    static constexpr uint32_t kFrequencyMin = 100;
    static constexpr uint32_t kFrequencyMax = 200000;
    static constexpr uint32_t kMaxNotifications = 64;

    // Null (with the reason in result when given) when the mixer is not open, the format is not 8 or
    // 16-bit PCM of one or two channels in the rate range with a consistent frame size, or the size is
    // 0 or not a whole number of frames. The new buffer holds silence, stopped at position 0.
    static std::unique_ptr<PfSoundBuffer> Create(const PfWaveFormat& format, uint32_t bytes, PfResult* result = nullptr,
                                                 Contents contents = kContentsSilence);
    ~PfSoundBuffer();
    PfSoundBuffer(const PfSoundBuffer&) = delete;
    PfSoundBuffer& operator=(const PfSoundBuffer&) = delete;

    // bytes from offset, in two pieces when the range wraps at the end of the ring (the second piece
    // then starts at the ring's start; otherwise it is null with size 0). bytes must be 1..size.
    PfResult Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1, void** part2, uint32_t* size2);
    PfResult Unlock(void* part1, uint32_t size1, void* part2, uint32_t size2);

    PfResult Play(PlayMode mode);
    PfResult Stop();
    // Moves the play cursor; the offset is taken down to a whole frame.
    PfResult SetCurrentPosition(uint32_t offset);
    // play: the byte the mixer reads next; write: where it is safe to write (past what one output
    // period of the mixer may read).
    PfResult GetCurrentPosition(uint32_t* play, uint32_t* write);
    uint32_t GetStatus();

    PfResult SetVolume(int32_t volume);
    int32_t GetVolume();
    PfResult SetPan(int32_t pan);
    int32_t GetPan();
    PfResult SetFrequency(uint32_t hz);
    // The frequency in use (the format's rate when none was set).
    uint32_t GetFrequency();

    // Every time the play cursor passes one of the offsets, signal is posted once; a pass is the cursor
    // moving from before the offset to on or after it, lap by lap. Replaces any earlier set; count 0
    // clears. Offsets must lie inside the buffer.
    PfResult SetNotificationPositions(const uint32_t* offsets, uint32_t count, PfAudioSignal* signal);

    const PfWaveFormat& GetFormat() const { return m_Format; }
    uint32_t GetSize() const { return m_Size; }

    // Mixer side, called with the mixer's lock held: adds frames of output at outRate, stereo
    // interleaved, to acc (in 16-bit sample units) and advances the cursor.
    void MixInto(float* acc, uint32_t frames, uint32_t outRate);

private:
    PfSoundBuffer(const PfWaveFormat& format, uint32_t bytes, Contents contents);
    void UpdateGains();
    void PublishStatus();
    void NotifyAdvance(uint64_t startFrame, uint64_t advancedFrames);
    template <int Bits, int Channels> uint32_t MixFrames(float* acc, uint32_t frames, uint64_t step);

    PfWaveFormat m_Format;
    uint32_t m_Size = 0;
    uint32_t m_FrameCount = 0;
    std::unique_ptr<uint8_t[]> m_Data;

    // Mixer state: guarded by the mixer's lock.
    bool m_Playing = false;
    bool m_Looping = false;
    // The status bits of m_Playing and m_Looping, published for readers without the lock.
    std::atomic<uint32_t> m_Status{0};
    uint64_t m_Position = 0; // 32.32 fixed point frames, always below m_FrameCount
    int32_t m_Volume = 0;
    int32_t m_Pan = 0;
    uint32_t m_Frequency = 0;
    float m_GainLeft = 1.0f;
    float m_GainRight = 1.0f;
    std::vector<uint32_t> m_NotifyOffsets;
    PfAudioSignal* m_NotifySignal = nullptr;
};
