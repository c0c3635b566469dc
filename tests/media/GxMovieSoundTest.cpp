// A movie's sound through the mixer on the virtual clock of scripted runs: the movie is driven by the main
// loop's update on a pass clock and every 60 Hz pass mixes one pass of sound from the pull output, so the
// level, the timing against the pictures, the volume of a playing movie and the silence without the flag
// come out the same on a loaded machine as on an idle one.
#include "MovieTestSupport.h"
#include "SoundTestSupport.h"

#include "appdata/GxSoundControl.h"
#include "appdata/GxUserConfig.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfInputScript.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

class GxMovieSoundTest : public KvMovieFixture
{
protected:
    void SetUp() override
    {
        KvMovieFixture::SetUp();
        ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull)) << PfAudioDevice::GetLastError();
        GxMovie::SetPassClock(&m_Clock);
    }
    void TearDown() override
    {
        GxMovie::DestroyAll();
        GxMovie::SetPassClock(nullptr);
        PfAudioDevice::Close();
        KvMovieFixture::TearDown();
    }
    // Runs passes as the main loop does until done() holds (false after seconds of passes): the movies'
    // update, then one pass of mixed sound appended to the output, then the clock moved on by a pass.
    template <typename Done> bool RunUntil(Done done, double seconds = 20.0)
    {
        const int passes = static_cast<int>(seconds * PfInputScript::kStepsPerSecond);
        for (int pass = 0; pass < passes; ++pass)
        {
            if (done())
                return true;
            GxMovie::UpdateAll();
            const size_t at = m_Out.size();
            m_Out.resize(at + PfInputScript::kFramesPerStep * 2);
            PfAudioDevice::Pull(m_Out.data() + at, PfInputScript::kFramesPerStep);
            m_Clock.m_Us += 1000000 / PfInputScript::kStepsPerSecond;
        }
        return done();
    }
    // The output mixed so far, and a fresh one from here on.
    std::vector<int16_t> TakeOutput() { return std::exchange(m_Out, {}); }

    KvPassClock m_Clock;
    std::vector<int16_t> m_Out;
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
    ASSERT_TRUE(GxMovie::Open(0, movie, nullptr, false, false));
    EXPECT_FALSE(GxMovie::GetPlayer(0)->HasSound());
    ASSERT_TRUE(GxMovie::Play(0, 0, 0));
    ASSERT_TRUE(RunUntil([] { return GxMovie::GetPosition(0) > 1.5; }));
    GxMovie::Destroy(0);
    EXPECT_TRUE(BeepPeaks(TakeOutput()).empty());

    // With it, at -600 (half the amplitude) for four beeps, then at full level through the options.
    ASSERT_TRUE(GxMovie::Open(0, movie, nullptr, true, false));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(0);
    ASSERT_TRUE(player->HasSound());
    ASSERT_TRUE(GxMovie::Play(0, 0, -600));
    ASSERT_TRUE(RunUntil([] { return GxMovie::GetPosition(0) > 4.5; }));
    // The options' movie level at full: the sound functions hand it to every playing movie.
    GxUserConfig options;
    options.m_Volume_Master = options.m_Volume_Movie = 100;
    GxSoundControl::SetTargets(&options, nullptr);
    EXPECT_TRUE(GxSoundControl::UpdateMovieVolume());
    GxSoundControl::SetTargets(nullptr, nullptr);
    ASSERT_TRUE(RunUntil([&] { return !player->IsPlaying(); }, 30.0));
    // A second more: whatever the mixer still held plays out.
    RunUntil([] { return false; }, 1.0);
    const std::vector<GxMovieRenderer::CopyRecord> copies = player->GetRenderer()->GetCopyRecords();

    const std::vector<int> peaks = BeepPeaks(TakeOutput());
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
    // Each second's white frame went to the texture on the pass the sound clock reached its beep: no more
    // than one pass after it.
    constexpr double kPass = 1.0 / PfInputScript::kStepsPerSecond;
    for (int second = 1; second < 10; ++second)
    {
        auto white = std::find_if(copies.begin(), copies.end(),
                                  [&](const GxMovieRenderer::CopyRecord& r)
                                  { return r.FrameTime >= second - 0.02 && r.FrameTime < second + 0.02; });
        ASSERT_NE(white, copies.end()) << "second " << second;
        EXPECT_GE(white->Clock, second - 0.002) << "second " << second;
        EXPECT_LE(white->Clock, second + kPass + 0.002) << "second " << second;
    }
}

TEST_F(GxMovieSoundTest, PicturesOutlastingTheSoundPlayOnToTheEnd)
{
    ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie("64x48x4-short.avi")), nullptr, true, false));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(0);
    ASSERT_TRUE(player->HasSound());
    ASSERT_TRUE(GxMovie::Play(0, 0, 0));
    // Once the second of sound is over the pass clock carries the pictures to the end.
    ASSERT_TRUE(RunUntil([&] { return !player->IsPlaying(); }, 10.0));
    const std::vector<GxMovieRenderer::CopyRecord> copies = player->GetRenderer()->GetCopyRecords();
    ASSERT_FALSE(copies.empty());
    EXPECT_NEAR(copies.back().FrameTime, 3.96, 0.001);
    EXPECT_GE(copies.back().Clock, 3.96 - 0.002);
    EXPECT_LE(copies.back().Clock, 3.96 + 1.0 / PfInputScript::kStepsPerSecond + 0.002);
}
