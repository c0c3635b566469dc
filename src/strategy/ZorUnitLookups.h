#pragma once

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"

#include <cstdint>

// The tables and the game state the unit's rules read, for the files of ZorTaskUnitEntity.
namespace ZorUnitLookups
{

inline const DBZorUnitData* Row(int32_t unitID)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unitID));
}

inline const DBZorSkillData* Skill(int32_t id)
{
    return g_DBZorSkill.GetRow(static_cast<uint32_t>(id));
}

inline ZorCore& Core()
{
    return *ZorCore::GetInstance();
}

inline ZorUserData& State()
{
    return *ZorCore::GetInstance()->GetUserData();
}

// Room effect level i of a room; 0 off the map.
inline int32_t Level(const ZorRoomState* room, int32_t i)
{
    return room ? room->m_RoomEffectLevels[i] : 0;
}

} // namespace ZorUnitLookups
