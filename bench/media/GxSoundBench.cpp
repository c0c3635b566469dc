// Sound decoding, mixing and the service's per-pass cost, each beside a reference measured in the same
// run:
//   Ogg through the file layer (loose and packed) vs. libvorbisfile decoding the same bytes from memory;
//   IMA ADPCM and A-law decodes of the same length vs. that bare Ogg decode;
//   16 voices mixed for one second of output vs. one second of real time (read the time as a fraction);
//   a one-shot start of a cached one-second sound vs. a memcpy of its PCM;
//   GxSound::Update with 32 fading channels and 16 one-shots vs. 48 bare buffer volume sets;
//   a stream's release (its feeding thread woken, ended and joined, the ring unlinked) while a mixer thread
//   pulls vs. a bare thread started and joined.
// Fixtures come from tools/soundgen.
#include "../../tools/gxpack/GxPackWriter.h"

#include "core/GxFile.h"
#include "media/GxSound.h"
#include "media/GxSoundBufferStream.h"
#include "media/GxSoundCache.h"
#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderMemory.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxSoundPlayerStream.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfSoundBuffer.h"
#include "media/GxWavData.h"
#include "platform/PfVorbisFile.h"
#include "support/BenchTools.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
constexpr double kSeconds = 10.0;

struct Fixtures
{
    std::filesystem::path dir;
    std::vector<uint8_t> ogg;

