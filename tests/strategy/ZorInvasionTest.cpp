#include "ZorTestSupport.h"

#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectSource.h"

#include <vector>

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

namespace
{

// Every unit's motions 30 frames long: a field skill lands at frame 10 and ends at 30.
class ThirtyFrameMotions : public ZorNcProjectSource
{
public:
    const void* GetProject(const std::wstring&, const std::wstring&) override { return this; }
    const void* FindMotion(const void*, const std::wstring&, const std::wstring&) override { return this; }
    int32_t GetMotionLength(const void*) const override { return 30; }
    void ReleaseProject(const void*) override {}
};

} // namespace

// Damage taken on the field: HP never below 0, an idle unit flinches, and at 0 a player unit goes back to
// the ready list at once (no survival roll) while an enemy pays its reward and falls.
TEST_F(ZorInvasionTest, FieldDamageFlinchesAndFalls)
{
    struct Case
    {
        const char* what;
        bool enemy;
        int hp, damage, phase;
        bool fell;
        int hpAfter, phaseAfter;
    } cases[] = {
        {"a player unit hurt while idle flinches", false, 50, 20, 0, false, 30, 2},
        {"a player unit hurt in its skill keeps on", false, 50, 20, 1, false, 30, 1},
        {"a player unit brought to 0 falls", false, 50, 80, 0, true, 0, 0},
        {"an enemy hurt while idle flinches", true, 50, 20, 0, false, 30, 2},
        {"an enemy brought to exactly 0 falls", true, 50, 50, 0, true, 0, 0},
    };
    int enemySlot = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ZorTaskUnitEntity* u = nullptr;
        if (c.enemy)
            u = m_Core->FindUnit(Enemy().m_UnitEntityIDs[enemySlot++]);
        else
        {
            u = AddUnit(ZorCore::kUnitReadyList, 12, 1);
            ASSERT_TRUE(m_Core->AddUnitToField(static_cast<int64_t>(u->GetTaskID()), 0, 2));
        }
        ASSERT_NE(u, nullptr);
        const int64_t id = static_cast<int64_t>(u->GetTaskID());
        const int32_t slot = u->m_FieldIndex;
        u->m_HP = c.hp;
        u->m_UnitPhase = c.phase;
        u->m_MotionIndex = c.phase;
        ZorReward reward;
        EXPECT_EQ(u->TakeFieldDamage(c.damage, reward), c.fell);
        EXPECT_EQ(u->m_HP, c.hpAfter);
        EXPECT_EQ(reward.damage, c.damage);
        if (!c.fell)
        {
            EXPECT_EQ(u->m_UnitPhase, c.phaseAfter);
            EXPECT_EQ(u->m_MotionIndex, c.phaseAfter);
            EXPECT_EQ(reward.bone, 0);
            if (!c.enemy)
                ASSERT_TRUE(m_Core->RemoveUnitFromField(0, 2));
            continue;
        }
        if (c.enemy)
        {
            EXPECT_TRUE(u->IsBeingRemoved());
            EXPECT_EQ(Enemy().m_UnitEntityIDs[slot], 0);
            EXPECT_EQ(reward.bone, 14); // cost 10 at level 9: x (1 + 8 / 20)
        }
        else
        {
            EXPECT_FALSE(u->IsBeingRemoved());
            EXPECT_EQ(u->GetParent(), List(ZorCore::kUnitReadyList));
            EXPECT_EQ(u->m_FieldPos, -1);
            EXPECT_EQ(State().m_FieldFormations[0].m_UnitEntityIDs[2], 0);
            EXPECT_EQ(State().m_FieldFormations[0].m_TotalLerderShip, 0);
            EXPECT_EQ(reward.bone, 0);
        }
        EXPECT_EQ(m_Core->FindUnit(id), u);
    }
}

