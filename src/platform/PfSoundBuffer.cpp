#include "platform/PfSoundBuffer.h"

#include "platform/PfAudioMixer.h"
#include "platform/PfAudioSignal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{
// The largest buffer DirectSound accepted; far beyond any sound the game holds in one piece.
constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;

// A level in hundredths of a decibel as a linear gain, 10^(level/2000); the bottom of the range is
// true silence. Looked up: fades set a level on every update of every playing voice.
float GainOf(int32_t level)
{
    static const std::vector<float> s_Table = []
    {
        std::vector<float> table(-PfSoundBuffer::kVolumeMin + 1);
        for (int32_t v = PfSoundBuffer::kVolumeMin + 1; v <= 0; ++v)
            table[-v] = std::pow(10.0f, static_cast<float>(v) / 2000.0f);
        table[-PfSoundBuffer::kVolumeMin] = 0.0f;
        return table;
    }();
    if (level <= PfSoundBuffer::kVolumeMin)
        return 0.0f;
    if (level >= 0)
        return 1.0f;
    return s_Table[-level];
}

template <int Bits, int Channels> inline void ReadFrame(const uint8_t* data, uint32_t frame, float& left, float& right)
{
    if constexpr (Bits == 8)
    {
        const uint8_t* p = data + static_cast<size_t>(frame) * Channels;
        left = static_cast<float>((static_cast<int>(p[0]) - 128) * 256);
        right = Channels == 2 ? static_cast<float>((static_cast<int>(p[1]) - 128) * 256) : left;
    }
    else
    {
        int16_t s[2];
        std::memcpy(s, data + static_cast<size_t>(frame) * Channels * 2, Channels * 2);
        left = static_cast<float>(s[0]);
        right = Channels == 2 ? static_cast<float>(s[1]) : left;
    }
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

std::unique_ptr<PfSoundBuffer> PfSoundBuffer::Create(const PfWaveFormat& format, uint32_t bytes, PfResult* result,
                                                     Contents contents)
{
    auto fail = [result](PfResult code)
    {
        if (result)
            *result = code;
        return std::unique_ptr<PfSoundBuffer>();
    };
    if (!PfAudioMixer::Get().IsOpen())
        return fail(kErrNoDriver);
    if (format.wFormatTag != PF_WAVE_FORMAT_PCM || (format.nChannels != 1 && format.nChannels != 2) ||
        (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) || format.nSamplesPerSec < kFrequencyMin ||
        format.nSamplesPerSec > kFrequencyMax || format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return fail(kErrBadFormat);
    if (bytes == 0 || bytes > kMaxBufferBytes || bytes % format.nBlockAlign != 0)
        return fail(kErrInvalidParam);
    std::unique_ptr<PfSoundBuffer> buffer;
    try
    {
        buffer.reset(new PfSoundBuffer(format, bytes, contents));
    }
    catch (const std::bad_alloc&)
    {
        return fail(kErrOutOfMemory);
    }
    PfAudioMixer::Get().Add(buffer.get());
    if (result)
        *result = kOk;
    return buffer;
}

PfSoundBuffer::PfSoundBuffer(const PfWaveFormat& format, uint32_t bytes, Contents contents)
    : m_Format(format), m_Size(bytes), m_FrameCount(bytes / format.nBlockAlign), m_Data(new uint8_t[bytes])
{
    if (contents == kContentsSilence)
        std::memset(m_Data.get(), format.wBitsPerSample == 8 ? 0x80 : 0, bytes);
}

PfSoundBuffer::~PfSoundBuffer()
{
    PfAudioMixer::Get().Remove(this);
}

PfResult PfSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1, void** part2,
                             uint32_t* size2)
{
    if (part1 == nullptr || size1 == nullptr || offset >= m_Size || bytes == 0 || bytes > m_Size)
        return kErrInvalidParam;
    const uint32_t first = std::min(bytes, m_Size - offset);
    *part1 = m_Data.get() + offset;
    *size1 = first;
    if (part2)
        *part2 = first < bytes ? m_Data.get() : nullptr;
    if (size2)
        *size2 = bytes - first;
    if (part2 == nullptr && first < bytes)
        return kErrInvalidParam;
    return kOk;
}

PfResult PfSoundBuffer::Unlock(void*, uint32_t, void*, uint32_t)
{
    return kOk;
}

PfResult PfSoundBuffer::Play(PlayMode mode)
{
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_Playing = true;
    m_Looping = mode == kPlayLooping;
    PublishStatus();
    return kOk;
}

PfResult PfSoundBuffer::Stop()
{
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_Playing = false;
    PublishStatus();
    return kOk;
}

PfResult PfSoundBuffer::SetCurrentPosition(uint32_t offset)
{
    if (offset >= m_Size)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_Position = static_cast<uint64_t>(offset / m_Format.nBlockAlign) << 32;
    return kOk;
}

PfResult PfSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write)
{
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    const uint32_t playByte = static_cast<uint32_t>(m_Position >> 32) * m_Format.nBlockAlign;
    if (play)
        *play = playByte;
    if (write)
    {
        uint32_t lead = 0;
        if (m_Playing)
        {
            // What one output period may read, rounded up, plus the frame in between.
            const uint64_t rate = m_Frequency ? m_Frequency : m_Format.nSamplesPerSec;
            const uint64_t frames =
                (rate * PfAudioMixer::kPeriodFrames + PfAudioMixer::kOutputRate - 1) / PfAudioMixer::kOutputRate + 1;
            lead = static_cast<uint32_t>(std::min<uint64_t>(frames * m_Format.nBlockAlign, m_Size));
        }
        *write = static_cast<uint32_t>((static_cast<uint64_t>(playByte) + lead) % m_Size);
    }
    return kOk;
}

