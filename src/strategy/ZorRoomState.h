#pragma once

#include "strategy/ZorMapData.h"

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// One room of the game state (also the record of an invasion-field formation, where only the unit slots
// mean anything). Slots hold unit task IDs, 0 for an empty slot; the map link is not saved.
struct ZorRoomState
{
    static constexpr int32_t kSlots = 10;
    static constexpr int32_t kEffects = 24;

    uint8_t m_ExistFlag = 0;
    int32_t m_StructID = 0; // 0 none, 1 plain dug room, 16 entrance, 17 throne, else a facility
    int64_t m_UnitEntityIDs[kSlots] = {};
    int32_t m_RoomEffectLevels[kEffects] = {};
    uint8_t m_Extended = 0;
    int32_t m_CreateTimeLeft = 0;
    int32_t m_CreateTimeTotal = 0;
    int32_t m_SpecialAttackRestrictTime = 0;
    int32_t m_HealRestrictTime = 0;
    int32_t m_RoughDistFromThrone = 100000;
    int32_t m_TotalLerderShip = 0;
    const ZorMapData::Room* m_MapRoom = nullptr;

    // Everything 0 except the distance (100000, unreached); the link cleared.
    void Reset() { *this = ZorRoomState(); }
    int32_t CountUnits() const;

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);
};
