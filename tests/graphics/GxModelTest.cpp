// Models loaded from geometry and material files written here in both content forms and both stream
// forms: parts, skeleton strata, meshes, subsets and their buffers, the placing of parts, and drawing
// order, group filtering and the default material read back from the frame.
#include "ModelTestSupport.h"

#include "core/GxColor.h"
#include "graphics/GxModel.h"
#include "core/GxString.h"
#include "graphics/GxSkeleton.h"
#include "graphics/GxVertexLayer.h"

#include <cstring>

namespace
{

GxMatrix Translation(float x, float y, float z)
{
    GxMatrix m;
    m.Translation(x, y, z);
    return m;
}

bool Near(const GxMatrix& a, const GxMatrix& b)
{
    for (int i = 0; i < 16; ++i)
        if (std::abs(a.m[i / 4][i % 4] - b.m[i / 4][i % 4]) > 1e-5f)
            return false;
    return true;
}

// Every layer filled with values the readers must keep apart; bone index 256 keeps only its low byte.
KvTestSubset Triangle(int32_t material, uint32_t uvLayers = 1)
{
    KvTestSubset s = KvTriangleSubset(material);
    s.m_UVLayerCount = uvLayers;
    for (int i = 0; i < 3; ++i)
        s.m_Vertices[i] = KvTestVertex{{(float)i, (float)(i * 2), 0.5f},
                                       {0, 1, 0},
                                       {1.0f, 0.5f, 0.25f, 1.0f},
                                       {0.25f * (float)i, 0.75f},
                                       {0.5f, 0.25f, 0.25f},
                                       {256, 3, 1, 2},
                                       {1, 0, 0}};
    return s;
}

// Skeleton strata as names and part indices, children in brackets: "Root0(Body1,Arm2(Hand2))".
std::wstring Strata(const GxSimpleNode* node)
{
    std::wstring out;
    for (; node; node = node->GetNextSibling())
    {
        const GxSkeleton* stratum = static_cast<const GxSkeleton*>(node);
        out += (out.empty() ? L"" : L",") + stratum->m_PartsName + std::to_wstring(stratum->m_PartsIndex);
        if (node->GetFirstChild())
            out += L"(" + Strata(node->GetFirstChild()) + L")";
    }
    return out;
}

// Parts Root (plain), Body and Arm (mesh parts); a skeleton of Root with children Body and Arm, Arm with
// a child Hand; meshes 0 on Body and 1 and 2 on Arm, so Arm's entity is the later mesh 2.
KvTestGeometry SampleGeometry(uint32_t mask)
{
    KvTestGeometry g;
    g.m_Parts = {KvTestPart{.m_Name = L"Root", .m_Type = 0, .m_FirstFramePose = Translation(1, 2, 3)},
                 KvTestPart{.m_Name = L"Body", .m_InitPose = Translation(0, 1, 0)},
                 KvTestPart{.m_Name = L"Arm", .m_EntityIndex = 7}}; // the entity index is replaced by the loader
    g.m_Skeleton = {{L"Root", 0, {{L"Body", 1, {}}, {L"Arm", 2, {{L"Hand", 2, {}}}}}}};
    for (int i = 0; i < 3; ++i)
        g.m_Meshes.push_back(KvTestMesh{i == 0 ? L"Body" : L"Arm",
                                        i == 0 ? 1 : 2,
                                        mask,
                                        Translation(0, 0, (float)i),
                                        {},
                                        {Triangle(0), Triangle(1, 2)}});
    g.m_Meshes[0].m_Bones = {KvTestBone{1, Translation(0, 0, 5)}};
    return g;
}

class GxModelTest : public KvGraphicsFixture
{
protected:
    std::wstring WriteGeometry(const KvTestGeometry& g, bool text, const std::string& name = "Model.GEO")
    {
        return Write(name, KvWriteRecord(g, text));
    }
};

struct Form
{
    bool m_Text;
    bool m_Legacy;
};

class GxModelFormTest : public GxModelTest, public ::testing::WithParamInterface<Form>
{
};

TEST_P(GxModelFormTest, LoadsPartsStrataMeshesAndSubsets)
{
    const Form form = GetParam();
    const std::wstring path = WriteGeometry(SampleGeometry(1), form.m_Text);
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(path, form.m_Legacy));
    EXPECT_EQ(model.GetName(), GxString::ToLower(path));

