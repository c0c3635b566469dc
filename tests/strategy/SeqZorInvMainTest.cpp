#include "ZorDeviceSupport.h"
#include "ZorTestSupport.h"

#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorTown.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/screens/SeqZorInvLoader.h"
#include "strategy/screens/SeqZorInvMain.h"
#include "strategy/screens/SeqZorInvReleaser.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIButtonIs.h"

namespace
{

// The three invasion sequences in the test tree (the screen brings its own field lists), the bottom
// bar's buttons the layout rows would give, and town 1 held by a party of three.
class ZorInvScreenTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        m_Manage.SetRenderLists(m_Lists, &m_Bank);
        Unit(61, 5, 0, 100, 10, 1);
        DBZorEnemyData* party = g_DBZorEnemy.GetRow(1);
        party->m_ID = 1;
        party->m_Name = L"P1";
        for (int i = 0; i < 3; ++i)
            party->m_UnitName[i] = L"U61";
        DBZorTownData* town = g_DBZorTown.GetRow(1);
        town->m_ID = 1;
        town->m_Name = L"T1";
        town->m_DefaultParty = L"P1";
        town->m_VictoryLabel = L"T1_WON";
        town->m_DefeatedLabel = L"T1_LOST";
        State().InitNewGame();
        State().m_NextInvTownID = 1;
        ZorNcPoolUnit::Initialize();
        m_Loader = new SeqZorInvLoader(m_Root);
        m_Releaser = new SeqZorInvReleaser(m_Root);
        m_Screen = new SeqZorInvMain(m_Root);
        auto* bottom = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(L"$ZORINVBOTTOM:SeqZorInvMain"));
        m_Open = new GxTaskUIButtonIs(bottom, nullptr, L"btn_openthewar");
        m_Cancel = new GxTaskUIButtonIs(bottom, nullptr, L"btn_cancelthewar");
        GxSeqBase::ResetInputLocks();
    }
    void TearDown() override
    {
        ZorNcPoolUnit::ReleaseAll();
        dbtest::ResetTables(g_DBZorTown);
        ZorTest::TearDown();
    }

    // Switches and steps until the sequence has started (past the cross-fade of a transit screen).
    void Enter(GxTaskBase* seq, uint32_t param)
    {
        m_Manage.ChangeSequence(seq, param, 0);
        m_Manage.ApplyPendingSequence();
        for (int i = 0; i < 200 && !m_Manage.IsSequenceStarted(); ++i)
            Step();
    }
    void Step()
    {
        m_Manage.DeleteDeadTasks(m_Root);
        GxSeqBase* current = m_Manage.GetCurrentSequence();
        if (!m_Manage.IsSequenceStarted())
            m_Manage.WalkUpdatePreStart(current, 0, 16000);
        m_Manage.WalkUpdate(current, 0, 16000);
    }
    // Enters the screen as the loader would, with the party on the field.
    void StartFormation()
    {
        m_Core->BeginInvasion();
        Enter(m_Screen, 1);
    }
    void Click(const wchar_t* name, int index = 0)
    {
        auto* f = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(L"$UI:SeqZorInvMain"));
        auto* button = new GxTaskUIButtonIs(f, nullptr, name, index);
        m_Screen->OnUIEvent1(button, GxUIEvent(button, 1, 0));
        button->Kill();
    }
    int64_t Ready(int unitID)
    {
        ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, unitID, 1);
        unit->m_HP = unit->GetMaxHP();
        return static_cast<int64_t>(unit->GetTaskID());
    }
    ZorRoomState& Formation(int f) { return State().m_FieldFormations[f]; }

    GxTaskRenderManage m_Lists[20];
    int32_t m_Bank = 0;
    SeqZorInvLoader* m_Loader = nullptr;
    SeqZorInvReleaser* m_Releaser = nullptr;
    SeqZorInvMain* m_Screen = nullptr;
    GxTaskUIButtonIs* m_Open = nullptr;
    GxTaskUIButtonIs* m_Cancel = nullptr;
};

TEST_F(ZorInvScreenTest, LoaderSwitchesWhenTheLastUnitIDIsLoaded)
{
    Enter(m_Loader, 1);
    EXPECT_NE(Formation(2).m_UnitEntityIDs[0], 0) << "the field is set up on entry";
    int steps = 0;
    while (!m_Manage.IsChangeSequencePending() && steps < 200)
        Step(), ++steps;
    EXPECT_EQ(ZorNcPoolUnit::GetLoadIndex(), ZorNcPoolUnit::kUnitCount);
    EXPECT_EQ(m_Manage.GetPendingSequence(), m_Screen);
    EXPECT_LE(steps, ZorNcPoolUnit::kUnitCount);
}

