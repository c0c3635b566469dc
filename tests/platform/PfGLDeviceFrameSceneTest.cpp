// The frame comparison beyond 2D quads: a lit, depth-tested scene drawn from vertex and index buffers, a
// layer drawn into a render target of its own, a black hold over a moving scene, a newly typed glyph, and
// a change of one render state alone. An unchanged frame is neither drawn nor shown and holds the picture
// a whole redraw gives; any input that changes the picture shows at once, drawn as a whole redraw draws it.
#include "PlatformTestSupport.h"

#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace
{

struct LitVertex
{
    float x, y, z;
    float nx, ny, nz;
    uint32_t diffuse;
};
constexpr uint32_t FVF_LIT = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;

class PfGLDeviceFrameSceneTest : public KvGLDeviceFixture
{
protected:
    PfGLDeviceFrameSceneTest() : KvGLDeviceFixture(64, 64) {}

    void Frame(const std::function<void()>& draw, bool clear = true)
    {
        if (clear)
            m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        draw();
        ASSERT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);
    }
    // Presents that showed a picture and presents that found nothing to show, since the last call.
    std::pair<uint64_t, uint64_t> Counts()
    {
        const std::pair<uint64_t, uint64_t> now = {m_Device.GetPresentedFrameCount(), m_Device.GetSkippedFrameCount()};
        const std::pair<uint64_t, uint64_t> since = {now.first - m_Seen.first, now.second - m_Seen.second};
        m_Seen = now;
        return since;
    }
    std::vector<uint32_t> BackPicture()
    {
        PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
        EXPECT_EQ(back->ReadBack(), D3D_OK);
        std::vector<uint32_t> picture(m_Width * m_Height);
        std::memcpy(picture.data(), back->GetData(), picture.size() * 4);
        return picture;
    }
    // A frame that cannot be compared (a draw before any clear): the next one is drawn as it comes.
    void BreakComparison()
    {
        Frame([&] { Quad(nullptr, 0, 0, 1, 1, 0xFF00FF00); }, false);
    }
    void Quad(PfGLTexture* texture, float l, float t, float r, float b, uint32_t diffuse)
    {
        KvVertex2D q[4];
        Corners(q, l - 0.5f, t - 0.5f, r - 0.5f, b - 0.5f, diffuse);
        m_Device.SetFVF(FVF_2D);
        m_Device.SetTexture(0, texture);
        ASSERT_EQ(m_Device.QueueQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    }
    // Shows `before` twice (the second is not drawn), then `after`, which must be shown at once with the
    // picture it gives when drawn whole as it comes. Returns the two pictures.
    std::pair<std::vector<uint32_t>, std::vector<uint32_t>> ChangeShowsAsAWholeRedraw(
        const std::function<void()>& before, const std::function<void()>& after, bool clear = true)
    {
        Frame(before, clear);
        Counts();
        Frame(before, clear);
        EXPECT_EQ(Counts(), Shown(0, 1)) << "the unchanged frame is not drawn";
        const std::vector<uint32_t> old = BackPicture();
        Frame(after, clear);
        EXPECT_EQ(Counts(), Shown(1, 0)) << "the change is shown";
        const std::vector<uint32_t> changed = BackPicture();
        BreakComparison();
        Frame(after, clear);
        EXPECT_TRUE(changed == BackPicture()) << "as a whole redraw draws it";
        EXPECT_TRUE(changed != old) << "the case changes the picture";
        return {old, changed};
    }
    using Shown = std::pair<uint64_t, uint64_t>;
    std::pair<uint64_t, uint64_t> m_Seen;
};

// Two triangles at two depths from one vertex buffer (the first drawn through the index buffer), lit by a
// directional light, the nearer drawn first so that the depth test decides their overlap.
class PfGLDeviceFrame3DTest : public PfGLDeviceFrameSceneTest
{
protected:
    void SetUp() override
    {
        PfGLDeviceFrameSceneTest::SetUp();
        ASSERT_EQ(m_Depth.Create(64, 64, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8), D3D_OK);
        ASSERT_EQ(m_Vertices.Create(6 * sizeof(LitVertex), FVF_LIT), D3D_OK);
        ASSERT_EQ(m_Indices.Create(6 * sizeof(uint16_t), D3DFMT_INDEX16), D3D_OK);
        ResetScene();
    }
    void ResetScene()
    {
        const LitVertex v[6] = {
            {-0.8f, -0.8f, 0.3f, 0, 0, -1, 0xFFFF4040}, {-0.8f, 0.6f, 0.3f, 0, 0, -1, 0xFFFF4040},
            {0.4f, 0.6f, 0.3f, 0, 0, -1, 0xFFFF4040},   {-0.2f, -0.9f, 0.6f, 0, 0, -1, 0xFF40FF40},
            {-0.2f, 0.9f, 0.6f, 0, 0, -1, 0xFF40FF40},  {0.9f, 0.0f, 0.6f, 0, 0, -1, 0xFF40FF40},
        };
        WriteVertices(v, 0, 6);
        const uint16_t indices[6] = {0, 1, 2, 3, 4, 5};
        WriteIndices(indices);
        m_Light.Type = D3DLIGHT_DIRECTIONAL;
        m_Light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
        m_Light.Direction = {0.0f, 0.0f, 1.0f};
        m_Material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
        m_World = m_View = m_Projection = {};
        for (int i = 0; i < 4; ++i)
            m_World.m[i][i] = m_View.m[i][i] = m_Projection.m[i][i] = 1.0f;
        m_ZEnable = 1;
        m_ZFunc = D3DCMP_LESSEQUAL;
    }
    void WriteVertices(const LitVertex* v, uint32_t first, uint32_t count)
    {
        void* bits = m_Vertices.Lock(first * sizeof(LitVertex), count * sizeof(LitVertex), 0);
        ASSERT_NE(bits, nullptr);
        std::memcpy(bits, v, count * sizeof(LitVertex));
        ASSERT_EQ(m_Vertices.Unlock(), D3D_OK);
    }
    void WriteIndices(const uint16_t* indices)
    {
        void* bits = m_Indices.Lock(0, 0, 0);
        ASSERT_NE(bits, nullptr);
        std::memcpy(bits, indices, 6 * sizeof(uint16_t));
        ASSERT_EQ(m_Indices.Unlock(), D3D_OK);
    }
    // between: called between the scene's two draws.
    void Scene(const std::function<void()>& between = {})
    {
        m_Device.SetDepthStencilSurface(&m_Depth);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        m_Device.SetRenderState(D3DRS_ZENABLE, m_ZEnable);
        m_Device.SetRenderState(D3DRS_ZFUNC, m_ZFunc);
        m_Device.SetRenderState(D3DRS_LIGHTING, 1);
        m_Device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_Device.SetTexture(0, nullptr);
        m_Device.SetTransform(D3DTS_WORLD, m_World);
        m_Device.SetTransform(D3DTS_VIEW, m_View);
        m_Device.SetTransform(D3DTS_PROJECTION, m_Projection);
        m_Device.SetLight(0, m_Light);
        m_Device.LightEnable(0, true);
        m_Device.SetMaterial(m_Material);
        m_Device.SetFVF(FVF_LIT);
        m_Device.SetStreamSource(0, &m_Vertices, 0, sizeof(LitVertex));
        m_Device.SetIndices(&m_Indices);
        ASSERT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 1), D3D_OK);
        if (between)
            between();
        ASSERT_EQ(m_Device.DrawPrimitive(D3DPT_TRIANGLELIST, 3, 1), D3D_OK);
    }
    std::vector<uint32_t> WholeScene()
    {
        BreakComparison();
        Frame([&] { Scene(); }, false);
        return BackPicture();
    }

    PfGLTexture m_Depth;
    PfGLVertexBuffer m_Vertices;
    PfGLIndexBuffer m_Indices;
    D3DLIGHT9 m_Light = {};
    D3DMATERIAL9 m_Material = {};
    D3DMATRIX m_World = {}, m_View = {}, m_Projection = {};
    uint32_t m_ZEnable = 1;
    uint32_t m_ZFunc = D3DCMP_LESSEQUAL;
};

} // namespace

