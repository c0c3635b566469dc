#pragma once

#include <cstdint>

// A key of one float: the opacity of a layer.
struct GxNcFloatKey
{
    int32_t m_Time = 0;
    float m_Value = 0.0f;
    uint32_t m_InterMode = 1;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
};
