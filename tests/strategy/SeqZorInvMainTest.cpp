#include "ZorSampleUITestSupport.h"

#include "animation/GxNcEffectPool.h"
#include "appdata/DBEffect.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorTown.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/screens/SeqZorInvLoader.h"
#include "strategy/screens/SeqZorInvMain.h"
#include "strategy/screens/SeqZorInvReleaser.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskInvUnitList.h"
#include "strategy/screens/ZorTaskNcEffectOverlay2D.h"

#include <algorithm>

namespace
{

// The three invasion sequences in the running engine, built from the sample game's UI rows (the screen
// brings its own field lists), and town 1 held by a party of three and its leader. A layout row of the test's own puts
// a remove button of an index past the ten slots at the screen's top left.
class ZorInvScreenTest : public zortest::ZorSampleUITest
{
protected:
    void SetUp() override
    {
        ZorSampleUITest::SetUp();
        DBUILayoutData* stray = g_DBUILayout.GetRow(511);
        stray->m_ID = 511;
        stray->m_ParentName = L"$UIFIELD:SeqZorInvMain";
        stray->m_ModuleName = stray->m_TaskName = L"btn_remove";
        stray->m_TaskIndex = 15;
        stray->m_Create = stray->m_Visible = stray->m_Enabled = 1;
        Unit(61, 5, 0, 100, 10, 1);
        DBZorEnemyData* party = g_DBZorEnemy.GetRow(1);
        party->m_ID = 1;
        party->m_Name = L"P1";
        for (int i : {0, 1, 2, 5}) // three and the leader
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
    }
    void TearDown() override
    {
        m_Manage.ClearSequence();
        delete m_Screen;
        delete m_Releaser;
        delete m_Loader;
        ZorNcPoolUnit::ReleaseAll();
        dbtest::ResetTables(g_DBZorTown);
        ZorSampleUITest::TearDown();
    }

    // Enters the screen as the loader would, with the party on the field.
    void StartFormation()
    {
        m_Core->BeginInvasion();
        Enter(m_Screen, 1);
    }
    GxTaskUIBase* Bottom(const wchar_t* name, int index = 0)
    {
        return Widget(L"$ZORINVBOTTOM:SeqZorInvMain", name, index);
    }
    // Presses the strip's card showing the unit and moves the pointer to (x, y), still held.
    void PickUp(int64_t unit, int x, int y)
    {
        int card = 0;
        while (card < 8 && m_Screen->GetUnitList()->GetEntryID(card) != unit)
            ++card;
        ASSERT_LT(card, 8) << "unit " << unit << " is on no card";
        const GxVector4 p = Bottom(L"btn_unitlist", card)->GetWorldPos();
        Press(static_cast<int>(p.x) + 40, static_cast<int>(p.y) + 60);
        MoveTo(x, y);
    }
    static int SlotX(int f, int s, float dx = 39.0f) { return static_cast<int>(SeqZorInvMain::SlotLeft(f, s) + dx); }
    static int SlotY(int f, float dy = 39.0f) { return static_cast<int>(SeqZorInvMain::SlotTop(f) + dy); }
    int64_t Ready(int unitID)
    {
        ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, unitID, 1);
        unit->m_HP = unit->GetMaxHP();
        return static_cast<int64_t>(unit->GetTaskID());
    }
    ZorRoomState& Formation(int f) { return State().m_FieldFormations[f]; }
    // Steps through a transit screen's cross-fade into the pending sequence.
    void StartPending()
    {
        GxTaskBase* next = m_Manage.GetPendingSequence();
        for (int i = 0; i < 200 && !(m_Manage.GetCurrentSequence() == next && m_Manage.IsSequenceStarted()); ++i)
            Passes(1);
    }

    SeqZorInvLoader* m_Loader = nullptr;
    SeqZorInvReleaser* m_Releaser = nullptr;
    SeqZorInvMain* m_Screen = nullptr;
};

TEST_F(ZorInvScreenTest, LoaderSwitchesWhenTheLastUnitIDIsLoaded)
{
    m_Manage.ChangeSequence(m_Loader, 1, 0);
    Passes(1);
    EXPECT_NE(Formation(2).m_UnitEntityIDs[0], 0) << "the field is set up on entry";
    int steps = 1;
    while (!m_Manage.IsChangeSequencePending() && steps < 300)
        Passes(1), ++steps;
    EXPECT_EQ(ZorNcPoolUnit::GetLoadIndex(), ZorNcPoolUnit::kUnitCount);
    EXPECT_EQ(m_Manage.GetPendingSequence(), m_Screen);
    EXPECT_LE(steps, ZorNcPoolUnit::kUnitCount);
}

