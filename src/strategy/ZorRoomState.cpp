#include "strategy/ZorRoomState.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

int32_t ZorRoomState::CountUnits() const
{
    int32_t n = 0;
    for (int64_t id : m_UnitEntityIDs)
        n += id != 0 ? 1 : 0;
    return n;
}

bool ZorRoomState::Save(GxContentWriterBase& writer) const
{
    bool ok = writer.Write("m_ExistFlag", m_ExistFlag != 0) && writer.Write("m_StructID", m_StructID);
    for (int64_t id : m_UnitEntityIDs)
        ok = ok && writer.Write("m_UnitEntityIDs", id);
    for (int32_t level : m_RoomEffectLevels)
        ok = ok && writer.Write("m_RoomEffectLevels", level);
    return ok && writer.Write("m_Extended", m_Extended != 0) && writer.Write("m_CreateTimeLeft", m_CreateTimeLeft) &&
           writer.Write("m_CreateTimeTotal", m_CreateTimeTotal) &&
           writer.Write("m_SpecialAttackRestrictTime", m_SpecialAttackRestrictTime) &&
           writer.Write("m_HealRestrictTime", m_HealRestrictTime) &&
           writer.Write("m_RoughDistFromThrone", m_RoughDistFromThrone) &&
           writer.Write("m_TotalLerderShip", m_TotalLerderShip);
}

void ZorRoomState::Load(GxContentReaderBase& reader)
{
    m_ExistFlag = reader.GetBool("m_ExistFlag") ? 1 : 0;
    reader.Read("m_StructID", m_StructID);
    for (int64_t& id : m_UnitEntityIDs)
        reader.Read("m_UnitEntityIDs", id);
    for (int32_t& level : m_RoomEffectLevels)
        reader.Read("m_RoomEffectLevels", level);
    m_Extended = reader.GetBool("m_Extended") ? 1 : 0;
    reader.Read("m_CreateTimeLeft", m_CreateTimeLeft);
    reader.Read("m_CreateTimeTotal", m_CreateTimeTotal);
    reader.Read("m_SpecialAttackRestrictTime", m_SpecialAttackRestrictTime);
    reader.Read("m_HealRestrictTime", m_HealRestrictTime);
    reader.Read("m_RoughDistFromThrone", m_RoughDistFromThrone);
    reader.Read("m_TotalLerderShip", m_TotalLerderShip);
}
