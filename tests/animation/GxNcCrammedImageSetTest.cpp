// Crammed image sets: optional raw UVs, the pattern list's own count, page links, economy pages, failing
// pages, names found at a constant cost; damaged files give no set, and a raised list count costs no more
// than the file.
#include "AnimationTestSupport.h"

#include "graphics/GxTexture.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"

#include <fstream>

using namespace kvanim;

namespace
{

void TwoPageSet(GxNcCrammedImageSet& set)
{
    set.m_CrammedImages.resize(2);
    set.m_CrammedImages[0].m_FileName = L"p0.png";
    set.m_CrammedImages[1].m_FileName = L"p1.png";
    GxNcOriginImage image;
    image.m_FileName = L"img.png";
    for (int32_t page : {0, -1, 2, 1})
    {
        GxNcPattern p;
        p.m_CrammedImageIndex = page;
        p.m_CrammedRawUV = {0.125f, 0.25f, 0.5f, 0.75f};
        image.m_Patterns.push_back(p);
    }
    set.m_OriginImages = {image};
}

} // namespace

using GxNcCrammedImageSetTest = KvAnimFixture;
using GxNcCrammedImageSetDeviceTest = KvAnimGraphicsFixture;

TEST_F(GxNcCrammedImageSetTest, RawUVIsOptionalAndThePatternListDecidesTheCount)
{
    GxNcCrammedImageSet source;
    TwoPageSet(source);
    for (GncForm form : {GncForm::Text, GncForm::Binary})
    {
        for (bool raw : {true, false})
        {
            const std::string name = std::string("s") + (raw ? "r" : "n") + (form == GncForm::Text ? "t" : "b");
            ASSERT_TRUE(GisImageSetWriter::Write(Path(name + ".gis"), source, form, raw, 2));
            GxNcCrammedImageSet* set =
                GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(WidePath(name + ".dat"), false);
            ASSERT_NE(set, nullptr) << name;
            ASSERT_EQ(set->m_OriginImages.size(), 1u);
            const GxNcOriginImage* image = set->FindOriginImage(L"img.png");
            ASSERT_NE(image, nullptr);
            ASSERT_EQ(image->m_Patterns.size(), 4u); // stored count 6
            const GxFRect expected = raw ? GxFRect{0.125f, 0.25f, 0.5f, 0.75f} : GxFRect{};
            EXPECT_EQ(image->m_Patterns[3].m_CrammedRawUV, expected);
            EXPECT_EQ(image->m_Patterns[0].m_pCrammedImage, &set->m_CrammedImages[0]);
            EXPECT_EQ(image->m_Patterns[3].m_pCrammedImage, &set->m_CrammedImages[1]);
            EXPECT_EQ(image->m_Patterns[1].m_pCrammedImage, nullptr);
            EXPECT_EQ(set->FindOriginImage(L"IMG.png"), nullptr);
            EXPECT_EQ(set->m_CrammedImages[0].m_pTexture, nullptr);
            EXPECT_EQ(set->m_Name, WidePath(name + ".gis"));
        }
    }
    // Pages -1 and 2 (the page count) log once per pattern and load.
    const std::wstring log = ReadLog("error.log");
    EXPECT_NE(log.find(L"画像が存在しません Pattern:1 Image:img.png CrammedImageIndex:-1"), std::wstring::npos);
    EXPECT_NE(log.find(L"画像が存在しません Pattern:2 Image:img.png CrammedImageIndex:2"), std::wstring::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), L'\n'), 8);
}

