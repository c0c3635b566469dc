#include "appdata/DBUIModule.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBUIModuleData, ID),           GX_DB_COLUMN(DBUIModuleData, UIType),
    GX_DB_COLUMN(DBUIModuleData, ModuleName),   GX_DB_COLUMN(DBUIModuleData, ImageSetName),
    GX_DB_COLUMN(DBUIModuleData, ImageName),    GX_DB_COLUMN(DBUIModuleData, Width),
    GX_DB_COLUMN(DBUIModuleData, Height),       GX_DB_COLUMN(DBUIModuleData, ClientLeft),
    GX_DB_COLUMN(DBUIModuleData, ClientTop),    GX_DB_COLUMN(DBUIModuleData, ClientWidth),
    GX_DB_COLUMN(DBUIModuleData, ClientHeight), GX_DB_COLUMN(DBUIModuleData, ShapeType),
    GX_DB_COLUMN(DBUIModuleData, FontIndex),
};

} // namespace

DBUIModule g_DBUIModule;

DBUIModule::DBUIModule() : GxDBTable(L"DBUIModule", s_Columns) {}
