#include "SoundTestSupport.h"

#include "media/GxSound.h"
#include "media/GxSoundBufferStream.h"
#include "media/GxSoundCache.h"
#include "media/GxSoundLoaderMemory.h"
#include "media/GxSoundPlayerStream.h"
#include "media/GxWavData.h"

#include <random>

using namespace sndtest;

namespace
{
// A decoder far slower than the mixer is pulled: each read takes 15 ms of wall time.
class SlowDecoder : public GxSoundLoaderMemory
{
public:
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        return GxSoundLoaderMemory::Read(buffer, bytes, bytesRead);
    }
};

// The shared service fixture with two tones of its own.
class GxSoundService : public SoundServiceFixture
{
protected:
    void SetUp() override
    {
        SoundServiceFixture::SetUp();
        WriteToneWave(m_Folder.Path("tone.wav"), 4.0, 441);
        WriteToneWave(m_Folder.Path("blip.wav"), 0.05, 882);
    }
};
} // namespace

// Fade-in from -32 dB, fade-out to -32 dB then a close, a level change during the fade-out; the mixed
// output follows every step.
TEST_F(GxSoundService, FadesStepOnUpdateAndTheOutputFollows)
{
    GxSoundPlayerStream& channel = *GxSound::GetChannel(4);
    const double fullRms = 10000 / std::sqrt(2.0);
    auto expectLevel = [&](int32_t level)
    {
        EXPECT_EQ(channel.GetVolume(), level);
        Pull(2048); // what was mixed before the change
        const double rms = Rms(Pull(4410));
        EXPECT_NEAR(20 * std::log10(rms / fullRms), level / 100.0, 0.5) << level;
    };
    ASSERT_TRUE(GxSound::PlayFile(4, File("tone.wav"), -1, 0, 500, -600, 0, 0));
    EXPECT_EQ(channel.GetFadeState(), 1);
    expectLevel(-3200);
    At(250);
    expectLevel(-1900);
    At(500);
    expectLevel(-600);
    EXPECT_EQ(channel.GetFadeState(), 0);

    At(1000);
    ASSERT_TRUE(GxSound::Stop(4, 1000));
    At(1500);
    expectLevel(-1900);
    ASSERT_TRUE(GxSound::SetVolume(4, -1000)); // the rest of the fade starts from -10 dB
    At(1750);
    expectLevel(-1000 + (-3200 + 1000) * 3 / 4);
    At(1999);
    EXPECT_TRUE(GxSound::GetChannelState(4));
    At(2000);
    EXPECT_FALSE(GxSound::GetChannelState(4));
    EXPECT_EQ(channel.GetFadeState(), 0);

    // Fade time 0 applies at once; the clock wrapping mid-fade still steps it.
    ASSERT_TRUE(GxSound::PlayFile(4, File("tone.wav"), -1, 0, 0, -300, 0, 0));
    EXPECT_EQ(channel.GetVolume(), -300);
    s_Now = 0xFFFFFF00u;
    ASSERT_TRUE(GxSound::PlayFile(4, File("tone.wav"), -1, 0, 512, 0, 0, 0));
    At(0x00000000u);
    EXPECT_EQ(channel.GetVolume(), -3200 + 3200 / 2);
}

