#include "media/GxMovieSoundBuffer.h"

#include "platform/PfSoundBuffer.h"
#include "platform/PfWaveFormat.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr uint32_t kFrameBytes = 4;

} // namespace

std::unique_ptr<GxMovieSoundOutput> GxMovieSoundBuffer::Create()
{
    PfWaveFormat format;
    format.wFormatTag = PF_WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = kFrameBytes;
    format.nAvgBytesPerSec = 44100 * kFrameBytes;
    std::unique_ptr<PfSoundBuffer> buffer = PfSoundBuffer::Create(format, kRingFrames * kFrameBytes);
    if (!buffer)
        return nullptr;
    return std::unique_ptr<GxMovieSoundOutput>(new GxMovieSoundBuffer(std::move(buffer)));
}

GxMovieSoundBuffer::GxMovieSoundBuffer(std::unique_ptr<PfSoundBuffer> buffer) : m_pBuffer(std::move(buffer)) {}

GxMovieSoundBuffer::~GxMovieSoundBuffer()
{
    if (m_pBuffer)
        m_pBuffer->Stop();
}

void GxMovieSoundBuffer::Zero(uint64_t from, uint64_t to)
{
    if (to <= from)
        return;
    const uint32_t frames = (uint32_t)std::min<uint64_t>(to - from, kRingFrames);
    void *part1 = nullptr, *part2 = nullptr;
    uint32_t size1 = 0, size2 = 0;
    if (m_pBuffer->Lock((uint32_t)(from % kRingFrames) * kFrameBytes, frames * kFrameBytes, &part1, &size1, &part2,
                        &size2) != PfSoundBuffer::kOk)
        return;
    std::memset(part1, 0, size1);
    if (part2)
        std::memset(part2, 0, size2);
    m_pBuffer->Unlock(part1, size1, part2, size2);
}

void GxMovieSoundBuffer::Poll()
{
    uint32_t play = 0;
    m_pBuffer->GetCurrentPosition(&play, nullptr);
    const uint32_t frame = play / kFrameBytes;
    const uint32_t advanced = (frame + kRingFrames - m_LastPlay) % kRingFrames;
    m_LastPlay = frame;
    if (advanced == 0)
        return;
    // Passed frames hold sound already played (or silence): cleared, so a lap over them plays nothing.
    Zero(m_Cursor, m_Cursor + advanced);
    m_Cursor += advanced;
}

uint32_t GxMovieSoundBuffer::QueuedLocked() const
{
    const uint64_t from = std::max(m_Cursor, m_SoundStart);
    return m_WriteFrame > from ? (uint32_t)(m_WriteFrame - from) : 0;
}

uint32_t GxMovieSoundBuffer::Write(const int16_t* samples, uint32_t frames)
{
    std::lock_guard<std::mutex> lock(m_Lock);
    Poll();
    uint32_t play = 0, write = 0;
    m_pBuffer->GetCurrentPosition(&play, &write);
    const uint32_t lead = ((write + kRingFrames * kFrameBytes - play) % (kRingFrames * kFrameBytes)) / kFrameBytes;
    if (m_WriteFrame < m_Cursor)
    {
        // Starved: the cursor ran past the sound. The next sound goes just beyond what the mixer may
        // already be reading; the stretch before it is silence and is not counted as played.
        m_WriteFrame = m_Cursor + lead;
        m_SoundStart = m_WriteFrame;
    }
    const uint64_t limit = m_Cursor + kRingFrames - lead;
    frames = (uint32_t)std::min<uint64_t>(frames, limit > m_WriteFrame ? limit - m_WriteFrame : 0);
    if (frames == 0)
        return 0;
    void *part1 = nullptr, *part2 = nullptr;
    uint32_t size1 = 0, size2 = 0;
    if (m_pBuffer->Lock((uint32_t)(m_WriteFrame % kRingFrames) * kFrameBytes, frames * kFrameBytes, &part1, &size1,
                        &part2, &size2) != PfSoundBuffer::kOk)
        return 0;
    std::memcpy(part1, samples, size1);
    if (part2)
        std::memcpy(part2, reinterpret_cast<const uint8_t*>(samples) + size1, size2);
    m_pBuffer->Unlock(part1, size1, part2, size2);
    m_WriteFrame += frames;
    m_Written += frames;
    return frames;
}

uint64_t GxMovieSoundBuffer::GetPlayedFrames()
{
    std::lock_guard<std::mutex> lock(m_Lock);
    Poll();
    return m_Written - QueuedLocked();
}

uint32_t GxMovieSoundBuffer::GetQueuedFrames()
{
    std::lock_guard<std::mutex> lock(m_Lock);
    Poll();
    return QueuedLocked();
}

void GxMovieSoundBuffer::Play()
{
    std::lock_guard<std::mutex> lock(m_Lock);
    if (!m_Playing)
        m_pBuffer->Play(PfSoundBuffer::kPlayLooping);
    m_Playing = true;
}

void GxMovieSoundBuffer::Stop()
{
    std::lock_guard<std::mutex> lock(m_Lock);
    m_pBuffer->Stop();
    Poll();
    m_Playing = false;
}

void GxMovieSoundBuffer::Reset()
{
    std::lock_guard<std::mutex> lock(m_Lock);
    m_pBuffer->Stop();
    m_pBuffer->SetCurrentPosition(0);
    Zero(0, kRingFrames);
    m_LastPlay = 0;
    m_Cursor = m_WriteFrame = m_SoundStart = m_Written = 0;
    m_Playing = false;
}

void GxMovieSoundBuffer::SetVolume(int32_t volume)
{
    m_pBuffer->SetVolume(std::clamp(volume, PfSoundBuffer::kVolumeMin, 0));
}
