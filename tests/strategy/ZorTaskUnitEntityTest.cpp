// The unit's own rules: geometry, experience, statuses, hit points per tick, the survival roll, skill
// start, recovery in the ready list, invader pace, and the summoning order of a room.
#include "ZorTestSupport.h"

#include "strategy/ZorGeometry.h"

class ZorTaskUnitEntityTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        m_Core->m_SkipBattleVoice = true;
        Unit(61, 5, 0, 90, 10, 1);
        g_DBZorUnit.GetRow(12)->m_ExpMulti = 1.0f;
        State().InitNewGame();
    }

    ZorTaskUnitEntity* Place(const wchar_t* list, int unitID, int level, int rx, int rz, int dx, int dz)
    {
        ZorTaskUnitEntity* u = AddUnit(list, unitID, level);
        u->m_RoughPosX = rx;
        u->m_RoughPosY = rz;
        u->m_DetailPosX = dx;
        u->m_DetailPosY = dz;
        u->m_HP = u->GetMaxHP();
        return u;
    }
};

TEST_F(ZorTaskUnitEntityTest, GeometryRoundTripsAndNames)
{
    for (int z = 0; z < 40; ++z)
        for (int x = 0; x < 40; ++x)
        {
            const ZorCell c = ZorWorldToCell(ZorCellToWorld(x, z));
            ASSERT_EQ(c.x, x);
            ASSERT_EQ(c.z, z);
        }
    for (int code = 0; code <= 4; ++code)
        EXPECT_EQ(ZorDeltaToDir(ZorDirToDelta(code).x, ZorDirToDelta(code).z), code);
    EXPECT_EQ(ZorDeltaToDir(1, 1), -1);
    EXPECT_EQ(ZorDirToDelta(9).x, 0);
    EXPECT_EQ(ZorGetUnitClassName(15), L"");
    EXPECT_EQ(ZorGetUnitClassName(9), L"魔導師");
    EXPECT_EQ(ZorGetUnitClassShortName(9), L"魔導");
    EXPECT_EQ(ZorGetUnitClassName(20), L"罠");
}

TEST_F(ZorTaskUnitEntityTest, ExperienceLevelsSeveralTimesAndStopsAtTheLimit)
{
    ZorTaskUnitEntity* u = Place(ZorCore::kUnitPlayerList, 12, 1, 2, 1, 9, 5);
    EXPECT_TRUE(u->AddExp(100)); // 101: 40 for level 2, 60 for level 3, one left
    EXPECT_EQ(u->m_Level, 3);
    EXPECT_EQ(u->m_Exp, 1);
    EXPECT_EQ(u->m_HP, u->GetMaxHP());
    EXPECT_EQ(State().GetUnitState(12)->m_Level, 3);
    EXPECT_FLOAT_EQ(u->GetExpRate(), 1.0f / 80.0f);
    g_DBZorUnit.GetRow(12)->m_LevelLimit = 3;
    EXPECT_FALSE(u->AddExp(500));
    EXPECT_EQ(u->m_Level, 3);
    EXPECT_EQ(u->m_Exp, 502);
    EXPECT_FLOAT_EQ(u->GetExpRate(), 0.0f);

    ZorTaskUnitEntity* target = Place(ZorCore::kUnitEnemyList, 61, 11, 2, 1, 10, 5);
    g_DBZorUnit.GetRow(61)->m_CostLeadership = 10;
    // Maximum HP 90 x (1 + 10 / 5) = 270: trunc(level factor 2 x 45 / 270 x 10) = 3; with 0.1 more in a
    // working facility 10, trunc(2 x 0.2667 x 10) = 5.
    EXPECT_EQ(u->CalcExpGain(*target, 45, nullptr), 3);
    ZorRoomState room;
    room.m_StructID = 10;
    EXPECT_EQ(u->CalcExpGain(*target, 45, &room), 5);
}

TEST_F(ZorTaskUnitEntityTest, StatusesHitPointsAndRecovery)
{
    ZorTaskUnitEntity* u = Place(ZorCore::kUnitEnemyList, 61, 1, 5, 5, 21, 21);
    g_DBZorUnit.GetRow(61)->m_DefRate[5] = 50;
    EXPECT_TRUE(u->ApplyStatus(1, 800));
    EXPECT_EQ(u->m_RemainTime[1], 400);
    EXPECT_FALSE(u->ApplyStatus(1, 800)); // running: not restarted
    g_DBZorUnit.GetRow(61)->m_DefRate[5] = 100;
    EXPECT_FALSE(u->ApplyStatus(2, 800)); // fully resisted
    // Poison on tick 0 of the counter takes at least 1 HP and allows no regeneration that tick.
    u->SetFrameCount(0);
    u->UpdateHitPoints();
    EXPECT_EQ(u->m_HP, 87); // 90 + min(trunc(90 / -30), -1)
    EXPECT_EQ(u->m_RemainTime[1], 399);
    u->m_HP = 1;
    u->SetFrameCount(100);
    const int32_t left = State().m_RemainEnemyLeft;
    u->UpdateHitPoints();
    EXPECT_TRUE(u->IsBeingRemoved());
    EXPECT_EQ(State().m_RemainEnemyLeft, left - 1);

    ZorTaskUnitEntity* resting = Place(ZorCore::kUnitReadyList, 12, 1, -1, -1, -1, -1);
    resting->m_HP = 10;
    resting->m_RemainTime[2] = 3;
    resting->SetFrameCount(0);
    resting->UpdateRecovery(); // counter 0: heals 1 (rate 0), status - 2
    resting->UpdateRecovery(); // counter 1: no heal
    EXPECT_EQ(resting->m_HP, 11);
    EXPECT_EQ(resting->m_RemainTime[2], 0);
    EXPECT_TRUE(resting->NeedsRecovery());
}

