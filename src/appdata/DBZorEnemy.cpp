#include "appdata/DBZorEnemy.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorEnemyData, ID),       GX_DB_COLUMN(DBZorEnemyData, Name),
    GX_DB_COLUMN(DBZorEnemyData, UnitName), GX_DB_COLUMN(DBZorEnemyData, LevelMultiFactor),
    GX_DB_COLUMN(DBZorEnemyData, AIType),   GX_DB_COLUMN(DBZorEnemyData, AutoAppear),
    GX_DB_COLUMN(DBZorEnemyData, Descript),
};

} // namespace

DBZorEnemy g_DBZorEnemy;

DBZorEnemy::DBZorEnemy() : GxDBTable(L"DBZorEnemy", s_Columns) {}
