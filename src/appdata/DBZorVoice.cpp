#include "appdata/DBZorVoice.h"

namespace
{

constexpr GxDBColumn s_Columns[] = {
    GX_DB_COLUMN(DBZorVoiceData, ID),        GX_DB_COLUMN(DBZorVoiceData, Name),
    GX_DB_COLUMN(DBZorVoiceData, VoicePath), GX_DB_COLUMN(DBZorVoiceData, VoiceVolumeID),
    GX_DB_COLUMN(DBZorVoiceData, Voice),
};

} // namespace

DBZorVoice g_DBZorVoice;

DBZorVoice::DBZorVoice() : GxDBTable(L"DBZorVoice", s_Columns) {}
