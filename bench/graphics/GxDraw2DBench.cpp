// A frame of 2,000 sprites and 2,000 glyphs at 1024 x 768 through the 2D drawers, headless, with the quads
// batched on the device, against the same frame sent one draw call per quad, measured in the same run.
// Counters: draw calls per frame; the time per frame is the benchmark's real time (the device is
// finished before each frame ends, so the time includes the rasteriser's work).
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxSurfaceBase.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"
#include "support/BenchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

constexpr int kSprites = 2000;
constexpr int kGlyphs = 2000;

class Picture : public GxSurfaceBase
{
public:
    bool Create(uint32_t size)
    {
        if (m_Texture.Create(size, size, 1, 0, D3DFMT_A8R8G8B8) != D3D_OK)
            return false;
        m_pTexture = &m_Texture;
        m_Width = m_Height = m_ImageWidth = m_ImageHeight = size;
        m_Format = D3DFMT_A8R8G8B8;
        return true;
    }
    PfGLTexture m_Texture;
};

struct Scene
{
    BenchDevice device;
    Picture atlas;
    GxGDIFontMap map;
    std::vector<std::wstring> lines;
    std::vector<float> spriteX, spriteY;
    bool ready = false;

    bool Start()
    {
        if (!device.Open("GxDraw2DBench"))
            return false;
        if (!atlas.Create(256))
            return false;
        uint32_t pitch = 0;
        auto* bits = (uint8_t*)atlas.m_Texture.LockRect(nullptr, 0, &pitch);
        for (uint32_t y = 0; y < 256; ++y)
            for (uint32_t x = 0; x < 256; ++x)
            {
                const uint32_t c = 0xC0000000 | (x << 16) | (y << 8) | ((x ^ y) & 0xFF);
                std::memcpy(bits + y * pitch + x * 4, &c, 4);
            }
        atlas.m_Texture.UnlockRect();
        srand(7);
        for (int i = 0; i < kSprites; ++i)
        {
            spriteX.push_back((float)(rand() % 1000));
            spriteY.push_back((float)(rand() % 740));
        }
        // A screen of text: 40 lines of 50 characters through the font map.
        map.SetFont(16, nullptr);
        const std::wstring source = L"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
                                    L"Kestrelvane 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        for (int line = 0; line < kGlyphs / 50; ++line)
        {
            std::wstring text;
            for (int i = 0; i < 50; ++i)
                text += source[(size_t)(line * 7 + i) % source.size()];
            lines.push_back(text);
        }
        ready = true;
        return true;
    }

    // One frame; flushEach sends every quad on its own.
    void Frame(bool flushEach)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        GxGraphics::ResetRenderStates();
        const GxVector2 one(1, 1);
        const GxVector3 still(0, 0, 0);
        const GxVector2 origin(0, 0);
        for (int i = 0; i < kSprites; ++i)
        {
            const float sx = (float)((i % 8) * 32), sy = (float)((i / 8 % 8) * 32);
            GxGraphics::DrawSprite(&atlas, spriteX[i], spriteY[i], GxFRect{sx, sy, sx + 32, sy + 32}, one,
                                   GxVector3(0, 0, (float)(i % 16) * 0.1f), GxVector2(0.5f, 0.5f), origin, 0xFFFFFFFF,
                                   0, 2);
            if (flushEach)
                GxGraphics::FlushDraws();
        }
        for (size_t line = 0; line < lines.size(); ++line)
        {
            if (!flushEach)
            {
                GxGraphics::DrawText(&map, lines[line].c_str(), 8.0f, 8.0f + (float)line * 18, one, 0xFFFFE0A0, 0, 2);
                continue;
            }
            // One character at a time, each sent on its own.
            for (size_t i = 0; i < lines[line].size(); ++i)
            {
                const wchar_t c[2] = {lines[line][i], 0};
                GxGraphics::DrawText(&map, c, 8.0f + (float)i * 16, 8.0f + (float)line * 18, one, 0xFFFFE0A0, 0, 2);
                GxGraphics::FlushDraws();
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

void RunFrames(benchmark::State& state, bool flushEach)
{
    Scene& scene = GetScene();
    if (!scene.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    scene.Frame(flushEach);
    const uint64_t before = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
        scene.Frame(flushEach);
    const uint64_t calls = GxGraphics::GetDevice()->GetDrawCallCount() - before;
    state.counters["draw_calls_per_frame"] = (double)calls / (double)state.iterations();
    state.counters["quads_per_frame"] = kSprites + kGlyphs;
}

// The floor under both: clearing the target and waiting for the device, nothing drawn.
void BM_Frame2D_ClearOnly(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.ready)
    {
        state.SkipWithError("no graphics device");
        return;
    }
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::GetDevice()->Finish();
    }
}

void BM_Frame2D_Batched(benchmark::State& state)
{
    RunFrames(state, false);
}

void BM_Frame2D_OneDrawPerQuad(benchmark::State& state)
{
    RunFrames(state, true);
}

} // namespace

BENCHMARK(BM_Frame2D_ClearOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Frame2D_Batched)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Frame2D_OneDrawPerQuad)->Unit(benchmark::kMillisecond)->UseRealTime();
