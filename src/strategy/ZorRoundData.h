#pragma once

#include "strategy/ZorUnitState.h"

#include <cstdint>
#include <vector>

// What the take-over screen holds of a finished round: the resources and every unit kind's level and
// experience from the take-over file, and the bonus choices the player made (bits 2, 4, 8, 16).
class ZorRoundData
{
public:
    ZorRoundData() { Reset(); }

    // Resources and choices 0; the 160 kind records refilled from the table (ID, Enabled, level 1).
    void Reset();

    int32_t m_Resource_Bone = 0;
    int32_t m_Resource_Magic = 0;
    int32_t m_Resource_Gold = 0;
    std::vector<ZorUnitState> m_UnitStates;
    uint32_t m_ChoiceFlags = 0;
};
