// Drawing snapshots: layer order and skip rules on the draw recorder, overrides and colour packing, render
// packet modes, and golden pictures of a motion with a nested motion in screen and world mode.
#include "AnimationTestSupport.h"

#include "animation/GxNcCallbackBase.h"
#include "animation/GxNcMotionSnapShotEx.h"
#include "animation/GxNcRenderPacket.h"
#include "graphics/GxDrawRecorder.h"

#include <cmath>

using namespace kvanim;

namespace
{

// Skips the layer named so, as a hook that drew it itself.
class KvSkipHook : public GxNcCallbackBase
{
public:
    bool OnSoundKey(void*, int32_t, int32_t, const GxNcSoundKey&) override { return false; }
    bool OnEventKey(void*, int32_t, int32_t, const GxNcEventKey&) override { return false; }
    bool OnDrawLayer(const GxNcMotionSnapShotEx&, const GxNcLayerSnapShotEx& layer, const GxMatrix&, float,
                     const GxVector4&, const GxVector4&, uint32_t) override
    {
        return layer.m_pLayer->m_LayerName == m_Name;
    }
    std::wstring m_Name;
};

class GxNcSnapShotDrawTest : public KvAnimGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvAnimGraphicsFixture::SetUp();
        GxNcCrammedImageSet set;
        GisPicture ring = Picture(L"b.png", 32, 32, 0xFF2060E0, 2);
        for (uint32_t y = 10; y < 22; ++y)
            for (uint32_t x = 10; x < 22; ++x)
                ring.m_Pixels[y * 32 + x] = 0x80FFFFFF;
        ASSERT_TRUE(
            GisPacker::Build(Dir(), L"fx.gis", {Picture(L"a.png", 48, 24, 0xFFE04020, 1), ring}, GncForm::Binary, set));
        GxNcProject p;
        GxNcMotion& m = AddMotion(p, L"g", L"draw", 10);
        auto at = [](float x)
        { return std::vector<GxNcVector4Key>{ValueKey<GxNcVector4Key>(0, GxVector4(x, 0, 0, 0))}; };
        const std::pair<const wchar_t*, float> layers[] = {{L"top", 100},  {L"under", 200},  {L"edit", 0},
                                                           {L"type1", 0},  {L"type2", 0},    {L"noimage", 0},
                                                           {L"hidden", 0}, {L"nested", 300}, {L"nestedhidden", 0}};
        for (auto [name, x] : layers)
        {
            GxNcLayer& l = AddLayer(m, name);
            l.m_PositionKeys = at(x);
            l.m_ImageKeys = {ImageKey(0, L"fx.gis", name == std::wstring(L"top") ? L"a.png" : L"b.png")};
        }
        m.m_Layers[2]->m_EditVisible = 0;
        m.m_Layers[3]->m_LayerType = 1;
        m.m_Layers[4]->m_LayerType = 2;
        GxNcImageKey sized;
        sized.m_Width = 10;
        m.m_Layers[5]->m_ImageKeys = {sized};
        m.m_Layers[6]->m_VisibilityKeys = {ValueKey<GxNcUIntKey>(0, 0u)};
        m.m_Layers[7]->m_ImageKeys = {MotionKey(0, L"g", L"inner")};
        m.m_Layers[8]->m_ImageKeys = {MotionKey(0, L"g", L"inner")};
        m.m_Layers[8]->m_VisibilityKeys = {ValueKey<GxNcUIntKey>(0, 0u)};
        m.m_Layers[1]->m_BlendMode = 2;
        FlatTree(m);
        GxNcMotion& inner = AddMotion(p, L"g", L"inner", 10);
        GxNcLayer& spin = AddLayer(inner, L"spin");
        spin.m_ImageKeys = {ImageKey(0, L"fx.gis", L"b.png")};
        spin.m_RotationKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(0, 0, 30, 0))};
        spin.m_PositionKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(0, 40, 0, 0))};
        FlatTree(inner);
        // Three layers, the middle one playing inner, for the pictures.
        GxNcMotion& show = AddMotion(p, L"g", L"show", 10);
        AddLayer(show, L"front").m_ImageKeys = {ImageKey(0, L"fx.gis", L"b.png")};
        AddLayer(show, L"mid").m_ImageKeys = {MotionKey(0, L"g", L"inner")};
        GxNcLayer& back = AddLayer(show, L"back");
        back.m_ImageKeys = {ImageKey(0, L"fx.gis", L"a.png")};
        back.m_ScaleKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(2, 2, 1, 1))};
        back.m_VertexColorKeys = {GxNcVector4x5Key{}};
        for (int k = 0; k < 5; ++k)
            back.m_VertexColorKeys[0].m_Value[k] = GxVector4(k & 1 ? 0.3f : 1.0f, 1.0f, k == 4 ? 0.2f : 1.0f, 1.0f);
        show.m_Layers[0]->m_PositionKeys = at(16);
        FlatTree(show);
        ASSERT_TRUE(GncProjectWriter::Write(Path("d.gnc"), p, {L"fx.gis"}, GncForm::Binary));
        m_Project = GxNcProjectFactory::GetInstance().Get(WidePath("d.gnc"), Folder(), true);
        ASSERT_EQ(ReadLog("error.log"), L"");
        GxGraphics::SetDrawRecorder(&m_Recorder);
        ASSERT_TRUE(GxGraphics::BeginScene());
    }
    void TearDown() override
    {
        GxGraphics::EndScene();
        GxGraphics::SetDrawRecorder(nullptr);
        KvAnimGraphicsFixture::TearDown();
    }
    void Update(const wchar_t* motion)
    {
        m_SnapShot.Update(m_Project, m_Project->FindMotion(L"g", motion), 0, GxVector4(), nullptr,
                          GxVector4(1, 1, 1, 1), 4, nullptr);
    }
    // The left edge of each recorded fan pair (one per layer drawn), in drawing order.
    std::vector<float> Lefts()
    {
        GxGraphics::FlushDraws();
        std::vector<float> lefts;
        for (size_t i = 0; i + 1 < m_Recorder.m_Primitives.size(); i += 2)
            lefts.push_back(std::round(m_Recorder.m_Primitives[i].m_Vertices[0].x / 100.0f) * 100.0f);
        return lefts;
    }
    GxNcProjectEx* m_Project = nullptr;
    GxNcMotionSnapShotEx m_SnapShot;
    GxDrawRecorder m_Recorder;
};

} // namespace

