// A movie's sound in any rate, format and layout comes out as 44,100 Hz signed 16-bit stereo; sound a damaged
// stream claims at a rate or channel count no recording has is refused before a filter is built for it, and
// the resampler still converts the good sound that follows. The layout handed to the resampler is built in
// storage that may hold anything before.
#include "platform/PfFFmpeg.h"
#include "platform/PfMovieAudioResampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

// One frame of interleaved 16-bit sound that the test owns; the fields a decoder fills are set by hand.
struct KvSoundFrame
{
    KvSoundFrame(int rate, int channels, int samples) : pcm((size_t)samples * (size_t)channels)
    {
        frame.sample_rate = rate;
        frame.format = AV_SAMPLE_FMT_S16;
        frame.nb_samples = samples;
        frame.ch_layout.order = AV_CHANNEL_ORDER_UNSPEC;
        frame.ch_layout.nb_channels = channels;
        planes[0] = reinterpret_cast<uint8_t*>(pcm.data());
        frame.extended_data = planes;
        frame.data[0] = planes[0];
    }
    std::vector<int16_t> pcm;
    uint8_t* planes[1] = {};
    AVFrame frame = {};
};

class PfMovieAudioResamplerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        if (!PfFFmpeg::Load(&error))
            GTEST_SKIP() << "FFmpeg's libraries are not here: " << error;
    }
};

TEST_F(PfMovieAudioResamplerTest, SoundOfAnotherRateComesOutAtTheMovieRateWithItsChannelsAndLevel)
{
    PfMovieAudioResampler resampler;
    // One second of a 441 Hz tone at 22,050 Hz, the right channel the left one inverted: twice the sample
    // frames out, the channels kept apart and at their level (not silence, not clipped, not mixed).
    KvSoundFrame stereo(22050, 2, 22050);
    for (size_t i = 0; i < 22050; ++i)
    {
        const auto v = (int16_t)(12000.0 * std::sin(2.0 * M_PI * 441.0 * (double)i / 22050.0));
        stereo.pcm[2 * i] = v;
        stereo.pcm[2 * i + 1] = (int16_t)-v;
    }
    std::vector<int16_t> out;
    const int first = resampler.Convert(&stereo.frame, out);
    ASSERT_GT(first, 0);
    int flushed = 0;
    for (int got; (got = resampler.Convert(nullptr, out)) > 0;)
        flushed += got;
    EXPECT_NEAR(first + flushed, 44100, 64);
    ASSERT_EQ(out.size(), (size_t)(first + flushed) * 2);
    int loudest = 0;
    for (size_t i = 0; i + 1 < out.size(); i += 2)
    {
        EXPECT_NEAR(out[i], -out[i + 1], 1) << "sample frame " << i / 2;
        loudest = std::max(loudest, std::abs((int)out[i]));
    }
    EXPECT_NEAR(loudest, 12000, 300);
}

TEST_F(PfMovieAudioResamplerTest, AbsurdRatesAndChannelCountsAreRefusedAndGoodSoundStillConverts)
{
    PfMovieAudioResampler resampler;
    std::vector<int16_t> out;
    const struct
    {
        int rate;
        int channels;
    } refused[] = {
        {PfMovieAudioResampler::kMinRate - 1, 2}, {PfMovieAudioResampler::kMaxRate + 1, 2}, {2000000000, 2},
        {0, 2}, {-48000, 2}, {48000, 0}, {48000, -3}, {48000, PfMovieAudioResampler::kMaxChannels + 1},
    };
    for (const auto& bad : refused)
    {
        KvSoundFrame frame(bad.rate, bad.channels > 0 ? bad.channels : 1, 64);
        frame.frame.ch_layout.nb_channels = bad.channels;
        EXPECT_EQ(resampler.Convert(&frame.frame, out), -1) << bad.rate << " Hz, " << bad.channels << " channels";
        EXPECT_TRUE(out.empty());
    }
    // The rates at the bounds are sound a recording can have.
    KvSoundFrame low(PfMovieAudioResampler::kMinRate, 2, 1000);
    EXPECT_GE(resampler.Convert(&low.frame, out), 0);
    KvSoundFrame high(PfMovieAudioResampler::kMaxRate, 8, 3840);
    EXPECT_GE(resampler.Convert(&high.frame, out), 0);
    // And ordinary sound after a refusal converts as it would have before it.
    KvSoundFrame bad(2000000000, 2, 64);
    EXPECT_EQ(resampler.Convert(&bad.frame, out), -1);
    out.clear();
    resampler.Reset();
    KvSoundFrame good(44100, 2, 4410);
    for (size_t i = 0; i < good.pcm.size(); ++i)
        good.pcm[i] = (int16_t)(i % 2 ? -1000 : 1000);
    EXPECT_GT(resampler.Convert(&good.frame, out), 0);
    for (int got; (got = resampler.Convert(nullptr, out)) > 0;)
    {
    }
    EXPECT_NEAR((double)out.size() / 2, 4410, 32);
}

