#include "SampleStory.h"

#include "SampleDefenceLesson.h"
#include "SampleVorbis.h"
#include "SampleWave.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace
{

constexpr int kSampleRate = 22050;
constexpr int kAmplitude = 12000;

// The story's source files, in the order they are installed.
const char* const kStorySources[] = {"main.txt", "extra.txt", "war.txt", "campaign.txt", "defence.txt"};

// The story source with the defence lesson's lines in place of its mark line; false when it has no such
// line or more than one.
bool PutDefenceLesson(std::string& text)
{
    const std::string mark = std::string(kSampleDefenceLessonMark) + "\n";
    const size_t at = text.find(mark);
    if (at == std::string::npos || (at != 0 && text[at - 1] != '\n') || text.find(mark, at + 1) != std::string::npos)
        return false;
    std::string lines;
    for (const SampleDefenceLesson& line : kSampleDefenceLesson)
        lines += SampleDefenceLessonLine(line) + "\n";
    text.replace(at, mark.size(), lines);
    return true;
}

} // namespace

std::vector<std::pair<std::filesystem::path, std::string>> StoryScriptFiles(std::vector<std::string>& problems)
{
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    const std::filesystem::path sources = KV_SAMPLEGEN_STORY_DIR;
    for (const char* name : kStorySources)
    {
        std::ifstream in(sources / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in || text.str().empty())
        {
            problems.push_back("cannot read the story source " + (sources / name).string());
            continue;
        }
        std::string script = text.str();
        if (std::string(name) == "war.txt" && !PutDefenceLesson(script))
            problems.push_back("the story source war.txt has no single line " + std::string(kSampleDefenceLessonMark));
        files.emplace_back(std::filesystem::path("scripts") / name, std::move(script));
    }
    return files;
}

std::vector<std::pair<std::filesystem::path, std::string>> StorySoundFiles(std::vector<std::string>& problems)
{
    const struct
    {
        const char* path;
        double hz;
        int milliseconds;
    } oggs[] = {
        {"bgms/bgm01.ogg", 220, 6000},          {"bgms/bgm02.ogg", 247, 6000},
        {"bgms/bgm03.ogg", 196, 6000},          {"sounds/bgvs/wind.ogg", 330, 3000},
        {"voices/lilith/lilith_0001.ogg", 660, 1200}, {"voices/lilith/lilith_0002.ogg", 660, 1200},
        {"voices/lilith/lilith_0003.ogg", 660, 1200}, {"voices/zorde/zorde_0001.ogg", 880, 1200},
        {"voices/zorde/zorde_0002.ogg", 880, 1200},   {"sounds/se/hit.ogg", 1760, 400},
        {"sounds/se/door.ogg", 1760, 600},
    };
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    int serial = 1;
    for (const auto& ogg : oggs)
    {
        std::string bytes = EncodeOggVorbis(SampleTone(ogg.hz, ogg.milliseconds, kSampleRate, kAmplitude), kSampleRate,
                                            serial++);
        if (bytes.empty())
            problems.push_back(std::string("cannot encode ") + ogg.path);
        files.emplace_back(ogg.path, std::move(bytes));
    }
    // Two effects as WAVE files, one of each form the sound decoders read.
    const std::vector<int16_t> bell = SampleTone(1760, 500, kSampleRate, kAmplitude);
    files.emplace_back("sounds/se/bell.wav", PcmWave(bell, kSampleRate));
    files.emplace_back("sounds/se/step.wav", ImaAdpcmWave(SampleTone(1760, 300, kSampleRate, kAmplitude), kSampleRate));
    return files;
}
