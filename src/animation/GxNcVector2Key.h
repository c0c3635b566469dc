#pragma once

#include "core/GxVector2.h"

#include <cstdint>

// A key of two floats: the size factor or the texture-coordinate offset of a layer.
struct GxNcVector2Key
{
    int32_t m_Time = 0;
    GxVector2 m_Value;
    uint32_t m_InterMode = 1;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
};
