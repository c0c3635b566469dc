#pragma once

// Helpers of the sound tests: the fixture files of tools/soundgen (made once per test program), raw
// sample files, a decode of a whole decoder, a signal-to-noise ratio, a capture of the minor-error lines,
// and the mixer's pull output with the feeding threads given time to catch up between pulls.

#include "core/GxDebugListenerBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "media/GxSound.h"
#include "media/GxSoundLoaderBase.h"
#include "media/GxSoundPlayerStream.h"
#include "platform/PfAudioDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace sndtest
{

class ScratchFolder
{
public:
    explicit ScratchFolder(const char* tag = "kv_media")
    {
        static int s_Counter = 0;
        m_Path = std::filesystem::temp_directory_path() /
                 (std::string(tag) + "_" + std::to_string(getpid()) + "_" + std::to_string(s_Counter++));
        std::filesystem::create_directories(m_Path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string Path(const std::string& name) const { return (m_Path / name).string(); }
    std::wstring Wide(const std::string& name) const { return GxString::FromUtf8(Path(name)); }

private:
    std::filesystem::path m_Path;
};

inline std::string ToolPath(const char* tool)
{
    const char* tools = std::getenv("KV_TOOLS_DIR");
    return std::string(tools ? tools : "tools") + "/" + tool;
}

// The fixture set of "soundgen fixtures", written once per process.
inline const ScratchFolder& Fixtures()
{
    static ScratchFolder* s_Folder = []
    {
        auto* folder = new ScratchFolder("kv_sound_fixtures");
        const std::string command = ToolPath("soundgen") + " fixtures '" + folder->Path("") + "' 2> /dev/null";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "soundgen failed: " << command;
        return folder;
    }();
    static struct Remover
    {
        ~Remover() { delete s_Folder; }
    } s_Remover;
    return *s_Folder;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 16-bit PCM WAVE file of a sine tone (the same on every channel).
inline void WriteToneWave(const std::string& path, double seconds, double hz, uint32_t rate = 44100,
                          uint16_t channels = 2, double amplitude = 10000)
{
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    const uint32_t bytes = frames * channels * 2;
    std::vector<uint8_t> b(44 + bytes);
    auto put = [&](size_t at, uint32_t v, int n) { std::memcpy(b.data() + at, &v, n); };
    std::memcpy(b.data(), "RIFF", 4);
    put(4, 36 + bytes, 4);
    std::memcpy(b.data() + 8, "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, channels, 2);
    put(24, rate, 4);
    put(28, rate * channels * 2, 4);
    put(32, channels * 2, 2);
    put(34, 16, 2);
    std::memcpy(b.data() + 36, "data", 4);
    put(40, bytes, 4);
    for (uint32_t i = 0; i < frames; ++i)
    {
        const int16_t v = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * i / rate)));
        for (int c = 0; c < channels; ++c)
            std::memcpy(b.data() + 44 + (static_cast<size_t>(i) * channels + c) * 2, &v, 2);
    }
    WriteBytes(path, b);
}

// Root mean square of interleaved samples.
inline double Rms(const std::vector<int16_t>& samples)
{
    double sum = 0;
    for (int16_t s : samples)
        sum += static_cast<double>(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

inline std::vector<int16_t> ReadRaw(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Every byte a decoder gives, read in odd-sized pieces.
inline std::vector<uint8_t> DecodeAll(GxSoundLoaderBase& decoder)
{
    std::vector<uint8_t> out;
    uint8_t piece[3001];
    for (int guard = 0; guard < 100000; ++guard)
    {
        uint32_t got = 0;
        if (!decoder.Read(piece, sizeof(piece), &got) || got == 0)
            break;
        out.insert(out.end(), piece, piece + got);
    }
    return out;
}

inline std::vector<int16_t> AsSamples(const std::vector<uint8_t>& bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Signal-to-noise ratio in dB of test against reference over their common length, one channel of
// channels (or all when channel is -1).
inline double Snr(const std::vector<int16_t>& reference, const std::vector<int16_t>& test, int channels = 1,
                  int channel = -1)
{
    double signal = 0, noise = 0;
    const size_t n = std::min(reference.size(), test.size());
    for (size_t i = 0; i < n; ++i)
    {
        if (channel >= 0 && static_cast<int>(i % channels) != channel)
            continue;
        const double d = static_cast<double>(test[i]) - reference[i];
        signal += static_cast<double>(reference[i]) * reference[i];
        noise += d * d;
    }
    return noise == 0 ? 200.0 : 10.0 * std::log10(signal / noise);
}

// Collects minor-error lines (from any thread) while it lives; the error log goes to a scratch file.
class LogCapture : public GxDebugListenerBase
{
public:
    LogCapture() : m_OldConsole(GxLog::GetConsole()), m_OldErrorLog(GxLog::GetErrorLogPath())
    {
        GxLog::SetErrorLogPath(m_Folder.Wide("error.log"));
        GxLog::SetConsole(this);
    }
    ~LogCapture() override
    {
        GxLog::SetConsole(m_OldConsole);
        GxLog::SetErrorLogPath(m_OldErrorLog);
    }
    void OnOutput(const wchar_t* text, int) override
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Lines.emplace_back(text);
    }
    bool Has(const std::wstring& part)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (const auto& line : m_Lines)
            if (line.find(part) != std::wstring::npos)
                return true;
        return false;
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Lines.size();
    }

private:
    ScratchFolder m_Folder{"kv_media_log"};
    GxDebugListenerBase* m_OldConsole;
    std::wstring m_OldErrorLog;
    std::mutex m_Mutex;
    std::vector<std::wstring> m_Lines;
};

// Waits (at least 30 s of 1 ms sleeps) until ready() holds: the bound only tells a thread that never gets
// there from a loaded machine's lateness.
inline bool WaitUntil(const std::function<bool()>& ready)
{
    for (int i = 0; i < 30000; ++i)
    {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return ready();
}

// Pulls frames from the mixer in pieces, letting idle() (the feeding threads) catch up after each.
inline std::vector<int16_t> PullSynced(uint32_t frames, const std::function<bool()>& idle, uint32_t piece = 1024)
{
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    for (uint32_t done = 0; done < frames;)
    {
        const uint32_t n = std::min(piece, frames - done);
        PfAudioDevice::Pull(out.data() + static_cast<size_t>(done) * 2, n);
        done += n;
        EXPECT_TRUE(WaitUntil(idle));
    }
    return out;
}

// The sound service over the pull output with a clock of the test's (starting at 0: fades must not take
// that for "no fade"); device.log goes to the scratch folder.
class SoundServiceFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        s_Now = 0;
        PfAudioDevice::SetClock([] { return s_Now; });
        m_OldDeviceLog = GxLog::GetDeviceLogPath();
        GxLog::SetDeviceLogPath(m_Folder.Wide("device.log"));
        ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
        ASSERT_TRUE(GxSound::Initialize(nullptr));
    }
    void TearDown() override
    {
        GxSound::Finalize();
        PfAudioDevice::Close();
        PfAudioDevice::SetClock(nullptr);
        GxLog::SetDeviceLogPath(m_OldDeviceLog);
    }
    std::wstring File(const char* name) { return m_Folder.Wide(name); }
    // Mixed output, the feeding threads of every channel caught up between pieces.
    static std::vector<int16_t> Pull(uint32_t frames)
    {
        return PullSynced(frames,
                          []
                          {
                              for (uint32_t c = 0; c < GxSound::kChannelCount; ++c)
                                  if (!GxSound::GetChannel(c)->GetBuffer().IsFeederIdle())
                                      return false;
                              return true;
                          });
    }
    static void At(uint32_t ms)
    {
        s_Now = ms;
        GxSound::Update();
    }

    static inline uint32_t s_Now = 0;
    ScratchFolder m_Folder;
    LogCapture m_Log;
    std::wstring m_OldDeviceLog;
};

} // namespace sndtest
