// A movie's sound through the mixer, written to a file by SDL's disk driver: level, timing against the
// pictures, the volume of a playing movie, and no sound at all without the flag.
#include "MovieTestSupport.h"
#include "SoundTestSupport.h"

#include "appdata/GxSoundControl.h"
#include "appdata/GxUserConfig.h"
#include "platform/PfAudioDevice.h"

#include <cmath>

namespace
{

class GxMovieSoundTest : public KvMovieFixture
{
protected:
    bool OpenDisk(const std::string& file)
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", Path(file).c_str(), 1);
        return PfAudioDevice::Open(PfAudioDevice::kOutputDevice);
    }
    void TearDown() override
    {
        GxMovie::DestroyAll();
        PfAudioDevice::Close();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        KvMovieFixture::TearDown();
    }
    std::vector<int16_t> ReadSamples(const std::string& file) { return sndtest::ReadRaw(Path(file)); }
};

// The peak of each beep in interleaved stereo: stretches louder than 1000, split by 0.5 s of quiet.
std::vector<int> BeepPeaks(const std::vector<int16_t>& samples)
{
    std::vector<int> peaks;
    size_t lastLoud = 0;
    for (size_t i = 0; i < samples.size(); ++i)
    {
        const int level = std::abs((int)samples[i]);
        if (level < 1000)
            continue;
        if (peaks.empty() || i - lastLoud > 44100)
            peaks.push_back(0);
        peaks.back() = std::max(peaks.back(), level);
        lastLoud = i;
    }
    return peaks;
}

} // namespace

TEST_F(GxMovieSoundTest, SoundPlaysAtTheMovieVolumeInStepWithThePictures)
{
    const std::wstring movie = Wide(KvMovie("640x480x10.mpg"));
    // Without the flag: a second and a half (one beep) and nothing reaches the output.
    ASSERT_TRUE(OpenDisk("silent.raw")) << PfAudioDevice::GetLastError();
    ASSERT_TRUE(GxMovie::Open(0, movie, nullptr, false, false));
    EXPECT_FALSE(GxMovie::GetPlayer(0)->HasSound());
    ASSERT_TRUE(GxMovie::Play(0, 0, 0));
    ASSERT_TRUE(PumpUntil([] { return GxMovie::GetPosition(0) > 1.5; }));
    GxMovie::Destroy(0);
    PfAudioDevice::Close();
    EXPECT_TRUE(BeepPeaks(ReadSamples("silent.raw")).empty());

    // With it, at -600 (half the amplitude) for four beeps, then at full level through the options.
    ASSERT_TRUE(OpenDisk("sound.raw"));
    ASSERT_TRUE(GxMovie::Open(0, movie, nullptr, true, false));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(0);
    ASSERT_TRUE(player->HasSound());
    ASSERT_TRUE(GxMovie::Play(0, 0, -600));
    ASSERT_TRUE(PumpUntil([] { return GxMovie::GetPosition(0) > 4.5; }));
    // The options' movie level at full: the sound functions hand it to every playing movie.
    GxUserConfig options;
    options.m_Volume_Master = options.m_Volume_Movie = 100;
    GxSoundControl::SetTargets(&options, nullptr);
    EXPECT_TRUE(GxSoundControl::UpdateMovieVolume());
    GxSoundControl::SetTargets(nullptr, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !player->IsPlaying(); }, 30.0));
    const std::vector<GxMovieRenderer::CopyRecord> copies = player->GetRenderer()->GetCopyRecords();
    PfAudioDevice::Close();

    const std::vector<int> peaks = BeepPeaks(ReadSamples("sound.raw"));
    ASSERT_EQ(peaks.size(), 9u);
    // MP2 rings a few per cent over the source's peak, alike at both levels: the levels are compared.
    double quiet = 0, loud = 0;
    for (size_t i = 0; i < peaks.size(); ++i)
    {
        EXPECT_NEAR(peaks[i], (i < 4 ? 0.5 : 1.0) * MoviePattern::kBeepAmplitude, 0.08 * MoviePattern::kBeepAmplitude)
            << "beep " << i + 1;
        (i < 4 ? quiet : loud) += peaks[i] / (i < 4 ? 4.0 : 5.0);
    }
    EXPECT_NEAR(20.0 * std::log10(quiet / loud), -6.0, 0.3);
    // Each second's white frame went to the texture within 40 ms of the sound clock reaching its beep.
    for (int second = 1; second < 10; ++second)
    {
        auto white = std::find_if(copies.begin(), copies.end(),
                                  [&](const GxMovieRenderer::CopyRecord& r)
                                  { return r.FrameTime >= second - 0.02 && r.FrameTime < second + 0.02; });
        ASSERT_NE(white, copies.end()) << "second " << second;
        EXPECT_NEAR(white->Clock, second, 0.04) << "second " << second;
    }
}

TEST_F(GxMovieSoundTest, PicturesOutlastingTheSoundPlayOnToTheEnd)
{
    ASSERT_TRUE(OpenDisk("short.raw"));
    ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie("64x48x4-short.avi")), nullptr, true, false));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(0);
    ASSERT_TRUE(player->HasSound());
    ASSERT_TRUE(GxMovie::Play(0, 0, 0));
    // Once the second of sound is over the process clock carries the pictures to the end.
    ASSERT_TRUE(PumpUntil([&] { return !player->IsPlaying(); }, 10.0));
    const std::vector<GxMovieRenderer::CopyRecord> copies = player->GetRenderer()->GetCopyRecords();
    ASSERT_FALSE(copies.empty());
    EXPECT_NEAR(copies.back().FrameTime, 3.96, 0.001);
    EXPECT_NEAR(copies.back().Clock, 3.96, 0.04);
}
