// Slot numbering and plate geometry, the switch after a load, and the checked load: a save pair that
// cannot be read leaves the running game as it was.
#include "../media/SoundTestSupport.h"
#include "AvgSceneHarness.h"
#include "../task/TaskTestSupport.h"

#include "adventure/SeqLoad.h"
#include "adventure/SeqQuickLoad.h"
#include "adventure/SeqSave.h"
#include "adventure/SeqSavePair.h"
#include "adventure/SeqSaveSlots.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPair.h"
#include "core/GxCore.h"
#include "graphics/GxImage.h"
#include "platform/PfImage.h"
#include "script/GxMoaHost.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using sndtest::LogCapture;
using sndtest::ScratchFolder;

TEST(SeqSaveSlots, PlatesPagesAndPositions)
{
    // Page 3 ("b04") shows slots 25 to 32.
    for (int32_t plate = 0; plate < 8; ++plate)
        EXPECT_EQ(SeqSaveSlots::SlotOf(3, plate), 25 + plate);
    // Slot 12 is plate 3 of page 1: left column, bottom row.
    const int32_t k = 12 - 1;
    EXPECT_EQ(k / 8, 1);
    int32_t x = 0, y = 0;
    SeqSaveSlots::TipNewPos(k % 8, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(446, 544));
    SeqSaveSlots::TipNewPos(4, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(930, 151));
    SeqSaveSlots::ThumbnailPos(7, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(536, 543));

    GxSaveSlotHeader header;
    EXPECT_EQ(SeqSaveSlots::FirstLine(header, 7), L"データがありません    No.007");
    header.m_Valid = true;
    header.m_SaveTime = L"2026/12/06 21:00:00";
    EXPECT_EQ(SeqSaveSlots::FirstLine(header, 80), L"2026/12/06 21:00:00    No.080");
}

TEST(SeqSaveSlots, TheStrategyLoaderIsEnteredWithParamTwo)
{
    for (const wchar_t* name : {L"SeqZorLoader", L"SeqAvgMain"})
    {
        TaskTree t;
        new GxSeqBase(t.root, L"SeqZorLoader");
        new GxSeqBase(t.root, L"SeqAvgMain");
        ASSERT_TRUE(SeqSaveSlots::ChangeToRestoreSequence(&t.manage, name));
        t.manage.ApplyPendingSequence();
        EXPECT_EQ(t.manage.GetCurrentSequenceName(), name);
        EXPECT_EQ(t.manage.GetCurrentParam(0), std::wstring(name) == L"SeqZorLoader" ? 2u : 0u);
    }
    TaskTree t;
    LogCapture log;
    EXPECT_FALSE(SeqSaveSlots::ChangeToRestoreSequence(&t.manage, L"SeqNowhere"));
    EXPECT_TRUE(log.Has(L"SeqNowhere"));
}

namespace
{

// A core with its user data, options and strategy core over a scratch save folder.
struct SlotCore
{
    SlotCore()
    {
        core.m_TaskManage = &tree.manage;
        core.m_SavePath = folder.Wide("");
        core.m_UserData = new GxUserData(&core);
        core.m_UserConfig = new GxUserConfig();
        g_Core = &core;
        ZorCore::Create(&core, &tree.manage);
    }
    ~SlotCore()
    {
        ZorCore::Destroy();
        g_Core = nullptr;
        core.m_TaskManage = nullptr;
    }
    void Write(const char* name, const std::string& bytes)
    {
        std::ofstream(folder.Path(name), std::ios::binary) << bytes;
    }

    ScratchFolder folder{"kv_slots"};
    TaskTree tree;
    GxCore core;
    LogCapture log;
};

} // namespace