    const std::vector<GxParts>& parts = model.GetParts().m_PartsList;
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].m_PartsName, L"Root");
    // Arm's entity is the later of the two meshes on the part.
    KvExpectEq<int64_t>({{parts[0].m_PartsType, 0},
                         {parts[0].m_EntityIndex, -1},
                         {parts[1].m_EntityIndex, 0},
                         {parts[2].m_EntityIndex, 2}});
    EXPECT_TRUE(Near(parts[1].m_InitPoseMatrix, Translation(0, 1, 0)));

    // Root, then its children Body and Arm in file order, Arm with its own child Hand.
    EXPECT_EQ(Strata(model.GetParts().m_Skeleton.GetRoot()), L"Root0(Body1,Arm2(Hand2))");

    ASSERT_EQ(model.GetMeshCount(), 3u);
    const GxMesh& mesh = model.GetMesh(0);
    EXPECT_EQ(mesh.m_PartsName, L"Body");
    ASSERT_EQ(mesh.m_SubsetCount, 2u);
    const GxMeshSubset& s = mesh.m_pSubsets[1];
    EXPECT_EQ(s.m_pMesh, &mesh);
    KvExpectEq<int64_t>({{mesh.m_VertexLayer, 1 | 8},
                         {mesh.m_HasBones, true},
                         {mesh.m_SingleStream, form.m_Legacy},
                         {s.m_PolygonCount, 1},
                         {s.m_VertexIndexCount, 3},
                         {s.m_VertexCount, 3},
                         {s.m_MaterialIndex, 1},
                         {s.m_UVLayerCount, 2},
                         {s.m_Drawable, true},
                         {s.GetDeclarationKind(), form.m_Legacy ? 5 : 1},
                         {(int64_t)model.GetState().m_Parts.size(), 3}});
}

INSTANTIATE_TEST_SUITE_P(Forms, GxModelFormTest,
                         ::testing::Values(Form{true, true}, Form{false, true}, Form{true, false}, Form{false, false}),
                         [](const ::testing::TestParamInfo<Form>& info)
                         {
                             return std::string(info.param.m_Text ? "Text" : "Binary") +
                                    (info.param.m_Legacy ? "SingleStream" : "SeparateStreams");
                         });

TEST_F(GxModelTest, SingleStreamHoldsPositionNormalColourFirstUVAndWeights)
{
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(SampleGeometry(1 | 0x40 | 4), false), true));
    GxMeshSubset& s = model.GetMesh(0).m_pSubsets[1];
    ASSERT_TRUE(s.HasLayerLegacy());
    EXPECT_FALSE(s.HasLayerDefault());
    void* data = nullptr;
    ASSERT_TRUE(s.LockLayerLegacy(D3DLOCK_READONLY, &data));
    GxVertexLayer_Legacy v[3];
    std::memcpy(v, data, sizeof(v));
    s.UnlockLayerLegacy();
    // Layer 0 only: the second layer (u + 1) is read and dropped.
    KvExpectEq<float>({{v[2].m_Pos[0], 2.0f},
                       {v[2].m_Pos[1], 4.0f},
                       {v[2].m_Normal[1], 1.0f},
                       {v[2].m_UV[0], 0.5f},
                       {v[2].m_UV[1], 0.75f},
                       {v[1].m_Weight[0], 0.5f}});
    EXPECT_EQ(v[2].m_Diffuse, GxColor::ToARGB(GxVector4(1.0f, 0.5f, 0.25f, 1.0f)));
    // Blend indices keep their low byte: 256 becomes 0.
    KvExpectEq<int>({{v[1].m_Index[0], 0}, {v[1].m_Index[1], 3}});
}

