#include "platform/PfAudioDevice.h"
#include "platform/PfAudioMixer.h"
#include "platform/PfAudioSignal.h"
#include "platform/PfSoundBuffer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace
{
PfWaveFormat Format(uint32_t rate, uint16_t channels, uint16_t bits)
{
    PfWaveFormat f;
    f.wFormatTag = PF_WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

void Write(PfSoundBuffer& buffer, const void* bytes, uint32_t size)
{
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer.Lock(0, size, &p1, &n1, &p2, &n2), PfSoundBuffer::kOk);
    std::memcpy(p1, bytes, n1);
    buffer.Unlock(p1, n1, p2, n2);
}

class PfSoundBufferPull : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull)); }
    void TearDown() override { PfAudioDevice::Close(); }
    std::vector<int16_t> Pull(uint32_t frames)
    {
        std::vector<int16_t> out(frames * 2);
        EXPECT_EQ(PfAudioDevice::Pull(out.data(), frames), frames);
        return out;
    }
};
} // namespace

// Constant input through every sample shape and level: what each side of the output must read.
TEST_F(PfSoundBufferPull, LevelsPansAndSampleShapes)
{
    struct Case
    {
        const char* name;
        uint16_t channels, bits;
        std::vector<uint8_t> frame;
        int32_t volume, pan;
        double left, right;
    };
    auto s16 = [](int16_t l, int16_t r)
    {
        std::vector<uint8_t> b(4);
        std::memcpy(b.data(), &l, 2);
        std::memcpy(b.data() + 2, &r, 2);
        return b;
    };
    const std::vector<Case> cases = {
        {"-6 dB is 0.501 of the input", 2, 16, s16(10000, -10000), -600, 0, 5011.9, -5011.9},
        {"bottom of the range is silence", 2, 16, s16(10000, -10000), -10000, 0, 0, 0},
        {"full pan left silences the right", 2, 16, s16(10000, 10000), 0, -10000, 10000, 0},
        {"full pan right silences the left", 2, 16, s16(10000, 10000), 0, 10000, 0, 10000},
        {"pan 600 lowers the left by 6 dB", 2, 16, s16(10000, 10000), 0, 600, 5011.9, 10000},
        {"8-bit 0x80 is zero", 1, 8, {0x80}, 0, 0, 0, 0},
        {"8-bit stereo scales by 256", 2, 8, {0xC0, 0x40}, 0, 0, 16384, -16384},
        {"mono reaches both sides", 1, 16, {0xD2, 0x04}, 0, 0, 1234, 1234},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const PfWaveFormat f = Format(44100, c.channels, c.bits);
        auto buffer = PfSoundBuffer::Create(f, 64 * f.nBlockAlign);
        ASSERT_TRUE(buffer);
        std::vector<uint8_t> bytes;
        for (int i = 0; i < 64; ++i)
            bytes.insert(bytes.end(), c.frame.begin(), c.frame.end());
        Write(*buffer, bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_EQ(buffer->SetVolume(c.volume), PfSoundBuffer::kOk);
        ASSERT_EQ(buffer->SetPan(c.pan), PfSoundBuffer::kOk);
        buffer->Play(PfSoundBuffer::kPlayLooping);
        const auto out = Pull(300);
        for (size_t i = 0; i < out.size(); i += 2)
        {
            ASSERT_NEAR(out[i], c.left, 1.0) << "frame " << i / 2;
            ASSERT_NEAR(out[i + 1], c.right, 1.0) << "frame " << i / 2;
        }
    }
}

// A once-played buffer ends by itself; locks wrap in two pieces; bad values are refused.
TEST_F(PfSoundBufferPull, PlayOnceStopsAndLocksWrap)
{
    const PfWaveFormat f = Format(44100, 2, 16);
    auto buffer = PfSoundBuffer::Create(f, 100 * 4);
    ASSERT_TRUE(buffer);
    std::vector<int16_t> ramp(200);
    for (int i = 0; i < 200; ++i)
        ramp[i] = static_cast<int16_t>(i + 1);
    Write(*buffer, ramp.data(), 400);
    buffer->Play(PfSoundBuffer::kPlayOnce);
    const auto out = Pull(150);
    EXPECT_EQ(out[199], 200);
    EXPECT_EQ(out[200], 0);
    EXPECT_EQ(buffer->GetStatus() & PfSoundBuffer::kStatusPlaying, 0u);

    void *p1, *p2;
    uint32_t n1, n2;
    ASSERT_EQ(buffer->Lock(360, 80, &p1, &n1, &p2, &n2), PfSoundBuffer::kOk);
    EXPECT_EQ(n1, 40u);
    EXPECT_EQ(n2, 40u);
    EXPECT_EQ(static_cast<uint8_t*>(p1) - static_cast<uint8_t*>(p2), 360);
    EXPECT_NE(buffer->Lock(400, 4, &p1, &n1, &p2, &n2), PfSoundBuffer::kOk);
    EXPECT_NE(buffer->SetVolume(1), PfSoundBuffer::kOk);
    EXPECT_NE(buffer->SetPan(10001), PfSoundBuffer::kOk);
    EXPECT_NE(buffer->SetFrequency(99), PfSoundBuffer::kOk);
    EXPECT_FALSE(PfSoundBuffer::Create(Format(44100, 3, 16), 600));
    EXPECT_FALSE(PfSoundBuffer::Create(Format(50, 1, 16), 600));
    EXPECT_FALSE(PfSoundBuffer::Create(f, 402));
}

// A tone in a 22,050 Hz buffer keeps its pitch through the resampler.
TEST_F(PfSoundBufferPull, ResampledToneKeepsItsFrequency)
{
    const double tone = 441.7;
    const PfWaveFormat f = Format(22050, 1, 16);
    std::vector<int16_t> samples(22050);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(std::lround(12000.0 * std::sin(2 * M_PI * tone * i / 22050.0)));
    auto buffer = PfSoundBuffer::Create(f, 44100);
    ASSERT_TRUE(buffer);
    Write(*buffer, samples.data(), 44100);
    buffer->Play(PfSoundBuffer::kPlayOnce);
    const auto out = Pull(44100);
    // Rising zero crossings, placed between samples, over the second of output.
    std::vector<double> rising;
    for (size_t i = 1; i < 44100; ++i)
    {
        const double a = out[2 * (i - 1)], b = out[2 * i];
        if (a < 0 && b >= 0)
            rising.push_back(static_cast<double>(i - 1) + a / (a - b));
    }
    ASSERT_GT(rising.size(), 400u);
    const double measured = (rising.size() - 1) * 44100.0 / (rising.back() - rising.front());
    EXPECT_NEAR(measured, tone, 1.0);
}

// Every pass of a notification offset wakes the waiter once, however the mixing and the waiter's
// stalls fall: over 10,000 laps of an eight-block ring the count is exact.
TEST_F(PfSoundBufferPull, NotificationsAreCountedNeverMerged)
{
    const PfWaveFormat f = Format(44100, 2, 16);
    const uint32_t block = 16 * 4;
    auto buffer = PfSoundBuffer::Create(f, 8 * block);
    ASSERT_TRUE(buffer);
    std::vector<uint32_t> offsets;
    for (uint32_t i = 1; i < 8; ++i)
        offsets.push_back(i * block);
    offsets.push_back(8 * block - 1);
    PfAudioSignal signal;
    ASSERT_EQ(buffer->SetNotificationPositions(offsets.data(), 8, &signal), PfSoundBuffer::kOk);
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> woken{0};
    std::thread feeder(
        [&]
        {
            std::mt19937 random(7);
            while (true)
            {
                if (!signal.WaitFor(20))
                {
                    if (stop)
                        return;
                    continue;
                }
                ++woken;
                if (random() % 500 == 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
            }
        });
    buffer->Play(PfSoundBuffer::kPlayLooping);
    const uint64_t laps = 10000;
    uint64_t left = laps * 8 * 16; // frames of 10,000 rings
    std::mt19937 random(11);
    std::vector<int16_t> out(2 * 700);
    while (left > 0)
    {
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(left, 1 + random() % 700));
        PfAudioDevice::Pull(out.data(), n);
        left -= n;
    }
    for (int i = 0; i < 500 && woken < laps * 8; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stop = true;
    feeder.join();
    EXPECT_EQ(woken.load(), laps * 8);
    EXPECT_EQ(signal.GetCount(), 0u);
}

// Without an output no buffer can be made; a driver SDL cannot open leaves the layer closed.
TEST(PfAudioDevice, NoDeviceRefusesBuffers)
{
    PfAudioDevice::Close();
    PfResult result = 0;
    EXPECT_FALSE(PfSoundBuffer::Create(Format(44100, 2, 16), 400, &result));
    EXPECT_EQ(result, PfSoundBuffer::kErrNoDriver);
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(PfAudioDevice::Open(PfAudioDevice::kOutputDevice));
    EXPECT_FALSE(PfAudioDevice::IsOpen());
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    EXPECT_FALSE(PfSoundBuffer::Create(Format(44100, 2, 16), 400));

    // The environment's driver (dummy under the tests) opens, feeds buffers from SDL's thread, closes.
    ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputDevice)) << PfAudioDevice::GetLastError();
    EXPECT_FALSE(PfAudioDevice::GetDriverName().empty());
    EXPECT_EQ(PfAudioDevice::Pull(nullptr, 10), 0u);
    auto buffer = PfSoundBuffer::Create(Format(44100, 2, 16), 400);
    ASSERT_TRUE(buffer);
    buffer->Play(PfSoundBuffer::kPlayLooping);
    buffer.reset();
    PfAudioDevice::Close();
}
