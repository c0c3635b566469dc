#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorSkill: unit skills.
struct DBZorSkillData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_ShowName;
    int32_t m_Type = 0;
    int32_t m_Element = 0;
    int32_t m_Range = 0;
    int32_t m_Power = 0;
    int32_t m_HitRate = 0;
    int32_t m_SpecialType = 0;
    int32_t m_SpecialRate = 0;
    int32_t m_RoomEffect = 0;
    int32_t m_SealFlag = 0;
    int32_t m_RestrictFlag = 0;
    int32_t m_SelfDamage = 0;
    int32_t m_ReadyTime = 0;
    int32_t m_CoolingTime = 0;
    std::wstring m_DamageEffect;
    std::wstring m_CutinGNCName;
    std::wstring m_CutinMotionGroup;
    std::wstring m_CutinMotion;
    std::wstring m_Descript;
};

// Read from "data/db_zorskill.txt".
class DBZorSkill : public GxDBTable<DBZorSkillData, 160>
{
public:
    DBZorSkill();
    using GxDBBase::FindRowByName;
};

extern DBZorSkill g_DBZorSkill;
