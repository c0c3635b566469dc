#include "SampleSounds.h"

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
