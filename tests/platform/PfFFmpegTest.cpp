// FFmpeg is taken at the first movie or compressed sound, not at start-up: the libraries are not in the
// process before then, a movie decodes after the loading, and libraries that are missing or lack a function
// make movies and compressed sound fail to open with the reason, never a crash.
//
// The cases about the process's own loading run in a fresh process each (death-test style "threadsafe"
// starts the test program again), since any earlier case may have loaded the libraries already.
#include "../core/FileTestSupport.h"
#include "support/KvMemoryMovieStream.h"

#include "platform/PfAudioCodec.h"
#include "platform/PfFFmpeg.h"
#include "platform/PfMovieDecoder.h"
#include "platform/PfWaveFormat.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{

// A 64 x 48 MPEG-1 movie of one second made by tools/moviegen (which links FFmpeg itself, in its own
// process).
std::string MakeMovie(const KvTempDir& folder)
{
    const std::string path = folder.Path() + "/lazy.mpg";
    const char* tools = std::getenv("KV_TOOLS_DIR");
    const std::string command = std::string(tools ? tools : "tools") + "/moviegen " + path + " 64 48 1 > /dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

bool Mapped(const std::string& file)
{
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// 0 when the libraries come in only with the first movie, which then decodes its first picture.
int LoadedOnlyByTheFirstMovie(const std::string& movie)
{
    for (const std::string& file : PfFFmpeg::DefaultFiles())
        if (Mapped(file))
            return 1;
    KvMemoryMovieStream stream(KvMemoryMovieStream::ReadFile(movie));
    PfMovieDecoder decoder;
    PfAudioCodec codec;
    if (PfFFmpeg::Functions().IsLoaded() || Mapped(PfFFmpeg::DefaultFiles().back()))
        return 2;
    std::string error;
    if (stream.Empty() || !decoder.Open(&stream, "mpeg", PfMovieSound::Decode, &error))
        return 3;
    if (!Mapped(PfFFmpeg::DefaultFiles().back()) || !decoder.HasVideo() || decoder.GetWidth() != 64 ||
        !decoder.NextVideoFrame() || !decoder.GetFrame())
        return 4;
    // The sound decoders come from the same loading.
    if (!codec.Open(PF_WAVE_FORMAT_MPEGLAYER3, 44100, 2, 1))
        return 5;
    return 0;
}

// 0 when a missing library makes a movie and an MP3 sound fail with the reason, and closing and
// destroying what never opened is safe.
int MissingLibraryFailsSafely(const std::string& movie)
{
    PfFFmpeg::SetFiles({"libavutil-kv-missing.so.0"});
    KvMemoryMovieStream stream(KvMemoryMovieStream::ReadFile(movie));
    {
        PfMovieDecoder decoder;
        std::string error;
        if (decoder.Open(&stream, "mpeg", PfMovieSound::Decode, &error) || decoder.IsOpen())
            return 1;
        if (error.find("FFmpeg is not available") == std::string::npos ||
            error.find("libavutil-kv-missing.so.0") == std::string::npos)
            return 2;
        decoder.Close();
        if (decoder.NextVideoFrame() || decoder.Seek(0.5))
            return 3;
    }
    PfAudioCodec codec;
    std::string reason;
    if (codec.Open(PF_WAVE_FORMAT_MPEGLAYER3, 44100, 2, 1, &reason) || reason.empty())
        return 4;
    std::vector<int16_t> samples;
    codec.Decode(nullptr, 0, true, samples);
    // The second try gives the same answer without trying again.
    std::string again;
    if (PfFFmpeg::Load(&again) || again != reason)
        return 5;
    return 0;
}

// Leaves the fresh process a case's statement runs in with the code. That process ran the case from its
// start, fixture and movie included, and exit passes every destructor: its folder goes first.
[[noreturn]] void ExitRemoving(KvTempDir& folder, int code)
{
    folder.Remove();
    std::exit(code);
}

class PfFFmpegTest : public ::testing::Test
{
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    KvTempDir m_Folder;
};

} // namespace

TEST_F(PfFFmpegTest, LibrariesComeInWithTheFirstMovieWhichThenDecodes)
{
    const std::string movie = MakeMovie(m_Folder);
    ASSERT_FALSE(movie.empty()) << "moviegen";
    EXPECT_EXIT(ExitRemoving(m_Folder, LoadedOnlyByTheFirstMovie(movie)), ::testing::ExitedWithCode(0), "");
}

TEST_F(PfFFmpegTest, AMissingLibraryLeavesMoviesAndCompressedSoundClosedWithTheReason)
{
    const std::string movie = MakeMovie(m_Folder);
    ASSERT_FALSE(movie.empty()) << "moviegen";
    EXPECT_EXIT(ExitRemoving(m_Folder, MissingLibraryFailsSafely(movie)), ::testing::ExitedWithCode(0), "");
}

TEST_F(PfFFmpegTest, LoadingFromFilesNamesWhatIsMissingAndLeavesTheTableEmpty)
{
    PfFFmpeg table;
    std::string error;
    EXPECT_FALSE(table.LoadFrom({"libavcodec-kv-missing.so.0"}, &error));
    EXPECT_NE(error.find("libavcodec-kv-missing.so.0"), std::string::npos) << error;
    EXPECT_FALSE(table.IsLoaded());

    // A library that opens but is not FFmpeg: the first function looked for is named, none is kept.
    error.clear();
    EXPECT_FALSE(table.LoadFrom({"libz.so.1"}, &error));
    EXPECT_NE(error.find("av_channel_layout_copy"), std::string::npos) << error;
    EXPECT_EQ(table.avformat_open_input, nullptr);
    EXPECT_FALSE(table.IsLoaded());

    // The real libraries give every function.
    error.clear();
    ASSERT_TRUE(table.LoadFrom(PfFFmpeg::DefaultFiles(), &error)) << error;
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_NE(table.avcodec_find_decoder, nullptr);
    EXPECT_NE(table.sws_scale, nullptr);
}
