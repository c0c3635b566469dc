// Material files written here in both content forms: colours, draw groups, texture slots and their
// limits, the fixed-function material, and damaged or missing files.
#include "ModelTestSupport.h"

#include "graphics/GxMaterialSet.h"
#include "graphics/GxTextureBase.h"
#include "graphics/GxTextureFactory.h"

namespace
{

class GxMaterialSetTest : public KvGraphicsFixture
{
protected:
    KvModelTempDir m_Files;
};

KvTestMaterialFile Sample()
{
    KvTestMaterialFile f;
    KvTestMaterial a;
    a.m_Name = L"@床";
    a.m_Diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
    a.m_Specular = {0.5f, 0.6f, 0.7f, 0.8f};
    a.m_Ambient = {0.9f, 0.8f, 0.7f, 0.6f};
    a.m_Emissive = {0.05f, 0.0f, 0.0f, 1.0f};
    a.m_SpecularPower = 20.0f;
    a.m_Alpha = 0.5f;
    a.m_BlendMode = 3;
    a.m_TextureCount = 2;
    a.m_Params = {{L"floor.png", 2, 3}, {L"floor_n.png", 1, 0}, {L"unused.png", 1, 0}};
    KvTestMaterial b;
    b.m_Name = L"!glass";
    KvTestMaterial c;
    c.m_Name = L"wall@";
    KvTestMaterial d;
    f.m_Materials = {a, b, c, d};
    return f;
}

TEST_F(GxMaterialSetTest, LoadsBothFormsWithColoursSlotsAndDrawGroups)
{
    for (bool text : {true, false})
    {
        GxMaterialSet set;
        ASSERT_TRUE(set.Load(m_Files.Write(text ? "t.mtl" : "b.mtl", KvWriteRecord(Sample(), text))));
        ASSERT_EQ(set.GetCount(), 4u);
        const GxMaterial& a = set.GetMaterial(0);
        EXPECT_EQ(a.m_MaterialName, L"@床");
        EXPECT_EQ(a.m_Diffuse, (GxFColor{0.1f, 0.2f, 0.3f, 0.4f}));
        EXPECT_EQ(a.m_Specular, (GxFColor{0.5f, 0.6f, 0.7f, 0.8f}));
        EXPECT_EQ(a.m_Ambient, (GxFColor{0.9f, 0.8f, 0.7f, 0.6f}));
        EXPECT_EQ(a.m_Emissive.r, 0.05f);
        EXPECT_EQ(a.m_SpecularPower, 20.0f);
        EXPECT_EQ(a.m_Alpha, 0.5f);
        EXPECT_EQ(a.m_Shininess, 0.25f);
        EXPECT_EQ(a.m_Reflectivity, 0.5f);
        EXPECT_EQ(a.m_BlendMode, 3u);
        EXPECT_EQ(a.m_TextureCount, 2u);
        EXPECT_EQ(a.m_TextureParam[0].m_FileName, L"floor.png");
        EXPECT_EQ(a.m_TextureParam[0].m_MipLevel, 3u);
        // The stored type is read and not kept: every slot asks for a file texture.
        EXPECT_EQ(a.m_TextureParam[0].m_TextureType, 1u);
        EXPECT_EQ(a.m_TextureParam[2].m_FileName, L"unused.png");
        EXPECT_EQ(a.m_ShaderName, L"default.fx");
        EXPECT_EQ(a.m_DrawGroup, 1u);
        EXPECT_EQ(set.GetMaterial(1).m_DrawGroup, 2u);
        EXPECT_EQ(set.GetMaterial(2).m_DrawGroup, 0u); // only the first character counts
        EXPECT_EQ(set.GetMaterial(3).m_DrawGroup, 0u); // the empty name
    }
}

TEST_F(GxMaterialSetTest, TextureCountAndSlotsStopAtEight)
{
    KvTestMaterialFile f = Sample();
    f.m_Materials[0].m_TextureCount = 12;
    f.m_Materials[0].m_Params.clear();
    for (int i = 0; i < 10; ++i)
        f.m_Materials[0].m_Params.push_back({L"t" + std::to_wstring(i) + L".png", 1, (uint32_t)i});
    for (bool text : {true, false})
    {
        KvQuietErrorLog quiet;
        GxMaterialSet set;
        EXPECT_TRUE(set.Load(m_Files.Write("many.mtl", KvWriteRecord(f, text))));
        ASSERT_EQ(set.GetCount(), 4u);
        EXPECT_EQ(set.GetMaterial(0).m_TextureCount, 8u);
        EXPECT_EQ(set.GetMaterial(0).m_TextureParam[7].m_FileName, L"t7.png");
        // The surplus slots were read past, so the next material is whole.
        EXPECT_EQ(set.GetMaterial(1).m_MaterialName, L"!glass");
        EXPECT_EQ(quiet.Logged(), 2u);
    }
}

TEST_F(GxMaterialSetTest, MissingEmptyOrDamagedFileFails)
{
    KvQuietErrorLog quiet;
    GxMaterialSet set;
    ASSERT_TRUE(set.Load(m_Files.Write("good.mtl", KvWriteRecord(Sample(), false))));
    EXPECT_FALSE(set.Load(m_Files.Write("empty.mtl", "")));
    EXPECT_EQ(set.GetCount(), 0u);
    EXPECT_FALSE(set.Load(L"/nonexistent/x.mtl"));
    for (bool text : {true, false})
    {
        const std::string bytes = KvWriteRecord(Sample(), text);
        for (size_t cut = 1; cut < bytes.size(); cut += text ? 5 : 1)
        {
            GxMaterialSet damaged;
            EXPECT_FALSE(damaged.Load(m_Files.Write("cut.mtl", bytes.substr(0, cut)))) << cut;
            EXPECT_LE(damaged.GetCount(), 4u);
        }
    }
}

TEST_F(GxMaterialSetTest, D3DMaterialScalesEveryAlpha)
{
    GxMaterial fresh;
    const D3DMATERIAL9 m = fresh.ToD3DMaterial(0.5f);
    EXPECT_EQ(m.Diffuse.r, 1.0f);
    EXPECT_EQ(m.Diffuse.a, 0.5f);
    EXPECT_EQ(m.Ambient.r, 0.5f);
    EXPECT_EQ(m.Ambient.a, 0.5f);
    EXPECT_EQ(m.Specular.a, 0.5f);
    EXPECT_EQ(m.Emissive.a, 0.5f);
    EXPECT_EQ(m.Power, 10.0f);
    fresh.m_Alpha = 0.5f;
    EXPECT_EQ(fresh.ToD3DMaterial(0.5f).Diffuse.a, 0.25f);
}

TEST_F(GxMaterialSetTest, EveryFailingMaterialIsReportedAndTheSetFails)
{
    KvTestMaterialFile f = Sample();
    f.m_Materials[1].m_TextureCount = 1;
    f.m_Materials[1].m_Params = {{L"glass.png", 1, 0}};
    KvQuietErrorLog quiet;
    GxMaterialSet set;
    ASSERT_TRUE(set.Load(m_Files.Write("tex.mtl", KvWriteRecord(f, true))));
    EXPECT_FALSE(set.LoadTextures(L"/nonexistent/", -1, 0, 1));
    // Material 0 asks for two textures and material 1 for one; materials without textures succeed.
    EXPECT_GE(quiet.Logged(), 2u);
    KvTestMaterialFile none;
    none.m_Materials = {KvTestMaterial{}};
    ASSERT_TRUE(set.Load(m_Files.Write("none.mtl", KvWriteRecord(none, false))));
    EXPECT_TRUE(set.LoadTextures(L"/nonexistent/", -1, 0, 1));
}

TEST_F(GxMaterialSetTest, TexturesComeFromTheFolderAndFileNameJoinedAsTheyAre)
{
    // The folder prefix "tex_" is put straight before each file name.
    m_Files.WriteChecker("tex_a.png");
    m_Files.WriteChecker("tex_b.png");
    m_Files.WriteChecker("tex_c.png");
    KvTestMaterialFile f;
    KvTestMaterial m;
    m.m_Name = L"three";
    m.m_TextureCount = 2;
    m.m_Params = {{L"a.png", 1, 0}, {L"b.png", 1, 0}, {L"c.png", 1, 0}};
    f.m_Materials = {m};
    GxMaterialSet set;
    ASSERT_TRUE(set.Load(m_Files.Write("tex.mtl", KvWriteRecord(f, false))));
    GxTextureFactory& factory = GxTextureFactory::GetInstance();
    const uint32_t before = factory.GetCount();
    ASSERT_TRUE(set.LoadTextures(m_Files.Folder() + L"tex_", -1, 0, 1));
    const GxMaterial& loaded = set.GetMaterial(0);
    ASSERT_NE(loaded.m_TextureParam[0].m_pTexture, nullptr);
    ASSERT_NE(loaded.m_TextureParam[1].m_pTexture, nullptr);
    EXPECT_EQ(loaded.m_TextureParam[2].m_pTexture, nullptr); // past the texture count
    EXPECT_NE(loaded.GetD3DTexture(0), nullptr);
    EXPECT_EQ(loaded.GetD3DTexture(2), nullptr);
    EXPECT_EQ(factory.GetCount(), before + 2);
    // Loading again gives the old references back first; clearing gives back the rest.
    ASSERT_TRUE(set.LoadTextures(m_Files.Folder() + L"tex_", 0, 0, 1));
    EXPECT_EQ(factory.GetCount(), before + 2);
    set.Clear();
    EXPECT_EQ(factory.GetCount(), before);
}

} // namespace
