// Bitmap fonts with their pictures: the system font's glyph coordinates, a missing picture, description
// files good and damaged, and bitmap text drawn as one sprite of glyph quads.
#include "GraphicsTestSupport.h"
#include "ImageTestSupport.h"

#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxDrawRecorder.h"
#include "graphics/GxFontData.h"

namespace
{

class GxFontDataTest : public KvGraphicsFixture
{
protected:
    std::wstring WriteImage(const char* name, uint32_t w, uint32_t h)
    {
        const std::vector<uint32_t> pixels((size_t)w * h, 0xFFFFFFFF);
        EXPECT_TRUE(PfPngWriter::Write(Path(name), w, h, (const uint8_t*)pixels.data()));
        return WidePath(name);
    }
    static std::string Bytes(uint32_t first, uint32_t last, size_t entries)
    {
        const std::vector<uint8_t> b = kvimg::FontDescription(first, last, entries);
        return std::string(b.begin(), b.end());
    }
};

} // namespace

TEST_F(GxFontDataTest, SystemFontGlyphCoordinatesComeFromItsGrid)
{
    // 16 columns of 8 x 16 cells for codes 32..126: a picture of 128 x 96.
    GxFontData font;
    ASSERT_TRUE(font.Create(L"FONT16SYS", WriteImage("FONT16SYS.png", 128, 96), 32, 126, 8, 16, 16));
    ASSERT_NE(font.GetD3DTexture(), nullptr);
    const uint32_t w = font.GetTexture()->GetWidth(), h = font.GetTexture()->GetHeight();
    float uv[4];
    ASSERT_TRUE(font.GetGlyphUV(uv, 126));
    // The grid arithmetic is the glyph table's; here the texture's own size divides.
    KvExpectEq<float>({{uv[0], 112.0f / w}, {uv[3], 96.0f / h}});
    EXPECT_EQ(font.GetStringWidth(L"Hello"), 40u);
    EXPECT_EQ(font.GetTable().GetName(), L"FONT16SYS");
}

TEST_F(GxFontDataTest, MissingPictureStillMeasuresButHasNoCoordinates)
{
    GxFontData font;
    EXPECT_TRUE(font.Create(L"FONT16NUM", WidePath("none.png"), 32, 57, 12, 16, 8));
    EXPECT_EQ(font.GetD3DTexture(), nullptr);
    EXPECT_EQ(font.GetStringWidth(L"123"), 36u);
    float uv[4];
    EXPECT_FALSE(font.GetGlyphUV(uv, '1'));
    // Zero columns are refused instead of dividing by them.
    EXPECT_FALSE(font.Create(L"BAD", WriteImage("bad.png", 8, 8), 32, 57, 12, 16, 0));
    EXPECT_FALSE(font.IsInRange(40));
}

TEST_F(GxFontDataTest, DescriptionFilesAreCheckedBeforeUse)
{
    const std::wstring image = WriteImage("font.png", 64, 64);
    GxFontData font;
    ASSERT_TRUE(font.CreateFromFile(Write("good.fnt", Bytes(65, 68, 4)), image));
    KvExpectEq<uint32_t>({{font.GetCharWidth('C'), 5}, {font.GetCellHeight(), 20}});
    EXPECT_FALSE(font.CreateFromFile(Write("short.fnt", Bytes(65, 68, 3)), image));
    EXPECT_FALSE(font.IsInRange(65));
    EXPECT_FALSE(font.CreateFromFile(Write("reversed.fnt", Bytes(68, 65, 4)), image));
    EXPECT_FALSE(font.CreateFromFile(WidePath("none.fnt"), image));
    EXPECT_FALSE(font.CreateFromFile(Write("ok.fnt", Bytes(65, 68, 4)), WidePath("none.png")));
    for (const wchar_t* name : {L"short.fnt", L"reversed.fnt", L"none.fnt"})
        EXPECT_TRUE(Logged(name)) << GxString::ToUtf8(name);
}

TEST_F(GxFontDataTest, BitmapTextIsOneGlyphQuadPerCharacterAcrossTheString)
{
    GxFontData font;
    ASSERT_TRUE(font.Create(L"FONT16SYS", WriteImage("sys.png", 128, 96), 32, 126, 8, 16, 16));
    GxDrawRecorder recorder;
    GxGraphics::SetDrawRecorder(&recorder);
    // Centred on (500, 300): the 24 x 16 string spreads from 488 to 512.
    GxGraphics::DrawFontText(L"A~z", &font, 500, 300, GxVector2(1, 1), GxVector3(0, 0, 0), GxVector2(0.5f, 0.5f),
                             0xFFFFFFFF, 0, 2);
    GxGraphics::DrawFontText(L"", &font, 500, 300, GxVector2(1, 1), GxVector3(0, 0, 0), GxVector2(0, 0), 0xFFFFFFFF, 0,
                             2);
    GxGraphics::SetDrawRecorder(nullptr);
    ASSERT_EQ(recorder.m_Primitives.size(), 3u);
    const auto& tilde = recorder.m_Primitives[1].m_Vertices;
    KvExpectEq<float>({{tilde[0].x, 496 - 0.5f},
                       {tilde[0].y, 292 - 0.5f},
                       {tilde[2].x, 504 - 0.5f},
                       {tilde[0].u, 112.0f / 128},
                       {tilde[1].v, 96.0f / 128}});
    EXPECT_EQ(recorder.m_Primitives[1].m_pTexture, font.GetD3DTexture());
}
