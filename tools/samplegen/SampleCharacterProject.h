#pragma once

// The animation project of the heroine, "gnc/lilith.gnc" (the character row's project name), with its
// image set "gnc/gis/lilith.gis": one motion group "pose" with two motions, "sway" (the body swaying from
// side to side) and "jump" (the body rising and falling), each a single layer of a flat body picture.

#include <filesystem>
#include <string>
#include <vector>

// Writes both files into the installation folder; adds a line to problems for a file it cannot write.
void WriteCharacterProject(const std::filesystem::path& folder, std::vector<std::string>& problems);