// The per-tick HP rule of the field: poison on every 100th frame, passive 18 on every 80th, clamped to
// [0, maximum]; status timers run down while the unit stands; at 0 the unit falls as from damage.
TEST_F(ZorInvasionTest, FieldHitPointsPoisonRegenerateAndFall)
{
    DBZorSkillData* regen = g_DBZorSkill.GetRow(50);
    regen->m_ID = 50;
    regen->m_SpecialType = 18;
    struct Case
    {
        const char* what;
        bool enemy, poisoned, regenerates;
        int hp, frame;
        int hpAfter, timerAfter;
        bool fell;
    } cases[] = {
        {"poison on a 100th frame takes a thirtieth", false, true, false, 50, 200, 47, 9, false},
        {"poison waits between", false, true, false, 50, 201, 50, 9, false},
        {"poison before regeneration on a shared frame", false, true, true, 50, 400, 47, 9, false},
        {"regeneration on an 80th frame gives 2", false, false, true, 50, 160, 52, 0, false},
        {"regeneration stops at the maximum", false, false, true, 99, 80, 100, 0, false},
        {"a player unit poisoned to 0 falls", false, true, false, 2, 100, 0, 10, true},
        {"an enemy poisoned to 0 pays its reward and falls", true, true, false, 1, 100, 0, 10, true},
        {"a unit at 0 is left alone", false, true, false, 0, 100, 0, 10, false},
    };
    int enemySlot = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ZorTaskUnitEntity* u = nullptr;
        if (c.enemy)
            u = m_Core->FindUnit(Enemy().m_UnitEntityIDs[enemySlot++]);
        else
        {
            u = AddUnit(ZorCore::kUnitReadyList, 12, 1);
            ASSERT_TRUE(m_Core->AddUnitToField(static_cast<int64_t>(u->GetTaskID()), 1, 3));
        }
        ASSERT_NE(u, nullptr);
        u->m_Skills[5].m_SkillID = c.regenerates ? 50 : 0;
        u->m_RemainTime[1] = c.poisoned ? 10 : 0;
        u->m_HP = c.hp;
        u->SetFrameCount(c.frame);
        const int bone = State().m_Resource_Bone;
        u->UpdateFieldHitPoints();
        EXPECT_EQ(u->m_HP, c.hpAfter);
        EXPECT_EQ(u->m_RemainTime[1], c.timerAfter);
        if (c.enemy)
        {
            EXPECT_EQ(u->IsBeingRemoved(), c.fell);
            EXPECT_EQ(State().m_Resource_Bone - bone, c.fell ? 14 : 0);
        }
        else
        {
            EXPECT_EQ(u->GetParent() == List(ZorCore::kUnitReadyList), c.fell);
            EXPECT_EQ(u->m_FieldPos == -1, c.fell);
            if (!c.fell && u->m_FieldPos != -1)
                ASSERT_TRUE(m_Core->RemoveUnitFromField(1, 3));
        }
    }
}

// A field hit never kills outright (special 6) and never drains charges (special 7), even when the skill
// rolls them every time; on the field the hit only takes its damage.
TEST_F(ZorInvasionTest, FieldHitsHaveNoInstantDeathOrChargeDrain)
{
    ThirtyFrameMotions motions;
    ZorNcPoolUnit::SetProjectSource(&motions);
    for (int id : {12, 61})
    {
        g_DBZorUnit.GetRow(id)->m_GNCName = L"unit";
        g_DBZorUnit.GetRow(id)->m_MotionGroup = L"g";
    }
    ZorNcPoolUnit::Initialize();
    while (ZorNcPoolUnit::PrepareLoading(L"gnc/", L"gnc/gis/") > 0)
        ;
    DBZorSkillData* sealed = g_DBZorSkill.GetRow(45);
    sealed->m_ID = 45;
    sealed->m_Type = 1;
    sealed->m_SealFlag = 1;
    for (int special : {6, 7})
    {
        SCOPED_TRACE(special);
        DBZorSkillData* k = g_DBZorSkill.GetRow(44);
        k->m_ID = 44;
        k->m_Type = 1;
        k->m_Range = 1;
        k->m_Power = 100;
        k->m_ReadyTime = 1;
        k->m_SpecialType = special;
        k->m_SpecialRate = 100;
        // Every enemy stunned (status 3: hit for sure, no skill of its own), at full HP, a sealed skill charged.
        std::vector<ZorTaskUnitEntity*> enemies;
        for (int64_t id : Enemy().m_UnitEntityIDs)
            if (ZorTaskUnitEntity* e = m_Core->FindUnit(id))
            {
                e->m_HP = e->GetMaxHP();
                e->m_RemainTime[3] = 1000;
                e->m_Skills[0] = {45, 100};
                enemies.push_back(e);
            }
        ASSERT_FALSE(enemies.empty());
        ZorTaskUnitEntity* attacker = AddUnit(ZorCore::kUnitReadyList, 12, 1);
        ASSERT_TRUE(m_Core->AddUnitToField(static_cast<int64_t>(attacker->GetTaskID()), 0, 0));
        attacker->m_HP = attacker->GetMaxHP();
        attacker->m_AppearTimeLeft = attacker->m_DisappearTimeLeft = 0;
        zortest::Arm(attacker, {44});
        const int magic = State().m_Resource_Magic;
        int damage = 0;
        for (int tick = 0; tick < 40 && damage == 0; ++tick)
        {
            attacker->UpdateField();
            damage = 0;
            for (const ZorTaskUnitEntity* e : enemies)
                damage += e->GetMaxHP() - e->m_HP;
        }
        EXPECT_GT(damage, 0) << "the skill landed";
        for (const ZorTaskUnitEntity* e : enemies)
        {
            EXPECT_FALSE(e->IsBeingRemoved());
            EXPECT_GT(e->m_HP, 0);
            EXPECT_EQ(e->m_Skills[0].m_ChargeTime, 100);
        }
        EXPECT_EQ(State().m_Resource_Magic, magic);
        ASSERT_TRUE(m_Core->RemoveUnitFromField(0, 0));
    }
    ZorNcPoolUnit::ReleaseAll();
    ZorNcPoolUnit::SetProjectSource(nullptr);
}