TEST_F(GxModelTest, SeparateStreamsFollowTheMask)
{
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(SampleGeometry(1 | 0x40 | 4), true), false));
    GxMeshSubset& s = model.GetMesh(0).m_pSubsets[1];
    EXPECT_EQ(s.GetDeclarationKind(), 4u);
    // The second UV layer is made and filled, never bound.
    KvExpectEq<bool>({{s.HasLayerDefault(), true},
                      {s.HasLayerUV(0), true},
                      {s.HasLayerUV(1), true},
                      {s.HasLayerUV(2), false},
                      {s.HasLayerBoneWeight(), true},
                      {s.HasLayerTangent(), true}});

    void* data = nullptr;
    ASSERT_TRUE(s.LockLayerUV(1, D3DLOCK_READONLY, &data));
    GxVertexLayer_UV uv[3];
    std::memcpy(uv, data, sizeof(uv));
    s.UnlockLayerUV(1);
    EXPECT_EQ(uv[2].m_UV[0], 1.5f);

    ASSERT_TRUE(s.LockLayerBoneWeight(D3DLOCK_READONLY, &data));
    GxVertexLayer_BoneWeight bw[3];
    std::memcpy(bw, data, sizeof(bw));
    s.UnlockLayerBoneWeight();
    KvExpectEq<float>({{(float)bw[0].m_Index[0], 0}, {(float)bw[0].m_Index[1], 3}, {bw[0].m_Weight[2], 0.25f}});

    ASSERT_TRUE(s.LockLayerTangent(D3DLOCK_READONLY, &data));
    GxVertexLayer_Tangent t[3];
    std::memcpy(t, data, sizeof(t));
    s.UnlockLayerTangent();
    EXPECT_EQ(t[1].m_Tangent[0], 1.0f);

    GxModel plain;
    ASSERT_TRUE(plain.LoadGeometry(WriteGeometry(SampleGeometry(1 | 0x40), true, "plain.geo"), false));
    EXPECT_EQ(plain.GetMesh(0).m_pSubsets[0].GetDeclarationKind(), 2u);
    ASSERT_TRUE(plain.LoadGeometry(WriteGeometry(SampleGeometry(1 | 4), true, "tangent.geo"), false));
    EXPECT_EQ(plain.GetMesh(0).m_pSubsets[0].GetDeclarationKind(), 3u);
}

TEST_F(GxModelTest, NoUVLayersStillMakesOneZeroedLayer)
{
    KvTestGeometry g = SampleGeometry(1);
    g.m_Meshes[0].m_Subsets[0].m_UVLayerCount = 0;
    for (bool legacy : {false, true})
    {
        GxModel model;
        ASSERT_TRUE(model.LoadGeometry(WriteGeometry(g, false), legacy));
        GxMeshSubset& s = model.GetMesh(0).m_pSubsets[0];
        EXPECT_EQ(s.m_UVLayerCount, 1u);
        EXPECT_TRUE(s.m_Drawable);
        void* data = nullptr;
        float uv[2] = {-1, -1};
        if (legacy)
        {
            ASSERT_TRUE(s.LockLayerLegacy(D3DLOCK_READONLY, &data));
            std::memcpy(uv, (uint8_t*)data + 52 * 2 + 28, sizeof(uv));
            s.UnlockLayerLegacy();
        }
        else
        {
            ASSERT_TRUE(s.HasLayerUV(0));
            ASSERT_TRUE(s.LockLayerUV(0, D3DLOCK_READONLY, &data));
            std::memcpy(uv, (uint8_t*)data + 8 * 2, sizeof(uv));
            s.UnlockLayerUV(0);
        }
        KvExpectEq<float>({{uv[0], 0.0f}, {uv[1], 0.0f}});
        // The next subset, read after the missing list, is intact.
        EXPECT_EQ(model.GetMesh(0).m_pSubsets[1].m_UVLayerCount, 2u);
    }
}

TEST_F(GxModelTest, MissingOrEmptyFileLeavesAnEmptyModel)
{
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(SampleGeometry(1), true), true));
    EXPECT_FALSE(model.LoadGeometry(Write("empty.geo", ""), true));
    KvExpectEq<bool>({{model.GetMeshCount() == 0, true},
                      {model.GetParts().m_PartsList.empty(), true},
                      {model.GetParts().m_Skeleton.GetRoot() == nullptr, true},
                      {model.GetName().empty(), true}});
    KvQuietErrorLog quiet;
    EXPECT_FALSE(model.LoadGeometry(L"/nonexistent/model.geo", true));
}

