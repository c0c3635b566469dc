// Geometry files with counts and indices that do not hold: surplus values are read and dropped, what
// cannot be drawn safely is refused with a log line, and nothing reaches the device out of range.
// Truncated and scrambled files load as failures, never as crashes (the sanitizers watch every case).
#include "ModelTestSupport.h"

#include "graphics/GxModel.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"

#include <algorithm>
#include <functional>
#include <random>

namespace
{

// One mesh part with one mesh of two triangles; the test bends the first subset, the second shows that
// reading went on in step.
KvTestGeometry OneMesh(uint32_t mask = 1)
{
    KvTestGeometry g{.m_Parts = {{.m_Name = L"Piece"}}, .m_Skeleton = {{L"Piece", 0, {}}}};
    g.m_Meshes = {{.m_PartsName = L"Piece",
                   .m_VertexLayer = mask,
                   .m_Bones = {KvTestBone{0, GxMatrix()}},
                   .m_Subsets = {KvTriangleSubset(), KvTriangleSubset(1)}}};
    g.m_Meshes[0].m_Subsets[1].m_MaterialName = L"second";
    return g;
}

class GxModelDamagedFileTest : public KvGraphicsFixture
{
protected:
    // Loads the geometry in both forms and both stream forms and hands each model to the check.
    template <typename Check> void ForEachForm(const KvTestGeometry& g, bool expectLoad, Check check)
    {
        for (bool text : {true, false})
            for (bool legacy : {true, false})
            {
                SCOPED_TRACE(std::string(text ? "text" : "binary") + (legacy ? " single" : " separate"));
                KvQuietErrorLog quiet;
                GxModel model;
                EXPECT_EQ(model.LoadGeometry(Write("d.geo", KvWriteRecord(g, text)), legacy), expectLoad);
                check(model, legacy, quiet.Logged());
                Draw(model);
            }
    }

    // Places and draws the model: whatever was loaded must be safe to hand to the device.
    void Draw(GxModel& model)
    {
        model.SetWorldMatrix(GxMatrix());
        Device()->BeginScene();
        model.Draw(-1, 0, nullptr);
        Device()->EndScene();
    }

