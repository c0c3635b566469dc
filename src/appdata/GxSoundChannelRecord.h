#pragma once

#include <cstdint>
#include <string>

// What one sound channel plays, kept in the user data so a saved game can restart it. m_Loop holds the
// caller's count (0 endless, 1 once, n n times); the channel is given m_Loop - 1.
struct GxSoundChannelRecord
{
    std::wstring m_FileName; // empty while the channel is idle
    int32_t m_Loop = 0;
    uint32_t m_StartSeekPosTime = 0; // ms
    uint32_t m_LoopPosTime = 0;      // ms
    int32_t m_FadeInTime = 0;        // ms
    int32_t m_CharID = 0;            // the speaking character of a voice

    void Clear() { *this = GxSoundChannelRecord(); }
    bool IsEmpty() const { return m_FileName.empty(); }
};
