// The strategy state against its budgets: a full rebuild of the derived dungeon data (facility counts,
// cells, room distances) on the sample game's first map extended to its last level, to be set beside a
// 16.7 ms frame; and a save of the state with 300 units written and read back in the binary form beside
// the same in the text form.
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "support/BenchSampleGame.h"
#include "support/BenchZorCore.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

// The sample tables and maps, a core with the unit lists, a new game extended to level 3.
struct Game : BenchZorCore
{
    Game()
    {
        LoadTables({{&g_DBZorStruct, "data/db_zorstruct.txt"}, {&g_DBZorUnit, "data/db_zorunit.txt"}});
        ZorMapData::LoadAllMaps();
        LoadMaps();
        core->GetUserData()->InitNewGame();
        for (int i = 0; i < 3; ++i)
            core->GetUserData()->UpgradeFloorExtendLevel();
    }

    // 100 units in each list, the invaders with a 40-step route and room flags.
    void AddUnits()
    {
        const wchar_t* lists[3] = {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList};
        for (int i = 0; i < 300; ++i)
        {
            auto* unit = new ZorTaskUnitEntity(manage.FindTaskByName(lists[i / 100]));
            unit->SetTaskID(static_cast<uint64_t>(core->TakeNextUnitTaskID()));
            unit->m_UnitID = 12;
            unit->m_Level = 1 + i % 30;
            unit->m_HP = 100;
            if (i >= 200)
            {
                for (int s = 0; s < 40; ++s)
                    unit->m_MovePath.emplace_back(s % 4, s % 40, 20);
                unit->m_RoomFlags = {0xFFu, 0x3u, 0u, 0x10u};
            }
        }
    }
};

Game& TheGame()
{
    static Game* s_Game = []
    {
        auto* game = new Game;
        game->AddUnits();
        return game;
    }();
    return *s_Game;
}

void BM_FullRebuild(benchmark::State& state)
{
    ZorUserData& data = *TheGame().core->GetUserData();
    for (auto _ : state)
    {
        data.RecountStructs();
        data.RebuildBlockCells();
        benchmark::DoNotOptimize(data.m_Rooms[0].m_RoughDistFromThrone);
    }
}
BENCHMARK(BM_FullRebuild);

void SaveAndLoad(benchmark::State& state, bool binary)
{
    Game& game = TheGame();
    const std::wstring path = BenchSampleGame::Path(binary ? "bench_binary.gd" : "bench_text.gd");
    for (auto _ : state)
    {
        if (!game.core->SaveGameData(path, binary) || !game.core->LoadGameData(path))
            state.SkipWithError("save or load failed");
    }
}

void BM_Save300UnitsText(benchmark::State& state)
{
    SaveAndLoad(state, false);
}
BENCHMARK(BM_Save300UnitsText)->Unit(benchmark::kMillisecond);

void BM_Save300UnitsBinary(benchmark::State& state)
{
    SaveAndLoad(state, true);
}
BENCHMARK(BM_Save300UnitsBinary)->Unit(benchmark::kMillisecond);

} // namespace
