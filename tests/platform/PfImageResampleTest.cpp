// Triangle resampling of opaque pictures stretched only in height (the common 1024 x 768 to 1024 x 1024
// texture load): the vectorised row blend against a plain tent filter in doubles, and the blocks of
// sixteen bytes against the per-byte tail of the same row.
#include "platform/PfImage.h"
#include "platform/PfImageResample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// Opaque noise, with every fourth row black or white so neighbouring rows differ by the full 255 both ways.
PfImage NoisePicture(uint32_t width, uint32_t height, uint32_t seed)
{
    PfImage picture;
    picture.Allocate(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            seed = seed * 1103515245u + 12345u;
            uint32_t rgb = (seed >> 8) & 0xFFFFFF;
            if (y % 4 == 1)
                rgb = (x + y / 4) % 2 ? 0xFFFFFF : 0;
            picture.SetPixel(x, y, 0xFF000000u | rgb);
        }
    return picture;
}

// One channel of destination (x, y) under a tent one destination pixel wide, scaled in height only.
double TentInHeight(const PfImage& source, uint32_t height, uint32_t x, uint32_t y, int channel)
{
    const uint32_t sh = source.GetHeight();
    const double centre = (y + 0.5) * sh / height - 0.5;
    double sum = 0.0, weights = 0.0;
    for (int s = (int)std::floor(centre); s <= (int)std::floor(centre) + 1; ++s)
    {
        if (s < 0 || s >= (int)sh)
            continue;
        const double w = std::max(0.0, 1.0 - std::fabs(s - centre));
        sum += w * source.GetRow((uint32_t)s)[x * 4 + channel];
        weights += w;
    }
    if (weights <= 0.0)
        return source.GetRow((uint32_t)std::clamp((int)std::lround(centre), 0, (int)sh - 1))[x * 4 + channel];
    return sum / weights;
}

} // namespace

TEST(PfImageResampleTest, StretchInHeightMatchesTheTentFilterWithinOne)
{
    const PfImage source = NoisePicture(1024, 768, 7);
    PfImage out;
    ASSERT_TRUE(PfImageResample::Triangle(source, 1024, 1024, out));
    ASSERT_EQ(out.GetWidth(), 1024u);
    ASSERT_EQ(out.GetHeight(), 1024u);
    int worst = 0;
    for (uint32_t y = 0; y < 1024; ++y)
        for (uint32_t x = 0; x < 1024; x += 7)
        {
            const uint8_t* p = out.GetRow(y) + x * 4;
            ASSERT_EQ(p[3], 0xFF) << x << "," << y;
            for (int c = 0; c < 3; ++c)
            {
                const int expected = (int)std::lround(TentInHeight(source, 1024, x, y, c));
                worst = std::max(worst, std::abs((int)p[c] - expected));
                ASSERT_LE(std::abs((int)p[c] - expected), 1) << x << "," << y << " channel " << c;
            }
        }
    EXPECT_LE(worst, 1);
}

TEST(PfImageResampleTest, BlockAndTailOfARowGiveTheSameBytes)
{
    // Five pixels a row are one block of sixteen bytes and a four-byte tail; the fifth column repeats the
    // first, so both ways of blending must agree exactly on every destination row and weight.
    for (uint32_t height : {301u, 700u, 1000u})
    {
        PfImage source = NoisePicture(5, 300, height);
        for (uint32_t y = 0; y < 300; ++y)
            source.SetPixel(4, y, source.GetPixel(0, y));
        PfImage out;
        ASSERT_TRUE(PfImageResample::Triangle(source, 5, height, out));
        for (uint32_t y = 0; y < height; ++y)
            ASSERT_EQ(out.GetPixel(4, y), out.GetPixel(0, y)) << "row " << y << " of " << height;
    }
}

TEST(PfImageResampleTest, StretchInHeightWritesIntoAPitchedBuffer)
{
    const PfImage source = NoisePicture(20, 10, 3);
    PfImage reference;
    ASSERT_TRUE(PfImageResample::Triangle(source, 20, 17, reference));
    const uint32_t pitch = 20 * 4 + 12;
    std::vector<uint8_t> buffer((size_t)pitch * 17, 0xAB);
    ASSERT_TRUE(PfImageResample::Triangle(source, 20, 17, buffer.data(), pitch));
    for (uint32_t y = 0; y < 17; ++y)
    {
        EXPECT_EQ(0, std::memcmp(buffer.data() + (size_t)y * pitch, reference.GetRow(y), 20 * 4)) << "row " << y;
        // The bytes past the row are left alone.
        EXPECT_EQ(buffer[(size_t)y * pitch + 80], 0xAB);
        EXPECT_EQ(buffer[(size_t)y * pitch + pitch - 1], 0xAB);
    }
}
