#pragma once

#include "SampleTable.h"

#include <cstdint>
#include <string>
#include <vector>

// The defence screen's window contents: the facility, trap and summon windows' list boxes with their
// sliders and run and cancel buttons, the room window's OK and build buttons and its per-slot buttons
// (local indexes 0-4), and the bottom bar's card buttons (0-5) and unit-list slider. Modules 195-215,
// layout rows 370-419 of the strategy tables.
void AddZorWindowRows(SampleTable& modules, SampleTable& layouts, std::vector<std::string>& problems);

// Flat colours of the sample's facility pictures and unit faces, for tests that probe captures.
constexpr uint32_t kSampleFacilityPictureColour = 0xFF405060u;
constexpr uint32_t kSampleUnitFaceColour = 0xFF807060u;
constexpr uint32_t kSampleInvaderFaceColour = 0xFF903838u;

// The icons the windows, the unit list, the lord's panel and the cards draw from the icon pool, as plain
// coloured panels (name with ".png", width, height, ARGB fill, margin).
struct SampleIcon
{
    std::wstring name;
    uint32_t w, h, argb, margin;
};
std::vector<SampleIcon> ZorWindowIcons();
