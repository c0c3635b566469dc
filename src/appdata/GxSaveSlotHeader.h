#pragma once

#include <string>

// What the save and load screens show of a slot without loading it.
class GxSaveSlotHeader
{
public:
    bool m_Valid = false;
    std::wstring m_SaveTime;
    std::wstring m_GameDataTitle;
    std::wstring m_RestoreSequence;
    std::wstring m_RestoreSubParam;
};
