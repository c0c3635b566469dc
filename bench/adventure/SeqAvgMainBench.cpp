// One frame of the adventure screen (background, three characters, a message being typed: update step,
// draw registration and drawing) against a bare frame that only clears and presents. Compare in one run.
// The process CPU column counts the software rasteriser's threads too: on a busy machine it is the steadier
// measure of the work a frame costs.
#include "adventure/SeqAvgMain.h"
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "support/BenchAdventureScreen.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

#include <benchmark/benchmark.h>

namespace
{

const wchar_t* const kText = L"これは速さを測るための長いメッセージです。一文字ずつ表示されていきます。";

struct Stage : BenchAdventureScreen
{
    bool Start()
    {
        if (!BenchAdventureScreen::Start("SeqAvgMainBench"))
            return false;
        const wchar_t* const pictures[] = {L"cg/st/lilith/normal.png", L"cg/st/zorde/normal.png",
                                           L"cg/st/lilith/normal.png"};
        float x = 40.0f;
        int i = 0;
        for (const wchar_t* name : {L"リリス", L"ゾルデ", L"村人"})
        {
            GxTaskLayer* layer = screen->FindStandLayer(name);
            layer->SetImage(pictures[i++], 0, L"cg/error.png");
            layer->SetPos(GxVector4(x, 140.0f, 0.0f, 0.0f));
            x += 330.0f;
        }
        return true;
    }
};

Stage& GetStage()
{
    static Stage s_Stage;
    if (!s_Stage.ready)
        s_Stage.Start();
    return s_Stage;
}

void BM_AdventureSceneFrame(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no scene");
        return;
    }
    for (auto _ : state)
    {
        GxTaskUIMessageWindowFx* window = stage.screen->GetMessageWindow();
        if (window->GetRemainCharCount() == 0)
            stage.screen->ShowMessage(kText, false, false, false);
        stage.Step();
        stage.core->DrawRenderLayers();
        GxGraphics::Present(nullptr, nullptr, stage.device.GetWindow().GetSDLWindow());
        GxGraphics::GetDevice()->Finish();
    }
}
BENCHMARK(BM_AdventureSceneFrame)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// The same frame with the message window hidden: the share of the typing text.
void BM_AdventureSceneFrameNoWindow(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no scene");
        return;
    }
    stage.screen->GetMessageWindow()->Hide();
    for (auto _ : state)
    {
        stage.Step();
        stage.core->DrawRenderLayers();
        GxGraphics::Present(nullptr, nullptr, stage.device.GetWindow().GetSDLWindow());
        GxGraphics::GetDevice()->Finish();
    }
    stage.screen->GetMessageWindow()->Show();
}
BENCHMARK(BM_AdventureSceneFrameNoWindow)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_BareClearAndPresent(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no scene");
        return;
    }
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::Present(nullptr, nullptr, stage.device.GetWindow().GetSDLWindow());
        GxGraphics::GetDevice()->Finish();
    }
}
BENCHMARK(BM_BareClearAndPresent)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace
