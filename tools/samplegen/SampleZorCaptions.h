#pragma once

#include "SampleTable.h"

#include <cstdint>
#include <string>

// The captions of the numbers the strategy screens draw themselves (resources, leadership, facility
// counts, weeks and seconds left, invaders to come, formation leadership, the take-over screen's rows):
// a picture panel (UI type 15, module "cap_...") per caption text, placed beside its number on every
// screen that draws it. Modules 240-255 and layout rows 468-511 of the strategy tables.
void AddZorCaptionRows(SampleTable& modules, SampleTable& layouts, std::vector<std::string>& problems);

// The text a caption module shows; empty for any other module.
std::wstring ZorCaptionText(const std::string& module);

// The captions' colour: a pale blue, so they read apart from the white numbers.
constexpr uint32_t kSampleCaptionColour = 0xFFB8D0F0u;
// Their cell height.
constexpr int32_t kSampleCaptionSize = 14;
