#pragma once

#include "appdata/GxSoundChannelRecord.h"

class GxCore;

// The adventure state that a save slot captures.
class GxUserData
{
public:
    explicit GxUserData(GxCore* core);
    virtual ~GxUserData();

    GxCore* m_Core;

    // Sound-channel records: the music, the background voice, SE slots 0..3, voice slots 0..3.
    GxSoundChannelRecord m_BGMRecord;
    GxSoundChannelRecord m_BGVRecord;
    GxSoundChannelRecord m_SERecord[4];
    GxSoundChannelRecord m_VoiceRecord[4];
};