TEST_F(ZorInvScreenTest, OpenTheWarFollowsPlacedUnitsAndDropRules)
{
    const int64_t unit = Ready(12); // leadership 2
    const int64_t other = Ready(12);
    StartFormation();
    EXPECT_EQ(State().m_GamePhase, 9);
    GxTaskUIBase* open = Bottom(L"btn_openthewar");
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(open->IsEnabled());
    PickUp(unit, SlotX(0, 2, 77.0f), SlotY(0, 77.0f));
    Release(SlotX(0, 2, 77.0f), SlotY(0, 77.0f));
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[2], unit);
    EXPECT_TRUE(open->IsEnabled());
    EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);

    // A placed unit leaves the strip; an occupied slot and the right and bottom edges drop nothing.
    for (int card = 0; card < 8; ++card)
        EXPECT_NE(m_Screen->GetUnitList()->GetEntryID(card), unit) << card;
    for (auto [x, y] : {std::pair{SlotX(0, 2, 1.0f), SlotY(0, 1.0f)}, std::pair{SlotX(0, 3, 78.0f), SlotY(0, 0.0f)},
                        std::pair{SlotX(0, 3, 0.0f), SlotY(0, 78.0f)}})
        PickUp(other, x, y), Release(x, y);
    EXPECT_EQ(Formation(1).m_TotalLerderShip, 0);
    EXPECT_EQ(Formation(0).m_TotalLerderShip, 2);

    // Over capacity for formation 0 only: the free slots of formation 1 light up, none of formation 0,
    // and a drop there does nothing.
    Formation(0).m_TotalLerderShip = State().GetPartyCapacity() - 1;
    MoveTo(600, 300);
    uint32_t before[2][5];
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 5; ++s)
            before[f][s] = Pixel(SlotX(f, s), SlotY(f));
    PickUp(other, 600, 300);
    while (m_Screen->GetFrameCount() % 45 != 23) // the pulse at its brightest
        Passes(1);
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ(Pixel(SlotX(f, s), SlotY(f)) != before[f][s], f == 1) << f << " " << s;
    Release(SlotX(0, 0), SlotY(0));
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[0], 0);
    Formation(0).m_TotalLerderShip = 2;

    ClickOn(Widget(L"$UIFIELD:SeqZorInvMain", L"btn_remove", 2));
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[2], 0);
    EXPECT_FALSE(open->IsEnabled());
    ClickOn(Widget(L"$UIFIELD:SeqZorInvMain", L"btn_remove", 15)); // past the ten slots: refused
    EXPECT_EQ(m_Log.Lines().back(), L"index error:GetFieldUnitListPlayer\n");
}

TEST_F(ZorInvScreenTest, StripScrollsByItsSliderShowsTabsAndNeverATrap)
{
    std::vector<int64_t> ids;
    for (int i = 0; i < 10; ++i)
    {
        if (i == 3)
            Ready(4); // a trap in the middle of the reserve
        ids.push_back(i < 7 ? Ready(12) : static_cast<int64_t>(AddUnit(ZorCore::kUnitPlayerList, 12, 1)->GetTaskID()));
    }
    m_Core->FindUnit(ids[1])->m_ArrangeTimeLeft = 1; // arriving and wounded: shown, cannot be picked
    m_Core->FindUnit(ids[2])->m_HP = 1;
    StartFormation();
    ZorTaskInvUnitList* strip = m_Screen->GetUnitList();
    const auto shown = [strip]
    {
        std::vector<int64_t> v;
        for (int i = 0; i < 8; ++i)
            v.push_back(strip->GetEntryID(i));
        return v;
    };
    GxTaskUIBase* slider = Bottom(L"hsld_unitlist");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetMax(), 9.0);
    EXPECT_EQ(shown(), std::vector<int64_t>(ids.begin(), ids.begin() + 8));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Bottom(L"btn_unitlist", i)->IsEnabled(), i == 0) << i;
    const GxVector4 p = slider->GetWorldPos();
    const int y = static_cast<int>(p.y) + slider->GetHeight() / 2;
    Drag(static_cast<int>(p.x) + slider->GetWidth() - 1, y, static_cast<int>(p.x) + slider->GetWidth() + 100, y);
    EXPECT_EQ(shown(), (std::vector<int64_t>{ids[9], 0, 0, 0, 0, 0, 0, 0})) << "dragged to the end: the last unit";

    // Tab 4: the units employed in the dungeon only, each card with the employment icon.
    for (int i = 7; i < 10; ++i)
        m_Core->FindUnit(ids[i])->m_DetailPosX = 3;
    ClickOn(Bottom(L"btn_unittab_employment"));
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 4);
    EXPECT_EQ(slider->GetMax(), 2.0);
    EXPECT_EQ(shown(), (std::vector<int64_t>{ids[7], ids[8], ids[9], 0, 0, 0, 0, 0}));
    std::vector<ZorTaskInvUnitList::Element> card;
    for (int i : {7, 0})
    {
        ZorTaskInvUnitList::LayoutCard(*m_Core->FindUnit(ids[i]), i == 7 ? 1 : 0, card);
        EXPECT_EQ(std::any_of(card.begin(), card.end(),
                              [](const auto& e) { return e.m_Text == L"icon_unitemployment" && e.m_X == 170.0f; }),
                  i == 7);
    }
    // Tab 1: the reserve that can go; tab 2 (heroines): none here.
    ClickOn(Bottom(L"btn_unittab_ready"));
    EXPECT_EQ(shown(), (std::vector<int64_t>{ids[0], ids[3], ids[4], ids[5], ids[6], 0, 0, 0}));
    ClickOn(Bottom(L"btn_unittab_heroine"));
    EXPECT_EQ(slider->GetMax(), 0.0);
    EXPECT_EQ(strip->GetEntryID(0), 0);
}

