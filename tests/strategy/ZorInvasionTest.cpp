#include "ZorTestSupport.h"

class ZorInvasionTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        for (const wchar_t* name : {ZorCore::kInvPlayerList, ZorCore::kInvEnemyList})
            new GxTaskBase(m_Root, name);
        Unit(61, 5, 0, 100, 10, 1);
        g_DBZorUnit.GetRow(61)->m_ExpMulti = 1.0f;
        DBZorEnemyData* party = g_DBZorEnemy.GetRow(1);
        party->m_ID = 1;
        party->m_Name = L"P1";
        for (int i = 0; i < 9; ++i)
            party->m_UnitName[i] = i == 3 ? L"" : L"U61"; // slot 3 of the party is empty
        DBZorTownData* town = g_DBZorTown.GetRow(1);
        town->m_ID = 1;
        town->m_Name = L"T1";
        town->m_DefaultParty = L"P1";
        town->m_EnemyLevel = 9;
        State().InitNewGame();
        State().m_NextInvTownID = 1;
        State().GetTownState(1)->m_EnemyHPRate[4] = 0.0f; // fell last time
        m_Core->BeginInvasion();
    }
    void TearDown() override
    {
        dbtest::ResetTables(g_DBZorTown);
        ZorTest::TearDown();
    }
    ZorRoomState& Enemy() { return State().m_FieldFormations[2]; }
};

TEST_F(ZorInvasionTest, PartyFromTheTownAndFormationRules)
{
    EXPECT_EQ(Enemy().m_UnitEntityIDs[3], 0);
    EXPECT_EQ(Enemy().m_UnitEntityIDs[4], 0);
    EXPECT_EQ(m_Core->FindUnit(Enemy().m_UnitEntityIDs[0])->m_Level, 9);
    EXPECT_EQ(m_Core->FindUnit(Enemy().m_UnitEntityIDs[2])->m_Level, 10); // 9 + 2, capped at 10
    EXPECT_EQ(State().m_TimerCount, 2700);
    EXPECT_EQ(m_Core->CheckInvasionEnd(), 2); // nobody placed

    ZorTaskUnitEntity* ready = AddUnit(ZorCore::kUnitReadyList, 12, 1);
    const int64_t id = static_cast<int64_t>(ready->GetTaskID());
    EXPECT_FALSE(m_Core->AddUnitToField(id, 2, 0));
    EXPECT_FALSE(m_Core->AddUnitToField(id, 0, 5));
    ASSERT_TRUE(m_Core->AddUnitToField(id, 0, 1));
    EXPECT_EQ(State().m_FieldFormations[0].m_TotalLerderShip, 2);
    EXPECT_FLOAT_EQ(ready->m_WorldPos.x, -60.0f);
    EXPECT_EQ(m_Core->CheckInvasionEnd(), 0);
    State().m_TimerCount = 0;
    EXPECT_EQ(m_Core->CheckInvasionEnd(), 2);
    State().m_TimerCount = 1;
    State().m_GamePhase = 10;
    m_Core->UpdateInvasion();
    EXPECT_EQ(State().m_GamePhase, 13);
}

TEST_F(ZorInvasionTest, LeaderFallWinsAndReleaseWritesRates)
{
    ZorTaskUnitEntity* ready = AddUnit(ZorCore::kUnitReadyList, 12, 1);
    ASSERT_TRUE(m_Core->AddUnitToField(static_cast<int64_t>(ready->GetTaskID()), 1, 0));
    ZorTaskUnitEntity* eight = m_Core->FindUnit(Enemy().m_UnitEntityIDs[8]);
    eight->m_HP = eight->GetMaxHP() / 2;
    ASSERT_TRUE(m_Core->KillFieldEnemy(Enemy().m_UnitEntityIDs[5]));
    EXPECT_EQ(m_Core->CheckInvasionEnd(), 1);
    m_Core->EndInvasion();
    const ZorTownState& town = *State().GetTownState(1);
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[5], 0.6f); // fell: comes back at 60 %
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[8], 0.5f);
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[4], 0.0f);
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[0], 1.0f);
    EXPECT_EQ(ready->GetParent(), List(ZorCore::kUnitReadyList));
    EXPECT_EQ(ready->m_FieldPos, -1);
    EXPECT_EQ(State().m_FieldFormations[1].m_TotalLerderShip, 0);
    EXPECT_TRUE(m_Core->SnapshotUnits(ZorCore::kInvEnemyList).empty());
}

