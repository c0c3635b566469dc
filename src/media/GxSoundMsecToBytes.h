#pragma once

#include <cstdint>

// A time in ms as a count of units (frames, bytes) at unitsPerSecond: units / 1000 x ms in double
// precision, truncated. GxSoundMsecToBytes(1500, 44100) = 66150.
uint32_t GxSoundMsecToBytes(uint32_t ms, uint32_t unitsPerSecond);
