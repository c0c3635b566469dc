#include "platform/PfMovieAudioResampler.h"

#include "platform/PfFFmpeg.h"

namespace
{

// Filled before any sound is decoded (PfMovieDecoder::Open loads the libraries).
const PfFFmpeg& ff = PfFFmpeg::Functions();

uint64_t LayoutKey(const AVChannelLayout& layout)
{
    return ((uint64_t)layout.nb_channels << 56) ^ (layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0);
}

} // namespace

PfMovieAudioResampler::~PfMovieAudioResampler()
{
    Reset();
}

void PfMovieAudioResampler::Reset()
{
    if (m_pContext)
        ff.swr_free(&m_pContext);
    m_InRate = 0;
    m_InFormat = -1;
    m_InLayoutKey = 0;
}

bool PfMovieAudioResampler::MakeInputLayout(const AVChannelLayout& frameLayout, AVChannelLayout* in)
{
    // av_channel_layout_copy first frees what its destination holds, and av_channel_layout_default sets only
    // some fields when no standard layout has the channel count: storage left as it was could read as a
    // custom layout whose stray map pointer gets freed, or pass a stray mask on to the resampler.
    *in = AVChannelLayout{};
    // A layout without order (some WAVE files) is taken as the default one of its channel count.
    if (frameLayout.order == AV_CHANNEL_ORDER_UNSPEC)
    {
        ff.av_channel_layout_default(in, frameLayout.nb_channels);
        return true;
    }
    return ff.av_channel_layout_copy(in, &frameLayout) >= 0;
}

int PfMovieAudioResampler::Convert(const AVFrame* frame, std::vector<int16_t>& out)
{
    if (frame)
    {
        // A damaged stream can claim any rate or channel count; the resampler's filter grows with the
        // ratio of the rates, and for absurd ones building it takes minutes and gigabytes. Such sound is
        // refused like any other that cannot be converted.
        if (frame->sample_rate < kMinRate || frame->sample_rate > kMaxRate || frame->ch_layout.nb_channels <= 0 ||
            frame->ch_layout.nb_channels > kMaxChannels)
            return -1;
        const uint64_t key = LayoutKey(frame->ch_layout);
        if (!m_pContext || frame->sample_rate != m_InRate || frame->format != m_InFormat || key != m_InLayoutKey)
        {
            Reset();
            AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
            AVChannelLayout in; // set whole by MakeInputLayout
            if (!MakeInputLayout(frame->ch_layout, &in))
                return -1;
            const int made = ff.swr_alloc_set_opts2(&m_pContext, &stereo, AV_SAMPLE_FMT_S16, kRate, &in,
                                                 (AVSampleFormat)frame->format, frame->sample_rate, 0, nullptr);
            ff.av_channel_layout_uninit(&in);
            if (made < 0 || ff.swr_init(m_pContext) < 0)
            {
                Reset();
                return -1;
            }
            m_InRate = frame->sample_rate;
            m_InFormat = frame->format;
            m_InLayoutKey = key;
        }
    }
    else if (!m_pContext)
        return 0;
    const int inCount = frame ? frame->nb_samples : 0;
    const int room = ff.swr_get_out_samples(m_pContext, inCount);
    if (room <= 0)
        return 0;
    const size_t at = out.size();
    out.resize(at + (size_t)room * kChannels);
    uint8_t* target = reinterpret_cast<uint8_t*>(out.data() + at);
    const int got =
        ff.swr_convert(m_pContext, &target, room, frame ? (const uint8_t**)frame->extended_data : nullptr, inCount);
    out.resize(at + (size_t)(got > 0 ? got : 0) * kChannels);
    return got < 0 ? -1 : got;
}
