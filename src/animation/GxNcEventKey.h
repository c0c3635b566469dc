#pragma once

#include <cstdint>
#include <string>

// An event handed to the motion's callback when a motion passes exactly this time. The file stores
// m_AfterCallFlag before m_Param.
struct GxNcEventKey
{
    int32_t m_Time = 0;
    int32_t m_EventID = 0;
    std::wstring m_Param;
    uint32_t m_AfterCallFlag = 0;
    uint32_t m_InterMode = 0;
    float m_InterParam0 = 0.0f;
    float m_InterParam1 = 0.0f;
    uint32_t m_Selected = 0;
};
