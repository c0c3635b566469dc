#pragma once

// The six bitmap-font pictures of the interface ("fonts/FONT16SYS.png" and the others): each a grid of
// cells in code order from the font's first code, columns cells to a row, as the game's start-up cuts
// them. Glyphs are drawn from a small 3 x 5 pixel alphabet, scaled to the cell.

#include <string>
#include <utility>
#include <vector>

// File name (relative to the installation folder) and PNG bytes of each font picture.
std::vector<std::pair<std::string, std::string>> FontImages();
