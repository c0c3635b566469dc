#pragma once

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// The state of one facility kind (a DBZorStruct row). Both counts are derived from the room grid by
// ZorUserData::RecountStructs and never counted by hand.
struct ZorStructState
{
    int32_t m_ID = 0;
    int32_t m_Enabled = 0;
    int32_t m_Limit = 0; // rooms that may hold the facility; 0 = no limit
    int32_t m_RoomConstructCount = 0;
    int32_t m_RoomActiveCount = 0;

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);
};
