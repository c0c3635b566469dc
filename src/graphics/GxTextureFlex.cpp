#include "graphics/GxTextureFlex.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxImage.h"
#include "graphics/GxPixelFormat.h"
#include "platform/PfGLTexture.h"
#include "platform/PfImage.h"

#include <cstring>

GxTextureFlex::~GxTextureFlex()
{
    ReleaseAll();
    FreeTiles();
}

void GxTextureFlex::FreeTiles()
{
    if (m_pTiles)
    {
        for (uint32_t i = 0; i < m_TilesX * m_TilesY; ++i)
            delete m_pTiles[i];
        delete[] m_pTiles;
    }
    m_pTiles = nullptr;
}

void GxTextureFlex::ResetFields()
{
    FreeTiles();
    m_Format = D3DFMT_UNKNOWN;
    m_Pool = D3DPOOL_SCRATCH;
    m_Width = m_Height = m_ImageWidth = m_ImageHeight = 0;
    m_TilesX = m_TilesY = m_TileWidth = m_TileHeight = 0;
    m_MipLevels = 0;
    m_ColourKey = 0;
    m_ObjectType = OBJTYPE_NONE;
    m_Name.clear();
}

uint32_t GxTextureFlex::Release()
{
    return ReleaseRegistered([this] { ResetFields(); });
}

uint32_t GxTextureFlex::GetMemorySize() const
{
    const uint32_t tiles = m_TilesX * m_TilesY * kTileSize * kTileSize;
    if (GxPixelFormat::Is32Bit(m_Format))
        return tiles * 4;
    if (GxPixelFormat::Is4444(m_Format))
        return tiles * 2;
    return 0;
}

bool GxTextureFlex::CreateTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    ReleaseAll();
    ResetFields();
    m_Format = format == D3DFMT_UNKNOWN ? GxGraphics::GetTextureFormat() : format;
    m_Pool = D3DPOOL_MANAGED;
    m_MipLevels = 1;
    m_ObjectType = OBJTYPE_FLEXTEXTURE;
    SetName(name);
    if (!GxGraphics::GetDevice())
        return false;
    m_Width = m_ImageWidth = width;
    m_Height = m_ImageHeight = height;
    m_TilesX = (width + kTileSize - 1) / kTileSize;
    m_TilesY = (height + kTileSize - 1) / kTileSize;
    m_TileWidth = m_TileHeight = kTileSize;
    const uint32_t count = m_TilesX * m_TilesY;
    m_pTiles = new PfGLTexture*[count]();
    for (uint32_t i = 0; i < count; ++i)
    {
        // A new platform texture starts zeroed: the tiles are transparent black until a picture is set.
        PfGLTexture* tile = new PfGLTexture();
        const PfResult hr = tile->Create(kTileSize, kTileSize, 1, 0, m_Format);
        if (PfFailed(hr))
        {
            delete tile;
            GxLog::Error(L"Error/FlexTexture CreateTexture Failed(Name:\"%s\" Size:%d,%d %s)\n", name.c_str(), width,
                         height, GxGraphics::GetErrorText(hr).c_str());
            // The tiles made so far are released at once rather than kept unused.
            ResetFields();
            return false;
        }
        m_pTiles[i] = tile;
    }
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

bool GxTextureFlex::CreateFromFile(const std::wstring& fileName, D3DFORMAT format, uint32_t colourKey)
{
    ReleaseAll();
    ResetFields();
    const D3DFORMAT chosen = format == D3DFMT_UNKNOWN ? GxGraphics::GetTextureFormat() : format;
    PfImage image;
    if (!GxImage::CreateScratchSurfaceFromFile(fileName, image, chosen, nullptr, colourKey))
        return false;
    if (!CreateTexture(fileName, image.GetWidth(), image.GetHeight(), format))
        return false;
    m_ColourKey = colourKey;
    if (!SetFromSurface(image))
    {
        ReleaseAll();
        return false;
    }
    SetName(fileName);
    return true;
}

bool GxTextureFlex::SetFromSurface(const PfImage& source)
{
    const uint32_t W = source.GetWidth(), H = source.GetHeight();
    const uint32_t bytes = GxPixelFormat::GetBytes(m_Format);
    if (!m_pTiles && m_TilesX * m_TilesY != 0)
        return false;
    for (uint32_t r = 0; r < m_TilesY; ++r)
        for (uint32_t c = 0; c < m_TilesX; ++c)
        {
            PfGLTexture* tile = m_pTiles[r * m_TilesX + c];
            if (!tile || bytes == 0 || c * kTileSize >= W || r * kTileSize >= H)
                return false;
            const uint32_t w = c * kTileSize + kTileSize > W ? W - c * kTileSize : kTileSize;
            const uint32_t h = r * kTileSize + kTileSize > H ? H - r * kTileSize : kTileSize;
            // Filled once and uploaded, as a loaded picture is: the tile then gives its processor-side copy
            // up, OpenGL holding the pixels.
            const uint32_t pitch = tile->GetPitch();
            uint8_t* to = tile->GetData();
            if (!to)
                return false;
            for (uint32_t y = 0; y < h; ++y)
                GxPixelFormat::FromArgbRow(to + (size_t)y * pitch, m_Format,
                                           source.GetRow(r * kTileSize + y) + (size_t)c * kTileSize * 4, w);
            if (PfFailed(tile->Upload()))
                return false;
        }
    return true;
}

bool GxTextureFlex::CreateTextureA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return CreateTexture(GxString::ToWide(name), width, height, format);
}

bool GxTextureFlex::CreateFromFileA(const char* fileName, D3DFORMAT format, uint32_t colourKey)
{
    return CreateFromFile(GxString::ToWide(fileName), format, colourKey);
}
