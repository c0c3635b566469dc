#pragma once

#include "core/GxMatrix.h"
#include "graphics/GxModelGeometryPart.h"

#include <vector>

class GxModel;

// The draw state of a model: one placed record per part, in the order of the parts list, and copies of
// the world, view and projection of the last GxModel::SetWorldMatrix.
struct GxModelState
{
    std::vector<GxModelGeometryPart> m_Parts;
    GxMatrix m_World;
    GxMatrix m_View;
    GxMatrix m_Projection;
    GxMatrix m_ViewProjection;
    GxModel* m_pModel = nullptr;
};
