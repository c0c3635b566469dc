#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBEffect: named effects, each one motion of one layered-animation project.
struct DBEffectData
{
    int32_t m_ID = 0;
    std::wstring m_GNCName;
    std::wstring m_MotionGroup;
    std::wstring m_Motion;
    std::wstring m_Name;
    std::wstring m_Descript;
};

// Read from "data/db_effect.txt".
class DBEffect : public GxDBTable<DBEffectData, 80>
{
public:
    DBEffect();
    using GxDBBase::FindRowByName;
};

extern DBEffect g_DBEffect;
