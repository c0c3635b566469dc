#include "support/BenchSampleGame.h"

#include "support/BenchTools.h"

#include "core/GxString.h"

#include <cstdlib>
#include <unistd.h>

BenchSampleGame::BenchSampleGame()
    : m_Folder(std::filesystem::temp_directory_path() / ("kv_bench_game_" + std::to_string(getpid())))
{
    std::filesystem::create_directories(m_Folder);
    const std::string command = BenchTools::Find("samplegen").string() + " '" + m_Folder.string() + "' > /dev/null";
    if (std::system(command.c_str()) != 0)
        std::abort();
}

BenchSampleGame::~BenchSampleGame()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_Folder, ignored);
}

const std::filesystem::path& BenchSampleGame::Folder()
{
    static BenchSampleGame s_Game;
    return s_Game.m_Folder;
}

std::wstring BenchSampleGame::Path(const std::string& file)
{
    return GxString::FromUtf8((Folder() / file).string());
}
