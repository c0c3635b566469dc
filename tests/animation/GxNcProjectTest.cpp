// Projects written by the tools' writer in both forms read back field for field; references resolve or log;
// damaged files give a log line and an empty project.
#include "AnimationTestSupport.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace kvanim;

namespace
{

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every key kind, distinct values everywhere (so a value read into the wrong field shows), four event
// channels, a three-level tree and three stages.
std::unique_ptr<GxNcProject> RichProject()
{
    auto p = std::make_unique<GxNcProject>();
    p->m_ProjectName = L"効果プロジェクト";
    uint32_t* ids[] = {&p->m_IssuableMotionID,   &p->m_IssuableLayerID,    &p->m_IssuableMotionGroupID,
                       &p->m_IssuableActorID,    &p->m_IssuableStageID,    &p->m_IssuableReserveID0,
                       &p->m_IssuableReserveID1, &p->m_IssuableReserveID2, &p->m_IssuableReserveID3};
    for (uint32_t i = 0; i < 9; ++i)
        *ids[i] += 11 + i;
    GxNcMotion& m = AddMotion(*p, L"grp", L"main", 120);
    m.m_EnumName = L"MAIN";
    m.m_MotionID = 7;
    m.m_TotalDuration = 121;
    m.m_StartTime = 2;
    m.m_PlayTime = 3;
    for (int i = 0; i < 3; ++i)
    {
        GxNcLayer& l = AddLayer(m, L"L" + std::to_wstring(i));
        l.m_EnumName = L"E" + std::to_wstring(i);
        l.m_LayerID = 100 + i;
        l.m_LastTime = 30 + i;
        l.m_LoopMode = i;
        l.m_LayerType = 3 + i;
        l.m_AttachIndex = i - 1;
        uint32_t* flags[] = {&l.m_VertexCount,     &l.m_EditLock,     &l.m_EditVisible, &l.m_LightEnable,
                             &l.m_AlphaTestEnable, &l.m_ZWriteEnable, &l.m_ZTestEnable, &l.m_ViewMode,
                             &l.m_BlendMode,       &l.m_FilterMode,   &l.m_StencilMode, &l.m_StencilTestEnable,
                             &l.m_Selected,        &l.m_Expanded};
        for (uint32_t k = 0; k < 14; ++k)
            *flags[k] = 20 * i + k + 1;
        const float f = (float)i;
        GxNcImageKey ik = ImageKey(0, L"fx.gis", L"a.png", 1);
        ik.m_Width = 40 + i;
        ik.m_Height = 20 + i;
        ik.m_OffsetFrame = 4;
        ik.m_LoopMode = 0;
        ik.m_InterMode = 2;
        ik.m_InterParam0 = 0.25f;
        ik.m_InterParam1 = 0.5f;
        ik.m_Selected = 1;
        l.m_ImageKeys = {ik, MotionKey(10, L"grp", L"sub")};
        l.m_PositionKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(1 + f, 2, 3, 4), 1, 0.5f),
                            ValueKey<GxNcVector4Key>(9, GxVector4(5, 6 + f, 7, 8), 2, -0.5f)};
        l.m_ScaleKeys = {ValueKey<GxNcVector4Key>(1, GxVector4(1.5f, 2.5f, 1, 1))};
        l.m_RotationKeys = {ValueKey<GxNcVector4Key>(2, GxVector4(0, 0, 90 + f, 0), 3)};
        l.m_PivotKeys = {ValueKey<GxNcVector4Key>(3, GxVector4(8, 9, 0, 0), 4, 1.0f)};
        l.m_SizeKeys = {ValueKey<GxNcVector2Key>(4, GxVector2(2, 3 + f))};
        l.m_OpacityKeys = {ValueKey<GxNcFloatKey>(5, 0.75f - f / 10)};
        l.m_VisibilityKeys = {ValueKey<GxNcUIntKey>(6, 1u + i), ValueKey<GxNcUIntKey>(8, 0u)};
        GxNcVector4x5Key v5;
        v5.m_Time = 7;
        for (int k = 0; k < 5; ++k)
            v5.m_Value[k] = GxVector4(k + f, -k, k * 2.0f, 1);
        v5.m_SelectedLocalFlags = 31;
        l.m_VertexOffsetKeys = {v5};
        v5.m_Time = 8;
        l.m_VertexColorKeys = {v5};
        l.m_TexOffsetKeys = {ValueKey<GxNcVector2Key>(9, GxVector2(0.25f, 0.5f))};
    }
    // L0 > L1 > L2, built from the bottom so every insertion has a detached parent.
    GxNcLayerNode* n2 = Node(m, L"L2");
    GxNcLayerNode* n1 = Node(m, L"L1");
    m.m_LayerTree.InsertChild(n1, n2, GxSimpleTree::InsertMode::Before);
    GxNcLayerNode* n0 = Node(m, L"L0");
    m.m_LayerTree.InsertChild(n0, n1, GxSimpleTree::InsertMode::Before);
    m.m_LayerTree.SetRoot(n0, GxSimpleTree::InsertMode::Before);
    m.m_SoundKeys = {{3, L"se_hit", 1, 0}, {12, L"se_end", 0, 1}};
    for (int c = 0; c < 4; ++c)
        m.m_EventKeys[c] = {{c, 100 + c, L"param" + std::to_wstring(c), (uint32_t)c + 5, 1, 0.5f, 0.25f, 1}};
    GxNcMotion& sub = AddMotion(*p, L"grp", L"sub", 10);
    AddLayer(sub, L"S0").m_ImageKeys = {ImageKey(0, L"fx.gis", L"b.png")};
    FlatTree(sub);
    p->m_Stages.resize(3);
    return p;
}

