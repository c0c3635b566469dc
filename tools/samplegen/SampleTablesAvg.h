#pragma once

#include "SampleTable.h"

#include <string>
#include <utility>
#include <vector>

// The adventure main screen's rows: the message window with its twelve children, the name window and the
// choice button, added to the front end's module and layout tables (modules from ID 32, layout rows from
// ID 64).
void AddAvgMainRows(SampleTable& modules, SampleTable& layouts);

// The pictures the adventure screen shows: the black and sample backgrounds, the error picture, a rule
// image, stand pictures of the characters and a name picture (path, PNG bytes).
std::vector<std::pair<std::string, std::string>> AvgMainPictures();
