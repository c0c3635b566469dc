#pragma once

#include "core/GxMatrix.h"

#include <cstdint>

// A bone of a mesh: the part that moves it and its link matrix, with the inverse link and the bone offset
// computed after loading.
struct GxLocalBone
{
    int32_t m_PartsIndex = -1;
    GxMatrix m_TransformLinkMatrix;
    GxMatrix m_InverseLinkMatrix;
    GxMatrix m_BoneOffsetMatrix;
};
