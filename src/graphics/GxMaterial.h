#pragma once

#include "core/GxFColor.h"
#include "graphics/GxMaterialTextureParam.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>

class GxShaderEffect;
class PfGLTexture;

// The lighting colours, alpha, blend preset, textures and draw group of a mesh subset. A value record:
// a copy shares the texture and shader pointers without references; the references belong to the record
// kept in a material set (or to the default material).
class GxMaterial
{
public:
    static constexpr uint32_t MAX_TEXTURES = 8;

    // Loads the first texture-count textures from the folder through the texture factory: the name is the
    // folder followed directly by the file name. mip -1 keeps each slot's own level. True when every slot
    // got its texture.
    bool LoadTextures(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7);
    void ReleaseTextures();
    void ReleaseShader();
    // The fixed-function material: every colour's alpha scaled by m_Alpha and by alpha.
    D3DMATERIAL9 ToD3DMaterial(float alpha) const;
    // The device texture of slot `index`, or null.
    PfGLTexture* GetD3DTexture(uint32_t index) const;
    // 1 for a name beginning with '@', 2 for '!', otherwise 0.
    static uint32_t DrawGroupOf(const std::wstring& name);
    // The material of subsets without a valid one, held by the graphics layer for the whole run.
    static GxMaterial& GetDefault();

    std::wstring m_MaterialName;
    uint32_t m_TextureCount = 0;
    uint32_t m_UVLayerCount = 0;
    GxMaterialTextureParam m_TextureParam[MAX_TEXTURES];
    std::wstring m_ShaderName = L"default.fx";
    GxShaderEffect* m_pShader = nullptr;
    GxFColor m_Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
    GxFColor m_Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    GxFColor m_Specular = {0.0f, 0.0f, 0.0f, 1.0f};
    GxFColor m_Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    float m_SpecularPower = 10.0f;
    float m_Alpha = 1.0f;
    float m_Shininess = 0.0f;
    float m_Reflectivity = 0.0f;
    uint32_t m_UseShader = 0;
    uint32_t m_BlendMode = 0;
    uint32_t m_DrawGroup = 0;
};
