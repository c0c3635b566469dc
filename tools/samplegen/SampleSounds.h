#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The sample game's system sounds ("sounds/sys/push.wav" .. "decide.wav", the names of the system
// configuration's defaults): short 16-bit PCM tones, all at 2,640 Hz, written at run time.
std::vector<std::pair<std::filesystem::path, std::string>> SampleSoundFiles();
