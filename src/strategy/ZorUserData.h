#pragma once

#include "strategy/ZorBlockState.h"
#include "strategy/ZorCommandState.h"
#include "strategy/ZorEnemyPartyState.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorNextEnemy.h"
#include "strategy/ZorPathGrid.h"
#include "strategy/ZorRoomState.h"
#include "strategy/ZorStructState.h"
#include "strategy/ZorTownState.h"
#include "strategy/ZorUnitState.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;
class GxCore;

// The whole persistent state of the dungeon-defence game: unlocks of every facility, unit kind, town,
// enemy party and command; the 40 x 40 cells and 10 x 10 rooms; resources, the master's hit points, the
// stage counters, the incoming-enemy queue, the path grid and the invasion formations. One instance,
// owned by ZorCore. The record lists are sized by InitNewGame from the tables and never change length.
//
//   ZorUserData.cpp         construction, typed access, map links
//   ZorUserDataFile.cpp     save-file body
//   ZorUserDataCells.cpp    cells, rooms and the derived-data rebuilds
//   ZorUserDataRules.cpp    state codes, build and summon checks, leadership, enemy queue
//   ZorUserDataNewGame.cpp  new game, stage start, floor extension
class ZorUserData
{
public:
    static constexpr int32_t kStructCount = 30;
    static constexpr int32_t kUnitCount = 160;
    static constexpr int32_t kTownCount = 20;
    static constexpr int32_t kEnemyPartyCount = 120;
    static constexpr int32_t kCommandCount = 120;
    static constexpr int32_t kWidth = 40;
    static constexpr int32_t kBlockCount = kWidth * kWidth;
    static constexpr int32_t kRooms = 10;
    static constexpr int32_t kRoomCount = kRooms * kRooms;
    static constexpr int32_t kReinforceClasses = 24;
    // The highest reinforcement level of a class: far above what play reaches, low enough that the ten
    // hit points and three attack points it adds per level stay in range.
    static constexpr int32_t kMaxReinforceLevel = 99999;
    static constexpr int32_t kFieldFormations = 3;
    static constexpr int32_t kUnreached = 100000;

    // Facility IDs the rules name.
    static constexpr int32_t kStructPlain = 1;
    static constexpr int32_t kStructCommand = 15; // raises leadership and the survival chance
    static constexpr int32_t kStructEntrance = 16;
    static constexpr int32_t kStructThrone = 17;

    explicit ZorUserData(GxCore* core = nullptr);

    // --- typed access (ZorUserData.cpp); null outside the lists ---
    ZorStructState* GetStructState(int32_t i);
    const ZorStructState* GetStructState(int32_t i) const;
    ZorUnitState* GetUnitState(int32_t i);
    const ZorUnitState* GetUnitState(int32_t i) const;
    ZorTownState* GetTownState(int32_t i);
    ZorEnemyPartyState* GetEnemyPartyState(int32_t i);
    ZorCommandState* GetCommandState(int32_t i);
    // Formation 0 or 1 of the player; 2 (logged as a misuse) the enemy formation; null above.
    ZorRoomState* GetFieldUnitListPlayer(int32_t i);
    const ZorMapData* GetMapData() const;
    void LinkMapData();
    void ResetPathGrid() { m_PathGrid.Reset(); }

    // --- save-file body (ZorUserDataFile.cpp) ---
    // True when the writer reports every value written.
    bool Save(GxContentWriterBase& writer) const;
    // Reads every value into this state; true when the reader counted no error. A queue count above
    // maxQueue (the caller's bound from the bytes of the file) sets refused, logs, and leaves the queue
    // empty; the caller then drops this state. Name and type mismatches only show in the error count.
    bool Load(GxContentReaderBase& reader, uint32_t maxQueue, bool& refused);
    void SaveInstanceParams(GxContentWriterBase& writer, bool& ok) const;
    void LoadInstanceParams(GxContentReaderBase& reader);
    // The indexes of a loaded state all lie in their ranges (map, throne, facilities in rooms, list IDs),
    // and so do the kinds' levels and experience and the reinforcement levels; false after a log line
    // naming the first one that does not.
    bool CheckIndexes() const;

    // --- cells and rooms (ZorUserDataCells.cpp) ---
    ZorBlockState* GetDetailBlock(int32_t dx, int32_t dz);
    const ZorBlockState* GetDetailBlock(int32_t dx, int32_t dz) const;
    ZorRoomState* GetRoughRoom(int32_t rx, int32_t rz);
    const ZorRoomState* GetRoughRoom(int32_t rx, int32_t rz) const;
    ZorRoomState* GetRoomOfBlock(int32_t dx, int32_t dz);
    const ZorRoomState* GetRoomOfBlock(int32_t dx, int32_t dz) const;
    void RecountStructs();
    void RebuildBlockCells();
    void CalcRoomDistances(int32_t rx, int32_t rz);
    bool IsRoomOpen(int32_t rx, int32_t rz) const;

