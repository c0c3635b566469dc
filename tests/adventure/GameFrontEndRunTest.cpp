// The real program on the sample game through the front end, headless with recorded input: the story
// saved to slot 3 from the message window, the title reached through the configuration screen, slot 3
// loaded back to the same message, the shutdown dialog opened and closed by Esc and its Yes ending the
// run; the files written read back with the game's own readers. A second run over damaged slot and quick
// save files: both refused with a log line and the dialog, the game going on untouched.
#include "support/GameRun.h"

#include "../appdata/DBTestSupport.h"
#include "../task/TaskTestSupport.h"

#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxString.h"
#include "platform/PfImage.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorUserData.h"
#include "support/KvScopedWorkingDir.h"
#include "task/GxTaskFolder.h"

#include <filesystem>

namespace
{

// Screen points of the sample layout (1024 x 768).
const char* const kTitleStart = "512 384";
const char* const kTitleLoad = "512 432";
const char* const kWindowSave = "214 732"; // message window buttons from x 182, 68 apart, at y 720
const char* const kWindowQSave = "350 732";
const char* const kWindowQLoad = "418 732";
const char* const kWindowConfig = "826 732";
const char* const kPlateSlot3 = "270 462"; // plate 2: column 0, row 2
const char* const kSlotBack = "940 720";
const char* const kConfigTitle = "96 712";
const char* const kDialogYes = "436 304"; // every dialog's Yes
const char* const kDialogLoneOK = "512 304";

// The message text band of the window: the same text at the same places gives the same blue channel,
// which the text colour and the read-text colour share (white and 0xAAEEFF).
::testing::AssertionResult SameMessage(const PfImage& a, const PfImage& b)
{
    int lit = 0, differ = 0;
    for (uint32_t y = 600; y < 634; ++y)
        for (uint32_t x = 90; x < 700; ++x)
        {
            const uint32_t p = GameRun::PixelAt(a, x, y), q = GameRun::PixelAt(b, x, y);
            lit += (p & 0xFF) > 0x80 ? 1 : 0;
            differ += (p & 0xFF) != (q & 0xFF) ? 1 : 0;
        }
    if (lit < 50)
        return ::testing::AssertionFailure() << "no message text (" << lit << " lit pixels)";
    if (differ > 0)
        return ::testing::AssertionFailure() << differ << " pixels of the message band differ";
    return ::testing::AssertionSuccess();
}

// Pixels of the message band drawn wholly in the read-text colour.
int ReadTextPixels(const PfImage& image)
{
    int read = 0;
    for (uint32_t y = 600; y < 634; ++y)
        for (uint32_t x = 90; x < 700; ++x)
            read += (GameRun::PixelAt(image, x, y) & 0xFFFFFF) == 0xAAEEFF ? 1 : 0;
    return read;
}

// The dialog frame's left edge, white while a system dialog is open.
bool DialogShown(const PfImage& image)
{
    return (GameRun::PixelAt(image, 274, 250) & 0xFFFFFF) == 0xFFFFFF;
}

PfImage Capture(const GameRun& run, const char* name)
{
    PfImage image;
    EXPECT_TRUE(GameRun::LoadPicture(run.Path(name), image)) << name;
    return image;
}

std::string Line(int step, const std::string& action)
{
    return std::to_string(step) + " " + action + "\n";
}

} // namespace

