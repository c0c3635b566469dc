// samplegen <folder>: writes the sample game's installation folder. For now that is one file per data
// table under "data/", UTF-8 with a byte-order mark and CR LF line ends, as the game's own tables are
// saved. Files are written next to their final name and renamed over it, so a run that fails halfway
// leaves whole files only.
#include "SampleTable.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace
{

bool WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
        {
            std::fprintf(stderr, "samplegen: cannot write %s\n", temporary.string().c_str());
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error)
    {
        std::fprintf(stderr, "samplegen: cannot rename %s: %s\n", temporary.string().c_str(), error.message().c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: samplegen <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];

    std::vector<SampleTable> tables = AllTables();
    std::vector<std::string> problems = CheckTables(tables);
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    for (const SampleTable& table : tables)
        files.emplace_back(folder / table.file, "\xEF\xBB\xBF" + FormatTable(table, problems));
    if (!problems.empty())
    {
        for (const std::string& problem : problems)
            std::fprintf(stderr, "samplegen: %s\n", problem.c_str());
        return 1;
    }

    for (const auto& [path, bytes] : files)
    {
        if (!WriteFile(path, bytes))
            return 1;
    }
    std::printf("samplegen: wrote %zu tables into %s\n", files.size(), folder.string().c_str());
    return 0;
}
