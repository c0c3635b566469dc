// One outline face at one cell height, rasterised with FreeType and found through fontconfig, giving glyphs
// the way the text textures expect them from a GDI font: a cell height equal to the requested height
// (ascent plus descent), an 8-bit gray bitmap with levels 0..64, its rows padded to a multiple of 4 bytes, and
// the black box's origin relative to the pen on the baseline.
//
// Windows face names of the Japanese system fonts ("ＭＳ ゴシック" and its relatives) are mapped onto the
// Japanese faces installed here (IPAGothic, Noto Sans CJK JP). Faces are cached per face name and height for
// the whole run; main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A glyph as a gray bitmap. Gray holds Pitch x Height bytes, levels 0 (empty) to 64 (full).
struct PfGlyphBitmap
{
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Pitch = 0;
    // Left edge of the black box right of the pen, and its top edge above the baseline.
    int32_t OriginX = 0;
    int32_t OriginY = 0;
    int32_t AdvanceX = 0;
    std::vector<uint8_t> Gray;
};

class PfFontFace
{
public:
    ~PfFontFace();
    PfFontFace(const PfFontFace&) = delete;
    PfFontFace& operator=(const PfFontFace&) = delete;

    // The face for a name at a cell height in pixels, loaded on first use; null when no outline font can be
    // opened at all. The pointer stays valid until ClearCache.
    static PfFontFace* Get(const std::wstring& faceName, int32_t cellHeight);
    static void ClearCache();
    static size_t GetCacheSize();

    int32_t GetCellHeight() const { return m_CellHeight; }
    // Ascent + descent = cell height.
    int32_t GetAscent() const { return m_Ascent; }
    int32_t GetDescent() const { return m_CellHeight - m_Ascent; }
    const std::string& GetFilePath() const { return m_FilePath; }
    const std::string& GetFamilyName() const { return m_FamilyName; }

    // Renders one character. False when the face cannot render it; a character without a glyph in the face
    // renders the face's missing-glyph box like GDI does. Blank characters give an empty bitmap.
    bool RenderGlyph(uint32_t code, PfGlyphBitmap& out) const;

    // The gray level (0..64) a FreeType coverage value (0..255) stands for.
    static uint8_t CoverageToGray(uint8_t coverage) { return (uint8_t)((coverage * 64 + 127) / 255); }

private:
    PfFontFace() = default;
    bool Open(const std::string& path, int32_t index, int32_t cellHeight);

    void* m_Face = nullptr; // FT_Face
    int32_t m_CellHeight = 0;
    int32_t m_Ascent = 0;
    std::string m_FilePath;
    std::string m_FamilyName;
};
