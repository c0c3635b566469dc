// The real program on the sample game with a permanent progress of shown pictures and a passed scene: the
// title's gallery, an entry's pictures in the viewer and back, the music room's second track and its stop,
// a replay scene to its end and back to the replay screen, the title again and its extra scene fading in.
#include "support/GameRun.h"

#include "appdata/GxUserDataPerman.h"
#include "core/GxString.h"
#include "platform/PfImage.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

// Flat colours of the sample's extra screens (tools/samplegen/SampleExtras.cpp). A thumbnail is its picture
// made small: entry 1's shows its first picture, ev01a, and scene 1's the forest's ground at its middle.
constexpr uint32_t kPlate = 0xFF806020;
constexpr uint32_t kEventRed = 0xFFC03030;    // ev01a
constexpr uint32_t kForestGround = 0xFF206020; // the lower half of "forest"
constexpr uint32_t kEventYellow = 0xFFC0C030; // ev01c
constexpr uint32_t kForestSky = 0xFF4080C0;   // the upper half of "forest"
constexpr uint32_t kReplayBackground = 0xFF102018; // "bg_rpmode.png"

// Track 2 of the music table is the story's "bgm02", a 247 Hz tone; the title plays 220 Hz, the gallery
// 196 Hz.
constexpr double kTrackTwoHz = 247.0;

::testing::AssertionResult Probe(const PfImage& image, uint32_t x, uint32_t y, uint32_t expected)
{
    const uint32_t pixel = GameRun::PixelAt(image, x, y);
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int a = static_cast<int>((pixel >> shift) & 0xFF), b = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - b) > 12)
            return ::testing::AssertionFailure()
                   << "(" << x << ", " << y << ") is " << std::hex << pixel << ", expected " << expected;
    }
    return ::testing::AssertionSuccess();
}

// The extra scene's button is clicked at kExtraFrom; its picture stands by kExtraTo.
constexpr int kExtraFrom = 2200, kExtraTo = 2380;

// Steps of the recorded input: every screen change is given a second to settle before the next action.
const char* const kScript = "wave mix.wav\n"
                            // Title: the gallery button.
                            "120 click 512 480\n"
                            "220 capture gallery.png\n"
                            // Entry 1 (slot 0): ev01a, then ev01c, then back to the gallery.
                            "240 click 192 145\n"
                            "330 capture viewer_a.png\n"
                            "350 click 600 400\n"
                            "430 capture viewer_c.png\n"
                            "450 click 600 400\n"
                            "540 capture gallery_back.png\n"
                            "560 click 940 720\n"
                            // Title: the music room, track 2, stop, back.
                            "660 click 512 576\n"
                            "760 click 520 232\n"
                            "1000 click 500 620\n"
                            "1200 click 940 720\n"
                            // Title: the replay mode, scene 1 read to its end with Enter.
                            "1300 click 512 528\n"
                            "1400 capture replay.png\n"
                            "1420 click 192 145\n"
                            "1590 capture scene.png\n"
                            "1600 key RETURN\n"
                            "1700 key RETURN\n"
                            "1800 key RETURN\n"
                            "1900 key RETURN\n"
                            "2050 capture replay_back.png\n"
                            "2070 click 940 720\n"
                            "2180 capture title.png\n"
                            // Title: the extra scene, then close and Yes.
                            "2200 click 512 672\n"
                            "2380 capture extra.png\n"
                            "2400 close\n"
                            "2440 click 436 304\n";

} // namespace

