#pragma once

#include <cstdint>

// The unit statuses: indices of the six timers in ZorUnitRecord::m_RemainTime, named after what the
// combat rules make of them. Status 0 has a timer (stored and drawn) but nothing sets it.
enum ZorUnitStatus : int32_t
{
    kStatusPoison = 1, // every 100 ticks a thirtieth of the maximum HP, at least 1
    kStatusDazed = 2,  // hit chances halved on both sides; a trap's damage x1.3
    kStatusStun = 3,   // no move and no skill; every hit lands
    kStatusSeal = 4,   // skills with the seal flag rarely hit; heals miss
    kStatusBreak = 5,  // fire resistance halved
};

// What a skill's special effect (ZorCore::RollSpecialEffect) may give besides a status of its own
// number: the two effects that only work on the defence map.
enum ZorSpecialEffect : int32_t
{
    kEffectInstantKill = 6,  // the hit fells the target
    kEffectDrainCharges = 7, // the target's sealed skill charges turn into magic for the defender
};

// Where a hit lands: the statuses a special effect gives last longer on the defence map than on the
// invasion field.
enum class ZorBattleGround
{
    Map,
    Field,
};

// A special effect 1-5 gives the status of the same number for these many ticks (before the target's
// resistance shortens them). A stun never starts on a unit in the middle of its own skill motion.
struct ZorStatusRule
{
    ZorUnitStatus m_Status;
    int32_t m_MapTicks;
    int32_t m_FieldTicks;
};

inline constexpr ZorStatusRule kStatusRules[] = {
    {kStatusPoison, 800, 400}, {kStatusDazed, 1200, 300}, {kStatusStun, 100, 50},
    {kStatusSeal, 1200, 300},  {kStatusBreak, 1200, 300},
};