TEST_F(GxModelTest, PartsArePlacedByGeometricPoseThenFirstFramePoseThenWorld)
{
    KvTestGeometry g = SampleGeometry(1);
    GxMatrix rot;
    rot.RotationZ(0.5f);
    g.m_Parts[1].m_FirstFramePose = rot;
    g.m_Meshes[0].m_GeometricPose = Translation(4, 0, 0);
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(g, true), true));
    GxMatrix world;
    world.Scaling(2, 2, 2);
    model.SetWorldMatrix(world);
    const GxModelState& state = model.GetState();
    ASSERT_EQ(state.m_Parts.size(), 3u);

    // Type 1: the mesh is moved, then turned with the part, then scaled by the world.
    GxMatrix expected, tmp;
    Translation(4, 0, 0).Multiply(rot, tmp);
    tmp.Multiply(world, expected);
    EXPECT_TRUE(Near(state.m_Parts[1].m_WorldMatrix, expected));
    GxVector3 origin;
    origin.TransformCoord(state.m_Parts[1].m_WorldMatrix);
    EXPECT_NEAR(origin.x, 8.0f * std::cos(0.5f), 1e-4f);

    // Type 0: first-frame pose times world.
    Translation(1, 2, 3).Multiply(world, expected);
    EXPECT_TRUE(Near(state.m_Parts[0].m_WorldMatrix, expected));
    GxMatrix product;
    state.m_Parts[0].m_WorldMatrix.Multiply(state.m_Parts[0].m_InvWorldMatrix, product);
    EXPECT_TRUE(Near(product, GxMatrix()));
    EXPECT_EQ(state.m_Parts[0].m_pParts, &model.GetParts().m_PartsList[0]);
    EXPECT_EQ(state.m_Parts[0].m_LocalScale.x, 1.0f);
}

TEST_F(GxModelTest, BoneOffsetIsInitPoseTimesInverseLink)
{
    KvTestGeometry g = SampleGeometry(1);
    GxMatrix singular;
    singular.Scaling(0, 1, 1);
    g.m_Meshes[1].m_Bones = {KvTestBone{1, singular}};
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(g, false), true));
    const GxLocalBone& bone = model.GetMesh(0).m_LocalBones.at(0);
    EXPECT_TRUE(Near(bone.m_InverseLinkMatrix, Translation(0, 0, -5)));
    EXPECT_TRUE(Near(bone.m_BoneOffsetMatrix, Translation(0, 1, -5)));
    // A singular link inverts to the identity, leaving the part's init pose.
    const GxLocalBone& flat = model.GetMesh(1).m_LocalBones.at(0);
    EXPECT_TRUE(Near(flat.m_InverseLinkMatrix, GxMatrix()));
    EXPECT_TRUE(Near(flat.m_BoneOffsetMatrix, Translation(0, 1, 0)));
}

// Drawing: four nested squares, one per subset, each lit by the ambient colour of its material alone, so
// the frame shows which subsets were drawn and, where squares overlap, which came later.
class GxModelDrawTest : public GxModelTest
{
protected:
    void SetUp() override
    {
        GxModelTest::SetUp();
        PfGLDevice& d = *Device();
        d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d.SetRenderState(D3DRS_LIGHTING, 1);
        d.SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
        // No light but the ambient colour: a square shows its material's ambient colour as it is.
        d.LightEnable(0, false);
        d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        d.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        d.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);

        KvTestMaterialFile mtl;
        const GxFColor ambient[4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}};
        const wchar_t* names[4] = {L"red", L"@green", L"!blue", L"white"};
        for (int i = 0; i < 4; ++i)
            mtl.m_Materials.push_back({.m_Name = names[i], .m_Diffuse = {0, 0, 0, 1}, .m_Ambient = ambient[i]});
        m_MaterialPath = Write("room.mtl", KvWriteRecord(mtl, true));
    }

    static KvTestSubset Square(float half, int32_t material)
    {
        KvTestSubset s{.m_PolygonCount = 2, .m_MaterialIndex = material, .m_Indices = {0, 1, 2, 0, 2, 3}};
        for (const auto& c : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}})
            s.m_Vertices.push_back({.m_Pos = {c.first * half, c.second * half, 0.5f}, .m_Diffuse = {0, 0, 0, 1}});
        return s;
    }

    KvTestGeometry Squares(int32_t m0, int32_t m1, int32_t m2, int32_t m3)
    {
        KvTestGeometry g;
        g.m_Parts = {KvTestPart{.m_Name = L"Floor"}, KvTestPart{.m_Name = L"Floor"}};
        g.m_Meshes = {KvTestMesh{.m_PartsIndex = 0, .m_Subsets = {Square(0.9f, m0), Square(0.7f, m1)}},
                      KvTestMesh{.m_PartsIndex = 1, .m_Subsets = {Square(0.5f, m2), Square(0.3f, m3)}}};
        return g;
    }

    // The colour at ring k (0 the outermost square) along the middle row, as 0xRRGGBB.
    uint32_t Ring(int k)
    {
        const float half[4] = {0.9f, 0.7f, 0.5f, 0.3f};
        const int x = 512 + (int)((half[k] - 0.1f) * 512.0f);
        return Pixel(x, 384) & 0xFFFFFF;
    }
    std::vector<uint32_t> Rings() { return {Ring(0), Ring(1), Ring(2), Ring(3)}; }

    void Frame(GxModel& model, int32_t group)
    {
        PfGLDevice& d = *Device();
        d.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        model.SetWorldMatrix(GxMatrix());
        d.BeginScene();
        model.Draw(group, 0, nullptr);
        d.EndScene();
    }

    std::wstring m_MaterialPath;
};

