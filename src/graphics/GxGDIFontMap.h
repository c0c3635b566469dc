// The characters of one face at one pixel size, rasterised on first request into shared glyph pages
// (512 x 512 A4R4G4B4 text textures, filled row by row from the top-left) and remembered from then on.
// Text drawers ask the map for each character's glyph record and draw that rectangle of its page.
#pragma once

#include "graphics/GxGDIFontGlyph.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>

class GxGDIFontMapTextureParam;
class GxTexture;

class GxGDIFontMap
{
public:
    static constexpr uint32_t PAGE_SIZE = 512;

    GxGDIFontMap();
    virtual ~GxGDIFontMap();
    GxGDIFontMap(const GxGDIFontMap&) = delete;
    GxGDIFontMap& operator=(const GxGDIFontMap&) = delete;

    // Clears the map, then sets the size and the face (null: "ＭＳ ゴシック").
    void SetFont(int32_t size, const wchar_t* face);
    // Codes below 32 and 127..159 give the empty glyph; private-use codes come from the icon image.
    GxGDIFontGlyph GetGlyph(uint32_t code);
    // Forgets every glyph and page and the icon image; size and face stay.
    void Clear();

    int32_t GetSize() const { return m_Size; }
    const std::wstring& GetFace() const { return m_Face; }
    size_t GetPageCount() const { return m_Pages.size(); }
    size_t GetGlyphCount() const { return m_Glyphs.size(); }

private:
    GxGDIFontGlyph AddGlyph(uint32_t code);
    GxGDIFontGlyph PlaceGlyph(uint32_t code, GxGDIFontMapTextureParam& page);

    std::map<uint16_t, GxGDIFontGlyph> m_Glyphs;
    std::list<std::unique_ptr<GxGDIFontMapTextureParam>> m_Pages;
    GxGDIFontMapTextureParam* m_pCurrentPage = nullptr;
    int32_t m_Size = 16;
    std::wstring m_Face;
    // An icon image with its column count, cut into size x size cells for the private-use codes. The
    // game attaches none (icons beside text are drawn with the bitmap icon fonts), so those codes give the
    // empty glyph; GetGlyph still cuts from an image should a map be given one.
    std::unique_ptr<GxTexture> m_pIconImage;
    uint32_t m_IconColumns = 0;
};

// The six font maps of the game, one per configured font size.
extern GxGDIFontMap g_GDIFontMaps[6];