// Asked for every voice on every update: read from the published copy without the mixer's lock.
uint32_t PfSoundBuffer::GetStatus()
{
    return m_Status.load(std::memory_order_acquire);
}

void PfSoundBuffer::PublishStatus()
{
    uint32_t status = 0;
    if (m_Playing)
        status |= kStatusPlaying | (m_Looping ? static_cast<uint32_t>(kStatusLooping) : 0u);
    m_Status.store(status, std::memory_order_release);
}

PfResult PfSoundBuffer::SetVolume(int32_t volume)
{
    if (volume > 0 || volume < kVolumeMin)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_Volume = volume;
    UpdateGains();
    return kOk;
}

int32_t PfSoundBuffer::GetVolume()
{
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    return m_Volume;
}

PfResult PfSoundBuffer::SetPan(int32_t pan)
{
    if (pan < kPanLeft || pan > kPanRight)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_Pan = pan;
    UpdateGains();
    return kOk;
}

int32_t PfSoundBuffer::GetPan()
{
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    return m_Pan;
}

PfResult PfSoundBuffer::SetFrequency(uint32_t hz)
{
    if (hz != 0 && (hz < kFrequencyMin || hz > kFrequencyMax))
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_Frequency = hz;
    return kOk;
}

uint32_t PfSoundBuffer::GetFrequency()
{
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    return m_Frequency ? m_Frequency : m_Format.nSamplesPerSec;
}

PfResult PfSoundBuffer::SetNotificationPositions(const uint32_t* offsets, uint32_t count, PfAudioSignal* signal)
{
    if (count > kMaxNotifications || (count > 0 && (offsets == nullptr || signal == nullptr)))
        return kErrInvalidParam;
    for (uint32_t i = 0; i < count; ++i)
        if (offsets[i] >= m_Size)
            return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(PfAudioMixer::Get().GetLock());
    m_NotifyOffsets.assign(offsets, offsets + count);
    m_NotifySignal = count > 0 ? signal : nullptr;
    return kOk;
}

void PfSoundBuffer::UpdateGains()
{
    const float gain = GainOf(m_Volume);
    m_GainLeft = gain;
    m_GainRight = gain;
    if (m_Pan < 0)
        m_GainRight *= GainOf(m_Pan);
    else if (m_Pan > 0)
        m_GainLeft *= GainOf(-m_Pan);
}

