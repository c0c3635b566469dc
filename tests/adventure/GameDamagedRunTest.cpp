// The real program on a damaged sample game: a cut program file, a cut Ogg music file and a missing
// background picture. The cut files are logged, the missing picture shows as the error picture labelled
// with its name; the run goes on to Esc and Yes and exits cleanly (a sanitizer finding would end it with
// a non-zero code and its report in the program's output).
#include "support/GameRun.h"

#include "platform/PfImage.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{

// Keeps the first `keep` parts in 1000 of the file.
bool Cut(const std::string& path, size_t keep)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && !in)
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() * keep / 1000));
    return static_cast<bool>(out);
}

std::string Output(const GameRun& run)
{
    std::ifstream in(run.Path("stdout.log"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectCleanEnd(const GameRun& run, const GameRun::Result& result)
{
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    const std::string output = Output(run);
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
}

} // namespace

TEST(GameDamagedRun, ACutProgramFileIsLoggedAndTheTitleStillEnds)
{
    GameRun run("cutprogram");
    ASSERT_TRUE(run.Generate());
    ASSERT_TRUE(Cut(run.GameDir() + "/bincode/moacode.mwb", 500));
    ASSERT_TRUE(run.SetGameSetting("setting.ini", "SkipSlightError", "0"));
    // "はじめから", the notice's OK, Esc and Yes.
    const GameRun::Result result = run.Run("120 click 512 384\n"
                                           "240 click 512 304\n"
                                           "300 key ESCAPE\n"
                                           "340 click 436 304\n",
                                           {}, 120);
    ExpectCleanEnd(run, result);
    EXPECT_NE(run.ReadSaveText("error.log").find("moacode"), std::string::npos) << run.ReadSaveText("error.log");
}

// An emptied program: one line names it, and "はじめから" tells the player in a notice on the title instead
// of starting a story that has nothing to run; its OK leaves the title as it was.
TEST(GameDamagedRun, AnEmptiedProgramIsNamedOnceAndToldOnTheTitle)
{
    GameRun run("emptyprogram");
    ASSERT_TRUE(run.Generate());
    ASSERT_TRUE(Cut(run.GameDir() + "/bincode/moacode.mwb", 0));
    const GameRun::Result result = run.Run("120 click 512 384\n"
                                           "180 capture told.png\n"
                                           "190 click 512 304\n"
                                           "250 capture title.png\n"
                                           "260 key ESCAPE\n"
                                           "300 click 436 304\n",
                                           {}, 120);
    ExpectCleanEnd(run, result);
    const std::string log = run.ReadSaveText("error.log");
    const size_t first = log.find("bincode/moacode.mwb");
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find("bincode/moacode.mwb", first + 1), std::string::npos) << log;
    PfImage told;
    PfImage title;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("told.png"), told));
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("title.png"), title));
    // The notice's frame (white at its left edge), then the title without it, not the story's black.
    EXPECT_EQ(GameRun::PixelAt(told, 274, 250) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(GameRun::PixelAt(title, 274, 250) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(GameRun::PixelAt(title, 100, 300) & 0xFFFFFF, 0u);
}

TEST(GameDamagedRun, ACutMusicFileAndAMissingPictureAreLoggedAndTheStoryGoesOn)
{
    GameRun run("cutassets");
    ASSERT_TRUE(run.Generate());
    // The story's music (from its first scene) and the forest behind its second message.
    ASSERT_TRUE(Cut(run.GameDir() + "/bgms/bgm02.ogg", 300));
    std::filesystem::remove(run.GameDir() + "/cg/bg/forest.png");
    ASSERT_TRUE(run.SetGameSetting("setting.ini", "SkipSlightError", "0"));
    const GameRun::Result result = run.Run("120 click 512 384\n"
                                           "181 click 512 640\n"
                                           "241 click 512 640\n"
                                           "301 click 512 640\n"
                                           "361 click 512 640\n"
                                           "421 click 512 640\n"
                                           "481 click 512 640\n"
                                           "540 capture message.png\n"
                                           "560 key ESCAPE\n"
                                           "600 click 436 304\n",
                                           {}, 120);
    ExpectCleanEnd(run, result);
    EXPECT_NE(run.ReadSaveText("error.log").find("bgm02"), std::string::npos) << run.ReadSaveText("error.log");
    EXPECT_NE(run.ReadSaveText("error.log").find("forest.png"), std::string::npos) << run.ReadSaveText("error.log");
    // The error picture ("cg/error.png", magenta at its top) stands where the forest would be.
    PfImage message;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("message.png"), message));
    EXPECT_EQ(GameRun::PixelAt(message, 900, 200) & 0xFFC0C0C0u, 0xFFC000C0u)
        << std::hex << GameRun::PixelAt(message, 900, 200);
}

