// The FreeType rasteriser in GDI's terms: the Japanese system face resolves to an installed Japanese face,
// the cell height is split into ascent and descent, gray levels stop at 64 and faces are cached.
#include "platform/PfFontFace.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PfFontFace, SystemFaceMapsToAnInstalledJapaneseFace)
{
    PfFontFace* face = PfFontFace::Get(L"ＭＳ ゴシック", 16);
    ASSERT_NE(face, nullptr);
    const std::string& family = face->GetFamilyName();
    EXPECT_TRUE(family == "IPAGothic" || family.rfind("Noto Sans", 0) == 0) << family;
    PfGlyphBitmap glyph;
    ASSERT_TRUE(face->RenderGlyph(0x3042, glyph)); // a hiragana letter must really be in the face
    EXPECT_GT(glyph.Width, 8);
    EXPECT_GT(glyph.Height, 8);
}

TEST(PfFontFace, CellHeightIsAscentPlusDescent)
{
    for (int32_t size : {12, 16, 20, 24, 64})
    {
        PfFontFace* face = PfFontFace::Get(L"ＭＳ ゴシック", size);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->GetCellHeight(), size);
        EXPECT_EQ(face->GetAscent() + face->GetDescent(), size);
        EXPECT_GT(face->GetAscent(), size / 2);
        // A full-width glyph's black box stays inside the cell.
        PfGlyphBitmap glyph;
        ASSERT_TRUE(face->RenderGlyph(0x6F22, glyph));
        EXPECT_LE(glyph.OriginY, face->GetAscent()) << size;
        EXPECT_GE(face->GetAscent() - glyph.OriginY + glyph.Height, 0);
        EXPECT_LE(face->GetAscent() - glyph.OriginY + glyph.Height, size) << size;
        EXPECT_LE(glyph.AdvanceX, size);
    }
}

TEST(PfFontFace, GrayLevelsFollowGdiRange)
{
    EXPECT_EQ(PfFontFace::CoverageToGray(0), 0);
    EXPECT_EQ(PfFontFace::CoverageToGray(255), 64);
    EXPECT_EQ(PfFontFace::CoverageToGray(128), 32);
    PfFontFace* face = PfFontFace::Get(L"ＭＳ ゴシック", 24);
    ASSERT_NE(face, nullptr);
    PfGlyphBitmap glyph;
    ASSERT_TRUE(face->RenderGlyph(L'W', glyph));
    EXPECT_EQ(glyph.Pitch % 4, 0);
    EXPECT_GE(glyph.Pitch, glyph.Width);
    ASSERT_EQ(glyph.Gray.size(), (size_t)glyph.Pitch * glyph.Height);
    EXPECT_EQ(*std::max_element(glyph.Gray.begin(), glyph.Gray.end()), 64);
}

TEST(PfFontFace, SpacesRenderEmpty)
{
    PfFontFace* face = PfFontFace::Get(L"ＭＳ ゴシック", 16);
    ASSERT_NE(face, nullptr);
    PfGlyphBitmap glyph;
    ASSERT_TRUE(face->RenderGlyph(L' ', glyph));
    EXPECT_EQ(glyph.Width * glyph.Height, 0);
    EXPECT_TRUE(glyph.Gray.empty());
    ASSERT_TRUE(face->RenderGlyph(0x3000, glyph));
    EXPECT_TRUE(glyph.Gray.empty());
}

TEST(PfFontFace, FacesAreCachedPerNameAndSize)
{
    PfFontFace::ClearCache();
    PfFontFace* a = PfFontFace::Get(L"ＭＳ ゴシック", 16);
    PfFontFace* b = PfFontFace::Get(L"ＭＳ ゴシック", 16);
    PfFontFace* c = PfFontFace::Get(L"ＭＳ ゴシック", 20);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(PfFontFace::GetCacheSize(), 2u);
    EXPECT_EQ(PfFontFace::Get(L"ＭＳ ゴシック", 0), nullptr);
    // An unknown face still gives a usable Japanese face.
    PfFontFace* unknown = PfFontFace::Get(L"No Such Face At All", 16);
    ASSERT_NE(unknown, nullptr);
    PfGlyphBitmap glyph;
    EXPECT_TRUE(unknown->RenderGlyph(0x3042, glyph));
    PfFontFace::ClearCache();
    EXPECT_EQ(PfFontFace::GetCacheSize(), 0u);
}
