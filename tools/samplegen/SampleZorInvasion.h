#pragma once

#include "SampleTable.h"

// The invasion screen's rows: the bottom bar's unit tabs, the eight unit cards and their slider, the
// formation, war and configuration buttons, and the remove buttons over the ten formation slots, added to
// the strategy game's module table (IDs 225-254) and layout table (IDs 440-511).
void AddZorInvasionRows(SampleTable& modules, SampleTable& layouts);
