// The material's side of the texture and shader factories.
#include "graphics/GxMaterial.h"

#include "core/GxLog.h"
#include "graphics/GxSurfaceBase.h"

// FIXME: the texture and shader factories are not part of the build yet; until they are, a material
// gets no textures (LoadTextures fails for any slot) and holds no shader.

bool GxMaterial::LoadTextures(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7)
{
    (void)mip;
    (void)arg6;
    (void)arg7;
    ReleaseTextures();
    bool ok = true;
    for (uint32_t i = 0; i < m_TextureCount && i < MAX_TEXTURES; ++i)
    {
        // The folder is expected to end in its separator: nothing is put between it and the file name.
        const std::wstring name = folder + m_TextureParam[i].m_FileName;
        GxLog::Error(L"GxMaterial::LoadTextures/テクスチャを作成できません(%s)\n", name.c_str());
        ok = false;
    }
    return ok;
}

void GxMaterial::ReleaseTextures()
{
    for (uint32_t i = 0; i < m_TextureCount && i < MAX_TEXTURES; ++i)
        m_TextureParam[i].m_pTexture = nullptr;
}

void GxMaterial::ReleaseShader()
{
    m_pShader = nullptr;
}

PfGLTexture* GxMaterial::GetD3DTexture(uint32_t index) const
{
    if (index >= MAX_TEXTURES || !m_TextureParam[index].m_pTexture)
        return nullptr;
    return m_TextureParam[index].m_pTexture->GetD3DResource();
}
