#include "SampleWave.h"

#include <algorithm>
#include <cmath>

namespace
{

void Put16(std::string& out, uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

const int kStepTable[89] = {7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
                            25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
                            88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
                            307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
                            1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
                            3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
                            12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
const int kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

constexpr uint32_t kBlockAlign = 512;
constexpr uint32_t kSamplesPerBlock = (kBlockAlign - 4) * 2 + 1;

// One sample coded against the running predictor and step index, both updated as a decoder would.
uint8_t EncodeNibble(int sample, int& predictor, int& index)
{
    const int step = kStepTable[index];
    int difference = sample - predictor;
    uint8_t nibble = 0;
    if (difference < 0)
    {
        nibble = 8;
        difference = -difference;
    }
    int delta = step >> 3;
    if (difference >= step)
    {
        nibble |= 4;
        difference -= step;
        delta += step;
    }
    if (difference >= step >> 1)
    {
        nibble |= 2;
        difference -= step >> 1;
        delta += step >> 1;
    }
    if (difference >= step >> 2)
    {
        nibble |= 1;
        delta += step >> 2;
    }
    predictor = std::clamp(nibble & 8 ? predictor - delta : predictor + delta, -32768, 32767);
    index = std::clamp(index + kIndexTable[nibble], 0, 88);
    return nibble;
}

} // namespace

std::vector<int16_t> SampleTone(double frequency, int milliseconds, int sampleRate, int amplitude)
{
    const size_t count = static_cast<size_t>(static_cast<int64_t>(milliseconds) * sampleRate / 1000);
    const size_t ramp = static_cast<size_t>(sampleRate / 200);
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
    {
        double gain = 1.0;
        if (i < ramp)
            gain = static_cast<double>(i) / ramp;
        else if (count - i < ramp)
            gain = static_cast<double>(count - i) / ramp;
        const double phase = 2.0 * 3.14159265358979323846 * frequency * static_cast<double>(i) / sampleRate;
        samples[i] = static_cast<int16_t>(std::lround(amplitude * gain * std::sin(phase)));
    }
    return samples;
}

std::string PcmWave(const std::vector<int16_t>& samples, int sampleRate)
{
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataSize);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, static_cast<uint32_t>(sampleRate));
    Put32(out, static_cast<uint32_t>(sampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataSize);
    for (int16_t sample : samples)
        Put16(out, static_cast<uint16_t>(sample));
    return out;
}

std::string ImaAdpcmWave(const std::vector<int16_t>& samples, int sampleRate)
{
    const size_t blocks = (samples.size() + kSamplesPerBlock - 1) / kSamplesPerBlock;
    const uint32_t dataSize = static_cast<uint32_t>(blocks * kBlockAlign);
    std::string out = "RIFF";
    Put32(out, 4 + 28 + 12 + 8 + dataSize);
    out += "WAVEfmt ";
    Put32(out, 20);
    Put16(out, 0x11);
    Put16(out, 1);
    Put32(out, static_cast<uint32_t>(sampleRate));
    Put32(out, static_cast<uint32_t>(static_cast<uint64_t>(sampleRate) * kBlockAlign / kSamplesPerBlock));
    Put16(out, kBlockAlign);
    Put16(out, 4);
    Put16(out, 2);
    Put16(out, kSamplesPerBlock);
    out += "fact";
    Put32(out, 4);
    Put32(out, static_cast<uint32_t>(samples.size()));
    out += "data";
    Put32(out, dataSize);
    int index = 0;
    for (size_t block = 0; block < blocks; ++block)
    {
        const size_t first = block * kSamplesPerBlock;
        auto at = [&](size_t i) { return first + i < samples.size() ? samples[first + i] : int16_t{0}; };
        // The block header carries the first sample whole; the step index runs on from the last block.
        int predictor = at(0);
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(predictor)));
        out.push_back(static_cast<char>(index));
        out.push_back(0);
        for (size_t i = 1; i < kSamplesPerBlock; i += 2)
        {
            const uint8_t low = EncodeNibble(at(i), predictor, index);
            const uint8_t high = EncodeNibble(at(i + 1), predictor, index);
            out.push_back(static_cast<char>(low | high << 4));
        }
    }
    return out;
}
