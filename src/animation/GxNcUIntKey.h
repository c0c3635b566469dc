#pragma once

#include <cstdint>

// A key of one unsigned number: the visibility of a layer.
struct GxNcUIntKey
{
    int32_t m_Time = 0;
    uint32_t m_Value = 0;
    uint32_t m_InterMode = 1;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
};
