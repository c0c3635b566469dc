#pragma once

#include "core/GxVector2.h"

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// One enemy party announced for the current defence stage, with its place on the next-enemy panel.
struct ZorNextEnemy
{
    int32_t m_PartyID = 0;
    int32_t m_PartyNum = 0;
    int32_t m_FirstUnitID = 0;
    int32_t m_EntranceIndex = 0;
    int32_t m_AppearFramesTotal = 600;
    int32_t m_AppearFramesLeft = 600;
    int32_t m_LevelHigh = 1;
    int32_t m_LevelLow = 1;
    GxVector2 m_Pos;
    GxVector2 m_OldPos;
    float m_Time = 1.0f;

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);
};
