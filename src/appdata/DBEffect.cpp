#include "appdata/DBEffect.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBEffectData, ID),     GX_DB_COLUMN(DBEffectData, GNCName), GX_DB_COLUMN(DBEffectData, MotionGroup),
    GX_DB_COLUMN(DBEffectData, Motion), GX_DB_COLUMN(DBEffectData, Name),    GX_DB_COLUMN(DBEffectData, Descript),
};

} // namespace

DBEffect g_DBEffect;

DBEffect::DBEffect() : GxDBTable(L"DBEffect", s_Columns) {}
