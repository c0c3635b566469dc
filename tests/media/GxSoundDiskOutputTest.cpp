// The streaming path as the main loop drives it, on the virtual clock of recorded runs: every 60 Hz pass
// moves the sound system's clock on by one step and mixes one step of samples (735 frames) from the pull
// output, after the feeding threads have dealt with what the last mix used. The written output is the
// same on a loaded machine as on an idle one, so the levels and times below hold exactly.
#include "SoundTestSupport.h"

#include "media/GxSound.h"
#include "media/GxSoundPlayerStream.h"

using namespace sndtest;

namespace
{
constexpr uint32_t kStepsPerSecond = 60;
constexpr uint32_t kFramesPerStep = 44100 / kStepsPerSecond;

// The pull output and the virtual clock for the life of the object; the sound system keeps the output.
class VirtualRun
{
public:
    VirtualRun()
    {
        s_Pass = 0;
        PfAudioDevice::SetClock(&ClockMs);
        m_Opened = PfAudioDevice::Open(PfAudioDevice::kOutputPull);
    }
    ~VirtualRun()
    {
        PfAudioDevice::Close();
        PfAudioDevice::SetClock(nullptr);
    }
    bool IsOpen() const { return m_Opened; }
    // Runs passes for ms of virtual time, updating the sound every fourth pass as the main loop does, and
    // mixing each pass's step of sound into the output.
    void RunFrames(uint32_t ms)
    {
        const uint64_t end = s_Pass + static_cast<uint64_t>(ms) * kStepsPerSecond / 1000;
        while (s_Pass < end)
        {
            if ((s_Pass & 3) == 0)
                GxSound::Update();
            const size_t at = m_Out.size();
            m_Out.resize(at + kFramesPerStep * 2);
            PfAudioDevice::Pull(m_Out.data() + at, kFramesPerStep);
            ++s_Pass;
        }
    }
    const std::vector<int16_t>& Output() const { return m_Out; }

private:
    // A non-zero start: a fade takes a time of 0 for "never started".
    static uint32_t ClockMs() { return static_cast<uint32_t>(1000 + s_Pass * 1000 / kStepsPerSecond); }

    static inline uint64_t s_Pass = 0;
    bool m_Opened = false;
    std::vector<int16_t> m_Out;
};

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
    std::vector<int16_t> out;
    {
        VirtualRun run;
        ASSERT_TRUE(run.IsOpen()) << PfAudioDevice::GetLastError();
        ASSERT_TRUE(GxSound::Initialize(nullptr));
        ASSERT_TRUE(GxSound::PlayFile(5, GxString::FromUtf8(ogg), 0, 0, 0, 0, 0, 0));
        run.RunFrames(31000);
        EXPECT_FALSE(GxSound::GetChannelState(5));
        EXPECT_EQ(GxSound::GetChannel(5)->GetBuffer().GetUnderrunCount(), 0u);
        GxSound::Finalize();
        out = run.Output();
    }
    GxLog::SetDeviceLogPath(L"device.log");
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
    std::vector<int16_t> out;
    {
        VirtualRun run;
        ASSERT_TRUE(run.IsOpen()) << PfAudioDevice::GetLastError();
        ASSERT_TRUE(GxSound::Initialize(nullptr));
        run.RunFrames(300);
        ASSERT_TRUE(GxSound::PlayBGM(GxString::FromUtf8(first), -1, 0, 1000, 0, 0, 0));
        run.RunFrames(2000);
        ASSERT_TRUE(GxSound::PlayBGM(GxString::FromUtf8(second), -1, 0, 1000, 0, 0, 0));
        run.RunFrames(1500);
        ASSERT_TRUE(GxSound::PlayOneShot(nullptr, GxString::FromUtf8(shot), 0, 0, 0, 0, 0));
        run.RunFrames(700);
        ASSERT_TRUE(GxSound::PlayFile(4, GxString::FromUtf8(effect), -1, 0, 0, 0, 0, 0));
        run.RunFrames(1000);
        ASSERT_TRUE(GxSound::Stop(4, 500));
        run.RunFrames(800);
        EXPECT_FALSE(GxSound::GetChannelState(4));
        GxSound::Finalize();
        out = run.Output();
    }
    GxLog::SetDeviceLogPath(L"device.log");
    const double full = 20 * std::log10(12000 / 32768.0);
    constexpr size_t kSecond = 44100;
    // Each update sets the level the clock gives at its pass and holds it for four passes (one update
    // every fourth pass, passes 0, 4, 8...): the middle of a hold shows that level.
    auto HoldDb = [&](size_t pass, double hz)
    { return ToneDb(out, pass * kFramesPerStep + 2 * kFramesPerStep, 2205, hz); };
    // The first music, called before pass 18, rises from -32 dB to its level over one second, linear in dB.
    const size_t a = FirstSound(out, 0);
    ASSERT_EQ(a, 18 * kFramesPerStep);
    for (size_t pass = 20; pass < 18 + 60; pass += 4)
        EXPECT_NEAR(HoldDb(pass, 220), full - 32 + 32 * (pass - 18) / 60.0, 0.5) << pass;
    EXPECT_NEAR(ToneDb(out, a + 3 * kSecond / 2, 8820, 220), full, 0.5);
    // The second comes in as the first goes (the call came two seconds after the first); after the
    // cross-fade only the second is left.
    const size_t b = a + 2 * kSecond;
    EXPECT_LT(ToneDb(out, b - kSecond / 4, 17640, 247), full - 60);
    EXPECT_NEAR(ToneDb(out, b + kSecond / 2, 8820, 220), full - 16, 5);
    EXPECT_NEAR(ToneDb(out, b + kSecond / 2, 8820, 247), full - 16, 5);
    EXPECT_LT(ToneDb(out, b + 27 * kSecond / 20, 13230, 220), full - 50);
    EXPECT_NEAR(ToneDb(out, b + 27 * kSecond / 20, 13230, 247), full, 0.5);
    // The one-shot sounds for 0.3 s, once, from its call 3.5 s after the first music's (the onset is found
    // a Hann half-window early at most).
    const size_t c = ToneOnset(out, b + kSecond, 1000, full - 20);
    ASSERT_NE(c, SIZE_MAX);
    EXPECT_NEAR(static_cast<double>(c - a) / kSecond, 3.5, 0.03);
    size_t heard = 0;
    for (size_t f = c; f < c + 2 * kSecond / 3; f += 441)
        heard += ToneDb(out, f, 882, 1000) > full - 20;
    EXPECT_NEAR(heard * 0.01, 0.3, 0.05);
    // The looping effect, called 0.7 s later, sounds past its own length; stopped a second after it came,
    // it fades to -32 dB over half a second, linear in dB and stepped every fourth pass, and is gone.
    const size_t d = ToneOnset(out, c, 660, full - 20);
    ASSERT_NE(d, SIZE_MAX);
    EXPECT_NEAR(static_cast<double>(d - a) / kSecond, 4.2, 0.03);
    const size_t stopPass = 330, e = stopPass * kFramesPerStep;
    EXPECT_EQ(e, a + 52 * kSecond / 10);
    EXPECT_NEAR(ToneDb(out, e - kSecond / 5, 4410, 660), full, 0.5);
    for (size_t pass = 332; pass < stopPass + 30; pass += 4)
        EXPECT_NEAR(HoldDb(pass, 660), full - 32 * (pass - stopPass) / 30.0, 0.5) << pass;
    EXPECT_LT(ToneDb(out, e + 7 * kSecond / 10, 4410, 660), full - 50);
}
