#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorUnit: unit kinds of both sides; Class 20 is a trap.
struct DBZorUnitData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_ShowName;
    int32_t m_Class = 0;
    std::wstring m_FaceIconImage;
    std::wstring m_VisualImage;
    int32_t m_Enabled = 0;
    int32_t m_UniqueFlag = 0;
    int32_t m_HPMax = 0;
    int32_t m_ATK = 0;
    int32_t m_LevelLimit = 0;
    float m_ExpMulti = 0.0f;
    float m_AutoHealHPRate = 0.0f;
    int32_t m_DefRate[6] = {};
    int32_t m_CostBone = 0;
    int32_t m_CostMagic = 0;
    int32_t m_CostGold = 0;
    int32_t m_CostLeadership = 0;
    int32_t m_CreateTime = 0;
    int32_t m_RequireStructID = 0;
    int32_t m_RequireStructRank = 0;
    int32_t m_RequireInveigleUnitID = 0;
    std::wstring m_GNCName;
    std::wstring m_MotionGroup;
    std::wstring m_Motion_stand;
    std::wstring m_Motion_attack;
    int32_t m_Range = 0;
    int32_t m_Skill[6] = {};
    std::wstring m_Descript;
};

// Read from "data/db_zorunit.txt".
class DBZorUnit : public GxDBTable<DBZorUnitData, 160>
{
public:
    DBZorUnit();
    using GxDBBase::FindRowByName;
};

extern DBZorUnit g_DBZorUnit;