TEST_F(ZorInvScreenTest, AutoFormFillsSlotFourFirstAndSkipsUnfitUnits)
{
    const int64_t trap = Ready(4);
    const int64_t arriving = Ready(12);
    m_Core->FindUnit(arriving)->m_ArrangeTimeLeft = 5;
    const int64_t a = Ready(12);
    const int64_t b = Ready(12);
    StartFormation();
    ClickOn(Bottom(L"btn_autoform"));
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[4], a);
    EXPECT_EQ(Formation(1).m_UnitEntityIDs[4], b);
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ(Formation(f).m_UnitEntityIDs[s], 0);
    EXPECT_EQ(m_Core->FindUnit(trap)->m_FieldPos, -1);
    EXPECT_EQ(m_Core->FindUnit(arriving)->m_FieldPos, -1);
    EXPECT_TRUE(Bottom(L"btn_openthewar")->IsEnabled());

    // A configuration visit keeps everything; a fresh entry resets phase and tab.
    State().m_GameUnitTab_ZOR = 2;
    GxSeqBase* config = new GxSeqBase(m_Root, L"SeqConfig");
    ClickOn(Bottom(L"btn_zorconfig"));
    Passes(1);
    EXPECT_EQ(m_Manage.GetCurrentSequence(), config);
    Enter(m_Screen, 0);
    EXPECT_EQ(Formation(0).m_UnitEntityIDs[4], a);
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 2);
}

TEST_F(ZorInvScreenTest, BattleEndGoesThroughTheReleaserWithTheTownsLabel)
{
    Ready(12);
    StartFormation();
    ClickOn(Bottom(L"btn_autoform"));
    ClickOn(Bottom(L"btn_openthewar"));
    EXPECT_EQ(State().m_GamePhase, 10);
    EXPECT_FALSE(Bottom(L"btn_openthewar")->IsEnabled());
    EXPECT_FALSE(Bottom(L"btn_cancelthewar")->IsEnabled());
    State().m_GamePhase = 12;
    Passes(1);
    EXPECT_EQ(m_Releaser->GetJumpLabel(), L"T1_WON");
    ASSERT_EQ(m_Manage.GetPendingSequence(), m_Releaser);

    State().GetTownState(1)->m_EnemyHPRate[0] = 0.5f;
    StartPending();
    int steps = 0;
    while (!m_Manage.IsChangeSequencePending() && steps < 100)
        Passes(1), ++steps;
    EXPECT_EQ(steps, 100) << "without a script the label cannot start; the releaser stays";
    m_Manage.ChangeSequence(m_Screen, 0, 0);
    m_Manage.ApplyPendingSequence(); // leave: field torn down, fought battle recovers +0.3
    EXPECT_EQ(Formation(0).m_TotalLerderShip, 0);
    EXPECT_LT(State().GetTownState(1)->m_EnemyHPRate[0], 1.01f);
    EXPECT_GT(State().GetTownState(1)->m_EnemyHPRate[0], 0.0f);
}