    // --- rule checks (ZorUserDataRules.cpp) ---
    int32_t GetRoomState(int32_t rx, int32_t rz) const;
    int32_t GetBlockState(int32_t dx, int32_t dz) const;
    bool IsRoomConnectable(int32_t rx, int32_t rz) const;
    int32_t CheckStructBuild(int32_t structID, int32_t rx, int32_t rz, int32_t& digFlag) const;
    int32_t CheckUnitSummon(int32_t unitID) const;
    int32_t GetLeadershipMax() const;
    int32_t GetPartyCapacity() const;
    int32_t CountReadyEntrances() const;
    int32_t AddNextEnemy(const std::wstring& partyName, int32_t entrance, int32_t frames, int32_t levelHigh,
                         int32_t levelLow);
    int32_t PushNextEnemy(int32_t partyID, int32_t entrance, int32_t frames, int32_t levelHigh, int32_t levelLow);
    // Facility costs: (built + 1) x the table cost; gold adds (floor + 1) x 400 when the build digs.
    int32_t GetStructCostBone(int32_t structID) const;
    int32_t GetStructCostMagic(int32_t structID) const;
    int32_t GetStructCostGold(int32_t structID, int32_t digFlag, int32_t floor) const;

    // --- new game, stage start, extension (ZorUserDataNewGame.cpp) ---
    void InitNewGame();
    void BuildRooms(int32_t mapIndex, int32_t level);
    void ResetForDefence();
    void UpgradeFloorExtendLevel();
    void OpenRoomsOfLevel(int32_t level);
    void SetThroneRoom(int32_t rx, int32_t rz);

    GxCore* m_Core = nullptr; // not saved; the debug switch is read through it

    int64_t m_NextUnitTaskID = 1000;
    std::vector<ZorStructState> m_StructStates;
    std::vector<ZorUnitState> m_UnitStates;
    std::vector<ZorTownState> m_TownStates;
    std::vector<ZorEnemyPartyState> m_EnemyPartyStates;
    std::vector<ZorCommandState> m_CommandStates;
    ZorBlockState m_Blocks[kBlockCount];
    ZorRoomState m_Rooms[kRoomCount];

    int32_t m_GamePhase = 0;
    int32_t m_GameState = 0;
    int32_t m_GameUnitTab_ZOR = 0;
    int32_t m_UsingMapIndex = 0;
    int32_t m_ThroneRoomPosX = 0;
    int32_t m_ThroneRoomPosY = 0;
    int32_t m_FloorExtendLevel = 0;
    int32_t m_Resource_Bone = 0;
    int32_t m_Resource_Magic = 0;
    int32_t m_Resource_Gold = 0;
    int32_t m_Resource_LeadershipBase = 0;
    int32_t m_Resource_LeadershipUsing = 0;
    int32_t m_Resource_AstarosHP = 0;
    int32_t m_Resource_AstarosHPMax = 0;
    int32_t m_RemainEnemyTotal = 0;
    int32_t m_RemainEnemyLeft = 0;
    int32_t m_TimerCount = 0;
    int32_t m_AstarosWeekLimit = 0;

    // Instance parameters, saved as one group.
    float m_Inst_Difficulty = 1.0f;
    int32_t m_Inst_RushMode = 0;
    int32_t m_Inst_RushModeParam = 0;
    int32_t m_EnemyPartyKind = 0;
    int32_t m_Notoriety = 0;
    int32_t m_ElectLevel = 1;
    int32_t m_RashTimes = 2;
    int32_t m_FirstUniquePartyID = 0;
    int32_t m_MiddleUniquePartyID = 0;
    int32_t m_GameProgress = 0;
    float m_AppearTimeMultiFactor = 1.0f;

    int32_t m_ReinforceMonster[kReinforceClasses] = {};
    std::deque<ZorNextEnemy> m_NextEnemies;
    ZorPathGrid m_PathGrid;
    std::wstring m_DefBGM;
    std::wstring m_InvBGM;
    int32_t m_Capture_UnitID = 0;
    int32_t m_Capture_Result = 0;
    int32_t m_NextInvTownID = 0;
    ZorRoomState m_FieldFormations[kFieldFormations];

private:
    void FloodRoomDistance(int32_t rx, int32_t rz, int32_t d);
    void UpdateRoomBlockCell(int32_t dx, int32_t dz);
    void UpdateDoorBlockCell(int32_t dx, int32_t dz);
    void ResetInstanceParams();
};
