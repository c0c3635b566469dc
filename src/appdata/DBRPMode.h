#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBRPMode: the replay scenes and the script labels they start.
struct DBRPModeData
{
    int32_t m_ID = 0;
    int32_t m_Group = 0;
    std::wstring m_Thumbnail;
    std::wstring m_Label;
    std::wstring m_Help;
};

// Read from "data/db_rpmode.txt".
class DBRPMode : public GxDBTable<DBRPModeData, 200>
{
public:
    DBRPMode();
};

extern DBRPMode g_DBRPMode;
