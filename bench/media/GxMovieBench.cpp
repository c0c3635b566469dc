// Movie playback costs against FFmpeg on its own, on the 640 x 480 MPEG-1 test movie (10 s, 250 frames;
// argument 0) and on the same with moviegen's grain over it (argument 1), whose pictures all need decoding
// (the plain pattern is nearly still, so its decode costs less than one pass over a frame):
//   BM_MovieBareDecode          libavformat's own file reading and libavcodec's decode, no conversion (the
//                               reference); BM_MovieDecodeConvertCopy, the engine's whole frame path:
//                               reading through the file layer, decode, conversion to 24-bit rows and the
//                               copy into the movie texture. Goal: at least 0.7x the reference's frame rate.
//   BM_MovieReadFileProtocol    libavformat's file protocol reading the open file through from its start
//                               (the reference); BM_MovieReadEngineAvio, the same through our reader over
//                               GxFile; both on the grained movie (28 MB), 4 KiB at a time. Goal: at least 0.95x.
//                               Opening is left out of both: a few microseconds once per movie, it would swamp reading
//                               a file this small.
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureMovie.h"
#include "media/GxMovieSourceFilterFile.h"
#include "platform/PfMovieDecoder.h"
#include "platform/PfMovieIO.h"
#include "support/BenchDevice.h"
#include "support/BenchTools.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

// Reads of the size a demuxer asks for (a packet or a header at a time), served from each reader's buffer.
constexpr size_t kReadSize = 4096;

// The device and the movie, made once for the whole run; the movie by the build's tools/moviegen.
struct Scene
{
    BenchDevice Device;
    std::string Folder;
    std::string Paths[2];
    bool Ready = false;

    Scene()
    {
        char temp[] = "/tmp/kvmoviebenchXXXXXX";
        if (!mkdtemp(temp))
            return;
        Folder = temp;
        for (int busy = 0; busy < 2; ++busy)
        {
            Paths[busy] = Folder + (busy ? "/busy.mpg" : "/movie.mpg");
            const std::string command =
                BenchTools::Find("moviegen").string() + " " + Paths[busy] + " 640 480 10" + (busy ? " --busy" : "");
            if (std::system(command.c_str()) != 0)
                return;
        }
        Ready = Device.Open("KvMovieBench");
    }
    ~Scene()
    {
        for (const std::string& path : Paths)
            if (!path.empty())
                unlink(path.c_str());
        if (!Folder.empty())
            rmdir(Folder.c_str());
        Device.Close();
    }
};

Scene& GetScene()
{
    static Scene scene;
    return scene;
}

void BM_MovieBareDecode(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no movie or no device");
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int64_t frames = 0;
    for (auto _ : state)
    {
        AVFormatContext* format = nullptr;
        if (avformat_open_input(&format, scene.Paths[state.range(0)].c_str(), nullptr, nullptr) < 0 ||
            avformat_find_stream_info(format, nullptr) < 0)
            return state.SkipWithError("open");
        const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        const AVCodec* codec = avcodec_find_decoder(format->streams[video]->codecpar->codec_id);
        AVCodecContext* context = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(context, format->streams[video]->codecpar);
        avcodec_open2(context, codec, nullptr);
        bool more = true;
        while (more)
        {
            more = av_read_frame(format, packet) >= 0;
            if (more && packet->stream_index != video)
            {
                av_packet_unref(packet);
                continue;
            }
            avcodec_send_packet(context, more ? packet : nullptr);
            av_packet_unref(packet);
            while (avcodec_receive_frame(context, frame) == 0)
            {
                benchmark::DoNotOptimize(frame->data[0][0]);
                ++frames;
            }
        }
        avcodec_free_context(&context);
        avformat_close_input(&format);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    state.SetItemsProcessed(frames);
}
BENCHMARK(BM_MovieBareDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MovieDecodeConvertCopy(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no movie or no device");
    GxTextureMovie texture;
    if (!texture.Create(L"", 1024, 512, D3DFMT_A8R8G8B8, 0xFF000000u, false))
        return state.SkipWithError("texture");
    const std::string& path = scene.Paths[state.range(0)];
    const std::wstring name(path.begin(), path.end());
    int64_t frames = 0;
    bool opened = true;
    for (auto _ : state)
    {
        // On a thread of its own, as the movie thread does it: there the copy only marks the texture for
        // the main thread's upload.
        std::thread movie(
            [&]
            {
                GxMovieSourceFilterFile stream(name, GxMovieSourceFilterFile::kUnlimitedRate);
                PfMovieDecoder decoder;
                opened = opened && decoder.Open(&stream, "mpeg", PfMovieSound::Skip, nullptr);
                while (opened && decoder.NextVideoFrame())
                {
                    texture.CopyFrame(decoder.GetFrame(), decoder.GetWidth(), decoder.GetHeight(), decoder.GetPitch());
                    ++frames;
                }
            });
        movie.join();
    }
    if (!opened)
        return state.SkipWithError("open");
    state.SetItemsProcessed(frames);
}
BENCHMARK(BM_MovieDecodeConvertCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MovieReadFileProtocol(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no movie");
    std::vector<uint8_t> buffer(kReadSize);
    int64_t bytes = 0;
    AVIOContext* io = nullptr;
    if (avio_open(&io, scene.Paths[1].c_str(), AVIO_FLAG_READ) < 0)
        return state.SkipWithError("open");
    for (auto _ : state)
    {
        avio_seek(io, 0, SEEK_SET);
        int got;
        while ((got = avio_read(io, buffer.data(), (int)buffer.size())) > 0)
            bytes += got;
    }
    avio_closep(&io);
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_MovieReadFileProtocol);

void BM_MovieReadEngineAvio(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no movie");
    const std::wstring name(scene.Paths[1].begin(), scene.Paths[1].end());
    std::vector<uint8_t> buffer(kReadSize);
    int64_t bytes = 0;
    GxMovieSourceFilterFile stream(name, GxMovieSourceFilterFile::kUnlimitedRate);
    PfMovieIO io;
    if (!io.Create(&stream))
        return state.SkipWithError("open");
    for (auto _ : state)
    {
        avio_seek(io.GetContext(), 0, SEEK_SET);
        int got;
        while ((got = avio_read(io.GetContext(), buffer.data(), (int)buffer.size())) > 0)
            bytes += got;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_MovieReadEngineAvio);

} // namespace
