// Small DDS, TGA and BMP pictures for the picture seeds: no tool of ours writes these formats, so they
// are made here, byte by byte, in the layouts the readers take.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// (file name, bytes) of every picture: DDS uncompressed 32-bit and DXT1/DXT3/DXT5 blocks, TGA true
// colour, run-length, grey and colour-mapped, BMP 24-bit and 8-bit with a palette.
std::vector<std::pair<std::string, std::string>> MakePictureSeeds();
