#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorEnemy: enemy parties of up to nine units named by unit name.
struct DBZorEnemyData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_UnitName[9];
    float m_LevelMultiFactor = 0.0f;
    int32_t m_AIType = 0;
    int32_t m_AutoAppear = 0;
    std::wstring m_Descript;
};

// Read from "data/db_zorenemy.txt".
class DBZorEnemy : public GxDBTable<DBZorEnemyData, 120>
{
public:
    DBZorEnemy();
    using GxDBBase::FindRowByName;
};

extern DBZorEnemy g_DBZorEnemy;
