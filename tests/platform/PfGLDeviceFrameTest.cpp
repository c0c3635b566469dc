// The frame comparison: a frame equal to the last one shown is neither drawn nor shown, and every input that
// changes the picture (a texture's contents, on the drawing thread or another, vertices, a render target
// drawn into, the window exposed) brings a drawn and shown frame with the new picture. A frame that differs
// in a few draws is drawn again only where they reach, and gives the picture a whole redraw gives.
#include "PlatformTestSupport.h"

#include <epoxy/gl.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace
{

class PfGLDeviceFrameTest : public KvGLDeviceFixture
{
protected:
    PfGLDeviceFrameTest() : KvGLDeviceFixture(64, 64) {}
    void SetUp() override
    {
        KvGLDeviceFixture::SetUp();
        Modulate2D();
        m_Device.SetFVF(FVF_2D);
        m_Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        m_Device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        m_Device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
    void Quad(PfGLTexture* texture, float l, float t, float r, float b, uint32_t diffuse)
    {
        KvVertex2D q[4];
        Corners(q, l - 0.5f, t - 0.5f, r - 0.5f, b - 0.5f, diffuse);
        m_Device.SetTexture(0, texture);
        ASSERT_EQ(m_Device.QueueQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    }
    // A frame as the engine makes one: a clear of the whole back buffer, then the drawing.
    template <typename Draw> void Frame(Draw draw, bool clear = true)
    {
        if (clear)
            m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        draw();
        ASSERT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);
    }
    // Counts of shown and skipped frames since the last call.
    std::pair<uint64_t, uint64_t> Counts()
    {
        const std::pair<uint64_t, uint64_t> now = {m_Device.GetPresentedFrameCount(), m_Device.GetSkippedFrameCount()};
        const std::pair<uint64_t, uint64_t> since = {now.first - m_Seen.first, now.second - m_Seen.second};
        m_Seen = now;
        return since;
    }
    std::pair<uint64_t, uint64_t> m_Seen;

    // A quad sampling part of its texture.
    void Part(PfGLTexture* texture, float l, float t, float r, float b, float u0, float u1, uint32_t diffuse)
    {
        KvVertex2D q[4];
        Corners(q, l - 0.5f, t - 0.5f, r - 0.5f, b - 0.5f, diffuse);
        q[0].u = q[1].u = u0;
        q[2].u = q[3].u = u1;
        m_Device.SetTexture(0, texture);
        ASSERT_EQ(m_Device.QueueQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    }
    // Writes one colour into columns first..first+count of a texture, all rows.
    static void Columns(PfGLTexture& texture, uint32_t first, uint32_t count, uint32_t color)
    {
        uint32_t pitch = 0;
        const PfRect rect = {(int32_t)first, 0, (int32_t)(first + count), (int32_t)texture.GetHeight()};
        auto* bits = static_cast<uint8_t*>(texture.LockRect(&rect, 0, &pitch));
        ASSERT_NE(bits, nullptr);
        for (uint32_t y = 0; y < texture.GetHeight(); ++y)
            for (uint32_t x = 0; x < count; ++x)
                std::memcpy(bits + y * pitch + x * 4, &color, 4);
        ASSERT_EQ(texture.UnlockRect(), D3D_OK);
    }
    std::vector<uint32_t> BackPicture()
    {
        PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
        EXPECT_EQ(back->ReadBack(), D3D_OK);
        std::vector<uint32_t> picture(m_Width * m_Height);
        std::memcpy(picture.data(), back->GetData(), picture.size() * 4);
        return picture;
    }
    // The window's picture, top row first, as the last present left it.
    std::vector<uint32_t> WindowPicture()
    {
        std::vector<uint32_t> rows(m_Width * m_Height), picture(rows.size());
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, (GLsizei)m_Width, (GLsizei)m_Height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
        for (uint32_t y = 0; y < m_Height; ++y)
            std::memcpy(&picture[y * m_Width], &rows[(m_Height - 1 - y) * m_Width], m_Width * 4);
        return picture;
    }
    struct Pictures
    {
        std::vector<uint32_t> Before, Partial, Whole;
    };
    // Shows `before`, then `after`, which must be drawn again in part only and sent in part to a window that
    // keeps its picture; then `after` again drawn whole as it comes (the frame before it cannot be compared
    // with). after(true) is the second time.
    Pictures RedrawInPartAndWhole(const std::function<void()>& before, const std::function<void(bool)>& after)
    {
        Pictures pictures;
        Frame(before);
        Frame(before);
        pictures.Before = BackPicture();
        const uint64_t partial = m_Device.GetPartialFrameCount();
        const uint64_t sentPart = m_Device.GetPartialPresentCount();
        Frame([&] { after(false); });
        EXPECT_EQ(m_Device.GetPartialFrameCount(), partial + 1) << "drawn again in part";
        pictures.Partial = BackPicture();
        if (PfGLSwapChain::WindowKeepsPicture())
        {
            EXPECT_EQ(m_Device.GetPartialPresentCount(), sentPart + 1) << "sent in part";
        }
        // The window keeps no alpha.
        std::vector<uint32_t> shown = WindowPicture(), colours = pictures.Partial;
        for (size_t i = 0; i < shown.size(); ++i)
        {
            shown[i] &= 0xFFFFFF;
            colours[i] &= 0xFFFFFF;
        }
        EXPECT_TRUE(shown == colours) << "the window shows the whole new picture";
        // A draw before any clear: the frame cannot be compared, and the next one is drawn as it comes.
        Frame([&] { Quad(nullptr, 0, 0, 1, 1, 0xFF00FF00); }, false);
        Frame([&] { after(true); });
        EXPECT_EQ(m_Device.GetPartialFrameCount(), partial + 1);
        pictures.Whole = BackPicture();
        EXPECT_TRUE(pictures.Partial != pictures.Before) << "the change shows";
        return pictures;
    }
};

using Shown = std::pair<uint64_t, uint64_t>;

} // namespace

TEST_F(PfGLDeviceFrameTest, EqualFrameIsNotDrawnAndReadBackGetsTheLastPicture)
{
    PfGLTexture red;
    Solid(red, 0xFFFF0000);
    auto draw = [&] { Quad(&red, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Counts();
    const uint64_t calls = m_Device.GetDrawCallCount();
    Frame(draw);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(0, 2));
    EXPECT_EQ(m_Device.GetDrawCallCount(), calls + 2) << "the draws are still made and counted";
    EXPECT_EQ(BackPixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(40, 40), 0xFF000000u);
    // A read-back before the next frame draws anything leaves the comparison intact.
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(0, 1));
}

// A movie frame or a newly typed character: the texture's contents change between frames, on the drawing
// thread (a lock, an upload) or on another (the movie decoder's lock, uploaded at the next bind).
TEST_F(PfGLDeviceFrameTest, ChangedTextureContentsAreDrawn)
{
    PfGLTexture picture;
    Solid(picture, 0xFFFF0000);
    auto draw = [&] { Quad(&picture, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Frame(draw);
    Counts();
    Solid(picture, 0xFF00FF00);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFF00FF00u);

    // The same pixels sent again still count as new contents: the frame is drawn again (in part), and not
    // shown, its picture being the one shown already.
    const uint64_t partial = m_Device.GetPartialFrameCount();
    ASSERT_EQ(picture.Upload(), D3D_OK);
    Frame(draw);
    EXPECT_EQ(m_Device.GetPartialFrameCount(), partial + 1);
    EXPECT_EQ(Counts(), Shown(0, 1));

    Frame(draw);
    std::thread decoder(
        [&]
        {
            uint32_t pitch = 0;
            auto* bits = static_cast<uint32_t*>(picture.LockRect(nullptr, 0, &pitch));
            for (int i = 0; bits && i < 16; ++i)
                bits[i] = 0xFF0000FF;
            picture.UnlockRect();
        });
    decoder.join();
    Counts();
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFF0000FFu);
}

// A layer fading: only the vertices' alpha differs from the last frame.
TEST_F(PfGLDeviceFrameTest, ChangedVerticesAreDrawn)
{
    auto draw = [&](uint32_t diffuse) { return [this, diffuse] { Quad(nullptr, 0, 0, 32, 32, diffuse); }; };
    Frame(draw(0xFFFFFFFF));
    Frame(draw(0xFFFFFFFF));
    Counts();
    Frame(draw(0x80FFFFFF));
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_NEAR(BackPixel(10, 10) & 0xFF, 0x80, 1);
    // A frame that is a shorter start of the last one is not equal to it.
    Frame([] {});
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFF000000u);
}

TEST_F(PfGLDeviceFrameTest, TextureChangedWithinAHeldBackFrameKeepsItsEarlierDrawsOldContents)
{
    PfGLTexture picture;
    Solid(picture, 0xFFFF0000);
    auto draw = [&] { Quad(&picture, 0, 0, 16, 16, 0xFFFFFFFF); };
    Frame(draw);
    Frame(
        [&]
        {
            draw();
            Solid(picture, 0xFF00FF00);
            Quad(&picture, 16, 0, 32, 16, 0xFFFFFFFF);
        });
    EXPECT_EQ(BackPixel(8, 8), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(24, 8), 0xFF00FF00u);
}

TEST_F(PfGLDeviceFrameTest, RenderTargetDrawsAreAlwaysMade)
{
    PfGLTexture target;
    ASSERT_EQ(target.Create(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
    uint32_t color = 0xFFFF0000;
    auto draw = [&]
    {
        m_Device.SetRenderTarget(0, &target);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
        m_Device.SetRenderTarget(0, back);
        Quad(&target, 0, 0, 32, 32, 0xFFFFFFFF);
    };
    Frame(draw);
    Frame(draw);
    Counts();
    color = 0xFF00FF00;
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(Pixel(&target, 3, 3), 0xFF00FF00u);
}

// Without a clear first, a frame draws over what the last one left: the same draws give a new picture.
TEST_F(PfGLDeviceFrameTest, FrameWithoutAWholeClearIsDrawn)
{
    Frame([] {});
    auto dim = [&] { Quad(nullptr, 0, 0, 32, 32, 0x80FFFFFF); };
    Frame(dim, false);
    const uint32_t once = BackPixel(10, 10) & 0xFF;
    Counts();
    Frame(dim, false);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_GT(BackPixel(10, 10) & 0xFF, once);
    // A clear of part of the target does not free the frame from the last one either.
    PfRect part = {0, 0, 8, 8};
    auto partial = [&]
    {
        m_Device.Clear(1, &part, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        dim();
    };
    Frame(partial, false);
    Counts();
    Frame(partial, false);
    EXPECT_EQ(Counts(), Shown(1, 0));
}

TEST_F(PfGLDeviceFrameTest, ExposedWindowIsShownAgain)
{
    auto draw = [&] { Quad(nullptr, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Frame(draw);
    Counts();
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(m_Window);
    event.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&event);
    SDL_FlushEvent(SDL_WINDOWEVENT);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFFFFFFFFu);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(0, 1));
    // Another part of the back buffer shown is shown.
    PfRect source = {0, 0, 32, 32};
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    draw();
    ASSERT_EQ(m_Device.Present(m_Device.GetSwapChain(0), &source, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Counts(), Shown(1, 0));
}

// A resize the window system's drawable takes only some presents later (a loaded X server, software GL):
// the presents before it went through a buffer of the old size, so even an unchanged frame is shown, and
// shown whole, until one has been made at the drawable's size; then equal frames are left out again.
TEST_F(PfGLDeviceFrameTest, ResizedWindowIsShownWholeUntilItsDrawableHasTheSize)
{
    PfGLSwapChain* chain = m_Device.GetSwapChain(0);
    auto draw = [&] { Quad(nullptr, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Frame(draw);
    Counts();
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(m_Window, &w, &h);
    chain->InjectDrawableSize(w, h);
    SDL_SetWindowSize(m_Window, w + 16, h + 16);
    SDL_FlushEvent(SDL_WINDOWEVENT);
    const uint64_t sentPart = m_Device.GetPartialPresentCount();
    for (int frame = 0; frame < 4; ++frame)
    {
        Frame(draw);
        EXPECT_EQ(Counts(), Shown(1, 0)) << "the same frame " << frame << " before the drawable has the size";
    }
    // A frame changed in a small part is not sent in part either: the window holds no right picture yet.
    Frame([&] { Quad(nullptr, 40, 40, 42, 42, 0xFFFF0000); });
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(m_Device.GetPartialPresentCount(), sentPart);

    chain->InjectDrawableSize(w + 16, h + 16);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0)) << "the first present at the drawable's size";
    Frame(draw);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(0, 2)) << "then equal frames are left out";
    chain->InjectDrawableSize(0, 0);
}

// The swap chain's half of the same guard: software GL sizes the window's buffer only when told, so every
// present is told the window's size while the server's size and SDL's differ, and the first present after
// they agree is told once more (the buffer may have taken the old size at the last telling); then no more.
TEST_F(PfGLDeviceFrameTest, WindowsBufferIsToldItsSizeUntilAPresentHasHadIt)
{
    PfGLSwapChain* chain = m_Device.GetSwapChain(0);
    auto draw = [&] { Quad(nullptr, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Frame(draw);
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(m_Window, &w, &h);
    chain->InjectDrawableSize(w, h);
    SDL_SetWindowSize(m_Window, w + 16, h + 16);
    SDL_FlushEvent(SDL_WINDOWEVENT);
    uint64_t told = chain->GetSizeNoticeCount();
    for (int frame = 0; frame < 3; ++frame)
        Frame(draw);
    EXPECT_EQ(chain->GetSizeNoticeCount() - told, 3u) << "each present while the server has the old size";
    told = chain->GetSizeNoticeCount();
    chain->InjectDrawableSize(w + 16, h + 16);
    Frame(draw);
    EXPECT_EQ(chain->GetSizeNoticeCount() - told, 1u) << "the first present at the server's size";
    told = chain->GetSizeNoticeCount();
    Frame([&] { Quad(nullptr, 40, 40, 42, 42, 0xFFFF0000); });
    EXPECT_EQ(chain->GetSizeNoticeCount() - told, 0u) << "then the buffer has the size";
    chain->InjectDrawableSize(0, 0);
}

TEST_F(PfGLDeviceFrameTest, BackBufferWrittenAroundTheDeviceIsDrawnOver)
{
    auto draw = [&] { Quad(nullptr, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Frame(draw);
    PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
    uint32_t pitch = 0;
    auto* bits = static_cast<uint32_t*>(back->LockRect(nullptr, 0, &pitch));
    ASSERT_NE(bits, nullptr);
    bits[10 * pitch / 4 + 10] = 0xFF123456;
    ASSERT_EQ(back->UnlockRect(), D3D_OK);
    Counts();
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFFFFFFFFu);
}

// A typed character: a new glyph written into the text texture between frames, and its quad added to the
// batch of glyph quads.
TEST_F(PfGLDeviceFrameTest, PartialRedrawOfANewGlyphEqualsAWholeRedraw)
{
    PfGLTexture text, glyphs, backdrop;
    ASSERT_EQ(text.Create(16, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_EQ(glyphs.Create(8, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    Solid(backdrop, 0xFF304050);
    Columns(text, 0, 4, 0xFFFFFFFF);
    Columns(glyphs, 0, 4, 0xFFFF8000);
    Columns(glyphs, 4, 4, 0xFF0080FF);
    auto draw = [&](uint32_t typed)
    {
        Quad(&backdrop, 0, 0, 64, 64, 0xFFFFFFFF);
        Quad(&text, 4, 4, 36, 12, 0xFFFFFFFF);
        for (uint32_t i = 0; i < typed; ++i)
            Part(&glyphs, 4.0f + 6 * i, 40, 10.0f + 6 * i, 46, (i % 2) * 0.5f, (i % 2) * 0.5f + 0.5f, 0xFFFFFFFF);
    };
    const Pictures p = RedrawInPartAndWhole([&] { draw(3); },
                                            [&](bool again)
                                            {
                                                if (!again)
                                                    Columns(text, 4, 4, 0xFFFFFF00);
                                                draw(4);
                                            });
    EXPECT_TRUE(p.Partial == p.Whole);
    EXPECT_EQ(p.Partial[6 * 64 + 13], 0xFFFFFF00u) << "the new glyph in the text texture";
    EXPECT_EQ(p.Partial[42 * 64 + 23], 0xFF0080FFu) << "the new glyph quad";
}

// A glyph written into a texture after the frame has drawn it once: the earlier draw keeps the earlier
// contents, also where it is drawn again in part.
TEST_F(PfGLDeviceFrameTest, PartialRedrawKeepsContentsATextureHadBeforeItChangedWithinTheFrame)
{
    PfGLTexture text;
    ASSERT_EQ(text.Create(8, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    Columns(text, 0, 8, 0xFFFF0000);
    auto first = [&] { Quad(&text, 8, 8, 40, 16, 0xFFFFFFFF); };
    const Pictures p = RedrawInPartAndWhole(first,
                                            [&](bool again)
                                            {
                                                if (again)
                                                    Columns(text, 0, 8, 0xFFFF0000);
                                                first();
                                                Columns(text, 0, 8, 0xFF00FF00);
                                                Quad(&text, 8, 14, 40, 22, 0xFFFFFFFF);
                                            });
    EXPECT_TRUE(p.Partial == p.Whole);
    EXPECT_EQ(p.Partial[13 * 64 + 20], 0xFFFF0000u) << "the first draw, drawn again, with the old contents";
    EXPECT_EQ(p.Partial[18 * 64 + 20], 0xFF00FF00u);
}

// A sprite moved (its old place shows the backdrop again), a layer's alpha changed over another layer, a
// change under a translucent layer, and a quad placed through the transforms moved.
TEST_F(PfGLDeviceFrameTest, PartialRedrawOfMovedFadedAndCoveredDrawsEqualsAWholeRedraw)
{
    PfGLTexture backdrop, sprite;
    ASSERT_EQ(backdrop.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    for (uint32_t x = 0; x < 4; ++x)
        Columns(backdrop, x, 1, 0xFF102030 + x * 0x00203010);
    Solid(sprite, 0xFFE0C040);
    auto back = [&] { Quad(&backdrop, 0, 0, 64, 64, 0xFFFFFFFF); };
    struct Case
    {
        const char* name;
        std::function<void(bool)> draw;
        int x, y; // a pixel the change reaches
    };
    bool changed = false;
    D3DMATRIX projection = {};
    // Target pixels straight through: x' = 2x/64 - 1, y' = 1 - 2y/64.
    projection.m[0][0] = 2.0f / 64;
    projection.m[1][1] = -2.0f / 64;
    projection.m[2][2] = 1.0f;
    projection.m[3][0] = -1.0f;
    projection.m[3][1] = 1.0f;
    projection.m[3][3] = 1.0f;
    const Case cases[] = {
        {"moved sprite",
         [&](bool)
         {
             back();
             const float at = changed ? 14.0f : 4.0f;
             Quad(&sprite, at, at, at + 8, at + 8, 0xFFFFFFFF);
         },
         8, 8},
        {"faded layer over a layer",
         [&](bool)
         {
             back();
             Quad(nullptr, 16, 16, 40, 40, 0xFF0000FF);
             Quad(nullptr, 24, 24, 48, 48, changed ? 0x60FF0000 : 0xFFFF0000);
         },
         30, 30},
        {"change under a translucent layer",
         [&](bool)
         {
             back();
             Quad(nullptr, 16, 16, 32, 32, changed ? 0xFF00FF00 : 0xFFFF0000);
             Quad(nullptr, 8, 8, 56, 56, 0x80FFFFFF);
         },
         20, 20},
        {"transformed quad moved",
         [&](bool)
         {
             back();
             m_Device.FlushQuads();
             m_Device.SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
             m_Device.SetTexture(0, nullptr);
             m_Device.SetTransform(D3DTS_PROJECTION, projection);
             struct
             {
                 float x, y, z;
                 uint32_t diffuse;
             } v[4];
             // Near the top, where a region turned upside down would miss it.
             const float left = changed ? 24.0f : 4.0f;
             v[0] = {left, 4, 0, 0xFFFFFFFF};
             v[1] = {left, 12, 0, 0xFFFFFFFF};
             v[2] = {left + 16, 12, 0, 0xFFFFFFFF};
             v[3] = {left + 16, 4, 0, 0xFFFFFFFF};
             m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(v[0]));
             m_Device.SetFVF(FVF_2D);
         },
         8, 8},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        changed = false;
        const Pictures p = RedrawInPartAndWhole([&] { c.draw(false); },
                                                [&](bool again)
                                                {
                                                    changed = true;
                                                    c.draw(again);
                                                });
        EXPECT_TRUE(p.Partial == p.Whole);
        EXPECT_NE(p.Partial[c.y * 64 + c.x], p.Before[c.y * 64 + c.x]);
    }
}

// What cannot be cut to a region is drawn whole: depth in use, or most of the target changed.
TEST_F(PfGLDeviceFrameTest, FramesThatCannotBeCutAreDrawnWhole)
{
    auto draw = [&](uint32_t size) { return [this, size] { Quad(nullptr, 0, 0, (float)size, (float)size, 0xFFFFFFFF); }; };
    Frame(draw(8));
    Frame(draw(8));
    const uint64_t partial = m_Device.GetPartialFrameCount();
    Frame(draw(60));
    EXPECT_EQ(m_Device.GetPartialFrameCount(), partial) << "most of the target";
    EXPECT_EQ(BackPixel(50, 50), 0xFFFFFFFFu);
    PfGLTexture depth;
    ASSERT_EQ(depth.Create(64, 64, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8), D3D_OK);
    ASSERT_EQ(m_Device.SetDepthStencilSurface(&depth), D3D_OK);
    m_Device.SetRenderState(D3DRS_ZENABLE, 1);
    auto depthFrame = [&](float size)
    {
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        Quad(nullptr, 0, 0, size, size, 0xFFFFFFFF);
        ASSERT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);
    };
    depthFrame(8);
    depthFrame(8);
    depthFrame(10);
    EXPECT_EQ(m_Device.GetPartialFrameCount(), partial) << "depth in use";
    EXPECT_EQ(BackPixel(9, 9), 0xFFFFFFFFu);
}

// A layer's render target written through a lock between frames, then drawn by the same pass as before:
// the pass is made again, and the target holds its picture, not the lock's.
TEST_F(PfGLDeviceFrameTest, RenderTargetLockedBetweenFramesHoldsThePassesPictureAgain)
{
    PfGLTexture target;
    ASSERT_EQ(target.Create(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
    auto pass = [&]
    {
        m_Device.SetRenderTarget(0, &target);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
        Quad(nullptr, 0, 0, 8, 16, 0xFF0000FF);
        m_Device.FlushQuads();
        m_Device.SetRenderTarget(0, back);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        Quad(&target, 0, 0, 32, 32, 0xFFFFFFFF);
    };
    Frame(pass, false);
    Frame(pass, false);
    Counts();
    Frame(pass, false);
    EXPECT_EQ(Counts(), Shown(0, 1)) << "an unchanged pass is not drawn";
    Columns(target, 0, 16, 0xFF00FF00);
    Frame(pass, false);
    EXPECT_EQ(Pixel(&target, 12, 4), 0xFFFF0000u) << "the pass's clear, not the lock's colour";
    EXPECT_EQ(Pixel(&target, 4, 4), 0xFF0000FFu) << "the pass's quad";
    EXPECT_EQ(BackPixel(24, 8), 0xFFFF0000u);
    Frame(pass, false);
    EXPECT_EQ(Pixel(&target, 12, 4), 0xFFFF0000u);
}

// A picture drawn with, then left to be made again at its next use from other pixels: the next frame shows
// them.
TEST_F(PfGLDeviceFrameTest, DeferredFillOfADrawnPictureIsShown)
{
    PfGLTexture picture;
    Solid(picture, 0xFFFF0000);
    auto draw = [&] { Quad(&picture, 0, 0, 32, 32, 0xFFFFFFFF); };
    Frame(draw);
    Frame(draw);
    Counts();
    picture.SetDeferredFill(
        [](uint8_t* data, uint32_t pitch)
        {
            const uint32_t green = 0xFF00FF00;
            for (uint32_t y = 0; y < 4; ++y)
                for (uint32_t x = 0; x < 4; ++x)
                    std::memcpy(data + (size_t)y * pitch + x * 4, &green, 4);
            return true;
        });
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));
    EXPECT_EQ(BackPixel(10, 10), 0xFF00FF00u);
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(0, 1));
}

// A further swap chain drawn in the frame of the implicit one, whose draws are held back: its present
// shows what the frame drew into it, not what its back buffer held before.
TEST_F(PfGLDeviceFrameTest, FurtherSwapChainShowsTheFramesOwnPicture)
{
    std::unique_ptr<PfGLSwapChain> further;
    ASSERT_EQ(m_Device.CreateAdditionalSwapChain(m_Device.GetSwapChain(0)->GetPresentParameters(), further), D3D_OK);
    PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
    uint32_t colour = 0xFFFF0000;
    auto frame = [&]
    {
        m_Device.SetRenderTarget(0, back);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        Quad(nullptr, 0, 0, 8, 8, 0xFFFFFFFF);
        m_Device.SetRenderTarget(0, further->GetBackBuffer());
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
        Quad(nullptr, 0, 0, 8, 8, 0xFFFFFFFF);
        ASSERT_EQ(m_Device.Present(further.get(), nullptr, nullptr, nullptr), D3D_OK);
        const std::vector<uint32_t> shown = WindowPicture();
        EXPECT_EQ(shown[20 * m_Width + 20] & 0xFFFFFF, colour & 0xFFFFFF) << "the further window's own colour";
        EXPECT_EQ(shown[4 * m_Width + 4] & 0xFFFFFF, 0xFFFFFFu);
        m_Device.SetRenderTarget(0, back);
        ASSERT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);
    };
    frame();
    frame();
    colour = 0xFF00FF00;
    frame();
    colour = 0xFF0000FF;
    frame();
    EXPECT_EQ(BackPixel(20, 20), 0xFF000000u) << "the implicit chain keeps its own picture";
}
