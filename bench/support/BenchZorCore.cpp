#include "support/BenchZorCore.h"

#include "support/BenchSampleGame.h"

#include "appdata/GxDBBase.h"
#include "core/GxRandom.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskBase.h"

#include <string>

BenchZorCore::BenchZorCore(std::initializer_list<const wchar_t*> moreLists) : root(new GxTaskBase(&manage))
{
    for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
        new GxTaskBase(root, name);
    for (const wchar_t* name : moreLists)
        new GxTaskBase(root, name);
    core = std::make_unique<ZorCore>(nullptr, &manage);
}

void BenchZorCore::LoadTables(std::initializer_list<std::pair<GxDBBase*, const char*>> tables)
{
    for (const auto& [table, file] : tables)
        table->Load(BenchSampleGame::Path(file));
}

void BenchZorCore::LoadMaps()
{
    for (int slot = 0; slot < ZorMapData::kSlots; ++slot)
        ZorMapData::GetSlot(slot)->LoadFromFile(
            BenchSampleGame::Path("data/db_zormap0" + std::to_string(slot) + ".txt"));
}

void BenchZorCore::SkipPresentation()
{
    core->m_SkipBattleEffect = core->m_SkipSpecialAttackEffect = core->m_SkipBattleVoice = true;
}

void BenchZorCore::StartFullStage(int units)
{
    GxRandom::Seed(1);
    core->ResetGame();
    ZorUserData& s = *core->GetUserData();
    for (int i = 0; i < 3; ++i)
        s.UpgradeFloorExtendLevel();
    s.m_Resource_LeadershipBase = 1000;
    s.m_Resource_Bone = s.m_Resource_Magic = s.m_Resource_Gold = 99999;
    core->BeginDefence();
    s.m_RemainEnemyTotal = s.m_RemainEnemyLeft = 100000;
    int count = 0;
    for (int i = 0; i < ZorUserData::kRoomCount; ++i)
        for (int slot = 0; slot < 5; ++slot)
            if (s.GetRoomState(i % 10, i / 10) == 8 && core->SummonUnit(i % 10, i / 10, slot, 12))
            {
                core->FindUnit(s.m_Rooms[i].m_UnitEntityIDs[slot])->m_CreateTimeLeft = 1;
                ++count;
            }
    GxTaskBase* enemies = core->FindList(ZorCore::kUnitEnemyList);
    for (int i = 0; count < units; i = (i + 1) % ZorUserData::kRoomCount)
        if (s.GetRoomState(i % 10, i / 10) == 8)
        {
            auto* unit = new ZorTaskUnitEntity(enemies);
            unit->SetTaskID(static_cast<uint64_t>(core->TakeNextUnitTaskID()));
            unit->InitAsEnemyUnit(61, 5, i % 10, i / 10, 5 + count % 4, 1, count % 60);
            ++count;
        }
}