TEST_F(ZorInvScreenTest, OpenTheWarFollowsPlacedUnitsAndDropRules)
{
    StartFormation();
    EXPECT_EQ(State().m_GamePhase, 9);
    EXPECT_FALSE(m_Open->IsEnabled());
    const int64_t unit = Ready(12); // leadership 2
    m_Screen->SetDraggedUnit(unit);
    m_Screen->Drop(SeqZorInvMain::SlotLeft(0, 2) + 77.0f, SeqZorInvMain::SlotTop(0) + 77.0f);
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[2], unit);
    EXPECT_TRUE(m_Open->IsEnabled());
    EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);

    // A placed unit, an occupied slot and the right and bottom edges drop nothing.
    const int64_t other = Ready(12);
    for (auto [id, x, y] : {std::tuple{unit, SeqZorInvMain::SlotLeft(1, 0) + 1.0f, SeqZorInvMain::SlotTop(1) + 1.0f},
                            std::tuple{other, SeqZorInvMain::SlotLeft(0, 2) + 1.0f, SeqZorInvMain::SlotTop(0) + 1.0f},
                            std::tuple{other, SeqZorInvMain::SlotLeft(0, 3) + 78.0f, SeqZorInvMain::SlotTop(0)}})
    {
        m_Screen->SetDraggedUnit(id);
        m_Screen->Drop(x, y);
    }
    EXPECT_EQ(Formation(1).m_TotalLerderShip, 0);
    EXPECT_EQ(Formation(0).m_TotalLerderShip, 2);

    // Over capacity for formation 0 only: no cursors there, and no drop.
    zortest::ZorDevice device;
    ASSERT_TRUE(device.Open(m_Folder.File(L""), {{L"icon_targetcursor", 78, 78, 0xFFFFFFFF}}));
    while (m_Screen->GetFrameCount() % 45 != 22) // the pulse at its brightest
        Step();
    Formation(0).m_TotalLerderShip = State().GetPartyCapacity() - 1;
    m_Screen->SetDraggedUnit(other);
    device.Frame([&] { m_Screen->Draw(2, 0); });
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ(device.At(SeqZorInvMain::SlotLeft(f, s) + 39.0f, SeqZorInvMain::SlotTop(f) + 39.0f),
                      f == 1 ? 0xFFFFFFFFu : 0xFF000000u)
                << f << " " << s;
    m_Screen->Drop(SeqZorInvMain::SlotLeft(0, 0) + 1.0f, SeqZorInvMain::SlotTop(0) + 1.0f);
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[0], 0);
    Formation(0).m_TotalLerderShip = 2;

    Click(L"btn_remove", 2);
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[2], 0);
    EXPECT_FALSE(m_Open->IsEnabled());
    Click(L"btn_remove", 15); // past the ten slots: refused, nothing touched
    EXPECT_EQ(m_Log.Lines().back(), L"index error:GetFieldUnitListPlayer\n");
}

TEST_F(ZorInvScreenTest, AutoFormFillsSlotFourFirstAndSkipsUnfitUnits)
{
    StartFormation();
    const int64_t trap = Ready(4);
    const int64_t arriving = Ready(12);
    m_Core->FindUnit(arriving)->m_ArrangeTimeLeft = 5;
    const int64_t a = Ready(12);
    const int64_t b = Ready(12);
    Click(L"btn_autoform");
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[4], a);
    EXPECT_EQ(Formation(1).m_UnitEntityIDs[4], b);
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ(Formation(f).m_UnitEntityIDs[s], 0);
    EXPECT_EQ(m_Core->FindUnit(trap)->m_FieldPos, -1);
    EXPECT_EQ(m_Core->FindUnit(arriving)->m_FieldPos, -1);
    EXPECT_TRUE(m_Open->IsEnabled());

    // A configuration visit keeps everything; a fresh entry resets phase and tab.
    State().m_GameUnitTab_ZOR = 2;
    Enter(m_Screen, 0);
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[4], a);
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 2);
}

TEST_F(ZorInvScreenTest, BattleEndGoesThroughTheReleaserWithTheTownsLabel)
{
    StartFormation();
    m_Core->AddUnitToField(Ready(12), 0, 0);
    Click(L"btn_openthewar");
    EXPECT_EQ(State().m_GamePhase, 10);
    EXPECT_FALSE(m_Open->IsEnabled());
    EXPECT_FALSE(m_Cancel->IsEnabled());
    State().m_GamePhase = 12;
    Step();
    EXPECT_EQ(m_Releaser->GetJumpLabel(), L"T1_WON");
    ASSERT_EQ(m_Manage.GetPendingSequence(), m_Releaser);

    State().GetTownState(1)->m_EnemyHPRate[0] = 0.5f;
    m_Manage.ApplyPendingSequence();
    for (int i = 0; i < 200 && !m_Manage.IsSequenceStarted(); ++i)
        m_Manage.WalkUpdatePreStart(m_Releaser, 0, 16000);
    int steps = 0;
    while (!m_Manage.IsChangeSequencePending() && steps < 100)
        Step(), ++steps;
    EXPECT_EQ(steps, 100) << "without a script the label cannot start; the releaser stays";
    m_Manage.ChangeSequence(m_Screen, 0, 0);
    m_Manage.ApplyPendingSequence(); // leave: field torn down, fought battle recovers +0.3
    EXPECT_EQ(Formation(0).m_TotalLerderShip, 0);
    EXPECT_LT(State().GetTownState(1)->m_EnemyHPRate[0], 1.01f);
    EXPECT_GT(State().GetTownState(1)->m_EnemyHPRate[0], 0.0f);
}

TEST_F(ZorInvScreenTest, CallingOffReturnsToTheCommandScreenWithoutRecovery)
{
    StartFormation();
    Click(L"btn_cancelthewar");
    EXPECT_EQ(m_Releaser->GetNextSequence(), L"SeqZorCommand");
    m_Manage.ApplyPendingSequence();
    for (int i = 0; i < 200 && !m_Manage.IsSequenceStarted(); ++i)
        m_Manage.WalkUpdatePreStart(m_Releaser, 0, 16000);
    EXPECT_EQ(m_Manage.GetCurrentSequence(), m_Releaser);
    for (int i = 0; i <= SeqZorReleaser::kWaitSteps; ++i)
    {
        EXPECT_FALSE(m_Manage.IsChangeSequencePending()) << i;
        Step();
    }
}

} // namespace
