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

namespace
{

DBZorSkillData* ChoiceSkill(int id, int type, int restrict, int cooling)
{
    DBZorSkillData* k = g_DBZorSkill.GetRow(static_cast<uint32_t>(id));
    k->m_ID = id;
    k->m_Type = type;
    k->m_Range = 1;
    k->m_Power = 10;
    k->m_RestrictFlag = restrict;
    k->m_ReadyTime = 1;
    k->m_CoolingTime = cooling;
    return k;
}

} // namespace

// A defender's choice: a ready slot whose search finds no one (a heal with nobody hurt) is passed over;
// a special attack (restrict flag) is used only while the room's restrict time is 0 and sets it to 480,
// which the room pass counts down a tick at a time; meanwhile the room's other defenders use their plain
// attacks, cooling stretched by the room's level 5. A trap strikes only an invader on its own cell; an
// invader goes for a trap only with passive 35.
TEST_F(ZorTaskUnitEntityTest, SkillTargetsAndTheSpecialAttackRestriction)
{
    ZorUserData& s = State();
    ChoiceSkill(40, 1, 1, 100);
    ChoiceSkill(41, 1, 0, 50);
    ChoiceSkill(42, 2, 0, 30);
    ChoiceSkill(43, 0, 0, 0)->m_SpecialType = 31;
    ChoiceSkill(44, 0, 0, 0)->m_SpecialType = 35;
    ZorRoomState* room = s.GetRoughRoom(5, 5);
    ZorTaskUnitEntity* invader = Place(ZorCore::kUnitEnemyList, 61, 1, 5, 5, 22, 21);
    const int64_t invaderID = static_cast<int64_t>(invader->GetTaskID());

    ZorTaskUnitEntity* caster = Place(ZorCore::kUnitPlayerList, 12, 1, 5, 5, 21, 21);
    zortest::Arm(caster, {42, 40});
    for (int tick = 0; tick < 100 && caster->m_UnitPhase != 1; ++tick)
        caster->UpdateDefence();
    ASSERT_EQ(caster->m_UnitPhase, 1);
    EXPECT_EQ(caster->m_UsingSkillID, 40);
    EXPECT_EQ(caster->m_TargetTaskID, invaderID);
    EXPECT_EQ(caster->m_Skills[1].m_ChargeTime, 0);
    EXPECT_EQ(caster->m_SkillCoolingTime, 100);
    EXPECT_EQ(room->m_SpecialAttackRestrictTime, 480);

    ZorTaskUnitEntity* other = Place(ZorCore::kUnitPlayerList, 12, 1, 5, 5, 20, 21);
    for (int tick = 0; tick < 20; ++tick)
    {
        zortest::Arm(other, {40, 41, 0, 0, 0, 43});
        room->m_RoomEffectLevels[5] = 2;
        other->UpdateDefence();
        ASSERT_EQ(other->m_UsingSkillID, 41) << tick;
        EXPECT_EQ(other->m_SkillCoolingTime, 34); // (0.5 x 2 + 1) x (50 / 10 with passive 31) + 24
    }
    for (int tick = 0; tick < 479; ++tick)
        m_Core->UpdateRooms();
    EXPECT_EQ(room->m_SpecialAttackRestrictTime, 1);
    m_Core->UpdateRooms();
    EXPECT_EQ(room->m_SpecialAttackRestrictTime, 0);
    zortest::Arm(other, {40});
    for (int tick = 0; tick < 100 && other->m_UnitPhase != 1; ++tick)
        other->UpdateDefence();
    EXPECT_EQ(other->m_UsingSkillID, 40);
    EXPECT_EQ(room->m_SpecialAttackRestrictTime, 480);

    ZorTaskUnitEntity* trap = Place(ZorCore::kUnitPlayerList, 4, 1, 5, 5, 22, 22);
    zortest::Arm(trap, {41});
    trap->UpdateDefence(); // the invader stands a cell away
    EXPECT_EQ(trap->m_UnitPhase, 0);
    invader->m_DetailPosY = 22;
    trap->UpdateDefence();
    EXPECT_EQ(trap->m_UnitPhase, 1);
    EXPECT_EQ(trap->m_TargetTaskID, invaderID);

    // In room A an invader a cell from a trap, the only defender there; its wander is undone every tick
    // so it stays in reach.
    ZorTaskUnitEntity* snare = Place(ZorCore::kUnitPlayerList, 4, 1, 1, 1, 5, 4);
    s.GetRoughRoom(1, 1)->m_UnitEntityIDs[0] = static_cast<int64_t>(snare->GetTaskID());
    ZorTaskUnitEntity* raider = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 1, 5, 5);
    for (int tick = 0; tick < 40; ++tick)
    {
        zortest::Arm(raider, {41});
        raider->UpdateDefence();
        raider->m_MovePath.clear();
        ASSERT_EQ(raider->m_UnitPhase, 0) << tick;
    }
    for (int tick = 0; tick < 100 && raider->m_UnitPhase != 1; ++tick)
    {
        zortest::Arm(raider, {41, 0, 0, 0, 0, 44});
        raider->UpdateDefence();
        raider->m_MovePath.clear();
    }
    EXPECT_EQ(raider->m_UnitPhase, 1);
    EXPECT_EQ(raider->m_TargetTaskID, static_cast<int64_t>(snare->GetTaskID()));
}

// An invader needing a new goal walks one room at a time: its path ends at the first cell of the next
// room on the way, also when the goal lies two rooms on or the walk starts in a passage; a goal in its
// own room is walked whole.
TEST_F(ZorTaskUnitEntityTest, NewGoalsAreWalkedOneRoomAtATime)
{
    ZorUserData& s = State();
    s.m_FloorExtendLevel = 1; // D below the throne room B, through the passage (9, 7)
    s.OpenRoomsOfLevel(1);
    s.RebuildBlockCells();
    const struct
    {
        int x, z, goalRX, goalRZ, endX, endZ, length;
    } cases[] = {
        {5, 5, 2, 1, 8, 5, 3}, // A to the throne room B: up to B's first cell
        {5, 5, 2, 2, 8, 5, 3}, // A to D through B: the same
        {7, 5, 2, 2, 8, 5, 1}, // from the passage between A and B
        {4, 4, 1, 1, -1, -1, 0}, // a cell of A itself
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.z << " to room " << c.goalRX << "," << c.goalRZ);
        s.m_ThroneRoomPosX = c.goalRX; // no goal visits left: the invader heads for the throne room
        s.m_ThroneRoomPosY = c.goalRZ;
        ZorTaskUnitEntity* u = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 1, c.x, c.z);
        u->m_AICount = 0;
        u->m_ExceedGauge = 10000;
        u->UpdateDefence();
        ASSERT_FALSE(u->m_MovePath.empty());
        const ZorRoomState* start = s.GetRoomOfBlock(c.x, c.z);
        const ZorMovePathElement& last = u->m_MovePath.back();
        if (c.endX >= 0)
        {
            EXPECT_EQ(last.m_PosX, c.endX);
            EXPECT_EQ(last.m_PosZ, c.endZ);
            EXPECT_EQ(u->m_MovePath.size(), static_cast<size_t>(c.length));
        }
        else
            EXPECT_EQ(s.GetRoomOfBlock(last.m_PosX, last.m_PosZ), start);
        for (size_t i = 0; i + 1 < u->m_MovePath.size(); ++i)
        {
            const ZorRoomState* room = s.GetRoomOfBlock(u->m_MovePath[i].m_PosX, u->m_MovePath[i].m_PosZ);
            EXPECT_TRUE(room == nullptr || room == start) << i;
        }
        u->Kill();
    }
}
