// The sample game's strategy half reached the way a new player reaches it, by clicks alone and without a
// flag file: from the title through the story, No to "城を出ますか？", the castle's defence chosen, the
// lord's lines read; on the defence screen the goblins dragged into the throne room, an ossuary built in
// the dug room beside it, double speed, and the stage won; the campaign's lines, the invasion command,
// the village on the map, a card dragged into the formation, war, the village taken (its label, the
// invasion's victory banner, the story's line for a won village read, not the one for a lost village),
// and the story's last lines and the title again.
//
// Places come from the sample's layout rows (tools/samplegen) and the camera's entry view: text advanced
// by clicks on the message window (512, 540, over the defence screen's battle-log bar, where a click does
// nothing, and beside a standing choice, which it does not take), at (512, 255) before the first choice
// and after the invasion at (512, 200), where the title has no button; the choices' first item at
// (512, 255); the dialog's No at (588, 304). Defence screen: card 0 of the unit list at (292, 639); the
// throne room's four side cells at (440, 342), (584, 428), (584, 342), (440, 428); the dug room west of
// the throne at (224, 213); the room window's build (884, 148) and OK (974, 148); the facility list's
// fourth row, the ossuary, at (340, 98). Command screen: the invasion row (700, 163) and run (720, 448);
// the village's button on the map (220, 480); the invasion bar's first card (120, 681), formation 0's
// first slot (100, 190), automatic formation (848, 531) and war (848, 738).
#include "support/GameRun.h"

#include "appdata/GxUserDataPerman.h"
#include "core/GxString.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// The defence screen's victory banner and the command screen's background (tools/samplegen).
constexpr uint32_t kVictoryBanner = 0xFFE0C020u;
constexpr uint32_t kCommandBackground = 0xFF302018u;

std::string Clicks(int from, int to, int x, int y)
{
    std::string out;
    for (int step = from; step < to; step += 30)
        out += std::to_string(step) + " click " + std::to_string(x) + " " + std::to_string(y) + "\n";
    return out;
}

std::string Step(int step, const std::string& action)
{
    return std::to_string(step) + " " + action + "\n";
}

// The defence screen is paused on entry; the actions start at step d.
std::string DefenceActions(int d)
{
    std::string out = Step(d - 10, "capture story_defence0.png");
    const int cells[4][2] = {{440, 342}, {584, 428}, {584, 342}, {440, 428}};
    for (int i = 0; i < 4; ++i)
    {
        const std::string cell = std::to_string(cells[i][0]) + " " + std::to_string(cells[i][1]);
        out += Step(d + 30 * i, "press 292 639") + Step(d + 30 * i + 10, "move " + cell) +
               Step(d + 30 * i + 20, "release " + cell);
    }
    return out + Step(d + 125, "move 600 200") + Step(d + 130, "capture story_placed.png") +
           Step(d + 140, "click 224 213") + Step(d + 170, "click 884 148") + Step(d + 200, "click 340 98") +
           Step(d + 230, "click 974 148") + Step(d + 250, "key C");
}

std::string VictoryCaptures(const std::string& prefix, int from, int to)
{
    std::string out;
    for (int step = from; step < to; step += 40)
        out += Step(step + 5, "capture " + prefix + std::to_string(step) + ".png");
    return out;
}

// The first frame of prefix<step>.png, from .. to, that shows the victory banner; "" when none does.
std::string BannerFrame(const GameRun& run, const std::string& prefix, int from, int to)
{
    for (int step = from; step < to; step += 40)
        if (run.CapturePixel(prefix + std::to_string(step) + ".png", 512, 384) == kVictoryBanner)
            return prefix + std::to_string(step) + ".png";
    return {};
}

// The count lines of the log after its first line that starts with head (fewer when the log ends).
std::vector<std::string> LinesAfter(const std::string& log, const std::string& head, size_t count)
{
    std::vector<std::string> lines;
    const size_t at = log.find("\n" + head);
    std::istringstream in(at == std::string::npos ? std::string() : log.substr(at + 1));
    std::string line;
    std::getline(in, line);
    while (lines.size() < count && std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// The line number of the first text line after a label in a script of the game (0 when none); the picture
// names of a "stand" block are no text.
int FirstLineAfter(const std::string& script, const std::string& label)
{
    std::ifstream in(script);
    std::string line;
    bool inLabel = false, inStand = false;
    for (int n = 1; std::getline(in, line); ++n)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "*" + label)
            inLabel = true;
        else if (line.rfind("@stand(", 0) == 0 || line == "@endstand")
            inStand = line != "@endstand";
        else if (inLabel && !inStand && !line.empty() && line[0] != '@' && line[0] != '*' && line.rfind("//", 0) != 0)
            return n;
    }
    return 0;
}

std::string CampaignActions(int c)
{
    return Step(c, "capture story_command.png") + Step(c + 10, "click 700 212") + Step(c + 40, "click 720 448") +
           Step(c + 140, "click 220 480") + Step(c + 500, "move 120 681") + Step(c + 505, "press 120 681") +
           Step(c + 520, "move 300 650") + Step(c + 550, "move 100 190") + Step(c + 560, "release 100 190") +
           Step(c + 580, "click 848 531") + Step(c + 600, "click 848 738");
}

} // namespace