// Items as small as they are stored: bare motions of bare layers, keys with empty names. Read, each takes
// several times its bytes in memory, so a list count the bytes cannot hold shows in the cost at once.
std::unique_ptr<GxNcProject> LeanProject()
{
    auto p = std::make_unique<GxNcProject>();
    for (int i = 0; i < 3; ++i)
    {
        GxNcMotion& m = AddMotion(*p, L"g", L"", 1);
        AddLayer(m, L"");
        AddLayer(m, L"");
        m.m_SoundKeys = {{0, L"", 0, 0}, {1, L"", 0, 0}};
        m.m_EventKeys[0] = {{0, 0, L"", 0, 0, 0.0f, 0.0f, 0}, {1, 0, L"", 0, 0, 0.0f, 0.0f, 0}};
    }
    return p;
}

} // namespace

using GxNcProjectTest = KvAnimFixture;

TEST_F(GxNcProjectTest, BothFormsReadBackFieldForField)
{
    std::unique_ptr<GxNcProject> rich = RichProject();
    for (GncForm form : {GncForm::Text, GncForm::Binary})
    {
        ASSERT_TRUE(GncProjectWriter::Write(Path("a.gnc"), *rich, {L"fx.gis", L"sub/other.gis"}, form));
        GxNcProject read;
        std::vector<std::wstring> sets = {L"kept"};
        ASSERT_TRUE(read.Load(WidePath("a.gnc"), sets));
        EXPECT_EQ(sets, (std::vector<std::wstring>{L"kept", L"fx.gis", L"sub/other.gis"}));
        // Written again by the independent writer, every field lands in its own slot: any value read into
        // the wrong field, or dropped, changes the bytes.
        ASSERT_TRUE(GncProjectWriter::Write(Path("b.gnc"), read, {L"fx.gis", L"sub/other.gis"}, form));
        EXPECT_EQ(ReadBytes(Path("a.gnc")), ReadBytes(Path("b.gnc")));

        const GxNcMotion& m = *read.m_MotionGroups[0]->m_Motions[0];
        const GxNcLayer& l1 = *m.m_Layers[1];
        KvExpectEq<uint32_t>({{l1.m_StencilMode, 31},
                              {l1.m_StencilTestEnable, 32},
                              {l1.m_ViewMode, 28},
                              {m.m_EventKeys[2][0].m_AfterCallFlag, 7},
                              {(uint32_t)m.m_EventKeys[2][0].m_EventID, 102},
                              {(uint32_t)read.m_Stages.size(), 3}});
        EXPECT_EQ(m.m_EventKeys[3][0].m_Param, L"param3");
        const auto* root = static_cast<const GxNcLayerNode*>(m.m_LayerTree.GetRoot());
        ASSERT_TRUE(root && root->GetFirstChild() && root->GetFirstChild()->GetFirstChild());
        const auto* leaf = static_cast<const GxNcLayerNode*>(root->GetFirstChild()->GetFirstChild());
        EXPECT_EQ(leaf->m_LayerName, L"L2");
        EXPECT_EQ(leaf->m_pLayer, m.m_Layers[2].get());
        EXPECT_EQ(root->GetNextSibling(), nullptr);
    }
    EXPECT_EQ(ReadLog("error.log"), L"");
}

