// The movie slots: refused slots, files that do not play, replacing a playing movie, sound-only files, and
// movies driven by a scripted run's pass clock.
#include "MovieTestSupport.h"

#include "media/GxMovieGraph.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfInputScript.h"

#include <vector>

#include <random>

using GxMovieTest = KvMovieFixture;

TEST_F(GxMovieTest, BadFilesFailWithTheirMessageAndLeaveAClosedPlayer)
{
    const std::string movie = KvFileBytes(KvMovie("640x480x4.mpg"));
    std::string noise(64 * 1024, '\0');
    std::mt19937 random(7);
    for (char& c : noise)
        c = (char)random();
    const std::wstring unplayable = L"この形式は再生できません", unopened = L"動画ファイルオープンに失敗";
    const struct
    {
        const char* Name;
        std::string Bytes; // empty: no file
        std::wstring Message;
    } cases[] = {{"op.wmv", movie, unplayable},
                 {"missing.mpg", "", unopened},
                 {"cut.mpg", movie.substr(0, 1024), unopened},
                 {"noise.mpg", noise, unopened},
                 {"noise.avi", noise.substr(0, 5000), unopened}};
    for (const auto& c : cases)
    {
        const std::wstring name = c.Bytes.empty() ? WidePath(c.Name) : Write(c.Name, c.Bytes);
        EXPECT_FALSE(GxMovie::Open(1, name, nullptr, true, false)) << c.Name;
        EXPECT_TRUE(Logged(c.Message + L"")) << c.Name;
        EXPECT_TRUE(Logged(L"(File=" + name + L")")) << c.Name;
        ASSERT_NE(GxMovie::GetPlayer(1), nullptr);
        EXPECT_EQ(GxMovie::GetPlayer(1)->GetTextureMovie(), nullptr);
        EXPECT_FALSE(GxMovie::Play(1, 0, 0)) << c.Name;
        EXPECT_EQ(GxMovie::GetPosition(1), 0.0);
    }
    EXPECT_FALSE(Logged(unplayable + L"。再生可能なのはavi,mpgのみです (File=" + WidePath("cut.mpg")));
}

TEST_F(GxMovieTest, SlotsOutsideZeroToThreeAreRefused)
{
    const std::wstring movie = Wide(KvMovie("64x48x4.mpg"));
    for (int slot : {-1, 4, 1000})
    {
        EXPECT_FALSE(GxMovie::Open(slot, movie, nullptr, false, false));
        KvExpectEq<int>({{GxMovie::Play(slot, 0, 0), 0},
                         {GxMovie::Stop(slot), 0},
                         {GxMovie::SetPosition(slot, 1.0), 0},
                         {GxMovie::GetLoopFlag(slot), 0},
                         {GxMovie::GetPlayer(slot) == nullptr, 1}});
        EXPECT_EQ(GxMovie::GetPosition(slot), 0.0);
        GxMovie::SetLoopPosition(slot, 1.0);
        GxMovie::Destroy(slot);
    }
    EXPECT_TRUE(GxMovie::StopAll());
}

TEST_F(GxMovieTest, OpeningOverAPlayingMovieEndsItsThreadFirst)
{
    GxTextureMovie first;
    ASSERT_TRUE(first.Create(L"", 64, 48, D3DFMT_A8R8G8B8, 0xFF000000u, false));
    ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie("64x48x4.mpg")), &first, false, false));
    ASSERT_TRUE(GxMovie::Play(0, -1, 0));
    ASSERT_TRUE(PumpUntil([] { return Copies(0) > 2; }));
    ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie("64x48x4.avi")), nullptr, false, false));
    // The first movie's texture sees no further frame once the second Open has returned.
    const uint32_t index = first.GetCurrentIndex();
    ASSERT_TRUE(GxMovie::Play(0, 0, 0));
    ASSERT_TRUE(PumpUntil([] { return Copies(0) > 5; }));
    EXPECT_EQ(first.GetCurrentIndex(), index);
}