TEST(GameStoryToStrategyRun, TheStoryLeadsThroughTheDefenceAndTheFirstInvasionBackToTheTitle)
{
    GameRun run("story-war");
    ASSERT_TRUE(run.Generate());
    // Debug mode only makes the story's strategy labels write their log lines; no developer key is used.
    ASSERT_TRUE(run.SetGameSetting("setting.ini", "DebugModeFlag", "1"));
    // A scripted run is the same on every machine and every run, so the steps below are where things come,
    // each click stream reaching about 100 steps or more either side of what it is for: the story's second
    // choice goes at about step 1290 (a click on the dialog's No there would take its second item), the
    // question "城を出ますか？" comes at about 1490, the castle's choice at about 1790, the defence screen
    // at about 2400, the victory banner about 1310 steps after the actions start, the command screen about
    // 150 steps after its lines are first clicked, the invasion's banner 640 to 1500 steps after the command
    // and the title about 2150 steps after it.
    constexpr int kDialogFrom = 1400; // No to the question, and the castle's lines read
    constexpr int kChoiceFrom = 1680; // lines read by the message window, which does not take a choice
    constexpr int kChoice = 2000;     // the choice stands; its first item clicked
    constexpr int kDefence = 2700;    // the defence screen stands paused after its opening
    constexpr int kVictoryFrom = kDefence + 1000, kVictoryTo = kDefence + 1800; // frames kept around the banner
    constexpr int kCommand = kDefence + 2250;                                 // the command screen
    constexpr int kInvasionFrom = kCommand + 640, kInvasionTo = kCommand + 1500;  // the invasion's banner
    constexpr int kEnd = kCommand + 2650;                                         // the title again
    const std::string script =
        Step(90, "capture story_title.png") + Step(120, "click 512 384") + Clicks(180, kDialogFrom, 512, 255) +
        Clicks(kDialogFrom, kChoiceFrom, 588, 304) + Clicks(kChoiceFrom, kChoice, 512, 540) +
        Step(kChoice - 10, "capture story_choice.png") + Clicks(kChoice, kChoice + 120, 512, 255) +
        Clicks(kChoice + 120, kDefence - 50, 512, 540) + Step(kChoice + 140, "capture story_lesson.png") +
        DefenceActions(kDefence) + VictoryCaptures("story_end", kVictoryFrom, kVictoryTo) +
        Clicks(kDefence + 1900, kCommand - 50, 512, 540) + CampaignActions(kCommand) +
        VictoryCaptures("story_inv", kInvasionFrom, kInvasionTo) + Clicks(kCommand + 1100, kEnd - 100, 512, 200) + Step(kEnd, "capture story_title_end.png") +
        Step(kEnd + 10, "key ESCAPE") + Step(kEnd + 50, "click 436 304");
    const GameRun::Result result = run.Run(script, {}, 840);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    // The stage was won by play (no winning key), then the campaign's first invasion ran to its town label.
    const std::string log = run.ReadSaveText("debug.log");
    const size_t won = log.find("ZOR_DEF_VICTORY:");
    const size_t campaign = log.find("ZOR_CAMPAIGN:");
    const size_t invasion = log.find("ZOR_village_START:");
    ASSERT_NE(won, std::string::npos) << log;
    EXPECT_EQ(log.find("ZOR_DEF_DEFEATED:"), std::string::npos) << log;
    ASSERT_NE(campaign, std::string::npos) << log;
    ASSERT_NE(invasion, std::string::npos) << log;
    EXPECT_LT(won, campaign);
    EXPECT_LT(campaign, invasion);
    // The campaign goes on with the bone, magic and gold the defence ended with.
    EXPECT_EQ(LinesAfter(log, "ZOR_CAMPAIGN:", 3), LinesAfter(log, "ZOR_DEF_VICTORY:", 3));
    // The village was taken: its victory label, the invasion's banner, and the story's line after it read.
    const size_t taken = log.find("ZOR_village_VICTORY:");
    EXPECT_NE(taken, std::string::npos) << log;
    EXPECT_LT(invasion, taken);
    EXPECT_EQ(log.find("ZOR_village_DEFEATED:"), std::string::npos) << log;
    EXPECT_NE(BannerFrame(run, "story_inv", kInvasionFrom, kInvasionTo), "") << "no frame shows the invasion won";

    const std::string victory = BannerFrame(run, "story_end", kVictoryFrom, kVictoryTo);
    ASSERT_FALSE(victory.empty()) << "no frame shows the victory banner";
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path(victory), "adventure", "story_victory.png"));
    EXPECT_EQ(run.CapturePixel("story_command.png", 300, 300), kCommandBackground);
    // The choice was the player's: the castle's defence, the first item.
    GxUserDataPerman perman(nullptr);
    ASSERT_TRUE(perman.Load(GxString::FromUtf8(run.SaveDir() + "/permanent.dat")));
    EXPECT_TRUE(perman.IsSelectedMenu(L"defend_castle", 1));
    EXPECT_FALSE(perman.IsSelectedMenu(L"defend_castle", 2));
    const int wonLine = FirstLineAfter(run.GameDir() + "/scripts/war.txt", "CAMPAIGN_FIRST_WON");
    const int lostLine = FirstLineAfter(run.GameDir() + "/scripts/war.txt", "CAMPAIGN_FIRST_LOST");
    ASSERT_TRUE(wonLine > 0 && lostLine > 0);
    EXPECT_TRUE(perman.IsReadedMessage(L"war", wonLine)) << "the line after the village was taken";
    EXPECT_FALSE(perman.IsReadedMessage(L"war", lostLine));

    for (const char* name : {"story_choice.png", "story_lesson.png", "story_placed.png", "story_command.png"})
        EXPECT_TRUE(GameRun::MatchesGolden(run.Path(name), "adventure", name));
    // The story ended on the title it started from, the extras opened by this ending as by the other.
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("story_title_end.png"), "adventure", "play_title_end.png"));
}
