// Motion snapshots: geometry cases, the layer tree, nested times and depth, loop length, keys, bounds and
// copies.
#include "AnimationTestSupport.h"

#include "animation/GxNcCallbackBase.h"
#include "animation/GxNcMotionSnapShotEx.h"

using namespace kvanim;

namespace
{

// Records the keys a motion fires.
class KvKeyRecorder : public GxNcCallbackBase
{
public:
    bool OnSoundKey(void*, int32_t depth, int32_t channel, const GxNcSoundKey& key) override
    {
        m_Fired.push_back(L"S" + key.m_SoundName + L"@" + std::to_wstring(depth) + L"/" + std::to_wstring(channel));
        return false;
    }
    bool OnEventKey(void*, int32_t, int32_t channel, const GxNcEventKey& key) override
    {
        m_Fired.push_back(L"E" + std::to_wstring(key.m_EventID) + L"/" + std::to_wstring(channel));
        return false;
    }
    bool OnDrawLayer(const GxNcMotionSnapShotEx&, const GxNcLayerSnapShotEx&, const GxMatrix&, float, const GxVector4&,
                     const GxVector4&, uint32_t) override
    {
        return false;
    }
    std::vector<std::wstring> m_Fired;
};

class GxNcMotionSnapShotExTest : public KvAnimFixture
{
protected:
    void SetUp() override
    {
        KvAnimFixture::SetUp();
        GxNcCrammedImageSet set;
        std::vector<std::vector<uint32_t>> pages;
        // a.png: 16 x 8 with a two-pixel transparent border: packed 12 x 4 at (2, 2), centre (8, 4).
        GisPacker::Pack({Picture(L"a.png", 16, 8, 0xFFFFFFFF, 2)}, L"fx", 64, set, pages);
        ASSERT_TRUE(GisImageSetWriter::Write(Path("fx.gis"), set, GncForm::Binary));

        GxNcProject p;
        GxNcMotion& geo = AddMotion(p, L"g", L"geo", 100);
        GxNcLayer& pat = AddLayer(geo, L"pat");
        pat.m_ImageKeys = {ImageKey(0, L"fx.gis", L"a.png")};
        GxNcVector4x5Key offsets;
        for (int k = 0; k < 5; ++k)
            offsets.m_Value[k] = GxVector4((float)k, 2.0f * k, 0, 0);
        pat.m_VertexOffsetKeys = {offsets};
        GxNcImageKey rect;
        rect.m_Width = 40;
        rect.m_Height = 20;
        AddLayer(geo, L"rect").m_ImageKeys = {rect};
        AddLayer(geo, L"hole").m_ImageKeys = {ImageKey(0, L"fx.gis", L"missing.png")};
        AddLayer(geo, L"bad").m_ImageKeys = {ImageKey(0, L"fx.gis", L"a.png", 5)};
        FlatTree(geo);

        // parent > child; a second top-level layer; blends 3, 0 (inherits), 0 (top level: 1).
        GxNcMotion& tree = AddMotion(p, L"g", L"tree", 10);
        GxNcLayer& parent = AddLayer(tree, L"parent");
        parent.m_BlendMode = 3;
        parent.m_PositionKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(10, 0, 0, 0))};
        parent.m_RotationKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(0, 0, 90, 0))};
        GxNcLayer& child = AddLayer(tree, L"child");
        child.m_BlendMode = 0;
        child.m_PositionKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(0, 5, 0, 0))};
        child.m_ScaleKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(2, 2, 1, 1))};
        child.m_SizeKeys = {ValueKey<GxNcVector2Key>(0, GxVector2(1.5f, 1))};
        rect.m_Width = rect.m_Height = 2;
        child.m_ImageKeys = {rect};
        AddLayer(tree, L"other").m_BlendMode = 0;
        GxNcLayerNode* c = Node(tree, L"child");
        GxNcLayerNode* top = Node(tree, L"parent");
        tree.m_LayerTree.InsertChild(top, c, GxSimpleTree::InsertMode::Before);
        tree.m_LayerTree.SetRoot(top, GxSimpleTree::InsertMode::Before);
        tree.m_LayerTree.InsertNext(top, Node(tree, L"other"), GxSimpleTree::InsertMode::Before);

        // outer plays inner, inner plays itself: nesting only stops at depth 0.
        GxNcMotion& outer = AddMotion(p, L"g", L"outer", 100);
        GxNcLayer& host = AddLayer(outer, L"host");
        host.m_LoopMode = 2;
        host.m_LastTime = 50;
        GxNcImageKey play = MotionKey(0, L"g", L"inner");
        play.m_OffsetFrame = 3;
        host.m_ImageKeys = {play};
        FlatTree(outer);
        GxNcMotion& inner = AddMotion(p, L"g", L"inner", 7);
        play.m_OffsetFrame = 0;
        play.m_LoopMode = 0;
        AddLayer(inner, L"self").m_ImageKeys = {play};
        FlatTree(inner);

        GxNcMotion& keys = AddMotion(p, L"g", L"keys", 1);
        GxNcLayer& looped = AddLayer(keys, L"l");
        looped.m_LoopMode = 1;
        looped.m_PositionKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(1, 0, 0, 0)),
                                 ValueKey<GxNcVector4Key>(5, GxVector4(9, 0, 0, 0))};
        FlatTree(keys);
        keys.m_SoundKeys = {{5, L"hit", 0, 0}};
        keys.m_EventKeys[0] = {{5, 50, L""}};
        keys.m_EventKeys[3] = {{5, 53, L""}, {6, 63, L""}};
        ASSERT_TRUE(GncProjectWriter::Write(Path("t.gnc"), p, {L"fx.gis"}, GncForm::Binary));
        m_Project = GxNcProjectFactory::GetInstance().Get(WidePath("t.gnc"), Folder(), false);
        ASSERT_NE(m_Project->FindMotion(L"g", L"geo"), nullptr);
    }
    const GxNcMotion* Motion(const wchar_t* name) { return m_Project->FindMotion(L"g", name); }
    void Update(GxNcMotionSnapShotEx& s, const wchar_t* motion, int32_t t, int32_t depth = 4,
                GxNcCallbackBase* callback = nullptr, const GxVector4& offset = GxVector4())
    {
        s.Update(m_Project, Motion(motion), t, offset, nullptr, GxVector4(1, 1, 1, 1), depth, callback);
    }
    static std::vector<float> XY(const GxNcLayerSnapShotEx& l)
    {
        std::vector<float> out;
        for (const GxVector4& p : l.m_Positions)
        {
            out.push_back(p.x);
            out.push_back(p.y);
        }
        return out;
    }
    GxNcProjectEx* m_Project = nullptr;
};

} // namespace

