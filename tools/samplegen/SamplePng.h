#pragma once

// A minimal PNG encoder for the generated pictures: 8-bit RGBA, no filtering, the image data in stored
// (uncompressed) deflate blocks, so the generator needs no compression library.

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a PNG file of width x height pixels given as ARGB values, rows top to bottom.
std::string EncodePng(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb);
