// The real program on the sample game, headless with recorded input: the title comes up, and the window's close button asks, then Yes ends the run cleanly.
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
}
