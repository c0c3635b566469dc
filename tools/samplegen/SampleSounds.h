#pragma once

#include "SampleTable.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The sample game's system sounds ("sounds/sys/push.wav" .. "decide.wav", the names of the system
// configuration's defaults): short 16-bit PCM tones, all at 2,640 Hz, written at run time.
std::vector<std::pair<std::filesystem::path, std::string>> SampleSoundFiles();

// The strategy game's sounds, each kind at a pitch of its own so a recording of the mixed output shows
// which played: every battle voice the strategy voice table of tables names (its row's "VoicePath" + each
// "Voice" cell + ".wav", 990 Hz), the battle one-shots ("sounds/battle/damage_astaros.wav", "sinnyuu.wav",
// "tresure_robbed.wav", 1,320 Hz) and the two victory tracks ("bgms/j04.ogg", "j05.ogg", 294 Hz).
std::vector<std::pair<std::filesystem::path, std::string>> SampleZorSoundFiles(
    const std::vector<SampleTable>& tables, std::vector<std::string>& problems);