void PfSoundBuffer::NotifyAdvance(uint64_t startFrame, uint64_t advancedFrames)
{
    if (m_NotifySignal == nullptr || advancedFrames == 0)
        return;
    // An offset o is passed once for every lap position o + k x size in (start, start + advanced].
    const int64_t size = m_Size;
    const int64_t s = static_cast<int64_t>(startFrame * m_Format.nBlockAlign);
    const int64_t e = s + static_cast<int64_t>(advancedFrames * m_Format.nBlockAlign);
    uint32_t passes = 0;
    for (uint32_t o : m_NotifyOffsets)
        passes += static_cast<uint32_t>(FloorDiv(e - o, size) - FloorDiv(s - o, size));
    m_NotifySignal->Post(passes);
}

template <int Bits, int Channels> uint32_t PfSoundBuffer::MixFrames(float* acc, uint32_t frames, uint64_t step)
{
    const uint8_t* data = m_Data.get();
    const uint64_t end = static_cast<uint64_t>(m_FrameCount) << 32;
    const float gl = m_GainLeft;
    const float gr = m_GainRight;
    uint64_t pos = m_Position;
    uint32_t i = 0;
    if (step == (uint64_t(1) << 32) && (pos & 0xFFFFFFFFu) == 0)
    {
        // Same rate as the output: whole frames, no interpolation, bit-exact at full level.
        uint32_t frame = static_cast<uint32_t>(pos >> 32);
        while (i < frames)
        {
            const uint32_t run = std::min(frames - i, m_FrameCount - frame);
            for (uint32_t k = 0; k < run; ++k, ++i)
            {
                float l, r;
                ReadFrame<Bits, Channels>(data, frame + k, l, r);
                acc[2 * i] += l * gl;
                acc[2 * i + 1] += r * gr;
            }
            frame += run;
            if (frame >= m_FrameCount)
            {
                frame = 0;
                if (!m_Looping)
                {
                    m_Playing = false;
                    PublishStatus();
                    break;
                }
            }
        }
        m_Position = static_cast<uint64_t>(frame) << 32;
        return i;
    }
    for (; i < frames; ++i)
    {
        const uint32_t frame = static_cast<uint32_t>(pos >> 32);
        float l, r;
        ReadFrame<Bits, Channels>(data, frame, l, r);
        const uint32_t fracBits = static_cast<uint32_t>(pos);
        if (fracBits != 0)
        {
            uint32_t next = frame + 1;
            if (next >= m_FrameCount)
                next = m_Looping ? 0 : frame;
            float l1, r1;
            ReadFrame<Bits, Channels>(data, next, l1, r1);
            const float frac = static_cast<float>(fracBits) * (1.0f / 4294967296.0f);
            l += (l1 - l) * frac;
            r += (r1 - r) * frac;
        }
        acc[2 * i] += l * gl;
        acc[2 * i + 1] += r * gr;
        pos += step;
        if (pos >= end)
        {
            if (!m_Looping)
            {
                m_Playing = false;
                PublishStatus();
                pos = 0;
                ++i;
                break;
            }
            pos %= end;
        }
    }
    m_Position = pos;
    return i;
}

void PfSoundBuffer::MixInto(float* acc, uint32_t frames, uint32_t outRate)
{
    if (!m_Playing || frames == 0)
        return;
    const uint64_t rate = m_Frequency ? m_Frequency : m_Format.nSamplesPerSec;
    const uint64_t step = (rate << 32) / outRate;
    const uint64_t startPos = m_Position;
    const bool looping = m_Looping;
    uint32_t mixed = 0;
    const int kind = (m_Format.wBitsPerSample == 16 ? 2 : 0) + (m_Format.nChannels == 2 ? 1 : 0);
    switch (kind)
    {
    case 0:
        mixed = MixFrames<8, 1>(acc, frames, step);
        break;
    case 1:
        mixed = MixFrames<8, 2>(acc, frames, step);
        break;
    case 2:
        mixed = MixFrames<16, 1>(acc, frames, step);
        break;
    default:
        mixed = MixFrames<16, 2>(acc, frames, step);
        break;
    }
    const uint64_t startFrame = startPos >> 32;
    uint64_t advanced;
    if (!looping && !m_Playing)
        advanced = m_FrameCount - startFrame; // ran to the end and stopped
    else
        advanced =
            static_cast<uint64_t>(
                (static_cast<unsigned __int128>(startPos) + static_cast<unsigned __int128>(mixed) * step) >> 32) -
            startFrame;
    NotifyAdvance(startFrame, advanced);
}