// The invasion screen is the rules' listener while it runs, also when the defence screen was never
// entered: a victory puts its banner under "$EFFECTEND:SeqZorMain" (played here through the proxy) and
// the screen leaves only once it has ended; field effects project through the invasion camera, which
// rests facing the field, every slot's unit standing on the lower edge of its drop rectangle.
TEST_F(ZorInvScreenTest, VictoryBannerHoldsTheSwitchAndTheFieldStandsUnderItsSlots)
{
    auto* defence = new GxTaskFolder(m_Root, L"$ROOT:SeqZorMain");
    for (const wchar_t* name : ZorCore::kEffectLists)
        new GxTaskFolder(defence, name);
    ASSERT_TRUE(g_DBEffect.Load(L"data/db_effect.txt"));
    ASSERT_TRUE(GxNcEffectPool::LoadAllEffect(L"gnc/", L"gnc/gis/"));
    Ready(12);
    StartFormation();
    EXPECT_EQ(m_Core->GetListener(), static_cast<ZorRulesListener*>(m_Screen));
    EXPECT_EQ(m_Core->GetCamera(), m_Screen->GetCamera());

    const ZorTaskCamera* camera = m_Screen->GetCamera();
    EXPECT_FLOAT_EQ(camera->GetCurrent().m_Yaw, 0.0f);
    EXPECT_FLOAT_EQ(camera->GetCurrent().m_Pitch, -30.0f);
    EXPECT_FLOAT_EQ(camera->GetCurrent().m_Zoom, 2.0f);
    for (int c = 0; c < ZorTaskCamera::kChannels; ++c)
        EXPECT_FLOAT_EQ(camera->GetProgress(static_cast<ZorTaskCamera::Channel>(c)), 1.0f);
    for (int f = 0; f < 2; ++f)
        for (int slot = 0; slot < 5; ++slot)
        {
            const GxVector4 w = ZorCore::GetFieldSlotPosition(slot, f);
            const GxVector3 p = camera->WorldToScreen(GxVector3(w.x, w.y, w.z));
            EXPECT_GE(p.x, SeqZorInvMain::SlotLeft(f, slot)) << f << " " << slot;
            EXPECT_LT(p.x, SeqZorInvMain::SlotLeft(f, slot) + 78.0f) << f << " " << slot;
            // The ground point lies just under the rectangle's lower edge, 2.4 px in the upper row and
            // 4.8 px in the lower (where the rest camera puts the slot positions); a figure standing
            // there rises into its rectangle: 10 units up is well inside it.
            EXPECT_NEAR(p.y, SeqZorInvMain::SlotTop(f) + 78.0f + (f == 0 ? 2.4f : 4.8f), 0.1f) << f << " " << slot;
            const GxVector3 body = camera->WorldToScreen(GxVector3(w.x, w.y + 10.0f, w.z));
            EXPECT_GE(body.y, SeqZorInvMain::SlotTop(f)) << f << " " << slot;
            EXPECT_LT(body.y, SeqZorInvMain::SlotTop(f) + 78.0f) << f << " " << slot;
        }

    ClickOn(Bottom(L"btn_autoform"));
    ClickOn(Bottom(L"btn_openthewar"));
    m_Core->ShowEffect(L"EFE_MISS", GxVector4(), 71.0f);
    auto* miss = dynamic_cast<ZorTaskNcEffectOverlay2D*>(List(L"$EFFECT:SeqZorMain")->GetFirstChild());
    ASSERT_NE(miss, nullptr);
    const GxVector3 at = miss->GetScreenPos();
    EXPECT_NEAR(at.x, 512.0f, 1.0f);
    EXPECT_NEAR(at.y, 384.0f, 1.0f);

    m_Core->InvasionVictory();
    EXPECT_EQ(State().m_GamePhase, 12);
    ASSERT_NE(List(L"$EFFECTEND:SeqZorMain")->GetFirstChild(), nullptr);
    int steps = 0;
    while (List(L"$EFFECTEND:SeqZorMain")->GetFirstChild() && steps < 300)
    {
        EXPECT_FALSE(m_Manage.IsChangeSequencePending()) << steps;
        Passes(1), ++steps;
    }
    EXPECT_GT(steps, 60) << "the banner plays its 90 steps";
    if (!m_Manage.IsChangeSequencePending())
        Passes(1);
    EXPECT_EQ(m_Manage.GetPendingSequence(), m_Releaser);
    GxNcEffectPool::ReleaseAllEffect();
    dbtest::ResetTables(g_DBEffect);
    m_Manage.ClearSequence();
    delete defence;
}

