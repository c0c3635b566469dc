#include "platform/PfAudioCodec.h"

#include "platform/PfFFmpeg.h"
#include "platform/PfWaveFormat.h"

#include <algorithm>
#include <cmath>

namespace
{

// Filled once Open has loaded the libraries.
const PfFFmpeg& ff = PfFFmpeg::Functions();

int16_t FromFloat(float v)
{
    const float scaled = std::nearbyint(v * 32768.0f);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

// One sample of a decoded frame as 16 bits, whatever the decoder's sample format.
int16_t SampleAt(const AVFrame* frame, int channel, int index, int channels)
{
    const uint8_t* const* data = frame->extended_data;
    switch (frame->format)
    {
    case AV_SAMPLE_FMT_S16:
        return reinterpret_cast<const int16_t*>(data[0])[index * channels + channel];
    case AV_SAMPLE_FMT_S16P:
        return reinterpret_cast<const int16_t*>(data[channel])[index];
    case AV_SAMPLE_FMT_S32:
        return static_cast<int16_t>(reinterpret_cast<const int32_t*>(data[0])[index * channels + channel] >> 16);
    case AV_SAMPLE_FMT_S32P:
        return static_cast<int16_t>(reinterpret_cast<const int32_t*>(data[channel])[index] >> 16);
    case AV_SAMPLE_FMT_FLT:
        return FromFloat(reinterpret_cast<const float*>(data[0])[index * channels + channel]);
    case AV_SAMPLE_FMT_FLTP:
        return FromFloat(reinterpret_cast<const float*>(data[channel])[index]);
    default:
        return 0;
    }
}

} // namespace

PfAudioCodec::~PfAudioCodec()
{
    Close();
}

bool PfAudioCodec::Handles(uint16_t formatTag)
{
    return formatTag == PF_WAVE_FORMAT_MPEGLAYER3 || formatTag == PF_WAVE_FORMAT_GSM610;
}

bool PfAudioCodec::Open(uint16_t formatTag, uint32_t rate, uint16_t channels, uint16_t blockAlign, std::string* error)
{
    Close();
    if (!Handles(formatTag) || channels < 1 || channels > 2 || rate == 0 || rate > 192000)
        return false;
    if (!PfFFmpeg::Load(error))
        return false;
    const AVCodec* codec = nullptr;
    if (formatTag == PF_WAVE_FORMAT_MPEGLAYER3)
    {
        // The fixed-point decoder gives 16-bit samples as they are; the float one is the fallback.
        codec = ff.avcodec_find_decoder_by_name("mp3");
        if (!codec)
            codec = ff.avcodec_find_decoder(AV_CODEC_ID_MP3);
    }
    else
    {
        // GSM 6.10 in WAVE is the Microsoft packing: mono, two 33-byte frames in 65 bytes.
        if (channels != 1 || blockAlign != 65)
            return false;
        codec = ff.avcodec_find_decoder(AV_CODEC_ID_GSM_MS);
    }
    if (!codec)
        return false;
    m_Context = ff.avcodec_alloc_context3(codec);
    m_Packet = ff.av_packet_alloc();
    m_Frame = ff.av_frame_alloc();
    if (!m_Context || !m_Packet || !m_Frame)
    {
        Close();
        return false;
    }
    m_Context->sample_rate = static_cast<int>(rate);
    ff.av_channel_layout_default(&m_Context->ch_layout, channels);
    m_Context->block_align = blockAlign;
    if (ff.avcodec_open2(m_Context, codec, nullptr) < 0)
    {
        Close();
        return false;
    }
    m_Parser = ff.av_parser_init(codec->id);
    m_Channels = channels;
    m_CodecId = codec->id;
    return true;
}

void PfAudioCodec::Close()
{
    // Nothing was made without the libraries.
    if (!ff.IsLoaded())
        return;
    if (m_Parser)
        ff.av_parser_close(m_Parser);
    m_Parser = nullptr;
    ff.avcodec_free_context(&m_Context);
    ff.av_packet_free(&m_Packet);
    ff.av_frame_free(&m_Frame);
    m_Channels = 0;
    m_CodecId = 0;
}

void PfAudioCodec::Reset()
{
    if (!m_Context)
        return;
    ff.avcodec_flush_buffers(m_Context);
    if (m_Parser)
    {
        ff.av_parser_close(m_Parser);
        m_Parser = ff.av_parser_init(m_CodecId);
    }
}

void PfAudioCodec::Receive(std::vector<int16_t>& out)
{
    while (ff.avcodec_receive_frame(m_Context, m_Frame) == 0)
    {
        // A frame of another channel count (a damaged header the decoder believed) is dropped: the
        // output keeps the layout the WAVE format promised.
        if (m_Frame->ch_layout.nb_channels == m_Channels)
            for (int i = 0; i < m_Frame->nb_samples; ++i)
                for (int c = 0; c < m_Channels; ++c)
                    out.push_back(SampleAt(m_Frame, c, i, m_Channels));
        ff.av_frame_unref(m_Frame);
    }
}

void PfAudioCodec::SendPacket(const uint8_t* data, int size, std::vector<int16_t>& out)
{
    if (ff.av_new_packet(m_Packet, size) < 0)
        return;
    std::copy(data, data + size, m_Packet->data);
    // A packet the decoder refuses (damaged data) is simply not decoded.
    ff.avcodec_send_packet(m_Context, m_Packet);
    ff.av_packet_unref(m_Packet);
    Receive(out);
}

void PfAudioCodec::Decode(const uint8_t* data, size_t size, bool end, std::vector<int16_t>& out)
{
    if (!m_Context)
        return;
    if (!m_Parser)
    {
        // No parser: the bytes go in as they came, whole blocks.
        if (size > 0)
            SendPacket(data, static_cast<int>(std::min<size_t>(size, 1 << 30)), out);
    }
    else
    {
        // The parser wants its input padded; the pieces are copied into a padded buffer.
        std::vector<uint8_t> padded(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
        std::copy(data, data + size, padded.begin());
        const uint8_t* at = padded.data();
        int left = static_cast<int>(std::min<size_t>(size, 1 << 30));
        while (left > 0 || end)
        {
            uint8_t* packet = nullptr;
            int packetSize = 0;
            const int used = ff.av_parser_parse2(m_Parser, m_Context, &packet, &packetSize, left > 0 ? at : nullptr,
                                                 left, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
            if (used < 0)
                break;
            at += used;
            left -= used;
            if (packetSize > 0)
                SendPacket(packet, packetSize, out);
            // At the end the parser is asked with no input until it gives nothing more.
            if (left == 0 && (!end || packetSize == 0))
                break;
        }
    }
    if (end)
    {
        ff.avcodec_send_packet(m_Context, nullptr);
        Receive(out);
        Reset();
    }
}
