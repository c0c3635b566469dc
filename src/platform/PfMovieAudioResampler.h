// Turns decoded sound of any sample format, rate and channel layout into the one the movie sound plays
// in: 44,100 Hz, 16-bit signed, stereo, interleaved.
#pragma once

#include <cstdint>
#include <vector>

struct AVChannelLayout;
struct AVFrame;
struct SwrContext;

class PfMovieAudioResampler
{
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    // The input a movie's sound may have: the rates and channel counts real recordings use.
    static constexpr int kMinRate = 1000;
    static constexpr int kMaxRate = 384000;
    static constexpr int kMaxChannels = 64;

    PfMovieAudioResampler() = default;
    ~PfMovieAudioResampler();
    PfMovieAudioResampler(const PfMovieAudioResampler&) = delete;
    PfMovieAudioResampler& operator=(const PfMovieAudioResampler&) = delete;

    // Appends the converted samples of the frame (null: whatever the resampler still holds) to out;
    // the number of sample frames appended, or -1 when the frame's format cannot be converted.
    int Convert(const AVFrame* frame, std::vector<int16_t>& out);
    // Drops what the resampler holds; the next frame sets it up afresh.
    void Reset();

    // Sets in to the layout a frame of the given one is read as (one without order as the default layout
    // of its channel count); false when it cannot be copied. in may be fresh storage holding anything: it
    // is overwritten whole, never read or freed. The caller frees the result with av_channel_layout_uninit.
    static bool MakeInputLayout(const AVChannelLayout& frameLayout, AVChannelLayout* in);

private:
    SwrContext* m_pContext = nullptr;
    int m_InRate = 0;
    int m_InFormat = -1;
    uint64_t m_InLayoutKey = 0;
};
