#pragma once

#include <cstdint>

class GxTexture;

// Where a font map keeps one character: the page texture (not owned; null for an empty glyph), the cell in
// pixels, its width in half-width units and its texture coordinates.
struct GxGDIFontGlyph
{
    GxTexture* m_pTexture = nullptr;
    uint32_t m_X = 0;
    uint32_t m_Y = 0;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_Units = 0;
    float m_Left = 0.0f;
    float m_Top = 0.0f;
    float m_Right = 0.0f;
    float m_Bottom = 0.0f;
};