TEST(SeqSaveSlots, UnreadableSavesAreRefusedBeforeAnythingIsReset)
{
    SlotCore c;
    c.core.m_UserData->m_GameDataTitle = L"続いている物語";
    c.core.m_UserData->m_RestoreSequence = L"SeqAvgMain";
    // Missing, empty, truncated and garbage adventure files; a good-looking name for the strategy one.
    const std::string cases[] = {"", "GXBIN", std::string(40, '\xFF')};
    EXPECT_FALSE(SeqSaveSlots::LoadGame(SeqSaveSlots::GameDataPath(3), SeqSaveSlots::ZorDataPath(3)));
    for (const std::string& bytes : cases)
    {
        c.Write("gamedata003.gd", bytes);
        c.Write("zordata003.gd", bytes);
        EXPECT_FALSE(SeqSaveSlots::LoadGame(SeqSaveSlots::GameDataPath(3), SeqSaveSlots::ZorDataPath(3)));
        EXPECT_EQ(c.core.m_UserData->m_GameDataTitle, L"続いている物語");
        EXPECT_EQ(c.core.m_UserData->m_RestoreSequence, L"SeqAvgMain");
    }
    EXPECT_TRUE(c.log.Has(L"ロードを中止しました"));
}

TEST(SeqSaveSlots, AFailedSaveKeepsTheLastSlotNumber)
{
    SlotCore c;
    c.core.m_UserConfig->m_LastGameDataFileNum = 5;
    auto* save = new SeqSave(c.tree.root);
    // The adventure screen's tasks are not in this tree, so the adventure file cannot be written.
    EXPECT_FALSE(save->SaveSlot(3));
    EXPECT_EQ(c.core.m_UserConfig->m_LastGameDataFileNum, 5);
    EXPECT_FALSE(std::filesystem::exists(c.folder.Path("gamedata003.gd")));
    EXPECT_FALSE(std::filesystem::exists(c.folder.Path("zordata003.gd")));
    EXPECT_TRUE(c.log.Has(L"No.003"));
}

TEST_F(AvgScene, LoadingDropsTheCampaignUnitsTheSaveDoesNotHold)
{
    ASSERT_NO_FATAL_FAILURE(Start({"*MAIN", "@msg(\"a\")"}));
    Enter(L"MAIN");
    ZorCore* zor = ZorCore::GetInstance();
    ASSERT_TRUE(zor->AddFirstReadyUnit() && Data().Save(SeqSaveSlots::GameDataPath(1), true) &&
                zor->SaveGameData(SeqSaveSlots::ZorDataPath(1), true));
    const int32_t saved = zor->FindList(ZorCore::kUnitReadyList)->GetChildCount();
    // One more ready unit, and units of an invasion and a take-over under way: none of them saved.
    ASSERT_TRUE(zor->AddFirstReadyUnit());
    const wchar_t* lists[] = {ZorCore::kInvEnemyList, ZorCore::kInvPlayerList, ZorCore::kSavedUnitList};
    for (const wchar_t* list : lists)
        new ZorTaskUnitEntity(zor->FindList(list));
    ASSERT_TRUE(SeqSaveSlots::LoadGame(SeqSaveSlots::GameDataPath(1), SeqSaveSlots::ZorDataPath(1)));
    EXPECT_EQ(zor->FindList(ZorCore::kUnitReadyList)->GetChildCount(), saved);
    for (const wchar_t* list : lists)
        EXPECT_EQ(zor->FindList(list)->GetChildCount(), 0) << GxString::ToUtf8(list);
}

// A load that cannot put the saved scene in place (here a window the file names is gone) is refused
// before the running game is reset: the story and the strategy game go on as they were. A save pair
// cut short (a marker and new halves left by a killed save) is completed before the checks.
TEST_F(AvgScene, ALoadThatCannotRestoreLeavesTheRunningGameAndACutSaveIsCompleted)
{
    ASSERT_NO_FATAL_FAILURE(Start({"*MAIN", "@msg(\"a\")"}));
    Enter(L"MAIN");
    ZorCore* zor = ZorCore::GetInstance();
    ASSERT_TRUE(zor->AddFirstReadyUnit() && Data().Save(SeqSaveSlots::GameDataPath(1), true) &&
                zor->SaveGameData(SeqSaveSlots::ZorDataPath(1), true));
    ASSERT_TRUE(zor->AddFirstReadyUnit());
    Data().m_GameDataTitle = L"running";
    const int32_t running = zor->FindList(ZorCore::kUnitReadyList)->GetChildCount();
    GxTaskBase* window = g_Core->m_TaskManage->FindTaskByName(L"$NAMEWIN:SeqAvgMain");
    ASSERT_NE(window, nullptr);
    window->SetTaskName(L"$GONE:SeqAvgMain");
    EXPECT_FALSE(SeqSaveSlots::LoadGame(SeqSaveSlots::GameDataPath(1), SeqSaveSlots::ZorDataPath(1)));
    EXPECT_EQ(Data().m_GameDataTitle, L"running");
    EXPECT_EQ(zor->FindList(ZorCore::kUnitReadyList)->GetChildCount(), running);
    window->SetTaskName(L"$NAMEWIN:SeqAvgMain");

    // A save of slot 2 that reached its marker and no further: the load finds the new pair.
    Data().m_GameDataTitle = L"new pair";
    const std::wstring game = SeqSaveSlots::GameDataPath(2);
    const std::wstring strategy = SeqSaveSlots::ZorDataPath(2);
    ASSERT_TRUE(Data().Save(GxUserDataPair::NewPath(game), true) &&
                zor->SaveGameData(GxUserDataPair::NewPath(strategy), true));
    std::ofstream(GxString::ToUtf8(GxUserDataPair::MarkerPath(game))) << "pair";
    Data().m_GameDataTitle = L"running";
    ASSERT_TRUE(SeqSaveSlots::LoadGame(game, strategy));
    EXPECT_EQ(Data().m_GameDataTitle, L"new pair");
    EXPECT_FALSE(std::filesystem::exists(GxString::ToUtf8(GxUserDataPair::MarkerPath(game))));
}

