#include "appdata/GxGlobalRenderTargets.h"

#include "../graphics/GraphicsTestSupport.h"
#include "core/GxCore.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

namespace
{

// A sequence that fills one rectangle of the target in one colour from one draw list.
class PaintedSequence : public GxSeqBase
{
public:
    PaintedSequence(GxTaskBase* parent, const wchar_t* name, PfRect rect, uint32_t colour, int32_t layer)
        : GxSeqBase(parent, name), m_Rect(rect), m_Colour(colour), m_Layer(layer)
    {
    }
    int32_t RegisterDraw(int32_t, int64_t) override
    {
        GetManager()->GetRenderList(m_Layer)->Add(this, GX_RENDER_DEFAULT, 0.0f, 0);
        return 0;
    }
    int32_t Draw(int32_t, int32_t) override
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, m_Colour, 1.0f, 0, &m_Rect);
        return 0;
    }

private:
    PfRect m_Rect;
    uint32_t m_Colour;
    int32_t m_Layer;
};

class GxGlobalRenderTargetsTest : public KvGraphicsFixture
{
protected:
    void TearDown() override
    {
        ReleaseGlobalRenderTargets();
        KvGraphicsFixture::TearDown();
    }
};

uint32_t ThumbnailPixel(uint32_t x, uint32_t y)
{
    const uint8_t* p = &g_GlobalRenderTargets.m_Thumbnail[(y * g_GlobalRenderTargets.m_ThumbnailWidth + x) * 4];
    return (uint32_t)p[3] << 24 | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
}

} // namespace

TEST(GxGlobalRenderTargets, RuleAlphaFollowsItsFormula)
{
    struct Case
    {
        uint8_t red;
        float progress;
        uint8_t alpha;
    };
    // Opaque at 0 and transparent at 1 whatever the rule; red 0 is gone at 0.5; red 255 is half at 0.75
    // (k = 382), which the formula gives, not "opaque until 1".
    for (const Case& c : {Case{0, 0.0f, 255}, Case{255, 0.0f, 255}, Case{0, 0.5f, 0}, Case{255, 0.5f, 255},
                          Case{128, 0.5f, 128}, Case{255, 0.75f, 128}, Case{100, 0.75f, 0}, Case{255, 1.0f, 0}})
        EXPECT_EQ(GxGlobalRenderTargets::RuleAlpha(c.red, c.progress), c.alpha) << (int)c.red << " at " << c.progress;
}

TEST(GxGlobalRenderTargets, ThumbnailAveragesAreTruncatedAndPartBlocksIgnored)
{
    // 20 x 17 pixels: two whole blocks across, two down; the rest is ignored.
    const uint32_t width = 20, height = 17, pitch = width * 4;
    std::vector<uint8_t> pixels(pitch * height, 0xFF);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x)
        {
            uint8_t* p = &pixels[y * pitch + x * 4];
            const uint32_t block = (y / 8) * 2 + x / 8;
            p[0] = (uint8_t)(10 * block);
            p[1] = (uint8_t)(x % 8 == 0 && y % 8 == 0 ? 73 : 10); // 63 x 10 + 73 = 703: 10.98 truncates
            p[2] = (uint8_t)(200 + block);
            p[3] = 0;
        }
    std::vector<uint8_t> out(2 * 2 * 4);
    GxGlobalRenderTargets::ReduceToThumbnail(pixels.data(), pitch, width, height, out.data());
    for (uint32_t block = 0; block < 4; ++block)
    {
        EXPECT_EQ(out[block * 4], 10 * block);
        EXPECT_EQ(out[block * 4 + 1], 10);
        EXPECT_EQ(out[block * 4 + 2], 200 + block);
        EXPECT_EQ(out[block * 4 + 3], 255);
    }
}

