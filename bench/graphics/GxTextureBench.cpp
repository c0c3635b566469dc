// Picture to texture: a 1024 x 768 PNG loaded into a texture, split into decode, resample (to the
// 1024 x 1024 texture, triangle filter) and upload, against the PNG reader's own decode of the same file
// (libpng's simplified reader into one buffer, the least any loader must do). And one 640 x 480 movie
// frame converted into the movie texture and uploaded.
#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxImage.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureMovie.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"
#include "platform/PfImage.h"
#include "platform/PfImageDecoderPng.h"
#include "platform/PfImageResample.h"
#include "support/BenchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// The device and the test picture, made once for the whole run.
struct Scene
{
    BenchDevice Device;
    std::string Path;
    std::vector<uint8_t> File;
    bool Ready = false;

    Scene()
    {
        if (!Device.Open("KvTextureBench"))
            return;
        // A photograph-like picture: smooth gradients with some noise, so the PNG is not trivially small.
        PfImage picture;
        picture.Allocate(1024, 768);
        uint32_t seed = 12345;
        for (uint32_t y = 0; y < 768; ++y)
            for (uint32_t x = 0; x < 1024; ++x)
            {
                seed = seed * 1103515245u + 12345u;
                const uint32_t noise = (seed >> 16) & 15;
                picture.SetPixel(x, y,
                                 0xFF000000u | ((x / 4 + noise) & 0xFF) << 16 | ((y / 3 + noise) & 0xFF) << 8 |
                                     (((x + y) / 8) & 0xFF));
            }
        Path = "/tmp/kv_bench_picture_" + std::to_string(getpid()) + ".png";
        GxImage::SaveToPNG(std::wstring(Path.begin(), Path.end()), 1024, 768, picture.GetData());
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, std::wstring(Path.begin(), Path.end()), false);
        File.assign(buffer.GetData(), buffer.GetData() + buffer.GetSize());
        Ready = !File.empty();
    }
    ~Scene()
    {
        if (!Path.empty())
            unlink(Path.c_str());
        Device.Close();
    }
};

Scene& GetScene()
{
    static Scene s_Scene;
    return s_Scene;
}

void BM_PngBareDecode(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no device");
    std::string error;
    for (auto _ : state)
    {
        PfImage image;
        benchmark::DoNotOptimize(PfImageDecoderPng::Decode(scene.File.data(), scene.File.size(), image, error));
    }
}
BENCHMARK(BM_PngBareDecode)->Unit(benchmark::kMillisecond);

void BM_Resample1024x768To1024x1024(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no device");
    PfImage image;
    std::string error;
    PfImageDecoderPng::Decode(scene.File.data(), scene.File.size(), image, error);
    for (auto _ : state)
    {
        PfImage scaled;
        benchmark::DoNotOptimize(PfImageResample::Triangle(image, 1024, 1024, scaled));
    }
}
BENCHMARK(BM_Resample1024x768To1024x1024)->Unit(benchmark::kMillisecond);

// Creating the device texture and uploading the picture into it (unscaled, padded), finished on the GPU.
void BM_Upload1024x1024(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no device");
    PfImage image;
    std::string error;
    PfImageDecoderPng::Decode(scene.File.data(), scene.File.size(), image, error);
    for (auto _ : state)
    {
        PfGLTexture texture;
        texture.Create(1024, 1024, 1, 0, D3DFMT_A8R8G8B8);
        benchmark::DoNotOptimize(GxTexture::FillFromImage(texture, image, false));
        GxGraphics::GetDevice()->Finish();
    }
}
BENCHMARK(BM_Upload1024x1024)->Unit(benchmark::kMillisecond);

// The whole load as the game does it: file read, header, decode, resample, upload.
void BM_TextureFromFile(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no device");
    const std::wstring name(scene.Path.begin(), scene.Path.end());
    const bool stretch = state.range(0) != 0;
    for (auto _ : state)
    {
        GxTexture texture;
        benchmark::DoNotOptimize(texture.CreateFromFile(name, D3DFMT_A8R8G8B8, 1, 0, stretch));
        GxGraphics::GetDevice()->Finish();
    }
    state.SetLabel(stretch ? "stretch" : "padded");
}
BENCHMARK(BM_TextureFromFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One decoded movie frame (bottom-up 24-bit) converted into the back texture on the playback side, then
// uploaded by the main thread and finished on the GPU.
void BM_MovieFrame640x480(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.Ready)
        return state.SkipWithError("no device");
    GxTextureMovie movie;
    movie.Create(L"", 640, 480, D3DFMT_X8R8G8B8, 0xFF000000u, false);
    std::vector<uint8_t> frame(640 * 480 * 3, 0x5A);
    for (auto _ : state)
    {
        movie.CopyFrame(frame.data(), 640, 480, 640 * 3);
        movie.UploadCurrent();
        GxGraphics::GetDevice()->Finish();
    }
}
BENCHMARK(BM_MovieFrame640x480)->Unit(benchmark::kMillisecond);

} // namespace
