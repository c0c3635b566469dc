#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBUILayout: the placed widgets of all screens, grouped by ParentName.
struct DBUILayoutData
{
    int32_t m_ID = 0;
    std::wstring m_ParentName;
    int32_t m_ParentIndex = 0;
    std::wstring m_ModuleName;
    std::wstring m_TaskName;
    int32_t m_TaskIndex = 0;
    int32_t m_Create = 0;
    int32_t m_Visible = 0;
    int32_t m_Enabled = 0;
    float m_Left = 0.0f;
    float m_Top = 0.0f;
    float m_OrderZ = 0.0f;
    int32_t m_GroupID = 0;
    std::wstring m_Text;
    std::wstring m_Label;
    int32_t m_Value = 0;
    int32_t m_Min = 0;
    int32_t m_Max = 0;
    int32_t m_AutoHelpTime = 0;
    std::wstring m_Descript;
};

// Read from "data/db_uilayout.txt" then "data/db_uilayout_zor.txt" into one ID space.
class DBUILayout : public GxDBTable<DBUILayoutData, 512>
{
public:
    DBUILayout();
};

extern DBUILayout g_DBUILayout;