TEST_F(GxNcProjectTest, ReferencesResolveAndMissingOnesLogWithTheirPlace)
{
    // A set without page textures holding a.png (two patterns).
    GxNcCrammedImageSet set;
    std::vector<std::vector<uint32_t>> pages;
    GisPacker::Pack({Picture(L"a.png", 16, 8, 0xFFFFFFFF, 1, 2)}, L"fx", 64, set, pages);
    std::filesystem::create_directories(Path("gis"));
    ASSERT_TRUE(GisImageSetWriter::Write(Path("gis/fx.gis"), set, GncForm::Binary));

    std::unique_ptr<GxNcProject> p = RichProject();
    GxNcMotion& m = *p->m_MotionGroups[0]->m_Motions[0];
    m.m_Layers[0]->m_ImageKeys.push_back(ImageKey(15, L"fx.gis", L"missing.png"));
    m.m_Layers[1]->m_ImageKeys.push_back(MotionKey(17, L"grp", L"nothing"));
    m.m_Layers[2]->m_ImageKeys.push_back(ImageKey(19, L"", L""));
    // The stored index is replaced by the position of the layer of that name; a name without a layer stays -1.
    static_cast<GxNcLayerNode*>(m.m_LayerTree.GetRoot())->m_LayerIndex = 2;
    GxNcLayerNode* stray = Node(m, L"nolayer");
    m.m_LayerTree.InsertNext(m.m_LayerTree.GetRoot(), stray, GxSimpleTree::InsertMode::Before);
    ASSERT_TRUE(GncProjectWriter::Write(Path("fx.gnc"), *p, {L"whatever/fx.gis"}, GncForm::Text));

    GxNcProjectEx* project = GxNcProjectFactory::GetInstance().Get(WidePath("FX.bin"), WidePath("gis"), false);
    ASSERT_NE(project, nullptr);
    const GxNcMotion* main = project->FindMotion(L"grp", L"main");
    ASSERT_NE(main, nullptr);
    const GxNcCrammedImageSet* held = GxNcCrammedImageSetFactory::GetInstance().Find(WidePath("gis/fx.gis"));
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(main->m_Layers[0]->m_ImageKeys[0].m_pOriginImage, held->FindOriginImage(L"a.png"));
    EXPECT_EQ(main->m_Layers[0]->m_ImageKeys[1].m_pMotion, project->FindMotion(L"grp", L"sub"));
    EXPECT_EQ(project->FindMotion(L"GRP", L"sub"), nullptr);
    const auto* root = static_cast<const GxNcLayerNode*>(main->m_LayerTree.GetRoot());
    EXPECT_EQ(root->m_LayerIndex, 0);
    EXPECT_EQ(static_cast<const GxNcLayerNode*>(root->GetNextSibling())->m_LayerIndex, -1);

    const std::wstring log = ReadLog("error.log");
    EXPECT_NE(log.find(L"画像が存在しません MotionGroup:grp Motion:main Layer:L0 Time:15 -> ImageSet:fx.gis "
                       L"File:missing.png"),
              std::wstring::npos);
    EXPECT_NE(log.find(L"KeyFrameが存在しないモーションを参照しています MotionGroup:grp Motion:main Layer:L1 "
                       L"Time:17 -> MotionGroup:grp Motion:nothing"),
              std::wstring::npos);
    EXPECT_NE(log.find(L"LayerNotFound:nolayer"), std::wstring::npos);
    // The sub motion's S0 names b.png, which the set lacks; the empty key at 19 logs nothing.
    EXPECT_EQ(std::count(log.begin(), log.end(), L'\n'), 4) << log;
}

TEST_F(GxNcProjectTest, DamagedProjectsLogAndComeOutEmpty)
{
    GxNcProject small;
    GxNcMotion& m = AddMotion(small, L"g", L"m", 10);
    AddLayer(m, L"a").m_PositionKeys = {ValueKey<GxNcVector4Key>(0, GxVector4(1, 2, 3, 4))};
    AddLayer(m, L"b").m_ImageKeys = {ImageKey(0, L"s.gis", L"i.png")};
    FlatTree(m);
    m.m_SoundKeys = {{0, L"se", 0, 0}};
    ASSERT_TRUE(GncProjectWriter::Write(Path("ok.gnc"), small, {L"s.gis"}, GncForm::Binary));
    const std::string bytes = ReadBytes(Path("ok.gnc"));

    auto load = [&](const std::string& data, bool& result)
    {
        Write("bad.gnc", data);
        GxNcProject p;
        std::vector<std::wstring> sets;
        const uint32_t before = GxLog::GetErrorCount();
        result = p.Load(WidePath("bad.gnc"), sets);
        if (!result)
        {
            EXPECT_TRUE(p.m_MotionGroups.empty() && sets.empty());
            EXPECT_GT(GxLog::GetErrorCount(), before) << "no log line for " << data.size() << " bytes";
        }
    };
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        bool result = true;
        load(bytes.substr(0, n), result);
        EXPECT_FALSE(result) << "truncated at " << n;
    }
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        std::string flipped = bytes;
        flipped[i] = (char)(flipped[i] ^ 0xA5);
        bool result = false;
        load(flipped, result);
    }
}