// The cross-fade pair: nothing, 0, 1 and back; the current channel is the one not fading out.
TEST_F(GxSoundService, BGMCrossFadesBetweenTheTwoChannels)
{
    EXPECT_EQ(GxSound::GetCurrentBGMChannel(), 0);
    ASSERT_TRUE(GxSound::PlayBGM(File("tone.wav"), -1, 0, 1000, 0, 0, 0));
    EXPECT_TRUE(GxSound::GetChannelState(0));
    EXPECT_FALSE(GxSound::GetChannelState(1));
    At(100);
    ASSERT_TRUE(GxSound::PlayBGM(File("tone.wav"), -1, 0, 1000, 0, 0, 0));
    EXPECT_EQ(GxSound::GetChannel(0)->GetFadeState(), 2);
    EXPECT_EQ(GxSound::GetChannel(1)->GetFadeState(), 1);
    EXPECT_EQ(GxSound::GetCurrentBGMChannel(), 1);
    At(1100);
    EXPECT_FALSE(GxSound::GetChannelState(0));
    EXPECT_EQ(GxSound::GetCurrentBGMChannel(), 1);
    ASSERT_TRUE(GxSound::PlayBGM(File("tone.wav"), -1, 0, 1000, 0, 0, 0));
    EXPECT_EQ(GxSound::GetChannel(1)->GetFadeState(), 2);
    EXPECT_EQ(GxSound::GetChannel(0)->GetFadeState(), 1);
    EXPECT_EQ(GxSound::GetCurrentBGMChannel(), 0);
    EXPECT_TRUE(GxSound::StopBGM(0));
    EXPECT_FALSE(GxSound::GetChannelState(0) || GxSound::GetChannelState(1));
    // Bad names and positions fail with their messages and leave the channel closed.
    EXPECT_FALSE(GxSound::PlayFile(3, File("tone.mp3"), 0, 0, 0, 0, 0, 0));
    EXPECT_TRUE(m_Log.Has(L"ローダー作成に失敗"));
    EXPECT_FALSE(GxSound::PlayFile(3, File("tone.wav"), 0, 4000, 0, 0, 0, 0));
    EXPECT_TRUE(m_Log.Has(L"シーク不可能な位置が指定されました"));
    EXPECT_FALSE(GxSound::PlayFile(3, File("missing.wav"), 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(GxSound::GetChannelState(3));
}

// At most 16 one-shots; a name again within 4 ms is refused (one decode, one voice); channel numbers
// past the last, -1 included, are refused.
TEST_F(GxSoundService, OneShotsAndChannelLimits)
{
    uint32_t number = 0;
    for (int i = 0; i < 16; ++i)
    {
        At(10 * i);
        ASSERT_TRUE(GxSound::PlayOneShot(&number, File("blip.wav"), 0, 0, 0, 0, 0)) << i;
    }
    At(1000);
    EXPECT_FALSE(GxSound::PlayOneShot(nullptr, File("blip.wav"), 0, 0, 0, 0, 0));
    EXPECT_EQ(GxSound::GetCache().GetCount(), 1u);
    Pull(4410); // every blip has ended
    At(1010);
    EXPECT_EQ(GxSound::GetOneShotCount(), 0u);
    ASSERT_TRUE(GxSound::PlayOneShot(&number, File("blip.wav"), 0, 0, 0, 0, 0));
    At(1013);
    EXPECT_FALSE(GxSound::PlayOneShot(nullptr, File("blip.wav"), 0, 0, 0, 0, 0));
    EXPECT_EQ(GxSound::GetOneShotCount(), 1u);
    int peak = 0;
    for (int16_t v : Pull(1000))
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_NEAR(peak, 10000, 20); // one voice, not two summed
    At(1014);
    EXPECT_TRUE(GxSound::PlayOneShot(nullptr, File("blip.wav"), 0, 0, 0, 0, 0));
    EXPECT_TRUE(GxSound::StopAllOneShots());
    EXPECT_EQ(GxSound::GetOneShotCount(), 0u);

    for (uint32_t channel : {32u, static_cast<uint32_t>(-1)})
    {
        EXPECT_FALSE(GxSound::PlayFile(channel, File("tone.wav"), 0, 0, 0, 0, 0, 0));
        EXPECT_FALSE(GxSound::Stop(channel, 0));
        EXPECT_FALSE(GxSound::Close(channel));
        EXPECT_FALSE(GxSound::SetVolume(channel, 0));
        EXPECT_FALSE(GxSound::GetChannelState(channel));
    }
}

// Without a device the service is not started and nothing plays.
TEST_F(GxSoundService, NoDevicePlaysNothing)
{
    GxSound::Finalize();
    PfAudioDevice::Close();
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(GxSound::Initialize(nullptr));
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    EXPECT_FALSE(GxSound::IsStarted());
    EXPECT_FALSE(GxSound::PlayFile(0, File("tone.wav"), 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(GxSound::PlayBGM(File("tone.wav"), 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(GxSound::PlayOneShot(nullptr, File("blip.wav"), 0, 0, 0, 0, 0));
    EXPECT_TRUE(GxSound::Update());
    EXPECT_EQ(GxSound::GetOneShotCount(), 0u);
}

// Plain pulls of one update step each, as a recorded run makes them back to back, mix a stream fed by a
// slow decoder sample for sample: every pull first waits for the feeding thread.
TEST_F(GxSoundService, PullsWaitForSlowFeeders)
{
    GxWavData sound;
    ASSERT_TRUE(sound.Create(File("tone.wav")));
    const std::vector<int16_t> source = ReadRaw(m_Folder.Path("tone.wav"));
    SlowDecoder decoder;
    ASSERT_TRUE(decoder.Open(&sound));
    GxSoundBufferStream stream;
    ASSERT_TRUE(stream.Create(&decoder));
    ASSERT_TRUE(stream.Play(0, 0, 0, 0, 0, 0));
    // 2.5 s: past the seven blocks queued at the start, so three refills are mixed.
    constexpr uint32_t kStep = 735, kSteps = 150;
    std::vector<int16_t> out(static_cast<size_t>(kStep) * kSteps * 2);
    for (uint32_t i = 0; i < kSteps; ++i)
        ASSERT_EQ(PfAudioDevice::Pull(out.data() + static_cast<size_t>(i) * kStep * 2, kStep), kStep);
    const size_t header = 22; // the WAVE header's 44 bytes
    size_t firstDifference = out.size();
    for (size_t i = 0; i < out.size() && firstDifference == out.size(); ++i)
        if (out[i] != source[header + i])
            firstDifference = i;
    EXPECT_EQ(firstDifference, out.size()) << "first difference at frame " << firstDifference / 2;
    EXPECT_EQ(stream.GetUnderrunCount(), 0u);
}

// Random play, stop, fade and close calls with updates and mixing between: no call stalls, that is no
// close or new play had to give up waiting for a channel's feeding thread (a hang would run into the
// case's time-out). The calls' times are the media benchmarks' business, not a wall-clock bound here.
TEST_F(GxSoundService, RandomCallsNeverStall)
{
    std::mt19937 random(5);
    std::vector<int16_t> out(2 * 256);
    for (int i = 0; i < 2000; ++i)
    {
        const uint32_t channel = random() % 34;
        const uint32_t kind = random() % 7;
        switch (kind)
        {
        case 0:
            GxSound::PlayFile(channel, File(random() % 2 ? "tone.wav" : "blip.wav"), static_cast<int>(random() % 3) - 1,
                              random() % 100, random() % 300, -static_cast<int32_t>(random() % 3000), 0, random() % 50);
            break;
        case 1:
            GxSound::Stop(channel, random() % 200);
            break;
        case 2:
            GxSound::Close(channel);
            break;
        case 3:
            GxSound::SetVolume(channel, -static_cast<int32_t>(random() % 5000));
            break;
        case 4:
            GxSound::PlayBGM(File("tone.wav"), -1, 0, random() % 300, 0, 0, 0);
            break;
        case 5:
            GxSound::PlayOneShot(nullptr, File("blip.wav"), 0, 0, 0, 0, 0);
            break;
        default:
            At(s_Now + random() % 40);
            break;
        }
        PfAudioDevice::Pull(out.data(), 256);
    }
    EXPECT_FALSE(m_Log.Has(L"ストリーム再生スレッドが終了しません"));
    EXPECT_TRUE(GxSoundBufferStream::WaitForFeeders(5000));
}
