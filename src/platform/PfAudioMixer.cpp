#include "platform/PfAudioMixer.h"

#include "platform/PfSoundBuffer.h"

#include <algorithm>

PfAudioMixer& PfAudioMixer::Get()
{
    // Never destroyed: buffers owned by static objects may unlink themselves during exit.
    static PfAudioMixer* s_Mixer = new PfAudioMixer();
    return *s_Mixer;
}

PfAudioMixer::PfAudioMixer() : m_Accumulator(kPeriodFrames * kOutputChannels) {}

bool PfAudioMixer::IsOpen()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Open;
}

void PfAudioMixer::SetOpen(bool open)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Open = open;
}

void PfAudioMixer::Add(PfSoundBuffer* buffer)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Buffers.push_back(buffer);
}

void PfAudioMixer::Remove(PfSoundBuffer* buffer)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Buffers.erase(std::remove(m_Buffers.begin(), m_Buffers.end(), buffer), m_Buffers.end());
}

size_t PfAudioMixer::GetBufferCount()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Buffers.size();
}

void PfAudioMixer::Mix(int16_t* out, uint32_t frames)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    while (frames > 0)
    {
        const uint32_t n = std::min(frames, kPeriodFrames);
        float* acc = m_Accumulator.data();
        std::fill(acc, acc + n * kOutputChannels, 0.0f);
        for (PfSoundBuffer* buffer : m_Buffers)
            buffer->MixInto(acc, n, kOutputRate);
        for (uint32_t i = 0; i < n * kOutputChannels; ++i)
        {
            const float v = acc[i];
            // Round half away from zero; whole values (a lone sound at full level) pass unchanged.
            const float r = v >= 0.0f ? v + 0.5f : v - 0.5f;
            out[i] = static_cast<int16_t>(r >= 32767.0f ? 32767 : r <= -32768.0f ? -32768 : static_cast<int>(r));
        }
        out += n * kOutputChannels;
        frames -= n;
    }
}
