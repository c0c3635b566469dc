// samplegen <folder>: writes the sample game's installation folder: its settings files
// ("system/sysconf.ini", "setting.ini", plain ASCII), one file per data table under "data/", UTF-8
// with a byte-order mark, the image sets and effect projects, the six bitmap-font pictures under "fonts/", the system sounds
// and the story script under "scripts/", compiled by moabuild into "bincode/moacode.mwb"; CR LF line ends
// throughout, as the game's own files are saved. Files are written next to their final name and renamed
// over it, so a run that fails halfway leaves whole files only.
#include "SampleAnimation.h"
#include "SampleExtras.h"
#include "SampleCharacterProject.h"
#include "SampleFonts.h"
#include "SampleMovie.h"
#include "SamplePictures.h"
#include "SampleScript.h"
#include "SampleTablesAvg.h"
#include "SampleTablesZorScreens.h"
#include "SampleSounds.h"
#include "SampleStory.h"
#include "SampleTable.h"
#include "SampleUnitAnimation.h"
#include "SampleZorDefence.h"

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

// The product settings and the developer switches of the sample game, as a shipped game would carry them.
// Settings files are read in the system code page, so they carry no byte-order mark.
const char* const kSysConf = "APP_TITLE=Kestrelvane\r\n"
                             "APP_SAVEDIR=Kestrelvane_SAVE\r\n"
                             "FONTSIZE_0=11\r\n"
                             "FONTSIZE_1=15\r\n"
                             "FONTSIZE_2=23\r\n"
                             "FONTSIZE_3=24\r\n"
                             "FONTSIZE_4=22\r\n"
                             "FONTSIZE_5=38\r\n"
                             "BGM_NAME_TITLE=bgm01\r\n"
                             "BGM_LOOP_TITLE=2000\r\n"
                             "BGM_NAME_CGMODE=bgm03\r\n"
                             "BGM_LOOP_CGMODE=0\r\n"
                             "BGM_NAME_RPMODE=bgm02\r\n"
                             "BGM_LOOP_RPMODE=2000\r\n"
                             "LABEL_NAME_EXTRA=EXTRA\r\n";
const char* const kSetting = "SaveToMyDocuments=1\r\n"
                             "SkipSlightError=1\r\n"
                             "AutoCompile=0\r\n";

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
    AddExtraRows(tables);
    std::vector<std::string> problems;
    AddZorDefenceRows(tables, problems);
    for (std::string& problem : CheckTables(tables))
        problems.push_back(std::move(problem));
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    files.emplace_back(folder / "system" / "sysconf.ini", kSysConf);
    files.emplace_back(folder / "setting.ini", kSetting);
    for (const SampleTable& table : tables)
        files.emplace_back(folder / table.file, "\xEF\xBB\xBF" + FormatTable(table, problems));
    for (const auto& [name, text] : ZorMapFiles(problems))
        files.emplace_back(folder / name, "\xEF\xBB\xBF" + text);
    for (const auto& [name, bytes] : FontImages())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : AvgMainPictures())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : ZorScreenPictures())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : ZorDefencePictures())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : StoryScriptFiles(problems))
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : SampleSoundFiles())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : SampleZorSoundFiles(tables, problems))
        files.emplace_back(folder / name, bytes);
    // The story's pictures first: the extra screens' gallery pictures, written after them, keep the flat
    // colours their checks probe.
    for (const auto& [name, bytes] : StoryPictureFiles())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : ExtraFiles())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : FrontPictures())
        files.emplace_back(folder / name, bytes);
    for (const auto& [name, bytes] : StorySoundFiles(problems))
        files.emplace_back(folder / name, bytes);
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
    WriteAnimationData(folder, tables, problems);
    WriteUnitAnimation(folder, tables, problems);
    WriteExtraSets(folder, problems);
    WriteCharacterProject(folder, problems);
    WriteZorDefenceData(folder, problems);
    if (!WriteStoryMovie(folder / "movies" / "op.mpg"))
        problems.push_back("cannot write the movie");
    if (!problems.empty())
    {
        for (const std::string& problem : problems)
            std::fprintf(stderr, "samplegen: %s\n", problem.c_str());
        return 1;
    }
    if (!CompileSampleScripts(folder))
        return 1;
    std::printf("samplegen: wrote the settings, %zu tables, the dungeon maps, image sets, effects, fonts and the "
                "script into %s\n",
                tables.size(), folder.string().c_str());
    return 0;
}
