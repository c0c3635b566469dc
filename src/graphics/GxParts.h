#pragma once

#include "core/GxMatrix.h"
#include "core/GxQuaternion.h"
#include "core/GxVector3.h"
#include "graphics/GxPartsInfoBase.h"

#include <cstdint>
#include <string>

// One named part of a model, placed by its first-frame pose. A part of type 1 carries the mesh at its
// entity index, whose geometric pose comes before the part's own.
class GxParts
{
public:
    static constexpr uint32_t TYPE_MESH = 1;

    virtual ~GxParts() = default;

    std::wstring m_PartsName;
    uint32_t m_Enabled = 0;
    uint32_t m_PartsType = 0;
    float m_PartsSize = 0.0f;
    int32_t m_EntityIndex = -1;
    GxMatrix m_InitPoseMatrix;
    GxMatrix m_FirstFramePoseMatrix;
    GxVector3 m_FirstFramePoseTrans;
    GxVector3 m_FirstFramePoseRot;
    GxQuaternion m_FirstFramePoseRotQuat;
    GxVector3 m_FirstFramePoseScale;
    GxPartsInfoBase m_Info;
};