TEST_F(GxNcSnapShotDrawTest, LayersDrawLastToFirstAndSkipWhatIsNotShown)
{
    Update(L"draw");
    const GxMatrix identity;
    GxNcMotionSnapShotEx::Draw(m_SnapShot, identity, 1.0f, GxVector4(1, 1, 1, 1), GxVector4(), 0, 0, nullptr);
    // nested (its inner layer) first, then under, then top; every other layer is skipped.
    EXPECT_EQ(Lefts(), (std::vector<float>{300, 200, 100}));
    std::vector<uint32_t> blends;
    for (const auto& prim : m_Recorder.m_Primitives)
        blends.push_back(prim.m_BlendPreset);
    EXPECT_EQ(blends, (std::vector<uint32_t>{1, 1, 2, 2, 1, 1}));
    m_Recorder.Clear();

    // Overrides, colours packed to the nearest level, a hook that draws "under" itself.
    KvSkipHook hook;
    hook.m_Name = L"under";
    GxNcMotionSnapShotEx::Draw(m_SnapShot, identity, 0.5f, GxVector4(1, 0.5f, 1, 1), GxVector4(0, 0, 0.5f, 0), 7, 1,
                               &hook);
    EXPECT_EQ(Lefts(), (std::vector<float>{300, 100}));
    for (const auto& prim : m_Recorder.m_Primitives)
    {
        EXPECT_EQ(prim.m_BlendPreset, 7u);
        EXPECT_EQ(prim.m_Vertices[0].diffuse, 0x80FF80FFu);
        EXPECT_EQ(prim.m_Vertices[0].specular, 0x00000080u);
    }
}

TEST_F(GxNcSnapShotDrawTest, PacketModesDrawScreenWorldOrNothing)
{
    Update(L"draw");
    for (uint32_t mode : {2u, 3u, 0u, 4u})
    {
        GxNcRenderPacket* packet = new GxNcRenderPacket();
        GxNcRenderPacket::Init(packet, &m_SnapShot, 1.0f, GxVector4());
        EXPECT_EQ(packet->m_Mode, 3u);
        packet->m_Mode = mode;
        packet->Draw(0);
        packet->Release();                                      // auto-delete: gone
        EXPECT_EQ(Lefts().size(), mode == 2 ? 3u : 0u) << mode; // world draws go past the 2D recorder
        m_Recorder.Clear();
    }
    GxNcRenderPacket empty;
    empty.m_Mode = 3;
    empty.m_Owned = 0;
    empty.Draw(0); // without snapshot: only its states
}

TEST_F(GxNcSnapShotDrawTest, ScreenAndWorldPicturesMatchTheStoredOnes)
{
    Update(L"show");
    GxGraphics::SetDrawRecorder(nullptr);
    GxGraphics::EndScene();
    for (bool world : {false, true})
    {
        ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF203040, 1.0f, 0));
        ASSERT_TRUE(GxGraphics::BeginScene());
        GxGraphics::ResetRenderStates();
        GxNcRenderPacket packet;
        packet.m_Owned = 0;
        packet.m_pSnapShot = &m_SnapShot;
        if (world)
        {
            // An orthographic camera with y up, centred on the screen: the packet's matrix flips y back.
            GxGraphics::SetViewMatrix(GxMatrix());
            GxGraphics::SetProjection(1024, 768, -100, 100, 0, 0);
            GxNcRenderPacket::Init(&packet, &m_SnapShot, 0.0f, GxVector4(-384, -256, 0, 0));
            packet.m_Matrix.Scaling(1, -1, 1);
            packet.m_ZEnable = 0;
        }
        else
        {
            packet.m_Mode = GxNcRenderPacket::kScreen;
            packet.m_Matrix.Translation(128, 128, 0);
        }
        packet.Draw(0);
        ASSERT_TRUE(GxGraphics::EndScene());
        const std::vector<size_t> off =
            KvCompareAnimGolden(world ? "nc_world.png" : "nc_screen.png", Screen(256, 256), 256, 256, {8, 64});
        EXPECT_LE(off[0], 64u) << world;
        EXPECT_EQ(off[1], 0u) << world;
    }
    ASSERT_TRUE(GxGraphics::BeginScene());
}
