#include "appdata/DBZorUnit.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorUnitData, ID),
    GX_DB_COLUMN(DBZorUnitData, Name),
    GX_DB_COLUMN(DBZorUnitData, ShowName),
    GX_DB_COLUMN(DBZorUnitData, Class),
    GX_DB_COLUMN(DBZorUnitData, FaceIconImage),
    GX_DB_COLUMN(DBZorUnitData, VisualImage),
    GX_DB_COLUMN(DBZorUnitData, Enabled),
    GX_DB_COLUMN(DBZorUnitData, UniqueFlag),
    GX_DB_COLUMN(DBZorUnitData, HPMax),
    GX_DB_COLUMN(DBZorUnitData, ATK),
    GX_DB_COLUMN(DBZorUnitData, LevelLimit),
    GX_DB_COLUMN(DBZorUnitData, ExpMulti),
    GX_DB_COLUMN(DBZorUnitData, AutoHealHPRate),
    GX_DB_COLUMN(DBZorUnitData, DefRate),
    GX_DB_COLUMN(DBZorUnitData, CostBone),
    GX_DB_COLUMN(DBZorUnitData, CostMagic),
    GX_DB_COLUMN(DBZorUnitData, CostGold),
    GX_DB_COLUMN(DBZorUnitData, CostLeadership),
    GX_DB_COLUMN(DBZorUnitData, CreateTime),
    GX_DB_COLUMN(DBZorUnitData, RequireStructID),
    GX_DB_COLUMN(DBZorUnitData, RequireStructRank),
    GX_DB_COLUMN(DBZorUnitData, RequireInveigleUnitID),
    GX_DB_COLUMN(DBZorUnitData, GNCName),
    GX_DB_COLUMN(DBZorUnitData, MotionGroup),
    GX_DB_COLUMN(DBZorUnitData, Motion_stand),
    GX_DB_COLUMN(DBZorUnitData, Motion_attack),
    GX_DB_COLUMN(DBZorUnitData, Range),
    GX_DB_COLUMN(DBZorUnitData, Skill),
    GX_DB_COLUMN(DBZorUnitData, Descript),
};

} // namespace

DBZorUnit g_DBZorUnit;

DBZorUnit::DBZorUnit() : GxDBTable(L"DBZorUnit", s_Columns) {}