// Over a program that could not be read (emptied, then read again as a start-up over it does) no save can
// be restored: the refusal names the program to the player and in the log, and blames no save.
TEST_F(AvgScene, ALoadOverAnUnreadableProgramNamesTheProgramNotTheSave)
{
    ASSERT_NO_FATAL_FAILURE(Start({"*MAIN", "@msg(\"a\")"}));
    Enter(L"MAIN");
    ASSERT_TRUE(Data().Save(SeqSaveSlots::GameDataPath(1), true) &&
                ZorCore::GetInstance()->SaveGameData(SeqSaveSlots::ZorDataPath(1), true));
    std::ofstream("bincode/moacode.mwb", std::ios::binary | std::ios::trunc);
    CreateMoa(g_Core);
    ASSERT_FALSE(LoadMoaCode());
    auto* load = dynamic_cast<SeqLoad*>(g_Core->m_TaskManage->FindTaskByName(L"SeqLoad"));
    ASSERT_NE(load, nullptr);
    EXPECT_FALSE(load->LoadSlot(1));
    auto* dialog = dynamic_cast<GxTaskUIBase*>(g_Core->m_TaskManage->FindTaskByName(L"dlg_user"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetText(), L"ゲームのプログラムを読めませんでした。(bincode/moacode.mwb)");
    EXPECT_TRUE(Logged(L"ゲームのプログラム(bincode/moacode.mwb)を読み込めなかったため"));
    EXPECT_FALSE(Logged(L"セーブデータのシーンを復元できませんでした"));
}

namespace
{

// The picture of a thumbnail file: the blue of its first pixel, -1 without a readable file.
int PictureOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PfImage image;
    std::string error;
    if (bytes.empty() || !GxImage::DecodeMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), image, 0, error))
        return -1;
    return image.GetData()[0];
}

} // namespace

