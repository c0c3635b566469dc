// What a texture keeps in memory: a picture uploaded once, or filled by one lock, gives its processor-side
// copy up and still reads back its pixels; textures written often, from another thread, dynamic or drawn
// into keep theirs; a depth surface cleared before it has memory gets that clear when a draw first tests
// against it.
#include "PlatformTestSupport.h"

#include <thread>

namespace
{

class PfGLTextureMemoryTest : public KvGLDeviceFixture
{
protected:
    PfGLTextureMemoryTest() : KvGLDeviceFixture(32, 32) {}
    static uint32_t At(const PfGLTexture& texture, uint32_t x, uint32_t y)
    {
        uint32_t argb = 0;
        std::memcpy(&argb, texture.GetData() + (size_t)y * texture.GetPitch() + (size_t)x * 4, 4);
        return argb;
    }
    // Writes a pattern of the pixel's place (plus base) into rect's pixels through one lock.
    static bool FillByLock(PfGLTexture& texture, const PfRect* rect, uint32_t base)
    {
        uint32_t pitch = 0;
        auto* bits = static_cast<uint8_t*>(texture.LockRect(rect, 0, &pitch));
        if (!bits)
            return false;
        const PfRect r = rect ? *rect : PfRect{0, 0, (int32_t)texture.GetWidth(), (int32_t)texture.GetHeight()};
        for (int32_t y = 0; y < r.bottom - r.top; ++y)
            for (int32_t x = 0; x < r.right - r.left; ++x)
            {
                const uint32_t argb = base | ((uint32_t)(r.left + x) << 8) | (uint32_t)(r.top + y);
                std::memcpy(bits + (size_t)y * pitch + (size_t)x * 4, &argb, 4);
            }
        return texture.UnlockRect() == D3D_OK;
    }
    // Draws the texture over the whole 32 x 32 back buffer, then unbinds it.
    void DrawWhole(PfGLTexture& texture)
    {
        Modulate2D();
        m_Device.SetFVF(FVF_2D);
        m_Device.SetTexture(0, &texture);
        KvVertex2D q[4];
        Corners(q, -0.5f, -0.5f, 31.5f, 31.5f, 0xFFFFFFFF);
        ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
        m_Device.SetTexture(0, nullptr);
    }
    // The pixel at x, y through a read-only lock.
    static uint32_t Locked(PfGLTexture& texture, uint32_t x, uint32_t y)
    {
        uint32_t pitch = 0;
        auto* bits = static_cast<const uint8_t*>(texture.LockRect(nullptr, D3DLOCK_READONLY, &pitch));
        uint32_t argb = 0xDEADBEEFu;
        if (bits)
            std::memcpy(&argb, bits + (size_t)y * pitch + (size_t)x * 4, 4);
        texture.UnlockRect();
        return argb;
    }
};

} // namespace

