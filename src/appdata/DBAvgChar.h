#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBAvgChar: the adventure characters: stand pictures, animation project, voice folder and voice level.
struct DBAvgCharData
{
    int32_t m_ID = 0;
    std::wstring m_CharName;
    int32_t m_SubLayerNum = 0;
    std::wstring m_StandPath;
    std::wstring m_NCProjFileName;
    std::wstring m_VoicePath;
    int32_t m_VoiceVolumeID = 0;
    std::wstring m_Comment;
};

// Read from "data/db_avgchar.txt".
class DBAvgChar : public GxDBTable<DBAvgCharData, 80>
{
public:
    DBAvgChar();
};

extern DBAvgChar g_DBAvgChar;
