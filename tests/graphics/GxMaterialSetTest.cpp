// Material files written here in both content forms: colours, draw groups, texture slots and their
// limits, the fixed-function material, and damaged or missing files.
#include "ModelTestSupport.h"

#include "graphics/GxMaterialSet.h"
#include "graphics/GxTextureBase.h"
#include "graphics/GxTextureFactory.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"

namespace
{

using GxMaterialSetTest = KvGraphicsFixture;

KvTestMaterialFile Sample()
{
    return {{{.m_Name = L"@床",
              .m_Diffuse = {0.1f, 0.2f, 0.3f, 0.4f},
              .m_Specular = {0.5f, 0.6f, 0.7f, 0.8f},
              .m_Ambient = {0.9f, 0.8f, 0.7f, 0.6f},
              .m_Emissive = {0.05f, 0.0f, 0.0f, 1.0f},
              .m_SpecularPower = 20.0f,
              .m_Alpha = 0.5f,
              .m_BlendMode = 3,
              .m_TextureCount = 2,
              .m_Params = {{L"floor.png", 2, 3}, {L"floor_n.png", 1, 0}, {L"unused.png", 1, 0}}},
             {.m_Name = L"!glass"},
             {.m_Name = L"wall@"},
             {}}};
}

TEST_F(GxMaterialSetTest, LoadsBothFormsWithColoursSlotsAndDrawGroups)
{
    for (bool text : {true, false})
    {
        GxMaterialSet set;
        ASSERT_TRUE(set.Load(Write(text ? "t.mtl" : "b.mtl", KvWriteRecord(Sample(), text))));
        ASSERT_EQ(set.GetCount(), 4u);
        const GxMaterial& a = set.GetMaterial(0);
        EXPECT_EQ(a.m_MaterialName, L"@床");
        EXPECT_EQ(a.m_Diffuse, (GxFColor{0.1f, 0.2f, 0.3f, 0.4f}));
        EXPECT_EQ(a.m_Specular, (GxFColor{0.5f, 0.6f, 0.7f, 0.8f}));
        EXPECT_EQ(a.m_Ambient, (GxFColor{0.9f, 0.8f, 0.7f, 0.6f}));
        EXPECT_EQ(a.m_Emissive, (GxFColor{0.05f, 0.0f, 0.0f, 1.0f}));
        EXPECT_EQ((std::vector<float>{a.m_SpecularPower, a.m_Alpha, a.m_Shininess, a.m_Reflectivity}),
                  (std::vector<float>{20.0f, 0.5f, 0.25f, 0.5f}));
        EXPECT_EQ((std::vector<uint32_t>{a.m_BlendMode, a.m_TextureCount, a.m_DrawGroup}),
                  (std::vector<uint32_t>{3, 2, 1}));
        EXPECT_EQ(a.m_TextureParam[0].m_FileName, L"floor.png");
        EXPECT_EQ(a.m_TextureParam[0].m_MipLevel, 3u);
        // The stored type is read and not kept: every slot asks for a file texture.
        EXPECT_EQ(a.m_TextureParam[0].m_TextureType, 1u);
        EXPECT_EQ(a.m_TextureParam[2].m_FileName, L"unused.png");
        EXPECT_EQ(a.m_ShaderName, L"default.fx");
        // "!glass" 2; "wall@" 0, only the first character counts; the empty name 0.
        EXPECT_EQ((std::vector<uint32_t>{set.GetMaterial(1).m_DrawGroup, set.GetMaterial(2).m_DrawGroup,
                                         set.GetMaterial(3).m_DrawGroup}),
                  (std::vector<uint32_t>{2, 0, 0}));
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
        EXPECT_TRUE(set.Load(Write("many.mtl", KvWriteRecord(f, text))));
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
    ASSERT_TRUE(set.Load(Write("good.mtl", KvWriteRecord(Sample(), false))));
    EXPECT_FALSE(set.Load(Write("empty.mtl", "")));
    EXPECT_EQ(set.GetCount(), 0u);
    EXPECT_FALSE(set.Load(L"/nonexistent/x.mtl"));
    for (bool text : {true, false})
    {
        const std::string bytes = KvWriteRecord(Sample(), text);
        for (size_t cut = 1; cut < bytes.size(); cut += text ? 5 : 1)
        {
            GxMaterialSet damaged;
            EXPECT_FALSE(damaged.Load(Write("cut.mtl", bytes.substr(0, cut)))) << cut;
            EXPECT_LE(damaged.GetCount(), 4u);
        }
    }
}

// An emptied file is named in the error log as a cut one is; a missing file by the file layer alone.
TEST_F(GxMaterialSetTest, EmptiedFileIsNamed)
{
    GxMaterialSet set;
    const std::wstring empty = Write("empty.mtl", "");
    const uint32_t before = GxLog::GetErrorCount();
    EXPECT_FALSE(set.Load(empty));
    EXPECT_TRUE(Logged(L"GxMaterialSet::Load/材質ファイルが空です(" + empty + L")\r\n"));
    EXPECT_FALSE(set.Load(WidePath("missing.mtl")));
    EXPECT_EQ(GxLog::GetErrorCount() - before, 2u);
}

TEST_F(GxMaterialSetTest, D3DMaterialScalesEveryAlpha)
{
    GxMaterial fresh;
    const D3DMATERIAL9 m = fresh.ToD3DMaterial(0.5f);
    EXPECT_EQ(
        (std::vector<float>{m.Diffuse.r, m.Diffuse.a, m.Ambient.r, m.Ambient.a, m.Specular.a, m.Emissive.a, m.Power}),
        (std::vector<float>{1.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 10.0f}));
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
    ASSERT_TRUE(set.Load(Write("tex.mtl", KvWriteRecord(f, true))));
    EXPECT_FALSE(set.LoadTextures(L"/nonexistent/", -1, 0, 1));
    // Material 0 asks for two textures and material 1 for one; materials without textures succeed.
    EXPECT_GE(quiet.Logged(), 2u);
    const KvTestMaterialFile none{{KvTestMaterial{}}};
    ASSERT_TRUE(set.Load(Write("none.mtl", KvWriteRecord(none, false))));
    EXPECT_TRUE(set.LoadTextures(L"/nonexistent/", -1, 0, 1));
}

// The sample game's material file with a count raised and zero bytes after it: the count fits the file at
// one byte an item, not at a material's least size. The set is refused at about the file's own cost (the
// file read whole, once), whichever list the raised count begins.
TEST_F(GxMaterialSetTest, CountPastWhatTheFileHoldsIsRefusedAtTheFilesOwnCost)
{
    const std::string seed = kvtest::SampleGameBytes("models/room_19_wall00.mtl");
    ASSERT_GT(seed.size(), 25u);
    ASSERT_EQ(seed[20], 0x20) << "the material list begins after the root name and the version";
    KvQuietErrorLog quiet;
    auto load = [&](const std::string& bytes)
    {
        const std::wstring path = Write("raised.mtl", bytes);
        KvHeapPeak peak;
        GxMaterialSet set;
        const bool loaded = set.Load(path);
        EXPECT_LT(peak.Bytes(), 2 * bytes.size() + (1u << 20));
        return std::make_pair(loaded, set.GetCount());
    };
    const uint32_t before = quiet.Logged();
    EXPECT_EQ(load(kvtest::RaiseListCount(seed, 20, 4000000, 4000000)), std::make_pair(false, 0u));
    EXPECT_GT(quiet.Logged(), before);
    for (size_t at : kvtest::ListBeginCandidates(seed))
    {
        SCOPED_TRACE(at);
        load(kvtest::RaiseListCount(seed, at, 1000000, 1000000));
    }
}

TEST_F(GxMaterialSetTest, TexturesComeFromTheFolderAndFileNameJoinedAsTheyAre)
{
    // The folder prefix "tex_" is put straight before each file name.
    for (const char* name : {"tex_a.png", "tex_b.png", "tex_c.png"})
        WriteChecker(name);
    const KvTestMaterialFile f{{{.m_Name = L"three",
                                 .m_TextureCount = 2,
                                 .m_Params = {{L"a.png", 1, 0}, {L"b.png", 1, 0}, {L"c.png", 1, 0}}}}};
    GxMaterialSet set;
    ASSERT_TRUE(set.Load(Write("tex.mtl", KvWriteRecord(f, false))));
    GxTextureFactory& factory = GxTextureFactory::GetInstance();
    const uint32_t before = factory.GetCount();
    ASSERT_TRUE(set.LoadTextures(Folder() + L"tex_", -1, 0, 1));
    const GxMaterial& loaded = set.GetMaterial(0);
    // The third slot lies past the texture count.
    EXPECT_EQ((std::vector<bool>{loaded.m_TextureParam[0].m_pTexture != nullptr,
                                 loaded.m_TextureParam[1].m_pTexture != nullptr,
                                 loaded.m_TextureParam[2].m_pTexture != nullptr, loaded.GetD3DTexture(0) != nullptr,
                                 loaded.GetD3DTexture(2) != nullptr}),
              (std::vector<bool>{true, true, false, true, false}));
    EXPECT_EQ(factory.GetCount(), before + 2);
    // Loading again gives the old references back first; clearing gives back the rest.
    ASSERT_TRUE(set.LoadTextures(Folder() + L"tex_", 0, 0, 1));
    EXPECT_EQ(factory.GetCount(), before + 2);
    set.Clear();
    EXPECT_EQ(factory.GetCount(), before);
}

} // namespace
