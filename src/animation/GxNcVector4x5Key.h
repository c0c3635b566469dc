#pragma once

#include "core/GxVector4.h"

#include <cstdint>

// A key of five four-float vectors, one per vertex (four corners, then the centre): vertex offsets or
// vertex colours of a layer.
struct GxNcVector4x5Key
{
    int32_t m_Time = 0;
    GxVector4 m_Value[5];
    uint32_t m_InterMode = 1;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
    uint32_t m_SelectedLocalFlags = 0;
};
