// Remembered states and the nine blend presets, drawn over a known background and read back.
#include "GraphicsTestSupport.h"

#include "core/GxVector3.h"
#include "core/GxVector4.h"

#include <algorithm>
#include <bit>
#include <cmath>

using GxGraphicsRenderStateTest = KvGraphicsFixture;

namespace
{

struct Vertex
{
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};

constexpr uint32_t BACKGROUND = 0x4060A020; // a 0x40, r 0x60, g 0xA0, b 0x20
constexpr uint32_t TEXEL = 0x80D04080;      // a 0x80, r 0xD0, g 0x40, b 0x80

float Channel(uint32_t argb, int shift)
{
    return ((argb >> shift) & 0xFF) / 255.0f;
}

// What the blend table predicts for the texel (times a white vertex colour) over the background.
uint32_t Predict(uint32_t preset)
{
    // The colour each preset writes for source s of alpha a over destination d; unknown presets blend as 2.
    using Rule = float (*)(float s, float d, float a);
    const Rule rules[10] = {
        [](float s, float d, float a) { return s * a + d * (1 - a); },
        [](float s, float, float) { return s; },
        [](float s, float d, float a) { return s * a + d * (1 - a); },
        [](float s, float d, float a) { return s * a + d; },
        [](float s, float d, float a) { return s * a + d; }, // on a doubled source
        [](float s, float d, float a) { return d - s * a; },
        [](float s, float d, float) { return d * s; },
        [](float s, float d, float) { return s * (1 - d) + d * (1 - s); },
        [](float s, float d, float) { return s * (1 - d) + d; },
        [](float s, float d, float) { return s - d; },
    };
    const Rule rule = rules[preset <= 9 ? preset : 0];
    const float sa0 = Channel(TEXEL, 24), da = Channel(BACKGROUND, 24);
    const float sa = preset == 4 ? std::min(1.0f, 2.0f * sa0) : sa0;
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const float s = preset == 4 ? std::min(1.0f, 2.0f * Channel(TEXEL, shift)) : Channel(TEXEL, shift);
        const float r = rule(s, Channel(BACKGROUND, shift), sa);
        result |= (uint32_t)std::lround(std::clamp(r, 0.0f, 1.0f) * 255.0f) << shift;
    }
    // Blending off writes the source alpha; otherwise the alpha equation keeps the larger one.
    const float a = preset == 1 ? sa : std::max(sa, da);
    return result | (uint32_t)std::lround(a * 255.0f) << 24;
}

} // namespace

// Draws a 4 x 4 quad at the top left in the given colour through the pre-transformed path.
void DrawQuad(PfGLDevice* device, uint32_t diffuse)
{
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, diffuse, 0, 0, 0},
                            {-0.5f, 3.5f, 0, 1, diffuse, 0, 0, 1},
                            {3.5f, 3.5f, 0, 1, diffuse, 0, 1, 1},
                            {3.5f, -0.5f, 0, 1, diffuse, 0, 1, 0}};
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(Vertex)), D3D_OK);
}

class GxGraphicsBlendPresetTest : public GxGraphicsRenderStateTest
{
protected:
    void SetUp() override
    {
        GxGraphicsRenderStateTest::SetUp();
        ASSERT_EQ(m_Texture.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
        uint32_t pitch = 0;
        auto* bits = (uint8_t*)m_Texture.LockRect(nullptr, 0, &pitch);
        ASSERT_NE(bits, nullptr);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                std::memcpy(bits + y * pitch + x * 4, &TEXEL, 4);
        ASSERT_EQ(m_Texture.UnlockRect(), D3D_OK);
    }
    void TearDown() override
    {
        m_Texture.Destroy();
        GxGraphicsRenderStateTest::TearDown();
    }
    uint32_t DrawWith(uint32_t preset)
    {
        EXPECT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, BACKGROUND, 1.0f, 0));
        GxGraphics::ResetRenderStates();
        GxGraphics::SetBlendMode(0, preset);
        GxGraphics::SetTexture(0, &m_Texture);
        GxGraphics::SelectVertexProcessing(0, 0);
        EXPECT_TRUE(GxGraphics::BeginScene());
        DrawQuad(Device(), 0xFFFFFFFF);
        EXPECT_TRUE(GxGraphics::EndScene());
        EXPECT_EQ(Pixel(10, 10), BACKGROUND);
        return Pixel(1, 2);
    }
    PfGLTexture m_Texture;
};

