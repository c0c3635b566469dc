// The rules against their budgets, each beside a reference measured in the same run:
//  - a defence stage of about 300 units on the sample game's first map (extended to its last level)
//    running 600 ticks, to be set beside the 10 s those ticks last in play (60 ticks a second);
//  - a route request (grid set-up, flood, trace) beside a plain A* (four neighbours, Manhattan
//    heuristic, binary heap) on the same grid and end points: the first map's room-centre pairs and a
//    serpentine maze.
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectSource.h"
#include "strategy/ZorUserData.h"
#include "support/BenchZorCore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <queue>
#include <vector>

namespace
{

class FixedMotions : public ZorNcProjectSource
{
public:
    const void* GetProject(const std::wstring&, const std::wstring&) override { return this; }
    const void* FindMotion(const void*, const std::wstring&, const std::wstring& name) override
    {
        return name == L"attack" ? &m_Attack : &m_Other;
    }
    int32_t GetMotionLength(const void* m) const override { return *static_cast<const int32_t*>(m); }
    void ReleaseProject(const void*) override {}

private:
    int32_t m_Attack = 30;
    int32_t m_Other = 40;
};

struct Stage : BenchZorCore
{
    FixedMotions motions;

    Stage()
    {
        LoadTables({{&g_DBZorStruct, "data/db_zorstruct.txt"},
                    {&g_DBZorUnit, "data/db_zorunit.txt"},
                    {&g_DBZorSkill, "data/db_zorskill.txt"},
                    {&g_DBZorEnemy, "data/db_zorenemy.txt"}});
        LoadMaps();
        ZorNcPoolUnit::SetProjectSource(&motions);
        ZorNcPoolUnit::Initialize();
        while (ZorNcPoolUnit::PrepareLoading(L"", L"") > 0)
        {
        }
        SkipPresentation();
    }

    // A fresh stage of about 300 units.
    void Reset() { StartFullStage(300); }
};

Stage& TheStage()
{
    static Stage* s_Stage = new Stage;
    return *s_Stage;
}

void BM_DefenceStage300Units600Ticks(benchmark::State& state)
{
    Stage& stage = TheStage();
    for (auto _ : state)
    {
        state.PauseTiming();
        stage.Reset();
        state.ResumeTiming();
        for (int t = 0; t < 600; ++t)
        {
            stage.core->UpdateDefence(1);
            stage.manage.DeleteDeadTasks(stage.root);
        }
    }
    state.counters["x_realtime"] =
        benchmark::Counter(10.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DefenceStage300Units600Ticks)->Unit(benchmark::kMillisecond);

// --- routes ------------------------------------------------------------------------------------------

struct Grid
{
    ZorBlockState blocks[1600];
    std::vector<std::pair<int, int>> ends; // (start, goal) cell indexes
};

// The first map at level 3 with its room-centre pairs.
Grid MapGrid()
{
    Stage& stage = TheStage();
    stage.Reset();
    ZorUserData& s = *stage.core->GetUserData();
    Grid g;
    std::copy(std::begin(s.m_Blocks), std::end(s.m_Blocks), g.blocks);
    std::vector<int> centres;
    for (int i = 0; i < ZorUserData::kRoomCount; ++i)
        if (s.IsRoomOpen(i % 10, i / 10))
            centres.push_back(s.m_Rooms[i].m_MapRoom->m_CenterDX + s.m_Rooms[i].m_MapRoom->m_CenterDZ * 40);
    for (size_t a = 0; a < centres.size(); ++a)
        for (size_t b = 0; b < centres.size(); ++b)
            if (a != b && g.blocks[centres[a]].m_EnablePass && g.blocks[centres[b]].m_EnablePass)
                g.ends.emplace_back(centres[a], centres[b]);
    return g;
}

// A serpentine maze: full rows joined at alternating ends, corner to corner.
Grid MazeGrid()
{
    Grid g;
    for (int z = 0; z < 40; ++z)
        for (int x = 0; x < 40; ++x)
        {
            const bool wall = z % 2 == 1 && x != (z % 4 == 1 ? 39 : 0);
            g.blocks[x + z * 40].m_EnablePass = wall ? 0 : 1;
        }
    g.ends.emplace_back(0, 38 * 40 + 39);
    return g;
}

size_t AStar(const ZorBlockState* blocks, int start, int goal)
{
    std::vector<int> cost(1600, 1 << 30);
    std::vector<int> from(1600, -1);
    using Node = std::pair<int, int>; // (f, cell)
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> open;
    auto h = [goal](int c) { return std::abs(c % 40 - goal % 40) + std::abs(c / 40 - goal / 40); };
    cost[start] = 0;
    open.emplace(h(start), start);
    while (!open.empty())
    {
        const auto [f, c] = open.top();
        open.pop();
        if (c == goal)
            break;
        if (f - h(c) > cost[c])
            continue;
        const int x = c % 40, z = c / 40;
        const int around[4][2] = {{x, z - 1}, {x, z + 1}, {x - 1, z}, {x + 1, z}};
        for (const auto& n : around)
        {
            if (n[0] < 0 || n[0] >= 40 || n[1] < 0 || n[1] >= 40)
                continue;
            const int nc = n[0] + n[1] * 40;
            if (!blocks[nc].m_EnablePass || cost[c] + 1 >= cost[nc])
                continue;
            cost[nc] = cost[c] + 1;
            from[nc] = c;
            open.emplace(cost[nc] + h(nc), nc);
        }
    }
    size_t steps = 0;
    for (int c = goal; from[c] >= 0; c = from[c])
        ++steps;
    return steps;
}

void RouteBench(benchmark::State& state, const Grid& grid, bool astar)
{
    ZorPathGrid paths;
    paths.Reset();
    std::deque<ZorMovePathElement> route;
    size_t steps = 0;
    for (auto _ : state)
        for (const auto& [start, goal] : grid.ends)
        {
            if (astar)
                steps += AStar(grid.blocks, start, goal);
            else
            {
                route.clear();
                paths.InitFromBlocks(grid.blocks);
                paths.Flood(goal % 40, goal / 40, 0);
                paths.BuildPath(start % 40, start / 40, goal % 40, goal / 40, route);
                steps += route.size();
            }
        }
    benchmark::DoNotOptimize(steps);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * grid.ends.size()));
}

void BM_RouteMapFlood(benchmark::State& state)
{
    static const Grid g = MapGrid();
    RouteBench(state, g, false);
}
void BM_RouteMapAStar(benchmark::State& state)
{
    static const Grid g = MapGrid();
    RouteBench(state, g, true);
}
void BM_RouteMazeFlood(benchmark::State& state)
{
    static const Grid g = MazeGrid();
    RouteBench(state, g, false);
}
void BM_RouteMazeAStar(benchmark::State& state)
{
    static const Grid g = MazeGrid();
    RouteBench(state, g, true);
}
BENCHMARK(BM_RouteMapFlood);
BENCHMARK(BM_RouteMapAStar);
BENCHMARK(BM_RouteMazeFlood);
BENCHMARK(BM_RouteMazeAStar);

} // namespace
