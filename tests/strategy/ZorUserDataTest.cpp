#include "ZorTestSupport.h"

#include "strategy/ZorRoundData.h"

class ZorUserDataTest : public zortest::ZorTest
{
};

TEST_F(ZorUserDataTest, NewGameLaysOutTheFirstDungeonWithTheStartingValues)
{
    const ZorUserData& s = State();
    EXPECT_EQ(s.m_Resource_Bone, 600);
    EXPECT_EQ(s.m_Resource_Magic, 300);
    EXPECT_EQ(s.m_Resource_Gold, 1000);
    EXPECT_EQ(s.m_Resource_LeadershipBase, 100);
    EXPECT_EQ(s.m_Resource_AstarosHP, 1000);
    EXPECT_EQ(s.m_Resource_AstarosHPMax, 1000);
    EXPECT_EQ(s.m_RemainEnemyTotal, 25);
    EXPECT_EQ(s.m_RemainEnemyLeft, 25);
    EXPECT_EQ(s.m_AstarosWeekLimit, 40);
    EXPECT_EQ(s.m_DefBGM, L"m05");
    EXPECT_EQ(s.m_InvBGM, L"m08");
    EXPECT_EQ(s.m_UsingMapIndex, 1);
    EXPECT_EQ(s.m_StructStates.size(), 30u);
    EXPECT_EQ(s.m_UnitStates.size(), 160u);
    EXPECT_EQ(s.m_UnitStates[12].m_Level, 1);
    EXPECT_EQ(s.GetRoughRoom(1, 1)->m_StructID, 16);
    EXPECT_EQ(s.GetRoughRoom(2, 1)->m_StructID, 17);
    EXPECT_EQ(s.m_ThroneRoomPosX, 2);
    EXPECT_EQ(s.GetRoughRoom(3, 1)->m_ExistFlag, 1); // locked: exists, neither dug nor a plain room
    EXPECT_EQ(s.GetRoughRoom(3, 1)->m_Extended, 0);
    EXPECT_EQ(s.GetRoughRoom(3, 1)->m_StructID, 0);
    EXPECT_EQ(s.GetStructState(16)->m_RoomActiveCount, 1);
    EXPECT_EQ(s.GetStructState(1)->m_RoomConstructCount, 1); // room E
    EXPECT_EQ(s.GetStructState(30), nullptr);
    EXPECT_EQ(s.GetUnitState(-1), nullptr);
    ZorRoomState fresh;
    EXPECT_EQ(fresh.m_RoughDistFromThrone, 100000);
}

TEST_F(ZorUserDataTest, RebuildDerivesCellsAndDistancesFromTheRooms)
{
    ZorUserData& s = State();
    s.GetRoughRoom(5, 5)->m_StructID = 6; // PassCenter 0
    s.GetRoughRoom(2, 2)->m_Extended = 1; // level 1: above the extension level
    s.RebuildBlockCells();
    const ZorBlockState* center = s.GetDetailBlock(21, 21);
    EXPECT_EQ(s.GetBlockState(21, 21), 5);
    EXPECT_EQ(center->m_EnablePass, 0);
    EXPECT_EQ(center->m_ObstacleFlag, 1);
    EXPECT_EQ(center->m_Extended, 1);
    EXPECT_EQ(s.GetBlockState(9, 5), 8);
    EXPECT_EQ(s.GetBlockState(7, 5), 7);                 // door between two dug rooms
    EXPECT_EQ(s.GetDetailBlock(11, 5)->m_EnablePass, 0); // door into the undug room
    EXPECT_EQ(s.GetBlockState(11, 5), 4);
    EXPECT_EQ(s.GetBlockState(12, 5), 3);
    EXPECT_EQ(s.GetDetailBlock(9, 9)->m_Extended, 0); // reset although its room is dug
    EXPECT_EQ(s.GetDetailBlock(9, 9)->m_DetailDistFromThrone, 100000);
    EXPECT_EQ(s.GetBlockState(8, 8), 8);
    EXPECT_EQ(s.GetRoomState(2, 3), 1);
    EXPECT_EQ(s.GetRoomState(3, 1), 3);
    EXPECT_EQ(s.GetRoomState(10, 0), 0);
    EXPECT_EQ(s.GetRoughRoom(2, 1)->m_RoughDistFromThrone, 0);
    EXPECT_EQ(s.GetRoughRoom(1, 1)->m_RoughDistFromThrone, 1);
    EXPECT_EQ(s.GetRoughRoom(5, 5)->m_RoughDistFromThrone, 100000);
    EXPECT_EQ(s.GetRoughRoom(3, 1)->m_RoughDistFromThrone, 100000);
}

