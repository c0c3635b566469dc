// The real program on the sample game, headless with recorded input, through the defence stage: a flag
// file takes the story from the title straight into the stage loader and the defence screen;
// the speed keys, the camera by screen edge, wheel and minimap, two invader parties walking in, a save
// and a load through the screen's buttons, a second save at once that repeats the first, and a debug
// win that ends at the story's victory label. A truncated stage file is refused.
#include "support/GameRun.h"

#include "ZorSaveReader.h"

#include "../../tools/samplegen/SampleZorDefence.h"
#include "platform/PfImage.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskBase.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>
#include <vector>

namespace
{

// Colours of the sample game the checks name: the opening and victory banners of "zoreffect.gnc".
constexpr uint32_t kOpeningBanner = 0xFF2060C0u;
constexpr uint32_t kVictoryBanner = 0xFFE0C020u;
constexpr uint32_t kThrone = SampleRoomColour(17);
// The invaders' sprite (the sample's red figure) as drawn on the map, red, green and blue only: the
// capture's alpha there is what the sprite's blending left.
constexpr uint32_t kUnitSprite = kSampleInvaderUnitColour;
// The fill of the small hit-point bars over hurt units ("hbar_unithp_small_on"); the master's large bar
// of the same colour stands left of x = 160.
constexpr uint32_t kUnitBar = 0x40FF60u;
constexpr uint32_t kRightOfMasterBar = 160;

// The sample's strategy voices and one-shots.
constexpr double kStrategyVoiceHz = 990.0;
constexpr double kStrategyOneShotHz = 1320.0;

// The screen looks at the throne room when it is entered: its floor lies at the middle of the map area.
constexpr uint32_t kMidX = 512, kMidY = 384;

// Places on the screen: the title's Start and Load buttons, the bottom bar's save and load buttons, the
// first and second save plates, the confirmation's Yes, the save screen's Back, a point of the minimap
// off its frame, card 0's pick-up button and a slot beside the throne (the pointer then leaves the rooms,
// whose hovered one would be highlighted). At double speed the first two parties arrive by step 910 and
// walk up to the throne room, where the goblin placed at step 338 meets them; "play" shows the fight. The game is paused (Z) before the save and stays so after the load, when
// it is saved again into slot 2.
const char* const kScript = "wave mix.wav\n"
                            "90 click 512 384\n"
                            "200 capture opening.png\n"
                            "330 capture play0.png\n"
                            "332 press 292 639\n"
                            "336 move 440 342\n"
                            "338 release 440 342\n"
                            "339 move 600 200\n"
                            "340 key X\n"
                            "350 key C\n"
                            "360 wheel -1\n"
                            "420 capture wheel.png\n"
                            "430 move 1020 384\n"
                            "450 move 512 300\n"
                            "460 capture edge.png\n"
                            "470 click 150 700\n"
                            "540 capture minimap.png\n"
                            "550 key T\n"
                            "1180 capture play.png\n"
                            "1190 key Z\n"
                            "1200 click 348 747\n"
                            "1290 click 270 200\n"
                            "1340 click 436 304\n"
                            "1390 click 940 720\n"
                            "1490 click 448 747\n"
                            "1580 click 270 200\n"
                            "1630 click 436 304\n"
                            "1700 capture restored1.png\n"
                            "1740 capture restored2.png\n"
                            "1880 capture loaded.png\n"
                            "1890 click 348 747\n"
                            "1980 click 270 331\n"
                            "2030 click 436 304\n"
                            "2080 click 940 720\n"
                            "2180 key X\n"
                            "2190 key 1\n"
                            "2270 capture victory.png\n"
                            "2500 click 512 384\n"
                            "2700 close\n"
                            "2730 click 436 304\n";

// The strongest the tone of hz is, over 0.2 s windows starting every 6 steps from step `from` to `to`.
double PeakTone(const GameRun::Wave& wave, uint64_t from, uint64_t to, double hz)
{
    double peak = 0;
    for (uint64_t step = from; step <= to; step += 6)
        peak = std::max(peak, GameRun::ToneLevel(wave, GameRun::StepSeconds(step), 0.2, hz));
    return peak;
}

// How many pixels of one row of the capture show the colour.
int CountInRow(const GameRun& run, const std::string& name, uint32_t y, uint32_t colour)
{
    PfImage image;
    int n = 0;
    if (GameRun::LoadPicture(run.Path(name), image))
        for (uint32_t x = 0; x < image.GetWidth(); ++x)
            n += GameRun::PixelAt(image, x, y) == colour ? 1 : 0;
    return n;
}

// How many pixels of the map area (above the bottom bars, right of x = left) show the colour (0xRRGGBB).
int CountInMap(const GameRun& run, const std::string& name, uint32_t colour, uint32_t left = 0)
{
    PfImage image;
    int n = 0;
    if (GameRun::LoadPicture(run.Path(name), image))
        for (uint32_t y = 60; y < 508; ++y)
            for (uint32_t x = left; x < image.GetWidth(); ++x)
                n += (GameRun::PixelAt(image, x, y) & 0xFFFFFFu) == colour ? 1 : 0;
    return n;
}

// The map area (above the bottom bars) of two captures differs.
bool MapDiffers(const GameRun& run, const std::string& a, const std::string& b)
{
    PfImage ia, ib;
    if (!GameRun::LoadPicture(run.Path(a), ia) || !GameRun::LoadPicture(run.Path(b), ib))
        return false;
    for (uint32_t y = 60; y < 500; y += 4)
        for (uint32_t x = 0; x < 1024; x += 4)
            if (GameRun::PixelAt(ia, x, y) != GameRun::PixelAt(ib, x, y))
                return true;
    return false;
}

// What a stage file holds that a save made again at once must repeat: resources, the master's hit
// points, the stage clock and enemies left, and every unit of the three lists (task ID, kind, hit
// points, place). Read with the game's own tables by a core of this process; loaded false when refused.
struct SavedStage
{
    bool loaded = false;
    std::vector<int32_t> values;
    std::vector<std::vector<std::tuple<uint64_t, int32_t, int32_t, int32_t, int32_t>>> units;
    int32_t leaders = 0;      // invaders leading a party
    int32_t inThroneRoom = 0; // invaders standing in the throne room
};

SavedStage ReadStage(const GameRun& run, const std::string& file)
{
    SavedStage out;
    ZorSaveReader reader(run);
    out.loaded = reader.Load(file);
    const ZorUserData& s = reader.Data();
    out.values = {
        s.m_Resource_Bone, s.m_Resource_Magic,  s.m_Resource_Gold, s.m_Resource_AstarosHP,
        s.m_TimerCount,    s.m_RemainEnemyLeft, s.m_GamePhase,     static_cast<int32_t>(s.m_NextEnemies.size())};
    for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
    {
        out.units.emplace_back();
        for (GxTaskBase* t = reader.First(name); t; t = t->GetNextSibling())
            if (auto* u = dynamic_cast<ZorTaskUnitEntity*>(t))
            {
                out.units.back().emplace_back(u->GetTaskID(), u->m_UnitID, u->m_HP, u->m_DetailPosX, u->m_DetailPosY);
                if (name == ZorCore::kUnitEnemyList)
                {
                    out.leaders += u->m_EnemyLeaderFlag;
                    out.inThroneRoom += u->m_RoughPosX == s.m_ThroneRoomPosX && u->m_RoughPosY == s.m_ThroneRoomPosY;
                }
            }
    }
    return out;
}

void Truncate(const std::string& path)
{
    const auto size = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, size / 2);
}

} // namespace