TEST_F(GxModelDrawTest, DrawsMeshesThenSubsetsInListOrder)
{
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(Squares(0, 1, 2, 3), false), true));
    ASSERT_TRUE(model.LoadMaterial(m_MaterialPath));
    const uint64_t calls = Device()->GetDrawCallCount();
    Frame(model, -1);
    EXPECT_EQ(Device()->GetDrawCallCount() - calls, 4u);
    // Every ring shows: each square was drawn after the larger one it lies on.
    EXPECT_EQ(Rings(), (std::vector<uint32_t>{0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFFFFu}));
}

TEST_F(GxModelDrawTest, GroupDrawsOnlyItsMaterials)
{
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(Squares(0, 1, 2, 3), true), false));
    ASSERT_TRUE(model.LoadMaterial(m_MaterialPath));
    // Where a square is left out, the frame (or the larger square under it) shows through.
    Frame(model, 1);
    EXPECT_EQ(Rings(), (std::vector<uint32_t>{0u, 0x00FF00u, 0x00FF00u, 0x00FF00u}));
    Frame(model, 2);
    EXPECT_EQ(Rings(), (std::vector<uint32_t>{0u, 0u, 0x0000FFu, 0x0000FFu}));
    Frame(model, 0); // the green square is left out, the red one shows through
    EXPECT_EQ(Rings(), (std::vector<uint32_t>{0xFF0000u, 0xFF0000u, 0xFF0000u, 0xFFFFFFu}));
}

TEST_F(GxModelDrawTest, InvalidMaterialIndexDrawsWithTheDefaultMaterial)
{
    GxModel model;
    // Index -1, then an index equal to the count of four materials.
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(Squares(0, -1, 3, 4), true), true));
    ASSERT_TRUE(model.LoadMaterial(m_MaterialPath));
    const GxMeshSubset& none = model.GetMesh(0).m_pSubsets[1];
    const GxMeshSubset& past = model.GetMesh(1).m_pSubsets[1];
    EXPECT_EQ(&none.SelectMaterial(model.GetMaterialSet(), nullptr), &GxMaterial::GetDefault());
    EXPECT_EQ(&past.SelectMaterial(model.GetMaterialSet(), nullptr), &GxMaterial::GetDefault());
    Frame(model, -1);
    // The default material's mid-grey ambient.
    const uint32_t grey = Ring(1);
    EXPECT_NEAR((int)(grey >> 16), 128, 2);
    EXPECT_NEAR((int)(grey & 0xFF), 128, 2);
    EXPECT_EQ(Ring(3), grey);
    // An override replaces every material, the default included.
    const GxMaterial& white = model.GetMaterialSet().GetMaterial(3);
    EXPECT_EQ(&none.SelectMaterial(model.GetMaterialSet(), &white), &white);
}

TEST_F(GxModelDrawTest, ReleaseEmptiesTheModelForAnotherLoad)
{
    GxModel model;
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(Squares(0, 1, 2, 3), false), true));
    ASSERT_TRUE(model.LoadMaterial(m_MaterialPath));
    model.Release();
    EXPECT_EQ(model.GetMeshCount(), 0u);
    EXPECT_EQ(model.GetMaterialSet().GetCount(), 0u);
    const uint64_t calls = Device()->GetDrawCallCount();
    Frame(model, -1);
    EXPECT_EQ(Device()->GetDrawCallCount(), calls);
    ASSERT_TRUE(model.LoadGeometry(WriteGeometry(Squares(0, 1, 2, 3), false), true));
    EXPECT_EQ(model.GetMeshCount(), 2u);
}

} // namespace
