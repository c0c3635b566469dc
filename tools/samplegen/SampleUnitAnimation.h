#pragma once

// The strategy units' animation projects: one "gnc/<GNCName>" (extension ".gnc") per unit row that names one, with the
// four motions the unit rules time their actions by (stand, attack, damage, walk), drawn from the effect
// image set. The motion lengths are what matters to the rules: a skill lands at frame 10 of the attack
// motion and ends with it.

#include "SampleTable.h"

#include <filesystem>
#include <string>
#include <vector>

void WriteUnitAnimation(const std::filesystem::path& folder, const std::vector<SampleTable>& tables,
                        std::vector<std::string>& problems);
