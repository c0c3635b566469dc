// The defence screen's unit list rebuilds its six cards and twelve buttons on every frame from the
// reserve units. Budget: 1% of a 60 Hz frame (167 us) with 300 reserve units, on the "ready" tab (the
// costliest filter: timers and the recovery test) and the slider in the middle of the roster. A plain
// walk over the same 300 children is measured beside it as the floor.
#include "appdata/DBZorUnit.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskUnitList.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUINull.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{

constexpr int kUnits = 300;
constexpr double kFrameSeconds = 1.0 / 60.0;

struct Roster
{
    GxTaskManage manage;
    GxTaskBase* ready = nullptr;
    std::unique_ptr<ZorCore> core;
    ZorTaskUnitList* list = nullptr;
    GxTaskUIHSliderIs* slider = nullptr;

    Roster()
    {
        for (int id : {1, 3, 12})
        {
            DBZorUnitData* row = g_DBZorUnit.GetRow(id);
            row->m_ID = id;
            row->m_Class = 1;
            row->m_Enabled = 1;
            row->m_UniqueFlag = id == 3;
            row->m_HPMax = 100;
            row->m_LevelLimit = 30;
        }
        auto* root = new GxTaskBase(&manage);
        ready = new GxTaskBase(root, ZorCore::kUnitReadyList);
        core = std::make_unique<ZorCore>(nullptr, &manage);
        core->GetUserData()->m_GameUnitTab_ZOR = 1;
        auto* bar = new GxTaskFolder(root, L"$ZORBOTTOM1:SeqZorMain");
        for (int i = 0; i < ZorTaskUnitList::kCards; ++i)
        {
            new GxTaskUINull(bar, nullptr, L"btn_unitlist", i);
            new GxTaskUINull(bar, nullptr, L"btn_unitdelete", i);
        }
        slider = new GxTaskUIHSliderIs(bar, nullptr, L"hsld_unitlist");
        list = new ZorTaskUnitList(bar);
        list->SetSlider(slider);
        for (int i = 0; i < kUnits; ++i)
        {
            auto* unit = new ZorTaskUnitEntity(ready);
            unit->SetTaskID(static_cast<uint64_t>(core->TakeNextUnitTaskID()));
            unit->m_PlayerFlag = 1;
            unit->m_UnitID = i % 3 == 0 ? 1 : i % 3 == 1 ? 3 : 12;
            unit->m_Level = 1 + i % 20;
            unit->m_HP = i % 4 == 0 ? 1 : unit->GetMaxHP(); // a quarter hurt: off the ready tab
            unit->m_CreateTimeLeft = i % 10 == 0 ? 50 : 0;
        }
        list->UpdateScrollRange();
        slider->SetValue(slider->GetMax() / 2.0);
    }
};

Roster& Shared()
{
    static Roster s_Roster;
    return s_Roster;
}

void BM_UnitListRefresh(benchmark::State& state)
{
    Roster& r = Shared();
    for (auto _ : state)
    {
        r.list->Refresh();
        benchmark::DoNotOptimize(r.list->GetEntryID(0));
    }
    // Seconds per iteration over a hundredth of the frame: the share of a frame in percent.
    state.counters["frame_share_pct"] = benchmark::Counter(
        kFrameSeconds / 100.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UnitListRefresh)->Unit(benchmark::kMicrosecond);

void BM_PlainChildWalk(benchmark::State& state)
{
    Roster& r = Shared();
    for (auto _ : state)
    {
        int n = 0;
        for (GxTaskBase* t = r.ready->GetFirstChild(); t; t = t->GetNextSibling())
            n += static_cast<ZorTaskUnitEntity*>(t)->m_HP > 1 ? 1 : 0;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_PlainChildWalk)->Unit(benchmark::kMicrosecond);

} // namespace