TEST_F(GxNcMotionSnapShotExTest, GeometryOfPatternRectangleAndPlaceholder)
{
    GxNcMotionSnapShotEx s;
    Update(s, L"geo", 0, 4, nullptr, GxVector4(100, 50, 0, 0));
    ASSERT_EQ(s.GetLayerCount(), 4);
    // Pattern: the packed piece at its offset, moved by the vertex offsets, centre point on the origin.
    EXPECT_EQ(XY(s.GetLayer(0)), (std::vector<float>{94, 48, 95, 54, 108, 56, 109, 54, 104, 58}));
    EXPECT_EQ(s.GetLayer(0).m_TexCoords[1].y, 1.0f); // a set without textures: default coordinates
    EXPECT_EQ(XY(s.GetLayer(1)), (std::vector<float>{80, 40, 80, 60, 120, 60, 120, 40, 100, 50}));
    EXPECT_EQ(XY(s.GetLayer(2)), (std::vector<float>{68, 18, 68, 82, 132, 82, 132, 18, 100, 50}));
    EXPECT_EQ(XY(s.GetLayer(3)), XY(s.GetLayer(2))); // a pattern index beyond the image: the placeholder too
}

TEST_F(GxNcMotionSnapShotExTest, TreeCombinesMatricesAndInheritsBlend)
{
    GxNcMotionSnapShotEx s;
    GxMatrix parent;
    parent.Translation(0, 0, 7);
    s.Update(m_Project, Motion(L"tree"), 0, GxVector4(), &parent, GxVector4(1, 1, 1, 1), 4, nullptr);
    const GxNcLayerSnapShotEx& p = s.GetLayer(0);
    const GxNcLayerSnapShotEx& c = s.GetLayer(1);
    GxMatrix expected;
    c.m_LocalMatrix.Multiply(p.m_CombinedMatrix, expected);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(c.m_CombinedMatrix.m[i / 4][i % 4], expected.m[i / 4][i % 4]);
    KvExpectEq<uint32_t>({{p.m_BlendMode, 3}, {c.m_BlendMode, 3}, {s.GetLayer(2).m_BlendMode, 1}});
    // The child's 2 x 2 square, scaled (3, 2), moved 5 down, turned a quarter by its parent, moved 10 right.
    EXPECT_NEAR(c.m_Positions[0].x, 10 - 5 + 2, 1e-4);
    EXPECT_NEAR(c.m_Positions[0].y, -3, 1e-4);
    EXPECT_NEAR(c.m_Positions[0].z, 7, 1e-4);
}

