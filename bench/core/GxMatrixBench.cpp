// Matrix product and vector transform, against the same product written as a bare loop over plain
// float arrays (the reference: what any caller could write inline).
#include "core/GxMatrix.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace
{
GxMatrix SampleMatrix(float seed)
{
    GxMatrix m;
    m.ComposeSRT(GxVector3(1.5f, 0.5f, 2.0f), GxVector3(seed, 2.0f, 3.0f), GxVector3(0.1f, seed, 0.3f),
                 GxVector3(4.0f, 5.0f, 0.0f));
    return m;
}

void BM_ReferenceMultiply(benchmark::State& state)
{
    float a[16], b[16], out[16];
    std::memcpy(a, SampleMatrix(0.7f).m, sizeof(a));
    std::memcpy(b, SampleMatrix(0.2f).m, sizeof(b));
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        for (int i = 0; i < 4; ++i)
        {
            for (int j = 0; j < 4; ++j)
                out[i * 4 + j] =
                    a[i * 4] * b[j] + a[i * 4 + 1] * b[4 + j] + a[i * 4 + 2] * b[8 + j] + a[i * 4 + 3] * b[12 + j];
        }
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReferenceMultiply);

void BM_GxMatrixMultiply(benchmark::State& state)
{
    GxMatrix a = SampleMatrix(0.7f), b = SampleMatrix(0.2f);
    GxMatrix out;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        a.Multiply(b, out);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GxMatrixMultiply);

void BM_GxMatrixComposeSprite(benchmark::State& state)
{
    GxMatrix out;
    float angle = 0.0f;
    for (auto _ : state)
    {
        out.ComposeSprite(GxVector3(100.0f, 50.0f, 0.0f), GxVector3(0.0f, 0.0f, angle), GxVector3(2.0f, 2.0f, 1.0f),
                          GxVector3(16.0f, 16.0f, 0.0f));
        angle += 0.01f;
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_GxMatrixComposeSprite);

void BM_GxMatrixInverse(benchmark::State& state)
{
    const GxMatrix source = SampleMatrix(0.7f);
    for (auto _ : state)
    {
        GxMatrix m = source;
        benchmark::DoNotOptimize(m.Inverse());
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_GxMatrixInverse);
} // namespace
