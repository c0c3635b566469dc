#include "SoundTestSupport.h"

#include "media/GxSoundBufferStream.h"
#include "media/GxSoundCache.h"
#include "media/GxSoundLoaderMemory.h"
#include "media/GxWavData.h"
#include "platform/PfAudioMixer.h"

#include <atomic>
#include <dirent.h>

using namespace sndtest;

namespace
{
// A memory decoder that promises more frames than it holds, as a cut file or a damaged stream does.
class ShortDecoder : public GxSoundLoaderMemory
{
public:
    uint32_t GetLength() const override { return GxSoundLoaderMemory::GetLength() * 2; }
};

size_t ThreadCount()
{
    size_t n = 0;
    if (DIR* d = opendir("/proc/self/task"))
    {
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

// The thread count the tests come back to, taken after a first thread has come and gone: ThreadSanitizer
// starts a helper thread of its own with the process's first thread, which would count as left behind.
size_t ThreadBaseline()
{
    std::thread([] {}).join();
    return ThreadCount();
}

class GxSoundBufferStreamPull : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
        ASSERT_TRUE(m_Sound.Create(Fixtures().Wide("pcm16_stereo.wav")));
        m_Source = ReadRaw(Fixtures().Path("pcm16_stereo.wav.src.raw"));
        ASSERT_TRUE(m_Decoder.Open(&m_Sound));
    }
    void TearDown() override
    {
        m_Stream.Release();
        PfAudioDevice::Close();
    }
    std::vector<int16_t> Pull(uint32_t frames)
    {
        return PullSynced(frames, [this] { return m_Stream.IsFeederIdle(); });
    }
    // The source's frames from..to (to = 0: the end), appended to out.
    void Append(std::vector<int16_t>& out, uint32_t from, uint32_t to = 0)
    {
        out.insert(out.end(), m_Source.begin() + from * 2, to ? m_Source.begin() + to * 2 : m_Source.end());
    }

    GxWavData m_Sound;
    std::vector<int16_t> m_Source;
    GxSoundLoaderMemory m_Decoder;
    GxSoundBufferStream m_Stream;
};
} // namespace

// A quarter second raised to a whole frame, eight of them to the ring.
TEST_F(GxSoundBufferStreamPull, BlocksAreAQuarterSecondOfWholeFrames)
{
    struct Case
    {
        uint32_t rate;
        uint16_t channels, bits;
        uint32_t block;
    } cases[] = {{44100, 2, 16, 44100}, {22050, 1, 8, 5512}, {22050, 1, 16, 11026}, {11025, 2, 16, 11028}};
    for (const Case& c : cases)
    {
        PfWaveFormat f;
        f.wFormatTag = 1;
        f.nChannels = c.channels;
        f.nSamplesPerSec = c.rate;
        f.wBitsPerSample = c.bits;
        f.nBlockAlign = static_cast<uint16_t>(c.channels * c.bits / 8);
        f.nAvgBytesPerSec = c.rate * f.nBlockAlign;
        GxWavData data;
        ASSERT_TRUE(data.Allocate(L"x.wav", f, f.nBlockAlign * 100));
        GxSoundLoaderMemory decoder;
        ASSERT_TRUE(decoder.Open(&data));
        GxSoundBufferStream stream;
        ASSERT_TRUE(stream.Create(&decoder));
        EXPECT_EQ(stream.GetBlockSize(), c.block) << c.rate << " " << c.bits;
        EXPECT_EQ(stream.GetRingSize(), 8 * c.block);
    }
}

