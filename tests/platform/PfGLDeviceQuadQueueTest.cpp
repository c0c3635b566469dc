// The device's quad queue: quads under the same states go out as one draw call, and anything that could
// change how they look sends them first.
#include "PlatformTestSupport.h"

namespace
{

class PfGLDeviceQuadQueueTest : public KvGLDeviceFixture
{
protected:
    PfGLDeviceQuadQueueTest() : KvGLDeviceFixture(256, 256) {}
    void SetUp() override
    {
        KvGLDeviceFixture::SetUp();
        Modulate2D();
        m_Device.SetFVF(FVF_2D);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    }
    void Queue(float l, float t, float r, float b, uint32_t diffuse)
    {
        KvVertex2D q[4];
        Corners(q, l, t, r, b, diffuse);
        ASSERT_EQ(m_Device.QueueQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    }
};

} // namespace

TEST_F(PfGLDeviceQuadQueueTest, QuadsUnderTheSameStatesAreOneDrawCall)
{
    m_Device.SetTexture(0, nullptr);
    const uint64_t before = m_Device.GetDrawCallCount();
    for (int i = 0; i < 100; ++i)
        Queue(i * 2.0f - 0.5f, -0.5f, i * 2.0f + 1.5f, 9.5f, 0xFF00FF00);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 100u);
    EXPECT_EQ(m_Device.GetDrawCallCount(), before);
    EXPECT_EQ(BackPixel(150, 5), 0xFF00FF00u); // the read-back sends the queue
    EXPECT_EQ(m_Device.GetDrawCallCount(), before + 1);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 0u);
}

TEST_F(PfGLDeviceQuadQueueTest, StateChangeSendsTheQuadsQueuedBeforeIt)
{
    PfGLTexture red, blue;
    Solid(red, 0xFFFF0000);
    Solid(blue, 0xFF0000FF);
    m_Device.SetTexture(0, &red);
    Queue(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFFFFFF);
    // A texture change alone keeps the queue; the next quad under another texture sends it, drawn with
    // the texture it was queued under.
    m_Device.SetTexture(0, &blue);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 1u);
    Queue(9.5f, -0.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 1u);
    m_Device.SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 0u);
    EXPECT_EQ(BackPixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(15, 5), 0xFF0000FFu);
    // Setting a state to the value it has keeps the queue.
    Queue(19.5f, -0.5f, 29.5f, 9.5f, 0xFFFFFFFF);
    m_Device.SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678);
    m_Device.SetTexture(0, &blue);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 1u);
}

TEST_F(PfGLDeviceQuadQueueTest, TextureLockSendsQuadsThatSampleItsOldContent)
{
    PfGLTexture texture;
    Solid(texture, 0xFFFF0000);
    m_Device.SetTexture(0, &texture);
    Queue(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFFFFFF);
    Solid(texture, 0xFF00FF00);
    Queue(9.5f, -0.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    EXPECT_EQ(BackPixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(15, 5), 0xFF00FF00u);
}

TEST_F(PfGLDeviceQuadQueueTest, EndSceneKeepsAndClearSendsTheQueue)
{
    m_Device.SetTexture(0, nullptr);
    Queue(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFFFFFF);
    ASSERT_EQ(m_Device.EndScene(), D3D_OK);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 1u) << "scenes of single widgets keep one batch";
    // An unbind and a rebind of the same texture, as every widget's state reset does, keep it too.
    PfGLTexture red;
    Solid(red, 0xFFFF0000);
    m_Device.SetTexture(0, &red);
    Queue(-0.5f, 9.5f, 9.5f, 19.5f, 0xFFFFFFFF);
    m_Device.SetTexture(0, nullptr);
    m_Device.SetTexture(0, &red);
    Queue(9.5f, 9.5f, 19.5f, 19.5f, 0xFFFFFFFF);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 2u);
    EXPECT_EQ(BackPixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(BackPixel(15, 15), 0xFFFF0000u);
    Queue(9.5f, -0.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    EXPECT_EQ(BackPixel(15, 5), 0xFF000000u); // drawn, then cleared: the order holds
    EXPECT_EQ(m_Device.QueueQuadsUP(0, nullptr, 32), D3DERR_INVALIDCALL);
}
