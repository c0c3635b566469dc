// The real program on the sample game, headless with recorded input, through the defence screen's
// windows: a click on the throne opens its room window, its build button the facility window (the
// throne room's facility is fixed, so every row is red), cancel and OK close them, and a right click
// opens the context menu, which a right click elsewhere closes.
#include "support/GameRun.h"

#include "../../tools/samplegen/SampleZorWindows.h"
#include "platform/PfImage.h"

#include <fstream>

namespace
{

// The room window stands at (664, 0), the facility window at (304, 0); their buttons as the sample
// rows place them: build (180, 134) and OK (270, 134) of the room window, cancel (272, 4) of the
// facility window. The camera looks at the throne at the middle of the map area on entry.
const char* const kScript = "90 click 512 384\n"
                            "330 capture play0.png\n"
                            "340 click 512 384\n"
                            "370 capture room.png\n"
                            "380 click 884 148\n"
                            "410 capture struct.png\n"
                            "420 click 616 18\n"
                            "440 capture roomagain.png\n"
                            "450 click 974 148\n"
                            "470 capture closed.png\n"
                            "480 click 512 384 right\n"
                            "510 capture menu.png\n"
                            "520 click 100 300 right\n"
                            "540 capture menuclosed.png\n"
                            "560 close\n"
                            "590 click 436 304\n";

uint32_t Pixel(const GameRun& run, const std::string& name, uint32_t x, uint32_t y)
{
    PfImage image;
    if (!GameRun::LoadPicture(run.Path(name), image))
        return 0;
    return GameRun::PixelAt(image, x, y);
}

// Pixels of a rectangle of the capture whose red channel stands well above green and blue.
int RedPixels(const GameRun& run, const std::string& name, uint32_t x0, uint32_t y0, uint32_t w, uint32_t h)
{
    PfImage image;
    int n = 0;
    if (!GameRun::LoadPicture(run.Path(name), image))
        return -1;
    for (uint32_t y = y0; y < y0 + h; ++y)
        for (uint32_t x = x0; x < x0 + w; ++x)
        {
            const uint32_t c = GameRun::PixelAt(image, x, y);
            n += ((c >> 16) & 0xFF) > 150 && ((c >> 8) & 0xFF) < 90 && (c & 0xFF) < 90 ? 1 : 0;
        }
    return n;
}

} // namespace

TEST(GameDefenceWindowsRun, RoomWindowFacilityListAndMenu)
{
    GameRun run("zwin_windows");
    ASSERT_TRUE(run.Generate());
    std::ofstream(run.GameDir() + "/zor_defence.flag") << "1\n";
    const GameRun::Result result = run.Run(kScript, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    // The room window shows the throne's picture at (40, 15) of the window; it is gone once closed.
    const uint32_t picture = kSampleFacilityPictureColour;
    EXPECT_NE(Pixel(run, "play0.png", 664 + 40 + 104, 15 + 56), picture);
    EXPECT_EQ(Pixel(run, "room.png", 664 + 40 + 104, 15 + 56), picture);
    EXPECT_EQ(Pixel(run, "roomagain.png", 664 + 40 + 104, 15 + 56), picture);
    EXPECT_NE(Pixel(run, "closed.png", 664 + 40 + 104, 15 + 56), picture);
    // The facility list: red rows (nothing can be built in the throne room), none once cancelled.
    EXPECT_GT(RedPixels(run, "struct.png", 304, 40, 330, 120), 20);
    EXPECT_EQ(RedPixels(run, "roomagain.png", 304, 40, 330, 120), 0);

    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("room.png"), "strategy", "zwin_room.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("struct.png"), "strategy", "zwin_struct.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("menu.png"), "strategy", "zwin_menu.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("menuclosed.png"), "strategy", "zwin_menuclosed.png"));
}
