#include "ZorTestSupport.h"

#include "appdata/DBZorStruct.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/screens/SeqZorLoader.h"
#include "strategy/screens/SeqZorMain.h"
#include "strategy/screens/SeqZorReleaser.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "strategy/screens/ZorTaskMapView.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

namespace
{

// The defence screen, its loader and releaser built into the test tree (whose unit lists the screen
// makes itself), with the bottom bar's speed buttons the layout rows would give.
class ZorScreenTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
            delete List(name);
        m_Manage.SetRenderLists(m_Lists, &m_Bank);
        m_Loader = new SeqZorLoader(m_Root);
        m_Releaser = new SeqZorReleaser(m_Root);
        m_Screen = new SeqZorMain(m_Root);
        GxTaskBase* bottom = m_Manage.FindTaskByName(L"$ZORBOTTOM1:SeqZorMain");
        for (const wchar_t* name : {L"btn_zorpause", L"btn_zorplay", L"btn_zorplay2x"})
            new GxTaskUIRadioButtonIs(bottom, nullptr, name);
        State().m_RemainEnemyLeft = 5;
        State().m_Resource_AstarosHP = 100;
        GxSeqBase::ResetInputLocks();
    }
    void TearDown() override
    {
        GxSeqBase::ResetInputLocks();
        ZorMapModelPool::ReleaseAll();
        ZorNcPoolUnit::ReleaseAll();
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
    GxTaskUIRadioButtonIs* Radio(const wchar_t* name)
    {
        auto* f = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(L"$ZORBOTTOM1:SeqZorMain"));
        return dynamic_cast<GxTaskUIRadioButtonIs*>(f->FindTaskLocal(name, 0));
    }
    void Key(uint32_t vk) { m_Manage.WalkKeyDown(m_Screen, vk, 0); }
    GxTaskBase* Folder(const wchar_t* name) { return m_Manage.FindTaskByName(name); }

    GxTaskRenderManage m_Lists[20];
    int32_t m_Bank = 0;
    SeqZorLoader* m_Loader = nullptr;
    SeqZorReleaser* m_Releaser = nullptr;
    SeqZorMain* m_Screen = nullptr;
};

} // namespace

TEST_F(ZorScreenTest, TicksRunOnlyInFreePlayWithoutDialogsOrSpecialEffects)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 0;
    struct Case
    {
        int32_t phase, speed, dialogs;
        bool special;
        int32_t ticks;
    } cases[] = {{0, 0, 0, false, 0}, {0, 1, 0, false, 1}, {0, 2, 0, false, 2}, {1, 2, 0, false, 2},
                 {2, 1, 0, false, 0}, {8, 1, 0, false, 0}, {0, 1, 1, false, 0}, {0, 2, 0, true, 0}};
    for (const Case& c : cases)
    {
        State().m_GamePhase = c.phase;
        State().m_GameState = c.speed;
        GxSeqBase::SetOpenDialogCount(c.dialogs);
        GxTaskBase* special = c.special ? new GxTaskBase(Folder(L"$EFFECTSPECIAL:SeqZorMain")) : nullptr;
        const int32_t before = State().m_TimerCount;
        Step();
        EXPECT_EQ(State().m_TimerCount - before, c.ticks) << c.phase << " " << c.speed;
        delete special;
    }
}

TEST_F(ZorScreenTest, OpeningEndsBeforeTheFirstTickAndTheEndWaitsForItsEffect)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 5;
    State().m_GameState = 1;
    auto* opening = new GxTaskBase(Folder(L"$EFFECTSTART:SeqZorMain"));
    Step();
    EXPECT_EQ(State().m_GamePhase, 5);
    delete opening;
    const int32_t before = State().m_TimerCount;
    Step();
    EXPECT_EQ(State().m_GamePhase, 0);
    EXPECT_EQ(State().m_TimerCount - before, 1); // the same update ticks

    for (int32_t phase : {6, 7})
    {
        State().m_GamePhase = phase;
        auto* end = new GxTaskBase(Folder(L"$EFFECTEND:SeqZorMain"));
        Step();
        EXPECT_FALSE(m_Manage.IsChangeSequencePending());
        delete end;
        Step();
        EXPECT_TRUE(m_Manage.IsChangeSequencePending());
        EXPECT_EQ(m_Releaser->GetJumpLabel(), phase == 6 ? L"ZOR_DEF_VICTORY" : L"ZOR_DEF_DEFEATED");
        m_Manage.ApplyPendingSequence();
        State().m_GamePhase = 0;
        Enter(m_Screen, SeqZorMain::kParamBack);
        Step();
    }
}

