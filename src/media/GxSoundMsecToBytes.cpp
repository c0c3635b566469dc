#include "media/GxSoundMsecToBytes.h"

uint32_t GxSoundMsecToBytes(uint32_t ms, uint32_t unitsPerSecond)
{
    const double units = static_cast<double>(unitsPerSecond) / 1000.0 * static_cast<double>(ms);
    if (units >= 4294967295.0)
        return 0xFFFFFFFFu;
    return static_cast<uint32_t>(units);
}
