// The story's movie in the real program, reached from the title by clicks alone and with no save made
// on the way: "はじめから", the first item of both choices (城へ向かう, 話し合う), and the lord's line before
// "movies/op.mpg", whose four colours must each reach the screen over the event picture behind it.
#include "support/GameRun.h"

#include <cstdlib>
#include <string>

namespace
{

// The movie's colours in order (tools/samplegen/SampleMovie.cpp), half a second each.
constexpr uint32_t kMovieColours[] = {0xFFC02020u, 0xFF20C020u, 0xFF2020C0u, 0xFFC0C020u};

bool Near(uint32_t pixel, uint32_t expected)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) > 24)
            return false;
    return true;
}

} // namespace

TEST(GameMovieRun, TheStorysMovieIsSeenWithoutASave)
{
    GameRun run("movie");
    ASSERT_TRUE(run.Generate());
    // A click every 30 steps reads the story to the lord's line, which stands whole by step 1500; the
    // click after it starts the movie, and no other click cuts it short. The question after the movie
    // stands at about step 1630.
    constexpr int kMovieFrom = 1510, kMovieTo = 1630;
    std::string script = "120 click 512 384\n";
    for (int step = 180; step <= 1380; step += 30)
        script += std::to_string(step) + " click 512 255\n";
    script += std::to_string(kMovieFrom) + " click 512 255\n";
    for (int step = kMovieFrom; step < kMovieTo; step += 10)
        script += std::to_string(step + 5) + " capture movie_" + std::to_string(step) + ".png\n";
    script += "1700 close\n1740 click 436 304\n";
    const GameRun::Result result = run.Run(script, {}, 360);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    // Each colour is seen, in the movie's order (the first, red, looks much like the event picture).
    int last = kMovieFrom - 10;
    for (const uint32_t colour : kMovieColours)
    {
        int seen = kMovieTo;
        for (int step = kMovieFrom; step < kMovieTo && seen == kMovieTo; step += 10)
            if (Near(run.CapturePixel("movie_" + std::to_string(step) + ".png", 512, 300), colour))
                seen = step;
        EXPECT_LT(seen, kMovieTo) << std::hex << colour << " never seen";
        if (seen < kMovieTo)
            EXPECT_GT(seen, last) << std::hex << colour << " out of order";
        last = seen;
    }
}