TEST(GameExtrasRun, GalleryViewerMusicRoomAndReplayFromTheTitle)
{
    GameRun run("extras");
    ASSERT_TRUE(run.Generate());
    std::filesystem::create_directories(run.SaveDir());
    {
        GxUserDataPerman perman(nullptr);
        perman.m_ShowedCGFlags[L"ev01a"] = 1;
        perman.m_ShowedCGFlags[L"ev01c"] = 1;
        perman.m_PassedReplayLabels.insert(L"REPLAY_01");
        perman.m_ExtraOption.Set(10, true); // the title's extra button
        ASSERT_TRUE(perman.Save(GxString::FromUtf8(run.SaveDir() + "/permanent.dat"), true));
    }
    // The extra scene's fade-in, a capture every 10 steps after its button.
    std::string script = kScript;
    for (int step = kExtraFrom; step < kExtraTo; step += 10)
        script += std::to_string(step) + " capture extra_" + std::to_string(step) + ".png\n";
    const GameRun::Result result = run.Run(script, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    // Gallery page 1: entry 1 (slot 0) has shown pictures, entry 2 (slot 1) none.
    for (const char* name : {"gallery.png", "gallery_back.png"})
    {
        PfImage page;
        ASSERT_TRUE(GameRun::LoadPicture(run.Path(name), page)) << name;
        EXPECT_TRUE(Probe(page, 192, 145, kEventRed)) << name;
        EXPECT_TRUE(Probe(page, 356, 145, kPlate)) << name;
    }
    // The viewer steps over the unshown ev01b.
    const struct
    {
        const char* capture;
        uint32_t colour;
    } views[] = {{"viewer_a.png", kEventRed}, {"viewer_c.png", kEventYellow}};
    for (const auto& view : views)
    {
        PfImage picture;
        ASSERT_TRUE(GameRun::LoadPicture(run.Path(view.capture), picture)) << view.capture;
        EXPECT_TRUE(Probe(picture, 100, 100, view.colour)) << view.capture;
    }
    // The replay screen before and after the scene: page 1 holds the passed scene's thumbnail alone (the
    // scene not passed is page 2's).
    for (const char* name : {"replay.png", "replay_back.png"})
    {
        PfImage page;
        ASSERT_TRUE(GameRun::LoadPicture(run.Path(name), page)) << name;
        EXPECT_TRUE(Probe(page, 192, 145, kForestGround)) << name;
        EXPECT_TRUE(Probe(page, 356, 145, kReplayBackground)) << name;
    }
    // Between the two the scene ran on the adventure screen; at the end the title came back.
    for (const char* name : {"scene.png", "title.png"})
    {
        PfImage other;
        ASSERT_TRUE(GameRun::LoadPicture(run.Path(name), other)) << name;
        EXPECT_FALSE(Probe(other, 192, 145, kForestGround)) << name;
    }
    // The extra button started the extra label's scene: the forest's sky.
    PfImage extra;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("extra.png"), extra));
    EXPECT_TRUE(Probe(extra, 100, 100, kForestSky));
    // After the title had gone to black, the scene came out of black over its second of fade-in: the sky's
    // blue stood between black and its own in several frames, not at once.
    bool black = false;
    int between = 0;
    for (int step = kExtraFrom; step < kExtraTo; step += 10)
    {
        const uint32_t blue = run.CapturePixel("extra_" + std::to_string(step) + ".png", 100, 100) & 0xFF;
        if (blue < 8)
            black = true;
        else if (black && blue > 0x18 && blue < (kForestSky & 0xFF) - 0x18)
            ++between;
    }
    EXPECT_TRUE(black);
    EXPECT_GE(between, 3);
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("gallery.png"), "adventure", "extras_gallery.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("viewer_a.png"), "adventure", "extras_viewer.png"));

    // Track 2 sounds from its fade-in until the stop (steps 760..1000), and not after the stop's fade.
    GameRun::Wave wave;
    ASSERT_TRUE(GameRun::LoadWave(run.Path("mix.wav"), wave));
    const double playing = GameRun::ToneLevel(wave, GameRun::StepSeconds(820), 2.5, kTrackTwoHz);
    const double stopped = GameRun::ToneLevel(wave, GameRun::StepSeconds(1090), 1.5, kTrackTwoHz);
    EXPECT_GT(playing, 0.05);
    EXPECT_LT(stopped, 0.01);
}
