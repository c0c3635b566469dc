// The rules computed by hand from their formulas: damage, rewards, costs, income, the master's damage,
// arrival timing, party levels, routes, the end of a stage, and the mended cases.
#include "ZorTestSupport.h"

#include "appdata/ZorGlobals.h"
#include "core/GxRandom.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectSource.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace
{

struct Recorder : ZorRulesListener
{
    void OnTextLog(const std::wstring& line) override { m_Log.push_back(line); }
    void OnScreenEffect(const wchar_t* name, float, float, float) override { m_Effects.push_back(name); }
    void OnVoice(const std::wstring& path, int32_t) override { m_Voices.push_back(path); }
    std::vector<std::wstring> m_Log;
    std::vector<std::wstring> m_Effects;
    std::vector<std::wstring> m_Voices;
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

// The capture table of the unique invaders 61-69: each is captured (voice cell 14, result 2) only when
// its own condition holds in the room where it fell. A decoy that nearly meets it (another kind, the
// right kind still being summoned or standing beyond slot 4, the other aura, facility 13 still being
// built) leaves a plain defeat (voice cell 12, result 1).
TEST_F(ZorRulesTest, CaptureTableOfTheUniqueInvaders)
{
    ZorUserData& s = State();
    m_Core->m_SkipBattleVoice = false;
    struct Case
    {
        int id;
        int kind;      // a kind that must stand active in slots 0-4; 0 none
        int aura;      // a room effect level that must be above 0; 0 none
        int decoyKind; // stands active in slot 0 either way
        int decoyAura; // set either way
    };
    const Case cases[] = {
        {61, 12, 0, 38, 0}, {62, 38, 0, 12, 0}, {63, 55, 0, 29, 0}, {64, 29, 0, 55, 0}, {65, 0, 2, 0, 3},
        {66, 0, 3, 0, 2},   {67, 0, 0, 0, 0},   {68, 49, 0, 9, 0},  {69, 1, 0, 9, 0},   {69, 8, 0, 9, 0},
    };
    for (int kind : {12, 38, 55, 29, 49, 1, 8, 9})
        Unit(kind, 1, 0, 100, 10, 1);
    ZorRoomState* room = s.GetRoughRoom(5, 5);
    ZorTaskUnitEntity* invader = nullptr;
    for (const Case& c : cases)
        for (bool meet : {false, true})
        {
            SCOPED_TRACE(testing::Message() << c.id << " kind " << c.kind << (meet ? " met" : " decoy"));
            Unit(c.id, 5, 1, 100, 10, 1);
            DBZorVoiceData* voice = g_DBZorVoice.GetRow(static_cast<uint32_t>(c.id));
            voice->m_VoicePath = L"v/";
            voice->m_Voice[12] = L"lost";
            voice->m_Voice[14] = L"caught";
            s.GetUnitState(c.id)->m_CaptureEnabled = 1;
            std::fill(std::begin(room->m_UnitEntityIDs), std::end(room->m_UnitEntityIDs), 0);
            std::fill(std::begin(room->m_RoomEffectLevels), std::end(room->m_RoomEffectLevels), 0);
            room->m_StructID = c.id == 67 ? 13 : 0;
            room->m_CreateTimeLeft = c.id == 67 && !meet ? 5 : 0;
            auto stand = [&](int kind, int slot)
            {
                ZorTaskUnitEntity* u = Place(ZorCore::kUnitPlayerList, kind, 1, 5, 5, 21, 21);
                room->m_UnitEntityIDs[slot] = static_cast<int64_t>(u->GetTaskID());
                return u;
            };
            if (c.decoyKind)
                stand(c.decoyKind, 0);
            if (c.decoyAura)
                room->m_RoomEffectLevels[c.decoyAura] = 1;
            if (c.kind)
            {
                stand(c.kind, 5);
                stand(c.kind, 1)->m_CreateTimeLeft = meet ? 0 : 3;
            }
            if (c.aura && meet)
                room->m_RoomEffectLevels[c.aura] = 1;
            invader = Place(ZorCore::kUnitEnemyList, c.id, 1, 5, 5, 22, 21);
            m_Recorder.m_Voices.clear();
            EXPECT_EQ(m_Core->CheckCapture(*invader, room), meet);
            EXPECT_EQ(s.m_Capture_UnitID, c.id);
            EXPECT_EQ(s.m_Capture_Result, meet ? 2 : 1);
            EXPECT_EQ(m_Recorder.m_Voices, std::vector<std::wstring>{meet ? L"v/caught.wav" : L"v/lost.wav"});
        }

    // Unit 69's condition still holds: outside a room, befriended or not capturable it is a defeat.
    ASSERT_TRUE(m_Core->CheckCapture(*invader, room));
    EXPECT_FALSE(m_Core->CheckCapture(*invader, nullptr));
    EXPECT_EQ(s.m_Capture_Result, 1);
    s.GetUnitState(69)->m_FriendFlag = 2;
    EXPECT_FALSE(m_Core->CheckCapture(*invader, room));
    s.GetUnitState(69)->m_FriendFlag = 0;
    s.GetUnitState(69)->m_CaptureEnabled = 0;
    EXPECT_FALSE(m_Core->CheckCapture(*invader, room));
    s.GetUnitState(69)->m_CaptureEnabled = 1;
    Unit(70, 5, 1, 100, 10, 1); // unique, but no capture rule of its own
    s.GetUnitState(70)->m_CaptureEnabled = 1;
    EXPECT_FALSE(m_Core->CheckCapture(*Place(ZorCore::kUnitEnemyList, 70, 1, 5, 5, 22, 22), room));
    EXPECT_EQ(s.m_Capture_UnitID, 70);
    // Only unique invaders are judged at all.
    s.m_Capture_Result = 0;
    invader->m_PlayerFlag = 1;
    EXPECT_FALSE(m_Core->CheckCapture(*invader, room));
    invader->m_PlayerFlag = 0;
    g_DBZorUnit.GetRow(69)->m_UniqueFlag = 0;
    EXPECT_FALSE(m_Core->CheckCapture(*invader, room));
    EXPECT_EQ(s.m_Capture_Result, 0);
}

// The parties outside the normal waves: a rush party from the band of R' = random(5) + the elect level
// (halved at difficulty 0), a variant party from list A only at R' >= 50, a boss party, the levels of
// each from the party's factor at the elect level + 3, a party by ID at levels from the game's progress,
// and the middle unique party among the records 57-65 that may appear.
TEST_F(ZorRulesTest, RushVariantBossByIDAndMiddleUniqueParties)
{
    ZorUserData& s = State();
    using Names = std::set<std::wstring>;
    const Names rush[5] = {
        {L"PTファイターX4", L"PTシーフX4", L"PTソーサラーX4", L"PTシャーマンX4", L"PTプリーストX4", L"PT討伐隊",
         L"PT探索隊", L"PT盗賊隊"},
        {L"PT討伐隊", L"PT探索隊", L"PT盗賊隊", L"PTガーディアンX3", L"PTパラディンX3", L"PT退魔師X3",
         L"PTメイガスX3", L"PTシノビX3"},
        {L"PT精鋭討伐隊", L"PT精鋭探索隊", L"PT精鋭盗賊", L"PT精鋭司祭", L"PTガーディアン強化X2",
         L"PTメイガス強化X2", L"PT退魔師強化X2", L"PTシノビ強化X2"},
        {L"PTウォーロード", L"PTプロフェット", L"PTオーバーテイカー", L"PTトウリョウ", L"PT精鋭討伐隊",
         L"PT精鋭探索隊", L"PT精鋭盗賊", L"PT精鋭司祭"},
        {L"PTウォーロード", L"PTプロフェット", L"PTオーバーテイカー", L"PTトウリョウ"},
    };
    const Names variantA = {L"PT異形のガーディアンX3", L"PT異形のパラディンX3", L"PT異形の退魔師X3",
                            L"PT異形のメイガスX3",     L"PT異形のシノビX3",     L"PT異形の討伐隊",
                            L"PT異形の探索隊",         L"PT異形の盗賊隊",       L"PT異形の精鋭討伐隊",
                            L"PT異形の精鋭探索隊",     L"PT異形の精鋭盗賊",     L"PT異形の精鋭司祭",
                            L"PT異形のウォーロード",   L"PT異形のプロフェット", L"PT異形のオーバーテイカー",
                            L"PT異形のトウリョウ"};
    const Names variantB = {L"PT異形のファイターX4", L"PT異形のシーフX2",     L"PT異形のソーサラーX2",
                            L"PT異形のシャーマンX2", L"PT異形のプリーストX2", L"PT異形のシーフX4",
                            L"PT異形のソーサラーX4", L"PT異形のシャーマンX4", L"PT異形のプリーストX4",
                            L"PT異形の討伐隊",       L"PT異形の探索隊",       L"PT異形の盗賊隊"};
    Names variantAB = variantA;
    variantAB.insert(variantB.begin(), variantB.end());
    const Names boss = {L"PTイーガー御一行", L"PTリッチ御一行", L"PTダイダロス御一行", L"PTカラクード御一行",
                        L"PTダリアン御一行"};
    uint32_t next = 1;
    auto add = [&](const Names& names)
    {
        for (const std::wstring& name : names)
            if (ZorGlobals::FindEnemy(name) == 0)
            {
                DBZorEnemyData* row = g_DBZorEnemy.GetRow(next);
                row->m_ID = static_cast<int32_t>(next++);
                row->m_Name = name;
                row->m_UnitName[0] = L"U61";
                row->m_LevelMultiFactor = 0.5f;
            }
    };
    for (const Names& band : rush)
        add(band);
    add(variantAB);
    add(boss);
    s.m_AppearTimeMultiFactor = 0.5f;

    // Over many seeds each push queues one party of its list, every entry of the list comes up, the delay
    // is 0.5 x 1500 and the levels are trunc(0.5 x (elect level + 3)), at most 30, and that + spread.
    auto pushes = [&](int32_t (ZorCore::*push)(), int32_t low, int32_t spread)
    {
        Names seen;
        for (uint32_t seed = 0; seed < 400; ++seed)
        {
            GxRandom::Seed(seed);
            s.m_NextEnemies.clear();
            EXPECT_EQ((m_Core.get()->*push)(), 1);
            if (s.m_NextEnemies.size() != 1)
                break;
            const ZorNextEnemy& e = s.m_NextEnemies.front();
            seen.insert(g_DBZorEnemy.GetRow(static_cast<uint32_t>(e.m_PartyID))->m_Name);
            EXPECT_EQ(e.m_AppearFramesLeft, 750);
            EXPECT_EQ(e.m_LevelLow, low);
            EXPECT_EQ(e.m_LevelHigh, low + spread);
        }
        return seen;
    };
    struct Band
    {
        bool variant;
        int32_t elect;
        float difficulty;
        const Names& names;
        int32_t low;
    };
    const Band bands[] = {
        {false, 0, 1.0f, rush[0], 1},    {false, 15, 1.0f, rush[1], 9},  {false, 40, 1.0f, rush[2], 21},
        {false, 45, 1.0f, rush[3], 24},  {false, 60, 1.0f, rush[4], 30}, {false, 60, 0.0f, rush[2], 30},
        {true, 45, 1.0f, variantB, 24},  {true, 50, 1.0f, variantAB, 26}, {true, 100, 0.0f, variantAB, 30},
        {true, 99, 0.0f, variantB, 30},
    };
    for (const Band& b : bands)
    {
        SCOPED_TRACE(testing::Message() << (b.variant ? "variant " : "rush ") << b.elect << " " << b.difficulty);
        s.m_ElectLevel = b.elect;
        s.m_Inst_Difficulty = b.difficulty;
        if (b.elect == 99)
        {
            // R' 49-51 at difficulty 0: list A only from 50 on, so both lists come up, B more often.
            const Names seen = pushes(&ZorCore::PushVariantParty, b.low, 2);
            EXPECT_TRUE(std::includes(variantAB.begin(), variantAB.end(), seen.begin(), seen.end()));
            continue;
        }
        EXPECT_EQ(pushes(b.variant ? &ZorCore::PushVariantParty : &ZorCore::PushRushParty, b.low, 2), b.names);
    }
    s.m_Inst_Difficulty = 1.0f;
    s.m_ElectLevel = 20;
    EXPECT_EQ(pushes(&ZorCore::PushBossParty, 11, 1), boss);

    // A party by ID: levels from the game's progress, 1-16, with 8 and 15 more under notoriety.
    DBZorEnemyData* unique = g_DBZorEnemy.GetRow(60);
    unique->m_ID = 60;
    unique->m_Name = L"PT中ボス";
    unique->m_UnitName[0] = L"U61";
    unique->m_UnitName[2] = L"U61";
    const struct
    {
        int32_t progress, notoriety, low, high;
    } byID[] = {{0, 0, 1, 1}, {1, 0, 1, 3}, {14, 0, 14, 16}, {20, 0, 16, 16}, {0, 1, 9, 16}, {5, 1, 13, 22}};
    for (const auto& c : byID)
    {
        s.m_NextEnemies.clear();
        s.m_GameProgress = c.progress;
        s.m_Notoriety = c.notoriety;
        EXPECT_EQ(m_Core->PushPartyByID(60), 2) << c.progress;
        ASSERT_EQ(s.m_NextEnemies.size(), 1u);
        EXPECT_EQ(s.m_NextEnemies.front().m_PartyID, 60);
        EXPECT_EQ(s.m_NextEnemies.front().m_AppearFramesLeft, 750);
        EXPECT_EQ(s.m_NextEnemies.front().m_LevelLow, c.low) << c.progress << " " << c.notoriety;
        EXPECT_EQ(s.m_NextEnemies.front().m_LevelHigh, c.high) << c.progress << " " << c.notoriety;
    }

    // The middle unique party: one of the records 57-65 that may appear, none leaves the ID as it was.
    const struct
    {
        std::set<int32_t> appear, picked;
    } middles[] = {{{}, {}}, {{57}, {57}}, {{65}, {65}}, {{58, 64}, {58, 64}}, {{56, 66}, {}}};
    for (const auto& m : middles)
    {
        for (int32_t i = 50; i <= 70; ++i)
            s.GetEnemyPartyState(i)->m_AutoAppear = m.appear.count(i) ? 1 : 0;
        std::set<int32_t> picked;
        for (uint32_t seed = 0; seed < 100; ++seed)
        {
            GxRandom::Seed(seed);
            s.m_MiddleUniquePartyID = 7;
            EXPECT_EQ(m_Core->PickMiddleUniqueParty(), !m.picked.empty());
            if (!m.picked.empty())
                picked.insert(s.m_MiddleUniquePartyID);
            else
                EXPECT_EQ(s.m_MiddleUniquePartyID, 7);
        }
        EXPECT_EQ(picked, m.picked);
    }
}

// The rooms' auras, rebuilt every tick: facility 11 raises level 1 of its room and of each dug
// neighbour, facility 12 level 7 likewise, facility 15 level 7 of its room and level 8 of its dug
// neighbours; a facility still being built raises nothing, nor do undug neighbours or rooms off the grid.
// Units add their skills' auras from slots 3 and 4 (at most 4), invaders count in level 20 and wounded
// defenders (below 30 %) in level 21; traps and units not yet active add nothing.
TEST_F(ZorRulesTest, RoomAurasOfFacilitiesAndUnits)
{
    ZorUserData& s = State();
    const struct
    {
        int32_t structID, building, rx, rz, own, neighbour, total;
    } cases[] = {
        {11, 0, 4, 4, 1, 1, 3}, {12, 0, 4, 4, 7, 7, 3}, {15, 0, 4, 4, 7, 8, 3},
        {11, 5, 4, 4, 1, 1, 0}, {13, 0, 4, 4, 1, 1, 0}, {11, 0, 0, 0, 1, 1, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.structID << " at " << c.rx << "," << c.rz << " building " << c.building);
        for (ZorRoomState& room : s.m_Rooms)
        {
            room.m_StructID = 0;
            room.m_Extended = 0;
            room.m_CreateTimeLeft = 0;
            room.m_CreateTimeTotal = 0;
        }
        ZorRoomState* own = s.GetRoughRoom(c.rx, c.rz);
        own->m_StructID = c.structID;
        own->m_Extended = 1;
        own->m_CreateTimeLeft = c.building;
        // Dug: the rooms above and to the right (when on the grid); the others around stay undug.
        ZorRoomState* dug[] = {s.GetRoughRoom(c.rx, c.rz - 1), s.GetRoughRoom(c.rx + 1, c.rz)};
        for (ZorRoomState* r : dug)
            if (r)
                r->m_Extended = 1;
        m_Core->UpdateRooms();
        int32_t total = 0;
        for (const ZorRoomState& room : s.m_Rooms)
            for (int32_t level : room.m_RoomEffectLevels)
                total += level;
        EXPECT_EQ(total, c.total);
        if (c.total > 0)
        {
            EXPECT_EQ(own->m_RoomEffectLevels[c.own], 1);
            for (ZorRoomState* r : dug)
            {
                if (r)
                    EXPECT_EQ(r->m_RoomEffectLevels[c.neighbour], 1);
            }
        }
    }
    // Two facilities 11 side by side each count the other's aura too.
    s.GetRoughRoom(4, 3)->m_StructID = 11;
    s.GetRoughRoom(4, 3)->m_Extended = 1;
    s.GetRoughRoom(0, 0)->m_StructID = 0;
    s.GetRoughRoom(4, 4)->m_StructID = 11;
    s.GetRoughRoom(4, 4)->m_Extended = 1;
    m_Core->UpdateRooms();
    EXPECT_EQ(s.GetRoughRoom(4, 4)->m_RoomEffectLevels[1], 2);
    EXPECT_EQ(s.GetRoughRoom(4, 3)->m_RoomEffectLevels[1], 2);

    // Units in room (4, 4).
    SkillRow(20, 0, 0, 0)->m_RoomEffect = 5;
    SkillRow(21, 0, 0, 0)->m_RoomEffect = 3;
    auto unit = [&](const wchar_t* list, int kind, int slot3, int slot4)
    {
        ZorTaskUnitEntity* u = Place(list, kind, 1, 4, 4, 17, 17);
        u->m_Skills[0].m_SkillID = 21; // slot 0 carries no aura
        u->m_Skills[3].m_SkillID = slot3;
        u->m_Skills[4].m_SkillID = slot4;
        return u;
    };
    unit(ZorCore::kUnitPlayerList, 12, 20, 21);
    for (int i = 0; i < 4; ++i)
        unit(ZorCore::kUnitPlayerList, 12, 20, 0);
    unit(ZorCore::kUnitPlayerList, 4, 21, 21);                       // a trap
    unit(ZorCore::kUnitPlayerList, 12, 21, 21)->m_CreateTimeLeft = 4; // being summoned
    unit(ZorCore::kUnitPlayerList, 12, 0, 0)->m_HP = 29;             // wounded: 29 of 100
    unit(ZorCore::kUnitPlayerList, 12, 0, 0)->m_HP = 30;             // 30 % is not below 30 %
    unit(ZorCore::kUnitEnemyList, 61, 0, 21);
    unit(ZorCore::kUnitEnemyList, 61, 0, 0);
    unit(ZorCore::kUnitEnemyList, 61, 21, 0)->m_AppearTimeLeft = 3; // still appearing
    m_Core->UpdateRooms();
    m_Core->UpdateRoomEffects();
    const int32_t* levels = s.GetRoughRoom(4, 4)->m_RoomEffectLevels;
    EXPECT_EQ(levels[1], 2);
    EXPECT_EQ(levels[5], 4); // five units, capped
    EXPECT_EQ(levels[3], 2); // the first unit's slot 4 and the first invader's
    EXPECT_EQ(levels[20], 2);
    EXPECT_EQ(levels[21], 1);
    EXPECT_EQ(std::accumulate(levels, levels + ZorRoomState::kEffects, 0), 2 + 4 + 2 + 2 + 1);
}

// A unit's hit chance: the element against resistance cell 4 (halved by the target's status 2, ignored
// under its status 3), halved by the attacker's status 2, +0.2 for each slayer code against the target's
// class (code 20 too; a code carried twice counts once), and x0.2 for a sealed skill under the attacker's
// status 4. A draw of 0-999 below p x 1000 hits.
TEST_F(ZorRulesTest, UnitHitChanceWithSlayersAndSeal)
{
    const struct
    {
        int element, targetClass;
        std::vector<int> slayers;
        bool sealed, attackerSealed, attackerBlind, targetBlind, targetStopped;
        int permille;
    } cases[] = {
        {1, 5, {}, false, false, false, false, false, 400},  {1, 5, {}, false, false, false, true, false, 700},
        {2, 5, {}, false, false, false, false, false, 800},  {0, 5, {}, false, false, false, false, false, 1000},
        {1, 5, {}, false, false, false, false, true, 1000},  {1, 5, {}, false, false, true, false, false, 200},
        {1, 5, {20}, false, false, false, false, false, 600}, {1, 6, {20}, false, false, false, false, false, 600},
        {1, 7, {20}, false, false, false, false, false, 400}, {1, 8, {21, 21}, false, false, false, false, false, 600},
        {1, 1, {24, 27}, false, false, false, false, false, 600},
        {1, 4, {24, 27}, false, false, false, false, false, 600},
        {1, 12, {23}, false, false, false, false, false, 600}, {1, 4, {21, 22, 23}, false, false, false, false, false, 400},
        {1, 5, {}, true, true, false, false, false, 80},     {1, 5, {}, true, false, false, false, false, 400},
        {1, 5, {}, false, true, false, false, false, 400},   {1, 5, {20}, true, true, false, false, false, 120},
        {0, 5, {20}, false, false, false, false, false, 1200},
    };
    Unit(62, 5, 0, 100, 10, 1);
    g_DBZorUnit.GetRow(62)->m_DefRate[4] = 60;
    for (int code = 20; code <= 27; ++code)
        SkillRow(30 + code, 0, 0, 0)->m_SpecialType = code;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "element " << c.element << " class " << c.targetClass << " p "
                                        << c.permille);
        g_DBZorUnit.GetRow(62)->m_Class = c.targetClass;
        SkillRow(8, 1, 100, c.element)->m_SealFlag = c.sealed ? 1 : 0;
        ZorTaskUnitEntity* attacker = Place(ZorCore::kUnitEnemyList, 61, 1, 2, 1, 9, 5);
        ZorTaskUnitEntity* target = Place(ZorCore::kUnitPlayerList, 62, 1, 2, 1, 10, 5);
        for (size_t i = 0; i < c.slayers.size(); ++i)
            attacker->m_Skills[i + 1].m_SkillID = 30 + c.slayers[i];
        attacker->m_RemainTime[4] = c.attackerSealed ? 9 : 0;
        attacker->m_RemainTime[2] = c.attackerBlind ? 9 : 0;
        target->m_RemainTime[2] = c.targetBlind ? 9 : 0;
        target->m_RemainTime[3] = c.targetStopped ? 9 : 0;
        std::vector<int32_t> draws(500);
        GxRandom::Seed(77);
        for (int32_t& d : draws)
            d = GxRandom::Next(1000);
        GxRandom::Seed(77);
        int wrong = 0;
        for (int32_t d : draws)
        {
            const bool hit = m_Core->CheckUnitHit(8, *target, *attacker);
            // A draw equal to p x 1000 is left out: the float product decides it.
            wrong += d != c.permille && hit != (d < c.permille);
        }
        EXPECT_EQ(wrong, 0);
    }
}
