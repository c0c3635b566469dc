#include "appdata/DBAvgChar.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBAvgCharData, ID),
    GX_DB_COLUMN(DBAvgCharData, CharName),
    GX_DB_COLUMN(DBAvgCharData, SubLayerNum),
    GX_DB_COLUMN(DBAvgCharData, StandPath),
    GX_DB_COLUMN(DBAvgCharData, NCProjFileName),
    GX_DB_COLUMN(DBAvgCharData, VoicePath),
    GX_DB_COLUMN(DBAvgCharData, VoiceVolumeID),
    GX_DB_COLUMN(DBAvgCharData, Comment),
};

} // namespace

DBAvgChar g_DBAvgChar;

DBAvgChar::DBAvgChar() : GxDBTable(L"DBAvgChar", s_Columns) {}
