#pragma once

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;

// The state of one town of the world map and of its defending party: each slot's remaining share of
// hit points, 0.0 for a slot whose unit fell.
struct ZorTownState
{
    static constexpr int32_t kSlots = 10;

    int32_t m_ID = 0;
    int32_t m_Enabled = 0;
    int32_t m_Occupied = 0;
    std::wstring m_EnemyParty;
    int32_t m_EnemyLevel = 1;
    float m_EnemyHPRate[kSlots] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};

    // Each living slot's share + 0.3, capped at 1.0; a fallen slot (0.0) stays down.
    void RecoverEnemyHP();

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);
};