TEST_F(ZorScreenTest, EntryResetsOnlyOnFreshOrRestoredAndShowsStoredSpeed)
{
    State().m_GameState = 2;
    State().m_GameUnitTab_ZOR = 3;
    Enter(m_Screen, SeqZorMain::kParamBack);
    EXPECT_TRUE(Radio(L"btn_zorplay2x")->GetValueAsBool());
    EXPECT_FALSE(Radio(L"btn_zorpause")->GetValueAsBool());
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 3);
    m_Manage.ChangeSequence(m_Loader, 0, 0);
    m_Manage.ApplyPendingSequence();
    Enter(m_Screen, SeqZorMain::kParamFresh);
    EXPECT_EQ(State().m_GameState, 0);
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 0);
    Step();
    EXPECT_EQ(State().m_GamePhase, 0); // the opening had no effect to wait for
    EXPECT_TRUE(Radio(L"btn_zorpause")->GetValueAsBool());
    EXPECT_EQ(m_Screen->GetCamera()->GetProgress(ZorTaskCamera::kTarget) < 1.0f, true);
}

TEST_F(ZorScreenTest, SpeedKeysPassTheButtonsAndDigitsNeedTheDebugFlag)
{
    Enter(m_Screen, SeqZorMain::kParamFresh);
    Step();
    Key(0x5A); // Z with pause already selected: nothing queued
    EXPECT_EQ(m_Screen->GetUIEventCount(), 0u);
    Key(0x58); // X
    EXPECT_TRUE(Radio(L"btn_zorplay")->GetValueAsBool());
    Step();
    EXPECT_EQ(State().m_GameState, 1);
    Key(0x43); // C
    Step();
    EXPECT_EQ(State().m_GameState, 2);
    // A dialog of higher priority blocks the buttons.
    GxSeqBase::SetOpenDialogCount(3);
    Key(0x5A);
    Step();
    EXPECT_EQ(State().m_GameState, 2);
    GxSeqBase::SetOpenDialogCount(0);
    Key(0x31);
    Key(0x30);
    EXPECT_EQ(State().m_RemainEnemyLeft, 5);
    EXPECT_EQ(State().m_Resource_AstarosHP, 100);
}

TEST_F(ZorScreenTest, DropNeedsAFreeSlotWithinTheFacilityCapacity)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 0;
    ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, 12, 1);
    ZorRoomState* room = State().GetRoughRoom(2, 1);
    ASSERT_TRUE(room && room->m_MapRoom);
    const int32_t cx = room->m_MapRoom->m_CenterDX;
    const int32_t cz = room->m_MapRoom->m_CenterDZ;
    ZorTaskCamera* camera = m_Screen->GetCamera();
    camera->JumpTo(0.0f, 0.0f);
    camera->Update(0, 0);
    auto pointAt = [&](int32_t bx, int32_t bz)
    {
        const GxVector4 w = ZorCellToWorld(bx, bz);
        const GxVector3 s = camera->WorldToScreen(GxVector3(w.x, 0.0f, w.z));
        m_Screen->GetPointing()->Pick(s.x, s.y, true);
        return s;
    };
    g_DBZorStruct.GetRow(room->m_StructID)->m_Capacity = 2;
    struct Case
    {
        int32_t dx, dz;
        float y;
        bool ok;
    } cases[] = {{0, 0, 300.0f, false},  // slot 4: past a capacity of 2
                 {1, 0, 300.0f, false},  // slot 1 ok by place, but the cursor is on the bottom bar
                 {1, 1, 300.0f, false},  // a diagonal is no slot
                 {-1, 0, 300.0f, true}}; // slot 0
    for (const Case& c : cases)
    {
        pointAt(cx + c.dx, cz + c.dz);
        m_Screen->SetDraggedUnit(static_cast<int64_t>(unit->GetTaskID()));
        int32_t rx = 0, rz = 0, slot = 0;
        const float y = c.dx == 1 && c.dz == 0 ? 600.0f : c.y;
        EXPECT_EQ(m_Screen->CanDropAt(y, rx, rz, slot), c.ok) << c.dx << "," << c.dz;
        m_Screen->DropUnit(y);
        EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);
    }
    EXPECT_EQ(room->m_UnitEntityIDs[0], static_cast<int64_t>(unit->GetTaskID()));
}

