#pragma once

#include "core/GxMatrix.h"
#include "core/GxVector3.h"
#include "graphics/GxLocalBone.h"
#include "graphics/GxMeshSubset.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GxMaterial;
class GxMaterialSet;
struct GxModelState;

// A mesh of a model: attached to one part, placed by its geometric pose, cut into subsets.
class GxMesh
{
public:
    GxMesh() = default;
    GxMesh(const GxMesh&) = delete;
    GxMesh& operator=(const GxMesh&) = delete;

    // Draws every subset in order.
    void Draw(const GxMaterialSet& set, const GxModelState& state, int32_t group, int32_t blend,
              const GxMaterial* material, float alpha);

    std::wstring m_PartsName;
    int32_t m_PartsIndex = -1;
    uint32_t m_Visible = 1;
    uint32_t m_VertexLayer = 0;
    GxVector3 m_BBMin;
    GxVector3 m_BBMax;
    GxVector3 m_BSCenter;
    float m_BSRadius = 0.0f;
    GxMatrix m_GeometricPoseMatrix;
    std::vector<GxLocalBone> m_LocalBones;
    bool m_HasBones = false;
    bool m_SingleStream = false;
    uint32_t m_SubsetCount = 0;
    std::unique_ptr<GxMeshSubset[]> m_pSubsets;
};
