#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class GxTaskBase;

// One text of the strategy screens' status panels (resources, leadership, facility levels, clocks):
// bitmap font number, position and colour. The panels lay their texts out as plain data, so the layout
// is testable without a device, and draw them through DrawAll.
struct ZorPanelText
{
    std::wstring m_Text;
    int32_t m_Font = 0; // index into the bitmap fonts
    float m_X = 0.0f;
    float m_Y = 0.0f;
    uint32_t m_Colour = 0xFFFFFFFF;

    // Puts the panel task in draw list 5 at the panels' key (above the bottom bars).
    static void Register(GxTaskBase* task);
    // Draws count texts moved by (dx, dy), with point filtering and alpha blending.
    static void DrawAll(const ZorPanelText* texts, size_t count, float dx, float dy);
};
