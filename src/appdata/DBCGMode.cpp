#include "appdata/DBCGMode.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBCGModeData, ID),       GX_DB_COLUMN(DBCGModeData, Group), GX_DB_COLUMN(DBCGModeData, Thumbnail),
    GX_DB_COLUMN(DBCGModeData, FileName), GX_DB_COLUMN(DBCGModeData, Count),
};

} // namespace

DBCGMode g_DBCGMode;

DBCGMode::DBCGMode() : GxDBTable(L"DBCGMode", s_Columns) {}
