#pragma once

#include "appdata/GxDBTable.h"

#include <cstdint>
#include <string>

// One row of DBZorVoice: voice sets of up to 24 voice file names under one path prefix.
struct DBZorVoiceData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    std::wstring m_VoicePath;
    int32_t m_VoiceVolumeID = 0;
    std::wstring m_Voice[24];
};

// Read from "data/db_zorvoice.txt".
class DBZorVoice : public GxDBTable<DBZorVoiceData, 160>
{
public:
    DBZorVoice();
    using GxDBBase::FindRowByName;
};

extern DBZorVoice g_DBZorVoice;
