#pragma once

#include "core/GxVector4.h"

#include <cstdint>

// A key of four floats: position, scale, rotation (degrees) or pivot of a layer.
struct GxNcVector4Key
{
    int32_t m_Time = 0;
    GxVector4 m_Value;
    uint32_t m_InterMode = 1;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
};
