#include "support/SampleGameCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kvtest
{

std::string SharedSampleGame()
{
    namespace fs = std::filesystem;
    const char* tools = std::getenv("KV_TOOLS_DIR");
    struct stat exe = {};
    if (!tools || stat((std::string(tools) + "/samplegen").c_str(), &exe) != 0)
        return std::string();
    const std::string name = "sample-game-" + std::to_string(exe.st_mtime) + "-" + std::to_string(exe.st_size);
    const fs::path dir = fs::path(tools) / name;
    std::error_code ec;
    if (fs::is_directory(dir, ec))
        return dir.string();
    std::string temp = (fs::path(tools) / "sample-temp-XXXXXX").string();
    if (!mkdtemp(temp.data()))
        return std::string();
    const std::string command = std::string(tools) + "/samplegen '" + temp + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || (rename(temp.c_str(), dir.c_str()) != 0 && !fs::is_directory(dir, ec)))
    {
        fs::remove_all(temp, ec);
        return std::string();
    }
    fs::remove_all(temp, ec); // left only when another process renamed its copy first
    // Games of earlier builds of samplegen are not read again.
    for (const fs::directory_entry& e : fs::directory_iterator(tools, ec))
    {
        const std::string other = e.path().filename().string();
        if (other.rfind("sample-game-", 0) == 0 && other != name)
            fs::remove_all(e.path(), ec);
    }
    return dir.string();
}

bool CopySampleGame(const std::string& folder)
{
    namespace fs = std::filesystem;
    const std::string game = SharedSampleGame();
    if (game.empty())
    {
        ADD_FAILURE() << "no sample game: samplegen is missing from KV_TOOLS_DIR or failed";
        return false;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    fs::copy(game, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec)
    {
        ADD_FAILURE() << "copying the sample game to " << folder << " failed: " << ec.message();
        return false;
    }
    return true;
}

} // namespace kvtest
