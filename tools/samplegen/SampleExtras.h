#pragma once

// The sample game's extra screens (music room, gallery, picture viewer, replay mode): their table rows,
// UI modules and layout groups, the image sets they name ("ui_extra.gis", "ui_bgmname.gis",
// "th_cgmode.gis", "th_rpmode.gis"), their background pictures and the gallery's event pictures. The music
// room plays the story's music ("bgms/bgm01" .. "bgm03", SampleStory.cpp).
#include "SampleTable.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// Appends the extra screens' rows to the tables of their classes.
void AddExtraRows(std::vector<SampleTable>& tables);
// Pictures as (path under the installation folder, bytes).
std::vector<std::pair<std::filesystem::path, std::string>> ExtraFiles();
// Packs the image sets; adds a line to problems for each set it cannot write.
void WriteExtraSets(const std::filesystem::path& folder, std::vector<std::string>& problems);
