#include "graphics/GxMaterialSet.h"

#include "core/GxLog.h"
#include "graphics/GxContentFile.h"

GxMaterialSet::~GxMaterialSet()
{
    Clear();
}

bool GxMaterialSet::Load(const std::wstring& path)
{
    Clear();
    GxContentFile file;
    if (!file.Open(path, "TMTL", "BMTL"))
    {
        // An emptied file is as damaged as a cut one and named the same way.
        if (file.IsEmpty())
            GxLog::Error(L"GxMaterialSet::Load/材質ファイルが空です(%s)\n", path.c_str());
        return false;
    }
    GxContentReaderBase& reader = file.GetReader();
    ReadMaterialList(reader);
    if (reader.GetErrorCount() != 0)
    {
        GxLog::Error(L"GxMaterialSet::Load/材質ファイルが壊れています(%s:%u)\n", path.c_str(), reader.GetErrorCount());
        return false;
    }
    return true;
}

void GxMaterialSet::ReadMaterialList(GxContentReaderBase& reader)
{
    // A material is at least its name, four colours, eight numbers and an empty texture list: the count is
    // held to what the bytes left can hold before anything is reserved for it.
    const uint64_t least = reader.LeastSize(
        {g_ContentValueString, g_ContentValueFColor, g_ContentValueFColor, g_ContentValueFColor, g_ContentValueFColor,
         g_ContentValueF32, g_ContentValueF32, g_ContentValueF32, g_ContentValueF32, g_ContentValueU32,
         g_ContentValueU32, g_ContentValueU32, g_ContentValueU32, g_ContentValueEmptyList});
    uint32_t count = 0;
    if (!reader.ListBegin("m_MaterialList", count, least))
        return;
    m_Materials.reserve(count);
    const uint32_t errors = reader.GetErrorCount();
    for (uint32_t i = 0; i < count && reader.GetErrorCount() == errors; ++i)
    {
        GxMaterial m;
        reader.ReadString("m_MaterialName", m.m_MaterialName);
        reader.Read("m_Diffuse", m.m_Diffuse);
        reader.Read("m_Specular", m.m_Specular);
        reader.Read("m_Ambient", m.m_Ambient);
        reader.Read("m_Emissive", m.m_Emissive);
        reader.Read("m_SpecularPower", m.m_SpecularPower);
        reader.Read("m_Alpha", m.m_Alpha);
        reader.Read("m_Shininess", m.m_Shininess);
        reader.Read("m_Reflectivity", m.m_Reflectivity);
        reader.Read("m_BlendMode", m.m_BlendMode);
        reader.Read("m_UseShader", m.m_UseShader);
        reader.Read("m_TextureCount", m.m_TextureCount);
        reader.Read("m_UVLayerCount", m.m_UVLayerCount);
        // There are eight texture slots: a larger count would reach past them.
        if (m.m_TextureCount > GxMaterial::MAX_TEXTURES)
        {
            GxLog::Error(L"GxMaterialSet::ReadMaterialList/テクスチャ数が多すぎます(%s:%u)\n", m.m_MaterialName.c_str(),
                         m.m_TextureCount);
            m.m_TextureCount = GxMaterial::MAX_TEXTURES;
        }
        uint32_t params = 0;
        if (reader.ListBegin("m_TextureParamList", params,
                             reader.LeastSize({g_ContentValueString, g_ContentValueU32, g_ContentValueU32})))
        {
            if (params > GxMaterial::MAX_TEXTURES)
                GxLog::Error(L"GxMaterialSet::ReadMaterialList/テクスチャパラメータが多すぎます(%s:%u)\n",
                             m.m_MaterialName.c_str(), params);
            for (uint32_t k = 0; k < params && reader.GetErrorCount() == errors; ++k)
            {
                // Slots past the eighth are read and dropped, so the values after the list stay in step.
                GxMaterialTextureParam dropped;
                GxMaterialTextureParam& p = k < GxMaterial::MAX_TEXTURES ? m.m_TextureParam[k] : dropped;
                reader.ReadString("m_FileName", p.m_FileName);
                // The stored type is read and not used: every slot is a file texture.
                reader.GetU32("m_TextureType");
                reader.Read("m_MipLevel", p.m_MipLevel);
            }
            reader.ListEnd();
        }
        m.m_DrawGroup = GxMaterial::DrawGroupOf(m.m_MaterialName);
        m_Materials.push_back(m);
    }
    reader.ListEnd();
}

void GxMaterialSet::Clear()
{
    for (GxMaterial& m : m_Materials)
        m.ReleaseTextures();
    for (GxMaterial& m : m_Materials)
        m.ReleaseShader();
    m_Materials.clear();
}

bool GxMaterialSet::LoadTextures(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7)
{
    bool ok = true;
    for (GxMaterial& m : m_Materials)
    {
        if (!m.LoadTextures(folder, mip, arg6, arg7))
        {
            GxLog::Error(L"err:The error occurred when the texture of the material[%s] was read\n",
                         m.m_MaterialName.c_str());
            ok = false;
        }
    }
    return ok;
}

void GxMaterialSet::ReleaseTextures()
{
    for (GxMaterial& m : m_Materials)
        m.ReleaseTextures();
}

void GxMaterialSet::ReleaseShaders()
{
    for (GxMaterial& m : m_Materials)
        m.ReleaseShader();
}