TEST_F(PfGLDeviceFrame3DTest, UnchangedSceneIsNotDrawnAndHoldsTheWholeRedrawsPicture)
{
    const std::vector<uint32_t> whole = WholeScene();
    EXPECT_GT((whole[32 * 64 + 16] >> 16) & 0xFF, 0xC0u) << "the nearer triangle, lit straight on";
    EXPECT_LT((whole[32 * 64 + 16] >> 8) & 0xFF, 0x80u);
    Counts();
    Frame([&] { Scene(); }, false);
    Frame([&] { Scene(); }, false);
    EXPECT_EQ(Counts(), Shown(0, 2));
    EXPECT_TRUE(BackPicture() == whole);
}

// Each input to a 3D frame: a buffer's vertices or indices, a transform, the light, the depth test.
TEST_F(PfGLDeviceFrame3DTest, AnyChangedInputToTheSceneIsShownAsAWholeRedraw)
{
    struct Case
    {
        const char* name;
        std::function<void()> change;
    };
    const LitVertex moved = {-0.2f, -0.8f, 0.3f, 0, 0, -1, 0xFFFF4040};
    const uint16_t otherTriangle[6] = {3, 4, 5, 3, 4, 5};
    const Case cases[] = {
        {"vertex buffer", [&] { WriteVertices(&moved, 0, 1); }},
        {"index buffer", [&] { WriteIndices(otherTriangle); }},
        {"world transform", [&] { m_World.m[3][0] = 0.25f; }},
        {"view transform", [&] { m_View.m[1][1] = 0.5f; }},
        {"projection", [&] { m_Projection.m[0][0] = 0.5f; }},
        {"light direction", [&] { m_Light.Direction = {0.6f, 0.0f, 0.8f}; }},
        {"light colour", [&] { m_Light.Diffuse = {0.5f, 0.5f, 1.0f, 1.0f}; }},
        {"depth test off", [&] { m_ZEnable = 0; }},
        {"depth function", [&] { m_ZFunc = D3DCMP_GREATER; }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetScene();
        bool changed = false;
        ChangeShowsAsAWholeRedraw([&] { Scene(); },
                                  [&]
                                  {
                                      if (!changed)
                                          c.change();
                                      changed = true;
                                      Scene();
                                  },
                                  false);
    }
}

// An input changed between two draws of one frame reaches the second draw alone, when the frame is drawn
// from what was written down as when it is drawn as it comes.
TEST_F(PfGLDeviceFrame3DTest, InputChangedBetweenTwoDrawsOfAFrameReachesTheSecond)
{
    struct Case
    {
        const char* name;
        std::function<void()> change;
    };
    D3DMATRIX shifted = m_World;
    shifted.m[3][0] = 0.25f;
    D3DLIGHT9 side = m_Light;
    side.Direction = {0.6f, 0.0f, 0.8f};
    D3DMATERIAL9 blue = m_Material;
    blue.Emissive = {0.0f, 0.0f, 1.0f, 1.0f};
    const Case cases[] = {
        {"world transform", [&] { m_Device.SetTransform(D3DTS_WORLD, shifted); }},
        {"view transform", [&] { m_Device.SetTransform(D3DTS_VIEW, shifted); }},
        {"projection", [&] { m_Device.SetTransform(D3DTS_PROJECTION, shifted); }},
        {"light", [&] { m_Device.SetLight(0, side); }},
        {"light switched off", [&] { m_Device.LightEnable(0, false); }},
        {"material", [&] { m_Device.SetMaterial(blue); }},
        {"viewport", [&] { m_Device.SetViewport({0, 0, 32, 32, 0.0f, 1.0f}); }},
        {"render state", [&] { m_Device.SetRenderState(D3DRS_ZFUNC, D3DCMP_NEVER); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetScene();
        m_Device.SetViewport({0, 0, 64, 64, 0.0f, 1.0f});
        ChangeShowsAsAWholeRedraw([&] { Scene(); },
                                  [&]
                                  {
                                      Scene(c.change);
                                      m_Device.SetViewport({0, 0, 64, 64, 0.0f, 1.0f});
                                  },
                                  false);
    }
}

// A buffer written after a held-back draw from it: the draw keeps the vertices it was made with.
TEST_F(PfGLDeviceFrame3DTest, BufferChangedWithinAHeldBackFrameKeepsItsEarlierDraw)
{
    Frame([&] { Scene(); }, false);
    const LitVertex far[3] = {{0.5f, 0.5f, 0.3f, 0, 0, -1, 0xFFFF4040},
                              {0.6f, 0.5f, 0.3f, 0, 0, -1, 0xFFFF4040},
                              {0.6f, 0.6f, 0.3f, 0, 0, -1, 0xFFFF4040}};
    Frame(
        [&]
        {
            Scene();
            WriteVertices(far, 0, 3);
        },
        false);
    const uint32_t drawn = BackPixel(16, 32);
    EXPECT_GT((drawn >> 16) & 0xFF, 0xC0u) << "the first draw, with the vertices it was made with";
    EXPECT_LT((drawn >> 8) & 0xFF, 0x80u);
}

// A layer drawn into a target of its own, cleared whole first, then shown over the back buffer: equal
// frames are not drawn; a change in what goes into the target is shown at once.
TEST_F(PfGLDeviceFrameSceneTest, RenderTargetPassClearedWholeIsCompared)
{
    Modulate2D();
    PfGLTexture target;
    ASSERT_EQ(target.Create(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
    uint32_t colour = 0xFFFF0000;
    auto layer = [&](bool clear)
    {
        return [&, clear]
        {
            m_Device.SetRenderTarget(0, &target);
            if (clear)
                m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
            Quad(nullptr, 8, 8, 24, 24, colour);
            m_Device.FlushQuads();
            m_Device.SetRenderTarget(0, back);
            m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
            Quad(&target, 0, 0, 64, 64, 0xFFFFFFFF);
        };
    };
    const auto [old, changed] = ChangeShowsAsAWholeRedraw(layer(true),
                                                          [&]
                                                          {
                                                              colour = 0xFF00FF00;
                                                              layer(true)();
                                                          },
                                                          false);
    EXPECT_EQ(old[16 * 64 + 16], 0xFFFF0000u);
    EXPECT_EQ(changed[16 * 64 + 16], 0xFF00FF00u);
    EXPECT_EQ(Pixel(&target, 16, 16), 0xFF00FF00u) << "the target holds its picture";
    // Drawn over what it held: drawn every frame.
    Frame(layer(false), false);
    Counts();
    Frame(layer(false), false);
    EXPECT_EQ(Counts(), Shown(1, 0));
}

// The story's fade held at black over a scene that still moves under it: presented once.
TEST_F(PfGLDeviceFrameSceneTest, BlackHoldOverAMovingScenePresentsOnce)
{
    Modulate2D();
    m_Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    m_Device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    auto frame = [&](float at, uint32_t fade)
    {
        return [this, at, fade]
        {
            Quad(nullptr, at, 8, at + 8, 16, 0xFFFFFFFF);
            Quad(nullptr, 0, 0, 64, 64, fade);
        };
    };
    Frame(frame(0, 0xFF000000));
    Counts();
    for (float at = 1; at < 5; ++at)
        Frame(frame(at, 0xFF000000));
    EXPECT_EQ(Counts(), Shown(0, 4));
    EXPECT_EQ(BackPixel(4, 12), 0xFF000000u);
    // Still fading: the scene shows through and every frame is shown.
    for (float at = 1; at < 5; ++at)
        Frame(frame(at, 0xF0000000));
    EXPECT_EQ(Counts(), Shown(4, 0));
    EXPECT_NE(BackPixel(6, 12) & 0xFFFFFF, 0u);
}

// The story's scene change: a black picture (made at its first use, as a loaded background is) under the
// fade layer, which goes from opaque to clear, and a window drawn over both. Every frame gives the picture
// shown already: only the first that draws the black picture is shown. Over a picture of another colour
// every frame is shown, and what changes over the black afterwards shows at once.
TEST_F(PfGLDeviceFrameSceneTest, BlackPictureFadedInOverBlackPresentsOnce)
{
    Modulate2D();
    m_Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    m_Device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    PfGLTexture black, grey;
    ASSERT_EQ(black.Create(16, 16, 1, 0, D3DFMT_X8R8G8B8), D3D_OK);
    black.SetDeferredFill(
        [](uint8_t* data, uint32_t pitch)
        {
            for (uint32_t y = 0; y < 16; ++y)
                std::memset(data + (size_t)y * pitch, 0, 16 * 4);
            return true;
        });
    ASSERT_EQ(grey.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    uint32_t pitch = 0;
    auto* bits = static_cast<uint32_t*>(grey.LockRect(nullptr, 0, &pitch));
    ASSERT_NE(bits, nullptr);
    std::fill(bits, bits + 16, 0xFF404040u);
    ASSERT_EQ(grey.UnlockRect(), D3D_OK);
    uint32_t window = 0xFF806040;
    auto frame = [&](PfGLTexture* picture, uint32_t fade)
    {
        return [this, picture, fade, &window]
        {
            Quad(picture, 0, 0, 64, 64, 0xFFFFFFFF);
            if (fade > 0)
                Quad(nullptr, 0, 0, 64, 64, fade << 24);
            m_Device.FlushQuads();
            Quad(nullptr, 8, 40, 56, 56, window);
        };
    };
    Frame(frame(&black, 255));
    Frame(frame(&black, 255));
    Counts();
    for (uint32_t fade = 255; fade > 0; fade -= 15)
        Frame(frame(&black, fade));
    Frame(frame(&black, 0));
    EXPECT_EQ(Counts(), Shown(1, 17)) << "shown when the picture is first drawn";
    const std::vector<uint32_t> shown = BackPicture();
    EXPECT_EQ(shown[48 * 64 + 32], 0xFF806040u);
    EXPECT_TRUE(std::all_of(shown.begin(), shown.begin() + 40 * 64, [](uint32_t p) { return (p & 0xFFFFFF) == 0; }));
    BreakComparison();
    Frame(frame(&black, 120));
    const std::vector<uint32_t> whole = BackPicture();
    for (size_t i = 0; i < whole.size(); ++i)
        EXPECT_EQ(whole[i] & 0xFFFFFF, shown[i] & 0xFFFFFF) << "the colours a whole redraw gives, at " << i;

    window = 0xFFFFFFFF;
    Frame(frame(&black, 100));
    EXPECT_EQ(BackPixel(32, 48), 0xFFFFFFFFu) << "a change over the black shows";
    EXPECT_EQ(BackPixel(32, 20) & 0xFFFFFF, 0u);

    Frame(frame(&grey, 255));
    Counts();
    for (uint32_t fade = 240; fade > 0; fade -= 60)
        Frame(frame(&grey, fade));
    EXPECT_EQ(Counts(), Shown(4, 0)) << "a fade over another colour changes the picture";
    EXPECT_NE(BackPixel(10, 10) & 0xFFFFFF, 0u);
}

// A typed character: the frame the glyph is first written into the glyph texture (after the line's earlier
// glyphs were drawn from it) is shown; the next, which draws the same line in one batch, is not.
TEST_F(PfGLDeviceFrameSceneTest, TypedCharacterPresentsOnce)
{
    Modulate2D();
    m_Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    m_Device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    PfGLTexture glyphs;
    ASSERT_EQ(glyphs.Create(16, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    auto write = [&](uint32_t slot)
    {
        uint32_t pitch = 0;
        const PfRect rect = {(int32_t)slot * 4, 0, (int32_t)slot * 4 + 4, 4};
        auto* bits = static_cast<uint8_t*>(glyphs.LockRect(&rect, 0, &pitch));
        ASSERT_NE(bits, nullptr);
        const uint32_t colour = 0xFF204080 + slot * 0x00302010;
        for (uint32_t y = 0; y < 4; ++y)
            for (uint32_t x = 0; x < 4; ++x)
                std::memcpy(bits + y * pitch + x * 4, &colour, 4);
        ASSERT_EQ(glyphs.UnlockRect(), D3D_OK);
    };
    auto glyph = [&](uint32_t slot)
    {
        KvVertex2D q[4];
        Corners(q, 4.0f + 8 * slot - 0.5f, 40 - 0.5f, 12.0f + 8 * slot - 0.5f, 48 - 0.5f, 0xFFFFFFFF);
        for (KvVertex2D& v : q)
            v.u = (v.u + (float)slot) / 4.0f;
        m_Device.SetFVF(FVF_2D);
        m_Device.SetTexture(0, &glyphs);
        ASSERT_EQ(m_Device.QueueQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    };
    auto line = [&](uint32_t typed, bool newGlyph)
    {
        return [&, typed, newGlyph]
        {
            Quad(nullptr, 0, 32, 64, 56, 0xFF303030);
            for (uint32_t i = 0; i + 1 < typed; ++i)
                glyph(i);
            if (newGlyph)
                write(typed - 1);
            glyph(typed - 1);
        };
    };
    write(0);
    Frame(line(1, false));
    Frame(line(1, false));
    Counts();
    for (uint32_t typed = 2; typed <= 4; ++typed)
    {
        SCOPED_TRACE(typed);
        Frame(line(typed, true));
        EXPECT_EQ(Counts(), Shown(1, 0)) << "the new character";
        const std::vector<uint32_t> shown = BackPicture();
        Frame(line(typed, false));
        EXPECT_EQ(Counts(), Shown(0, 1)) << "the same picture again";
        EXPECT_TRUE(BackPicture() == shown);
        EXPECT_EQ(shown[44 * 64 + 8 * typed], 0xFF204080 + (typed - 1) * 0x00302010);
    }
}

// A frame drawn again where it changed leaves out the draws that reach nowhere in that region, and keeps
// those that do, even when they only overlap its edge or lie under the change: the picture is the whole
// redraw's.
TEST_F(PfGLDeviceFrameSceneTest, PartialRedrawLeavesOutOnlyDrawsOutsideTheRegion)
{
    Modulate2D();
    m_Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    m_Device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    auto draw = [&](uint32_t changing)
    {
        return [&, changing]
        {
            // Each quad a draw of its own: the whole back buffer, one under the change, one touching its
            // edge, two far away; then the half-transparent quad that changes.
            const float quads[][4] = {{0, 0, 64, 64}, {20, 20, 30, 30}, {29, 10, 40, 22}, {50, 50, 60, 60}, {0, 50, 8, 60}};
            const uint32_t colours[] = {0xFF102030, 0xFF80FF00, 0xFF0040FF, 0xFFFF0000, 0xFF00FF00};
            for (size_t i = 0; i < 5; ++i)
            {
                Quad(nullptr, quads[i][0], quads[i][1], quads[i][2], quads[i][3], colours[i]);
                m_Device.FlushQuads();
            }
            Quad(nullptr, 16, 16, 26, 26, changing);
            m_Device.FlushQuads();
        };
    };
    const uint64_t leftOut = m_Device.GetDrawsLeftOutCount();
    const uint64_t partial = m_Device.GetPartialFrameCount();
    const auto [old, changed] = ChangeShowsAsAWholeRedraw(draw(0x80FFFFFF), draw(0x800000FF));
    EXPECT_EQ(m_Device.GetPartialFrameCount() - partial, 1u);
    EXPECT_EQ(m_Device.GetDrawsLeftOutCount() - leftOut, 2u) << "the two quads far away";
    // Under the change, the earlier quads show through it; outside it the picture stayed.
    EXPECT_NE(changed[22 * 64 + 22], old[22 * 64 + 22]);
    EXPECT_EQ(changed[55 * 64 + 55], 0xFFFF0000u);
}

// Only one render state differs from the last frame: the frame is shown, drawn as a whole redraw draws it.
TEST_F(PfGLDeviceFrameSceneTest, ChangeOfOneRenderStateAloneIsShownAsAWholeRedraw)
{
    PfGLTexture checker;
    ASSERT_EQ(checker.Create(2, 2, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    {
        uint32_t pitch = 0;
        auto* bits = static_cast<uint8_t*>(checker.LockRect(nullptr, 0, &pitch));
        ASSERT_NE(bits, nullptr);
        const uint32_t texels[4] = {0xFFFFFFFF, 0x40000000, 0x40000000, 0xFFFFFFFF};
        for (int i = 0; i < 4; ++i)
            std::memcpy(bits + (i / 2) * pitch + (i % 2) * 4, &texels[i], 4);
        ASSERT_EQ(checker.UnlockRect(), D3D_OK);
    }
    struct Case
    {
        const char* name;
        std::function<void(bool)> set; // false: the state before, true: after
    };
    auto rs = [this](uint32_t state, uint32_t before, uint32_t after)
    { return [this, state, before, after](bool changed) { m_Device.SetRenderState(state, changed ? after : before); }; };
    const Case cases[] = {
        {"blend", rs(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DBLEND_ONE)},
        {"sampler", [this](bool changed)
         { m_Device.SetSamplerState(0, D3DSAMP_MAGFILTER, changed ? D3DTEXF_LINEAR : D3DTEXF_POINT); }},
        {"stage", [this](bool changed)
         { m_Device.SetTextureStageState(0, D3DTSS_COLOROP, changed ? D3DTOP_SELECTARG2 : D3DTOP_MODULATE); }},
        {"texture factor",
         [this](bool changed)
         {
             m_Device.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
             m_Device.SetRenderState(D3DRS_TEXTUREFACTOR, changed ? 0xFF2080FF : 0xFFFFFFFF);
         }},
        {"colour write", rs(D3DRS_COLORWRITEENABLE, 0xF, 0x5)},
        {"scissor",
         [this](bool changed)
         {
             m_Device.SetScissorRect({0, 0, 20, 64});
             m_Device.SetRenderState(D3DRS_SCISSORTESTENABLE, changed ? 1 : 0);
         }},
        {"alpha test",
         [this](bool changed)
         {
             m_Device.SetRenderState(D3DRS_ALPHAREF, 0x80);
             m_Device.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
             m_Device.SetRenderState(D3DRS_ALPHATESTENABLE, changed ? 1 : 0);
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Modulate2D();
        m_Device.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        auto draw = [&](bool changed)
        {
            return [&, changed]
            {
                c.set(false);
                m_Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
                m_Device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
                m_Device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
                Quad(nullptr, 0, 0, 64, 64, 0xFF806040);
                m_Device.FlushQuads();
                c.set(changed);
                Quad(&checker, 0, 0, 64, 64, 0xFFFFFFFF);
                m_Device.FlushQuads();
                c.set(false);
            };
        };
        ChangeShowsAsAWholeRedraw(draw(false), draw(true));
    }
}

// Vertices handed over in memory under a vertex declaration, which says which of their two colours is
// drawn: a frame that differs from the last in the declaration alone is shown, drawn as a whole redraw
// draws it.
TEST_F(PfGLDeviceFrameSceneTest, ChangeOfTheVertexDeclarationAloneIsShownAsAWholeRedraw)
{
    struct Vertex
    {
        float x, y, z;
        uint32_t first, second;
    };
    const D3DVERTEXELEMENT9 firstColour[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        D3DDECL_END,
    };
    D3DVERTEXELEMENT9 secondColour[3];
    std::copy(std::begin(firstColour), std::end(firstColour), secondColour);
    secondColour[1].Offset = 16;
    PfGLVertexDeclaration first, second;
    ASSERT_EQ(first.Create(firstColour), D3D_OK);
    ASSERT_EQ(second.Create(secondColour), D3D_OK);
    Modulate2D();
    const Vertex square[4] = {{-1, -1, 0.5f, 0xFFFF0000, 0xFF00FF00},
                              {1, -1, 0.5f, 0xFFFF0000, 0xFF00FF00},
                              {1, 1, 0.5f, 0xFFFF0000, 0xFF00FF00},
                              {-1, 1, 0.5f, 0xFFFF0000, 0xFF00FF00}};
    auto draw = [&](PfGLVertexDeclaration* declaration)
    {
        return [&, declaration]
        {
            m_Device.SetTexture(0, nullptr);
            ASSERT_EQ(m_Device.SetVertexDeclaration(declaration), D3D_OK);
            ASSERT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, square, sizeof(Vertex)), D3D_OK);
        };
    };
    // Making the declarations ended the comparison of the frame under way.
    BreakComparison();
    const auto [old, changed] = ChangeShowsAsAWholeRedraw(draw(&first), draw(&second));
    EXPECT_EQ(old[32 * 64 + 32], 0xFFFF0000u);
    EXPECT_EQ(changed[32 * 64 + 32], 0xFF00FF00u);
}

// The two rules that read a frame's picture from its commands, each under the states it models and under
// states it does not: a quad over the whole back buffer that lets the frame drop what came before it, and a
// point where the picture is one known colour, after which equal commands leave the frame out. Each case
// draws frame k = 0, 1 (the picture before; 1 differs from 0 only in a small mark, so it is drawn and its
// colour point found) and 2 (the picture after), which must show what a whole redraw of it shows.
namespace
{

class PfGLDeviceFrameRuleTest;
struct FrameRuleCase
{
    const char* Name;
    void (*Draw)(PfGLDeviceFrameRuleTest& t, int k);
};

class PfGLDeviceFrameRuleTest : public PfGLDeviceFrameSceneTest, public ::testing::WithParamInterface<FrameRuleCase>
{
public:
    static constexpr uint32_t WHITE = 0xFFFFFFFF, GREEN = 0xFF00FF00, BLACK = 0xFF000000, BLUE = 0xFF0000FF,
                              MAGENTA = 0xFFFF00FF;
    static constexpr uint32_t UNNAMED_STATE = 194;
    void SetUp() override
    {
        PfGLDeviceFrameSceneTest::SetUp();
        Solid(m_Black, BLACK);
        Solid(m_Grey, 0xFF808080);
        Solid(m_Clear, 0x00FFFFFF);
        ASSERT_EQ(m_Depth.Create(64, 64, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8), D3D_OK);
    }
    PfGLDevice& Device() { return m_Device; }
    void Rs(uint32_t state, uint32_t value) { m_Device.SetRenderState(state, value); }
    void Ts(uint32_t stage, uint32_t type, uint32_t value) { m_Device.SetTextureStageState(stage, type, value); }
    void ClearTo(uint32_t argb, uint32_t flags = D3DCLEAR_TARGET, float z = 1.0f)
    {
        m_Device.Clear(0, nullptr, flags, argb, z, 0);
    }
    // A quad over the whole back buffer, drawn on its own, its corners m_Reach past the outer pixels.
    void Cover(PfGLTexture* texture, uint32_t diffuse, uint32_t specular = 0)
    {
        KvVertex2D q[4];
        Corners(q, -0.5f - m_Reach, -0.5f - m_Reach, 63.5f + m_Reach, 63.5f + m_Reach, diffuse);
        for (KvVertex2D& v : q)
            v.specular = specular, v.rhw = m_Rhw;
        m_Device.SetFVF(FVF_2D);
        m_Device.SetTexture(0, texture);
        ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    }
    // The same quad in a pre-transformed layout with a normal before the colour.
    void CoverWithNormal(float normal, uint32_t diffuse)
    {
        struct Vertex
        {
            float x, y, z, rhw, nx, ny, nz;
            uint32_t diffuse;
        } q[4];
        const float corners[4][2] = {{-0.5f, -0.5f}, {-0.5f, 63.5f}, {63.5f, 63.5f}, {63.5f, -0.5f}};
        for (int i = 0; i < 4; ++i)
            q[i] = {corners[i][0], corners[i][1], 0.0f, 1.0f, normal, normal, normal, diffuse};
        m_Device.SetFVF(D3DFVF_XYZRHW | D3DFVF_NORMAL | D3DFVF_DIFFUSE);
        m_Device.SetTexture(0, nullptr);
        ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(Vertex)), D3D_OK);
    }
    // A whole clear (white, then green), the case's states, and an opaque quad over everything (black, then
    // blue): the covering quad.
    void Covered(int k, bool blended, const std::function<void()>& states)
    {
        ClearTo(k < 2 ? WHITE : GREEN);
        Rs(D3DRS_ALPHABLENDENABLE, blended ? 1 : 0);
        states();
        Cover(nullptr, k < 2 ? BLACK : BLUE);
    }
    // A whole clear (white, then green), the case's states, and the black texture blended over everything
    // (its vertices white, then magenta): a picture of one colour, black, that no covering quad gives.
    void BlackOver(int k, const std::function<void()>& states)
    {
        ClearTo(k < 2 ? WHITE : GREEN);
        states();
        Cover(&m_Black, k < 2 ? WHITE : MAGENTA);
    }
    // States that keep a quad from some of the pixels it lies over: a scissor and a viewport over the left
    // half (the viewport with a depth range), an alpha test the quad fails.
    void LeftHalfScissor()
    {
        m_Device.SetScissorRect({0, 0, 32, 64});
        Rs(D3DRS_SCISSORTESTENABLE, 1);
    }
    void LeftHalfViewport() { m_Device.SetViewport({0, 0, 32, 64, 0.25f, 0.75f}); }
    void FailingAlphaTest()
    {
        Rs(D3DRS_ALPHATESTENABLE, 1);
        Rs(D3DRS_ALPHAFUNC, D3DCMP_LESS);
        Rs(D3DRS_ALPHAREF, 0x80);
    }
    // Fog of the whole colour (pre-transformed vertices take it from their specular alpha, 0 here): red,
    // then yellow.
    void Fog(int k)
    {
        Rs(D3DRS_FOGENABLE, 1);
        Rs(D3DRS_FOGCOLOR, k < 2 ? 0xFFFF0000 : 0xFFFFFF00);
    }
    // A second stage with a texture, passing the colour of `colour` on with the alpha of `alpha`.
    void SecondStage(PfGLTexture* texture, uint32_t colour, uint32_t alpha)
    {
        m_Device.SetTexture(1, texture);
        Ts(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        Ts(1, D3DTSS_COLORARG1, colour);
        Ts(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        Ts(1, D3DTSS_ALPHAARG1, alpha);
    }
    // A depth-stencil surface cleared with the target (depth to 0.25) and its test on: the quad fails it.
    void FailingDepthOrStencil(int k, uint32_t test)
    {
        m_Device.SetDepthStencilSurface(&m_Depth);
        ClearTo(k < 2 ? WHITE : GREEN, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0.25f);
        Rs(D3DRS_ALPHABLENDENABLE, 0);
        Rs(test, 1);
        Rs(D3DRS_ZFUNC, D3DCMP_GREATER);
        Rs(D3DRS_STENCILFUNC, D3DCMP_NEVER);
        Cover(nullptr, k < 2 ? BLACK : BLUE);
    }
    // Blending one times the source and zero times the destination by the equation given, over a clear
    // (white, then green), with the grey texture.
    void OneAndZero(int k, uint32_t clear, uint32_t op)
    {
        ClearTo(clear);
        Rs(D3DRS_SRCBLEND, D3DBLEND_ONE);
        Rs(D3DRS_DESTBLEND, D3DBLEND_ZERO);
        Rs(D3DRS_BLENDOP, op);
        Cover(&m_Grey, WHITE);
    }
    // The 2D states every frame starts and ends with.
    void Base()
    {
        Modulate2D();
        Rs(D3DRS_ALPHABLENDENABLE, 1);
        Rs(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        Rs(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        Rs(D3DRS_BLENDOP, D3DBLENDOP_ADD);
        for (uint32_t state : {D3DRS_SCISSORTESTENABLE, D3DRS_ALPHATESTENABLE, D3DRS_FOGENABLE, D3DRS_SPECULARENABLE,
                               D3DRS_ZENABLE, D3DRS_STENCILENABLE})
            Rs(state, 0);
        Rs(D3DRS_COLORWRITEENABLE, 0xF);
        Rs(D3DRS_FILLMODE, D3DFILL_SOLID);
        Rs(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
        Rs(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
        Rs(UNNAMED_STATE, 0);
        Ts(0, D3DTSS_RESULTARG, D3DTA_CURRENT);
        Ts(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        Ts(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        m_Device.SetTexture(1, nullptr);
        m_Device.SetDepthStencilSurface(nullptr);
        m_Device.SetViewport({0, 0, 64, 64, 0.0f, 1.0f});
    }
    std::vector<uint32_t> Colours()
    {
        std::vector<uint32_t> picture = BackPicture();
        for (uint32_t& p : picture)
            p &= 0xFFFFFF;
        return picture;
    }
    // Frame k of a case, between the 2D states and with a small mark that moves after the first frame.
    void RuleFrame(void (*draw)(PfGLDeviceFrameRuleTest&, int), int k)
    {
        Frame(
            [this, draw, k]
            {
                Base();
                draw(*this, k);
                Base();
                const float at = k == 0 ? 0.0f : 8.0f;
                Quad(nullptr, at, 60, at + 4, 64, MAGENTA);
                m_Device.FlushQuads();
            },
            false);
    }
    void ExpectTheWholeRedrawsPicture()
    {
        const FrameRuleCase& c = GetParam();
        RuleFrame(c.Draw, 0);
        RuleFrame(c.Draw, 1);
        const std::vector<uint32_t> before = Colours();
        RuleFrame(c.Draw, 2);
        const std::vector<uint32_t> shown = Colours();
        BreakComparison();
        RuleFrame(c.Draw, 2);
        const std::vector<uint32_t> whole = Colours();
        const auto differ = std::mismatch(shown.begin(), shown.end(), whole.begin());
        EXPECT_TRUE(differ.first == shown.end())
            << "shown " << std::hex << *differ.first << " where a whole redraw gives " << *differ.second << " at "
            << std::dec << (differ.first - shown.begin());
        EXPECT_TRUE(whole != before) << "the case changes the picture";
    }

    // A stage without a texture whose sampler reads a transparent border around the texture it does not
    // have, filtered so that the border would blend into every pixel.
    void TransparentBorder()
    {
        for (uint32_t address : {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV})
            m_Device.SetSamplerState(0, address, D3DTADDRESS_BORDER);
        m_Device.SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0x00000000);
        m_Device.SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        m_Device.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    }

    PfGLTexture m_Black, m_Grey, m_Clear, m_Depth;
    float m_Reach = 0.0f;
    float m_Rhw = 1.0f;
};

class PfGLDeviceCoveringQuadTest : public PfGLDeviceFrameRuleTest
{
};
class PfGLDeviceOneColourFrameTest : public PfGLDeviceFrameRuleTest
{
};

std::string RuleCaseName(const ::testing::TestParamInfo<FrameRuleCase>& info)
{
    return info.param.Name;
}
void PrintTo(const FrameRuleCase& c, std::ostream* os)
{
    *os << c.Name;
}

using T = PfGLDeviceFrameRuleTest;

const FrameRuleCase s_CoveringCases[] = {
    // Under states it does not model: culled, or transparent where its colour lies past a normal.
    {"CulledCounterClockwise", [](T& t, int k) { t.Covered(k, false, [&] { t.Rs(D3DRS_CULLMODE, D3DCULL_CCW); }); }},
    {"ColourAfterANormal",
     [](T& t, int k)
     {
         t.ClearTo(k < 2 ? T::WHITE : T::GREEN);
         t.CoverWithNormal(-INFINITY, 0x00000000);
     }},
    // Under states it follows.
    {"CulledClockwise", [](T& t, int k) { t.Covered(k, false, [&] { t.Rs(D3DRS_CULLMODE, D3DCULL_CW); }); }},
    {"Scissor", [](T& t, int k) { t.Covered(k, false, [&] { t.LeftHalfScissor(); }); }},
    {"AlphaTest", [](T& t, int k) { t.Covered(k, false, [&] { t.FailingAlphaTest(); }); }},
    {"ColourMask", [](T& t, int k) { t.Covered(k, false, [&] { t.Rs(D3DRS_COLORWRITEENABLE, 0x1); }); }},
    {"ViewportAndDepthRange", [](T& t, int k) { t.Covered(k, false, [&] { t.LeftHalfViewport(); }); }},
    {"Wireframe", [](T& t, int k) { t.Covered(k, false, [&] { t.Rs(D3DRS_FILLMODE, D3DFILL_WIREFRAME); }); }},
    {"Fog", [](T& t, int k) { t.Covered(k, false, [&] { t.Fog(k); }); }},
    {"Depth", [](T& t, int k) { t.FailingDepthOrStencil(k, D3DRS_ZENABLE); }},
    {"Stencil", [](T& t, int k) { t.FailingDepthOrStencil(k, D3DRS_STENCILENABLE); }},
    {"ClearTexture",
     [](T& t, int k)
     {
         t.ClearTo(k < 2 ? T::WHITE : T::GREEN);
         t.Cover(&t.m_Clear, k < 2 ? T::BLACK : T::BLUE);
     }},
    {"SecondStage",
     [](T& t, int k) { t.Covered(k, true, [&] { t.SecondStage(&t.m_Clear, D3DTA_CURRENT, D3DTA_TEXTURE); }); }},
    // No texture: the stage reads opaque white whatever its sampler says.
    {"BorderOfAStageWithoutTexture", [](T& t, int k) { t.Covered(k, true, [&] { t.TransparentBorder(); }); }},
    // Corners the rasteriser does not draw whole: at infinity (nothing drawn), far out (part drawn).
    {"CornersAtInfinity", [](T& t, int k) { t.Covered(k, false, [&] { t.m_Reach = INFINITY; }); }},
    {"CornersFarOut", [](T& t, int k) { t.Covered(k, false, [&] { t.m_Reach = 1e30f; }); }},
    // A reciprocal w so large that the device draws nothing.
    {"RhwNearTheFloatsTop", [](T& t, int k) { t.Covered(k, false, [&] { t.m_Rhw = 1e38f; }); }},
};

const FrameRuleCase s_OneColourCases[] = {
    // Under states it does not model: culled, the first stage's result kept aside, blend equations that do
    // not give the source, an alpha channel read back by a later blend, the colour past a normal.
    {"CulledCounterClockwise", [](T& t, int k) { t.BlackOver(k, [&] { t.Rs(D3DRS_CULLMODE, D3DCULL_CCW); }); }},
    {"FirstStageResultToTemp", [](T& t, int k) { t.BlackOver(k, [&] { t.Ts(0, D3DTSS_RESULTARG, D3DTA_TEMP); }); }},
    {"MinOfOneAndZero", [](T& t, int k) { t.OneAndZero(k, k < 2 ? T::WHITE : T::GREEN, D3DBLENDOP_MIN); }},
    {"MaxOfOneAndZero", [](T& t, int k) { t.OneAndZero(k, k < 2 ? T::WHITE : T::GREEN, D3DBLENDOP_MAX); }},
    // Black whatever the source (none of it is taken from the destination), then the source itself.
    {"ReverseSubtractOfOneAndZero",
     [](T& t, int k) { t.OneAndZero(k, T::WHITE, k < 2 ? D3DBLENDOP_REVSUBTRACT : D3DBLENDOP_ADD); }},
    {"DestinationAlphaReadLater",
     [](T& t, int k)
     {
         t.ClearTo(0x00000000);
         t.Cover(nullptr, (k == 0 ? 0xFFu : k == 1 ? 0x80u : 0x40u) << 24);
         t.Rs(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
         t.Rs(D3DRS_DESTBLEND, D3DBLEND_ONE);
         t.Cover(nullptr, T::WHITE);
     }},
    {"ColourAfterANormal",
     [](T& t, int k)
     {
         t.ClearTo(k < 2 ? T::WHITE : T::GREEN);
         t.Rs(D3DRS_ALPHABLENDENABLE, 0);
         t.CoverWithNormal(0.0f, k < 2 ? T::WHITE : T::MAGENTA);
     }},
    // Under states it follows.
    {"Scissor", [](T& t, int k) { t.BlackOver(k, [&] { t.LeftHalfScissor(); }); }},
    {"AlphaTest", [](T& t, int k) { t.BlackOver(k, [&] { t.FailingAlphaTest(); }); }},
    {"ColourMask", [](T& t, int k) { t.BlackOver(k, [&] { t.Rs(D3DRS_COLORWRITEENABLE, 0x1); }); }},
    {"ViewportAndDepthRange", [](T& t, int k) { t.BlackOver(k, [&] { t.LeftHalfViewport(); }); }},
    {"Wireframe", [](T& t, int k) { t.BlackOver(k, [&] { t.Rs(D3DRS_FILLMODE, D3DFILL_WIREFRAME); }); }},
    {"Fog", [](T& t, int k) { t.BlackOver(k, [&] { t.Fog(k); }); }},
    {"SecondStage",
     [](T& t, int k) { t.BlackOver(k, [&] { t.SecondStage(&t.m_Grey, D3DTA_DIFFUSE, D3DTA_CURRENT); }); }},
    {"StageAdd", [](T& t, int k) { t.BlackOver(k, [&] { t.Ts(0, D3DTSS_COLOROP, D3DTOP_ADD); }); }},
    {"Specular",
     [](T& t, int k)
     {
         t.ClearTo(k < 2 ? T::WHITE : T::GREEN);
         t.Rs(D3DRS_SPECULARENABLE, 1);
         t.Cover(&t.m_Black, T::WHITE, k < 2 ? 0x000000FF : 0x00FF0000);
     }},
    {"CornersAtInfinity", [](T& t, int k) { t.BlackOver(k, [&] { t.m_Reach = INFINITY; }); }},
    {"CornersFarOut", [](T& t, int k) { t.BlackOver(k, [&] { t.m_Reach = 1e30f; }); }},
    {"RhwNearTheFloatsTop", [](T& t, int k) { t.BlackOver(k, [&] { t.m_Rhw = 1e38f; }); }},
};

} // namespace

TEST_P(PfGLDeviceCoveringQuadTest, FrameAfterItShowsTheWholeRedrawsPicture)
{
    ExpectTheWholeRedrawsPicture();
}
INSTANTIATE_TEST_SUITE_P(States, PfGLDeviceCoveringQuadTest, ::testing::ValuesIn(s_CoveringCases), RuleCaseName);

TEST_P(PfGLDeviceOneColourFrameTest, FrameLeftOutShowsTheWholeRedrawsPicture)
{
    ExpectTheWholeRedrawsPicture();
}
INSTANTIATE_TEST_SUITE_P(States, PfGLDeviceOneColourFrameTest, ::testing::ValuesIn(s_OneColourCases), RuleCaseName);

// A render state the rules do not name (one the device does not apply yet) refuses both: a frame whose
// clear under the quad differs is drawn and shown, though its picture is the same.
TEST_F(PfGLDeviceFrameRuleTest, StateTheRulesDoNotNameRefusesBoth)
{
    void (*const cases[])(T&, int) = {
        [](T& t, int k)
        {
            t.ClearTo(k < 2 ? T::WHITE : T::GREEN);
            t.Rs(D3DRS_ALPHABLENDENABLE, 0);
            t.Rs(T::UNNAMED_STATE, 1);
            t.Cover(nullptr, T::BLACK);
        },
        [](T& t, int k) { t.BlackOver(k, [&] { t.Rs(T::UNNAMED_STATE, 1); }); },
    };
    for (auto draw : cases)
    {
        RuleFrame(draw, 0);
        RuleFrame(draw, 1);
        Counts();
        RuleFrame(draw, 2);
        EXPECT_EQ(Counts(), Shown(1, 0));
        BreakComparison();
    }
}

// A quad at a reciprocal w near the float's bottom is drawn at a w near its top, where some rasterisers lose
// its colour (black has been seen): it gives no colour point, so the next frame, of the colour the quad was
// meant to have, is drawn rather than taken as the same picture.
TEST_F(PfGLDeviceFrameRuleTest, QuadAtAnRhwNearTheFloatsBottomGivesNoColourPoint)
{
    auto draw = [](T& t, int k)
    {
        t.ClearTo(T::GREEN);
        t.Rs(D3DRS_ALPHABLENDENABLE, 0);
        t.m_Rhw = k < 2 ? 2e-38f : 1.0f;
        t.Cover(nullptr, T::WHITE);
        t.m_Rhw = 1.0f;
    };
    RuleFrame(draw, 0);
    RuleFrame(draw, 1);
    Counts();
    RuleFrame(draw, 2);
    EXPECT_EQ(Counts(), Shown(1, 0));
}
