// The random source against the standard library's MT19937 (the reference): raw outputs, and bounded
// draws against std::uniform_int_distribution over the same engine.
#include "core/GxRandom.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{
void BM_ReferenceMt19937(benchmark::State& state)
{
    std::mt19937 engine(5489u);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine());
}
BENCHMARK(BM_ReferenceMt19937);

void BM_GxRandomNextU32(benchmark::State& state)
{
    GxRandom::Seed(5489u);
    for (auto _ : state)
        benchmark::DoNotOptimize(GxRandom::NextU32());
}
BENCHMARK(BM_GxRandomNextU32);

void BM_ReferenceUniformInt(benchmark::State& state)
{
    std::mt19937 engine(5489u);
    std::uniform_int_distribution<int> dist(0, static_cast<int>(state.range(0)) - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(dist(engine));
}
BENCHMARK(BM_ReferenceUniformInt)->Arg(6)->Arg(100)->Arg(0x60000000);

void BM_GxRandomNext(benchmark::State& state)
{
    GxRandom::Seed(5489u);
    const int32_t n = static_cast<int32_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(GxRandom::Next(n));
}
BENCHMARK(BM_GxRandomNext)->Arg(6)->Arg(100)->Arg(0x60000000);
} // namespace
