#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorStruct: the facilities the player builds in the dungeon.
struct DBZorStructData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_ShowName;
    std::wstring m_VisualImage;
    int32_t m_Enabled = 0;
    int32_t m_Limit = 0;
    int32_t m_Capacity = 0;
    int32_t m_PassCenter = 0;
    int32_t m_CostBone = 0;
    int32_t m_CostMagic = 0;
    int32_t m_CostGold = 0;
    int32_t m_CreateTime = 0;
    int32_t m_RequireExtendRank = 0;
    int32_t m_RequireStructID = 0;
    int32_t m_RequireInveigleUnitID = 0;
    std::wstring m_Descript;
};

// Read from "data/db_zorstruct.txt".
class DBZorStruct : public GxDBTable<DBZorStructData, 30>
{
public:
    DBZorStruct();
    using GxDBBase::FindRowByName;
};

extern DBZorStruct g_DBZorStruct;
