#pragma once

// The sample game's story script and its compilation: "scripts/main.txt" holds the label "MAIN", where
// the title screen starts the story, and tools/moabuild (found beside samplegen) compiles the folder into
// "bincode/moacode.mwb".

#include <filesystem>
#include <string>

// The UTF-8 source of "scripts/main.txt".
std::string MainScript();
// Runs moabuild on folder/scripts into folder/bincode and waits for it; false with a message on stderr
// when it cannot be started or reports errors.
bool CompileSampleScripts(const std::filesystem::path& folder);