TEST_F(ZorInvScreenTest, CallingOffReturnsToTheCommandScreenWithoutRecovery)
{
    StartFormation();
    ClickOn(Bottom(L"btn_cancelthewar"));
    EXPECT_EQ(m_Releaser->GetNextSequence(), L"SeqZorCommand");
    StartPending();
    EXPECT_EQ(m_Manage.GetCurrentSequence(), m_Releaser);
    for (int i = 0; i <= SeqZorReleaser::kWaitSteps; ++i)
    {
        EXPECT_FALSE(m_Manage.IsChangeSequencePending()) << i;
        Passes(1);
    }
}

} // namespace

namespace
{

// The sample's figure (orange) and the hit-point bar's fill (green) on the frame.
bool Figure(uint32_t c)
{
    return ((c >> 16) & 0xFF) > 0xE0 && ((c >> 8) & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) < 0xE0 && (c & 0xFF) < 0x70;
}
bool BarFill(uint32_t c)
{
    return ((c >> 8) & 0xFF) > ((c >> 16) & 0xFF) + 0x30;
}

} // namespace

// A unit put into a formation slot stands in that slot on the screen: the sample's figure, drawn from its
// own project, rises from the slot's lower edge through the slot's rectangle, inside its columns, and its
// hit-point bar is just over its head, inside the same columns.
TEST_F(ZorInvScreenTest, FiguresStandInTheirSlotsUnderTheirBars)
{
    ZorNcProjectFactorySource projects;
    ZorNcProjectSource* saved = ZorNcPoolUnit::GetProjectSource();
    ZorNcPoolUnit::SetProjectSource(&projects);
    g_DBZorUnit.GetRow(12)->m_GNCName = L"unit_goblin.gnc";
    g_DBZorUnit.GetRow(12)->m_MotionGroup = L"unit";
    ZorNcPoolUnit::Initialize();
    while (ZorNcPoolUnit::PrepareLoading(L"gnc/", L"gnc/gis/") != 0)
        ;
    StartFormation();
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 5; ++s)
            ASSERT_TRUE(m_Core->AddUnitToField(Ready(12), f, s));
    Passes(2);
    for (int f = 0; f < 2; ++f)
        for (int s = 0; s < 5; ++s)
        {
            SCOPED_TRACE(testing::Message() << "formation " << f << " slot " << s);
            const int left = static_cast<int>(SeqZorInvMain::SlotLeft(f, s)), right = left + 78;
            const int top = static_cast<int>(SeqZorInvMain::SlotTop(f)), bottom = top + 78;
            const GxVector4 w = ZorCore::GetFieldSlotPosition(s, f);
            const GxVector3 p = m_Screen->GetCamera()->WorldToScreen(GxVector3(w.x, w.y, w.z));
            const int x = static_cast<int>(p.x);
            // Down the figure's middle: its feet at the slot's lower edge, its body through the rectangle.
            int feet = bottom + 40;
            while (feet > top - 200 && !Figure(Pixel(x, feet)))
                --feet;
            int head = feet; // the highest figure pixel (the head stands apart from the shoulders)
            for (int y = feet; y > feet - 200 && y > 0; --y)
                if (Figure(Pixel(x, y)))
                    head = y;
            EXPECT_NEAR(feet, bottom, 6);
            EXPECT_LT(head, top) << "the figure fills its rectangle's height";
            // Across the figure inside the rectangle: within the slot's columns.
            int from = x, to = x;
            while (Figure(Pixel(from - 1, bottom - 10)))
                --from;
            while (Figure(Pixel(to + 1, bottom - 10)))
                ++to;
            EXPECT_GE(from, left);
            EXPECT_LT(to, right);
            EXPECT_GT(to - from, 20) << "a figure, not a sliver";
            // The bar: the first green above the head, a few pixels up, inside the same columns.
            int bar = head - 1;
            while (bar > head - 40 && !BarFill(Pixel(x - 10, bar)))
                --bar;
            EXPECT_GT(bar, head - 16) << "the bar is just over the head";
            EXPECT_GE(x - 20, left);
            EXPECT_LT(x + 20, right);
        }
    ZorNcPoolUnit::ReleaseAll();
    ZorNcPoolUnit::SetProjectSource(saved);
}
