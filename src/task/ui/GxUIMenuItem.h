#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One entry of a menu, or one further column (sub-entry) of an entry's line.
struct GxUIMenuItem
{
    std::wstring m_Text;
    std::wstring m_Name;
    int32_t m_Value = -1;
    std::wstring m_Descript; // shown in the linked text widget while hovered
    bool m_Enabled = true;
    bool m_Selected = false;
    float m_X = 0.0f;
    float m_Y = 0.0f;
    std::vector<GxUIMenuItem> m_SubItems;
};
