// The real program on the sample game's strategy campaign, headless with recorded input (the game folder
// holds "zor_campaign.flag", so the title's Start goes straight to the command screen, and debug mode is
// on, so the campaign's labels log their lines): a paid command and the invasion of the first town to the
// end of its battle, and a new round through the take-over screen.
#include "support/GameRun.h"

#include "ZorSaveReader.h"

#include "platform/PfImage.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorRoundData.h"

#include <algorithm>
#include <memory>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// The sample's command list (rows of 24 pixels from y 104, the window at x 664): heading, bone harvest
// (y 140), ritual, rest, invasion (y 212), new round (y 236); the run button below it. The village's
// button on the map; the invasion bar's first card, automatic formation and war buttons; formation 0's
// first slot.
constexpr const char* kStart = "30 click 512 384\n";

// The sample's invasion banners and sounds: the victory banner of "zoreffect.gnc", the strategy voices,
// the invasion's music ("bgm03") and the victory music ("j05").
constexpr uint32_t kVictoryBanner = 0xFFE0C020u;
constexpr double kVoiceHz = 990.0;
constexpr double kInvasionMusicHz = 196.0;
constexpr double kVictoryMusicHz = 294.0;

std::string Step(int step, const std::string& action)
{
    return std::to_string(step) + " " + action + "\n";
}

bool PrepareCampaign(GameRun& run)
{
    std::ofstream flag(run.GameDir() + "/zor_campaign.flag");
    return flag.good() && run.SetGameSetting("setting.ini", "DebugModeFlag", "1");
}

// The log's lines after the first one that starts with head (none when it is missing).
std::vector<std::string> LinesAfter(const std::string& log, const std::string& head, size_t count)
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    std::string line;
    bool found = false;
    while (std::getline(in, line) && lines.size() < count)
    {
        if (found)
            lines.push_back(line);
        else
            found = line.rfind(head, 0) == 0;
    }
    return lines;
}

// Every line that follows a line starting with head.
std::vector<std::string> AllAfter(const std::string& log, const std::string& head)
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    std::string line;
    bool take = false;
    while (std::getline(in, line))
    {
        if (take)
            lines.push_back(line);
        take = line.rfind(head, 0) == 0;
    }
    return lines;
}

// The task IDs of the units a round file keeps and of a save's ready list, read with the game's own
// tables and a core of this process.
struct SavedUnits
{
    std::vector<int64_t> round;
    std::vector<int64_t> ready;
};

SavedUnits ReadSavedUnits(const GameRun& run, const std::string& save)
{
    SavedUnits out;
    ZorSaveReader reader(run, {ZorCore::kSavedUnitList});
    ZorRoundData round;
    if (reader.LoadRound(round, "zordata_round.gd"))
        out.round = reader.TaskIDs(ZorCore::kSavedUnitList);
    if (reader.Load(save))
        out.ready = reader.TaskIDs(ZorCore::kUnitReadyList);
    return out;
}

} // namespace

