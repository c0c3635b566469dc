// Builtin call cost: index 11 (the length of a text) through the adventure dispatcher beside the same
// call made on the default builtins directly; the ratio is the dispatch's overhead (aim: at most 1.3x).
#include "adventure/GxMoaBuiltinDefault.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "script/GxMoa.h"
#include "script/GxMoaVariable.h"
#include "script/GxMoaWorker.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kCalls = 100000;

template <typename Builtin> void RunLengthCalls(benchmark::State& state, Builtin& builtin)
{
    GxMoa moa;
    GxMoaWorker worker(&moa);
    const std::wstring name = L"strlen";
    GxMoaVariable args;
    args.MakeArray(1);
    GxMoaVariable text;
    text.SetString(L"吾輩は猫である。名前はまだ無い。");
    args.Store(0, text);
    GxMoaVariable result;
    for (auto _ : state)
    {
        for (int i = 0; i < kCalls; ++i)
        {
            builtin.Call(name, 11, args, &worker, nullptr, worker.GetExecStack(), result);
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetItemsProcessed(state.iterations() * kCalls);
}

void BM_StrlenThroughDispatch(benchmark::State& state)
{
    GxMoaBuiltinEx builtin(nullptr);
    RunLengthCalls(state, builtin);
}

void BM_StrlenDefaultDirect(benchmark::State& state)
{
    GxMoaBuiltinDefault builtin;
    RunLengthCalls(state, builtin);
}
} // namespace

BENCHMARK(BM_StrlenDefaultDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrlenThroughDispatch)->Unit(benchmark::kMillisecond);
