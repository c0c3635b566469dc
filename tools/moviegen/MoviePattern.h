// The picture and the sound of the generated test movies, header-only so the tests and benchmarks that
// read the movies back know what they should find.
//
// Every picture is laid out on a grid of 64 x 48 cells scaled by width / 64 (so 640 x 480 uses 10 x 10
// pixel cells, all edges on the codecs' 8-pixel blocks):
//   rows 0..31   eight colour bars of 8 cells each, left to right kBarColours;
//   rows 32..47  dark grey, with the frame number in binary in rows 36..43: bit i (most significant first)
//                is the square of columns 8i..8i+7, white for 1 and black for 0;
// except each whole second's frame (25, 50, ...), which is white all over. The sound is silent but for a
// 1 kHz beep of kBeepSeconds at each whole second from 1 on, at half full scale on both channels.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace MoviePattern
{

constexpr int kFramesPerSecond = 25;
constexpr int kSampleRate = 44100;
constexpr double kBeepSeconds = 0.1;
constexpr double kBeepHz = 1000.0;
constexpr int kBeepAmplitude = 16384;
constexpr uint32_t kGrey = 0x404040u;
// 0xRRGGBB
constexpr uint32_t kBarColours[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};

inline bool IsWhiteFrame(int frame)
{
    return frame > 0 && frame % kFramesPerSecond == 0;
}

// The colour at a pixel of a frame, 0xRRGGBB.
inline uint32_t ColourAt(int frame, int x, int y, int width, int height)
{
    if (IsWhiteFrame(frame))
        return 0xFFFFFF;
    const int cx = x * 64 / width, cy = y * 48 / height;
    if (cy < 32)
        return kBarColours[cx / 8];
    if (cy >= 36 && cy < 44)
        return (frame >> (7 - cx / 8)) & 1 ? 0xFFFFFF : 0x000000;
    return kGrey;
}

// The frame number read back from a picture: pixel(x, y) gives 0xRRGGBB of the picture's top-down pixel.
template <typename Pixel> int ReadFrameNumber(Pixel pixel, int width, int height)
{
    int number = 0;
    for (int bit = 0; bit < 8; ++bit)
    {
        const uint32_t c = pixel((bit * 8 + 4) * width / 64, 40 * height / 48);
        number = number << 1 | ((c >> 8 & 0xFF) > 128 ? 1 : 0);
    }
    return number;
}

// One sample of either channel at a sample index.
inline int16_t SampleAt(int64_t index)
{
    const double t = index / (double)kSampleRate;
    const double second = std::floor(t);
    if (second < 1.0 || t - second >= kBeepSeconds)
        return 0;
    return (int16_t)std::lround(kBeepAmplitude * std::sin(2.0 * M_PI * kBeepHz * (t - second)));
}

} // namespace MoviePattern
