// The rules computed by hand from their formulas: damage, rewards, costs, income, the master's damage,
// arrival timing, party levels, routes, the end of a stage, and the mended cases.
#include "ZorTestSupport.h"

#include "core/GxRandom.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectSource.h"

#include <algorithm>

namespace
{

struct Recorder : ZorRulesListener
{
    void OnTextLog(const std::wstring& line) override { m_Log.push_back(line); }
    void OnScreenEffect(const wchar_t* name, float, float, float) override { m_Effects.push_back(name); }
    std::vector<std::wstring> m_Log;
    std::vector<std::wstring> m_Effects;
};

DBZorSkillData* SkillRow(int id, int type, int power, int element)
{
    DBZorSkillData* s = g_DBZorSkill.GetRow(id);
    s->m_ID = id;
    s->m_Type = type;
    s->m_Power = power;
    s->m_Element = element;
    s->m_Range = 1;
    return s;
}

} // namespace

class ZorRulesTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        m_Core->SetListener(&m_Recorder);
        m_Core->m_SkipBattleVoice = true;
        Unit(61, 5, 0, 100, 10, 1);
        g_DBZorUnit.GetRow(61)->m_CostBone = 30;
        g_DBZorUnit.GetRow(61)->m_CostMagic = 10;
        g_DBZorUnit.GetRow(61)->m_CostGold = 20;
        State().InitNewGame();
    }

    // A unit of the list standing at a cell of a room, at full HP and active.
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

    Recorder m_Recorder;
};

TEST_F(ZorRulesTest, DamageFormulasByHand)
{
    Unit(20, 1, 0, 100, 15, 1);               // the defender kind, class 1
    SkillRow(8, 1, 100, 1);                   // attack, power 100, element 1
    SkillRow(9, 0, 0, 0)->m_SpecialType = 20; // slayer of classes 5 and 6
    g_DBZorUnit.GetRow(61)->m_DefRate[0] = 20;
    State().m_ReinforceMonster[1] = 1;
    ZorTaskUnitEntity* defender = Place(ZorCore::kUnitPlayerList, 20, 11, 2, 1, 9, 5);
    defender->m_Skills[5].m_SkillID = 9;
    ZorTaskUnitEntity* invader = Place(ZorCore::kUnitEnemyList, 61, 1, 2, 1, 10, 5);
    ZorRoomState* room = State().GetRoughRoom(2, 1);
    room->m_RoomEffectLevels[7] = 1;
    EXPECT_EQ(defender->GetAttack(), 33);
    EXPECT_EQ(m_Core->CalcDamage(8, *defender, room, *invader), 42); // trunc(33 x (0.8 + 0.1 + 0.4))

    Unit(62, 6, 0, 100, 500, 1);
    room->m_RoomEffectLevels[7] = 0;
    State().m_ReinforceMonster[1] = 0;
    ZorTaskUnitEntity* brute = Place(ZorCore::kUnitEnemyList, 62, 1, 2, 1, 8, 5);
    ZorTaskUnitEntity* weak = Place(ZorCore::kUnitPlayerList, 12, 1, 2, 1, 9, 4);
    EXPECT_EQ(m_Core->CalcEnemyDamage(8, *weak, room, *brute), 95); // capped at 0.95 x 100

    g_DBZorUnit.GetRow(61)->m_DefRate[3] = 100;
    ZorTaskUnitEntity* trap = Place(ZorCore::kUnitPlayerList, 4, 1, 2, 1, 8, 4);
    EXPECT_EQ(m_Core->CalcTrapDamage(8, room, *invader, *trap), 1);
    invader->m_RemainTime[3] = 5;
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(m_Core->CheckTrapHit(8, room, *invader));
    SkillRow(10, 1, 100, 0)->m_SpecialType = 1;
    g_DBZorSkill.GetRow(10)->m_SpecialRate = 100;
    EXPECT_EQ(m_Core->RollSpecialEffect(10, *trap), 0);
    EXPECT_EQ(m_Core->RollSpecialEffect(10, *invader), 1);
}

