// Target and goal searches, field groups, and the roster services' edge cases.
#include "ZorTestSupport.h"

#include "core/GxRandom.h"

namespace
{

struct Popups : ZorRulesListener
{
    void OnPopupText(const std::wstring& text, float, float, uint32_t) override { m_Texts.push_back(text); }
    std::vector<std::wstring> m_Texts;
};

} // namespace

class ZorCoreTargetsTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        for (const wchar_t* name : {ZorCore::kInvPlayerList, ZorCore::kInvEnemyList})
            new GxTaskBase(m_Root, name);
        Unit(61, 5, 0, 100, 10, 1);
        State().InitNewGame();
        m_Core->SetListener(&m_Popups);
        m_Core->m_SkipBattleVoice = true;
    }

    ZorTaskUnitEntity* Place(const wchar_t* list, int unitID, int rx, int rz, int dx, int dz)
    {
        ZorTaskUnitEntity* u = AddUnit(list, unitID, 1);
        u->m_RoughPosX = rx;
        u->m_RoughPosY = rz;
        u->m_DetailPosX = dx;
        u->m_DetailPosY = dz;
        u->m_HP = u->GetMaxHP();
        return u;
    }
    static int64_t Id(const ZorTaskUnitEntity* u) { return static_cast<int64_t>(u->GetTaskID()); }

    Popups m_Popups;
};

TEST_F(ZorCoreTargetsTest, RoomSearches)
{
    ZorTaskUnitEntity* me = Place(ZorCore::kUnitPlayerList, 12, 2, 1, 9, 5);
    EXPECT_EQ(m_Core->FindNearestEnemyInRoom(*me, 5.0f), 0);
    EXPECT_EQ(m_Core->FindRandomEnemyInRoom(*me), 0);
    ZorTaskUnitEntity* far = Place(ZorCore::kUnitEnemyList, 61, 2, 1, 9, 7);   // distance 2
    ZorTaskUnitEntity* other = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 9, 5); // another room
    EXPECT_EQ(m_Core->FindNearestEnemyInRoom(*me, 2.0f), 0);                    // exactly at the range: ignored
    EXPECT_EQ(m_Core->FindNearestEnemyInRoom(*me, 2.5f), Id(far));
    ZorTaskUnitEntity* near = Place(ZorCore::kUnitEnemyList, 61, 2, 1, 10, 5);
    EXPECT_EQ(m_Core->FindNearestEnemyInRoom(*me, 5.0f), Id(near));
    EXPECT_EQ(m_Core->FindWeakestEnemyInRoom(*me), 0); // nobody is hurt
    far->m_HP = 50;
    near->m_HP = 50;
    EXPECT_EQ(m_Core->FindWeakestEnemyInRoom(*me), Id(far)); // the first of equals
    near->m_CreateTimeLeft = 3;                              // not active
    EXPECT_EQ(m_Core->CollectEnemiesInRoom(*me), std::vector<int64_t>{Id(far)});
    ZorTaskUnitEntity* trap = Place(ZorCore::kUnitPlayerList, 4, 2, 1, 8, 5);
    EXPECT_EQ(m_Core->FindNearestTrapInRoom(*far, 5.0f), Id(trap));
    EXPECT_EQ(m_Core->FindNearestPlayerUnitInRoom(*far, 5.0f), Id(me));
    EXPECT_EQ(m_Core->CollectPlayerUnitsInRoom(*far).size(), 2u);
    (void)other;
}

TEST_F(ZorCoreTargetsTest, GoalRoomsPreferUnvisitedRoomsAndFallBackToTheThrone)
{
    ZorUserData& s = State();
    ZorTaskUnitEntity* walker = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 5, 5);
    GxRandom::Seed(9);
    for (int n = 0; n < 20; ++n)
    {
        walker->m_RoomFlags.clear();
        walker->SetRoomFlag(1 + 10);
        walker->SetRoomFlag(2 + 10);
        const ZorCell goal = m_Core->ChooseGoalRoomA(*walker, 1.0f);
        EXPECT_EQ(goal.x + goal.z * 10, 55); // E is the one dug room not visited
    }
    for (ZorRoomState& room : s.m_Rooms)
        room.m_StructID = 0;
    const ZorCell goal = m_Core->ChooseGoalRoomB(*walker, 1.0f);
    EXPECT_EQ(goal.x, s.m_ThroneRoomPosX);
    EXPECT_EQ(goal.z, s.m_ThroneRoomPosY);
    ZorCell cell{-1, -1};
    ASSERT_TRUE(m_Core->PickCellInRoom(s.GetRoughRoom(1, 1), *walker, cell));
    EXPECT_LE(std::abs(cell.x - 5) + std::abs(cell.z - 5), 2);
    EXPECT_FALSE(cell.x == 5 && cell.z == 5);
}

