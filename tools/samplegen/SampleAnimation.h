#pragma once

// The sample game's layered-animation data: the UI image sets its UI module rows name (under "uigis/"),
// the three image sets loaded at start-up, and the effect project of its effect rows (under "gnc/", with
// its image set under "gnc/gis/"). Pictures are drawn here and packed with the tools' packer.

#include "SampleTable.h"

#include <filesystem>
#include <string>
#include <vector>

// Writes the files into the installation folder; adds a line to problems for each file it cannot write.
void WriteAnimationData(const std::filesystem::path& folder, const std::vector<SampleTable>& tables,
                        std::vector<std::string>& problems);
