#include "SampleVorbis.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace
{

void Append(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

} // namespace

std::string EncodeOggVorbis(const std::vector<int16_t>& samples, int sampleRate, int serial)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, sampleRate, 0.3f) != 0)
    {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    std::string out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    // The headers end on a page of their own, as players expect the audio to begin on a fresh page.
    while (ogg_stream_flush(&stream, &page) != 0)
        Append(out, page);

    constexpr size_t kChunk = 1024;
    size_t done = 0;
    bool ended = false;
    while (!ended)
    {
        const size_t count = std::min(kChunk, samples.size() - done);
        if (count == 0)
            vorbis_analysis_wrote(&dsp, 0);
        else
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (size_t i = 0; i < count; ++i)
                buffer[0][i] = samples[done + i] / 32768.0f;
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1)
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                {
                    Append(out, page);
                    if (ogg_page_eos(&page))
                        ended = true;
                }
            }
        }
        if (count == 0 && !ended)
        {
            while (ogg_stream_flush(&stream, &page) != 0)
                Append(out, page);
            ended = true;
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
