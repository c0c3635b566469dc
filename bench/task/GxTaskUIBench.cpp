// Image-set widgets per frame against their pictures alone: 30 buttons and 30 sliders on a started screen,
// one pointer-move walk, one update step, draw registration and the drawing of the layers, beside the same
// 90 patterns (a button, a slider's track and its knob) sent through GxNcCrammedImageSet::DrawPattern in a
// plain loop. Headless on llvmpipe; the device is finished before each frame ends.
#include "../../tools/gncwriter/GisPacker.h"

#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBUIModule.h"
#include "core/GxMatrix.h"
#include "core/GxVector4.h"
#include "graphics/GxGraphics.h"
#include "platform/PfGLDevice.h"
#include "support/BenchDevice.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHSliderIs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kEach = 30;

GisPicture Solid(const std::wstring& name, uint32_t w, uint32_t h, uint32_t argb)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Pixels.assign(static_cast<size_t>(w) * h, argb);
    return pic;
}

struct Screen
{
    BenchDevice device;
    GxTaskRenderManage lists[20];
    int32_t bank = 0;
    GxTaskManage manage;
    GxTaskBase* root = nullptr;
    GxSeqBase* seq = nullptr;
    std::vector<const GxNcOriginImage*> patterns;
    std::vector<GxMatrix> places;
    bool ready = false;

    bool Start()
    {
        if (!device.Open("GxTaskUIBench"))
            return false;
        char folder[] = "/tmp/kvuibenchXXXXXX";
        if (!mkdtemp(folder) || chdir(folder) != 0 || mkdir("uigis", 0755) != 0)
            return false;
        GxNcCrammedImageSet packed;
        if (!GisPacker::Build(std::string(folder) + "/uigis/", L"bench.gis",
                              {Solid(L"b_off.png", 80, 30, 0xFF2040C0), Solid(L"b_over.png", 80, 30, 0xFF20C040),
                               Solid(L"s_off.png", 12, 24, 0xFFF0F0F0), Solid(L"s_back.png", 200, 8, 0xFF808080)},
                              GncForm::Binary, packed, 512) ||
            !GxNcImageSetPool::Add(L"uigis/bench.gis"))
            return false;

        manage.SetRenderLists(lists, &bank);
        root = new GxTaskBase(&manage);
        seq = new GxSeqBase(root, L"SeqBench");
        seq->SetAcceptUIEvent(true);
        GxSeqBase::ResetInputLocks();
        DBUIModuleData button;
        button.m_ImageSetName = L"bench";
        button.m_ImageName = L"b";
        DBUIModuleData slider = button;
        slider.m_ImageName = L"s";
        slider.m_Width = 200;
        slider.m_Height = 24;
        slider.m_ClientTop = 8;
        slider.m_ClientHeight = 8;
        for (int i = 0; i < kEach; ++i)
        {
            const float x = static_cast<float>(i % 3) * 330.0f + 10.0f;
            const float y = static_cast<float>(i / 3) * 70.0f + 20.0f;
            auto* b = new GxTaskUIButtonIs(seq);
            b->ApplyModule(button);
            b->SetPos(GxVector4(x, y, 0.0f, 0.0f));
            auto* s = new GxTaskUIHSliderIs(seq);
            s->ApplyModule(slider);
            s->SetPos(GxVector4(x + 100.0f, y + 30.0f, 0.0f, 0.0f));
            s->SetValue(static_cast<double>(i * 3));
        }
        manage.ChangeSequence(seq, 0, 0);
        manage.ApplyPendingSequence();
        manage.WalkUpdatePreStart(seq, 0, 0);
        if (!manage.IsSequenceStarted())
            return false;

        // The reference: the same images at the same places, each one pattern draw.
        const GxNcCrammedImageSet* set = GxNcImageSetPool::Find(L"uigis/bench.gis");
        for (int i = 0; i < kEach; ++i)
        {
            const float x = static_cast<float>(i % 3) * 330.0f + 10.0f;
            const float y = static_cast<float>(i / 3) * 70.0f + 20.0f;
            const float knob = static_cast<float>(i * 3) * 2.0f - 6.0f;
            for (auto [name, dx, dy] : {std::tuple{L"b_off.png", 0.0f, 0.0f},
                                        {L"s_back.png", 100.0f, 30.0f},
                                        {L"s_off.png", 100.0f + knob, 30.0f}})
            {
                patterns.push_back(set->FindOriginImage(name));
                GxMatrix m;
                m.TranslationV(GxVector3(x + dx, y + dy, 0.0f));
                places.push_back(m);
            }
        }
        ready = true;
        return true;
    }

    void Widgets(float px, float py)
    {
        for (int i = 0; i < 10; ++i)
            lists[i].Clear();
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        const float point[2] = {px, py};
        manage.OnMouseMove(point, 0);
        manage.WalkUpdate(seq, 0, 16667);
        manage.WalkRegisterDraw(seq, 0, 16667);
        for (int i = 0; i < 10; ++i)
            lists[i].Draw(i, true);
        GxGraphics::FlushDraws();
        GxGraphics::GetDevice()->Finish();
    }

    void Patterns()
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        GxGraphics::ResetRenderStates();
        GxGraphics::SetTextureFilter(1);
        const GxVector4 white(1.0f, 1.0f, 1.0f, 1.0f);
        for (size_t i = 0; i < patterns.size(); ++i)
            GxNcCrammedImageSet::DrawPattern(patterns[i], 0, places[i], 1.0f, white, GxVector4(), 2);
        GxGraphics::EndScene();
        GxGraphics::FlushDraws();
        GxGraphics::GetDevice()->Finish();
    }
};

Screen& GetScreen()
{
    static Screen s_Screen;
    if (!s_Screen.ready)
        s_Screen.Start();
    return s_Screen;
}

void BM_Widgets_MoveUpdateDraw(benchmark::State& state)
{
    Screen& screen = GetScreen();
    if (!screen.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    int frame = 0;
    const uint64_t before = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
    {
        // The pointer wanders over the first buttons, so enter and leave bookkeeping runs.
        screen.Widgets(static_cast<float>(20 + (frame * 7) % 300), 30.0f);
        ++frame;
    }
    state.counters["draw_calls_per_frame"] =
        static_cast<double>(GxGraphics::GetDevice()->GetDrawCallCount() - before) / static_cast<double>(frame);
    state.counters["patterns_per_frame"] = static_cast<double>(screen.patterns.size());
}

void BM_Widgets_PatternsAlone(benchmark::State& state)
{
    Screen& screen = GetScreen();
    if (!screen.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    const uint64_t before = GxGraphics::GetDevice()->GetDrawCallCount();
    int frames = 0;
    for (auto _ : state)
    {
        screen.Patterns();
        ++frames;
    }
    state.counters["draw_calls_per_frame"] =
        static_cast<double>(GxGraphics::GetDevice()->GetDrawCallCount() - before) / static_cast<double>(frames);
    state.counters["patterns_per_frame"] = static_cast<double>(screen.patterns.size());
}

} // namespace

BENCHMARK(BM_Widgets_PatternsAlone)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Widgets_MoveUpdateDraw)->Unit(benchmark::kMicrosecond)->UseRealTime();