    static void SecondSubsetIntact(GxModel& model)
    {
        ASSERT_EQ(model.GetMeshCount(), 1u);
        ASSERT_EQ(model.GetMesh(0).m_SubsetCount, 2u);
        EXPECT_EQ(model.GetMesh(0).m_pSubsets[1].m_MaterialName, L"second");
        EXPECT_TRUE(model.GetMesh(0).m_pSubsets[1].m_Drawable);
    }
};

// The first subset bent one way: it is cut to what holds or refused, with its log lines, the second subset
// is read in step, and only drawable subsets reach the device.
TEST_F(GxModelDamagedFileTest, BentSubsetIsCutOrRefusedAndTheNextIsReadInStep)
{
    using Subset = KvTestSubset&;
    using Loaded = const GxMeshSubset&;
    const struct
    {
        const char* name;
        uint32_t mask;
        std::function<void(Subset)> bend;
        bool drawable;
        uint32_t minLogged, maxLogged;
        std::function<void(Loaded, bool legacy)> check;
    } cases[] = {
        // One line for the subset, whatever the number of lists.
        {"vertex list longer than the vertex count", 1 | 0x40 | 4,
         [](Subset s) {
             s.m_VertexCount = 2, s.m_Indices = {0, 1, 1};
         },
         true, 1, 1, [](Loaded s, bool) { EXPECT_EQ(s.GetBufferVertexCount(), 2u); }},
        {"more than eight UV layers keep eight", 1, [](Subset s) { s.m_UVLayerCount = 10; }, true, 1, 99,
         [](Loaded s, bool legacy)
         {
             EXPECT_EQ(s.m_UVLayerCount, 10u);
             if (!legacy)
                 KvExpectEq<uint32_t>({{s.GetBufferUVLayerCount(), 8}, {s.HasLayerUV(7), true}});
         }},
        {"more UV lists than layers", 1, [](Subset s) { s.m_UVLayerCount = 1, s.m_UVLayersWritten = 12; }, true, 1, 99,
         [](Loaded s, bool) { EXPECT_FALSE(s.HasLayerUV(1)); }},
        {"index at the vertex count", 1,
         [](Subset s) {
             s.m_Indices = {0, 3, 2};
         },
         false, 1, 1, nullptr},
        {"index 65535", 1,
         [](Subset s) {
             s.m_Indices = {0, 65535, 2};
         },
         false, 1, 1, nullptr},
        {"more triangles than indices", 1, [](Subset s) { s.m_PolygonCount = 2; }, false, 1, 1, nullptr},
        // Three times this wraps in 32 bits.
        {"wrapping triangle count", 1, [](Subset s) { s.m_PolygonCount = 0x60000000; }, false, 0, 99, nullptr},
        {"huge vertex count makes no buffers", 1, [](Subset s) { s.m_VertexCount = 0xFFFFFFFFu; }, false, 1, 99,
         [](Loaded s, bool) { EXPECT_EQ(s.GetDeclarationKind(), 0u); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        KvTestGeometry g = OneMesh(c.mask);
        c.bend(g.m_Meshes[0].m_Subsets[0]);
        ForEachForm(g, true,
                    [&](GxModel& model, bool legacy, uint32_t logged)
                    {
                        SecondSubsetIntact(model);
                        const GxMeshSubset& s = model.GetMesh(0).m_pSubsets[0];
                        EXPECT_EQ(s.m_Drawable, c.drawable);
                        EXPECT_GE(logged, c.minLogged);
                        EXPECT_LE(logged, c.maxLogged);
                        if (c.check)
                            c.check(s, legacy);
                        const uint64_t calls = Device()->GetDrawCallCount();
                        Draw(model);
                        EXPECT_EQ(Device()->GetDrawCallCount() - calls, c.drawable ? 2u : 1u);
                    });
    }
}

TEST_F(GxModelDamagedFileTest, SeparateStreamsWithoutTheDefaultLayerAreRefused)
{
    ForEachForm(OneMesh(0), true,
                [](GxModel& model, bool legacy, uint32_t)
                {
                    const GxMeshSubset& s = model.GetMesh(0).m_pSubsets[0];
                    EXPECT_EQ(s.m_Drawable, legacy);
                    EXPECT_FALSE(s.HasLayerDefault());
                });
}

TEST_F(GxModelDamagedFileTest, MeshOrBoneNamingNoPartIsDropped)
{
    for (int32_t bad : {1, -1, 1000000})
    {
        KvTestGeometry g = OneMesh();
        g.m_Meshes.push_back(g.m_Meshes[0]);
        g.m_Meshes[1].m_PartsIndex = bad;
        g.m_Meshes[0].m_Bones = {KvTestBone{bad, GxMatrix()}, KvTestBone{0, GxMatrix()}};
        ForEachForm(g, true,
                    [](GxModel& model, bool, uint32_t logged)
                    {
                        ASSERT_EQ(model.GetMeshCount(), 2u);
                        KvExpectEq<int64_t>({{model.GetMesh(1).m_SubsetCount, 0},
                                             {model.GetMesh(0).m_SubsetCount, 2},
                                             {(int64_t)model.GetMesh(0).m_LocalBones.size(), 1},
                                             {model.GetParts().m_PartsList[0].m_EntityIndex, 0},
                                             {logged, 2}});
                    });
    }
}

TEST_F(GxModelDamagedFileTest, MeshPartNamingNoMeshIsPlacedAsAPlainPart)
{
    KvTestGeometry g = OneMesh();
    g.m_Parts.push_back({.m_Name = L"Orphan", .m_EntityIndex = 5});
    g.m_Parts.back().m_FirstFramePose.Translation(0, 3, 0);
    ForEachForm(g, true,
                [](GxModel& model, bool, uint32_t logged)
                {
                    const GxParts& part = model.GetParts().m_PartsList.at(1);
                    EXPECT_EQ(part.m_PartsType, 0u);
                    EXPECT_EQ(logged, 1u);
                    model.SetWorldMatrix(GxMatrix());
                    EXPECT_EQ(model.GetState().m_Parts.at(1).m_WorldMatrix.m[3][1], 3.0f);
                });
}

TEST_F(GxModelDamagedFileTest, TruncatedFilesFailAndLeaveAnEmptyModel)
{
    for (bool text : {true, false})
    {
        const std::string bytes = KvWriteRecord(OneMesh(1 | 0x40 | 4), text);
        KvQuietErrorLog quiet;
        for (size_t cut = 1; cut < bytes.size(); cut += text ? 3 : 1)
        {
            // The text form's last line is the list end "21 TAB }": its tag alone still ends the list, so a
            // cut within its brace and line end leaves a whole record.
            if (text && cut + 3 >= bytes.size())
                continue;
            GxModel model;
            ASSERT_FALSE(model.LoadGeometry(Write("cut.geo", bytes.substr(0, cut)), cut % 2 == 0)) << cut;
            EXPECT_EQ(model.GetMeshCount(), 0u);
            EXPECT_TRUE(model.GetParts().m_PartsList.empty());
            Draw(model);
        }
    }
}

// Bytes changed at random: a file that fails to load says so in the log and leaves an empty model; one that
// loads keeps every drawable subset inside its own buffers (its triangles within its indices, its indices
// within its vertices, its vertices within the vertex buffers), and a draw hands the device no other subset.
TEST_F(GxModelDamagedFileTest, ScrambledFilesNeverReachPastTheirData)
{
    std::mt19937 random(9);
    uint32_t loaded = 0, refused = 0, drawable = 0;
    for (bool text : {true, false})
    {
        const std::string good = KvWriteRecord(OneMesh(1 | 0x40 | 4), text);
        for (int round = 0; round < 400; ++round)
        {
            SCOPED_TRACE(std::string(text ? "text" : "binary") + " round " + std::to_string(round));
            std::string bytes = good;
            const int flips = 1 + (int)(random() % 4);
            for (int f = 0; f < flips; ++f)
                bytes[random() % bytes.size()] = (char)(random() & 0xFF);
            KvQuietErrorLog quiet;
            GxModel model;
            if (!model.LoadGeometry(Write("mix.geo", bytes), round % 2 == 0))
            {
                ++refused;
                EXPECT_GT(quiet.Logged(), 0u);
                EXPECT_EQ(model.GetMeshCount(), 0u);
                EXPECT_TRUE(model.GetParts().m_PartsList.empty());
            }
            else
                ++loaded;
            uint32_t drawableHere = 0;
            for (uint32_t m = 0; m < model.GetMeshCount(); ++m)
                for (uint32_t i = 0; i < model.GetMesh(m).m_SubsetCount; ++i)
                {
                    GxMeshSubset& s = model.GetMesh(m).m_pSubsets[i];
                    if (!s.m_Drawable)
                        continue;
                    ++drawableHere;
                    ASSERT_LE(s.m_VertexCount, s.GetBufferVertexCount());
                    ASSERT_LE((uint64_t)s.m_PolygonCount * 3, s.GetIndexBufferCount());
                    void* data = nullptr;
                    ASSERT_TRUE(s.LockIndexBuffer(0, &data));
                    const uint16_t* indices = static_cast<const uint16_t*>(data);
                    EXPECT_EQ(std::count_if(indices, indices + s.m_PolygonCount * 3,
                                            [&](uint16_t v) { return v >= s.m_VertexCount; }),
                              0);
                    s.UnlockIndexBuffer();
                }
            drawable += drawableHere;
            const uint64_t calls = Device()->GetDrawCallCount();
            Draw(model);
            EXPECT_LE(Device()->GetDrawCallCount() - calls, drawableHere);
        }
    }
    // Both outcomes came up, and subsets were drawn.
    EXPECT_GT(loaded, 0u);
    EXPECT_GT(refused, 0u);
    EXPECT_GT(drawable, 0u);
}

// A count raised with zero bytes after the file, so it fits the file at one byte an item but not at the
// least size of its items: the file is refused at about its own cost (read whole, once). First the sample
// game's parts list at four million; then every list of the sample file and of a mesh with bones, subsets
// and every vertex layer, each at a million.
TEST_F(GxModelDamagedFileTest, RaisedCountsCostNoMoreThanTheFile)
{
    const std::string seed = kvtest::SampleGameBytes("models/scaffold.geo");
    ASSERT_GT(seed.size(), 25u);
    ASSERT_EQ(seed[20], 0x20) << "the parts list begins after the root name and the version";
    KvQuietErrorLog quiet;
    auto load = [&](const std::string& bytes, bool legacy)
    {
        const std::wstring path = Write("raised.geo", bytes);
        KvHeapPeak peak;
        GxModel model;
        const bool loaded = model.LoadGeometry(path, legacy);
        EXPECT_LT(peak.Bytes(), 2 * bytes.size() + (1u << 20));
        Draw(model);
        return loaded;
    };
    const uint32_t before = quiet.Logged();
    EXPECT_FALSE(load(kvtest::RaiseListCount(seed, 20, 4000000, 4000000), true));
    EXPECT_GT(quiet.Logged(), before);
    const std::string mesh = KvWriteRecord(OneMesh(1 | 0x40 | 4), false);
    for (const std::string& good : {seed, mesh})
        for (size_t at : kvtest::ListBeginCandidates(good))
        {
            SCOPED_TRACE(at);
            load(kvtest::RaiseListCount(good, at, 1000000, 1000000), at % 2 == 0);
        }
}

// An emptied file fails like a cut one and is named in the error log as one; a missing file is named by
// the file layer alone.
TEST_F(GxModelDamagedFileTest, EmptiedFileIsNamed)
{
    GxModel model;
    const std::wstring empty = Write("empty.geo", "");
    const uint32_t before = GxLog::GetErrorCount();
    EXPECT_FALSE(model.LoadGeometry(empty, true));
    EXPECT_TRUE(Logged(L"GxModel::LoadGeometry/ジオメトリファイルが空です(" + empty + L")\r\n"));
    EXPECT_FALSE(model.LoadGeometry(WidePath("missing.geo"), false));
    EXPECT_EQ(GxLog::GetErrorCount() - before, 2u);
    EXPECT_EQ(model.GetMeshCount(), 0u);
}

TEST_F(GxModelDamagedFileTest, DeeplyNestedSkeletonIsRefused)
{
    KvTestGeometry g = OneMesh();
    KvTestSkeletonNode node{L"leaf", 0, {}};
    for (int i = 0; i < 400; ++i)
        node = KvTestSkeletonNode{L"n", 0, {node}};
    g.m_Skeleton = {node};
    KvQuietErrorLog quiet;
    GxModel model;
    EXPECT_FALSE(model.LoadGeometry(Write("deep.geo", KvWriteRecord(g, false)), true));
    EXPECT_EQ(model.GetParts().m_Skeleton.GetRoot(), nullptr);
}

} // namespace
