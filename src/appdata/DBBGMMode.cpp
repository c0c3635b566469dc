#include "appdata/DBBGMMode.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBBGMModeData, ID),          GX_DB_COLUMN(DBBGMModeData, Name),
    GX_DB_COLUMN(DBBGMModeData, FileName),    GX_DB_COLUMN(DBBGMModeData, LoopPosTime),
    GX_DB_COLUMN(DBBGMModeData, ButtonIndex),
};

} // namespace

DBBGMMode g_DBBGMMode;

DBBGMMode::DBBGMMode() : GxDBTable(L"DBBGMMode", s_Columns) {}
