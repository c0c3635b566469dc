#include "support/BenchTools.h"

#include <cstdlib>

std::filesystem::path BenchTools::Find(const char* tool)
{
    const char* folder = std::getenv("KV_TOOLS_DIR");
    const std::filesystem::path tools =
        folder && *folder ? std::filesystem::path(folder)
                          : std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools";
    return tools / tool;
}

std::string BenchTools::Setting(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}
