// The movie's sound ring on the mixer's pull output: a starved ring plays silence, never its old sound, and
// counts only real sound as played.
#include "media/GxMovieSoundBuffer.h"
#include "platform/PfAudioDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

// Pulls frames of output and counts those that carry the value on both channels, and those that are silent.
std::pair<uint32_t, uint32_t> PullCounting(uint32_t frames, int16_t value)
{
    std::vector<int16_t> out((size_t)frames * 2);
    PfAudioDevice::Pull(out.data(), frames);
    uint32_t carried = 0, silent = 0;
    for (uint32_t i = 0; i < frames; ++i)
    {
        carried += out[2 * i] == value && out[2 * i + 1] == value;
        silent += out[2 * i] == 0 && out[2 * i + 1] == 0;
    }
    return {carried, silent};
}

} // namespace

TEST(GxMovieSoundBuffer, StarvedRingPlaysSilenceAndCountsOnlyRealSound)
{
    ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
    std::unique_ptr<GxMovieSoundOutput> sound = GxMovieSoundBuffer::Create();
    ASSERT_NE(sound, nullptr);
    const std::vector<int16_t> block(2 * 1000, 1000);
    EXPECT_EQ(sound->Write(block.data(), 1000), 1000u);
    sound->Play();
    EXPECT_EQ(PullCounting(1500, 1000), std::make_pair(1000u, 500u));
    EXPECT_EQ(sound->GetPlayedFrames(), 1000u);
    EXPECT_EQ(sound->GetQueuedFrames(), 0u);
    // A whole lap of the ring later the old sound has not come round again.
    EXPECT_EQ(PullCounting(GxMovieSoundBuffer::kRingFrames, 1000).first, 0u);
    // Sound written after starving plays after a short silence; the count moves on from where it stood.
    EXPECT_EQ(sound->Write(block.data(), 500), 500u);
    EXPECT_EQ(sound->GetPlayedFrames(), 1000u);
    EXPECT_EQ(sound->GetQueuedFrames(), 500u);
    EXPECT_EQ(PullCounting(2000, 1000).first, 500u);
    EXPECT_EQ(sound->GetPlayedFrames(), 1500u);
    // The ring never takes more than it can hold ahead of the cursor.
    std::vector<int16_t> lots(2 * 2 * GxMovieSoundBuffer::kRingFrames, 7);
    EXPECT_LT(sound->Write(lots.data(), 2 * GxMovieSoundBuffer::kRingFrames), GxMovieSoundBuffer::kRingFrames);
    sound.reset();
    PfAudioDevice::Close();
}
