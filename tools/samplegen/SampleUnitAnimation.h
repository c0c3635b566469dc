#pragma once

// The strategy units' animation projects: one "gnc/<GNCName>" (extension ".gnc") per unit row that names one, with the
// four motions the unit rules time their actions by (stand, attack, damage, walk), drawn from the effect
// image set. The motion lengths are what matters to the rules: a skill lands at frame 10 of the attack
// motion and ends with it.

#include "SampleTable.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The units' figure ("unit.png" of the effect image set), in picture pixels. Its motions stand it on its
// feet: the bottom of the picture is the unit's place. At the invasion field's scale (0.13 at 5.12 screen
// pixels per world unit) 224 pixels make a figure about 150 pixels tall, which puts the field's hit-point
// bar, drawn a fixed 162 pixels above the place, just over its head.
constexpr uint32_t kUnitFigureWidth = 64;
constexpr uint32_t kUnitFigureHeight = 224;

void WriteUnitAnimation(const std::filesystem::path& folder, const std::vector<SampleTable>& tables,
                        std::vector<std::string>& problems);
