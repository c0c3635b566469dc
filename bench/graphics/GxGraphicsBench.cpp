// Frame cost of clearing and presenting the 1024 x 768 back buffer, against writing one frame of pixels in
// memory; and the cost of 10,000 state changes through the remembering setters, against the same calls
// straight to the device and against 10,000 repeats of a remembered value.
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "support/BenchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// One device for the whole run, its logs under /tmp.
bool StartDevice()
{
    static bool s_Started = []
    {
        GxLog::SetDeviceLogPath(L"/tmp/kv_bench_graphics_device.log");
        GxLog::SetErrorLogPath(L"/tmp/kv_bench_graphics_error.log");
        static BenchDevice s_Device;
        return s_Device.Open("KvGraphicsBench");
    }();
    return s_Started;
}

void BM_FrameMemoryWrite(benchmark::State& state)
{
    std::vector<uint32_t> frame(1024 * 768);
    uint32_t colour = 0;
    for (auto _ : state)
    {
        std::fill(frame.begin(), frame.end(), colour++);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameMemoryWrite)->Unit(benchmark::kMicrosecond);

void BM_ClearAndPresent(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    uint32_t colour = 0xFF000000;
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, colour++, 1.0f, 0);
        GxGraphics::Present(nullptr, nullptr, nullptr);
        // The frame is finished before the next begins, as a presenting loop waits on its swaps.
        GxGraphics::GetDevice()->Finish();
    }
}
BENCHMARK(BM_ClearAndPresent)->Unit(benchmark::kMicrosecond);

// 10,000 changes, each to a value other than the remembered one.
void BM_StateChangesThroughCache(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    uint32_t value = 0;
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i)
        {
            GxGraphics::SetRenderState(D3DRS_TEXTUREFACTOR, ++value);
            GxGraphics::SetTextureStageState(i & 7, D3DTSS_COLORARG2, (value & 1) ? D3DTA_CURRENT : D3DTA_DIFFUSE);
        }
}
BENCHMARK(BM_StateChangesThroughCache)->Unit(benchmark::kMicrosecond);

// The same changes straight to the device.
void BM_StateChangesToDevice(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    PfGLDevice* device = GxGraphics::GetDevice();
    uint32_t value = 0;
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i)
        {
            device->SetRenderState(D3DRS_TEXTUREFACTOR, ++value);
            device->SetTextureStageState(i & 7, D3DTSS_COLORARG2, (value & 1) ? D3DTA_CURRENT : D3DTA_DIFFUSE);
        }
}
BENCHMARK(BM_StateChangesToDevice)->Unit(benchmark::kMicrosecond);

// 10,000 settings of the remembered value: what every quad's blend preset and every task's reset cost.
void BM_RepeatedStatesThroughCache(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i)
        {
            GxGraphics::SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
            GxGraphics::SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        }
}
BENCHMARK(BM_RepeatedStatesThroughCache)->Unit(benchmark::kMicrosecond);

// A blend preset per quad, then the draw: the drawers' pattern, with the device turning states into
// OpenGL only when they changed.
void BM_PresetAndQuad(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    struct Vertex
    {
        float x, y, z, rhw;
        uint32_t diffuse, specular;
        float u, v;
    };
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                            {-0.5f, 7.5f, 0, 1, 0xFFFFFFFF, 0, 0, 1},
                            {7.5f, 7.5f, 0, 1, 0xFFFFFFFF, 0, 1, 1},
                            {7.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 1, 0}};
    PfGLDevice* device = GxGraphics::GetDevice();
    GxGraphics::ResetRenderStates();
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    for (auto _ : state)
    {
        for (int i = 0; i < 1000; ++i)
        {
            GxGraphics::SetBlendMode(0, 2);
            device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(Vertex));
        }
        device->Finish();
    }
}
BENCHMARK(BM_PresetAndQuad)->Unit(benchmark::kMicrosecond);

// The same 1,000 quads in one batch through the streaming buffer, as a batching drawer hands them over.
void BM_BatchedQuads(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    struct Vertex
    {
        float x, y, z, rhw;
        uint32_t diffuse, specular;
        float u, v;
    };
    std::vector<Vertex> quads;
    for (int i = 0; i < 1000; ++i)
    {
        quads.push_back({-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0});
        quads.push_back({-0.5f, 7.5f, 0, 1, 0xFFFFFFFF, 0, 0, 1});
        quads.push_back({7.5f, 7.5f, 0, 1, 0xFFFFFFFF, 0, 1, 1});
        quads.push_back({7.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 1, 0});
    }
    PfGLDevice* device = GxGraphics::GetDevice();
    GxGraphics::ResetRenderStates();
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    for (auto _ : state)
    {
        GxGraphics::SetBlendMode(0, 2);
        device->DrawQuadsUP(1000, quads.data(), sizeof(Vertex));
        device->Finish();
    }
}
BENCHMARK(BM_BatchedQuads)->Unit(benchmark::kMicrosecond);

} // namespace