// The player's permanent progress outlives a damaged program: a run over a program cut to half (which
// cannot be loaded) and one with the program deleted leave the permanent progress of the run before
// exactly as it was, the records of every script the program no longer names included.
TEST(GameDamagedRun, ACutOrMissingProgramKeepsThePermanentProgressOfTheRunBefore)
{
    GameRun run("keepperman");
    ASSERT_TRUE(run.Generate());
    const std::string permanent = run.SaveDir() + "/permanent.dat";
    // A first run reads the story's first messages, then quits from the title's menu.
    GameRun::Result result = run.Run("120 click 512 384\n"
                                     "181 click 512 640\n"
                                     "241 click 512 640\n"
                                     "301 click 512 640\n"
                                     "360 key ESCAPE\n"
                                     "400 click 436 304\n",
                                     {}, 120);
    ExpectCleanEnd(run, result);
    std::ifstream first(permanent, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(first)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(before.empty());
    // The records of the program's scripts ("campaign" has no message of the first scenes).
    ASSERT_NE(before.find("campaign"), std::string::npos) << "no script records to lose";

    const std::string program = run.GameDir() + "/bincode/moacode.mwb";
    for (const char* damage : {"cut", "missing"})
    {
        if (std::string(damage) == "cut")
            ASSERT_TRUE(Cut(program, 500));
        else
            ASSERT_TRUE(std::filesystem::remove(program));
        result = run.Run("120 click 512 384\n"
                         "240 click 512 304\n"
                         "300 key ESCAPE\n"
                         "340 click 436 304\n",
                         {}, 120);
        ExpectCleanEnd(run, result);
        std::ifstream after(permanent, std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), before)
            << damage;
    }
}

// A save made on the whole program, loaded after the program was cut: its position lies in a script the
// program no longer has, so the load is refused with one line, and the run goes on with a log that does
// not grow.
TEST(GameDamagedRun, ASaveInAScriptTheProgramLacksIsRefusedWithOneLine)
{
    GameRun run("lackingscript");
    ASSERT_TRUE(run.Generate());
    // The story from the title, saved to slot 3 from the message window, then Esc and Yes.
    GameRun::Result result = run.Run("60 click 512 384\n"
                                     "250 click 214 732\n"
                                     "340 click 270 462\n"
                                     "390 click 436 304\n"
                                     "460 click 940 720\n"
                                     "520 key ESCAPE\n"
                                     "560 click 436 304\n",
                                     {}, 120);
    ExpectCleanEnd(run, result);
    ASSERT_TRUE(std::filesystem::exists(run.SaveDir() + "/gamedata003.gd"));
    ASSERT_TRUE(Cut(run.GameDir() + "/bincode/moacode.mwb", 500));
    // The title's load, slot 3, Yes; the refusal's OK; a while on the title; Esc and Yes.
    result = run.Run("60 click 512 432\n"
                     "140 click 270 462\n"
                     "180 click 436 304\n"
                     "240 click 512 304\n"
                     "290 click 940 720\n"
                     "900 key ESCAPE\n"
                     "940 click 436 304\n",
                     {}, 180);
    ExpectCleanEnd(run, result);
    const std::string log = run.ReadSaveText("error.log");
    const std::string refusal = "プログラムにないため復元できません";
    const size_t first = log.find(refusal);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(refusal, first + 1), std::string::npos) << log;
    // The save itself is whole: it is not called damaged, nor its scene unrestorable; the program is named.
    EXPECT_EQ(log.find("セーブデータが壊れています"), std::string::npos) << log;
    EXPECT_EQ(log.find("セーブデータのシーンを復元できませんでした"), std::string::npos) << log;
    EXPECT_NE(log.find("ゲームのプログラム(bincode/moacode.mwb)を読み込めなかったため"), std::string::npos) << log;
    EXPECT_LT(log.size(), 2000u) << log;
}

// With the UI module table emptied or garbled the title has no buttons and the shutdown dialog cannot be
// built. The window's close button and Esc each still end the program the ordinary way: a clean exit
// that writes the options and the permanent progress, with the missing dialog logged (and the emptied
// table named).
TEST(GameDamagedRun, ADamagedUIModuleTableStillLetsThePlayerQuit)
{
    const struct
    {
        const char* damage;
        const char* script;
    } cases[] = {{"empty", "120 close\n"}, {"garbled", "120 key ESCAPE\n"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.damage);
        GameRun run(std::string("uimodule") + c.damage);
        ASSERT_TRUE(run.Generate());
        const std::string table = run.GameDir() + "/data/db_uimodule.txt";
        std::ifstream in(table, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        // Garbled: the bytes in reverse order, so no name, number or line survives as it was.
        bytes = std::string(c.damage) == "empty" ? std::string() : std::string(bytes.rbegin(), bytes.rend());
        std::ofstream(table, std::ios::binary | std::ios::trunc) << bytes;

        const GameRun::Result result = run.Run(c.script, {}, 60);
        ExpectCleanEnd(run, result);
        EXPECT_TRUE(std::filesystem::exists(run.SaveDir() + "/userconf.dat"));
        EXPECT_TRUE(std::filesystem::exists(run.SaveDir() + "/permanent.dat"));
        const std::string log = run.ReadSaveText("error.log");
        if (std::string(c.damage) == "empty")
        {
            EXPECT_NE(log.find("db_uimodule.txt"), std::string::npos) << log;
        }
        EXPECT_NE(log.find("dlg_shutdown"), std::string::npos) << log;
    }
}