TEST_F(GxGraphicsBlendPresetTest, EachPresetGivesThePixelItsTablePredicts)
{
    for (uint32_t preset = 1; preset <= 9; ++preset)
    {
        const uint32_t got = DrawWith(preset);
        EXPECT_LE(ChannelDistance(got, Predict(preset)), 1)
            << "preset " << preset << std::hex << ": got 0x" << got << ", predicted 0x" << Predict(preset);
    }
}

TEST_F(GxGraphicsBlendPresetTest, PresetsSurviveAModeSwitch)
{
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN));
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_WINDOW));
    for (uint32_t preset : {3u, 5u})
        EXPECT_LE(ChannelDistance(DrawWith(preset), Predict(preset)), 1) << preset;
}

TEST_F(GxGraphicsBlendPresetTest, UnknownPresetAppliesTheFallbackAndIsRemembered)
{
    EXPECT_LE(ChannelDistance(DrawWith(10), Predict(2)), 1);
    EXPECT_EQ(GxGraphics::GetBlendMode(0), 10u);
    GxGraphics::SetBlendMode(0, 3);
    GxGraphics::SetBlendMode(0, 10);
    GxGraphics::SetBlendMode(0, 0);
    EXPECT_EQ(Device()->GetRenderState(D3DRS_DESTBLEND), (uint32_t)D3DBLEND_INVSRCALPHA);
}

TEST_F(GxGraphicsRenderStateTest, InitialStatesAreTheEngineDefaults)
{
    // Blending, lighting and culling are drawn through by the preset and fill tests.
    PfGLDevice* d = Device();
    KvExpectEq<uint32_t>({{d->GetRenderState(D3DRS_AMBIENT), 0x4C4C4C4Cu},
                          {d->GetTextureStageState(3, D3DTSS_ALPHAARG2), D3DTA_DIFFUSE},
                          {d->GetTextureStageState(3, D3DTSS_COLOROP), D3DTOP_MODULATE},
                          {GxGraphics::GetBlendMode(5), 2},
                          {d->GetSamplerState(0, D3DSAMP_MINFILTER), D3DTEXF_POINT},
                          {d->IsLightEnabled(0), true},
                          {d->IsLightEnabled(1), false}});
}

TEST_F(GxGraphicsRenderStateTest, RepeatedValueReachesTheDeviceOnce)
{
    PfGLDevice* d = Device();
    const uint64_t before = d->GetRenderStateCallCount();
    EXPECT_TRUE(GxGraphics::SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678));
    EXPECT_TRUE(GxGraphics::SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678));
    EXPECT_TRUE(GxGraphics::SetZEnable(false));
    EXPECT_EQ(d->GetRenderStateCallCount(), before + 1);
    const uint64_t stages = d->GetStageStateCallCount();
    GxGraphics::SetBlendMode(0, 2);
    GxGraphics::SetBlendMode(0, 2);
    GxGraphics::ResetRenderStates();
    GxGraphics::ResetRenderStates();
    EXPECT_LE(d->GetStageStateCallCount(), stages + 4);
}

TEST_F(GxGraphicsRenderStateTest, ResetSendsEveryRememberedStateAgain)
{
    PfGLDevice* d = Device();
    GxGraphics::SetRenderState(D3DRS_TEXTUREFACTOR, 0x11223344);
    GxGraphics::SetTextureStageState(2, D3DTSS_COLORARG2, D3DTA_SPECULAR);
    const uint64_t before = d->GetRenderStateCallCount();
    const uint64_t stagesBefore = d->GetStageStateCallCount();
    ASSERT_TRUE(GxGraphics::Reset(true, SCRMODE_WINDOW, SCRMODE_WINDOW));
    // The device came back with its own initial values; the remembered ones went to it again.
    KvExpectEq<uint32_t>({{d->GetRenderState(D3DRS_TEXTUREFACTOR), 0x11223344u},
                          {d->GetTextureStageState(2, D3DTSS_COLORARG2), D3DTA_SPECULAR},
                          {d->GetRenderState(D3DRS_BLENDOPALPHA), D3DBLENDOP_MAX},
                          {d->GetRenderState(D3DRS_LIGHTING), 0}});
    EXPECT_GE(d->GetRenderStateCallCount() - before, 25u);
    // Five stage states on each of the eight stages since start-up, and the one set here.
    EXPECT_EQ(d->GetStageStateCallCount() - stagesBefore, 8u * 5u + 1u);
    // Still remembered: setting it again costs nothing.
    const uint64_t after = d->GetRenderStateCallCount();
    GxGraphics::SetRenderState(D3DRS_TEXTUREFACTOR, 0x11223344);
    EXPECT_EQ(d->GetRenderStateCallCount(), after);
}

