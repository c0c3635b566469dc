#include "graphics/GxFontGlyphTable.h"

#include "core/GxLog.h"

#include <cstring>

namespace
{

uint16_t ReadU16(const uint8_t* p)
{
    return (uint16_t)(p[0] | (p[1] << 8));
}

} // namespace

void GxFontGlyphTable::Clear()
{
    std::memset(m_Header, 0, sizeof(m_Header));
    m_Entries.clear();
}

uint32_t GxFontGlyphTable::Field(size_t offset) const
{
    const uint8_t* p = m_Header + offset;
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void GxFontGlyphTable::SetField(size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_Header[offset + i] = (uint8_t)(value >> (8 * i));
}

std::wstring GxFontGlyphTable::GetName() const
{
    std::wstring name;
    for (size_t i = 0; i < NAME_UNITS; ++i)
    {
        const uint16_t unit = ReadU16(m_Header + 64 + 2 * i);
        if (unit == 0)
            break;
        name += (wchar_t)unit;
    }
    return name;
}

bool GxFontGlyphTable::Build(const std::wstring& name, uint32_t first, uint32_t last, uint32_t cellWidth,
                             uint32_t cellHeight, uint32_t columns, uint32_t imageWidth, uint32_t imageHeight)
{
    Clear();
    if (last < first || columns == 0)
    {
        GxLog::Error(L"Error/GxFontData Create Failed(Name:\"%s\" Range:%u-%u Columns:%u)\n", name.c_str(), first,
                     last, columns);
        return false;
    }
    SetField(16, first);
    SetField(20, last);
    SetField(40, cellWidth);
    SetField(44, cellHeight);
    SetField(52, imageWidth);
    SetField(56, imageHeight);
    for (size_t i = 0; i < name.size() && i < NAME_UNITS - 1; ++i)
    {
        m_Header[64 + 2 * i] = (uint8_t)(name[i] & 0xFF);
        m_Header[64 + 2 * i + 1] = (uint8_t)((name[i] >> 8) & 0xFF);
    }
    m_Entries.resize((size_t)(last - first) + 1);
    for (size_t i = 0; i < m_Entries.size(); ++i)
    {
        m_Entries[i].x = (uint16_t)((i % columns) * cellWidth);
        m_Entries[i].y = (uint16_t)((i / columns) * cellHeight);
        m_Entries[i].width = (uint16_t)cellWidth;
    }
    return true;
}

bool GxFontGlyphTable::Read(const uint8_t* bytes, size_t size, const std::wstring& fileName)
{
    Clear();
    if (!bytes || size < HEADER_SIZE)
    {
        GxLog::Error(L"Error/GxFontData CreateFromFile Failed(Name:\"%s\" Size:%u)\n", fileName.c_str(),
                     (unsigned)size);
        return false;
    }
    std::memcpy(m_Header, bytes, HEADER_SIZE);
    const uint32_t first = GetFirstCode();
    const uint32_t last = GetLastCode();
    const uint64_t count = (uint64_t)last - first + 1;
    if (last < first || count > (size - HEADER_SIZE) / ENTRY_SIZE)
    {
        GxLog::Error(L"Error/GxFontData CreateFromFile Failed(Name:\"%s\" Size:%u Range:%u-%u)\n", fileName.c_str(),
                     (unsigned)size, first, last);
        Clear();
        return false;
    }
    m_Entries.resize((size_t)count);
    for (size_t i = 0; i < m_Entries.size(); ++i)
    {
        const uint8_t* p = bytes + HEADER_SIZE + i * ENTRY_SIZE;
        m_Entries[i] = {ReadU16(p), ReadU16(p + 2), ReadU16(p + 4), ReadU16(p + 6)};
    }
    return true;
}

bool GxFontGlyphTable::IsInRange(uint32_t code) const
{
    code &= 0xFFFF;
    return !m_Entries.empty() && code >= GetFirstCode() && code <= GetLastCode();
}

const GxFontGlyphTable::Entry* GxFontGlyphTable::GetEntry(uint32_t code) const
{
    if (!IsInRange(code))
        return nullptr;
    return &m_Entries[(code & 0xFFFF) - GetFirstCode()];
}

uint32_t GxFontGlyphTable::GetCharWidth(uint32_t code) const
{
    const Entry* e = GetEntry(code);
    return e ? e->width : GetCellWidth();
}

uint32_t GxFontGlyphTable::GetStringWidth(const wchar_t* text) const
{
    uint32_t width = 0;
    for (; text && *text; ++text)
        width += GetCharWidth((uint32_t)*text);
    return width;
}

bool GxFontGlyphTable::GetGlyphUV(float uv[4], uint32_t code, uint32_t textureWidth, uint32_t textureHeight) const
{
    const Entry* e = GetEntry(code);
    if (!e || textureWidth == 0 || textureHeight == 0)
    {
        uv[0] = uv[1] = uv[2] = uv[3] = 0.0f;
        return false;
    }
    const float w = (float)textureWidth;
    const float h = (float)textureHeight;
    uv[0] = e->x / w;
    uv[1] = e->y / h;
    uv[2] = (float)(e->x + e->width) / w;
    uv[3] = (float)(e->y + GetCellHeight()) / h;
    return true;
}
