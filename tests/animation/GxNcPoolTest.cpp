// The effect, image-set and icon pools, and the direct pattern draws on the draw recorder.
#include "AnimationTestSupport.h"

#include "animation/GxNcEffectPool.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBEffect.h"
#include "graphics/GxDrawRecorder.h"

#include <filesystem>

using namespace kvanim;

namespace
{

class GxNcPoolTest : public KvAnimGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvAnimGraphicsFixture::SetUp();
        // Icons: two names differing only in extension, one in a folder, a 101-pixel bar, a trimmed one.
        GxNcCrammedImageSet set;
        ASSERT_TRUE(
            GisPacker::Build(Dir(), L"icons.gis",
                             {Picture(L"star.png", 8, 8, 0xFFFF0000), Picture(L"star.dds", 8, 8, 0xFF00FF00),
                              Picture(L"ui/bar.png", 101, 4, 0xFFFFFFFF), Picture(L"dot.png", 16, 8, 0xFF0000FF, 2)},
                             GncForm::Binary, set));
        GxNcProject p;
        AddLayer(AddMotion(p, L"g", L"m", 30), L"l");
        AddMotion(p, L"g", L"n", 30);
        ASSERT_TRUE(GncProjectWriter::Write(Path("fx.gnc"), p, {}, GncForm::Binary));
    }
    void TearDown() override
    {
        GxNcEffectPool::ReleaseAllEffect();
        GxNcImageSetPool::ReleaseAll();
        GxNcIconPool::Clear();
        for (int32_t i = 0; i < DBEffect::s_Capacity; ++i)
            *g_DBEffect.GetRow(i) = DBEffectData();
        GxGraphics::SetDrawRecorder(nullptr);
        KvAnimGraphicsFixture::TearDown();
    }
    static void Row(int32_t id, const wchar_t* name, const wchar_t* file, const wchar_t* group, const wchar_t* motion)
    {
        DBEffectData& row = *g_DBEffect.GetRow(id);
        row.m_ID = id;
        row.m_Name = name;
        row.m_GNCName = file;
        row.m_MotionGroup = group;
        row.m_Motion = motion;
    }
    // The recorded quads as {left, top, width, height} after the drawers' half-pixel offset.
    std::vector<std::array<float, 4>> Quads()
    {
        GxGraphics::FlushDraws();
        std::vector<std::array<float, 4>> quads;
        for (const auto& prim : m_Recorder.m_Primitives)
        {
            const auto& v = prim.m_Vertices;
            quads.push_back({v[0].x + 0.5f, v[0].y + 0.5f, v[2].x - v[0].x, v[2].y - v[0].y});
        }
        m_Recorder.Clear();
        return quads;
    }
    GxDrawRecorder m_Recorder;
};

} // namespace

TEST_F(GxNcPoolTest, EffectRowsLoadOnceSkipEmptyAndGiveBackFailedReferences)
{
    Row(1, L"eff", L"fx.gnc", L"g", L"m");
    Row(2, L"eff", L"FX.gnc", L"g", L"n"); // duplicate name: the first stays
    Row(3, L"quiet", L"fx.gnc", L"g", L"");
    Row(4, L"lost", L"fx.gnc", L"g", L"absent");
    EXPECT_FALSE(GxNcEffectPool::LoadAllEffect(Folder(), Folder()));
    const GxNcEffect* eff = GxNcEffectPool::Find(L"eff");
    ASSERT_NE(eff, nullptr);
    EXPECT_EQ(eff->m_pMotion, eff->m_pProject->FindMotion(L"g", L"m"));
    EXPECT_EQ(eff->m_pProject->GetRefCount(), 1u); // the duplicate's and the lost row's references went back
    KvExpectEq<size_t>({{GxNcEffectPool::GetCount(), 1}, {GxNcEffectPool::Find(L"quiet") == nullptr, 1}});
    const std::wstring log = ReadLog("error.log");
    EXPECT_NE(log.find(L"GxNcEffectPool::LoadAllEffect エフェクト名が重複してます[eff]"), std::wstring::npos);
    EXPECT_NE(log.find(L"GxNcEffectPool::LoadAllEffect モーション読み込み失敗[fx.gnc:absent]"), std::wstring::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), L'\n'), 2);
    GxNcEffectPool::ReleaseAllEffect();
    EXPECT_EQ(GxNcProjectFactory::GetInstance().GetCount(), 0u);

    *g_DBEffect.GetRow(2) = *g_DBEffect.GetRow(4) = DBEffectData();
    EXPECT_TRUE(GxNcEffectPool::LoadAllEffect(Folder(), Folder()));
}

