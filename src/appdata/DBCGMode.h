#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBCGMode: the gallery entries, each up to 32 bare picture names; Count 0 is filled in when the gallery
// opens.
struct DBCGModeData
{
    int32_t m_ID = 0;
    int32_t m_Group = 0;
    std::wstring m_Thumbnail;
    std::wstring m_FileName[32];
    int32_t m_Count = 0;
};

// Read from "data/db_cgmode.txt".
class DBCGMode : public GxDBTable<DBCGModeData, 200>
{
public:
    DBCGMode();
};

extern DBCGMode g_DBCGMode;
