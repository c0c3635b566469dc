#include "graphics/GxMesh.h"

void GxMesh::Draw(const GxMaterialSet& set, const GxModelState& state, int32_t group, int32_t blend,
                  const GxMaterial* material, float alpha)
{
    for (uint32_t i = 0; i < m_SubsetCount; ++i)
        m_pSubsets[i].Draw(*this, set, state, group, blend, material, alpha);
}
