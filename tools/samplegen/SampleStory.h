#pragma once

// The story of the sample game and the sounds it plays. The script sources are UTF-8 text files under
// tools/samplegen/story/, copied into the game's "scripts/" folder (moabuild compiles them there). Every
// sound is a pure tone of its own pitch, so a recording of the mixed output shows which one played:
// title music 220 Hz, story music 247 Hz, the third track 196 Hz, background voice 330 Hz, the heroine's
// voice 660 Hz, the demon lord's 880 Hz, effects 1,760 Hz (the system sounds are 2,640 Hz).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The story's script files as "scripts/<name>" with their bytes; a line in problems for a source that
// cannot be read.
std::vector<std::pair<std::filesystem::path, std::string>> StoryScriptFiles(std::vector<std::string>& problems);
// The story's music, background voice, voices and effects: Ogg Vorbis, 16-bit PCM WAVE and IMA ADPCM WAVE.
std::vector<std::pair<std::filesystem::path, std::string>> StorySoundFiles(std::vector<std::string>& problems);