TEST_F(GxNcPoolTest, ImageSetsArePooledOnceAndIconsIndexedByShortName)
{
    const std::wstring name = WidePath("icons.gis");
    EXPECT_TRUE(GxNcImageSetPool::Add(name));
    EXPECT_TRUE(GxNcImageSetPool::Add(name));
    GxNcCrammedImageSet* set = GxNcImageSetPool::Find(name);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetRefCount(), 1u);
    GxNcIconPool::Build(set);
    EXPECT_EQ(GxNcIconPool::Find(L"star"), set->FindOriginImage(L"star.png"));
    EXPECT_NE(GxNcIconPool::FindString(L"bar"), nullptr);
    EXPECT_EQ(GxNcIconPool::Find(L"star.png"), nullptr);

    EXPECT_TRUE(GxNcImageSetPool::Release(name));
    EXPECT_EQ(GxNcCrammedImageSetFactory::GetInstance().GetCount(), 0u);
    EXPECT_FALSE(GxNcImageSetPool::Release(name));
    EXPECT_FALSE(GxNcImageSetPool::Add(WidePath("none.gis")));
    const std::wstring log = ReadLog("error.log");
    EXPECT_NE(log.find(L"GxNcImageSetPool::Release 解放するイメージセットが見つからない[" + name + L"]"),
              std::wstring::npos);
    EXPECT_NE(log.find(L"GxNcImageSetPool::Add イメージセット読み込み失敗[" + WidePath("none.gis") + L"]"),
              std::wstring::npos);
}

TEST_F(GxNcPoolTest, PatternDrawsPlaceTheTrimmedPieceAndCutFromItsLeft)
{
    ASSERT_TRUE(GxNcImageSetPool::Add(WidePath("icons.gis")));
    GxNcIconPool::Build(GxNcImageSetPool::Find(WidePath("icons.gis")));
    GxGraphics::SetDrawRecorder(&m_Recorder);
    ASSERT_TRUE(GxGraphics::BeginScene());

    // dot: 16 x 8 with a 2-pixel transparent border, packed as 12 x 4 at offset (2, 2); scaled by 2.
    GxNcIconPool::Draw(L"dot", 0, 2.0f, 2.0f, 100.0f, 50.0f, 0.0f, 0xFFFFFFFF, 0);
    const GxNcOriginImage* dot = GxNcIconPool::Find(L"dot");
    GxMatrix at;
    at.Translation(10.0f, 20.0f, 0.0f);
    GxNcCrammedImageSet::DrawPatternEx(dot, 0, at, 0, 0, 16, 8, 1.0f, GxVector4(1, 1, 1, 1), GxVector4(), 2);
    GxNcCrammedImageSet::DrawPatternEx(dot, 0, at, 4, 0, 9, 8, 1.0f, GxVector4(1, 1, 1, 1), GxVector4(), 2);
    GxNcIconPool::DrawEx(L"bar", 300.0f, 300.0f, 0.0f, 0xFF00FF00, 0.5);
    GxNcIconPool::DrawEx(L"bar", 300.0f, 400.0f, 0.0f, 0xFF00FF00, 0.0);
    const auto quads = Quads();
    ASSERT_EQ(quads.size(), 5u);
    EXPECT_EQ(quads[0], (std::array<float, 4>{104, 54, 24, 8}));
    EXPECT_EQ(quads[1], (std::array<float, 4>{12, 22, 12, 4}));
    EXPECT_EQ(quads[2], (std::array<float, 4>{12, 22, 5, 4})); // two skipped, five kept, from the offset
    EXPECT_EQ(quads[3], (std::array<float, 4>{300, 300, 50, 4}));
    EXPECT_EQ(quads[4][2], 0.0f); // ratio 0: nothing visible

    // Nothing at all: a ratio below 0, a clip beyond the pattern, unknown icons and patterns.
    GxNcIconPool::DrawEx(L"bar", 300.0f, 300.0f, 0.0f, 0xFF00FF00, -1.0);
    GxNcCrammedImageSet::DrawPatternEx(dot, 0, at, 20, 0, 30, 8, 1.0f, GxVector4(1, 1, 1, 1), GxVector4(), 2);
    GxNcIconPool::Draw(L"nothing", 0, 1, 1, 0, 0, 0, 0xFFFFFFFF, 0);
    GxNcIconPool::Draw(L"dot", 1, 1, 1, 0, 0, 0, 0xFFFFFFFF, 0);
    // A pattern whose page was never loaded.
    std::filesystem::copy_file(Path("icons.gis"), Path("bare.gis"));
    GxNcCrammedImageSet* bare =
        GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(WidePath("bare.gis"), false);
    ASSERT_NE(bare, nullptr);
    GxNcCrammedImageSet::DrawPattern(bare->FindOriginImage(L"dot.png"), 0, at, 1.0f, GxVector4(1, 1, 1, 1), GxVector4(),
                                     2);
    EXPECT_TRUE(Quads().empty());
    GxGraphics::EndScene();
}
