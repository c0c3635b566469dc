#pragma once

#include <cstddef>
#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// The state of one unit kind (a DBZorUnit row): unlocks, companion state, the kind's level and
// experience (carried into the next round) and how many units of it the player owns.
struct ZorUnitState
{
    int32_t m_ID = 0;
    int32_t m_Enabled = 0;
    int32_t m_CaptureEnabled = 0;
    int32_t m_FriendFlag = 0; // 2: joined as a companion
    int32_t m_KnockDownCount = 0;
    int32_t m_Level = 0;
    int32_t m_Exp = 0;
    int32_t m_UnitCreateCount = 0;

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);
    // The level and experience lie inside the bounds of a unit's own record (ZorUnitRecord), which a
    // unique unit summoned of this kind takes over; false after a log line under the owner's name with
    // the kind's index.
    bool CheckLevels(const wchar_t* owner, size_t index) const;
};
