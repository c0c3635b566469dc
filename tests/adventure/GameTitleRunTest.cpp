// The real program on the sample game, headless with recorded input: the title comes up, and the window's close button
// asks, then Yes ends the run cleanly.
#include "support/GameRun.h"

#include "platform/PfImage.h"

TEST(GameTitleRun, TitleShowsWithItsMusicAndCloseEndsTheRun)
{
    GameRun run("title");
    ASSERT_TRUE(run.Generate());
    const GameRun::Result result = run.Run("wave mix.wav\n"
                                           "90 capture title.png\n"
                                           // The close button asks first; Yes ends the run.
                                           "120 close\n"
                                           "150 capture ask.png\n"
                                           "160 click 436 304\n",
                                           {}, 120);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    PfImage title;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("title.png"), title));
    EXPECT_EQ(title.GetWidth(), 1024u);
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("title.png"), "adventure", "title.png"));

    // The title music ("bgm01" in the configuration, a 220 Hz tone) after its 500 ms fade-in, and not
    // the music room's 660 Hz track; the close dialog's sound only comes at step 120.
    GameRun::Wave wave;
    ASSERT_TRUE(GameRun::LoadWave(run.Path("mix.wav"), wave));
    EXPECT_GT(GameRun::ToneLevel(wave, GameRun::StepSeconds(40), 1.0, 220.0), 0.02);
    EXPECT_LT(GameRun::ToneLevel(wave, GameRun::StepSeconds(40), 1.0, 660.0), 0.005);
}