TEST_F(ZorRulesTest, RewardsCostsAndIncome)
{
    ZorUserData& s = State();
    ZorRoomState* e = s.GetRoughRoom(5, 5);
    e->m_StructID = 7;
    ZorTaskUnitEntity* invader = Place(ZorCore::kUnitEnemyList, 61, 11, 5, 5, 21, 21);
    ZorReward reward;
    m_Core->AddDefeatReward(reward, *invader, e);
    EXPECT_EQ(reward.bone, 58); // trunc(30 x 1.5 x 1.3)
    EXPECT_EQ(reward.magic, 15);
    EXPECT_EQ(reward.gold, 30);

    const int32_t bone = s.m_Resource_Bone;
    std::vector<int32_t> paid;
    for (int32_t t = 0; t < 1200; ++t)
    {
        s.m_TimerCount = t;
        const int32_t before = s.m_Resource_Bone;
        m_Core->UpdateRooms();
        if (s.m_Resource_Bone != before)
            paid.push_back(t);
    }
    EXPECT_EQ(paid, (std::vector<int32_t>{599, 1199}));
    EXPECT_EQ(s.m_Resource_Bone, bone + 16);
    e->m_CreateTimeLeft = 5000;
    s.m_TimerCount = 599;
    m_Core->UpdateRooms();
    EXPECT_EQ(s.m_Resource_Bone, bone + 16);
    EXPECT_EQ(m_Core->AddBone(200000, false), 99999);

    e->m_StructID = 1;
    e->m_CreateTimeLeft = 0;
    s.RecountStructs();
    g_DBZorStruct.GetRow(2)->m_CreateTime = 100;
    s.GetStructState(2)->m_Limit = 0;
    s.m_Resource_Gold = 5000;
    ASSERT_TRUE(m_Core->BuildStruct(2, 5, 5));
    EXPECT_EQ(e->m_CreateTimeTotal, 100);
    const int32_t gold = s.m_Resource_Gold;
    const int32_t magic = s.m_Resource_Magic;
    ASSERT_TRUE(m_Core->BuildStruct(2, 3, 1)); // the locked room, dug as part of the build
    EXPECT_EQ(s.GetRoughRoom(3, 1)->m_CreateTimeTotal, 200);
    EXPECT_EQ(gold - s.m_Resource_Gold, 2 * 200 + 400);
    EXPECT_EQ(magic - s.m_Resource_Magic, 100);
    EXPECT_EQ(s.GetStructCostGold(2, 1, 1), 3 * 200 + 800);
}

TEST_F(ZorRulesTest, ThroneStrikeAndMasterLines)
{
    ZorUserData& s = State();
    ZorTaskUnitEntity* invader = Place(ZorCore::kUnitEnemyList, 61, 1, 2, 1, 9, 5);
    invader->m_ExceedGauge = 10000;
    const int32_t bone = s.m_Resource_Bone;
    const int32_t magic = s.m_Resource_Magic;
    const int32_t gold = s.m_Resource_Gold;
    invader->UpdateDefence();
    EXPECT_TRUE(invader->IsBeingRemoved());
    EXPECT_EQ(s.m_Resource_AstarosHP, 950);
    EXPECT_EQ(s.m_Resource_Bone, bone + 15);
    EXPECT_EQ(s.m_Resource_Magic, magic + 5);
    EXPECT_EQ(s.m_Resource_Gold, gold);
    EXPECT_EQ(s.m_RemainEnemyLeft, 25); // it left; it did not fall

    s.m_Resource_AstarosHP = 501;
    m_Core->DamageMaster(1);
    const std::wstring line = m_Recorder.m_Log.back();
    EXPECT_TRUE(line == L"くっ、なかなかやるではないか…" || line == L"ぐう、今のは効いたぞ…");
    m_Core->DamageMaster(900);
    EXPECT_EQ(s.m_Resource_AstarosHP, 0);
    EXPECT_EQ(m_Recorder.m_Log.back(), L"我が敗れるというのか！");
}

TEST_F(ZorRulesTest, StageEndsOnceAndVictoryWinsTies)
{
    ZorUserData& s = State();
    s.m_RemainEnemyLeft = 0;
    s.m_Resource_AstarosHP = 0;
    EXPECT_EQ(m_Core->UpdateDefence(0), 0);
    EXPECT_EQ(s.m_GamePhase, 6);
    EXPECT_EQ(m_Core->UpdateDefence(3), 0);
    EXPECT_EQ(std::count(m_Recorder.m_Effects.begin(), m_Recorder.m_Effects.end(), L"EFE_DEF_VICTORY"), 1);
    s.m_RemainEnemyLeft = 4;
    s.m_GamePhase = 0;
    m_Core->UpdateDefence(1);
    EXPECT_EQ(s.m_GamePhase, 7);
}

TEST_F(ZorRulesTest, ArrivalTimingRefillAndPartyLevels)
{
    ZorUserData& s = State();
    const wchar_t* names[] = {L"PTファイターX3", L"PTシーフX3", L"PTソーサラーX2", L"PTシャーマンX2",
                              L"PTプリーストX2"};
    for (int i = 0; i < 5; ++i)
    {
        DBZorEnemyData* p = g_DBZorEnemy.GetRow(i + 1);
        p->m_ID = i + 1;
        p->m_Name = names[i];
        p->m_UnitName[0] = L"U61";
        p->m_LevelMultiFactor = i == 0 ? 2.0f : 1.0f;
    }
    s.InitNewGame();
    s.m_RashTimes = 1;
    GxRandom::Seed(3);
    m_Core->PlanEnemyArrivals(3);
    ASSERT_FALSE(s.m_NextEnemies.empty());
    EXPECT_EQ(s.m_NextEnemies.front().m_PartyID, 1);
    EXPECT_EQ(s.m_NextEnemies.front().m_AppearFramesLeft, 1440);
    while (s.m_NextEnemies.size() > 1)
        s.m_NextEnemies.pop_back();
    for (int tick = 1; tick <= 1440; ++tick)
    {
        m_Core->UpdateEnemyArrival();
        EXPECT_EQ(m_Core->SnapshotUnits(ZorCore::kUnitEnemyList).empty(), tick < 1440) << tick;
        if (tick <= 2)
            EXPECT_EQ(s.m_NextEnemies.size(), static_cast<size_t>(tick + 1));
    }
    EXPECT_EQ(m_Core->GetPartyLevel(1, 100), 30);
    s.m_Notoriety = 1;
    EXPECT_EQ(m_Core->GetPartyLevel(1, 100), 33);

    // Named parties missing: the plan stops after passes that queue nothing, with a log line.
    s.m_Notoriety = 0;
    dbtest::ResetTables(g_DBZorEnemy);
    m_Core->PlanEnemyArrivals(25);
    EXPECT_TRUE(s.m_NextEnemies.empty());
    EXPECT_TRUE(m_Log.Contains(L"ZorCore::PlanEnemyArrivals/敵パーティを追加できません(0/25)\n"));
}

