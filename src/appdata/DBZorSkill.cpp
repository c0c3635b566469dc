#include "appdata/DBZorSkill.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorSkillData, ID),
    GX_DB_COLUMN(DBZorSkillData, Name),
    GX_DB_COLUMN(DBZorSkillData, ShowName),
    GX_DB_COLUMN(DBZorSkillData, Type),
    GX_DB_COLUMN(DBZorSkillData, Element),
    GX_DB_COLUMN(DBZorSkillData, Range),
    GX_DB_COLUMN(DBZorSkillData, Power),
    GX_DB_COLUMN(DBZorSkillData, HitRate),
    GX_DB_COLUMN(DBZorSkillData, SpecialType),
    GX_DB_COLUMN(DBZorSkillData, SpecialRate),
    GX_DB_COLUMN(DBZorSkillData, RoomEffect),
    GX_DB_COLUMN(DBZorSkillData, SealFlag),
    GX_DB_COLUMN(DBZorSkillData, RestrictFlag),
    GX_DB_COLUMN(DBZorSkillData, SelfDamage),
    GX_DB_COLUMN(DBZorSkillData, ReadyTime),
    GX_DB_COLUMN(DBZorSkillData, CoolingTime),
    GX_DB_COLUMN(DBZorSkillData, DamageEffect),
    GX_DB_COLUMN(DBZorSkillData, CutinGNCName),
    GX_DB_COLUMN(DBZorSkillData, CutinMotionGroup),
    GX_DB_COLUMN(DBZorSkillData, CutinMotion),
    GX_DB_COLUMN(DBZorSkillData, Descript),
};

} // namespace

DBZorSkill g_DBZorSkill;

DBZorSkill::DBZorSkill() : GxDBTable(L"DBZorSkill", s_Columns) {}
