#pragma once

#include "core/GxMatrix.h"
#include "core/GxQuaternion.h"
#include "core/GxVector3.h"

#include <cstdint>

class GxParts;

// The placed state of one part: its world matrix and inverse for the last world the model was given.
struct GxModelGeometryPart
{
    uint32_t m_Reserved[2] = {};
    // A local transform reset on every world update and read by nothing else.
    GxVector3 m_LocalTrans;
    GxQuaternion m_LocalRot;
    GxVector3 m_LocalScale;
    GxMatrix m_LocalMatrix;
    GxMatrix m_WorldMatrix;
    GxMatrix m_InvWorldMatrix;
    const GxParts* m_pParts = nullptr;
    GxVector3 m_Extra[2];
};
