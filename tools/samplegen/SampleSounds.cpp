#include "SampleSounds.h"

#include "SampleVorbis.h"
#include "SampleWave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{
// A mono 22,050 Hz 16-bit WAVE file of a sine tone with a short decay, so clicks stay unobtrusive.
std::string ToneWave(double hz, double seconds)
{
    const uint32_t rate = 22050;
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    std::string b(44 + frames * 2, '\0');
    auto put = [&](size_t at, uint32_t v, int n) { std::memcpy(&b[at], &v, n); };
    std::memcpy(&b[0], "RIFF", 4);
    put(4, 36 + frames * 2, 4);
    std::memcpy(&b[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, 1, 2);
    put(24, rate, 4);
    put(28, rate * 2, 4);
    put(32, 2, 2);
    put(34, 16, 2);
    std::memcpy(&b[36], "data", 4);
    put(40, frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double envelope = std::exp(-t * 12.0);
        const auto v = static_cast<int16_t>(std::lround(9000.0 * envelope * std::sin(2 * M_PI * hz * t)));
        std::memcpy(&b[44 + i * 2], &v, 2);
    }
    return b;
}
} // namespace

// Every system sound is the same 2,640 Hz pitch, which no music, voice or effect of the sample uses, so a
// recording of the mixed output tells them apart by frequency.
std::vector<std::pair<std::filesystem::path, std::string>> SampleSoundFiles()
{
    const struct
    {
        const char* name;
        double hz;
    } sounds[] = {{"push", 2640}, {"cancel", 2640}, {"open", 2640}, {"close", 2640}, {"drop", 2640}, {"decide", 2640}};
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    for (const auto& s : sounds)
        files.emplace_back(std::filesystem::path("sounds") / "sys" / (std::string(s.name) + ".wav"),
                           ToneWave(s.hz, 0.25));
    return files;
}

std::vector<std::pair<std::filesystem::path, std::string>> SampleZorSoundFiles(
    const std::vector<SampleTable>& tables, std::vector<std::string>& problems)
{
    std::vector<std::string> voicePaths;
    for (const SampleTable& table : tables)
    {
        if (table.file != "data/db_zorvoice.txt")
            continue;
        for (const SampleRow& row : table.rows)
        {
            std::string folder;
            std::string cells;
            for (const auto& [column, value] : row)
            {
                if (column == "VoicePath")
                    folder = value;
                else if (column == "Voice")
                    cells = value;
            }
            for (size_t at = 0; at <= cells.size();)
            {
                const size_t end = std::min(cells.find('|', at), cells.size());
                if (end > at)
                    voicePaths.push_back(folder + cells.substr(at, end - at) + ".wav");
                at = end + 1;
            }
        }
    }
    constexpr int kRate = 22050;
    constexpr int kAmplitude = 12000;
    constexpr double kVoiceHz = 990;
    constexpr double kOneShotHz = 1320;
    constexpr double kVictoryHz = 294;
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    // Steady tones, long enough to be measured in a recording of a step's span.
    for (const std::string& path : voicePaths)
        files.emplace_back(path, PcmWave(SampleTone(kVoiceHz, 800, kRate, kAmplitude), kRate));
    for (const char* name : {"damage_astaros", "sinnyuu", "tresure_robbed"})
        files.emplace_back(std::filesystem::path("sounds") / "battle" / (std::string(name) + ".wav"),
                           PcmWave(SampleTone(kOneShotHz, 500, kRate, kAmplitude), kRate));
    int serial = 101;
    for (const char* name : {"j04.ogg", "j05.ogg"})
    {
        std::string bytes = EncodeOggVorbis(SampleTone(kVictoryHz, 6000, kRate, kAmplitude), kRate, serial++);
        if (bytes.empty())
            problems.push_back(std::string("cannot encode ") + name);
        files.emplace_back(std::filesystem::path("bgms") / name, std::move(bytes));
    }
    return files;
}