// A count raised with zero bytes after the file, so it fits the file at one byte an item but not at the
// least size of its items: the project is refused at about the file's own cost (read whole, once). First the
// sample game's stage list at a million (its items store nothing, so only their number can be judged), then
// every list of the file, and every list again over copies of its own items, which all read: only the hold
// on the count keeps those from being built (the image-set names cost several times their bytes).
TEST_F(GxNcProjectTest, RaisedCountsCostNoMoreThanTheFile)
{
    const std::string seed = kvtest::SampleGameBytes("gnc/lilith.gnc");
    // The stage list is empty and the image-set list follows it.
    const size_t stages = seed.rfind(std::string("\x20\0\0\0\0\x21\x20", 7));
    ASSERT_NE(stages, std::string::npos);
    auto load = [&](const std::string& bytes)
    {
        Write("raised.gnc", bytes);
        KvHeapPeak peak;
        GxNcProject p;
        std::vector<std::wstring> sets;
        const bool loaded = p.Load(WidePath("raised.gnc"), sets);
        EXPECT_LT(peak.Bytes(), 2 * bytes.size() + (1u << 20));
        return loaded;
    };
    const uint32_t before = GxLog::GetErrorCount();
    EXPECT_FALSE(load(kvtest::RaiseListCount(seed, stages, 1000000, 1000000)));
    EXPECT_GT(GxLog::GetErrorCount(), before);
    // The sample's project has no sound or event keys and one motion a group: the lean one has them all,
    // and four megabytes of its copies cost well above the allowance when a count lets them through.
    ASSERT_TRUE(GncProjectWriter::Write(Path("lean.gnc"), *LeanProject(), {}, GncForm::Binary));
    const std::pair<std::string, size_t> seeds[] = {{seed, 1000000}, {ReadBytes(Path("lean.gnc")), 4000000}};
    for (const auto& [bytes, extra] : seeds)
        for (size_t at : kvtest::ListBeginCandidates(bytes))
        {
            SCOPED_TRACE(at);
            load(kvtest::RaiseListCount(bytes, at, 1000000, 1000000));
            const std::string copies = kvtest::RaiseListCountOverCopies(bytes, at, 1000000, extra);
            if (!copies.empty())
                load(copies);
        }
}

TEST_F(GxNcProjectTest, DeeplyNestedStrataReadWithoutRecursion)
{
    GxNcProject deep;
    GxNcMotion& m = AddMotion(deep, L"g", L"m", 10);
    AddLayer(m, L"x");
    GxNcLayerNode* top = nullptr;
    constexpr int kDepth = 100000;
    for (int i = 0; i < kDepth; ++i)
    {
        GxNcLayerNode* node = Node(m, L"x");
        if (top)
            m.m_LayerTree.InsertChild(node, top, GxSimpleTree::InsertMode::Before);
        top = node;
    }
    m.m_LayerTree.SetRoot(top, GxSimpleTree::InsertMode::Before);
    ASSERT_TRUE(GncProjectWriter::Write(Path("deep.gnc"), deep, {}, GncForm::Binary));

    GxNcProject read;
    std::vector<std::wstring> sets;
    ASSERT_TRUE(read.Load(WidePath("deep.gnc"), sets));
    int depth = 0;
    for (const GxSimpleNode* n = read.m_MotionGroups[0]->m_Motions[0]->m_LayerTree.GetRoot(); n; n = n->GetFirstChild())
        ++depth;
    EXPECT_EQ(depth, kDepth);

    // The same file cut inside the strata: every open stratum is closed and nothing leaks.
    const std::string bytes = ReadBytes(Path("deep.gnc"));
    Write("cut.gnc", bytes.substr(0, bytes.size() / 2));
    GxNcProject cut;
    EXPECT_FALSE(cut.Load(WidePath("cut.gnc"), sets));
    EXPECT_TRUE(cut.m_MotionGroups.empty());
}