TEST(GameInvasionRun, PaidCommandAndTheVillagesInvasionRunToTheTownsLabel)
{
    GameRun run("zinv_invasion");
    ASSERT_TRUE(run.Generate());
    ASSERT_TRUE(PrepareCampaign(run));
    const std::string script = "wave mix.wav\n" + std::string(kStart) + Step(200, "capture command.png") +
                               // Bone harvest (100 bone), run.
                               Step(210, "click 700 140") + Step(240, "click 720 448") +
                               // The invasion opens the map; the village starts its label and the loader.
                               Step(330, "click 700 212") + Step(350, "click 720 448") + Step(440, "capture map.png") +
                               Step(450, "click 220 480") +
                               // A card dragged: the free slots show their cursors; dropped on slot 0.
                               Step(810, "move 120 681") + Step(815, "press 120 681") + Step(830, "move 300 650") +
                               Step(850, "capture formation.png") + Step(860, "move 100 190") +
                               Step(870, "release 100 190") + Step(890, "click 848 531") + Step(910, "click 848 738") +
                               Step(914, "capture battle.png") + Step(960, "capture fight.png") +
                               Step(1100, "capture banner.png") + Step(1400, "capture back.png") + Step(1420, "close") +
                               Step(1450, "click 436 304");
    const GameRun::Result result = run.Run(script, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    const std::string log = run.ReadSaveText("debug.log");
    EXPECT_EQ(LinesAfter(log, "ZOR_CAMPAIGN:", 1), std::vector<std::string>{"500"});
    EXPECT_EQ(LinesAfter(log, "ZOR_CMD_HARVEST:", 3), (std::vector<std::string>{"400", "300", "1000"}))
        << "the harvest costs 100 bone and nothing else";
    EXPECT_NE(log.find("ZOR_village_START:"), std::string::npos) << log;
    // The village's six stand on the field, its leader in slot 5; the battle started at step 910 is
    // fought there (still running 50 steps later, no banner yet) until the leader falls and the victory
    // banner shows, with the master's victory line (990 Hz) and the victory music (294 Hz) replacing the
    // invasion's (196 Hz).
    EXPECT_NE(log.find("town 1:invenemy:5=LV"), std::string::npos) << log;
    EXPECT_NE(log.find("ZOR_village_VICTORY:"), std::string::npos) << log;
    EXPECT_NE(run.CapturePixel("fight.png", 512, 384), kVictoryBanner);
    EXPECT_EQ(run.CapturePixel("banner.png", 512, 384), kVictoryBanner);
    GameRun::Wave wave;
    ASSERT_TRUE(GameRun::LoadWave(run.Path("mix.wav"), wave));
    auto tone = [&](uint64_t step, double hz) { return GameRun::ToneLevel(wave, GameRun::StepSeconds(step), 0.2, hz); };
    EXPECT_GT(tone(912, kVoiceHz), 0.05) << "the battle-start line";
    EXPECT_LT(tone(990, kVoiceHz), 0.01);
    EXPECT_GT(tone(1080, kVoiceHz), 0.05) << "the victory line";
    EXPECT_GT(tone(990, kInvasionMusicHz), 0.05);
    EXPECT_LT(tone(990, kVictoryMusicHz), 0.01);
    EXPECT_GT(tone(1140, kVictoryMusicHz), 0.05);
    EXPECT_LT(tone(1140, kInvasionMusicHz), 0.01);

    PfImage command;
    PfImage back;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("command.png"), command));
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("back.png"), back));
    EXPECT_EQ(GameRun::PixelAt(command, 300, 300), 0xFF302018u) << "the command screen's background";
    EXPECT_EQ(GameRun::PixelAt(back, 300, 300), 0xFF302018u) << "back on the command screen after the battle";
    if (log.find("ZOR_village_VICTORY:") != std::string::npos)
    {
        EXPECT_EQ(GameRun::PixelAt(back, 232, 497), 0xFFC02020u) << "the won village's flag at its FlagPosX/FlagPosY";
    }
    PfImage formation;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("formation.png"), formation));
    EXPECT_EQ(GameRun::PixelAt(formation, 620, 470), 0xFF382028u) << "the invasion screen's background";
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("command.png"), "strategy", "zinv_command.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("formation.png"), "strategy", "zinv_formation.png"));
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("battle.png"), "strategy", "zinv_battle.png"));
}