TEST_F(ZorUserDataTest, BuildChecksAnswerInTheirOrder)
{
    ZorUserData& s = State();
    int32_t dig = -1;
    EXPECT_EQ(s.CheckStructBuild(2, 3, 1, dig), 12);
    EXPECT_EQ(dig, 1);
    EXPECT_EQ(s.CheckStructBuild(2, 5, 5, dig), 11);
    EXPECT_EQ(dig, 0);
    EXPECT_EQ(s.CheckStructBuild(16, 1, 1, dig), 8);
    EXPECT_EQ(s.CheckStructBuild(2, 2, 1, dig), 9);
    s.GetStructState(3)->m_Enabled = 0;
    EXPECT_EQ(s.CheckStructBuild(3, 5, 5, dig), 7);
    g_DBZorStruct.GetRow(4)->m_RequireInveigleUnitID = 3;
    EXPECT_EQ(s.CheckStructBuild(4, 5, 5, dig), 5);
    s.GetUnitState(3)->m_FriendFlag = 2;
    EXPECT_EQ(s.CheckStructBuild(4, 5, 5, dig), 11);
    g_DBZorStruct.GetRow(5)->m_RequireStructID = 9;
    EXPECT_EQ(s.CheckStructBuild(5, 5, 5, dig), 4);
    s.GetRoughRoom(5, 5)->m_StructID = 2;
    s.RecountStructs();
    EXPECT_EQ(s.CheckStructBuild(2, 3, 1, dig), 6);
    s.GetStructState(2)->m_Limit = 0; // no limit
    EXPECT_EQ(s.CheckStructBuild(2, 3, 1, dig), 12);
    s.m_Resource_Gold = 799; // the second one costs twice, and digging on floor 0 adds 400
    EXPECT_EQ(s.CheckStructBuild(2, 3, 1, dig), 3);
    EXPECT_EQ(s.GetStructCostGold(2, 1, 1), 1200);
    s.GetRoughRoom(2, 1)->m_Extended = 0;
    s.RebuildBlockCells();
    dig = -1;
    EXPECT_EQ(s.CheckStructBuild(2, 3, 1, dig), 0);
    EXPECT_EQ(dig, -1);
}

TEST_F(ZorUserDataTest, SummonChecksLeadershipAndQueue)
{
    ZorUserData& s = State();
    EXPECT_EQ(s.CheckUnitSummon(3), 7);
    s.m_Resource_LeadershipUsing = s.GetLeadershipMax() - 4;
    EXPECT_EQ(s.CheckUnitSummon(3), 2);
    EXPECT_EQ(s.CheckUnitSummon(4), 7); // costs no leadership
    g_DBZorUnit.GetRow(4)->m_RequireStructID = 2;
    g_DBZorUnit.GetRow(4)->m_RequireStructRank = 1;
    EXPECT_EQ(s.CheckUnitSummon(4), 4);
    g_DBZorUnit.GetRow(4)->m_RequireInveigleUnitID = 12;
    EXPECT_EQ(s.CheckUnitSummon(4), 3);
    s.GetUnitState(4)->m_Enabled = 0;
    EXPECT_EQ(s.CheckUnitSummon(4), 5);
    s.m_Resource_Bone = 9;
    s.m_Resource_LeadershipUsing = 0;
    EXPECT_EQ(s.CheckUnitSummon(3), 1);
    EXPECT_EQ(s.CheckUnitSummon(200), 5);

    s.m_FloorExtendLevel = 2;
    s.GetStructState(15)->m_RoomActiveCount = 3;
    EXPECT_EQ(s.GetLeadershipMax(), 260);
    EXPECT_EQ(s.GetPartyCapacity(), 36);
    EXPECT_EQ(s.CountReadyEntrances(), 1);

    DBZorEnemyData* party = g_DBZorEnemy.GetRow(1);
    party->m_Name = L"P1";
    party->m_UnitName[0] = L"U12";
    party->m_UnitName[2] = L"U3";
    party->m_UnitName[6] = L"U4"; // only the first five count
    g_DBZorEnemy.GetRow(2)->m_Name = L"P2";
    EXPECT_EQ(s.AddNextEnemy(L"P1", 0, 600, 3, 1), 2);
    EXPECT_EQ(s.AddNextEnemy(L"P2", 0, 600, 3, 1), 0);
    EXPECT_EQ(s.AddNextEnemy(L"none", 0, 600, 3, 1), 0);
    EXPECT_EQ(s.PushNextEnemy(0, 0, 600, 3, 1), 0);
    s.PushNextEnemy(1, 2, 900, 5, 4);
    s.PushNextEnemy(1, 3, 900, 5, 4);
    ASSERT_EQ(s.m_NextEnemies.size(), 4u);
    EXPECT_FLOAT_EQ(s.m_NextEnemies[3].m_Pos.x, 297.0f);
    EXPECT_FLOAT_EQ(s.m_NextEnemies[3].m_OldPos.y, -64.0f);
    EXPECT_EQ(s.m_NextEnemies[0].m_FirstUnitID, 12);
    EXPECT_EQ(s.m_NextEnemies[1].m_PartyNum, 0);
}

