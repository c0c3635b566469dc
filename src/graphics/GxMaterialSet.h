#pragma once

#include "graphics/GxMaterial.h"

#include <cstdint>
#include <string>
#include <vector>

class GxContentReaderBase;

// The materials of one model, indexed from 0 in the order of its material file (".mtl", a content
// record in text or binary form).
class GxMaterialSet
{
public:
    GxMaterialSet() = default;
    GxMaterialSet(const GxMaterialSet&) = delete;
    GxMaterialSet& operator=(const GxMaterialSet&) = delete;
    virtual ~GxMaterialSet();

    // Clears the set and reads the file. False when the file is missing or empty (the set stays empty) or
    // when the reader counted errors (the set keeps the materials read).
    bool Load(const std::wstring& path);
    // Gives every texture and shader back to its factory and removes the materials.
    void Clear();
    uint32_t GetCount() const { return (uint32_t)m_Materials.size(); }
    // index must be below GetCount().
    GxMaterial& GetMaterial(uint32_t index) { return m_Materials[index]; }
    const GxMaterial& GetMaterial(uint32_t index) const { return m_Materials[index]; }
    // Loads the textures of every material; true only when all of them succeeded.
    bool LoadTextures(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7);
    void ReleaseTextures();
    void ReleaseShaders();

private:
    void ReadMaterialList(GxContentReaderBase& reader);

    std::vector<GxMaterial> m_Materials;
};
