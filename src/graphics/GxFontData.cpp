#include "graphics/GxFontData.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"

GxFontData g_FontDataTable[8];

namespace
{
// Glyph cells are picture pixels and the texture coordinates divide by the padded power-of-two size, so
// the picture is placed unscaled at the texture's top left; stretched to the padded size its cells would
// no longer sit where the table says and the pixel-drawn glyphs would be smeared.
constexpr bool kStretchPicture = false;
} // namespace

GxFontData::~GxFontData()
{
    Release();
}

void GxFontData::Release()
{
    m_Table.Clear();
    m_Texture.ReleaseAll();
}

bool GxFontData::Create(const std::wstring& name, const std::wstring& imageFile, uint32_t first, uint32_t last,
                        uint32_t cellWidth, uint32_t cellHeight, uint32_t columns)
{
    Release();
    // The picture is not checked: a font whose picture is missing still measures text.
    m_Texture.CreateFromFile(imageFile, D3DFMT_UNKNOWN, 1, 0, kStretchPicture);
    return m_Table.Build(name, first, last, cellWidth, cellHeight, columns, m_Texture.GetWidth(),
                         m_Texture.GetHeight());
}

bool GxFontData::CreateA(const char* name, const char* imageFile, uint32_t first, uint32_t last, uint32_t cellWidth,
                         uint32_t cellHeight, uint32_t columns)
{
    return Create(GxString::ToWide(name ? name : ""), GxString::ToWide(imageFile ? imageFile : ""), first, last,
                  cellWidth, cellHeight, columns);
}

bool GxFontData::CreateFromResource(const std::wstring& name, const void* data, uint32_t size, uint32_t first,
                                    uint32_t last, uint32_t cellWidth, uint32_t cellHeight, uint32_t columns,
                                    uint32_t textureValue)
{
    Release();
    // As with a file, a picture that cannot be decoded leaves a font that still measures text.
    m_Texture.CreateFromResource(name, data, size, D3DFMT_UNKNOWN, 1, textureValue, kStretchPicture);
    return m_Table.Build(name, first, last, cellWidth, cellHeight, columns, m_Texture.GetWidth(),
                         m_Texture.GetHeight());
}

bool GxFontData::CreateFromResourceA(const char* name, const void* data, uint32_t size, uint32_t first, uint32_t last,
                                     uint32_t cellWidth, uint32_t cellHeight, uint32_t columns, uint32_t textureValue)
{
    return CreateFromResource(GxString::ToWide(name ? name : ""), data, size, first, last, cellWidth, cellHeight,
                              columns, textureValue);
}

bool GxFontData::CreateFromFile(const std::wstring& fontFile, const std::wstring& imageFile)
{
    Release();
    GxBinBuffer buffer;
    if (!m_Texture.CreateFromFile(imageFile, D3DFMT_UNKNOWN, 1, 0, kStretchPicture) ||
        !GxFile::LoadToBuffer(buffer, fontFile, true))
    {
        GxLog::Error(L"Error/GxFontData CreateFromFile Failed(Name:\"%s\")\n", fontFile.c_str());
        Release();
        return false;
    }
    if (!m_Table.Read(buffer.GetData(), buffer.GetSize(), fontFile))
    {
        Release();
        return false;
    }
    return true;
}

bool GxFontData::CreateFromFileA(const char* fontFile, const char* imageFile)
{
    return CreateFromFile(GxString::ToWide(fontFile ? fontFile : ""), GxString::ToWide(imageFile ? imageFile : ""));
}

bool GxFontData::GetGlyphUV(float uv[4], uint32_t code) const
{
    return m_Table.GetGlyphUV(uv, code, m_Texture.GetWidth(), m_Texture.GetHeight());
}
