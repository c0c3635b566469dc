#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One row of a list box, or one further column (sub-item) of a row. Copied by value into the list.
struct GxUIListBoxItem
{
    std::wstring m_BitmapText; // drawn with the bitmap font
    std::wstring m_Text;       // drawn with the list's font map, outlined
    std::wstring m_Name;
    int32_t m_Value = -1;
    std::wstring m_Descript; // shown in the linked text widget while hovered
    int32_t m_BitmapFont = 0;
    bool m_Enabled = true;
    bool m_Selected = false;
    float m_X = 0.0f;
    float m_Y = 0.0f;
    uint32_t m_Color = 0xFFFFFFFFu;
    std::vector<GxUIListBoxItem> m_SubItems;
};
