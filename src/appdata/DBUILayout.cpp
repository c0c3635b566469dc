#include "appdata/DBUILayout.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBUILayoutData, ID),           GX_DB_COLUMN(DBUILayoutData, ParentName),
    GX_DB_COLUMN(DBUILayoutData, ParentIndex),  GX_DB_COLUMN(DBUILayoutData, ModuleName),
    GX_DB_COLUMN(DBUILayoutData, TaskName),     GX_DB_COLUMN(DBUILayoutData, TaskIndex),
    GX_DB_COLUMN(DBUILayoutData, Create),       GX_DB_COLUMN(DBUILayoutData, Visible),
    GX_DB_COLUMN(DBUILayoutData, Enabled),      GX_DB_COLUMN(DBUILayoutData, Left),
    GX_DB_COLUMN(DBUILayoutData, Top),          GX_DB_COLUMN(DBUILayoutData, OrderZ),
    GX_DB_COLUMN(DBUILayoutData, GroupID),      GX_DB_COLUMN(DBUILayoutData, Text),
    GX_DB_COLUMN(DBUILayoutData, Label),        GX_DB_COLUMN(DBUILayoutData, Value),
    GX_DB_COLUMN(DBUILayoutData, Min),          GX_DB_COLUMN(DBUILayoutData, Max),
    GX_DB_COLUMN(DBUILayoutData, AutoHelpTime), GX_DB_COLUMN(DBUILayoutData, Descript),
};

} // namespace

DBUILayout g_DBUILayout;

DBUILayout::DBUILayout() : GxDBTable(L"DBUILayout", s_Columns) {}