// A slot's thumbnail is one of its files. A save killed at any moment leaves, once the slot is recovered,
// the picture of the same save as the adventure file, never the picture of the save before; a save with no
// picture to write leaves the slot without one rather than with an older one.
TEST_F(AvgScene, ASlotsThumbnailIsCommittedWithItsSave)
{
    ASSERT_NO_FATAL_FAILURE(Start({"*MAIN", "@msg(\"a\")"}));
    Enter(L"MAIN");
    auto* save = dynamic_cast<SeqSave*>(m_Core->m_TaskManage->FindTaskByName(L"SeqSave"));
    auto* load = dynamic_cast<SeqLoad*>(m_Core->m_TaskManage->FindTaskByName(L"SeqLoad"));
    ASSERT_TRUE(save && load);
    std::vector<uint8_t>& picture = g_GlobalRenderTargets.m_Thumbnail;
    ASSERT_FALSE(picture.empty());
    // The plates shown are those of another page, so no save touches the device.
    Options().m_GameDataPage = 5;
    const std::string thumb = Path("thumb003.png");
    // Save i: its title and every colour byte of its picture carry i.
    auto saveNumbered = [&](int i)
    {
        Data().m_GameDataTitle = std::to_wstring(i);
        for (size_t p = 0; p < picture.size(); p += 4)
            picture[p] = picture[p + 1] = picture[p + 2] = static_cast<uint8_t>(1 + i % 250);
        return save->SaveSlot(3);
    };
    ASSERT_TRUE(saveNumbered(0));
    ASSERT_EQ(PictureOf(thumb), 1);

    std::mt19937 random(50);
    for (int round = 1; round <= 8; ++round)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            GxLog::SetErrorLogPath(L"");
            for (int i = 0; i < 200; ++i)
                saveNumbered(round * 1000 + i);
            _exit(0);
        }
        usleep(std::uniform_int_distribution<int>(20000, 150000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(load->LoadSlot(3)) << "round " << round;
        const int title = std::stoi(Data().m_GameDataTitle);
        EXPECT_EQ(PictureOf(thumb), 1 + title % 250) << "round " << round << ", save " << title;
    }

    // No picture to write (no capture was ever made): the slot keeps none.
    ASSERT_TRUE(saveNumbered(7));
    picture.clear();
    Data().m_GameDataTitle = L"8";
    EXPECT_TRUE(save->SaveSlot(3));
    EXPECT_EQ(PictureOf(thumb), -1);
}

// What a restored scene takes from the present: the windows show the player's opacity, which changed
// after the save, and the message on the page, shown before the save, is read, so Ctrl skips past it.
// For a slot and for the quick save.
TEST_F(AvgScene, ARestoredSceneShowsTheWindowOpacityAndItsMessageAsRead)
{
    ASSERT_NO_FATAL_FAILURE(Start(
        {"*MAIN", "はじめの行", "つぎの行", "@goto(\"END\")", "*QUICK", "べつの行", "つぎの行", "*END", "おわりの行"}));
    auto* save = dynamic_cast<SeqSave*>(m_Core->m_TaskManage->FindTaskByName(L"SeqSave"));
    auto* load = dynamic_cast<SeqLoad*>(m_Core->m_TaskManage->FindTaskByName(L"SeqLoad"));
    auto* quick = dynamic_cast<SeqQuickLoad*>(m_Core->m_TaskManage->FindTaskByName(L"SeqQuickLoad"));
    ASSERT_TRUE(save && load && quick);
    Options().m_GameDataPage = 5;
    const struct
    {
        const char* what;
        const wchar_t* label;
        const wchar_t* line; // shown for the first time when saved
        std::function<bool()> save, load;
    } cases[] = {
        {"slot", L"MAIN", L"はじめの行", [&] { return save->SaveSlot(4); }, [&] { return load->LoadSlot(4); }},
        {"quick save", L"QUICK", L"べつの行", [&] { return m_Screen->QuickSave(), true; },
         [&] { return quick->LoadQuickData(); }},
    };
    for (const auto& c : cases)
    {
        m_Screen->ClearMessage();
        Enter(c.label);
        Step();
        ASSERT_EQ(Window()->GetText(), c.line) << c.what;
        ASSERT_FALSE(Window()->IsReaded()) << c.what;
        Options().m_TextWindowOpacity = 255;
        ASSERT_TRUE(c.save()) << c.what;
        Options().m_TextWindowOpacity = 96;
        ASSERT_TRUE(c.load()) << c.what;
        EXPECT_EQ(Window()->GetText(), c.line) << c.what;
        for (const wchar_t* name : {L"$MESWIN:SeqAvgMain", L"$NAMEWIN:SeqAvgMain"})
            EXPECT_EQ(dynamic_cast<GxTaskUIBase*>(m_Core->m_TaskManage->FindTaskByName(name))->GetImageAlpha(), 96)
                << c.what << " " << GxString::ToUtf8(name);
        EXPECT_TRUE(Window()->IsReaded()) << c.what;
        s_Ctrl = true;
        Steps(20);
        s_Ctrl = false;
        EXPECT_NE(Window()->GetText(), c.line) << c.what << ": skip stopped on the restored line";
    }
}

