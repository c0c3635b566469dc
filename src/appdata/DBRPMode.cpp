#include "appdata/DBRPMode.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBRPModeData, ID),    GX_DB_COLUMN(DBRPModeData, Group), GX_DB_COLUMN(DBRPModeData, Thumbnail),
    GX_DB_COLUMN(DBRPModeData, Label), GX_DB_COLUMN(DBRPModeData, Help),
};

} // namespace

DBRPMode g_DBRPMode;

DBRPMode::DBRPMode() : GxDBTable(L"DBRPMode", s_Columns) {}
