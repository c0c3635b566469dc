// Writes 32-bit pixels (bytes blue, green, red, alpha per pixel, rows top first) as an 8-bit RGBA PNG
// through libpng. The file is written beside its final name, flushed and synced, then renamed over it,
// so a failure never leaves half a picture under the final name.
#pragma once

#include <cstdint>
#include <string>

class PfPngWriter
{
public:
    // path in UTF-8. False when the file cannot be written or libpng fails.
    static bool Write(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels);
};
