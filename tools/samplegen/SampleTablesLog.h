#pragma once

#include "SampleTable.h"

#include <vector>

// Appends the backlog screen's rows (five log lines with their voice buttons and the back button) to the
// adventure UI module and layout tables among tables: modules 121..123, layout rows 243..253.
void AddBacklogRows(std::vector<SampleTable>& tables);
