#pragma once

#include <cstdint>
#include <string>

// A sound played once when a motion passes exactly this time.
struct GxNcSoundKey
{
    int32_t m_Time = 0;
    std::wstring m_SoundName;
    uint32_t m_InterMode = 0;
    uint32_t m_Selected = 0;
};
