// Encodes 32-bit pixels (bytes blue, green, red, alpha per pixel, rows top first) as an 8-bit RGBA PNG
// through libpng, into memory. Writing the bytes to a file is the caller's business (the player's files
// go through the engine's atomic writer).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PfPngWriter
{
public:
    // False (out empty) when the size is unusable or libpng fails.
    static bool Encode(uint32_t width, uint32_t height, const uint8_t* pixels, std::vector<uint8_t>& out);
    // Encode and a plain write to the path (UTF-8), for tools and tests; the game's own pictures go
    // through GxImage::SaveToPNG and its atomic writer.
    static bool Write(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels);
};
