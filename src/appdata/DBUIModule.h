#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBUIModule: the widget kinds of all screens, found by ModuleName; UIType picks the widget class.
struct DBUIModuleData
{
    int32_t m_ID = 0;
    int32_t m_UIType = 0;
    std::wstring m_ModuleName;
    std::wstring m_ImageSetName;
    std::wstring m_ImageName;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    int32_t m_ClientLeft = 0;
    int32_t m_ClientTop = 0;
    int32_t m_ClientWidth = 0;
    int32_t m_ClientHeight = 0;
    int32_t m_ShapeType = 0;
    int32_t m_FontIndex = 0;
};

// Read from "data/db_uimodule.txt" then "data/db_uimodule_zor.txt" into one ID space.
class DBUIModule : public GxDBTable<DBUIModuleData, 256>
{
public:
    DBUIModule();
};

extern DBUIModule g_DBUIModule;
