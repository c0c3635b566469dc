// Real-time runs through SDL's "disk" audio driver, which writes the mixed output to a file: the
// streaming path as the game drives it, with the feeding threads racing the audio thread.
#include "SoundTestSupport.h"

#include "media/GxSound.h"
#include "media/GxSoundPlayerStream.h"

using namespace sndtest;

namespace
{
// The disk driver in place of the environment's for the life of the object.
class DiskAudio
{
public:
    explicit DiskAudio(const std::string& file)
    {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        m_OldDriver = driver ? driver : "";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    }
    ~DiskAudio()
    {
        setenv("SDL_AUDIODRIVER", m_OldDriver.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }

private:
    std::string m_OldDriver;
};

// Runs 60 Hz passes for ms of real time, updating the sound every fourth pass as the main loop does.
void RunFrames(uint32_t ms, uint32_t& pass)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    auto next = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < end)
    {
        if ((pass++ & 3) == 0)
            GxSound::Update();
        next += std::chrono::microseconds(16667);
        std::this_thread::sleep_until(next);
    }
}

// The offset of needle's start inside haystack's first search samples (stereo frames), or -1.
long FindStart(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle, size_t search)
{
    const size_t probe = 4096;
    for (size_t offset = 0; offset + probe < haystack.size() && offset < search * 2; offset += 2)
    {
        bool same = true;
        for (size_t i = 0; i < probe && same; ++i)
            same = std::abs(haystack[offset + i] - needle[i]) <= 1;
        if (same)
            return static_cast<long>(offset);
    }
    return -1;
}
// The level in dB (re. full scale) of a tone at hz in the left channel, measured over a Hann window of
// count frames centred on frame at (long windows keep neighbouring tones 27 Hz apart from leaking in).
double ToneDb(const std::vector<int16_t>& stereo, size_t at, size_t count, double hz)
{
    const double w = 2 * M_PI * hz / 44100.0;
    double re = 0, im = 0, weight = 0;
    const size_t from = at > count / 2 ? at - count / 2 : 0;
    for (size_t i = 0; i < count && (from + i) * 2 < stereo.size(); ++i)
    {
        const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / count);
        re += hann * stereo[(from + i) * 2] * std::cos(w * i);
        im -= hann * stereo[(from + i) * 2] * std::sin(w * i);
        weight += hann;
    }
    const double amplitude = 2 * std::sqrt(re * re + im * im) / weight;
    return 20 * std::log10(std::max(amplitude, 1e-3) / 32768.0);
}

// Where a tone first stands above threshold dB, in 10 ms steps from `from`; SIZE_MAX when never.
size_t ToneOnset(const std::vector<int16_t>& stereo, size_t from, double hz, double threshold)
{
    for (size_t f = from; f * 2 < stereo.size(); f += 441)
        if (ToneDb(stereo, f, 2205, hz) > threshold)
            return f;
    return SIZE_MAX;
}

size_t FirstSound(const std::vector<int16_t>& stereo, size_t from)
{
    for (size_t i = from * 2; i < stereo.size(); ++i)
        if (std::abs(stereo[i]) > 2)
            return i / 2;
    return SIZE_MAX;
}
} // namespace

// A 30-second Ogg streamed on a channel while the main thread runs frames: the written output is the
// reference decode (after the device's start), and the feeder never falls behind.
TEST(GxSoundDiskOutput, StreamedOggMatchesItsDecode)
{
    ScratchFolder folder;
    const std::string ogg = folder.Path("long.ogg");
    ASSERT_EQ(std::system((ToolPath("soundgen") + " tone '" + ogg + "' 30 440 660").c_str()), 0);
    const std::vector<int16_t> reference = ReadRaw(ogg + ".ref.raw");
    ASSERT_EQ(reference.size(), 30u * 44100 * 2);
    GxLog::SetDeviceLogPath(folder.Wide("device.log"));
    {
        DiskAudio disk(folder.Path("out.raw"));
        ASSERT_TRUE(GxSound::Initialize(nullptr)) << PfAudioDevice::GetLastError();
        EXPECT_EQ(PfAudioDevice::GetDriverName(), "disk");
        ASSERT_TRUE(GxSound::PlayFile(5, GxString::FromUtf8(ogg), 0, 0, 0, 0, 0, 0));
        uint32_t pass = 0;
        RunFrames(31000, pass);
        EXPECT_FALSE(GxSound::GetChannelState(5));
        EXPECT_EQ(GxSound::GetChannel(5)->GetBuffer().GetUnderrunCount(), 0u);
        GxSound::Finalize();
    }
    GxLog::SetDeviceLogPath(L"device.log");
    const std::vector<int16_t> out = ReadRaw(folder.Path("out.raw"));
    const long start = FindStart(out, reference, 44100);
    ASSERT_GE(start, 0) << "the sound's start is not in the output's first second";
    ASSERT_GE(out.size(), start + reference.size());
    size_t differences = 0;
    for (size_t i = 0; i < reference.size(); ++i)
        differences += std::abs(out[start + i] - reference[i]) > 1;
    EXPECT_EQ(differences, 0u);
}

