// The table half of a bitmap font: the 96-byte header of the font description file and one 8-byte glyph
// entry per code, either built for a grid of equal cells or read from a description file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class GxFontGlyphTable
{
public:
    static constexpr size_t HEADER_SIZE = 96;
    static constexpr size_t ENTRY_SIZE = 8;
    static constexpr size_t NAME_UNITS = 16;

    struct Entry
    {
        uint16_t x = 0;
        uint16_t y = 0;
        uint16_t width = 0;
        uint16_t reserved = 0;
    };

    // Empty: range 0 to 0, no entries, header zero.
    void Clear();
    // Cells of cellWidth x cellHeight, columns to a row from the image's top-left corner. Refuses (false,
    // table left empty) a last code below the first or zero columns.
    bool Build(const std::wstring& name, uint32_t first, uint32_t last, uint32_t cellWidth, uint32_t cellHeight,
               uint32_t columns, uint32_t imageWidth, uint32_t imageHeight);
    // A font description file: the header, then the entries. Refuses (false, table left empty) a file
    // shorter than its header says, or a last code below the first, with a log line naming the file.
    bool Read(const uint8_t* bytes, size_t size, const std::wstring& fileName);

    bool IsEmpty() const { return m_Entries.empty(); }
    bool IsInRange(uint32_t code) const;
    // The entry's width in range, otherwise the cell width.
    uint32_t GetCharWidth(uint32_t code) const;
    // Sum of the character widths up to the first NUL.
    uint32_t GetStringWidth(const wchar_t* text) const;
    // Texture coordinates of the glyph in a texture of width x height texels; false and all 0 out of range.
    bool GetGlyphUV(float uv[4], uint32_t code, uint32_t textureWidth, uint32_t textureHeight) const;
    const Entry* GetEntry(uint32_t code) const;

    uint32_t GetFirstCode() const { return Field(16); }
    uint32_t GetLastCode() const { return Field(20); }
    uint32_t GetCellWidth() const { return Field(40); }
    uint32_t GetCellHeight() const { return Field(44); }
    uint32_t GetImageWidth() const { return Field(52); }
    uint32_t GetImageHeight() const { return Field(56); }
    std::wstring GetName() const;

private:
    uint32_t Field(size_t offset) const;
    void SetField(size_t offset, uint32_t value);

    uint8_t m_Header[HEADER_SIZE] = {};
    std::vector<Entry> m_Entries;
};
