#pragma once

#include <cstdint>

class GxTexture;

// An image font: glyphs are equal cells of an ordinary texture, byte codes first..last laid out in rows of
// columns cells from the origin.
struct GxImageFontParam
{
    GxTexture* m_pTexture = nullptr;
    float m_OriginX = 0.0f;
    float m_OriginY = 0.0f;
    uint32_t m_Reserved[2] = {};
    uint8_t m_FirstCode = 0;
    uint8_t m_LastCode = 0;
    uint32_t m_CellHeight = 0;
    uint32_t m_Columns = 0;
    uint32_t m_Flags = 0;
    uint32_t m_CellWidth = 0;

    // Column and row of a byte code; (0, 0) outside the range or without columns.
    void GetCellPos(uint32_t code, uint32_t& column, uint32_t& row) const
    {
        code &= 0xFF;
        column = row = 0;
        if (code < m_FirstCode || code > m_LastCode || m_Columns == 0)
            return;
        column = (code - m_FirstCode) % m_Columns;
        row = (code - m_FirstCode) / m_Columns;
    }
    uint32_t GetCharWidth(uint32_t /*code*/) const { return m_Flags == 0 ? m_CellWidth : 0; }
};