TEST_F(ZorRulesTest, RoutesFollowTheDistanceField)
{
    ZorTaskUnitEntity* walker = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 1, 4, 4);
    ASSERT_TRUE(walker->FindPathTo(10, 6));
    const int32_t distance = 6 + 2; // 6 steps east, 2 south
    ASSERT_EQ(walker->m_MovePath.size(), static_cast<size_t>(distance));
    int32_t x = 4, z = 4;
    for (const ZorMovePathElement& step : walker->m_MovePath)
    {
        EXPECT_EQ(std::abs(step.m_PosX - x) + std::abs(step.m_PosZ - z), 1);
        x = step.m_PosX;
        z = step.m_PosZ;
    }
    EXPECT_EQ(x, 10);
    EXPECT_EQ(z, 6);
    EXPECT_FALSE(walker->FindPathTo(13, 5)); // inside the undug room
    EXPECT_TRUE(walker->m_MovePath.empty());
}

TEST_F(ZorRulesTest, MendedCases)
{
    ZorUserData& s = State();
    EXPECT_FALSE(m_Core->SummonUnit(5, 5, 10, 12));
    EXPECT_FALSE(m_Core->SummonUnit(5, 5, -1, 12));
    EXPECT_TRUE(m_Core->SummonUnit(5, 5, 0, 12));
    EXPECT_FALSE(m_Core->SummonUnit(5, 5, 0, 12)); // occupied
    EXPECT_EQ(s.m_Resource_LeadershipUsing, 2);
    EXPECT_EQ(s.GetUnitState(12)->m_UnitCreateCount, 1);

    // Invaders swept at a stage's start give their count back.
    s.GetUnitState(61)->m_UnitCreateCount = 2;
    Place(ZorCore::kUnitEnemyList, 61, 1, 1, 1, 4, 4);
    Place(ZorCore::kUnitEnemyList, 61, 1, 1, 1, 5, 4)->Kill(); // fell already: counted down then
    m_Core->BeginDefence();
    EXPECT_EQ(s.GetUnitState(61)->m_UnitCreateCount, 1);

    // An invader felled by its own skill falls as an invader: no leadership is given back.
    ZorNcPoolUnit::Initialize();
    SkillRow(11, 1, 10, 0)->m_SelfDamage = 1000;
    ZorTaskUnitEntity* invader = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 1, 4, 4);
    ZorTaskUnitEntity* target = Place(ZorCore::kUnitPlayerList, 12, 1, 1, 1, 5, 4);
    const int32_t left = s.m_RemainEnemyLeft;
    const int32_t leadership = s.m_Resource_LeadershipUsing;
    ASSERT_TRUE(invader->StartSkill(11, static_cast<int64_t>(target->GetTaskID())));
    // A project with motions: without them the skill never lands.
    struct Source : ZorNcProjectSource
    {
        const void* GetProject(const std::wstring&, const std::wstring&) override { return this; }
        const void* FindMotion(const void*, const std::wstring&, const std::wstring&) override { return this; }
        int32_t GetMotionLength(const void*) const override { return 30; }
        void ReleaseProject(const void*) override {}
    } source;
    g_DBZorUnit.GetRow(61)->m_GNCName = L"u61";
    g_DBZorUnit.GetRow(61)->m_MotionGroup = L"g";
    ZorNcPoolUnit::SetProjectSource(&source);
    while (ZorNcPoolUnit::PrepareLoading(L"", L"") > 0)
    {
    }
    invader->m_MotionTime = 10;
    invader->UpdateDefence();
    EXPECT_TRUE(invader->IsBeingRemoved());
    EXPECT_EQ(s.m_RemainEnemyLeft, left - 1);
    EXPECT_EQ(s.m_Resource_LeadershipUsing, leadership);
    ZorNcPoolUnit::ReleaseAll();
    ZorNcPoolUnit::SetProjectSource(nullptr);
}
