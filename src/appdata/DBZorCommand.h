#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorCommand: the weekly commands.
struct DBZorCommandData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_ShowName;
    int32_t m_Enabled = 0;
    int32_t m_Function = 0;
    std::wstring m_Label;
    std::wstring m_ResourceType;
    int32_t m_ResourceAmount = 0;
    std::wstring m_Descript;
};

// Read from "data/db_zorcommand.txt".
class DBZorCommand : public GxDBTable<DBZorCommandData, 120>
{
public:
    DBZorCommand();
    using GxDBBase::FindRowByName;
};

extern DBZorCommand g_DBZorCommand;