// After a load the name plate shows what it showed when the save was made: a name as text, a name picture,
// or no name. For a slot and the quick save, each file in the binary form the game writes and in the text
// form, which a load reads alike.
TEST_F(AvgScene, ARestoredScenesNamePlateShowsItsSpeaker)
{
    ASSERT_NO_FATAL_FAILURE(
        Start({"*TEXTNAME", "@setnameidentifymode(3)", "村人「旅の方、城には近づかないほうがいい。」", "*PICTURE",
               "@setnameidentifymode(2)", "リリス「こんにちは。」", "*NONAME", "地の文の行"}));
    auto* save = dynamic_cast<SeqSave*>(m_Core->m_TaskManage->FindTaskByName(L"SeqSave"));
    auto* load = dynamic_cast<SeqLoad*>(m_Core->m_TaskManage->FindTaskByName(L"SeqLoad"));
    auto* quick = dynamic_cast<SeqQuickLoad*>(m_Core->m_TaskManage->FindTaskByName(L"SeqQuickLoad"));
    GxTaskUIBase* window = m_Screen->GetNameWindow();
    GxTaskLayer* picture = Layer(L"$NAMEIMAGE:SeqAvgMain");
    ASSERT_TRUE(save && load && quick && window && picture);
    Options().m_GameDataPage = 5;
    // The plate's text and visibility, its picture's file and visibility.
    auto plate = [&]
    {
        return std::make_tuple(GxString::ToUtf8(window->GetText()), m_Screen->IsWidgetShown(window),
                               GxString::ToUtf8(picture->GetCurrentContent().m_ContentFileName), picture->IsVisible());
    };
    // The plate as drawn.
    auto pixels = [&]
    {
        Step();
        Draw();
        const std::vector<uint32_t> screen = Screen(1024, 768);
        const GxVector4 at = window->GetWorldPos();
        std::vector<uint32_t> drawn;
        for (int y = static_cast<int>(at.y); y < static_cast<int>(at.y) + window->GetHeight() && y < 768; ++y)
            for (int x = static_cast<int>(at.x); x < static_cast<int>(at.x) + window->GetWidth() && x < 1024; ++x)
                drawn.push_back(screen[static_cast<size_t>(y) * 1024 + x]);
        return drawn;
    };
    const struct
    {
        const char* what;
        std::function<bool()> save;
        std::wstring path;
        std::function<bool()> load;
    } ways[] = {
        {"slot", [&] { return save->SaveSlot(4); }, SeqSaveSlots::GameDataPath(4), [&] { return load->LoadSlot(4); }},
        {"quick save", [&] { return m_Screen->QuickSave(), true; }, SeqSavePair::Quick().m_Game,
         [&] { return quick->LoadQuickData(); }},
    };
    // Each line's label and the plate it shows.
    const std::pair<const wchar_t*, decltype(plate())> lines[] = {{L"TEXTNAME", {"村人", true, "", false}},
                                                                  {L"PICTURE", {"", true, "cg/name/リリス.png", true}},
                                                                  {L"NONAME", {"", false, "", false}}};
    for (const auto& way : ways)
        for (const bool binary : {true, false})
            for (const auto& [label, shown] : lines)
            {
                SCOPED_TRACE(std::string(way.what) + (binary ? ", binary, " : ", text, ") + GxString::ToUtf8(label));
                m_Screen->ClearMessage();
                Enter(label);
                // The line and its name come together, a step or two after the entry.
                for (int i = 0; i < 60 && Window()->GetText().empty(); ++i)
                    Step();
                ASSERT_EQ(plate(), shown);
                const std::vector<uint32_t> before = pixels();
                ASSERT_TRUE(way.save());
                // The game writes the binary form; the text form of the same state replaces it.
                if (!binary)
                {
                    ASSERT_TRUE(Data().Save(way.path, false));
                }
                std::ifstream file(GxString::ToUtf8(way.path), std::ios::binary);
                ASSERT_EQ(file.peek() == 'T', !binary);
                file.close();
                // Another name on the plate, which the load must replace.
                m_Screen->SetSpeakerName(L"ゾルデ", 1);
                ASSERT_TRUE(way.load());
                EXPECT_EQ(plate(), shown);
                const std::vector<uint32_t> after = pixels();
                ASSERT_EQ(after.size(), before.size());
                size_t differ = 0;
                for (size_t i = 0; i < before.size(); ++i)
                    differ += ChannelDistance(before[i], after[i]) > 8;
                EXPECT_EQ(differ, 0u) << "pixels of the plate unlike those at the save";
            }
}
