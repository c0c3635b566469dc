// The real program on the sample game, headless with recorded input, through the defence screen's
// windows: a click on the throne opens its room window, its build button the facility window (the
// throne room's facility is fixed, so every row is red), cancel and OK close them, and a right click
// opens the context menu, which a right click elsewhere closes. A second run places starting units by
// drag and drop, builds a facility, summons a unit through the menu and dismisses one, and reads the
// game back from three saves made on the way.
#include "support/GameRun.h"

#include "ZorSaveReader.h"

#include "../../tools/samplegen/SampleZorWindows.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "platform/PfImage.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"

#include <algorithm>
#include <fstream>
#include <vector>

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

// Pixels of a rectangle of the capture that pass the test (-1 when the capture is missing).
template <typename Test>
int CountPixels(const GameRun& run, const std::string& name, uint32_t x0, uint32_t y0, uint32_t w, uint32_t h,
                Test test)
{
    PfImage image;
    int n = 0;
    if (!GameRun::LoadPicture(run.Path(name), image))
        return -1;
    for (uint32_t y = y0; y < y0 + h; ++y)
        for (uint32_t x = x0; x < x0 + w; ++x)
            n += test(GameRun::PixelAt(image, x, y)) ? 1 : 0;
    return n;
}

// Red rows of a list: the red channel well above green and blue.
bool IsRed(uint32_t c)
{
    return ((c >> 16) & 0xFF) > 150 && ((c >> 8) & 0xFF) < 90 && (c & 0xFF) < 90;
}

bool IsFace(uint32_t c)
{
    return c == kSampleUnitFaceColour;
}

// The frame lines of the menu and the cards.
bool IsWhite(uint32_t c)
{
    return (c & 0xFFFFFFu) == 0xFFFFFFu;
}

// Places of the second run. The throne room's cells as the entry camera shows them: slot 0 up left of
// the centre, slot 1 down right, slot 4 the centre (past the throne's capacity of 4); the dug room west
// of the throne; card 0's pick-up and dismiss buttons; the facility list's second row (the barracks),
// the summon list's third (the goblin); the menu's first item; the bottom bar's save button, save plates
// 1-3, the confirmation's Yes (also the user dialog's), the save screen's Back. A middle-button drag
// at the end brings the unit in slot 0 under the cards' corner of the screen, at (696, 175).
const char* const kPlaceBuildSummonScript = "90 click 512 384\n"
                                            "340 press 292 639\n"
                                            "350 move 440 342\n"
                                            "355 capture dragging.png\n"
                                            "360 release 440 342\n"
                                            "380 press 292 639\n"
                                            "390 move 512 385\n"
                                            "395 capture overcapacity.png\n"
                                            "400 release 512 385\n"
                                            "410 key C\n"
                                            "540 key Z\n"
                                            "600 click 348 747\n"
                                            "690 click 270 200\n"
                                            "740 click 436 304\n"
                                            "790 click 940 720\n"
                                            "890 click 224 213\n"
                                            "930 click 884 148\n"
                                            "970 click 340 64\n"
                                            "1010 click 974 148\n"
                                            "1040 click 585 428 right\n"
                                            "1070 click 620 460\n"
                                            "1110 click 340 81\n"
                                            "1140 click 348 747\n"
                                            "1230 click 270 330\n"
                                            "1280 click 436 304\n"
                                            "1330 click 940 720\n"
                                            "1430 click 336 629\n"
                                            "1470 click 436 304\n"
                                            "1510 click 348 747\n"
                                            "1600 click 270 461\n"
                                            "1650 click 436 304\n"
                                            "1700 click 940 720\n"
                                            "1800 press 300 400 middle\n"
                                            "1805 move 400 270\n"
                                            "1810 move 500 140\n"
                                            "1815 release 500 140 middle\n"
                                            "1830 click 696 175 right\n"
                                            "1860 capture menucards.png\n"
                                            "1870 close\n"
                                            "1900 click 436 304\n";

// What the checks need of a strategy save, read with the game's own tables and a core of this process.
struct SavedDefence
{
    bool loaded = false;
    int32_t bone = 0, magic = 0, gold = 0, leadership = 0;
    ZorRoomState throne, west;
    std::vector<int64_t> ready, placed;
};

std::vector<SavedDefence> ReadSaves(ZorSaveReader& reader, std::initializer_list<const char*> files)
{
    std::vector<SavedDefence> out;
    for (const char* file : files)
    {
        SavedDefence& d = out.emplace_back();
        d.loaded = reader.Load(file);
        ZorUserData& s = reader.Data();
        d.bone = s.m_Resource_Bone;
        d.magic = s.m_Resource_Magic;
        d.gold = s.m_Resource_Gold;
        d.leadership = s.m_Resource_LeadershipUsing;
        d.throne = *s.GetRoughRoom(4, 4);
        d.west = *s.GetRoughRoom(3, 4);
        d.ready = reader.TaskIDs(ZorCore::kUnitReadyList);
        d.placed = reader.TaskIDs(ZorCore::kUnitPlayerList);
    }
    return out;
}

