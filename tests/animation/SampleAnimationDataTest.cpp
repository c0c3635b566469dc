// The packer's pages read back through the pattern data give the packed pictures; the sample game's
// generated image sets and effect project load without an error-log line.
#include "AnimationTestSupport.h"
#include "support/SampleGameCache.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace kvanim;

using SampleAnimationDataTest = KvAnimFixture;
using SampleAnimationDataDeviceTest = KvAnimGraphicsFixture;

TEST_F(SampleAnimationDataTest, PagesReadBackThroughThePatternsGiveThePictures)
{
    // Shapes with transparent borders and holes, some cut into several patterns, more than one page.
    std::vector<GisPicture> pictures = {Picture(L"a.png", 40, 30, 0xFF112233, 3),
                                        Picture(L"b.png", 64, 16, 0x80FF8040, 1, 4),
                                        Picture(L"c.png", 50, 50, 0xFFFFFFFF, 0), Picture(L"empty.png", 8, 8, 0, 0)};
    pictures[2].m_Pixels[0] = 0; // a transparent corner keeps the box
    for (uint32_t i = 0; i < 64; ++i)
        pictures[1].m_Pixels[5 * 64 + i] = 0xFF000000u | i;
    GxNcCrammedImageSet written;
    ASSERT_TRUE(GisPacker::Build(Dir(), L"packed.gis", pictures, GncForm::Text, written, 64));
    ASSERT_GT(written.m_CrammedImages.size(), 1u);

    GxNcCrammedImageSet* set =
        GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(WidePath("packed.gis"), false);
    ASSERT_NE(set, nullptr);
    std::vector<PfImage> pages(set->m_CrammedImages.size());
    for (size_t i = 0; i < pages.size(); ++i)
    {
        std::ifstream in(Path(GxString::ToUtf8(set->m_CrammedImages[i].m_FileName)), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string error;
        ASSERT_TRUE(PfImageDecoder::Decode(bytes.data(), bytes.size(), pages[i], error)) << error;
    }
    for (const GisPicture& pic : pictures)
    {
        const GxNcOriginImage* image = set->FindOriginImage(pic.m_FileName);
        ASSERT_NE(image, nullptr);
        std::vector<uint32_t> rebuilt((size_t)pic.m_Width * pic.m_Height, 0u);
        for (const GxNcPattern& p : image->m_Patterns)
        {
            ASSERT_NE(p.m_pCrammedImage, nullptr);
            const PfImage& page = pages[p.m_CrammedImageIndex];
            for (int32_t y = 0; y < p.m_CrammedHeight; ++y)
                for (int32_t x = 0; x < p.m_CrammedWidth; ++x)
                    rebuilt[(size_t)(p.m_Top + p.m_CrammedOffsetTop + y) * pic.m_Width + p.m_Left +
                            p.m_CrammedOffsetLeft + x] = page.GetPixel(p.m_CrammedLeft + x, p.m_CrammedTop + y);
            EXPECT_FLOAT_EQ(p.m_CrammedRawUV.right - p.m_CrammedRawUV.left,
                            (float)p.m_CrammedWidth / set->m_CrammedImages[p.m_CrammedImageIndex].m_ImageWidth);
        }
        EXPECT_EQ(rebuilt, pic.m_Pixels) << GxString::ToUtf8(pic.m_FileName);
    }
    EXPECT_EQ(set->FindOriginImage(L"a.png")->m_Patterns[0].m_CrammedOffsetLeft, 3);
}

TEST_F(SampleAnimationDataDeviceTest, SampleSetsAndEffectsLoadWithoutAnErrorLine)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Dir + "/game"));
    size_t sets = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Path("game")))
    {
        if (entry.path().extension() != ".gis")
            continue;
        GxNcCrammedImageSet* set = GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(
            GxString::FromUtf8(entry.path().string()), true);
        ASSERT_NE(set, nullptr) << entry.path();
        EXPECT_FALSE(set->m_OriginImages.empty());
        ++sets;
    }
    // Six front-end UI sets, four for the extra screens, two strategy screens, two effect sets, the heroine.
    EXPECT_EQ(sets, 15u);
    GxNcProjectEx* effect =
        GxNcProjectFactory::GetInstance().Get(WidePath("game/gnc/effect.gnc"), WidePath("game/gnc/gis"), true);
    for (auto [group, motion] : {std::pair{L"hit", L"slash"}, {L"hit", L"fire"}, {L"heal", L"heal"}})
        EXPECT_NE(effect->FindMotion(group, motion), nullptr) << GxString::ToUtf8(motion);
    GxNcProjectEx* heroine =
        GxNcProjectFactory::GetInstance().Get(WidePath("game/gnc/lilith.gnc"), WidePath("game/gnc/gis"), true);
    ASSERT_NE(heroine, nullptr);
    for (const wchar_t* motion : {L"sway", L"jump"})
        EXPECT_NE(heroine->FindMotion(L"pose", motion), nullptr) << GxString::ToUtf8(motion);
    EXPECT_EQ(ReadLog("error.log"), L"");
}