TEST_F(GxGraphicsRenderStateTest, AlphaTestOffLeavesReferenceAndFunction)
{
    PfGLDevice* d = Device();
    GxGraphics::SetAlphaTest(true, 50);
    GxGraphics::SetAlphaTest(false, 99);
    KvExpectEq<uint32_t>({{d->GetRenderState(D3DRS_ALPHATESTENABLE), 0},
                          {d->GetRenderState(D3DRS_ALPHAREF), 50},
                          {d->GetRenderState(D3DRS_ALPHAFUNC), D3DCMP_GREATEREQUAL}});
}

TEST_F(GxGraphicsRenderStateTest, PresetsNineAndFallbackLeaveAlphaArgumentAlone)
{
    PfGLDevice* d = Device();
    GxGraphics::SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_SPECULAR);
    for (auto [preset, arg] : {std::pair{9u, D3DTA_SPECULAR}, {77u, D3DTA_SPECULAR}, {6u, D3DTA_TEXTURE}})
    {
        GxGraphics::SetBlendMode(1, preset);
        EXPECT_EQ(d->GetTextureStageState(1, D3DTSS_ALPHAARG1), (uint32_t)arg) << preset;
    }
}

TEST_F(GxGraphicsRenderStateTest, PointLightsEnableAtMostFour)
{
    GxGraphics::EnablePointLights(6);
    for (uint32_t i = 1; i <= 4; ++i)
        EXPECT_TRUE(Device()->IsLightEnabled(i));
    EXPECT_FALSE(Device()->IsLightEnabled(5));
}

TEST_F(GxGraphicsRenderStateTest, VertexFogScalesByTheProjectionDepth)
{
    GxGraphics::SetProjectionDepth(1.0f, 101.0f);
    GxGraphics::SetFog(0.5f, 1.0f, false);
    auto state = [this](uint32_t s) { return std::bit_cast<float>(Device()->GetRenderState(s)); };
    KvExpectEq<float>({{state(D3DRS_FOGSTART), 50.0f}, {state(D3DRS_FOGEND), 100.0f}});
    EXPECT_EQ(Device()->GetRenderState(D3DRS_FOGTABLEMODE), (uint32_t)D3DFOG_NONE);
}

TEST_F(GxGraphicsRenderStateTest, UntexturedFillTakesTheVertexColour)
{
    GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    GxGraphics::ResetRenderStates();
    GxGraphics::SetBlendMode(0, 1);
    DrawQuad(Device(), 0xFF3366CC);
    EXPECT_EQ(Pixel(2, 2), 0xFF3366CCu);
}

TEST_F(GxGraphicsRenderStateTest, InsideOutViewportIsRefusedAndTheOldOneStays)
{
    const PfRect good = {10, 20, 110, 70};
    ASSERT_TRUE(GxGraphics::SetViewport(&good));
    const PfRect insideOut = {50, 50, 10, 10};
    EXPECT_FALSE(GxGraphics::SetViewport(&insideOut));
    auto device = [this]
    {
        const auto& v = Device()->GetViewport();
        return std::vector<uint32_t>{v.X, v.Y, v.Width, v.Height};
    };
    EXPECT_EQ(device(), (std::vector<uint32_t>{10, 20, 100, 50}));
    const PfRect negative = {-5, 0, 10, 10};
    EXPECT_FALSE(GxGraphics::SetViewport(&negative));
    EXPECT_EQ(device(), (std::vector<uint32_t>{10, 20, 100, 50}));
}
