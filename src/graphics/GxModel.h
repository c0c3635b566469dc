#pragma once

#include "core/GxMatrix.h"
#include "graphics/GxMaterialSet.h"
#include "graphics/GxMesh.h"
#include "graphics/GxModelBase.h"
#include "graphics/GxModelParts.h"
#include "graphics/GxModelState.h"

#include <cstdint>
#include <memory>
#include <string>

class GxContentReaderBase;
class GxSimpleNode;
class GxSimpleTree;

// A static 3D object: named parts placed by their poses, the meshes attached to them cut into subsets
// of one material each, and the material set with its textures. Loaded from a geometry file (".geo") and
// a material file (".mtl"), both content records in text or binary form; drawn at a world matrix through
// the fixed-function pipeline.
//
// Calling order: LoadGeometry, LoadMaterial, LoadTexture; each frame SetWorldMatrix then Draw, inside
// the caller's scene and after its view and projection are set; Release at the end. Main thread only.
class GxModel : public GxModelBase
{
public:
    GxModel();
    ~GxModel() override;
    GxModel(const GxModel&) = delete;
    GxModel& operator=(const GxModel&) = delete;

    // Reads the geometry file; legacy keeps every vertex in one 52-byte stream. False (and an empty
    // model) when the file is missing, empty or damaged.
    bool LoadGeometry(const std::wstring& path, bool legacy);
    bool LoadMaterial(const std::wstring& path);
    // Loads the textures of every material from the folder (its name is put directly before each file
    // name, so it ends in its separator).
    bool LoadTexture(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7);
    // Keeps the world (with the current view and projection) and places every part for it.
    void SetWorldMatrix(const GxMatrix& world);
    // group -1 draws every subset, 0 to 2 only those whose material is in that draw group; blend 0 uses
    // each material's preset; a material replaces every subset's.
    void Draw(int32_t group, int32_t blend, const GxMaterial* material);
    void Release();

    // The structures read.
    const GxModelParts& GetParts() const { return *m_pParts; }
    uint32_t GetMeshCount() const { return m_MeshCount; }
    GxMesh& GetMesh(uint32_t index) { return m_pMeshes[index]; }
    const GxMesh& GetMesh(uint32_t index) const { return m_pMeshes[index]; }
    GxMaterialSet& GetMaterialSet() { return *m_pMaterialSet; }
    const GxModelState& GetState() const { return *m_pState; }
    const std::wstring& GetName() const { return m_Name; }

    static bool ReadSkeleton(GxSimpleTree& tree, GxSimpleNode* parent, GxContentReaderBase& reader);
    static void ComputeBoneOffsets(GxMesh* meshes, uint32_t meshCount, GxModelParts& parts);

private:
    void ClearGeometry();
    bool ReadGeometry(bool legacy, GxContentReaderBase& reader);
    void ReadPartsList(GxContentReaderBase& reader);
    void ReadMesh(GxMesh& mesh, bool legacy, GxContentReaderBase& reader);
    // Drops meshes and bones that name no part and makes every mesh part name a mesh; one line each.
    void ValidateGeometry();

    std::unique_ptr<GxModelParts> m_pParts;
    uint32_t m_MeshCount = 0;
    std::unique_ptr<GxMesh[]> m_pMeshes;
    std::unique_ptr<GxMaterialSet> m_pMaterialSet;
    std::unique_ptr<GxModelState> m_pState;
    std::wstring m_Name;
};
