// The invasion and take-over screens against their budgets, on the sample game's tables:
//  - the invasion screen's automatic formation choosing among 300 reserve units against a full enemy
//    formation of nine, to be set beside a 16.7 ms frame (budget: a tenth of it);
//  - the take-over screen's load of a round file of 300 units into its unit list, beside the same frame
//    (budget: one frame), with the plain read of the file's bytes as the reference.
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/ZorGlobals.h"
#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorRoundData.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorInvMain.h"
#include "support/BenchSampleGame.h"
#include "support/BenchZorCore.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

// The sample tables, the unit lists, a core, and the invasion screen in the tree; town 1's party made
// nine strong; 300 settled reserve units of the sample's player kinds and levels.
struct Game : BenchZorCore
{
    SeqZorInvMain* screen = nullptr;

    Game() : BenchZorCore({ZorCore::kSavedUnitList})
    {
        LoadTables({{&g_DBZorUnit, "data/db_zorunit.txt"},
                    {&g_DBZorSkill, "data/db_zorskill.txt"},
                    {&g_DBZorEnemy, "data/db_zorenemy.txt"},
                    {&g_DBZorTown, "data/db_zortown.txt"}});
        core->GetUserData()->InitNewGame();
        screen = new SeqZorInvMain(root);
        ZorUserData& s = *core->GetUserData();
        s.m_NextInvTownID = 1;
        const ZorTownState* town = s.GetTownState(1);
        DBZorEnemyData* party = g_DBZorEnemy.GetRow(static_cast<uint32_t>(ZorGlobals::FindEnemy(town->m_EnemyParty)));
        for (int i = 0; i < 9; ++i)
            if (party->m_UnitName[i].empty())
                party->m_UnitName[i] = party->m_UnitName[0];
        core->BeginInvasion();
        // Players' kinds: the rows 1-60 that are neither traps nor unique (the round file keeps only those).
        std::vector<int32_t> kinds;
        for (uint32_t id = 1; id <= 60; ++id)
        {
            const DBZorUnitData* row = g_DBZorUnit.GetRow(id);
            if (row && row->m_ID != 0 && row->m_Class != ZorTaskUnitEntity::kTrapClass && row->m_UniqueFlag == 0)
                kinds.push_back(static_cast<int32_t>(id));
        }
        GxTaskBase* ready = manage.FindTaskByName(ZorCore::kUnitReadyList);
        for (int i = 0; i < 300; ++i)
        {
            auto* unit = new ZorTaskUnitEntity(ready);
            unit->SetTaskID(static_cast<uint64_t>(core->TakeNextUnitTaskID()));
            unit->m_UnitID = kinds.empty() ? 12 : kinds[static_cast<size_t>(i) % kinds.size()];
            unit->m_Level = 1 + i % 30;
            unit->ChooseSkills(unit->m_Level);
            unit->m_HP = unit->GetMaxHP();
        }
    }

    int32_t Enemies() const
    {
        int32_t n = 0;
        for (int64_t id : core->GetUserData()->m_FieldFormations[2].m_UnitEntityIDs)
            n += id != 0;
        return n;
    }
};

Game& TheGame()
{
    static Game* s_Game = new Game;
    return *s_Game;
}

void BM_AutoForm300Units(benchmark::State& state)
{
    Game& game = TheGame();
    if (game.Enemies() != 9)
        state.SkipWithError("the enemy formation is not full");
    int32_t placed = 0;
    for (auto _ : state)
    {
        game.screen->AutoForm();
        state.PauseTiming();
        placed = 0;
        for (int f = 0; f < 2; ++f)
            for (int s = 0; s < 5; ++s)
                if (game.core->GetUserData()->m_FieldFormations[f].m_UnitEntityIDs[s] != 0)
                {
                    ++placed;
                    game.core->RemoveUnitFromField(f, s);
                }
        state.ResumeTiming();
    }
    state.counters["placed"] = placed;
    state.counters["enemies"] = game.Enemies();
}
BENCHMARK(BM_AutoForm300Units)->Unit(benchmark::kMillisecond);

const std::wstring& RoundFile()
{
    static const std::wstring s_Path = []
    {
        const std::wstring path = BenchSampleGame::Path("zordata_round.gd");
        if (!TheGame().core->SaveRoundData(path, true))
            std::abort();
        return path;
    }();
    return s_Path;
}

void BM_TakeOverLoad300Units(benchmark::State& state)
{
    Game& game = TheGame();
    const std::wstring& path = RoundFile();
    GxTaskBase* saved = game.manage.FindTaskByName(ZorCore::kSavedUnitList);
    ZorRoundData round;
    int32_t units = 0;
    for (auto _ : state)
    {
        if (!game.core->LoadRoundData(round, path))
            state.SkipWithError("the round file did not load");
        state.PauseTiming();
        units = 0;
        for (GxTaskBase* t = saved->GetFirstChild(); t; t = t->GetNextSibling())
            ++units;
        game.core->ClearUnitList(saved);
        game.manage.DeleteDeadTasks(game.root);
        state.ResumeTiming();
    }
    state.counters["units"] = units;
}
BENCHMARK(BM_TakeOverLoad300Units)->Unit(benchmark::kMillisecond);

// The reference: the same file's bytes read whole.
void BM_ReadRoundFileBytes(benchmark::State& state)
{
    const std::wstring& path = RoundFile();
    for (auto _ : state)
    {
        GxBinBuffer bytes;
        if (!GxFile::LoadToBuffer(bytes, path, false))
            state.SkipWithError("cannot read the round file");
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReadRoundFileBytes)->Unit(benchmark::kMillisecond);

} // namespace
