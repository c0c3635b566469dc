#include "graphics/GxGDIFontMap.h"

#include "core/GxString.h"
#include "graphics/GxGDIFontMapTextureParam.h"
#include "graphics/GxTextureText.h"

GxGDIFontMap g_GDIFontMaps[6];

namespace
{

const wchar_t* const DEFAULT_FACE = L"ＭＳ ゴシック";

// A page whose texture could not be created is laid out as if it had been, so it fills up like any
// other instead of opening a page for every glyph.
uint32_t PageWidth(const GxTextureText& t)
{
    return t.GetWidth() ? t.GetWidth() : GxGDIFontMap::PAGE_SIZE;
}

uint32_t PageHeight(const GxTextureText& t)
{
    return t.GetHeight() ? t.GetHeight() : GxGDIFontMap::PAGE_SIZE;
}

} // namespace

GxGDIFontMapTextureParam::GxGDIFontMapTextureParam() : m_pTexture(new GxTextureText())
{
}

GxGDIFontMapTextureParam::~GxGDIFontMapTextureParam() = default;

GxGDIFontMap::GxGDIFontMap() : m_Face(DEFAULT_FACE)
{
}

GxGDIFontMap::~GxGDIFontMap()
{
    Clear();
}

void GxGDIFontMap::SetFont(int32_t size, const wchar_t* face)
{
    Clear();
    m_Size = size;
    m_Face = face ? face : DEFAULT_FACE;
}

void GxGDIFontMap::Clear()
{
    m_Glyphs.clear();
    m_pCurrentPage = nullptr;
    m_Pages.clear();
    m_pIconImage.reset();
    m_IconColumns = 0;
}

GxGDIFontGlyph GxGDIFontMap::GetGlyph(uint32_t code)
{
    code &= 0xFFFF;
    if (code < 32 || (code >= 127 && code <= 159))
        return GxGDIFontGlyph();
    if (code >= 0xE000 && code <= 0xF8FF)
    {
        if (!m_pIconImage || !m_pIconImage->GetD3DTexture() || m_IconColumns == 0 || m_Size <= 0)
            return GxGDIFontGlyph();
        const uint32_t s = (uint32_t)m_Size;
        const uint32_t index = code - 0xE000;
        GxGDIFontGlyph g;
        g.m_pTexture = m_pIconImage.get();
        g.m_X = s * (index % m_IconColumns);
        g.m_Y = s * (index / m_IconColumns);
        g.m_Width = g.m_Height = s;
        g.m_Units = 2;
        const float w = (float)m_pIconImage->GetWidth(), h = (float)m_pIconImage->GetHeight();
        g.m_Left = g.m_X / w;
        g.m_Top = g.m_Y / h;
        g.m_Right = (g.m_X + s) / w;
        g.m_Bottom = (g.m_Y + s) / h;
        return g;
    }
    auto it = m_Glyphs.find((uint16_t)code);
    if (it != m_Glyphs.end())
        return it->second;
    return AddGlyph(code);
}

GxGDIFontGlyph GxGDIFontMap::AddGlyph(uint32_t code)
{
    const uint32_t size = m_Size > 0 ? (uint32_t)m_Size : 0;
    // A page that failed to create still becomes current; its glyphs draw blank.
    if (!m_pCurrentPage || m_pCurrentPage->m_Cursor.IsFull(size, PageHeight(*m_pCurrentPage->m_pTexture)))
    {
        auto page = std::make_unique<GxGDIFontMapTextureParam>();
        page->m_pTexture->CreateTexture(L"GDIFontMap", PAGE_SIZE, PAGE_SIZE, D3DFMT_A4R4G4B4, 1);
        page->m_pTexture->SetFontName(m_Face);
        m_pCurrentPage = page.get();
        m_Pages.push_back(std::move(page));
    }
    GxGDIFontGlyph g = PlaceGlyph(code, *m_pCurrentPage);
    m_Glyphs[(uint16_t)code] = g;
    return g;
}

GxGDIFontGlyph GxGDIFontMap::PlaceGlyph(uint32_t code, GxGDIFontMapTextureParam& page)
{
    const uint32_t s = m_Size > 0 ? (uint32_t)m_Size : 0;
    const uint32_t units = (uint32_t)GxString::GetCharWidthUnits((wchar_t)code);
    GxTextureText* texture = page.m_pTexture.get();
    GxGDIFontGlyph g;
    g.m_pTexture = texture;
    g.m_X = page.m_Cursor.m_X;
    g.m_Y = page.m_Cursor.m_Y;
    g.m_Width = GxGlyphPageCursor::CellWidth(s, units);
    g.m_Height = s;
    g.m_Units = units;
    const float w = (float)PageWidth(*texture), h = (float)PageHeight(*texture);
    g.m_Left = g.m_X / w;
    g.m_Top = g.m_Y / h;
    g.m_Right = (g.m_X + g.m_Width) / w;
    g.m_Bottom = (g.m_Y + s) / h;
    texture->DrawText(std::wstring(1, (wchar_t)code), (int32_t)g.m_X, (int32_t)g.m_Y, (int32_t)s, 0xFFFFFFFF,
                      nullptr, nullptr);
    page.m_Cursor.Advance(g.m_Width, s, PageWidth(*texture));
    return g;
}
