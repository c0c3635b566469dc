// Runs the platform classes that hand data to FFmpeg over the fuzz seeds, the way the fuzz targets do: a
// movie input (fuzz/movie_file.cpp) has its first byte pick the demuxer and the rest is the movie, whose
// pictures and sound are decoded, sought and decoded again; a WAVE file (the inputs after --sound, as
// fuzz/sound_wave.cpp takes them, and a movie that is one) has its compressed sound decoded by the sound
// decoder. It checks nothing itself: it is built without sanitizers so that valgrind's memcheck can watch
// every value these classes hand to FFmpeg (scripts/memcheck-ffmpeg-seeds.sh). Exit 77: FFmpeg is missing.
#include "platform/PfAudioCodec.h"
#include "platform/PfFFmpeg.h"
#include "platform/PfMovieDecoder.h"
#include "support/KvMemoryMovieStream.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

// The demuxer the fuzz target's file name extension leads to, by the first input byte (modulo the count):
// .mpg .avi .mov .mpv .dat .mpa .wav .mpeg .m1v .mp3 .AVI and none; null leaves it to the probe.
const char* const kDemuxers[] = {"mpeg", "avi",  "mov",   "mpegvideo", "mpeg", "mp3",
                                 "wav",  "mpeg", nullptr, nullptr,     "avi",  nullptr};

uint32_t Le32(const uint8_t* p)
{
    return p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

uint16_t Le16(const uint8_t* p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

// A RIFF WAVE file whose format the sound decoder takes: its "data" chunk decoded in pieces of 333 bytes
// (not a block size), then the end.
void DecodeWaveSound(const std::vector<uint8_t>& file)
{
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return;
    const uint8_t* format = nullptr;
    for (size_t at = 12; at + 8 <= file.size();)
    {
        const uint32_t size = std::min<uint32_t>(Le32(file.data() + at + 4), (uint32_t)(file.size() - at - 8));
        const uint8_t* body = file.data() + at + 8;
        if (std::memcmp(file.data() + at, "fmt ", 4) == 0 && size >= 16)
            format = body;
        else if (std::memcmp(file.data() + at, "data", 4) == 0 && format)
        {
            PfAudioCodec codec;
            if (!codec.Open(Le16(format), Le32(format + 4), Le16(format + 2), Le16(format + 12)))
                return;
            std::vector<int16_t> samples;
            for (uint32_t done = 0; done < size; done += 333)
                codec.Decode(body + done, std::min<uint32_t>(333, size - done), false, samples);
            codec.Decode(nullptr, 0, true, samples);
            return;
        }
        at += 8 + (size_t)size + (size & 1);
    }
}

void PlayMovie(const std::vector<uint8_t>& input)
{
    const std::vector<uint8_t> file(input.begin() + 1, input.end());
    KvMemoryMovieStream stream(file);
    PfMovieDecoder decoder;
    std::string error;
    if (decoder.Open(&stream, kDemuxers[input[0] % std::size(kDemuxers)], PfMovieSound::Decode, &error))
    {
        for (int i = 0; i < 8 && decoder.NextVideoFrame(); ++i)
            decoder.DecodeAudio(4096);
        decoder.DecodeAudio(1 << 20);
        decoder.Seek(0.5);
        decoder.NextVideoFrame();
        decoder.DecodeAudio(4096);
        decoder.Seek(0.0);
        decoder.DecodeAudio(4096);
    }
    DecodeWaveSound(file);
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    if (!PfFFmpeg::Load(&error))
    {
        std::printf("%s: skipped\n", error.c_str());
        return 77;
    }
    bool sounds = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--sound") == 0)
        {
            sounds = true;
            continue;
        }
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<uint8_t> input{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.is_open())
        {
            std::fprintf(stderr, "%s cannot be read\n", argv[i]);
            return 2;
        }
        if (sounds)
            DecodeWaveSound(input);
        else if (!input.empty())
            PlayMovie(input);
    }
    return 0;
}
