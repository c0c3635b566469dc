// One golden picture: a generated cube with a checker texture from a generated picture file, lit by the directional
// light and the ambient colour, drawn through GxModel at a set world, view and orthographic projection into a small
// viewport, and compared with tests/graphics/golden/lit_textured_cube.png within a small tolerance
// (KV_UPDATE_GOLDEN=1 writes the picture instead).
#include "ModelTestSupport.h"

#include "core/GxVector4.h"
#include "graphics/GxModel.h"

#include <bit>

namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 96;

using GxModelGoldenTest = KvGraphicsFixture;

TEST_F(GxModelGoldenTest, LitTexturedCubeMatchesTheGoldenPicture)
{
    KvTestGeometry g{.m_Parts = {{.m_Name = L"Cube"}},
                     .m_Meshes = {{.m_PartsName = L"Cube", .m_Subsets = {KvCubeSubset(0)}}}};
    g.m_Parts[0].m_FirstFramePose.RotationY(0.5f);
    g.m_Meshes[0].m_GeometricPose.Translation(0.0f, 0.25f, 0.0f);
    const KvTestMaterialFile mtl{{{.m_Name = L"cube",
                                   .m_Ambient = {0.6f, 0.6f, 0.6f, 1.0f},
                                   .m_BlendMode = 1,
                                   .m_TextureCount = 1,
                                   .m_Params = {{L"checker.png", 1, 0}}}}};

    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(Write("cube.geo", KvWriteRecord(g, false)), true));
    ASSERT_TRUE(model.LoadMaterial(Write("cube.mtl", KvWriteRecord(mtl, true))));
    WriteChecker("checker.png");
    ASSERT_TRUE(model.LoadTexture(Folder(), -1, 0, 1));

    PfGLDevice& d = *Device();
    const PfRect area = {0, 0, kWidth, kHeight};
    ASSERT_TRUE(GxGraphics::SetViewport(&area));
    GxGraphics::SetLighting(true);
    GxGraphics::SetCullMode(D3DCULL_CW);
    GxGraphics::SetAmbientColor(GxVector4(0.3f, 0.3f, 0.3f, 1.0f));
    GxGraphics::SetDirectionalLight(GxVector4(0.9f, 0.9f, 0.8f, 1.0f), GxVector3(-0.5f, -1.0f, -0.8f));
    GxGraphics::SetTextureFilter(D3DTEXF_POINT);
    GxMatrix view, projection;
    view.LookAt(GxVector3(4.0f, 3.0f, 5.0f), GxVector3(0.0f, 0.0f, 0.0f), GxVector3(0.0f, 1.0f, 0.0f));
    projection.Ortho(6.0f, 4.5f, 0.1f, 20.0f);
    d.SetTransform(D3DTS_VIEW, std::bit_cast<D3DMATRIX>(view.m));
    d.SetTransform(D3DTS_PROJECTION, std::bit_cast<D3DMATRIX>(projection.m));

    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF203040, 1.0f, 0));
    ASSERT_TRUE(GxGraphics::BeginScene());
    GxMatrix world;
    world.Scaling(1.2f, 1.2f, 1.2f);
    model.SetWorldMatrix(world);
    model.Draw(-1, 0, nullptr);
    ASSERT_TRUE(GxGraphics::EndScene());

    // Rasterisers differ in the last bit of a colour and in the odd edge pixel.
    const std::vector<uint32_t> screen = Screen(kWidth, kHeight);
    EXPECT_LE(KvCompareWithGolden("lit_textured_cube.png", screen, kWidth, kHeight, {6})[0], kWidth * kHeight / 200u);
    // The picture shows the cube at all: the lit faces differ from the clear colour in the middle.
    EXPECT_NE(screen[(kHeight / 2) * kWidth + kWidth / 2], 0xFF203040u);
}

} // namespace