TEST_F(ZorScreenTest, MapViewDrawsScaffoldWhileBuildingAndGatesBySide)
{
    ZorRoomState* room = State().GetRoughRoom(2, 1);
    ASSERT_EQ(State().GetRoomState(2, 1), 8);
    room->m_CreateTimeLeft = 10;
    std::vector<ZorTaskMapView::Item> items;
    ZorTaskMapView::CollectItems(State(), ZorTaskMapView::CursorInput{}, items);
    int bases = 0, scaffolds = 0, gates = 0, walls = 0;
    for (const auto& it : items)
    {
        const bool here = it.m_World.m[3][0] == -240.0f && it.m_World.m[3][2] == -240.0f;
        bases += here && it.m_Kind == ZorTaskMapView::kBase;
        scaffolds += here && it.m_Kind == ZorTaskMapView::kScaffold;
        gates += here && it.m_Kind == ZorTaskMapView::kGate;
        walls += here && it.m_Kind == ZorTaskMapView::kWall;
    }
    EXPECT_EQ(bases, 1);
    EXPECT_EQ(scaffolds, 1);
    EXPECT_EQ(gates + walls, 4);
    EXPECT_GT(gates, 0); // the passages to its neighbours
    // A facility ID past the model sets draws nothing.
    room->m_StructID = 25;
    ZorTaskMapView::CollectItems(State(), ZorTaskMapView::CursorInput{}, items);
    for (const auto& it : items)
        EXPECT_FALSE(it.m_Kind == ZorTaskMapView::kBase && it.m_World.m[3][0] == -240.0f &&
                     it.m_World.m[3][2] == -240.0f);
}

TEST_F(ZorScreenTest, LoaderSwitchesOnTheStepTheUnitPoolCompletes)
{
    Enter(m_Loader, 0);
    int steps = 1;
    while (!m_Manage.IsChangeSequencePending() && steps < 400)
    {
        EXPECT_TRUE(ZorMapModelPool::GetLoadIndex() < 20 || ZorNcPoolUnit::GetLoadIndex() < 160);
        Step();
        ++steps;
    }
    EXPECT_GE(steps, 21);
    EXPECT_EQ(ZorNcPoolUnit::GetLoadIndex(), 160);
    EXPECT_EQ(m_Manage.GetCurrentSequenceName(), L"SeqZorLoader");
    m_Manage.ApplyPendingSequence();
    EXPECT_EQ(m_Manage.GetCurrentSequence(), m_Screen);
    EXPECT_EQ(m_Manage.GetCurrentParam(0), SeqZorMain::kParamFresh);
    // Restoring a save: the stage is not begun again and the screen gets 2.
    State().m_GamePhase = 0;
    Enter(m_Loader, SeqZorLoader::kParamRestore);
    for (int i = 0; i < 400 && !m_Manage.IsChangeSequencePending(); ++i)
        Step();
    m_Manage.ApplyPendingSequence();
    EXPECT_EQ(m_Manage.GetCurrentParam(0), SeqZorMain::kParamRestored);
    EXPECT_EQ(State().m_GamePhase, 0);
}

TEST_F(ZorScreenTest, ReleaserActsAfterSixtyOneSteps)
{
    m_Releaser->SetNextSequence(L"SeqZorLoader", 7);
    EXPECT_TRUE(m_Releaser->GetJumpLabel().empty());
    Enter(m_Releaser, 0);
    for (int i = 1; i < 61; ++i)
    {
        EXPECT_FALSE(m_Manage.IsChangeSequencePending()) << i;
        Step();
    }
    Step();
    EXPECT_TRUE(m_Manage.IsChangeSequencePending());
    m_Manage.ApplyPendingSequence();
    EXPECT_EQ(m_Manage.GetCurrentParam(0), 7u);
}
