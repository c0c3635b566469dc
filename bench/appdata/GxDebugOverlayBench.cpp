// The debug overlay with 20 console lines and a call chain three frames deep, built and drawn each frame,
// against drawing the same texts alone through the font map, in the same run (goal: at most 1.5x).
#include "appdata/GxDebugOverlay.h"
#include "core/GxVector2.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "script/GxMoa.h"
#include "script/GxMoaWorker.h"
#include "support/BenchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace
{

struct Scene
{
    BenchDevice device;
    GxGDIFontMap map;
    GxMoa moa;
    GxMoaWorker worker{&moa};
    GxDebugOverlayState state;
    bool ready = false;

    bool Start()
    {
        if (!device.Open("GxDebugOverlayBench"))
            return false;
        map.SetFont(15, nullptr);
        for (int i = 0; i < 3; ++i)
        {
            auto frame = std::make_unique<GxMoaExecStackElement>();
            frame->m_Pos = GxMoaScriptPos(10 * i + 3, 0, i ? L"chapter01" : L"main");
            frame->m_BlockType = i == 2 ? 3 : 1;
            worker.m_ExecStack.push_back(std::move(frame));
        }
        state.m_Worker = &worker;
        state.m_ResourceBytes = 48u << 20;
        for (int i = 0; i < 20; ++i)
            state.m_ConsoleLines.push_back(L"GxTexture::CreateFromFile/ファイルが見つかりません(cg/bg/bg" +
                                           std::to_wstring(i) + L".png)\n");
        ready = true;
        return true;
    }

    void Frame(bool overlay)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        GxGraphics::ResetRenderStates();
        if (overlay)
            GxDebugOverlay::Draw(GxDebugOverlay::BuildLines(state, map.GetSize()), 0, 0, &map);
        else
        {
            static const std::vector<GxDebugOverlay::Line> s_Lines = GxDebugOverlay::BuildLines(state, 15);
            float y = 0;
            for (const auto& line : s_Lines)
            {
                GxGraphics::DrawText(&map, line.m_Text.c_str(), 0, y, GxVector2(1, 1), line.m_Color, 0, 2);
                y += 15;
            }
        }
        GxGraphics::EndScene();
        GxGraphics::GetDevice()->Finish();
    }
};

Scene& GetScene()
{
    static Scene s_Scene;
    if (!s_Scene.ready)
        s_Scene.Start();
    return s_Scene;
}

void Run(benchmark::State& state, bool overlay)
{
    Scene& scene = GetScene();
    if (!scene.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    scene.Frame(overlay);
    const uint64_t before = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
        scene.Frame(overlay);
    state.counters["draw_calls_per_frame"] =
        (double)(GxGraphics::GetDevice()->GetDrawCallCount() - before) / (double)state.iterations();
}

void BM_DebugOverlay_TextAlone(benchmark::State& state)
{
    Run(state, false);
}

void BM_DebugOverlay_Full(benchmark::State& state)
{
    Run(state, true);
}

} // namespace

BENCHMARK(BM_DebugOverlay_TextAlone)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DebugOverlay_Full)->Unit(benchmark::kMillisecond)->UseRealTime();