// Played against the source sample for sample: once, from a later start, twice more from a loop
// position, endlessly from a loop position at the very end, and from a decoder that ends early.
TEST_F(GxSoundBufferStreamPull, PlaysLikeTheReference)
{
    struct Case
    {
        const char* name;
        int32_t loop;
        uint32_t start, loopFrame;
        bool shortDecoder;
        bool playingAtEnd;
    } cases[] = {
        {"once, shorter than seven blocks", 0, 0, 0, false, false},
        {"once from a later start", 0, 30000, 0, false, false},
        {"loop count 2 from 22050", 2, 0, 22050, false, false},
        {"endless with the loop at the end", -1, 0, 44100, false, true},
        {"decoder ending before its length", 0, 0, 0, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ShortDecoder shortDecoder;
        GxSoundLoaderBase* decoder = &m_Decoder;
        if (c.shortDecoder)
        {
            ASSERT_TRUE(shortDecoder.Open(&m_Sound));
            decoder = &shortDecoder;
        }
        ASSERT_TRUE(m_Stream.Create(decoder));
        ASSERT_TRUE(m_Stream.Play(c.loop, 0, c.start, c.loopFrame, 0, 0));
        std::vector<int16_t> expected;
        Append(expected, c.start);
        for (int i = 0; i < c.loop; ++i)
            Append(expected, c.loopFrame);
        const uint32_t frames = static_cast<uint32_t>(expected.size() / 2) + 3 * 11025 + 4 * 44100;
        expected.resize(static_cast<size_t>(frames) * 2, 0);
        const std::vector<int16_t> out = Pull(frames);
        size_t firstDifference = out.size();
        for (size_t i = 0; i < out.size() && firstDifference == out.size(); ++i)
            if (out[i] != expected[i])
                firstDifference = i;
        EXPECT_EQ(firstDifference, out.size()) << "first difference at frame " << firstDifference / 2;
        EXPECT_EQ(m_Stream.IsPlaying(), c.playingAtEnd);
        EXPECT_EQ(m_Stream.GetUnderrunCount(), 0u);
        m_Stream.Release();
    }
}

// Create, play and release over and over on the virtual clock of pull runs: between the start and the
// release the mixer takes from none to 36 passes of 60 Hz (up to two and a half notifications), and half the
// releases come at once after a pass, while the feeding thread may still be refilling, the others once it
// has caught up. Every release ends its feeding thread there and then (a thread it had to leave behind
// would keep the ring), nothing is left in the mixer and no thread is left. How long a release takes is
// measured by the media benchmarks, not here.
TEST_F(GxSoundBufferStreamPull, CreatePlayReleaseCyclesLeaveNothingBehind)
{
    constexpr uint32_t kFramesPerPass = 44100 / 60;
    const size_t threadsBefore = ThreadBaseline();
    LogCapture log;
    std::vector<int16_t> out(2 * kFramesPerPass);
    int leftBehind = 0;
    for (int i = 0; i < 2000; ++i)
    {
        ASSERT_TRUE(m_Stream.Create(&m_Decoder)) << "cycle " << i;
        ASSERT_TRUE(m_Stream.Play(i % 3 == 0 ? -1 : 0, 0, (i * 97) % 40000, 0, -(i % 5) * 100, 0));
        for (int pass = 0; pass < i % 37; ++pass)
        {
            ASSERT_TRUE(WaitUntil([this] { return m_Stream.IsFeederIdle(); }));
            PfAudioDevice::Pull(out.data(), kFramesPerPass);
        }
        if (i % 2 == 0)
        {
            ASSERT_TRUE(WaitUntil([this] { return m_Stream.IsFeederIdle(); }));
        }
        m_Stream.Release();
        leftBehind += m_Stream.IsCreated();
    }
    EXPECT_EQ(leftBehind, 0);
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_EQ(PfAudioMixer::Get().GetBufferCount(), 0u);
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_FALSE(m_Stream.IsPlaying());
}

namespace
{
// A decoder over memory whose reads, once armed, wait as a read from a stalled source would: until the
// stream asks it to give up (when it listens), or until the test lets it go.
class BlockingDecoder : public GxSoundLoaderMemory
{
public:
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override
    {
        if (m_Armed)
        {
            m_Blocked = true;
            while (!m_LetGo && !(m_Listens && IsInterrupted()))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_Blocked = false;
            if (!m_LetGo)
            {
                *bytesRead = 0;
                return false;
            }
        }
        return GxSoundLoaderMemory::Read(buffer, bytes, bytesRead);
    }
    std::atomic<bool> m_Armed{false};
    std::atomic<bool> m_Listens{true};
    std::atomic<bool> m_Blocked{false};
    std::atomic<bool> m_LetGo{false};
};

// What became of a release made while the feeding thread sat in a read.
struct ReleaseOutcome
{
    int64_t took = -1;        // wall milliseconds
    bool beforeLetGo = false; // it returned by itself, before the test let the read go
};

// Plays the stream looping, arms the decoder and pulls past the first block, so the feeding thread sits in a
// read; then releases on a thread of its own (a release that never returns is let go after 30 s).
ReleaseOutcome ReleaseWhileReadBlocks(GxSoundBufferStream& stream, BlockingDecoder& decoder, GxWavData& sound)
{
    EXPECT_TRUE(decoder.Open(&sound));
    EXPECT_TRUE(stream.Create(&decoder));
    EXPECT_TRUE(stream.Play(-1, 0, 0, 0, 0, 0)); // endless: every refill reads
    decoder.m_Armed = true;
    std::vector<int16_t> out(2 * 12000);
    PfAudioDevice::Pull(out.data(), 12000);
    EXPECT_TRUE(WaitUntil([&] { return decoder.m_Blocked.load(); }));
    std::atomic<bool> done{false};
    const auto start = std::chrono::steady_clock::now();
    ReleaseOutcome outcome;
    std::thread releaser(
        [&]
        {
            stream.Release();
            outcome.took =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            done = true;
        });
    outcome.beforeLetGo = WaitUntil([&] { return done.load(); });
    if (!outcome.beforeLetGo)
        decoder.m_LetGo = true;
    releaser.join();
    return outcome;
}
} // namespace

// A read that waits does not hold the release: a decoder that gives up when asked ends the feeding thread
// within the release (the ring is gone, nothing reported); one that does not is waited for the whole bound
// and no longer (the release returns by itself while the read still waits, and reports the thread), and its
// thread is joined once its read returns, before the stream makes a new ring. Only the bound's lower end is
// timed: a loaded machine can make any call late, never early.
TEST_F(GxSoundBufferStreamPull, ReleaseWaitsForABlockedReadAtMostTheBound)
{
    const std::wstring notEnding = L"ストリーム再生スレッドが終了しません";
    const size_t threadsBefore = ThreadBaseline();
    LogCapture log;
    BlockingDecoder listening;
    const ReleaseOutcome quick = ReleaseWhileReadBlocks(m_Stream, listening, m_Sound);
    EXPECT_TRUE(quick.beforeLetGo);
    EXPECT_FALSE(listening.m_Blocked);
    EXPECT_FALSE(m_Stream.IsCreated());
    EXPECT_FALSE(log.Has(notEnding));
    EXPECT_EQ(ThreadCount(), threadsBefore);

    BlockingDecoder stubborn;
    stubborn.m_Listens = false;
    const ReleaseOutcome bounded = ReleaseWhileReadBlocks(m_Stream, stubborn, m_Sound);
    EXPECT_GE(bounded.took, static_cast<int64_t>(GxSoundBufferStream::kReleaseWaitMs) - 50);
    EXPECT_TRUE(bounded.beforeLetGo);
    EXPECT_TRUE(stubborn.m_Blocked);
    EXPECT_TRUE(log.Has(notEnding));
    EXPECT_FALSE(m_Stream.IsPlaying());
    // The old ring is still the thread's: no new one yet.
    EXPECT_FALSE(m_Stream.Create(&m_Decoder));
    stubborn.m_LetGo = true;
    ASSERT_TRUE(m_Stream.Create(&m_Decoder));
    m_Stream.Release();
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(PfAudioMixer::Get().GetBufferCount(), 0u);
}

namespace
{
// A decoder whose reads, once armed, wait until the test lets them go and never give up when asked (a
// stalled source). What it knows of its read lives outside it, so the test can follow the read after the
// decoder is gone.
struct SlowReadProbe
{
    std::atomic<bool> armed{false};
    std::atomic<bool> letGo{false};
    std::atomic<int> entered{0};
    std::atomic<int> left{0};
};

class SlowReadDecoder : public GxSoundLoaderMemory
{
public:
    explicit SlowReadDecoder(SlowReadProbe& probe) : m_Probe(probe) {}
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override
    {
        if (m_Probe.armed)
        {
            ++m_Probe.entered;
            while (!m_Probe.letGo)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++m_Probe.left;
        }
        // Reads the decoder's own fields after the wait: freed memory here is a use after free.
        return GxSoundLoaderMemory::Read(buffer, bytes, bytesRead);
    }

private:
    SlowReadProbe& m_Probe;
};
} // namespace

// A channel closed while its feeding thread is inside a read that outlasts the release's bound: the close
// returns while the read still waits, and the decoder the channel drops stays alive until the read has
// returned and the thread has left it (the sanitizer build reports a use after free otherwise). Then the
// channel plays again and goes away cleanly.
TEST_F(GxSoundBufferStreamPull, AChannelClosedDuringASlowReadFreesNothingTheReadStillUses)
{
    const size_t threadsBefore = ThreadBaseline();
    SlowReadProbe probe;
    auto channel = std::make_unique<GxSoundPlayerStream>();
    auto decoder = std::make_shared<SlowReadDecoder>(probe);
    ASSERT_TRUE(decoder->Open(&m_Sound));
    ASSERT_TRUE(channel->PlayDecoder(std::move(decoder), -1, 0, 0, 0, 0, 0, 0));
    probe.armed = true;
    std::vector<int16_t> out(2 * 12000);
    PfAudioDevice::Pull(out.data(), 12000);
    ASSERT_TRUE(WaitUntil([&] { return probe.entered == 1; }));

    // A close that waited for the read would only return once this lets it go.
    std::thread watchdog(
        [&]
        {
            WaitUntil([&] { return probe.letGo.load(); });
            probe.letGo = true;
        });
    channel->Close();
    EXPECT_EQ(probe.left, 0) << "the close waited for the whole read";
    EXPECT_FALSE(channel->IsPlaying());

    // The read returns into the dropped decoder and the thread goes on through the ring's refill.
    probe.letGo = true;
    watchdog.join();
    ASSERT_TRUE(WaitUntil([&] { return probe.left == 1; }));
    probe.armed = false;
    auto again = std::make_shared<GxSoundLoaderMemory>();
    ASSERT_TRUE(again->Open(&m_Sound));
    EXPECT_TRUE(channel->PlayDecoder(std::move(again), 0, 0, 0, 0, 0, 0, 0));
    channel.reset();
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(PfAudioMixer::Get().GetBufferCount(), 0u);
}

namespace
{
// A memory decoder whose next read, once armed, waits until the test lets it go and never gives up when
// asked; it keeps the frame it read from and the bytes it got.
class GatedReadDecoder : public GxSoundLoaderMemory
{
public:
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override
    {
        if (!m_Armed.exchange(false))
            return GxSoundLoaderMemory::Read(buffer, bytes, bytesRead);
        m_Blocked = true;
        while (!m_LetGo)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_From = Tell();
        const bool read = GxSoundLoaderMemory::Read(buffer, bytes, bytesRead);
        const uint8_t* got = static_cast<const uint8_t*>(buffer);
        m_Got.assign(got, got + (read ? *bytesRead : 0));
        m_Done = true;
        return read;
    }
    std::atomic<bool> m_Armed{false};
    std::atomic<bool> m_Blocked{false};
    std::atomic<bool> m_LetGo{false};
    std::atomic<bool> m_Done{false};
    uint32_t m_From = 0;
    std::vector<uint8_t> m_Got;
};
} // namespace

// A channel streaming a sound of the cache is closed while its feeding thread sits in a read past the
// release's bound, and the cache then drops the sound: the read, let go afterwards, still gets the
// sound's own samples (the sanitizer build reports a use after free otherwise), and the thread ends.
TEST_F(GxSoundBufferStreamPull, ASoundPurgedFromTheCacheWhileAStragglerReadsIsStillReadWhole)
{
    const size_t threadsBefore = ThreadBaseline();
    const std::wstring name = Fixtures().Wide("pcm16_stereo.wav");
    GxSoundCache cache;
    GxWavData* cached = cache.Get(name);
    ASSERT_NE(cached, nullptr);
    auto decoder = std::make_shared<GatedReadDecoder>();
    ASSERT_TRUE(decoder->Open(cached));
    cache.EndUse(name);
    auto channel = std::make_unique<GxSoundPlayerStream>();
    ASSERT_TRUE(channel->PlayDecoder(decoder, -1, 0, 0, 0, 0, 0, 0));
    decoder->m_Armed = true;
    std::vector<int16_t> out(2 * 12000);
    PfAudioDevice::Pull(out.data(), 12000);
    ASSERT_TRUE(WaitUntil([&] { return decoder->m_Blocked.load(); }));

    channel->Close();
    ASSERT_FALSE(decoder->m_Done) << "the close waited for the read";
    EXPECT_TRUE(cache.PurgeUnused());
    EXPECT_EQ(cache.GetCount(), 0u);
    EXPECT_FALSE(cache.Contains(name));

    decoder->m_LetGo = true;
    ASSERT_TRUE(WaitUntil([&] { return decoder->m_Done.load(); }));
    const std::vector<int16_t> got = AsSamples(decoder->m_Got);
    ASSERT_FALSE(got.empty());
    ASSERT_LE(decoder->m_From * 2 + got.size(), m_Source.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), m_Source.begin() + decoder->m_From * 2));
    decoder.reset();
    channel.reset();
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(PfAudioMixer::Get().GetBufferCount(), 0u);
}
