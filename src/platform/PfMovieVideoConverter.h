// Turns decoded pictures of any pixel format and size into the frame layout the movie texture copies
// from: 24-bit rows of blue, green, red, bottom-up (the last row in memory is the top of the picture),
// each row padded to a multiple of 4 bytes. The output size is fixed by the first picture; a later
// picture of another size is scaled to it.
#pragma once

#include <cstdint>
#include <vector>

struct AVFrame;
struct SwsContext;

class PfMovieVideoConverter
{
public:
    PfMovieVideoConverter() = default;
    ~PfMovieVideoConverter();
    PfMovieVideoConverter(const PfMovieVideoConverter&) = delete;
    PfMovieVideoConverter& operator=(const PfMovieVideoConverter&) = delete;

    // (3 x width + 3) with the two low bits cleared.
    static uint32_t PitchFor(uint32_t width) { return (3 * width + 3) & ~3u; }

    // Converts one decoded picture; false (the buffer unchanged) when libswscale refuses its format.
    bool Convert(const AVFrame* frame);
    // Forgets the output size and the conversion, so the next picture sets them again.
    void Reset();

    const uint8_t* GetData() const { return m_Buffer.empty() ? nullptr : m_Buffer.data(); }
    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    uint32_t GetPitch() const { return PitchFor(m_Width); }

private:
    SwsContext* m_pContext = nullptr;
    std::vector<uint8_t> m_Buffer;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
};
