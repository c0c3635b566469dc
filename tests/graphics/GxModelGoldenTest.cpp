// One golden picture: a generated cube with a checker texture from a generated picture file, lit by the directional
// light and the ambient colour, drawn through GxModel at a set world, view and orthographic projection into a small
// viewport, and compared with tests/graphics/golden/lit_textured_cube.png within a small tolerance.
// KV_UPDATE_GOLDEN=1 writes the picture instead (for a deliberate change of the drawing).
#include "ModelTestSupport.h"

#include "core/GxVector4.h"
#include "graphics/GxImage.h"
#include "graphics/GxModel.h"
#include "platform/PfImage.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 96;

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string GoldenPath()
{
    const char* source = std::getenv("KV_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/graphics/golden/lit_textured_cube.png";
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
    // The viewport's pixels, blue, green, red, alpha; alpha set opaque, as the back buffer has none.
    std::vector<uint8_t> picture((size_t)kWidth * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            uint8_t* out = &picture[((size_t)y * kWidth + x) * 4];
            std::memcpy(out, target->GetData() + (size_t)y * target->GetPitch() + (size_t)x * 4, 4);
            out[3] = 0xFF;
        }
    const char* update = std::getenv("KV_UPDATE_GOLDEN");
    if (update && std::string(update) == "1")
    {
        ASSERT_EQ(GxImage::SaveToPNG(Wide(GoldenPath()), kWidth, kHeight, picture.data()), 1);
        GTEST_SKIP() << "golden picture written";
    }
    std::ifstream in(GoldenPath(), std::ios::binary);
    ASSERT_TRUE(in.good()) << GoldenPath();
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PfImage golden;
    std::string error;
    ASSERT_TRUE(GxImage::DecodeMemory(file.data(), (uint32_t)file.size(), golden, 0, error)) << error;
    ASSERT_EQ(golden.GetWidth(), (uint32_t)kWidth);
    ASSERT_EQ(golden.GetHeight(), (uint32_t)kHeight);
    // Rasterisers differ in the last bit of a colour and in the odd edge pixel.
    size_t off = 0;
    int worst = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const uint8_t* a = &picture[((size_t)y * kWidth + x) * 4];
            const uint8_t* b = golden.GetRow((uint32_t)y) + (size_t)x * 4;
            int d3 = 0;
            for (int c = 0; c < 3; ++c)
                d3 = std::max(d3, std::abs((int)a[c] - (int)b[c]));
            worst = std::max(worst, d3);
            if (d3 > 6)
                ++off;
        }
    EXPECT_LE(off, (size_t)kWidth * kHeight / 200) << "worst channel difference " << worst;
    // The picture shows the cube at all: the lit faces differ from the clear colour in the middle.
    const uint8_t* centre = &picture[((size_t)(kHeight / 2) * kWidth + kWidth / 2) * 4];
    EXPECT_FALSE(centre[2] == 0x20 && centre[1] == 0x30 && centre[0] == 0x40);
}

} // namespace