TEST_F(ZorTaskUnitEntityTest, SurvivalRollsAndFalls)
{
    ZorUserData& s = State();
    s.GetStructState(15)->m_RoomActiveCount = 10; // survival chance 1.0
    ZorTaskUnitEntity* unit = Place(ZorCore::kUnitPlayerList, 12, 1, 2, 1, 9, 5);
    s.GetRoughRoom(2, 1)->m_UnitEntityIDs[0] = static_cast<int64_t>(unit->GetTaskID());
    unit->m_SlotIndex = 0;
    ZorReward reward;
    EXPECT_TRUE(unit->TakeDamage(1000, reward, false, false));
    EXPECT_EQ(unit->GetParent(), List(ZorCore::kUnitReadyList)); // fled
    EXPECT_EQ(s.GetRoughRoom(2, 1)->m_UnitEntityIDs[0], 0);
    EXPECT_EQ(reward.damage, 1000);
    ZorTaskUnitEntity* trap = Place(ZorCore::kUnitPlayerList, 4, 1, 2, 1, 8, 5);
    EXPECT_TRUE(trap->TakeDamage(1000, reward, false, false));
    EXPECT_TRUE(trap->IsBeingRemoved()); // a trap never survives
    ZorTaskUnitEntity* hurt = Place(ZorCore::kUnitPlayerList, 12, 1, 2, 1, 10, 5);
    EXPECT_FALSE(hurt->TakeDamage(5, reward, false, false));
    EXPECT_EQ(hurt->m_UnitPhase, 2);
    EXPECT_FALSE(hurt->StartSkill(1, 999999));
    ZorTaskUnitEntity* left = Place(ZorCore::kUnitEnemyList, 61, 1, 2, 1, 8, 5);
    ASSERT_TRUE(hurt->StartSkill(1, static_cast<int64_t>(left->GetTaskID())));
    EXPECT_EQ(hurt->m_ShowDir, 0); // same row, target to the left
    EXPECT_EQ(hurt->m_UnitPhase, 1);
}

TEST_F(ZorTaskUnitEntityTest, StandingStillTakesAThousandUnitsAtItsPace)
{
    ZorTaskUnitEntity* u = Place(ZorCore::kUnitEnemyList, 61, 1, 2, 1, 9, 5);
    u->m_MovePath.assign(1, ZorMovePathElement(-1, 9, 5));
    int ticks = 0;
    while (!u->m_MovePath.empty() && ticks < 100)
    {
        u->UpdateDefence();
        ++ticks;
    }
    EXPECT_EQ(ticks, 53); // speed 1 / 2 + 19 = 19: 53 steps reach 1007
}

TEST_F(ZorTaskUnitEntityTest, RoomSummonsOneUnitAtATimeAndTrapsPerWorkshop)
{
    ZorUserData& s = State();
    g_DBZorUnit.GetRow(12)->m_CreateTime = 5;
    g_DBZorUnit.GetRow(4)->m_CreateTime = 5;
    ASSERT_TRUE(m_Core->SummonUnit(5, 5, 0, 12));
    ASSERT_TRUE(m_Core->SummonUnit(5, 5, 1, 12));
    ASSERT_TRUE(m_Core->SummonUnit(5, 5, 2, 4));
    ASSERT_TRUE(m_Core->SummonUnit(5, 5, 3, 4));
    s.GetStructState(6)->m_RoomActiveCount = 2; // two working workshops
    m_Core->UpdatePlayerUnits();
    auto left = [&](int slot)
    { return m_Core->FindUnit(s.GetRoughRoom(5, 5)->m_UnitEntityIDs[slot])->m_CreateTimeLeft; };
    EXPECT_EQ(left(0), 4);
    EXPECT_EQ(left(1), 5);
    EXPECT_EQ(left(2), 4);
    EXPECT_EQ(left(3), 4);
    s.GetStructState(6)->m_RoomActiveCount = 1;
    m_Core->UpdatePlayerUnits();
    EXPECT_EQ(left(2), 3);
    EXPECT_EQ(left(3), 4);
}

TEST_F(ZorTaskUnitEntityTest, StageDifficultyByRushMode)
{
    ZorUserData& s = State();
    s.m_Inst_RushMode = 2;
    s.m_RemainEnemyTotal = 25;
    m_Core->PlanDefenceInstance();
    EXPECT_FLOAT_EQ(s.m_Inst_Difficulty, 0.0f);
    EXPECT_EQ(s.m_RashTimes, 4);
    EXPECT_GE(s.m_RemainEnemyTotal, 35);
    EXPECT_LE(s.m_RemainEnemyTotal, 39);
    EXPECT_EQ(s.m_RemainEnemyLeft, s.m_RemainEnemyTotal);
    EXPECT_FLOAT_EQ(s.m_AppearTimeMultiFactor, 0.5f);
    s.m_Inst_RushMode = 0;
    s.m_RemainEnemyTotal = 21;
    s.m_Notoriety = 1;
    m_Core->PlanDefenceInstance();
    EXPECT_EQ(s.m_RemainEnemyTotal, 25);        // at least 20, then raised to 25 with notoriety
    EXPECT_FLOAT_EQ(s.m_Inst_Difficulty, 1.0f); // halved for few towns on level 0, doubled for notoriety
    EXPECT_GE(s.m_ElectLevel, 31);
}