TEST(GameDefenceRun, FromTheTitleThroughPlaySaveLoadAndVictory)
{
    GameRun run("defence");
    ASSERT_TRUE(run.Generate());
    // The flag file takes the story straight to the stage; the developer switch allows the winning key.
    std::ofstream(run.GameDir() + "/zor_defence.flag") << "1\n";
    ASSERT_TRUE(run.SetGameSetting("setting.ini", "DebugModeFlag", "1"));
    // Only a hang is judged by the clock: the run takes about 3 minutes with every core busy, the software
    // rasteriser drawing on one of them.
    const GameRun::Result result = run.Run(kScript, {}, 480);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    // The opening banner holds the stage; then the throne sits where the camera looks.
    EXPECT_EQ(run.CapturePixel("opening.png", kMidX, kMidY), kOpeningBanner);
    EXPECT_EQ(run.CapturePixel("play0.png", kMidX, kMidY), kThrone);
    // A wheel turn towards the player zooms out: the throne spans fewer pixels of its row.
    const int wide = CountInRow(run, "play0.png", kMidY, kThrone);
    const int narrow = CountInRow(run, "wheel.png", kMidY, kThrone);
    EXPECT_GT(narrow, 0);
    EXPECT_LT(narrow, wide);
    // The right edge scrolls the map away from the throne; a minimap click moves it again; T brings it
    // back.
    EXPECT_NE(run.CapturePixel("edge.png", kMidX, kMidY), kThrone);
    EXPECT_TRUE(MapDiffers(run, "edge.png", "minimap.png"));
    EXPECT_EQ(run.CapturePixel("play.png", kMidX, kMidY), kThrone);
    // No unit stands on the map at first; the invaders' sprites are there when they walk in.
    EXPECT_EQ(CountInMap(run, "play0.png", kUnitSprite), 0);
    EXPECT_GT(CountInMap(run, "play.png", kUnitSprite), 50);
    // The goblin dragged from the unit list beside the throne fights them: bars over the hurt units.
    EXPECT_EQ(CountInMap(run, "play0.png", kUnitBar, kRightOfMasterBar), 0);
    EXPECT_GT(CountInMap(run, "play.png", kUnitBar, kRightOfMasterBar), 0);

    // The save holds slot 1 with a thumbnail of the map (not one flat colour).
    const std::string save = run.SaveDir();
    EXPECT_TRUE(std::filesystem::exists(save + "/gamedata001.gd"));
    EXPECT_TRUE(std::filesystem::exists(save + "/zordata001.gd"));
    PfImage thumb;
    ASSERT_TRUE(GameRun::LoadPicture(save + "/thumb001.png", thumb));
    std::set<uint32_t> colours;
    for (uint32_t y = 0; y < thumb.GetHeight(); ++y)
        for (uint32_t x = 0; x < thumb.GetWidth(); ++x)
            colours.insert(GameRun::PixelAt(thumb, x, y));
    EXPECT_GT(colours.size(), 8u);

    // The save holds the two parties that came in (a leader each) and invaders that walked from their
    // entrance up to the throne room.
    const SavedStage first = ReadStage(run, "zordata001.gd");
    ASSERT_TRUE(first.loaded);
    EXPECT_GE(first.leaders, 2);
    EXPECT_GE(first.units[2].size(), 4u);
    EXPECT_GT(first.inThroneRoom, 0);

    // Loading returns through the loader to the screen without the opening banner, looking at the throne.
    for (const char* name : {"restored1.png", "restored2.png"})
        EXPECT_NE(run.CapturePixel(name, kMidX, kMidY), kOpeningBanner) << name;
    EXPECT_EQ(run.CapturePixel("loaded.png", kMidX, kMidY), kThrone);
    // Saved again at once (still paused) into slot 2: the same resources, clock, enemies left, phase and
    // queue, and the same units in the same lists, under the same task IDs, hit points and places.
    const SavedStage again = ReadStage(run, "zordata002.gd");
    ASSERT_TRUE(again.loaded);
    EXPECT_EQ(again.values, first.values);
    EXPECT_EQ(again.units, first.units);

    // The strategy voices (990 Hz) and one-shots (1,320 Hz) reach the mixed sound: the master's line as
    // the stage opens, the one-shot of the parties walking in. Neither plays before the stage.
    GameRun::Wave wave;
    ASSERT_TRUE(GameRun::LoadWave(run.Path("mix.wav"), wave));
    EXPECT_LT(PeakTone(wave, 0, 60, kStrategyVoiceHz), 0.01);
    EXPECT_GT(PeakTone(wave, 90, 330, kStrategyVoiceHz), 0.05) << "the opening line";
    EXPECT_LT(PeakTone(wave, 0, 330, kStrategyOneShotHz), 0.01);
    EXPECT_GT(PeakTone(wave, 330, 1180, kStrategyOneShotHz), 0.05) << "invaders arrive";

    // Key 1 (developer switch) wins: the victory banner, then the story's victory label.
    EXPECT_EQ(run.CapturePixel("victory.png", kMidX, kMidY), kVictoryBanner);
    EXPECT_NE(run.ReadSaveText("debug.log").find("ZOR_DEF_VICTORY"), std::string::npos);

    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("opening.png"), "strategy", "zdef_opening.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("play.png"), "strategy", "zdef_play.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("victory.png"), "strategy", "zdef_victory.png"));

    // A stage file cut short is refused when slot 1 is loaded from the title, with a log line.
    GameRun second("defence-truncated");
    ASSERT_TRUE(second.Generate());
    std::filesystem::create_directories(second.SaveDir());
    for (const auto& entry : std::filesystem::directory_iterator(save))
        if (entry.path().extension() != ".log")
            std::filesystem::copy_file(entry.path(), second.SaveDir() + "/" + entry.path().filename().string());
    Truncate(second.SaveDir() + "/zordata001.gd");
    const GameRun::Result refused = second.Run("90 click 512 432\n"
                                               "180 click 270 200\n"
                                               "220 click 436 304\n"
                                               "320 capture refused.png\n"
                                               "330 close\n"
                                               "360 click 436 304\n",
                                               {}, 120);
    ASSERT_FALSE(refused.timedOut);
    EXPECT_EQ(refused.exitCode, 0);
    const std::string log = second.ReadSaveText("error.log");
    EXPECT_NE(log.find("ロードを中止しました"), std::string::npos) << log;
    EXPECT_NE(log.find("zordata001.gd"), std::string::npos);
}
