#pragma once

#include "SampleTable.h"

#include <string>
#include <utility>
#include <vector>

// The between-stage screens' rows: the command window and bottom bar with their buttons, the strategy
// map's town buttons (value = town ID) and stop button, and the take-over screen's slider, bonus
// choices and start button, added to the strategy game's module table (from ID 140) and layout table
// (from ID 280).
void AddZorScreenRows(SampleTable& modules, SampleTable& layouts);

// The backgrounds of the command, strategy-map and take-over screens (path, PNG bytes).
std::vector<std::pair<std::string, std::string>> ZorScreenPictures();
