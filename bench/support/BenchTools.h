#pragma once

#include <filesystem>
#include <string>

// Where a benchmark program finds the build's data tools (samplegen, soundgen, moviegen): the folder
// KV_TOOLS_DIR names, else "tools" beside the program's own "bench" folder in the build tree.
class BenchTools
{
public:
    static std::filesystem::path Find(const char* tool);
    // The environment variable's value, or the fallback when it is unset or empty.
    static std::string Setting(const char* name, const char* fallback);
};
