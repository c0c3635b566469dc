#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBBGMMode: the music-room track list.
struct DBBGMModeData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_FileName;
    uint32_t m_LoopPosTime = 0;
    int32_t m_ButtonIndex = 0;
};

// Read from "data/db_bgmmode.txt".
class DBBGMMode : public GxDBTable<DBBGMModeData, 60>
{
public:
    DBBGMMode();
    using GxDBBase::FindRowByName;
};

extern DBBGMMode g_DBBGMMode;