TEST_F(PfMovieAudioResamplerTest, InputLayoutIsBuiltWholeInStorageThatHeldAnything)
{
    const PfFFmpeg& ff = PfFFmpeg::Functions();
    // Never allocated: storage that reads as a custom layout over it must not have it freed (the sanitizer,
    // or the C library's allocator check, stops the test if it is).
    static AVChannelCustom s_NotAllocated[3] = {};
    AVChannelCustom frontPair[2] = {};
    frontPair[0].id = AV_CHAN_FRONT_LEFT;
    frontPair[1].id = AV_CHAN_FRONT_RIGHT;
    AVChannelLayout custom = {};
    custom.order = AV_CHANNEL_ORDER_CUSTOM;
    custom.nb_channels = 2;
    custom.u.map = frontPair;
    auto layout = [](AVChannelOrder order, int channels, uint64_t mask)
    {
        AVChannelLayout made = {};
        made.order = order;
        made.nb_channels = channels;
        made.u.mask = mask;
        return made;
    };
    // Stereo and 5.1 as decoders give them, a custom map, and layouts without order: two channels (read as
    // stereo) and a count no standard layout has (left without order, and nothing else set).
    const AVChannelLayout layouts[] = {layout(AV_CHANNEL_ORDER_NATIVE, 2, AV_CH_LAYOUT_STEREO),
                                       layout(AV_CHANNEL_ORDER_NATIVE, 6, AV_CH_LAYOUT_5POINT1), custom,
                                       layout(AV_CHANNEL_ORDER_UNSPEC, 2, 0), layout(AV_CHANNEL_ORDER_UNSPEC, 29, 0)};
    for (size_t i = 0; i < std::size(layouts); ++i)
    {
        const AVChannelLayout& frameLayout = layouts[i];
        AVChannelLayout expected = {};
        if (frameLayout.order == AV_CHANNEL_ORDER_UNSPEC)
            ff.av_channel_layout_default(&expected, frameLayout.nb_channels);
        else
            ASSERT_GE(ff.av_channel_layout_copy(&expected, &frameLayout), 0);

        AVChannelLayout in;
        std::memset(&in, 0xA5, sizeof(in));
        in.order = AV_CHANNEL_ORDER_CUSTOM;
        in.nb_channels = 3;
        in.u.map = s_NotAllocated;
        ASSERT_TRUE(PfMovieAudioResampler::MakeInputLayout(frameLayout, &in)) << "layout " << i;
        EXPECT_EQ(in.order, expected.order) << "layout " << i;
        EXPECT_EQ(in.nb_channels, expected.nb_channels) << "layout " << i;
        EXPECT_EQ(in.opaque, nullptr) << "layout " << i;
        if (in.order == AV_CHANNEL_ORDER_CUSTOM)
        {
            EXPECT_NE(in.u.map, frontPair);
            for (int c = 0; c < in.nb_channels; ++c)
                EXPECT_EQ(in.u.map[c].id, frontPair[c].id) << "channel " << c;
        }
        else
            EXPECT_EQ(in.u.mask, expected.u.mask) << "layout " << i;
        ff.av_channel_layout_uninit(&in);
        ff.av_channel_layout_uninit(&expected);
    }
}

} // namespace
