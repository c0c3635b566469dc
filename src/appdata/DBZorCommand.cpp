#include "appdata/DBZorCommand.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorCommandData, ID),           GX_DB_COLUMN(DBZorCommandData, Name),
    GX_DB_COLUMN(DBZorCommandData, ShowName),     GX_DB_COLUMN(DBZorCommandData, Enabled),
    GX_DB_COLUMN(DBZorCommandData, Function),     GX_DB_COLUMN(DBZorCommandData, Label),
    GX_DB_COLUMN(DBZorCommandData, ResourceType), GX_DB_COLUMN(DBZorCommandData, ResourceAmount),
    GX_DB_COLUMN(DBZorCommandData, Descript),
};

} // namespace

DBZorCommand g_DBZorCommand;

DBZorCommand::DBZorCommand() : GxDBTable(L"DBZorCommand", s_Columns) {}
