// What a texture keeps in memory: a picture uploaded once gives its processor-side copy up and still reads
// back its pixels; textures written often keep theirs; a depth surface cleared before it has memory gets
// that clear when a draw first tests against it.
#include "PlatformTestSupport.h"

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