TEST_F(GxNcCrammedImageSetTest, UnreadableSetsGiveNothingAndAreTriedAgain)
{
    GxNcCrammedImageSetFactory& f = GxNcCrammedImageSetFactory::GetInstance();
    Write("x.gis", "Qnot a set");
    EXPECT_EQ(f.GetCrammedImageSet(WidePath("x.gis"), false), nullptr);
    EXPECT_TRUE(Logged(L"GetCrammedImageSet:Load Failed:" + WidePath("x.gis")));
    EXPECT_EQ(f.GetCrammedImageSet(WidePath("later.gis"), false), nullptr);
    EXPECT_EQ(f.GetCount(), 0u);
    GxNcCrammedImageSet source;
    TwoPageSet(source);
    ASSERT_TRUE(GisImageSetWriter::Write(Path("later.gis"), source, GncForm::Binary));
    EXPECT_NE(f.GetCrammedImageSet(WidePath("later.gis"), false), nullptr);

    // Every truncation and byte flip of a small binary set: no crash, and a truncated one gives no set.
    std::ifstream in(Path("later.gis"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t i = 0; i < bytes.size() * 2; ++i)
    {
        std::string data = bytes;
        if (i < bytes.size())
            data.resize(i);
        else
            data[i - bytes.size()] ^= 0x5A;
        Write("d.gis", data);
        const uint32_t before = GxLog::GetErrorCount();
        GxNcCrammedImageSet* set = f.GetCrammedImageSet(WidePath("d.gis"), false);
        if (i < bytes.size())
        {
            EXPECT_EQ(set, nullptr) << i;
            EXPECT_GT(GxLog::GetErrorCount(), before) << i;
        }
        if (set)
            f.Release(set);
    }
}

// Four times the images, each looked up once, compare about four times the names, not sixteen times. The
// first of two images with one name is the one found.
TEST_F(GxNcCrammedImageSetTest, ANameIsFoundAtAConstantCost)
{
    auto namesCompared = [&](size_t count)
    {
        GxNcCrammedImageSet source;
        source.m_OriginImages.resize(count + 1);
        for (size_t i = 0; i < count; ++i)
            source.m_OriginImages[i].m_FileName = L"i" + std::to_wstring(i) + L".png";
        source.m_OriginImages.back().m_FileName = L"i0.png";
        const std::string name = "n" + std::to_string(count) + ".gis";
        EXPECT_TRUE(GisImageSetWriter::Write(Path(name), source, GncForm::Binary));
        GxNcCrammedImageSet* set = GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(WidePath(name), false);
        if (!set)
            return uint64_t{0};
        for (size_t i = 0; i < count; ++i)
            EXPECT_EQ(set->FindOriginImage(L"i" + std::to_wstring(i) + L".png"), &set->m_OriginImages[i]) << i;
        // The set filled by hand, never read, still finds its first image of a name.
        EXPECT_EQ(source.FindOriginImage(L"i0.png"), &source.m_OriginImages[0]);
        return set->GetNamesCompared();
    };
    const uint64_t few = namesCompared(1000);
    const uint64_t many = namesCompared(4000);
    EXPECT_GE(few, 1000u);
    EXPECT_LT(many, 8 * few) << few << " names, then " << many;
}

TEST_F(GxNcCrammedImageSetDeviceTest, EconomyPagesAreSixteenBitAndAFailedPageUndoesTheSet)
{
    GxNcCrammedImageSet set;
    std::vector<std::vector<uint32_t>> pages;
    GisPacker::Pack({Picture(L"a.png", 8, 8, 0x80FF8040)}, L"eco", 16, set, pages);
    ASSERT_TRUE(PfPngWriter::Write(Path("eco_0.png"), 16, 16, (const uint8_t*)pages[0].data()));
    set.m_EconomyMode = true;
    ASSERT_TRUE(GisImageSetWriter::Write(Path("eco.gis"), set, GncForm::Binary));
    GxNcCrammedImageSet* eco = GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(WidePath("eco.gis"), true);
    ASSERT_NE(eco, nullptr);
    GxTexture* page = dynamic_cast<GxTexture*>(eco->m_CrammedImages[0].m_pTexture);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetFormat(), D3DFMT_A4R4G4B4);
    const GxNcPattern& p = eco->m_OriginImages[0].m_Patterns[0];
    EXPECT_EQ(page->GetPixel(p.m_CrammedLeft, p.m_CrammedTop), 0x88FF8844u);
    GxNcCrammedImageSetFactory::GetInstance().Release(eco);
    EXPECT_EQ(GxTextureFactory::GetInstance().GetCount(), 0u);

    // Three pages, the second missing: the third is still tried, then everything is given back.
    GxNcCrammedImageSet three;
    GisPacker::Pack({Picture(L"a.png", 12, 12, 0xFF00FF00), Picture(L"b.png", 12, 12, 0xFF0000FF),
                     Picture(L"c.png", 12, 12, 0xFFFF0000)},
                    L"three", 16, three, pages);
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_TRUE(GisImageSetWriter::Write(Path("three.gis"), three, GncForm::Text));
    for (int i : {0, 2})
    {
        // First only page 0 exists: both later pages are tried and logged. Then page 2 as well.
        ASSERT_TRUE(
            PfPngWriter::Write(Path("three_" + std::to_string(i) + ".png"), 16, 16, (const uint8_t*)pages[i].data()));
        EXPECT_EQ(GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(WidePath("three.gis"), true), nullptr);
        EXPECT_EQ(GxNcCrammedImageSetFactory::GetInstance().GetCount(), 0u);
        EXPECT_EQ(GxTextureFactory::GetInstance().GetCount(), 0u);
    }
    const std::wstring log = ReadLog("error.log");
    const std::wstring failed = L"LoadAttachedTexture:Load Failed:" + GxString::ToLower(Folder());
    for (const wchar_t* page : {L"three_1.png", L"three_2.png"})
        EXPECT_NE(log.find(failed + page), std::wstring::npos) << page;
    EXPECT_EQ(log.find(failed + L"three_2.png"), log.rfind(failed + L"three_2.png"));
    EXPECT_NE(log.find(L"GetCrammedImageSet:Load Failed:"), std::wstring::npos);
    EXPECT_EQ(GxNcCrammedImageSetFactory::GetInstance().GetCount(), 0u);
    EXPECT_EQ(GxTextureFactory::GetInstance().GetCount(), 0u);
}

