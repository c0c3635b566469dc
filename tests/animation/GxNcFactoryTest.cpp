// The project and image-set factories: counts, letter case, missing files, a project's sets, shut-down.
#include "AnimationTestSupport.h"

using namespace kvanim;

namespace
{

class GxNcFactoryTest : public KvAnimFixture
{
protected:
    void SetUp() override
    {
        KvAnimFixture::SetUp();
        GxNcCrammedImageSet set;
        std::vector<std::vector<uint32_t>> pages;
        GisPacker::Pack({Picture(L"a.png", 8, 8, 0xFFFFFFFF)}, L"s", 16, set, pages);
        ASSERT_TRUE(GisImageSetWriter::Write(Path("s.gis"), set, GncForm::Binary));
        GxNcProject p;
        AddLayer(AddMotion(p, L"g", L"m", 10), L"l").m_ImageKeys = {ImageKey(0, L"s.gis", L"a.png")};
        FlatTree(*p.m_MotionGroups[0]->m_Motions[0]);
        ASSERT_TRUE(GncProjectWriter::Write(Path("p.gnc"), p, {L"s.gis"}, GncForm::Binary));
    }
    GxNcCrammedImageSetFactory& Sets() { return GxNcCrammedImageSetFactory::GetInstance(); }
    GxNcProjectFactory& Projects() { return GxNcProjectFactory::GetInstance(); }
};

} // namespace

TEST_F(GxNcFactoryTest, SetCountsAndLetterCase)
{
    GxNcCrammedImageSet* a = Sets().GetCrammedImageSet(WidePath("s.gis"), false);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Sets().GetCrammedImageSet(GxString::ToUpper(WidePath("s.gis")), false), a);
    EXPECT_EQ(Sets().Find(WidePath("S.GIS")), a);
    EXPECT_EQ(a->GetRefCount(), 2u);
    Sets().Release(a);
    KvExpectEq<size_t>({{Sets().GetCount(), 1}, {a->GetRefCount(), 1}, {Sets().GetNoTextureSets().size(), 1}});
    Sets().ReleaseByName(WidePath("S.gis"));
    KvExpectEq<size_t>({{Sets().GetCount(), 0}, {Sets().GetNoTextureSets().size(), 0}});
    Sets().ReleaseByName(WidePath("s.gis"));
    EXPECT_TRUE(Logged(L"Warning/GxNcCrammedImageSetFactory You tried to release the object does not exist(" +
                       WidePath("s.gis") + L")"));
    GxLog::SetSkipSlightError(true);
    const uint32_t before = GxLog::GetErrorCount();
    Sets().ReleaseByName(L"other");
    EXPECT_EQ(GxLog::GetErrorCount(), before);
}

TEST_F(GxNcFactoryTest, MissingProjectIsCachedEmptyAndItsSetsGoWithIt)
{
    GxNcProjectEx* missing = Projects().Get(WidePath("none.gnc"), WidePath(""), false);
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->m_MotionGroups.empty());
    EXPECT_EQ(Projects().Get(WidePath("NONE.gnc"), L"", false), missing);
    EXPECT_EQ(missing->GetRefCount(), 2u);

    GxNcProjectEx* p = Projects().Get(WidePath("p.gnc"), Folder(), false);
    ASSERT_NE(p->FindMotion(L"g", L"m"), nullptr);
    EXPECT_EQ(p->m_ImageSetNames, std::vector<std::wstring>{GxString::ToLower(Folder()) + L"s.gis"});
    GxNcCrammedImageSet* set = Sets().Find(WidePath("s.gis"));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(Sets().GetCrammedImageSet(WidePath("s.gis"), false), set);
    EXPECT_EQ(set->GetRefCount(), 2u);
    Projects().Release(p);
    EXPECT_EQ(set->GetRefCount(), 1u); // the project's one reference given back, once
    Sets().Release(set);

    // Shut-down with one project still held: reports first, then the projects give their sets back before
    // the set cache is emptied, with no warning about unknown sets.
    Projects().Get(WidePath("p.gnc"), Folder(), false);
    Projects().ReportNotReleased();
    Sets().ReportNotReleased();
    Projects().ReleaseAll();
    Sets().ReleaseAll();
    const std::wstring log = ReadLog("error.log");
    EXPECT_NE(log.find(L"Warning/GxNcProjectFactory Object Not Released(" + GxString::ToLower(WidePath("p.gnc"))),
              std::wstring::npos);
    EXPECT_NE(
        log.find(L"Warning/GxNcCrammedImageSetFactory Object Not Released(" + GxString::ToLower(WidePath("s.gis"))),
        std::wstring::npos);
    EXPECT_EQ(log.find(L"does not exist"), std::wstring::npos);
    KvExpectEq<size_t>({{Projects().GetCount(), 0}, {Sets().GetCount(), 0}});
}