TEST_F(ZorCoreTargetsTest, FieldGroupsAndWeights)
{
    ZorRoomState& enemy = State().m_FieldFormations[2];
    std::vector<int64_t> ids;
    for (int slot : {1, 4, 7})
    {
        ZorTaskUnitEntity* u = Place(ZorCore::kInvEnemyList, 61, -1, -1, -1, -1);
        u->m_FieldPos = 2;
        u->m_FieldIndex = slot;
        enemy.m_UnitEntityIDs[slot] = Id(u);
        ids.push_back(Id(u));
    }
    EXPECT_EQ(m_Core->ChooseFieldEnemyTargets(), ids); // three: slot order, no shuffle
    EXPECT_TRUE(m_Core->ChooseWoundedFieldEnemies().empty());
    ZorTaskUnitEntity* fourth = Place(ZorCore::kInvEnemyList, 61, -1, -1, -1, -1);
    enemy.m_UnitEntityIDs[8] = Id(fourth);
    EXPECT_EQ(m_Core->ChooseFieldEnemyTargets().size(), 3u);
    EXPECT_EQ(m_Core->ChooseWeightedFieldTarget(0), 0); // empty formation
    ZorTaskUnitEntity* player = Place(ZorCore::kInvPlayerList, 12, -1, -1, -1, -1);
    State().m_FieldFormations[1].m_UnitEntityIDs[4] = Id(player);
    EXPECT_EQ(m_Core->ChooseWeightedFieldTarget(1), Id(player));
    EXPECT_EQ(m_Core->ChooseFieldPlayerTargets(), std::vector<int64_t>{Id(player)}); // falls back to 1
    player->m_HP -= 1;
    EXPECT_EQ(m_Core->FindWeakestFieldUnit(1), Id(player));
}

TEST_F(ZorCoreTargetsTest, RosterEdges)
{
    ZorUserData& s = State();
    s.m_Resource_Bone = 99998;
    m_Core->AddBone(0, true);
    EXPECT_TRUE(m_Popups.m_Texts.empty());
    EXPECT_EQ(m_Core->AddBone(5, true), 99999);
    EXPECT_EQ(m_Popups.m_Texts, std::vector<std::wstring>{L"+5"});
    EXPECT_EQ(m_Core->TakeGold(5000), 0);

    ZorTaskUnitEntity* invader = Place(ZorCore::kUnitEnemyList, 61, 1, 1, 5, 5);
    s.m_RemainEnemyLeft = 0;
    EXPECT_TRUE(m_Core->KillEnemyUnit(Id(invader)));
    EXPECT_EQ(s.m_RemainEnemyLeft, 0);
    EXPECT_FALSE(m_Core->KillEnemyUnit(Id(invader))); // already falling: counted once
    EXPECT_FALSE(m_Core->DisposeUnit(123456));

    s.m_Resource_Gold = 5000;
    s.GetStructState(6)->m_RoomActiveCount = 3;
    ASSERT_TRUE(m_Core->SummonUnit(5, 5, 3, 4));
    EXPECT_EQ(m_Core->FindUnit(s.GetRoughRoom(5, 5)->m_UnitEntityIDs[3])->m_Level, 3); // trap: workshops
    ASSERT_TRUE(m_Core->SummonUnit(5, 5, 2, 12));
    ZorTaskUnitEntity* standing = m_Core->FindUnit(s.GetRoughRoom(5, 5)->m_UnitEntityIDs[2]);
    standing->m_CreateTimeLeft = 0;
    g_DBZorStruct.GetRow(2)->m_Capacity = 2;
    ASSERT_TRUE(m_Core->BuildStruct(2, 5, 5));
    EXPECT_EQ(standing->GetParent(), List(ZorCore::kUnitReadyList)); // sent back
    EXPECT_EQ(s.GetRoughRoom(5, 5)->m_UnitEntityIDs[2], 0);
    EXPECT_EQ(s.GetRoughRoom(5, 5)->m_UnitEntityIDs[3], 0); // the trap was dismissed
    EXPECT_EQ(s.GetUnitState(4)->m_UnitCreateCount, 0);
}
