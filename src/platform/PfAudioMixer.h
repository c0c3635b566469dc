#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

class PfSoundBuffer;

// The one mixer of the process: every live sound buffer, summed into 44,100 Hz 16-bit stereo. Its two
// outputs are the SDL device's callback and, for tests, Pull on the caller's thread; both take only the
// mixer's short lock, held for one period of mixing and for each change of a buffer's play state.
// The mixer outlives every buffer (it is never destroyed), so a buffer can always unlink itself.
class PfAudioMixer
{
public:
    static constexpr uint32_t kOutputRate = 44100;
    static constexpr uint32_t kOutputChannels = 2;
    // Frames mixed in one piece; also the SDL device's period.
    static constexpr uint32_t kPeriodFrames = 1024;

    static PfAudioMixer& Get();

    // Buffers can be created only while the mixer is open (an output exists).
    bool IsOpen();
    void SetOpen(bool open);

    void Add(PfSoundBuffer* buffer);
    void Remove(PfSoundBuffer* buffer);
    size_t GetBufferCount();
    std::mutex& GetLock() { return m_Mutex; }

    // Mixes frames of interleaved stereo into out, clipping to 16 bits.
    void Mix(int16_t* out, uint32_t frames);

private:
    PfAudioMixer();

    std::mutex m_Mutex;
    bool m_Open = false;
    std::vector<PfSoundBuffer*> m_Buffers;
    std::vector<float> m_Accumulator;
};
