#pragma once

#include "SampleTable.h"

// The invasion screen's rows: the bottom bar's unit tabs, the eight unit cards and their slider, the
// formation, war and configuration buttons, and the remove buttons over the ten formation slots, added to
// the strategy game's module table (IDs 225-239) and layout table (IDs 440-467).
void AddZorInvasionRows(SampleTable& modules, SampleTable& layouts);
