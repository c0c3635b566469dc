// Feeds arbitrary bytes to the movie reader as a movie opened through the engine's file layer (the
// source filter over GxFile), with the demuxer its extension names: open, a few pictures, some sound,
// and a seek must end without reading outside the stream. The first input byte chooses the file name's
// extension among those the reader maps (and a few it does not, which leave the choice to the probe); the
// rest is the file.
#include "FuzzSupport.h"
#include "media/GxMovieReader.h"
#include "media/GxMovieSourceFilterFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_Files[] = {
        {"kv_fuzz_movie_", ".mpg"}, {"kv_fuzz_movie_", ".avi"},  {"kv_fuzz_movie_", ".mov"}, {"kv_fuzz_movie_", ".mpv"},
        {"kv_fuzz_movie_", ".dat"}, {"kv_fuzz_movie_", ".mpa"},  {"kv_fuzz_movie_", ".wav"}, {"kv_fuzz_movie_", ".mpeg"},
        {"kv_fuzz_movie_", ".m1v"}, {"kv_fuzz_movie_", ".mp3"},  {"kv_fuzz_movie_", ".AVI"}, {"kv_fuzz_movie_", ""}};
    constexpr size_t kFiles = sizeof(s_Files) / sizeof(s_Files[0]);
    if (size < 1)
        return 0;
    const FuzzScratchFile& file = s_Files[data[0] % kFiles];
    if (!file.Write(data + 1, size - 1))
        return 0;
    const std::wstring path = file.WidePath();
    GxMovieSourceFilterFile stream(path, GxMovieSourceFilterFile::kUnlimitedRate);
    if (!stream.IsOpen())
        return 0;
    GxMovieReader reader(&stream, GxMovieReader::SubtypeOf(path));
    std::string error;
    if (!reader.Open(PfMovieSound::Decode, &error))
        return 0;
    PfMovieDecoder& decoder = reader.GetDecoder();
    for (int i = 0; i < 4 && decoder.HasVideo() && decoder.NextVideoFrame(); ++i)
    {
    }
    if (decoder.HasAudio())
        decoder.DecodeAudio(4096);
    decoder.Seek(0.5);
    decoder.NextVideoFrame();
    return 0;
}