bool Holds(const std::vector<int64_t>& list, int64_t id)
{
    return std::find(list.begin(), list.end(), id) != list.end();
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
    EXPECT_NE(run.CapturePixel("play0.png", 664 + 40 + 104, 15 + 56), picture);
    EXPECT_EQ(run.CapturePixel("room.png", 664 + 40 + 104, 15 + 56), picture);
    EXPECT_EQ(run.CapturePixel("roomagain.png", 664 + 40 + 104, 15 + 56), picture);
    EXPECT_NE(run.CapturePixel("closed.png", 664 + 40 + 104, 15 + 56), picture);
    // The facility list: red rows (nothing can be built in the throne room), none once cancelled.
    EXPECT_GT(CountPixels(run, "struct.png", 304, 40, 330, 120, IsRed), 20);
    EXPECT_EQ(CountPixels(run, "roomagain.png", 304, 40, 330, 120, IsRed), 0);

    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("room.png"), "strategy", "zwin_room.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("struct.png"), "strategy", "zwin_struct.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("menu.png"), "strategy", "zwin_menu.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("menuclosed.png"), "strategy", "zwin_menuclosed.png"));
}

TEST(GameDefenceWindowsRun, UnitsPlacedAFacilityBuiltAUnitSummonedAndOneDismissed)
{
    GameRun run("zwin_place");
    ASSERT_TRUE(run.Generate());
    std::ofstream(run.GameDir() + "/zor_defence.flag") << "1\n";
    const GameRun::Result result = run.Run(kPlaceBuildSummonScript, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    // The dragged face follows the cursor (its corner 26 up and left of it); over the centre slot, past
    // the throne's capacity, the "no" sign covers the middle of it.
    EXPECT_GT(CountPixels(run, "dragging.png", 440 - 16, 342 - 16, 36, 36, IsFace), 200);
    EXPECT_EQ(CountPixels(run, "overcapacity.png", 512 - 16, 385 - 16, 36, 36, IsFace), 0);

    ZorSaveReader reader(run);
    const std::vector<SavedDefence> saves = ReadSaves(reader, {"zordata001.gd", "zordata002.gd", "zordata003.gd"});
    const DBZorStructData barracks = *g_DBZorStruct.GetRow(2);
    const DBZorUnitData goblin = *g_DBZorUnit.GetRow(12);
    ASSERT_EQ(saves.size(), 3u);
    const SavedDefence& placed = saves[0];
    const SavedDefence& built = saves[1];
    const SavedDefence& dismissed = saves[2];
    ASSERT_TRUE(placed.loaded && built.loaded && dismissed.loaded);

    // One unit dropped into slot 0 beside the throne; the one dropped past the capacity stayed in reserve.
    ASSERT_EQ(placed.placed.size(), 1u);
    EXPECT_EQ(placed.throne.m_UnitEntityIDs[0], placed.placed[0]);
    EXPECT_EQ(placed.throne.m_UnitEntityIDs[4], 0);
    EXPECT_EQ(placed.ready.size(), 4u);
    EXPECT_FALSE(Holds(placed.ready, placed.placed[0]));

    // The barracks built in the room west of the throne at the listed cost (the first of its kind), its
    // timer not yet run (the game stands paused); the goblin summoned into slot 1 at its own cost.
    EXPECT_EQ(placed.west.m_StructID, 1);
    EXPECT_EQ(built.west.m_StructID, 2);
    EXPECT_EQ(built.west.m_CreateTimeTotal, barracks.m_CreateTime);
    EXPECT_EQ(built.west.m_CreateTimeLeft, barracks.m_CreateTime);
    EXPECT_EQ(built.bone, placed.bone - barracks.m_CostBone - goblin.m_CostBone);
    EXPECT_EQ(built.magic, placed.magic - barracks.m_CostMagic - goblin.m_CostMagic);
    EXPECT_EQ(built.gold, placed.gold - barracks.m_CostGold - goblin.m_CostGold);
    EXPECT_EQ(built.leadership, placed.leadership + goblin.m_CostLeadership);
    EXPECT_NE(built.throne.m_UnitEntityIDs[1], 0);
    EXPECT_TRUE(Holds(built.placed, built.throne.m_UnitEntityIDs[1]));

    // The first reserve card's unit dismissed through the yes/no dialog: gone, its leadership freed.
    ASSERT_FALSE(built.ready.empty());
    EXPECT_FALSE(Holds(dismissed.ready, built.ready[0]));
    EXPECT_EQ(dismissed.ready.size(), built.ready.size() - 1);
    EXPECT_EQ(dismissed.leadership, built.leadership - goblin.m_CostLeadership);

    // The menu opened on the placed unit at the top right moves aside to x 612, beside its card at 740
    // (their frames' left lines).
    EXPECT_GT(CountPixels(run, "menucards.png", 612, 190, 1, 130, IsWhite), 60);
    EXPECT_GT(CountPixels(run, "menucards.png", 740, 10, 1, 170, IsWhite), 150);
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("menucards.png"), "strategy", "zwin_menucards.png"));
}
