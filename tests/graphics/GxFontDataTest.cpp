// Bitmap fonts with their pictures: the system font's glyph coordinates, a missing picture, description
// files good and damaged, bitmap text drawn as one sprite of glyph quads, the digits of a picture that is
// not a power of two wide drawn cell for cell, and a font made from a picture in memory.
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
    // A FONT16NUM-shaped picture (8 columns of 12 x 16 cells, codes 32..57: 96 x 64) whose every texel
    // tells its cell and its place in the cell, so a glyph sliced from its neighbour cannot pass.
    static std::vector<uint32_t> NumberPicture()
    {
        std::vector<uint32_t> pixels(96 * 64);
        for (uint32_t y = 0; y < 64; ++y)
            for (uint32_t x = 0; x < 96; ++x)
            {
                const uint32_t cell = (y / 16) * 8 + x / 12;
                pixels[y * 96 + x] = 0xFF000000u | (cell * 9) << 16 | ((x % 12) * 20) << 8 | (y % 16) * 15;
            }
        return pixels;
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

TEST_F(GxFontDataTest, DigitsOfAPictureNotAPowerOfTwoWideAreDrawnFromTheirOwnCells)
{
    const std::vector<uint32_t> picture = NumberPicture();
    ASSERT_TRUE(PfPngWriter::Write(Path("FONT16NUM.png"), 96, 64, (const uint8_t*)picture.data()));
    GxFontData font;
    ASSERT_TRUE(font.Create(L"FONT16NUM", WidePath("FONT16NUM.png"), 32, 57, 12, 16, 8));
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0));
    ASSERT_TRUE(GxGraphics::BeginScene());
    GxGraphics::ResetRenderStates();
    GxGraphics::DrawFontText(L"0123456789", &font, 100, 200, GxVector2(1, 1), GxVector3(0, 0, 0), GxVector2(0, 0),
                             0xFFFFFFFF, 0, 2);
    GxGraphics::EndScene();
    const std::vector<uint32_t> screen = Screen(1024, 768);
    for (uint32_t digit = 0; digit < 10; ++digit)
    {
        const uint32_t cell = '0' + digit - 32;
        size_t wrong = 0;
        for (uint32_t y = 0; y < 16; ++y)
            for (uint32_t x = 0; x < 12; ++x)
            {
                const uint32_t drawn = screen[(size_t)(200 + y) * 1024 + 100 + digit * 12 + x];
                const uint32_t cellTexel = picture[((cell / 8) * 16 + y) * 96 + (cell % 8) * 12 + x];
                wrong += ChannelDistance(drawn, cellTexel) > 2;
            }
        EXPECT_EQ(wrong, 0u) << "digit " << digit;
    }
}

TEST_F(GxFontDataTest, FontFromAPictureInMemoryHasTheGlyphTableOfTheFileFont)
{
    const std::vector<uint32_t> picture = NumberPicture();
    ASSERT_TRUE(PfPngWriter::Write(Path("num.png"), 96, 64, (const uint8_t*)picture.data()));
    std::ifstream in(Path("num.png"), std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    GxFontData fromFile, fromMemory, narrow;
    ASSERT_TRUE(fromFile.Create(L"FONT16NUM", WidePath("num.png"), 32, 57, 12, 16, 8));
    ASSERT_TRUE(fromMemory.CreateFromResource(L"FONT16NUM", png.data(), (uint32_t)png.size(), 32, 57, 12, 16, 8, 0));
    ASSERT_TRUE(narrow.CreateFromResourceA("FONT16NUM", png.data(), (uint32_t)png.size(), 32, 57, 12, 16, 8, 0));
    for (GxFontData* font : {&fromMemory, &narrow})
    {
        ASSERT_NE(font->GetD3DTexture(), nullptr);
        EXPECT_EQ(font->GetTable().GetName(), L"FONT16NUM");
        KvExpectEq<uint32_t>({{font->GetTexture()->GetWidth(), fromFile.GetTexture()->GetWidth()},
                              {font->GetTexture()->GetImageWidth(), 96},
                              {font->GetCellHeight(), 16}});
        for (uint32_t code = 31; code <= 58; ++code)
        {
            float a[4], b[4];
            EXPECT_EQ(font->GetGlyphUV(a, code), fromFile.GetGlyphUV(b, code)) << code;
            KvExpectEq<float>({{a[0], b[0]}, {a[1], b[1]}, {a[2], b[2]}, {a[3], b[3]}});
            EXPECT_EQ(font->GetCharWidth(code), fromFile.GetCharWidth(code));
        }
        // The embedded picture holds the same texels.
        EXPECT_EQ(font->GetTexture()->GetPixel(50, 20), fromFile.GetTexture()->GetPixel(50, 20));
    }
    // No bytes: the font still measures, as with a missing picture file.
    GxFontData empty;
    EXPECT_TRUE(empty.CreateFromResource(L"NONE", nullptr, 0, 32, 57, 12, 16, 8, 0));
    EXPECT_EQ(empty.GetD3DTexture(), nullptr);
    EXPECT_EQ(empty.GetStringWidth(L"12"), 24u);
}
