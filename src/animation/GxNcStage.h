#pragma once

#include "animation/GxNcEventKey.h"
#include "animation/GxNcSoundKey.h"

#include <string>
#include <vector>

// A stage record: shaped like a motion's names and key lists, but the file gives it no values.
struct GxNcStage
{
    std::wstring m_StageName;
    std::wstring m_EnumName;
    std::vector<GxNcSoundKey> m_SoundKeys;
    std::vector<GxNcEventKey> m_EventKeys[4];
};
