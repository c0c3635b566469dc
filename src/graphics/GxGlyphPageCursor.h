#pragma once

#include <cstdint>

// Where the next glyph of a font map goes on its page: rows one font size high, filled left to right from
// the top-left corner. A cell is size x units / 2 pixels wide (units 1 for a half-width, 2 for a full-width
// character).
struct GxGlyphPageCursor
{
    uint32_t m_X = 0;
    uint32_t m_Y = 0;

    // A page is full when one more row would reach its bottom edge.
    bool IsFull(uint32_t size, uint32_t pageHeight) const { return m_Y + size >= pageHeight; }

    static uint32_t CellWidth(uint32_t size, uint32_t units) { return size * units / 2; }

    // Takes the cell at the cursor and moves on; the row ends once the next cell would touch the right edge.
    void Advance(uint32_t width, uint32_t size, uint32_t pageWidth)
    {
        m_X += width;
        if (m_X + size >= pageWidth)
        {
            m_X = 0;
            m_Y += size;
        }
    }
};
