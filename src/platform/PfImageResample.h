// Scaling of decoded pictures with the triangle (tent) filter: each output pixel is the weighted mean of
// the input pixels under a tent one output pixel wide on each side (wider when shrinking), computed
// separately along rows and columns. Colour channels are weighted by alpha, so transparent texels do not
// bleed their colour into the edges of opaque ones.
#pragma once

#include "platform/PfImage.h"

#include <cstdint>

class PfImageResample
{
public:
    // Scales source to width x height into destination (allocated here). False for an empty source or a
    // size that is not allowed.
    static bool Triangle(const PfImage& source, uint32_t width, uint32_t height, PfImage& destination);
    // The same into width x height 32-bit pixels at dest, pitch bytes a row.
    static bool Triangle(const PfImage& source, uint32_t width, uint32_t height, uint8_t* dest, uint32_t pitch);
};
