// A bitmap font: one picture holding the glyphs of a contiguous range of codes, and a table of where each
// glyph lies in it and how wide it is. Serves the small fixed fonts of the interface (numbers, counters,
// system text).
#pragma once

#include "graphics/GxFontGlyphTable.h"
#include "graphics/GxTexture.h"

#include <cstdint>
#include <string>

class PfGLTexture;

class GxFontData
{
public:
    GxFontData() = default;
    virtual ~GxFontData();
    GxFontData(const GxFontData&) = delete;
    GxFontData& operator=(const GxFontData&) = delete;

    // Header cleared, table freed, picture released.
    virtual void Release();
    // Cells of cellWidth x cellHeight, columns to a row. The font is built even when the picture fails to
    // load (it then draws nothing visible); refused with a log line for a last code below the first or
    // zero columns.
    virtual bool Create(const std::wstring& name, const std::wstring& imageFile, uint32_t first, uint32_t last,
                        uint32_t cellWidth, uint32_t cellHeight, uint32_t columns);
    virtual bool CreateA(const char* name, const char* imageFile, uint32_t first, uint32_t last, uint32_t cellWidth,
                         uint32_t cellHeight, uint32_t columns);
    // The same from a picture file already in memory (the program's own embedded resources); the last
    // value is handed on to the texture, which does not read it.
    virtual bool CreateFromResource(const std::wstring& name, const void* data, uint32_t size, uint32_t first,
                                    uint32_t last, uint32_t cellWidth, uint32_t cellHeight, uint32_t columns,
                                    uint32_t textureValue);
    virtual bool CreateFromResourceA(const char* name, const void* data, uint32_t size, uint32_t first, uint32_t last,
                                     uint32_t cellWidth, uint32_t cellHeight, uint32_t columns, uint32_t textureValue);
    // A font description file and its picture; false with a log line when either cannot be read or the
    // description is damaged.
    virtual bool CreateFromFile(const std::wstring& fontFile, const std::wstring& imageFile);
    virtual bool CreateFromFileA(const char* fontFile, const char* imageFile);
    virtual GxTexture* GetTexture() { return &m_Texture; }
    virtual PfGLTexture* GetD3DTexture() const { return m_Texture.GetD3DTexture(); }

    bool IsInRange(uint32_t code) const { return m_Table.IsInRange(code); }
    // Texture coordinates left, top, right, bottom; false and all 0 out of range.
    bool GetGlyphUV(float uv[4], uint32_t code) const;
    uint32_t GetCharWidth(uint32_t code) const { return m_Table.GetCharWidth(code); }
    uint32_t GetStringWidth(const wchar_t* text) const { return m_Table.GetStringWidth(text); }
    uint32_t GetCellWidth() const { return m_Table.GetCellWidth(); }
    uint32_t GetCellHeight() const { return m_Table.GetCellHeight(); }
    const GxFontGlyphTable& GetTable() const { return m_Table; }

private:
    GxFontGlyphTable m_Table;
    GxTexture m_Texture;
};

// The eight bitmap fonts of the game, by font number.
extern GxFontData g_FontDataTable[8];