// Music with a fade-in, a cross-fade to another, an ADPCM one-shot and a looping effect faded out, as
// the main loop drives them: each is heard where and as long as it should be.
TEST(GxSoundDiskOutput, FadesCrossFadeAndOneShotInTheWrittenOutput)
{
    ScratchFolder folder;
    const std::string first = folder.Path("a220.ogg"), second = folder.Path("b247.ogg");
    const std::string shot = folder.Path("shot.wav"), effect = folder.Path("se.wav");
    for (const std::string& command :
         {" tone '" + first + "' 6 220 220", " tone '" + second + "' 6 247 247",
          " tone '" + shot + "' 0.3 1000 1000 44100 2 ima", " tone '" + effect + "' 0.5 660 660"})
        ASSERT_EQ(std::system((ToolPath("soundgen") + command).c_str()), 0) << command;
    GxLog::SetDeviceLogPath(folder.Wide("device.log"));
    {
        DiskAudio disk(folder.Path("out.raw"));
        ASSERT_TRUE(GxSound::Initialize(nullptr));
        uint32_t pass = 0;
        RunFrames(300, pass);
        ASSERT_TRUE(GxSound::PlayBGM(GxString::FromUtf8(first), -1, 0, 1000, 0, 0, 0));
        RunFrames(2000, pass);
        ASSERT_TRUE(GxSound::PlayBGM(GxString::FromUtf8(second), -1, 0, 1000, 0, 0, 0));
        RunFrames(1500, pass);
        ASSERT_TRUE(GxSound::PlayOneShot(nullptr, GxString::FromUtf8(shot), 0, 0, 0, 0, 0));
        RunFrames(700, pass);
        ASSERT_TRUE(GxSound::PlayFile(4, GxString::FromUtf8(effect), -1, 0, 0, 0, 0, 0));
        RunFrames(1000, pass);
        ASSERT_TRUE(GxSound::Stop(4, 500));
        RunFrames(800, pass);
        EXPECT_FALSE(GxSound::GetChannelState(4));
        GxSound::Finalize();
    }
    GxLog::SetDeviceLogPath(L"device.log");
    const std::vector<int16_t> out = ReadRaw(folder.Path("out.raw"));
    const double full = 20 * std::log10(12000 / 32768.0);
    constexpr size_t kSecond = 44100;
    // The first music rises from -32 dB to its level over one second, linear in dB, stepped every
    // fourth pass (one update, 67 ms, of slack).
    const size_t a = FirstSound(out, 0);
    ASSERT_NE(a, SIZE_MAX);
    for (double t : {0.1, 0.3, 0.5, 0.7, 0.9})
    {
        const double expected = full - 32 + 32 * t;
        EXPECT_NEAR(ToneDb(out, a + static_cast<size_t>(t * kSecond), 4410, 220), expected, 2.5) << t;
    }
    EXPECT_NEAR(ToneDb(out, a + 3 * kSecond / 2, 8820, 220), full, 0.5);
    // The second comes in as the first goes (the call came two seconds after the first); after the
    // cross-fade only the second is left.
    const size_t b = a + 2 * kSecond;
    EXPECT_LT(ToneDb(out, b - kSecond / 4, 17640, 247), full - 60);
    EXPECT_NEAR(ToneDb(out, b + kSecond / 2, 8820, 220), full - 16, 5);
    EXPECT_NEAR(ToneDb(out, b + kSecond / 2, 8820, 247), full - 16, 5);
    EXPECT_LT(ToneDb(out, b + 27 * kSecond / 20, 13230, 220), full - 50);
    EXPECT_NEAR(ToneDb(out, b + 27 * kSecond / 20, 13230, 247), full, 0.5);
    // The one-shot sounds for 0.3 s, once. Later events are found in the output itself: the wall clock
    // that scheduled them drifts against the device's on a loaded machine.
    const size_t c = ToneOnset(out, b + kSecond, 1000, full - 20);
    ASSERT_NE(c, SIZE_MAX);
    size_t heard = 0;
    for (size_t f = c; f < c + 2 * kSecond / 3; f += 441)
        heard += ToneDb(out, f, 882, 1000) > full - 20;
    EXPECT_NEAR(heard * 0.01, 0.3, 0.05);
    // The looping effect sounds past its own length, fades out from one second on and is gone.
    const size_t d = ToneOnset(out, c, 660, full - 20);
    ASSERT_NE(d, SIZE_MAX);
    EXPECT_NEAR(ToneDb(out, d + 4 * kSecond / 5, 4410, 660), full, 0.5);
    // The fade's exact start follows the wall clock; what must hold is a steady fall to -32 dB, then silence.
    const double levels[] = {ToneDb(out, d + 21 * kSecond / 20, 2205, 660), ToneDb(out, d + 5 * kSecond / 4, 2205, 660),
                             ToneDb(out, d + 29 * kSecond / 20, 2205, 660)};
    EXPECT_GT(levels[0], levels[1] + 3);
    EXPECT_GT(levels[1], levels[2] + 3);
    EXPECT_GT(levels[1], full - 34);
    EXPECT_LT(ToneDb(out, d + 17 * kSecond / 10, 4410, 660), full - 50);
}
