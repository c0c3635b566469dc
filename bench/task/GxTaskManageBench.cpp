// The task tree's per-frame costs, each beside a reference that does the same calls without the tree:
// a flat vector of the same tasks walked in a plain loop.
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIBase.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace
{

// Five screens of 2,000 widgets each (40 panels of 49 buttons), the first one current and started.
struct WidgetTree
{
    GxTaskRenderManage lists[20];
    int32_t bank = 0;
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    GxSeqBase* system = new GxSeqBase(root, L"SeqSystem");
    std::vector<GxSeqBase*> screens;
    std::vector<GxTaskBase*> flat; // every widget of the current screen, in walk order

    WidgetTree()
    {
        manage.SetRenderLists(lists, &bank);
        manage.SetSystemSequence(system);
        for (int s = 0; s < 5; ++s)
        {
            auto* seq = new GxSeqBase(root, (L"Seq" + std::to_wstring(s)).c_str());
            screens.push_back(seq);
            for (int p = 0; p < 40; ++p)
            {
                auto* panel = new GxTaskUIBase(seq, nullptr, L"panel", p);
                panel->SetOrderZ(static_cast<float>(p));
                if (s == 0)
                    flat.push_back(panel);
                for (int b = 0; b < 49; ++b)
                {
                    auto* button = new GxTaskUIBase(panel, nullptr, L"btn", b);
                    button->SetOrderZ(static_cast<float>(p) + static_cast<float>(b) / 64.0f);
                    if (s == 0)
                        flat.push_back(button);
                }
            }
        }
        manage.ChangeSequence(screens[0], 0, 0);
        manage.ApplyPendingSequence();
        Step();
    }

    void Step()
    {
        for (int i = 0; i < 10; ++i)
            lists[i].Clear();
        manage.DeleteDeadTasks(root);
        manage.ClearStepFlags();
        GxSeqBase* current = manage.GetCurrentSequence();
        if (!manage.IsSequenceStarted())
            manage.WalkUpdatePreStart(current, 0, 16667);
        manage.WalkUpdate(current, 0, 16667);
        manage.WalkUpdate(system, 0, 16667);
        manage.WalkRegisterDraw(current, 0, 16667);
        manage.WalkRegisterDraw(system, 0, 16667);
    }
};

void BM_UpdateStepOfTenThousandTasks(benchmark::State& state)
{
    WidgetTree tree;
    for (auto _ : state)
        tree.Step();
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_UpdateStepOfTenThousandTasks);

// Reference: the current screen's 2,000 widgets updated and registered from a flat vector (the sweep
// over all five screens is the tree's own extra work).
void BM_UpdateStepReferenceFlatVector(benchmark::State& state)
{
    WidgetTree tree;
    for (auto _ : state)
    {
        tree.lists[5].Clear();
        for (GxTaskBase* t : tree.flat)
            t->Update(0, 16667);
        for (GxTaskBase* t : tree.flat)
            t->RegisterDraw(0, 16667);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_UpdateStepReferenceFlatVector);

void BM_MouseMoveWalkOverTwoThousandWidgets(benchmark::State& state)
{
    WidgetTree tree;
    const float point[2] = {512.0f, 384.0f};
    for (auto _ : state)
        benchmark::DoNotOptimize(tree.manage.OnMouseMove(point, 0));
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_MouseMoveWalkOverTwoThousandWidgets);

void BM_MouseMoveReferenceFlatVector(benchmark::State& state)
{
    WidgetTree tree;
    const float point[2] = {512.0f, 384.0f};
    for (auto _ : state)
    {
        int32_t taken = 0;
        for (GxTaskBase* t : tree.flat)
            taken |= t->OnMouseMove(point, 0);
        benchmark::DoNotOptimize(taken);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_MouseMoveReferenceFlatVector);

std::vector<float> Keys(bool sorted)
{
    std::mt19937 gen(12345);
    std::uniform_real_distribution<float> dist(0.0f, 1000.0f);
    std::vector<float> keys(1000);
    for (float& k : keys)
        k = dist(gen);
    if (sorted)
        std::sort(keys.begin(), keys.end());
    return keys;
}

void RegisterThousand(benchmark::State& state, bool sorted)
{
    const std::vector<float> keys = Keys(sorted);
    GxTaskRenderManage list;
    for (auto _ : state)
    {
        list.Clear();
        for (size_t i = 0; i < keys.size(); ++i)
            list.Add(nullptr, GX_RENDER_ASCEND, keys[i], static_cast<int32_t>(i));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_ThousandRegistrationsRandomKeys(benchmark::State& state)
{
    RegisterThousand(state, false);
}
BENCHMARK(BM_ThousandRegistrationsRandomKeys);

void BM_ThousandRegistrationsSortedKeys(benchmark::State& state)
{
    RegisterThousand(state, true);
}
BENCHMARK(BM_ThousandRegistrationsSortedKeys);

// Reference: append all, then one stable sort by key (the same final order as ascending insertion).
void BM_ThousandRegistrationsReferenceStableSort(benchmark::State& state)
{
    const std::vector<float> keys = Keys(false);
    std::vector<GxTaskRenderManage::Entry> entries;
    entries.reserve(keys.size());
    for (auto _ : state)
    {
        entries.clear();
        for (size_t i = 0; i < keys.size(); ++i)
            entries.push_back({nullptr, keys[i], static_cast<int32_t>(i), 0});
        std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ThousandRegistrationsReferenceStableSort);

} // namespace
