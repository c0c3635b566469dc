#include "appdata/DBZorTown.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorTownData, ID),
    GX_DB_COLUMN(DBZorTownData, Name),
    GX_DB_COLUMN(DBZorTownData, ShowName),
    GX_DB_COLUMN(DBZorTownData, Enabled),
    GX_DB_COLUMN(DBZorTownData, ButtonName),
    GX_DB_COLUMN(DBZorTownData, FlagPosX),
    GX_DB_COLUMN(DBZorTownData, FlagPosY),
    GX_DB_COLUMN(DBZorTownData, Occupied),
    GX_DB_COLUMN(DBZorTownData, RequireTownID),
    GX_DB_COLUMN(DBZorTownData, StartLabel),
    GX_DB_COLUMN(DBZorTownData, VictoryLabel),
    GX_DB_COLUMN(DBZorTownData, DefeatedLabel),
    GX_DB_COLUMN(DBZorTownData, RewardBone),
    GX_DB_COLUMN(DBZorTownData, RewardMagic),
    GX_DB_COLUMN(DBZorTownData, RewardGold),
    GX_DB_COLUMN(DBZorTownData, Notoriety),
    GX_DB_COLUMN(DBZorTownData, EnemyLevel),
    GX_DB_COLUMN(DBZorTownData, Order),
    GX_DB_COLUMN(DBZorTownData, DefaultParty),
};

} // namespace

DBZorTown g_DBZorTown;

DBZorTown::DBZorTown() : GxDBTable(L"DBZorTown", s_Columns) {}
