#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorTown: the towns of the world map.
struct DBZorTownData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_ShowName;
    int32_t m_Enabled = 0;
    std::wstring m_ButtonName;
    float m_FlagPosX = 0.0f;
    float m_FlagPosY = 0.0f;
    int32_t m_Occupied = 0;
    int32_t m_RequireTownID = 0;
    std::wstring m_StartLabel;
    std::wstring m_VictoryLabel;
    std::wstring m_DefeatedLabel;
    int32_t m_RewardBone = 0;
    int32_t m_RewardMagic = 0;
    int32_t m_RewardGold = 0;
    int32_t m_Notoriety = 0;
    int32_t m_EnemyLevel = 0;
    int32_t m_Order = 0;
    std::wstring m_DefaultParty;
};

// Read from "data/db_zortown.txt".
class DBZorTown : public GxDBTable<DBZorTownData, 20>
{
public:
    DBZorTown();
    using GxDBBase::FindRowByName;
};

extern DBZorTown g_DBZorTown;
