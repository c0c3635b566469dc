// Slot numbering and plate geometry, the switch after a load, and the checked load: a save pair that
// cannot be read leaves the running game as it was.
#include "../media/SoundTestSupport.h"
#include "AvgSceneHarness.h"
#include "../task/TaskTestSupport.h"

#include "adventure/SeqSave.h"
#include "adventure/SeqSaveSlots.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPair.h"
#include "core/GxCore.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"

#include <gtest/gtest.h>

#include <fstream>

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
