// One picture of any size held as a grid of 128 x 128 textures, so a background whose size is not a power
// of two is neither scaled nor padded. Created empty at a size or from an image file; tile (c, r) is at
// index r x tiles across + c. Every tile starts transparent black, so the part of an edge tile beyond the
// picture draws as nothing.
#pragma once

#include "graphics/GxD3DResourceBase.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>

class PfGLTexture;
class PfImage;

class GxTextureFlex : public GxD3DResourceBase
{
public:
    static constexpr uint32_t kTileSize = 128;

    GxTextureFlex() = default;
    ~GxTextureFlex() override;

    uint32_t Release() override;
    uint32_t GetMemorySize() const override;

    // The tile array (no ownership passed), null when empty.
    virtual PfGLTexture* const* GetTileTextures() const { return m_pTiles; }
    virtual D3DFORMAT GetFormat() const { return m_Format; }
    virtual D3DPOOL GetPool() const { return m_Pool; }
    virtual uint32_t GetWidth() const { return m_Width; }
    virtual uint32_t GetHeight() const { return m_Height; }
    virtual uint32_t GetImageWidth() const { return m_ImageWidth; }
    virtual uint32_t GetImageHeight() const { return m_ImageHeight; }
    virtual uint32_t GetTileCountX() const { return m_TilesX; }
    virtual uint32_t GetTileCountY() const { return m_TilesY; }
    virtual uint32_t GetTileWidth() const { return m_TileWidth; }
    virtual uint32_t GetTileHeight() const { return m_TileHeight; }
    virtual bool IsLocked() const { return false; }
    virtual bool CreateTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format);
    bool CreateTextureA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format);
    virtual bool CreateFromFile(const std::wstring& fileName, D3DFORMAT format, uint32_t colourKey);
    bool CreateFromFileA(const char* fileName, D3DFORMAT format, uint32_t colourKey);
    // Copies a picture at least as large as this one into the tiles, unscaled.
    virtual bool SetFromSurface(const PfImage& source);

private:
    void FreeTiles();
    void ResetFields();

    PfGLTexture** m_pTiles = nullptr;
    D3DFORMAT m_Format = D3DFMT_UNKNOWN;
    D3DPOOL m_Pool = D3DPOOL_SCRATCH;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_ImageWidth = 0;
    uint32_t m_ImageHeight = 0;
    uint32_t m_TilesX = 0;
    uint32_t m_TilesY = 0;
    uint32_t m_TileWidth = 0;
    uint32_t m_TileHeight = 0;
    uint32_t m_MipLevels = 0;
    uint32_t m_ColourKey = 0;
};
