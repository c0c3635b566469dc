#pragma once

#include "graphics/GxGlyphPageCursor.h"

#include <memory>

class GxTextureText;

// One glyph page of a font map: its texture (owned) and the cursor of the next free cell.
class GxGDIFontMapTextureParam
{
public:
    GxGDIFontMapTextureParam();
    virtual ~GxGDIFontMapTextureParam();
    GxGDIFontMapTextureParam(const GxGDIFontMapTextureParam&) = delete;
    GxGDIFontMapTextureParam& operator=(const GxGDIFontMapTextureParam&) = delete;

    std::unique_ptr<GxTextureText> m_pTexture;
    GxGlyphPageCursor m_Cursor;
};
