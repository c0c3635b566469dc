// moabuild: compiles the story-script sources of a folder into "moacode.mwb".
//
//   moabuild [SCRIPTS_FOLDER [OUTPUT_FOLDER]] [-a] [-mc]
//
// Every "*.txt" and "*.moa" file of SCRIPTS_FOLDER (default "scripts") is one script. The program is
// written to OUTPUT_FOLDER/moacode.mwb (default folder "bincode") through a temporary file that is
// synced and renamed, so a failed build leaves the previous program in place. -a and -mc are accepted
// for the engine's compiler launch and change nothing. Exit 0 on success; 1 with line-numbered
// messages on errors; 2 on a usage or file error.

#include "MoaBuilder.h"

#include "core/GxContentBinaryWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool WriteProgram(const GxMoa& moa, const fs::path& target)
{
    const fs::path temp = target.string() + ".tmp";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
        return false;
    GxContentWriterBase* writer = new GxContentBinaryWriter(file);
    bool ok = moa.Write(writer);
    delete writer;
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok)
        fs::rename(temp, target, ec);
    if (!ok || ec)
    {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "-a" || arg == "-mc")
            continue;
        if (arg == "-h" || arg == "--help" || (!arg.empty() && arg[0] == '-'))
        {
            std::cerr << "usage: moabuild [SCRIPTS_FOLDER [OUTPUT_FOLDER]] [-a] [-mc]\n";
            return 2;
        }
        positional.push_back(arg);
    }
    if (positional.size() > 2)
    {
        std::cerr << "usage: moabuild [SCRIPTS_FOLDER [OUTPUT_FOLDER]] [-a] [-mc]\n";
        return 2;
    }
    const fs::path sourceDir = positional.size() > 0 ? fs::path(positional[0]) : fs::path("scripts");
    const fs::path outputDir = positional.size() > 1 ? fs::path(positional[1]) : fs::path("bincode");

    std::error_code ec;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir, ec))
    {
        const std::string ext = Lower(entry.path().extension().string());
        if (entry.is_regular_file() && (ext == ".txt" || ext == ".moa"))
            files.push_back(entry.path());
    }
    if (ec)
    {
        std::cerr << "moabuild: cannot read folder " << sourceDir.string() << ": " << ec.message() << "\n";
        return 2;
    }
    std::sort(files.begin(), files.end());

    GxMoa moa;
    MoaBuilder builder(moa);
    for (const fs::path& path : files)
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
        {
            std::cerr << "moabuild: cannot read " << path.string() << "\n";
            return 2;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        builder.AddSource(path.string(), bytes);
    }
    builder.Finish();
    for (const std::string& message : builder.GetMessages())
        std::cerr << message << "\n";
    if (builder.GetErrorCount() > 0)
    {
        std::cerr << "moabuild: " << builder.GetErrorCount() << " error(s); the program was not written\n";
        return 1;
    }
    fs::create_directories(outputDir, ec);
    if (!WriteProgram(moa, outputDir / "moacode.mwb"))
    {
        std::cerr << "moabuild: cannot write " << (outputDir / "moacode.mwb").string() << "\n";
        return 2;
    }
    return 0;
}
