#pragma once

#include <cstdint>
#include <string>

class GxTextureBase;

// One texture slot of a material: the file it comes from, how it is made and the texture the factory
// handed out (null until the material's textures are loaded).
struct GxMaterialTextureParam
{
    std::wstring m_FileName;
    // 1 file texture, 2 plain 256 x 256 texture, 3 256 x 256 render target.
    uint32_t m_TextureType = 1;
    uint32_t m_MipLevel = 0;
    GxTextureBase* m_pTexture = nullptr;
};
