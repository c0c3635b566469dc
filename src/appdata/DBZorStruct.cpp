#include "appdata/DBZorStruct.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorStructData, ID),
    GX_DB_COLUMN(DBZorStructData, Name),
    GX_DB_COLUMN(DBZorStructData, ShowName),
    GX_DB_COLUMN(DBZorStructData, VisualImage),
    GX_DB_COLUMN(DBZorStructData, Enabled),
    GX_DB_COLUMN(DBZorStructData, Limit),
    GX_DB_COLUMN(DBZorStructData, Capacity),
    GX_DB_COLUMN(DBZorStructData, PassCenter),
    GX_DB_COLUMN(DBZorStructData, CostBone),
    GX_DB_COLUMN(DBZorStructData, CostMagic),
    GX_DB_COLUMN(DBZorStructData, CostGold),
    GX_DB_COLUMN(DBZorStructData, CreateTime),
    GX_DB_COLUMN(DBZorStructData, RequireExtendRank),
    GX_DB_COLUMN(DBZorStructData, RequireStructID),
    GX_DB_COLUMN(DBZorStructData, RequireInveigleUnitID),
    GX_DB_COLUMN(DBZorStructData, Descript),
};

} // namespace

DBZorStruct g_DBZorStruct;

DBZorStruct::DBZorStruct() : GxDBTable(L"DBZorStruct", s_Columns) {}