TEST_F(GxMovieTest, SoundOnlyFileLeavesTheTextureBlackAndEnds)
{
    // A 0.3 s WAVE file of silence, played without its sound: it lasts its duration by the clock.
    const uint32_t frames = 13230, bytes = frames * 4;
    std::string wav = "RIFF" + std::string(4, '\0') + "WAVEfmt " + std::string("\x10\0\0\0\x01\0\x02\0", 8) +
                      std::string("\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0", 12) + "data" + std::string(4, '\0');
    std::memcpy(&wav[4], &(const uint32_t&)(uint32_t)(36 + bytes), 4);
    std::memcpy(&wav[40], &bytes, 4);
    wav += std::string(bytes, '\0');
    GxTextureMovie texture;
    ASSERT_TRUE(texture.Create(L"", 64, 64, D3DFMT_A8R8G8B8, 0xFF000000u, false));
    ASSERT_TRUE(GxMovie::Open(2, Write("voice.wav", wav), &texture, false, false));
    ASSERT_TRUE(GxMovie::Play(2, 0, 0));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(2);
    ASSERT_TRUE(PumpUntil([&] { return !player->IsPlaying(); }));
    EXPECT_NEAR(player->GetDuration(), 0.3, 0.01);
    EXPECT_EQ(TexturePixel(&texture, 5, 5), 0xFF000000u);
    EXPECT_TRUE(player->GetRenderer()->GetCopyRecords().empty());
}

// A scripted run's movies have no thread: the main loop drives them on its virtual clock, and their sound
// plays through the pull output one pass at a time. The picture on every pass and the pass the movie ends
// on are then the same in every run, however long a pass takes (a run with a pause in every pass against
// one without), with sound or without.
TEST_F(GxMovieTest, DrivenByThePassClockAMovieShowsAndEndsOnTheSamePassesEveryRun)
{
    struct Played
    {
        std::vector<int> shown; // the texture's frame number after each pass's update
        int endPass = -1;       // the first pass after which the movie no longer plays
    };
    ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
    const auto play = [&](const std::string& name, bool slow)
    {
        KvPassClock clock;
        GxMovie::SetPassClock(&clock);
        Played played;
        EXPECT_TRUE(GxMovie::Open(0, Wide(KvMovie(name)), nullptr, true, false)) << name;
        EXPECT_TRUE(GxMovie::Play(0, 0, 0)) << name;
        std::vector<int16_t> mix(PfInputScript::kFramesPerStep * 2);
        for (int pass = 0; pass < 300 && played.endPass < 0; ++pass)
        {
            GxMovie::UpdateAll();
            GxMoviePlayerFile* player = GxMovie::GetPlayer(0);
            played.shown.push_back(ShownFrame(player->GetTextureMovie(), 64, 48));
            if (!player->IsPlaying())
                played.endPass = pass;
            if (slow)
                std::this_thread::sleep_for(std::chrono::milliseconds(pass % 7));
            PfAudioDevice::Pull(mix.data(), PfInputScript::kFramesPerStep);
            clock.m_Us += 1000000 / PfInputScript::kStepsPerSecond;
        }
        GxMovie::Destroy(0);
        GxMovie::SetPassClock(nullptr);
        return played;
    };
    for (const char* name : {"64x48x2.mpg", "64x48x2-silent.mpg"})
    {
        const Played quick = play(name, false);
        const Played slow = play(name, true);
        EXPECT_EQ(quick.endPass, slow.endPass) << name;
        EXPECT_EQ(quick.shown, slow.shown) << name;
        // Two seconds of 25 pictures a second at 60 passes a second, each picture on its pass (the white
        // picture of each whole second carries no number).
        EXPECT_NEAR(quick.endPass, 120, 3) << name;
        for (size_t pass = 0; pass < quick.shown.size() && pass < 118; ++pass)
        {
            const int due = (int)pass * MoviePattern::kFramesPerSecond / 60;
            if (!MoviePattern::IsWhiteFrame(due) && !MoviePattern::IsWhiteFrame(due + 1))
            {
                EXPECT_NEAR(quick.shown[pass], due, 1) << name << " pass " << pass;
            }
        }
    }
    PfAudioDevice::Close();
}
