// The message window's two hot paths beside their bare references, in the same run:
// - drawing a typed page of 300 characters with shadows (600 glyph quads) through the window, against the
//   same quads sent through GxDraw::DrawImageRect in a plain loop (headless on llvmpipe, device finished
//   each frame);
// - typing 2,000 characters in one step (SetMessage, then ShowAtOnce through the whole text), against a bare
//   loop summing the same characters' advances.
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxDraw.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTexture.h"
#include "platform/PfGLDevice.h"
#include "support/BenchDevice.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxUIMessageLayout.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

std::wstring Text(size_t count)
{
    const std::wstring source =
        L"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
        L"ニャーニャー泣いていた事だけは記憶している。Kestrelvane 0123456789";
    std::wstring text;
    for (size_t i = 0; i < count; ++i)
        text += source[i % source.size()];
    return text;
}

struct Page
{
    BenchDevice device;
    GxTaskManage manage;
    GxTaskBase* root = nullptr;
    GxSeqBase* seq = nullptr;
    GxTaskUIMessageWindowFx* message = nullptr;
    std::vector<GxImageRect> glyphs;
    std::vector<float> xs, ys;
    bool ready = false;

    bool Start()
    {
        if (!device.Open("GxTaskUIMessageBench"))
            return false;
        g_GDIFontMaps[0].SetFont(11, nullptr);
        g_GDIFontMaps[2].SetFont(23, nullptr);
        root = new GxTaskBase(&manage);
        seq = new GxSeqBase(root, L"SeqBench");
        manage.ChangeSequence(seq, 0, 0);
        manage.ApplyPendingSequence();
        manage.WalkUpdatePreStart(seq, 0, 0);
        message = new GxTaskUIMessageWindowFx(seq);
        message->SetTextRegion(12, 12, 1000, 740);
        message->SetMessage(Text(300), false, false, false, false);
        message->ShowAtOnce(true, false);
        // The reference: the same glyph quads, shadow and glyph, at the same places.
        const GxUIMessageLayout& layout = message->GetLayout();
        layout.ForEachBodyGlyph(
            [&](const GxUIMessageLayout::ShowChar& ch, int32_t x, int32_t y)
            {
                const GxGDIFontGlyph g = g_GDIFontMaps[2].GetGlyph(ch.m_Char);
                if (!g.m_pTexture)
                    return;
                GxImageRect r;
                r.m_pTexture = g.m_pTexture;
                r.m_Left = (int32_t)g.m_X;
                r.m_Top = (int32_t)g.m_Y;
                r.m_Width = (int32_t)g.m_Width;
                r.m_Height = (int32_t)g.m_Height;
                for (float d : {2.0f, 0.0f})
                {
                    glyphs.push_back(r);
                    xs.push_back((float)x + d);
                    ys.push_back((float)y + d);
                }
            });
        ready = true;
        return true;
    }
};

Page& GetPage()
{
    static Page s_Page;
    if (!s_Page.ready)
        s_Page.Start();
    return s_Page;
}

void BM_MessagePage_Window(benchmark::State& state)
{
    Page& page = GetPage();
    if (!page.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    const uint64_t before = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        page.message->Draw(0, 5);
        GxGraphics::GetDevice()->Finish();
    }
    state.counters["draw_calls_per_frame"] =
        (double)(GxGraphics::GetDevice()->GetDrawCallCount() - before) / (double)state.iterations();
    state.counters["quads_per_frame"] = (double)page.glyphs.size();
}

void BM_MessagePage_DrawImageRect(benchmark::State& state)
{
    Page& page = GetPage();
    if (!page.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    const GxVector2 one(1.0f, 1.0f);
    const GxVector3 still(0.0f, 0.0f, 0.0f);
    const GxVector2 topLeft(0.0f, 0.0f);
    const uint64_t before = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        GxGraphics::ResetRenderStates();
        for (size_t i = 0; i < page.glyphs.size(); ++i)
            GxDraw::DrawImageRect(page.glyphs[i], page.xs[i], page.ys[i], one, still, topLeft,
                                  (i & 1) ? 0xFFFFFFFFu : 0x80000000u, 0, 2);
        GxGraphics::EndScene();
        GxGraphics::GetDevice()->Finish();
    }
    state.counters["draw_calls_per_frame"] =
        (double)(GxGraphics::GetDevice()->GetDrawCallCount() - before) / (double)state.iterations();
    state.counters["quads_per_frame"] = (double)page.glyphs.size();
}

// Typing needs no device.
struct Typing
{
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    GxTaskUIMessageWindowFx* message = new GxTaskUIMessageWindowFx(root);
    std::wstring text = Text(2000);
    Typing() { message->SetTextRegion(0, 0, 1000, 100000); }
};

void BM_Typing2000_OneStep(benchmark::State& state)
{
    static Typing s_Typing;
    for (auto _ : state)
    {
        s_Typing.message->SetMessage(s_Typing.text, false, false, false, false);
        s_Typing.message->ShowAtOnce(true, false);
        benchmark::DoNotOptimize(s_Typing.message->GetShowCharCount());
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}

void BM_Typing2000_SumOfAdvances(benchmark::State& state)
{
    static Typing s_Typing;
    const GxUIMessageLayout& layout = s_Typing.message->GetLayout();
    for (auto _ : state)
    {
        int64_t x = 0;
        for (wchar_t c : s_Typing.text)
            x += layout.BodyAdvance(c);
        benchmark::DoNotOptimize(x);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}

} // namespace

BENCHMARK(BM_MessagePage_DrawImageRect)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_MessagePage_Window)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Typing2000_SumOfAdvances)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Typing2000_OneStep)->Unit(benchmark::kMicrosecond);