TEST(GameInvasionRun, NewRoundKeepsTheUnitsChosenOnTheTakeOverScreen)
{
    GameRun run("zinv_takeover");
    ASSERT_TRUE(run.Generate());
    ASSERT_TRUE(PrepareCampaign(run));
    // The new-round command saves the round and ends the story after the lord's two lines (clicked
    // through, the clicks after them falling on an empty part of the title); Start again opens the
    // take-over grid; two cards chosen, then start; the new round saved into slot 1 (asked, Yes).
    std::string lines;
    for (int step = 300; step <= 500; step += 40)
        lines += Step(step, "click 512 300");
    const std::string script =
        std::string(kStart) + Step(200, "click 700 236") + Step(230, "click 720 448") +
        Step(290, "capture newround.png") + lines + Step(700, "click 512 384") + Step(900, "click 188 200") +
        Step(910, "click 476 200") + Step(920, "capture takeover.png") + Step(930, "click 928 716") +
        Step(1100, "capture back.png") + Step(1120, "click 871 723") + Step(1220, "click 270 200") +
        Step(1260, "click 436 304") + Step(1360, "click 940 720") + Step(1460, "close") + Step(1490, "click 436 304");
    const GameRun::Result result = run.Run(script, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");
    const std::string log = run.ReadSaveText("debug.log");
    const size_t saved = log.find("ZOR_CMD_NEWROUND:");
    const size_t returned = log.find("ZOR_RETURN_FROM_TAKEOVER:");
    ASSERT_NE(saved, std::string::npos) << log;
    ASSERT_NE(returned, std::string::npos) << log;
    EXPECT_LT(saved, returned);
    // The finished round opened the bonuses the screen offers, all ticked, and they are granted: half of
    // the 1000 gold carried on top of the new game's 1000, ten more weeks than the new game's 40, and a
    // leadership base of 150.
    EXPECT_EQ(LinesAfter(log, "ZOR_RETURN_FROM_TAKEOVER:", 3), (std::vector<std::string>{"1500", "50", "150"}));

    PfImage takeover;
    PfImage back;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("takeover.png"), takeover));
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("back.png"), back));
    EXPECT_EQ(GameRun::PixelAt(takeover, 500, 600), 0xFF202838u) << "the take-over screen's background";
    PfImage newRound;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("newround.png"), newRound));
    EXPECT_NE(GameRun::PixelAt(newRound, 300, 300), 0xFF302018u) << "the new round's lines follow the command screen";
    EXPECT_EQ(GameRun::PixelAt(back, 300, 300), 0xFF302018u) << "the new round starts on the command screen";
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("takeover.png"), "strategy", "zinv_takeover.png"));

    // The next save's ready list ends with the two chosen units (after the new game's own), under task IDs
    // the new round gave them: none the round file had, each above the new game's.
    const SavedUnits units = ReadSavedUnits(run, "zordata001.gd");
    EXPECT_GE(units.round.size(), 2u);
    ASSERT_GE(units.ready.size(), 2u);
    const size_t n = units.ready.size();
    const int64_t before = n > 2 ? *std::max_element(units.ready.begin(), units.ready.end() - 2) : 0;
    for (size_t i = n - 2; i < n; ++i)
    {
        EXPECT_EQ(std::count(units.round.begin(), units.round.end(), units.ready[i]), 0) << units.ready[i];
        EXPECT_GT(units.ready[i], before);
    }
}

TEST(GameInvasionRun, SaveOnTheCommandScreenLoadsBackOntoIt)
{
    GameRun run("zinv_saveload");
    ASSERT_TRUE(run.Generate());
    ASSERT_TRUE(PrepareCampaign(run));
    // Save into slot 1 (asked, Yes), back; a harvest (bone 500 -> 400); load slot 1 (asked, Yes), which
    // must land on the command screen with the bone saved; a second harvest then leaves 400 again.
    const std::string script = std::string(kStart) + Step(200, "click 871 723") + Step(300, "click 270 200") +
                               Step(340, "click 436 304") + Step(440, "click 940 720") + Step(540, "click 700 140") +
                               Step(570, "click 720 448") + Step(700, "click 971 723") + Step(800, "click 270 200") +
                               Step(840, "click 436 304") + Step(990, "capture loaded.png") +
                               Step(1000, "click 700 140") + Step(1030, "click 720 448") + Step(1150, "close") +
                               Step(1180, "click 436 304");
    const GameRun::Result result = run.Run(script, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");
    EXPECT_EQ(AllAfter(run.ReadSaveText("debug.log"), "ZOR_CMD_HARVEST:"), (std::vector<std::string>{"400", "400"}));
    PfImage loaded;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("loaded.png"), loaded));
    EXPECT_EQ(GameRun::PixelAt(loaded, 300, 300), 0xFF302018u) << "the load lands on the command screen";
}