TEST_F(GxNcMotionSnapShotExTest, NestedTimesAndDepth)
{
    GxNcLayer& host = *const_cast<GxNcMotion*>(Motion(L"outer"))->m_Layers[0];
    struct Case
    {
        int32_t time, offset;
        uint32_t keyLoop;
        int32_t expected;
    } cases[] = {
        {60, 3, 1, 6},   // 60 wraps to 10 by m_LastTime 50, + 3 = 13, wraps to 6 by the inner motion's 7
        {60, 3, 0, 13},  // played once: not wrapped
        {60, -20, 1, 0}, // before the key's start: held at 0
        {99, 0, 1, 0},   // 49 + 0 = 49, 49 mod 7 = 0
    };
    for (const Case& c : cases)
    {
        host.m_ImageKeys[0].m_OffsetFrame = c.offset;
        host.m_ImageKeys[0].m_LoopMode = c.keyLoop;
        GxNcMotionSnapShotEx s;
        Update(s, L"outer", c.time);
        ASSERT_TRUE(s.GetLayer(0).m_pNested);
        EXPECT_EQ(s.GetLayer(0).m_pNested->m_Time, c.expected) << c.time << " " << c.offset;
    }
    for (int32_t depth : {0, 1, 4})
    {
        GxNcMotionSnapShotEx s;
        Update(s, L"outer", 0, depth);
        int levels = 0;
        for (const GxNcMotionSnapShotEx* n = &s; n->GetLayerCount() && n->GetLayer(0).m_pNested;
             n = n->GetLayer(0).m_pNested.get())
            ++levels;
        EXPECT_EQ(levels, depth);
        if (depth == 4)
        {
            // Copies are deep; the original's nested snapshots go when the layer stops playing them.
            GxNcMotionSnapShotEx copy = s;
            EXPECT_NE(copy.GetLayer(0).m_pNested.get(), s.GetLayer(0).m_pNested.get());
            EXPECT_EQ(copy.GetLayer(0).m_pNested->GetLayer(0).m_pNested->m_Time,
                      s.GetLayer(0).m_pNested->GetLayer(0).m_pNested->m_Time);
            Update(s, L"outer", 0, 0);
            EXPECT_FALSE(s.GetLayer(0).m_pNested);
            EXPECT_TRUE(copy.GetLayer(0).m_pNested);
        }
    }
}

TEST_F(GxNcMotionSnapShotExTest, ShortMotionsLoopOverOneStepAndKeysFireOnlyOnTheirTime)
{
    GxNcMotionSnapShotEx s;
    KvKeyRecorder recorder;
    for (int32_t t : {4, 6, 5})
        Update(s, L"keys", t, 4, &recorder);
    EXPECT_EQ(s.m_LoopLength, 1);
    EXPECT_EQ(s.GetLayer(0).m_PositionKey.m_Value.x, 1.0f); // loop length 1: always the state at time 0
    EXPECT_EQ(recorder.m_Fired, (std::vector<std::wstring>{L"E63/3", L"Shit@4/0", L"E50/0", L"E53/3"}));
    recorder.m_Fired.clear();
    GxNcMotion::InvokeCallbacks(nullptr, Motion(L"keys"), 6, &recorder);
    EXPECT_EQ(recorder.m_Fired, (std::vector<std::wstring>{L"E63/3"}));
}

TEST_F(GxNcMotionSnapShotExTest, BoundsCoverTheCurrentMotionOnly)
{
    GxNcMotionSnapShotEx s;
    s.CalcBoundingBox();
    EXPECT_GT(s.m_BoundsMin.x, s.m_BoundsMax.x);
    Update(s, L"geo", 0); // four layers, the placeholder reaching 32 out
    Update(s, L"tree", 0);
    EXPECT_EQ(s.m_Layers.size(), 4u); // the list never shrinks
    s.CalcBoundingBox();
    EXPECT_LT(s.m_BoundsMax.y, 32.0f);
    EXPECT_FLOAT_EQ(s.m_BoundsMax.x, 10.0f);
    s.Clear();
    KvExpectEq<size_t>({{s.m_Layers.size(), 0}, {s.GetMotion() == nullptr, 1}});
}

TEST_F(GxNcMotionSnapShotExTest, UnpreparedTreeNodesLogAndEndTheirLevel)
{
    GxNcMotion& tree = *const_cast<GxNcMotion*>(Motion(L"tree"));
    GxNcLayerNode* root = static_cast<GxNcLayerNode*>(tree.m_LayerTree.GetRoot());
    root->m_LayerIndex = -1;
    GxNcMotionSnapShotEx s;
    Update(s, L"tree", 0);
    EXPECT_TRUE(Logged(L"GxNcMotionSnapShotEx::CreateCombinedParam_Sub/Layer:parent Tree is not prepared"));
    // "other" follows the bad node at its level: never visited, its matrix stays identity and blend default.
    EXPECT_EQ(s.GetLayer(2).m_CombinedMatrix.m[3][0], 0.0f);
}