// On the field a special attack is used only while its formation's restrict time is 0 and sets it to
// 360 (the other formation keeps its own); a heal sets the formation's heal restriction to 180, so the
// formation heals no more until the core's formation pass has counted it down. An enemy's attack finds
// a player unit in whichever formation holds one.
TEST_F(ZorInvasionTest, FieldSkillChoiceAndRestrictTimes)
{
    for (int id : {40, 41, 42})
    {
        DBZorSkillData* k = g_DBZorSkill.GetRow(static_cast<uint32_t>(id));
        k->m_ID = id;
        k->m_Type = id == 42 ? 2 : 1;
        k->m_Range = 1;
        k->m_RestrictFlag = id == 40;
        k->m_ReadyTime = 1;
        k->m_CoolingTime = 50;
    }
    auto field = [&](int formation, int slot)
    {
        ZorTaskUnitEntity* u = AddUnit(ZorCore::kUnitReadyList, 12, 1);
        EXPECT_TRUE(m_Core->AddUnitToField(static_cast<int64_t>(u->GetTaskID()), formation, slot));
        u->m_HP = u->GetMaxHP();
        return u;
    };
    auto until = [&](ZorTaskUnitEntity* u, std::initializer_list<int> skills)
    {
        for (int tick = 0; tick < 100; ++tick)
        {
            zortest::Arm(u, skills);
            u->UpdateField();
            if (u->m_UnitPhase == 1)
                return u->m_UsingSkillID;
        }
        return 0;
    };
    ZorRoomState* formations = State().m_FieldFormations;
    ZorTaskUnitEntity* first = field(0, 0);
    ZorTaskUnitEntity* second = field(0, 1);
    ZorTaskUnitEntity* lower = field(1, 0);
    ZorTaskUnitEntity* healer = field(1, 1);
    ZorTaskUnitEntity* healer2 = field(1, 2);

    EXPECT_EQ(until(first, {40}), 40);
    EXPECT_EQ(m_Core->FindUnit(first->m_TargetTaskID)->m_FieldPos, 2);
    EXPECT_EQ(formations[0].m_SpecialAttackRestrictTime, 360);
    for (int tick = 0; tick < 20; ++tick)
        EXPECT_EQ(until(second, {40, 41}), 41) << tick;
    EXPECT_EQ(until(lower, {40}), 40);
    EXPECT_EQ(formations[1].m_SpecialAttackRestrictTime, 360);

    lower->m_HP -= 10;
    EXPECT_EQ(until(healer, {42}), 42);
    EXPECT_EQ(healer->m_TargetTaskID, static_cast<int64_t>(lower->GetTaskID()));
    EXPECT_EQ(formations[1].m_HealRestrictTime, 180);
    EXPECT_EQ(until(healer2, {42}), 0);
    for (int tick = 0; tick < 180; ++tick)
        m_Core->UpdateFormationEffects();
    EXPECT_EQ(formations[1].m_HealRestrictTime, 0);
    EXPECT_EQ(formations[0].m_SpecialAttackRestrictTime, 180);
    EXPECT_EQ(until(healer2, {42}), 42);

    // Formation 0 emptied: every enemy attack lands on formation 1.
    ASSERT_TRUE(m_Core->RemoveUnitFromField(0, 0));
    ASSERT_TRUE(m_Core->RemoveUnitFromField(0, 1));
    ZorTaskUnitEntity* enemy = m_Core->FindUnit(Enemy().m_UnitEntityIDs[0]);
    for (int tick = 0; tick < 20; ++tick)
    {
        ASSERT_EQ(until(enemy, {41}), 41);
        EXPECT_EQ(m_Core->FindUnit(enemy->m_TargetTaskID)->m_FieldPos, 1) << tick;
    }
}