    Fixtures()
    {
        dir = std::filesystem::temp_directory_path() / ("kv_bench_media_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir / "sounds");
        const std::filesystem::path tool = BenchTools::Find("soundgen");
        const std::string seconds = std::to_string(kSeconds);
        for (const std::string& args : {"'" + Path("sounds/tone.ogg") + "' " + seconds + " 440 660",
                                        "'" + Path("sounds/tone_ima.wav") + "' " + seconds + " 440 660 44100 2 ima",
                                        "'" + Path("sounds/tone_alaw.wav") + "' " + seconds + " 440 660 44100 2 alaw",
                                        "'" + Path("sounds/shot.wav") + "' 1 880 880"})
            if (std::system((tool.string() + " tone " + args).c_str()) != 0)
                std::abort();
        std::ifstream in(Path("sounds/tone.ogg"), std::ios::binary);
        ogg.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        GxPackWriter pack;
        pack.Add(L"packed/tone.ogg", ogg, 0);
        pack.Write(Path("sounds.gxp"), GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled);
        GxFile::MountPack(Wide("sounds.gxp"));
        std::filesystem::current_path(dir);
    }
    ~Fixtures()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::wstring Wide(const std::string& name) const
    {
        const std::string p = Path(name);
        return std::wstring(p.begin(), p.end());
    }
};

Fixtures& Data()
{
    static Fixtures s_Data;
    return s_Data;
}

size_t DecodeAll(GxSoundLoaderBase& decoder, std::vector<uint8_t>& buffer)
{
    size_t total = 0;
    uint32_t got = 0;
    while (decoder.Read(buffer.data(), static_cast<uint32_t>(buffer.size()), &got) && got > 0)
        total += got;
    return total;
}

// --- decoding ------------------------------------------------------------------------------------

void BM_OggBareFromMemory(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = Data().ogg;
    std::vector<uint8_t> buffer(65536);
    for (auto _ : state)
    {
        PfVorbisFile vorbis;
        vorbis.OpenMemory(bytes.data(), bytes.size());
        long got;
        size_t total = 0;
        while ((got = vorbis.Read(buffer.data(), static_cast<int>(buffer.size()))) > 0)
            total += static_cast<size_t>(got);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_OggBareFromMemory)->Unit(benchmark::kMillisecond);

void BM_OggLoaderLoose(benchmark::State& state)
{
    const std::wstring name = Data().Wide("sounds/tone.ogg");
    std::vector<uint8_t> buffer(65536);
    for (auto _ : state)
    {
        GxSoundLoaderOgg loader;
        loader.Open(name);
        benchmark::DoNotOptimize(DecodeAll(loader, buffer));
    }
}
BENCHMARK(BM_OggLoaderLoose)->Unit(benchmark::kMillisecond);

void BM_OggLoaderPacked(benchmark::State& state)
{
    Data();
    std::vector<uint8_t> buffer(65536);
    for (auto _ : state)
    {
        GxSoundLoaderOgg loader;
        if (!loader.Open(L"packed/tone.ogg"))
            state.SkipWithError("packed entry not found");
        benchmark::DoNotOptimize(DecodeAll(loader, buffer));
    }
}
BENCHMARK(BM_OggLoaderPacked)->Unit(benchmark::kMillisecond);

void BM_AcmDecode(benchmark::State& state, const char* file)
{
    const std::wstring name = Data().Wide(file);
    std::vector<uint8_t> buffer(65536);
    for (auto _ : state)
    {
        GxSoundLoaderAcm loader;
        loader.Open(name);
        benchmark::DoNotOptimize(DecodeAll(loader, buffer));
    }
}
BENCHMARK_CAPTURE(BM_AcmDecode, ImaAdpcm, "sounds/tone_ima.wav")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AcmDecode, ALaw, "sounds/tone_alaw.wav")->Unit(benchmark::kMillisecond);

// --- mixing ----------------------------------------------------------------------------------------

// One second of output from 16 voices of mixed rates, depths, channel counts, pans and levels.
void BM_Mix16VoicesOneSecond(benchmark::State& state)
{
    PfAudioDevice::Open(PfAudioDevice::kOutputPull);
    std::vector<std::unique_ptr<PfSoundBuffer>> voices;
    const uint32_t rates[] = {44100, 22050, 48000, 11025, 32000, 44100, 8000, 96000};
    for (int i = 0; i < 16; ++i)
    {
        PfWaveFormat f;
        f.wFormatTag = 1;
        f.nChannels = static_cast<uint16_t>(1 + i % 2);
        f.wBitsPerSample = static_cast<uint16_t>(i % 3 == 0 ? 8 : 16);
        f.nSamplesPerSec = rates[i % 8];
        f.nBlockAlign = static_cast<uint16_t>(f.nChannels * f.wBitsPerSample / 8);
        f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
        auto buffer = PfSoundBuffer::Create(f, f.nSamplesPerSec / 4 * f.nBlockAlign);
        void *p1, *p2;
        uint32_t n1, n2;
        buffer->Lock(0, buffer->GetSize(), &p1, &n1, &p2, &n2);
        for (uint32_t b = 0; b < n1; ++b)
            static_cast<uint8_t*>(p1)[b] = static_cast<uint8_t>(b * 37 + i);
        buffer->SetVolume(-100 * i);
        buffer->SetPan(-8000 + 1000 * i);
        buffer->Play(PfSoundBuffer::kPlayLooping);
        voices.push_back(std::move(buffer));
    }
    std::vector<int16_t> out(44100 * 2);
    for (auto _ : state)
    {
        PfAudioDevice::Pull(out.data(), 44100);
        benchmark::DoNotOptimize(out.data());
    }
    voices.clear();
    PfAudioDevice::Close();
}
BENCHMARK(BM_Mix16VoicesOneSecond)->Unit(benchmark::kMillisecond);

// --- the service -------------------------------------------------------------------------------------

uint32_t s_Now = 1;
uint32_t BenchClock()
{
    return s_Now;
}

void BM_MemcpyOneSecondPcm(benchmark::State& state)
{
    std::vector<uint8_t> from(176400, 1), to(176400);
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_MemcpyOneSecondPcm)->Unit(benchmark::kMicrosecond);

void BM_OneShotStartCached(benchmark::State& state)
{
    const std::wstring name = Data().Wide("sounds/shot.wav");
    PfAudioDevice::SetClock(BenchClock);
    PfAudioDevice::Open(PfAudioDevice::kOutputPull);
    GxSound::Initialize(nullptr);
    GxSound::GetCache().Preload(name, true);
    for (auto _ : state)
    {
        s_Now += 10;
        GxSound::PlayOneShot(nullptr, name, 0, 0, 0, 0, 0);
        state.PauseTiming();
        GxSound::StopAllOneShots();
        state.ResumeTiming();
    }
    GxSound::Finalize();
    PfAudioDevice::Close();
    PfAudioDevice::SetClock(nullptr);
}
BENCHMARK(BM_OneShotStartCached)->Unit(benchmark::kMicrosecond);

void BM_UpdateFadingChannelsAndOneShots(benchmark::State& state)
{
    PfAudioDevice::SetClock(BenchClock);
    PfAudioDevice::Open(PfAudioDevice::kOutputPull);
    GxSound::Initialize(nullptr);
    const std::wstring shot = Data().Wide("sounds/shot.wav");
    // Plain PCM for the channels (they stream PCM WAVE and Ogg only).
    for (uint32_t c = 0; c < GxSound::kChannelCount; ++c)
        GxSound::PlayFile(c, shot, -1, 0, 1000000, 0, 0, 0);
    for (int i = 0; i < 16; ++i)
    {
        s_Now += 10;
        GxSound::PlayOneShot(nullptr, shot, -1, 0, 1000000, 0, 0);
    }
    for (auto _ : state)
    {
        s_Now += 1;
        GxSound::Update();
    }
    GxSound::Finalize();
    PfAudioDevice::Close();
    PfAudioDevice::SetClock(nullptr);
}
BENCHMARK(BM_UpdateFadingChannelsAndOneShots)->Unit(benchmark::kMicrosecond);

void BM_48BareVolumeSets(benchmark::State& state)
{
    PfAudioDevice::Open(PfAudioDevice::kOutputPull);
    PfWaveFormat f;
    f.wFormatTag = 1;
    f.nChannels = 2;
    f.wBitsPerSample = 16;
    f.nSamplesPerSec = 44100;
    f.nBlockAlign = 4;
    f.nAvgBytesPerSec = 176400;
    std::vector<std::unique_ptr<PfSoundBuffer>> buffers;
    for (int i = 0; i < 48; ++i)
        buffers.push_back(PfSoundBuffer::Create(f, 4096));
    int32_t level = 0;
    for (auto _ : state)
    {
        level = (level - 7) % 3200;
        for (auto& buffer : buffers)
            buffer->SetVolume(level);
    }
    buffers.clear();
    PfAudioDevice::Close();
}
BENCHMARK(BM_48BareVolumeSets)->Unit(benchmark::kMicrosecond);

// --- stream release ----------------------------------------------------------------------------------

void BM_BareThreadStartJoin(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::thread thread([] { benchmark::ClobberMemory(); });
        thread.join();
    }
}
BENCHMARK(BM_BareThreadStartJoin)->Unit(benchmark::kMicrosecond);

// Only the release is timed; the create and the start (a thread start and seven blocks read) are not.
void BM_StreamReleaseWhileMixing(benchmark::State& state)
{
    PfAudioDevice::Open(PfAudioDevice::kOutputPull);
    GxWavData sound;
    if (!sound.Create(Data().Wide("sounds/shot.wav")))
        std::abort();
    GxSoundLoaderMemory decoder;
    decoder.Open(&sound);
    std::atomic<bool> stop{false};
    std::thread mixer(
        [&]
        {
            std::vector<int16_t> out(2 * 512);
            while (!stop)
            {
                PfAudioDevice::Pull(out.data(), 512);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    GxSoundBufferStream stream;
    for (auto _ : state)
    {
        state.PauseTiming();
        stream.Create(&decoder);
        stream.Play(-1, 0, 0, 0, 0, 0);
        state.ResumeTiming();
        stream.Release();
    }
    stop = true;
    mixer.join();
    PfAudioDevice::Close();
}
BENCHMARK(BM_StreamReleaseWhileMixing)->Unit(benchmark::kMicrosecond);
} // namespace