TEST_F(GxGlobalRenderTargetsTest, CaptureShowsBothSequencesAndMakesTheThumbnailAndRuleFrame)
{
    ASSERT_TRUE(CreateGlobalRenderTargets());
    EXPECT_EQ(g_GlobalRenderTargets.m_ThumbnailWidth, 128u);
    EXPECT_EQ(g_GlobalRenderTargets.m_ThumbnailHeight, 96u);

    GxCore core;
    GxTaskManage manage(&core);
    core.m_TaskManage = &manage;
    manage.SetRenderLists(core.m_RenderManage, &core.m_RenderBank);
    GxTaskBase* root = new GxTaskBase(&manage);
    // The current sequence fills the screen in red from list 0, the system sequence the right
    // top quarter in blue from list 5, so it lies on top; the thumbnail holds the top row first.
    auto* current = new PaintedSequence(root, L"SeqCurrent", {0, 0, 1024, 768}, 0xFFFF0000, 0);
    auto* system = new PaintedSequence(root, L"SeqSystem", {768, 0, 1024, 384}, 0xFF0000FF, 5);
    manage.SetSystemSequence(system);
    manage.ChangeSequence(current, 0, 0);
    manage.ApplyPendingSequence();

    ASSERT_TRUE(core.CaptureScreen());
    EXPECT_EQ(core.m_RenderBank, 0);
    EXPECT_FALSE(g_GlobalRenderTargets.m_Capturing);
    ASSERT_TRUE(MakeThumbnailImage());
    EXPECT_EQ(ThumbnailPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(ThumbnailPixel(95, 95), 0xFFFF0000u);
    EXPECT_EQ(ThumbnailPixel(96, 0), 0xFF0000FFu);
    EXPECT_EQ(ThumbnailPixel(127, 47), 0xFF0000FFu);
    EXPECT_EQ(ThumbnailPixel(127, 48), 0xFFFF0000u);

    // The thumbnail file reads back at 128 x 96.
    ASSERT_TRUE(SaveThumbnailImage(WidePath("thumb003.png")));
    std::ifstream in(Path("thumb003.png"), std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PfImage image;
    std::string error;
    ASSERT_TRUE(PfImageDecoder::Decode((const uint8_t*)png.data(), png.size(), image, error)) << error;
    EXPECT_EQ(image.GetWidth(), 128u);
    EXPECT_EQ(image.GetHeight(), 96u);

    // A rule whose red rises from left to right: at 0.5 each pixel's alpha is its rule red.
    std::vector<uint32_t> rule(1024 * 768);
    for (uint32_t y = 0; y < 768; ++y)
        for (uint32_t x = 0; x < 1024; ++x)
            rule[y * 1024 + x] = 0xFF000000u | (x / 4) << 16;
    ASSERT_TRUE(PfPngWriter::Write(Path("rule.png"), 1024, 768, (const uint8_t*)rule.data()));
    ASSERT_NE(LoadTransitionRuleImage(WidePath("rule.png")), nullptr);
    GxTexture target;
    ASSERT_TRUE(target.CreateTexture(L"", 1024, 768, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(BuildRuleTransitionTexture(&target, 0.5f));
    void* bits = nullptr;
    uint32_t pitch = 0;
    ASSERT_TRUE(target.LockRect(nullptr, &bits, &pitch, nullptr, nullptr, nullptr, true));
    auto at = [&](uint32_t x, uint32_t y) { return *(const uint32_t*)((const uint8_t*)bits + y * pitch + x * 4); };
    EXPECT_EQ(at(0, 10), 0x00FF0000u);
    EXPECT_EQ(at(400, 10), 0x64FF0000u);
    EXPECT_EQ(at(1023, 10), 0xFF0000FFu);
    EXPECT_EQ(at(1023, 700), 0xFFFF0000u);
    target.UnlockRect();

    // A rule smaller than the screen leaves the target as it was.
    std::vector<uint32_t> small(16 * 16, 0xFFFFFFFF);
    ASSERT_TRUE(PfPngWriter::Write(Path("small.png"), 16, 16, (const uint8_t*)small.data()));
    ASSERT_NE(LoadTransitionRuleImage(WidePath("small.png")), nullptr);
    EXPECT_FALSE(BuildRuleTransitionTexture(&target, 1.0f));
    target.Release();
}
