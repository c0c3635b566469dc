// Feeds arbitrary bytes to the movie reader as a movie opened through the engine's file layer (the
// source filter over GxFile), with the demuxer its extension names: open, a few pictures, some sound,
// and a seek must end without reading outside the stream.
#include "FuzzSupport.h"
#include "media/GxMovieReader.h"
#include "media/GxMovieSourceFilterFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_movie_", ".mpg");
    if (!s_File.Write(data, size))
        return 0;
    const std::wstring path = s_File.WidePath();
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