// Each of the three lists raised, alone with zero bytes after it or over copies of its own items: a count
// the bytes left cannot hold at its item's least size is refused before any item is built. The items are
// as small as they are stored (empty names, no raw UVs), so building them costs well above their bytes.
TEST_F(GxNcCrammedImageSetTest, RaisedCountsCostNoMoreThanTheFile)
{
    GxNcCrammedImageSet lean;
    // Mostly pictures without patterns: a pattern costs about its bytes in memory, a picture several times.
    lean.m_CrammedImages.resize(3);
    lean.m_OriginImages.resize(12);
    lean.m_OriginImages[0].m_Patterns.resize(3);
    ASSERT_TRUE(GisImageSetWriter::Write(Path("lean.gis"), lean, GncForm::Binary, false));
    std::ifstream in(Path("lean.gis"), std::ios::binary);
    const std::string seed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    GxNcCrammedImageSetFactory& f = GxNcCrammedImageSetFactory::GetInstance();
    auto load = [&](const std::string& bytes)
    {
        Write("raised.gis", bytes);
        KvHeapPeak peak;
        const uint32_t before = GxLog::GetErrorCount();
        GxNcCrammedImageSet* set = f.GetCrammedImageSet(WidePath("raised.gis"), false);
        EXPECT_LT(peak.Bytes(), 2 * bytes.size() + (1u << 20));
        EXPECT_EQ(set, nullptr);
        EXPECT_GT(GxLog::GetErrorCount(), before);
        if (set)
            f.Release(set);
    };
    const std::vector<size_t> lists = kvtest::ListBeginCandidates(seed);
    ASSERT_GE(lists.size(), 5u); // the two arrays and the pictures' pattern lists
    for (size_t at : lists)
    {
        SCOPED_TRACE(at);
        load(kvtest::RaiseListCount(seed, at, 1000000, 1000000));
        const std::string copies = kvtest::RaiseListCountOverCopies(seed, at, 1000000, 4000000);
        if (!copies.empty())
            load(copies);
    }
}
