#pragma once

#include <filesystem>

// Where a benchmark program finds the build's data tools (samplegen, soundgen, moviegen): the folder
// KV_TOOLS_DIR names, else "tools" beside the program's own "bench" folder in the build tree.
class BenchTools
{
public:
    static std::filesystem::path Find(const char* tool);
};
