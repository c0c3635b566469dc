// The material's side of the texture and shader factories.
#include "graphics/GxMaterial.h"

#include "graphics/GxShaderFactory.h"
#include "graphics/GxTextureBase.h"
#include "graphics/GxTextureFactory.h"

bool GxMaterial::LoadTextures(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7)
{
    ReleaseTextures();
    bool ok = true;
    for (uint32_t i = 0; i < m_TextureCount && i < MAX_TEXTURES; ++i)
    {
        GxMaterialTextureParam& p = m_TextureParam[i];
        const uint32_t level = mip == -1 ? p.m_MipLevel : (uint32_t)mip;
        // The folder ends in its separator: nothing is put between it and the file name.
        const std::wstring name = folder + p.m_FileName;
        GxTextureFactory& factory = GxTextureFactory::GetInstance();
        switch (p.m_TextureType)
        {
        case GxTextureFactory::kFile:
            p.m_pTexture = factory.Get(name, GxTextureFactory::kFile, 0, 0, level, (uint32_t)arg6, (uint32_t)arg7, 1);
            break;
        case GxTextureFactory::kTexture:
        case GxTextureFactory::kRenderTarget:
            p.m_pTexture = factory.Get(name, p.m_TextureType, 256, 256, level, (uint32_t)arg6, (uint32_t)arg7, 1);
            break;
        default:
            p.m_pTexture = nullptr;
            break;
        }
        if (!p.m_pTexture)
            ok = false;
    }
    return ok;
}

void GxMaterial::ReleaseTextures()
{
    for (uint32_t i = 0; i < m_TextureCount && i < MAX_TEXTURES; ++i)
    {
        GxMaterialTextureParam& p = m_TextureParam[i];
        if (!p.m_pTexture)
            continue;
        GxTextureFactory::GetInstance().Release(p.m_pTexture);
        p.m_pTexture = nullptr;
    }
}

void GxMaterial::ReleaseShader()
{
    if (!m_pShader)
        return;
    GxShaderFactory::GetInstance().Release(m_pShader);
    m_pShader = nullptr;
}

PfGLTexture* GxMaterial::GetD3DTexture(uint32_t index) const
{
    if (index >= MAX_TEXTURES || !m_TextureParam[index].m_pTexture)
        return nullptr;
    return m_TextureParam[index].m_pTexture->GetD3DResource();
}
