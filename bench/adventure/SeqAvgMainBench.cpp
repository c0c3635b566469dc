// One frame of the adventure screen (background, three characters, a message being typed: update step,
// draw registration and drawing) against a bare frame that only clears and presents. Compare in one run.
// The process CPU column counts the software rasteriser's threads too: on a busy machine it is the steadier
// measure of the work a frame costs.
#include "adventure/SeqAvgMain.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxCoreScreenService.h"
#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "platform/PfWindow.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

const wchar_t* const kText = L"これは速さを測るための長いメッセージです。一文字ずつ表示されていきます。";

struct Stage
{
    PfWindow window;
    std::unique_ptr<GxCore> core;
    SeqAvgMain* screen = nullptr;
    bool ready = false;
    std::string scratch;

    ~Stage()
    {
        std::error_code ignored;
        if (!scratch.empty())
            std::filesystem::remove_all(scratch, ignored);
    }

    bool Start()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        GxLog::SetErrorLogPath(L"/dev/null");
        GxDisplaySettings& ds = GxDisplaySettings::Get();
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_VSyncInterval = 0;
        auto proc = [](PfWindow* w, uint32_t m, uintptr_t wp, intptr_t lp, void*) -> intptr_t
        { return w->DefWindowProc(m, wp, lp); };
        if (!window.Create("SeqAvgMainBench", 1024, 768, PfWindowStyle::Framed, proc, nullptr) ||
            !GxGraphics::Initialize(window.GetSDLWindow(), nullptr, nullptr, nullptr))
            return false;
        char pattern[] = "/tmp/kvavgXXXXXX";
        if (!mkdtemp(pattern))
            return false;
        scratch = pattern;
        const std::filesystem::path tools =
            std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools";
        const std::string game = std::string(pattern) + "/game";
        if (std::system(((tools / "samplegen").string() + " '" + game + "' > /dev/null").c_str()) != 0)
            return false;
        std::filesystem::current_path(game);
        core = std::make_unique<GxCore>();
        g_Core = core.get();
        core->m_SystemConfig = new GxSystemConfig();
        core->m_SystemConfig->LoadSysConf();
        core->m_SystemConfig->LoadSetting();
        core->m_UserConfig = new GxUserConfig();
        core->m_UserData = new GxUserData(core.get());
        core->m_UserDataPerman = new GxUserDataPerman(core.get());
        core->m_SavePath = std::wstring(pattern, pattern + std::strlen(pattern)) + L"/";
        core->m_TaskManage = new GxTaskManage(core.get());
        core->m_TaskManage->SetRenderLists(core->m_RenderManage, &core->m_RenderBank);
        core->m_TaskManage->SetScreenService(core->GetScreenService());
        if (!core->OnGameInit())
            return false;
        GxLog::SetErrorLogPath(L"/dev/null");
        screen = SeqAvgMain::Find();
        GxTaskManage* manage = core->m_TaskManage;
        manage->ChangeSequence(L"SeqAvgMain", 0, 0);
        manage->ApplyPendingSequence();
        for (int i = 0; i < 600 && !manage->IsSequenceStarted(); ++i)
            Step();
        screen->FindLayer(L"$BGLAYER:SeqAvgMain")->SetImage(L"cg/bg/room.png", 0, L"cg/error.png");
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
        ready = screen != nullptr;
        return ready;
    }

    // One update step as the core's frame runs it.
    void Step()
    {
        GxTaskManage* manage = core->m_TaskManage;
        core->ClearRenderLayers();
        manage->DeleteDeadTasks(manage->GetRootTask());
        manage->ClearStepFlags();
        GxTaskBase* current = manage->GetCurrentSequence();
        if (!manage->IsSequenceStarted())
            manage->WalkUpdatePreStart(current, 0, 16667);
        manage->WalkUpdate(current, 0, 16667);
        manage->WalkUpdate(manage->GetSystemSequence(), 0, 16667);
        manage->WalkRegisterDraw(current, 0, 16667);
        manage->WalkRegisterDraw(manage->GetSystemSequence(), 0, 16667);
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
        GxGraphics::Present(nullptr, nullptr, stage.window.GetSDLWindow());
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
        GxGraphics::Present(nullptr, nullptr, stage.window.GetSDLWindow());
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
        GxGraphics::Present(nullptr, nullptr, stage.window.GetSDLWindow());
        GxGraphics::GetDevice()->Finish();
    }
}
BENCHMARK(BM_BareClearAndPresent)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace
