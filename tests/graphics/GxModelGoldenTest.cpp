// One golden picture: a generated cube with a checker texture from a generated picture file, lit by the directional
// light and the ambient colour, drawn through GxModel at a set world, view and orthographic projection into a small
// viewport, and compared with tests/graphics/golden/lit_textured_cube.ppm within a small tolerance.
// KV_UPDATE_GOLDEN=1 writes the picture instead (for a deliberate change of the drawing).
#include "ModelTestSupport.h"

#include "core/GxVector4.h"
#include "graphics/GxModel.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 96;

std::string GoldenPath()
{
    const char* source = std::getenv("KV_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/graphics/golden/lit_textured_cube.ppm";
}

class GxModelGoldenTest : public KvGraphicsFixture
{
protected:
    KvModelTempDir m_Files;
};

TEST_F(GxModelGoldenTest, LitTexturedCubeMatchesTheGoldenPicture)
{
    KvTestGeometry g;
    KvTestPart part;
    part.m_Name = L"Cube";
    part.m_FirstFramePose.RotationY(0.5f);
    g.m_Parts = {part};
    KvTestMesh mesh;
    mesh.m_PartsName = L"Cube";
    mesh.m_GeometricPose.Translation(0.0f, 0.25f, 0.0f);
    mesh.m_Subsets = {KvCubeSubset(0)};
    g.m_Meshes = {mesh};
    KvTestMaterialFile mtl;
    KvTestMaterial m;
    m.m_Name = L"cube";
    m.m_Ambient = {0.6f, 0.6f, 0.6f, 1.0f};
    m.m_BlendMode = 1;
    m.m_TextureCount = 1;
    m.m_Params = {{L"checker.png", 1, 0}};
    mtl.m_Materials = {m};

    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(m_Files.Write("cube.geo", KvWriteRecord(g, false)), true));
    ASSERT_TRUE(model.LoadMaterial(m_Files.Write("cube.mtl", KvWriteRecord(mtl, true))));
    m_Files.WriteChecker("checker.png");
    ASSERT_TRUE(model.LoadTexture(m_Files.Folder(), -1, 0, 1));

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
    D3DMATRIX v, p;
    std::memcpy(&v, view.m, sizeof(v));
    std::memcpy(&p, projection.m, sizeof(p));
    d.SetTransform(D3DTS_VIEW, v);
    d.SetTransform(D3DTS_PROJECTION, p);

    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF203040, 1.0f, 0));
    ASSERT_TRUE(GxGraphics::BeginScene());
    GxMatrix world;
    world.Scaling(1.2f, 1.2f, 1.2f);
    model.SetWorldMatrix(world);
    model.Draw(-1, 0, nullptr);
    ASSERT_TRUE(GxGraphics::EndScene());

    PfGLTexture* target = d.GetRenderTarget(0);
    ASSERT_EQ(target->ReadBack(), D3D_OK);
    std::string rgb((size_t)kWidth * kHeight * 3, '\0');
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            uint32_t argb;
            std::memcpy(&argb, target->GetData() + (size_t)y * target->GetPitch() + (size_t)x * 4, 4);
            char* out = &rgb[((size_t)y * kWidth + x) * 3];
            out[0] = (char)(argb >> 16);
            out[1] = (char)(argb >> 8);
            out[2] = (char)argb;
        }
    const std::string header = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
    const char* update = std::getenv("KV_UPDATE_GOLDEN");
    if (update && std::string(update) == "1")
    {
        std::ofstream(GoldenPath(), std::ios::binary) << header << rgb;
        GTEST_SKIP() << "golden picture written";
    }
    std::ifstream in(GoldenPath(), std::ios::binary);
    ASSERT_TRUE(in.good()) << GoldenPath();
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(golden.size(), header.size() + rgb.size());
    ASSERT_EQ(golden.compare(0, header.size(), header), 0);
    // Rasterisers differ in the last bit of a colour and in the odd edge pixel.
    size_t off = 0;
    int worst = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
    {
        int d3 = 0;
        for (size_t c = 0; c < 3; ++c)
            d3 = std::max(d3, std::abs((int)(uint8_t)rgb[i + c] - (int)(uint8_t)golden[header.size() + i + c]));
        worst = std::max(worst, d3);
        if (d3 > 6)
            ++off;
    }
    EXPECT_LE(off, rgb.size() / 3 / 200) << "worst channel difference " << worst;
    // The picture shows the cube at all: the lit faces differ from the clear colour in the middle.
    const char* centre = &rgb[((size_t)(kHeight / 2) * kWidth + kWidth / 2) * 3];
    EXPECT_NE(std::string(centre, 3), std::string("\x20\x30\x40", 3));
}

} // namespace