TEST_F(ZorUserDataTest, ExtensionMovesTheThroneOpensTheLevelAndLiftsLimits)
{
    ZorUserData& s = State();
    s.UpgradeFloorExtendLevel();
    EXPECT_EQ(s.GetRoughRoom(2, 1)->m_StructID, 1);
    EXPECT_EQ(s.GetRoughRoom(2, 2)->m_StructID, 17);
    EXPECT_EQ(s.GetRoughRoom(2, 2)->m_Extended, 1);
    EXPECT_EQ(s.GetStructState(6)->m_Limit, 2);
    EXPECT_EQ(s.GetDetailBlock(9, 7)->m_EnablePass, 1);
    s.UpgradeFloorExtendLevel();
    s.GetStructState(2)->m_Limit = 5;
    s.GetStructState(3)->m_Limit = 1;
    s.UpgradeFloorExtendLevel();
    EXPECT_EQ(s.m_FloorExtendLevel, 3);
    EXPECT_EQ(s.m_ThroneRoomPosY, 4);
    EXPECT_EQ(s.GetRoughRoom(2, 3)->m_StructID, 1);
    EXPECT_EQ(s.GetStructState(2)->m_Limit, 5);
    EXPECT_EQ(s.GetStructState(3)->m_Limit, 3);
    EXPECT_EQ(s.GetStructState(7)->m_Limit, 1);
    EXPECT_EQ(s.GetRoughRoom(2, 1)->m_RoughDistFromThrone, 3);
    s.UpgradeFloorExtendLevel();
    EXPECT_EQ(s.m_FloorExtendLevel, 3);
    EXPECT_EQ(s.GetRoughRoom(2, 4)->m_StructID, 17);

    s.GetRoughRoom(2, 4)->m_HealRestrictTime = 7;
    s.GetRoughRoom(2, 4)->m_SpecialAttackRestrictTime = 7;
    s.m_Resource_AstarosHP = 3;
    s.ResetForDefence();
    EXPECT_EQ(s.m_GamePhase, 5);
    EXPECT_EQ(s.m_Resource_AstarosHP, 1000);
    EXPECT_EQ(s.GetRoughRoom(2, 4)->m_HealRestrictTime, 7);
    EXPECT_EQ(s.GetRoughRoom(2, 4)->m_SpecialAttackRestrictTime, 0);
}

TEST_F(ZorUserDataTest, SmallRecordRules)
{
    ZorTownState town;
    town.m_EnemyHPRate[0] = 0.8f;
    town.m_EnemyHPRate[1] = 0.0f;
    town.m_EnemyHPRate[2] = 0.5f;
    town.RecoverEnemyHP();
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[0], 1.0f);
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[1], 0.0f);
    EXPECT_FLOAT_EQ(town.m_EnemyHPRate[2], 0.8f);
    EXPECT_EQ(State().GetFieldUnitListPlayer(2), &State().m_FieldFormations[2]);
    EXPECT_TRUE(m_Log.Contains(L"index error:GetFieldUnitListPlayer\n"));
    EXPECT_EQ(State().GetFieldUnitListPlayer(3), nullptr);
    ZorRoomState room;
    room.m_UnitEntityIDs[3] = 1001;
    room.m_UnitEntityIDs[9] = 1002;
    EXPECT_EQ(room.CountUnits(), 2);
}
