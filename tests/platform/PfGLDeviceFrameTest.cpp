// The frame comparison: a frame equal to the last one shown is neither drawn nor shown, and every input that
// changes the picture (a texture's contents, on the drawing thread or another, vertices, a render target
// drawn into, the window exposed) brings a drawn and shown frame with the new picture.
#include "PlatformTestSupport.h"

#include <thread>

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

    ASSERT_EQ(picture.Upload(), D3D_OK); // the same pixels sent again still count as new contents
    Frame(draw);
    EXPECT_EQ(Counts(), Shown(1, 0));

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