TEST(GameFrontEndRun, SaveTitleLoadAndShutdownThenDamagedSavesAreRefused)
{
    GameRun run("frontend");
    ASSERT_TRUE(run.Generate());
    const std::string play =
        Line(60, std::string("click ") + kTitleStart) + Line(240, "capture msg.png") +
        Line(245, std::string("click ") + kWindowQSave) + Line(250, std::string("click ") + kWindowSave) +
        Line(340, std::string("click ") + kPlateSlot3) + Line(390, std::string("click ") + kDialogYes) +
        Line(460, std::string("click ") + kSlotBack) + Line(550, std::string("click ") + kWindowConfig) +
        Line(640, std::string("click ") + kConfigTitle) + Line(690, std::string("click ") + kDialogYes) +
        Line(780, "capture title.png") + Line(790, std::string("click ") + kTitleLoad) +
        Line(880, std::string("click ") + kPlateSlot3) + Line(930, std::string("click ") + kDialogYes) +
        Line(1030, "capture loaded.png") + Line(1040, "key ESC") + Line(1070, "capture ask.png") +
        Line(1080, "key ESC") + Line(1110, "capture asked.png") + Line(1120, "key ESC") +
        Line(1150, std::string("click ") + kDialogYes);
    GameRun::Result result = run.Run(play, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    const PfImage message = Capture(run, "msg.png");
    EXPECT_TRUE(SameMessage(message, Capture(run, "loaded.png")));
    // Shown for the first time before the save, the page comes back read.
    EXPECT_EQ(ReadTextPixels(message), 0);
    EXPECT_GT(ReadTextPixels(Capture(run, "loaded.png")), 50);
    EXPECT_FALSE(SameMessage(message, Capture(run, "title.png")));
    EXPECT_TRUE(DialogShown(Capture(run, "ask.png")));
    EXPECT_FALSE(DialogShown(Capture(run, "asked.png")));

    // The files, read back by the game's own readers.
    const std::string folder = run.SaveDir() + "/";
    auto wide = [&](const char* name) { return GxString::FromUtf8(folder + name); };
    {
        GxCore core;
        TaskTree tree;
        core.m_TaskManage = &tree.manage;
        core.m_SavePath = GxString::FromUtf8(folder);
        g_Core = &core;
        GxUserData data(&core);
        GxSaveSlotHeader header;
        EXPECT_TRUE(data.CheckFile(wide("gamedata003.gd")));
        ASSERT_TRUE(data.ReadHeader(wide("gamedata003.gd"), header));
        EXPECT_EQ(header.m_GameDataTitle, L"森の出会い");
        EXPECT_EQ(header.m_RestoreSequence, L"SeqAvgMain");
        // The strategy file fills the three unit lists of the strategy screen.
        for (const wchar_t* list : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
            new GxTaskFolder(tree.root, list);
        // The strategy file is read against the game's tables and maps, as at start-up.
        {
            const KvScopedWorkingDir inGame(run.GameDir());
            for (auto [table, file] : std::initializer_list<std::pair<GxDBBase*, const wchar_t*>>{
                     {&g_DBZorEnemy, L"data/db_zorenemy.txt"},
                     {&g_DBZorSkill, L"data/db_zorskill.txt"},
                     {&g_DBZorStruct, L"data/db_zorstruct.txt"},
                     {&g_DBZorUnit, L"data/db_zorunit.txt"},
                     {&g_DBZorTown, L"data/db_zortown.txt"},
                     {&g_DBZorCommand, L"data/db_zorcommand.txt"}})
                EXPECT_TRUE(table->Load(file)) << GxString::ToUtf8(file);
            ZorMapData::LoadAllMaps();
            ZorCore::Create(&core, &tree.manage);
            ZorCore::GetInstance()->GetUserData()->InitNewGame();
            EXPECT_TRUE(ZorCore::GetInstance()->LoadGameData(wide("zordata003.gd")));
            ZorCore::Destroy();
            ZorMapData::ResetAllMaps();
            dbtest::ResetTables(g_DBZorEnemy, g_DBZorSkill, g_DBZorStruct, g_DBZorUnit, g_DBZorTown, g_DBZorCommand);
        }
        GxUserConfig config;
        ASSERT_TRUE(config.Load(wide("userconf.dat")));
        EXPECT_EQ(config.m_LastGameDataFileNum, 3);
        GxUserDataPerman perman(&core);
        EXPECT_TRUE(perman.Load(wide("permanent.dat")));
        g_Core = nullptr;
        core.m_TaskManage = nullptr;
    }
    PfImage thumb;
    ASSERT_TRUE(GameRun::LoadPicture(folder + "thumb003.png", thumb));
    EXPECT_EQ(thumb.GetWidth(), 128u);
    EXPECT_EQ(thumb.GetHeight(), 96u);

    // Cut short: the slot's adventure file and the quick save's strategy file.
    std::filesystem::resize_file(folder + "gamedata003.gd", std::filesystem::file_size(folder + "gamedata003.gd") / 2);
    std::filesystem::resize_file(folder + "zordata_quick.gd",
                                 std::filesystem::file_size(folder + "zordata_quick.gd") / 2);
    const std::string damaged =
        Line(60, std::string("click ") + kTitleLoad) + Line(140, std::string("click ") + kPlateSlot3) +
        Line(180, std::string("click ") + kDialogYes) + Line(230, "capture refused.png") +
        Line(240, std::string("click ") + kDialogLoneOK) + Line(280, "capture stayed.png") +
        Line(290, std::string("click ") + kSlotBack) + Line(370, std::string("click ") + kTitleStart) +
        Line(550, "capture msg2.png") + Line(560, std::string("click ") + kWindowQLoad) +
        Line(700, "capture qrefused.png") + Line(710, std::string("click ") + kDialogLoneOK) +
        Line(800, "capture qback.png") + Line(810, "key ESC") + Line(840, std::string("click ") + kDialogYes);
    result = run.Run(damaged, {}, 240);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    const std::string log = run.ReadSaveText("error.log");
    EXPECT_NE(log.find("ロードを中止しました(" + folder + "gamedata003.gd)"), std::string::npos) << log;
    EXPECT_NE(log.find("ロードを中止しました(" + folder + "zordata_quick.gd)"), std::string::npos) << log;
    EXPECT_TRUE(DialogShown(Capture(run, "refused.png")));
    EXPECT_FALSE(DialogShown(Capture(run, "stayed.png")));
    EXPECT_TRUE(DialogShown(Capture(run, "qrefused.png")));
    // Back on the story, untouched by the refused quick load.
    EXPECT_TRUE(SameMessage(Capture(run, "msg2.png"), Capture(run, "qback.png")));
}