TEST_F(PfGLTextureMemoryTest, UploadedPictureGivesItsCopyUpAndStillReadsBack)
{
    PfGLTexture picture;
    ASSERT_EQ(picture.Create(8, 8, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_TRUE(picture.HasCopy()) << "loaders fill the copy of a fresh texture";
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
        {
            const uint32_t argb = 0xFF000000u | (x << 16) | (y << 8);
            std::memcpy(picture.GetData() + (size_t)y * picture.GetPitch() + x * 4, &argb, 4);
        }
    ASSERT_EQ(picture.Upload(), D3D_OK);
    EXPECT_FALSE(picture.HasCopy());
    EXPECT_EQ(At(picture, 5, 3), 0xFF050300u) << "the copy comes back from the texture";
    uint32_t pitch = 0;
    auto* bits = static_cast<uint8_t*>(picture.LockRect(nullptr, 0, &pitch));
    ASSERT_NE(bits, nullptr);
    uint32_t argb = 0;
    std::memcpy(&argb, bits + 2 * pitch + 7 * 4, 4);
    EXPECT_EQ(argb, 0xFF070200u);
    ASSERT_EQ(picture.UnlockRect(), D3D_OK);

    // Written again: the copy stays from now on.
    Solid(picture, 0xFF00FF00);
    EXPECT_TRUE(picture.HasCopy());
    ASSERT_EQ(picture.Upload(), D3D_OK);
    EXPECT_TRUE(picture.HasCopy());
}

// A picture filled by a single lock on the drawing thread is held by OpenGL alone; a later lock reads the
// same pixels back, and a second lock for writing keeps the copy from then on without losing the rows it
// did not touch.
TEST_F(PfGLTextureMemoryTest, PictureFilledByOneLockGivesItsCopyUpUntilWrittenAgain)
{
    PfGLTexture picture;
    ASSERT_EQ(picture.Create(8, 8, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_TRUE(FillByLock(picture, nullptr, 0xFF000000u));
    EXPECT_FALSE(picture.HasCopy()) << "OpenGL holds the pixels";
    EXPECT_TRUE(picture.HasStorage());
    EXPECT_EQ(Locked(picture, 5, 3), 0xFF000503u) << "read back from the texture";
    EXPECT_EQ(Locked(picture, 0, 7), 0xFF000007u);
    EXPECT_TRUE(picture.HasCopy()) << "a copy read back stays";

    // Drawn with, it still shows the pattern.
    DrawWhole(picture);
    EXPECT_EQ(BackPixel(1, 1), 0xFF000000u);
    EXPECT_EQ(BackPixel(30, 30), 0xFF000707u);

    // A fresh picture whose first lock covers part of it: the zeros around it are sent along.
    PfGLTexture part;
    ASSERT_EQ(part.Create(8, 8, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    const PfRect middle = {2, 2, 6, 6};
    ASSERT_TRUE(FillByLock(part, &middle, 0xFF000000u));
    EXPECT_FALSE(part.HasCopy());
    EXPECT_EQ(Locked(part, 3, 4), 0xFF000304u);
    EXPECT_EQ(Locked(part, 7, 7), 0u);

    // Written a second time (a glyph placed beside the first): the copy stays, both writes are there.
    PfGLTexture glyphs;
    ASSERT_EQ(glyphs.Create(8, 8, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    const PfRect left = {0, 0, 4, 8}, right = {4, 0, 8, 8};
    ASSERT_TRUE(FillByLock(glyphs, &left, 0xFF000000u));
    EXPECT_FALSE(glyphs.HasCopy());
    ASSERT_TRUE(FillByLock(glyphs, &right, 0x80000000u));
    EXPECT_TRUE(glyphs.HasCopy()) << "written more than once";
    EXPECT_EQ(At(glyphs, 1, 6), 0xFF000106u) << "the first write was read back before the second";
    EXPECT_EQ(At(glyphs, 6, 2), 0x80000602u);
    ASSERT_TRUE(FillByLock(glyphs, &left, 0x40000000u));
    EXPECT_TRUE(glyphs.HasCopy());
    EXPECT_EQ(Locked(glyphs, 3, 3), 0x40000303u);
}

// Textures that must keep their copy after one lock: a dynamic texture, a render target, one locked on a
// thread without the device's context, and one marked for such locks (movie frames: filled with a clear
// colour on the drawing thread, then written in part by the decoding thread, where OpenGL cannot be asked
// for the pixels the copy gave up).
TEST_F(PfGLTextureMemoryTest, TexturesLockedOnceKeepTheirCopyWhereItCannotBeGivenUp)
{
    PfGLTexture dynamic;
    ASSERT_EQ(dynamic.Create(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_TRUE(FillByLock(dynamic, nullptr, 0xFF000000u));
    EXPECT_TRUE(dynamic.HasCopy());

    PfGLTexture target;
    ASSERT_EQ(target.Create(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_TRUE(FillByLock(target, nullptr, 0xFF000000u));
    EXPECT_TRUE(target.HasCopy());
    EXPECT_EQ(Pixel(&target, 2, 1), 0xFF000201u);

    PfGLTexture threaded;
    ASSERT_EQ(threaded.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    bool filled = false;
    std::thread other([&] { filled = FillByLock(threaded, nullptr, 0xFF000000u); });
    other.join();
    ASSERT_TRUE(filled);
    EXPECT_TRUE(threaded.HasCopy()) << "the upload waits for the next bind";
    EXPECT_EQ(Locked(threaded, 3, 2), 0xFF000302u);

    PfGLTexture frame;
    ASSERT_EQ(frame.Create(8, 8, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    frame.KeepCopy();
    ASSERT_TRUE(FillByLock(frame, nullptr, 0xFF000000u));
    EXPECT_TRUE(frame.HasCopy());
    const PfRect video = {0, 0, 4, 4};
    std::thread decoder([&] { filled = FillByLock(frame, &video, 0x80000000u); });
    decoder.join();
    ASSERT_TRUE(filled);
    EXPECT_EQ(At(frame, 2, 2), 0x80000202u) << "the frame's part";
    EXPECT_EQ(At(frame, 6, 6), 0xFF000606u) << "the clear fill outside it survives";
    DrawWhole(frame);
    EXPECT_EQ(BackPixel(28, 28), 0xFF000707u) << "sent at the bind";
}

TEST_F(PfGLTextureMemoryTest, FreshTargetIsZeroWhenFirstDrawnIntoOrRead)
{
    PfGLTexture target;
    ASSERT_EQ(target.Create(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    EXPECT_FALSE(target.HasCopy());
    EXPECT_FALSE(target.HasStorage());
    EXPECT_EQ(Pixel(&target, 3, 3), 0u);
    PfGLTexture other;
    ASSERT_EQ(other.Create(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    const PfRect part = {0, 0, 4, 4};
    ASSERT_EQ(m_Device.SetRenderTarget(0, &other), D3D_OK);
    ASSERT_EQ(m_Device.Clear(1, &part, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(&other, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(Pixel(&other, 6, 6), 0u);
}

TEST_F(PfGLTextureMemoryTest, DepthClearedBeforeItHasMemoryHoldsTheClearAtTheFirstTest)
{
    PfGLTexture depth;
    ASSERT_EQ(depth.Create(32, 32, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8), D3D_OK);
    ASSERT_EQ(m_Device.SetDepthStencilSurface(&depth), D3D_OK);
    Modulate2D();
    m_Device.SetFVF(FVF_2D);
    m_Device.SetTexture(0, nullptr);
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 0.5f, 0),
              D3D_OK);
    EXPECT_FALSE(depth.HasStorage()) << "nothing has tested against it yet";
    m_Device.SetRenderState(D3DRS_ZENABLE, 1);
    m_Device.SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    KvVertex2D q[4];
    Corners(q, -0.5f, -0.5f, 15.5f, 31.5f, 0xFFFFFFFF);
    for (KvVertex2D& v : q)
        v.z = 0.3f;
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    Corners(q, 15.5f, -0.5f, 31.5f, 31.5f, 0xFFFFFFFF);
    for (KvVertex2D& v : q)
        v.z = 0.7f;
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    EXPECT_TRUE(depth.HasStorage());
    EXPECT_EQ(BackPixel(8, 8), 0xFFFFFFFFu) << "nearer than the cleared depth";
    EXPECT_EQ(BackPixel(24, 8), 0xFF000000u) << "behind the cleared depth";
    m_Device.SetDepthStencilSurface(nullptr);
}

// A picture whose pixels are left to its first use: nothing is held until then; a draw makes, sends and
// gives the copy up again; a read or lock made first keeps the made pixels; a discarding lock drops the
// fill; a fill that fails leaves transparent black.
TEST_F(PfGLTextureMemoryTest, DeferredFillMakesThePixelsAtTheFirstUseOnly)
{
    int runs = 0;
    auto fill = [&runs](uint32_t argb)
    {
        return [&runs, argb](uint8_t* data, uint32_t pitch)
        {
            ++runs;
            for (uint32_t y = 0; y < 4; ++y)
                for (uint32_t x = 0; x < 4; ++x)
                    std::memcpy(data + (size_t)y * pitch + x * 4, &argb, 4);
            return true;
        };
    };

    PfGLTexture drawn;
    ASSERT_EQ(drawn.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    const uint64_t generation = drawn.GetContentGeneration();
    drawn.SetDeferredFill(fill(0xFF00FF00));
    EXPECT_TRUE(drawn.HasDeferredFill());
    EXPECT_FALSE(drawn.HasCopy());
    EXPECT_FALSE(drawn.HasStorage());
    EXPECT_EQ(runs, 0);
    Modulate2D();
    m_Device.SetFVF(FVF_2D);
    m_Device.SetTexture(0, &drawn);
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
    KvVertex2D q[4];
    Corners(q, -0.5f, -0.5f, 31.5f, 31.5f, 0xFFFFFFFF);
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    EXPECT_EQ(BackPixel(16, 16), 0xFF00FF00u);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(drawn.HasDeferredFill());
    EXPECT_FALSE(drawn.HasCopy()) << "OpenGL holds the made pixels";
    EXPECT_EQ(drawn.GetContentGeneration(), generation) << "the picture was these pixels all along";
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    EXPECT_EQ(runs, 1) << "made once";
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(drawn.GetData() + drawn.GetPitch() + 4), 0xFF00FF00u);
    m_Device.SetTexture(0, nullptr);

    // Asked for before any draw: the copy holds the pixels and OpenGL gets them at the bind.
    PfGLTexture read;
    ASSERT_EQ(read.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    read.SetDeferredFill(fill(0xFF0000FF));
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(read.GetData() + 2 * read.GetPitch() + 8), 0xFF0000FFu);
    EXPECT_TRUE(read.HasCopy());
    m_Device.SetTexture(0, &read);
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    EXPECT_EQ(BackPixel(5, 5), 0xFF0000FFu);
    m_Device.SetTexture(0, nullptr);

    // A discarding lock: what is written is the picture, the fill never runs.
    PfGLTexture discarded;
    ASSERT_EQ(discarded.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    discarded.SetDeferredFill(fill(0xFFFF0000));
    uint32_t pitch = 0;
    auto* bits = static_cast<uint8_t*>(discarded.LockRect(nullptr, D3DLOCK_DISCARD, &pitch));
    ASSERT_NE(bits, nullptr);
    const uint32_t white = 0xFFFFFFFFu;
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            std::memcpy(bits + y * pitch + x * 4, &white, 4);
    ASSERT_EQ(discarded.UnlockRect(), D3D_OK);
    EXPECT_FALSE(discarded.HasDeferredFill());
    EXPECT_EQ(Pixel(&discarded, 3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(runs, 2);

    // A fill that fails: transparent black, and no second attempt.
    PfGLTexture failed;
    ASSERT_EQ(failed.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    failed.SetDeferredFill([&runs](uint8_t*, uint32_t) { return ++runs, false; });
    EXPECT_EQ(Pixel(&failed, 1, 1), 0u);
    EXPECT_EQ(Pixel(&failed, 2, 2), 0u);
    EXPECT_EQ(runs, 3);

    // Render targets make their own contents: a fill is refused.
    PfGLTexture target;
    ASSERT_EQ(target.Create(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    target.SetDeferredFill(fill(0xFFFFFFFF));
    EXPECT_FALSE(target.HasDeferredFill());
}
