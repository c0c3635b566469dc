// soundgen: sound fixtures for the tests, benchmarks and the sample game.
//
//   soundgen fixtures <folder>
//       The decoder fixture set: for each NAME a WAVE or Ogg file, NAME.src.raw (the PCM that went in)
//       and NAME.ref.raw (the reference decode: libavcodec's decoder for the compressed WAVE files,
//       ov_read for Ogg, the PCM itself for plain WAVE), all raw 16-bit little-endian interleaved (8-bit
//       files keep 8-bit raw data). Stereo tones hold 1 kHz on the left and 500 Hz on the right.
//   soundgen tone <file.wav|file.ogg> <seconds> <left Hz> <right Hz> [rate] [channels] [codec]
//       One tone file; codec for WAVE: pcm16 (default), pcm8, ima, ms, alaw, mulaw. Writes file.ref.raw too.
extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
struct Pcm
{
    uint32_t rate = 44100;
    uint16_t channels = 2;
    std::vector<int16_t> samples; // interleaved
    size_t Frames() const { return samples.size() / channels; }
};

Pcm MakeTone(double seconds, double left, double right, uint32_t rate, uint16_t channels, double amplitude = 12000)
{
    Pcm pcm;
    pcm.rate = rate;
    pcm.channels = channels;
    const size_t frames = static_cast<size_t>(seconds * rate);
    pcm.samples.resize(frames * channels);
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        pcm.samples[i * channels] = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * left * t)));
        if (channels == 2)
            pcm.samples[i * channels + 1] =
                static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * right * t)));
    }
    return pcm;
}

void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(std::vector<uint8_t>& b, const char* tag)
{
    b.insert(b.end(), tag, tag + 4);
}

bool WriteFile(const std::string& path, const void* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// A RIFF WAVE file: "fmt " (format bytes as given), optionally an odd-sized "LIST" chunk (padded) before
// "data".
std::vector<uint8_t> WaveFile(const std::vector<uint8_t>& format, const std::vector<uint8_t>& data, bool oddList)
{
    std::vector<uint8_t> b;
    PutTag(b, "RIFF");
    Put32(b, 0);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, static_cast<uint32_t>(format.size()));
    b.insert(b.end(), format.begin(), format.end());
    if (oddList)
    {
        PutTag(b, "LIST");
        Put32(b, 13);
        const char info[] = "INFOISFT\1\0\0\0x";
        b.insert(b.end(), info, info + 13);
        b.push_back(0); // pad to even
    }
    PutTag(b, "data");
    Put32(b, static_cast<uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1)
        b.push_back(0);
    const uint32_t riff = static_cast<uint32_t>(b.size() - 8);
    std::memcpy(b.data() + 4, &riff, 4);
    return b;
}

std::vector<uint8_t> FormatChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint32_t avg, uint16_t align,
                                 uint16_t bits, const std::vector<uint8_t>& extra)
{
    std::vector<uint8_t> f;
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, avg);
    Put16(f, align);
    Put16(f, bits);
    if (tag != 1)
    {
        Put16(f, static_cast<uint32_t>(extra.size()));
        f.insert(f.end(), extra.begin(), extra.end());
    }
    return f;
}

struct Encoded
{
    std::vector<uint8_t> data;
    std::vector<int16_t> reference;
    uint16_t blockAlign = 0;
    uint32_t framesPerBlock = 0;
};

void AppendDecoded(const AVFrame* frame, uint16_t channels, std::vector<int16_t>& out)
{
    for (int i = 0; i < frame->nb_samples; ++i)
        for (int c = 0; c < channels; ++c)
        {
            if (frame->format == AV_SAMPLE_FMT_S16P)
                out.push_back(reinterpret_cast<const int16_t*>(frame->extended_data[c])[i]);
            else
                out.push_back(reinterpret_cast<const int16_t*>(frame->extended_data[0])[i * channels + c]);
        }
}

// Encodes with libavcodec, then decodes every packet again (the last one cut to cutLast bytes when
// given) for the reference.
bool EncodeAv(AVCodecID id, const Pcm& pcm, Encoded& out, int cutLast)
{
    const AVCodec* codec = avcodec_find_encoder(id);
    // MPEG layer 3 is decoded by the fixed-point decoder, as the engine does, for 16-bit samples as they are.
    const AVCodec* decoder = id == AV_CODEC_ID_MP3 ? avcodec_find_decoder_by_name("mp3") : avcodec_find_decoder(id);
    if (!codec || !decoder)
        return false;
    AVCodecContext* enc = avcodec_alloc_context3(codec);
    enc->sample_rate = static_cast<int>(pcm.rate);
    av_channel_layout_default(&enc->ch_layout, pcm.channels);
    // 16-bit samples, interleaved or planar, when the encoder takes them.
    enc->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P)
        {
            enc->sample_fmt = *f;
            break;
        }
    if (id == AV_CODEC_ID_MP3)
        enc->bit_rate = 128000;
    if (avcodec_open2(enc, codec, nullptr) < 0)
        return false;
    const int frameSize = enc->frame_size > 0 ? enc->frame_size : 1024;
    out.blockAlign = static_cast<uint16_t>(enc->block_align);
    out.framesPerBlock = static_cast<uint32_t>(frameSize);

    AVCodecContext* dec = avcodec_alloc_context3(decoder);
    dec->sample_rate = enc->sample_rate;
    av_channel_layout_default(&dec->ch_layout, pcm.channels);
    dec->block_align = enc->block_align;
    dec->bits_per_coded_sample = enc->bits_per_coded_sample;
    if (enc->extradata_size > 0)
    {
        dec->extradata = static_cast<uint8_t*>(av_mallocz(enc->extradata_size + AV_INPUT_BUFFER_PADDING_SIZE));
        std::memcpy(dec->extradata, enc->extradata, enc->extradata_size);
        dec->extradata_size = enc->extradata_size;
    }
    if (avcodec_open2(dec, decoder, nullptr) < 0)
        return false;

    std::vector<std::vector<uint8_t>> packets;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    const size_t frames = pcm.Frames();
    for (size_t start = 0; start <= frames; start += frameSize)
    {
        if (start < frames)
        {
            // Whole frames only: the last one is padded with silence.
            frame->nb_samples = frameSize;
            frame->format = enc->sample_fmt;
            av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
            frame->sample_rate = enc->sample_rate;
            av_frame_get_buffer(frame, 0);
            for (int i = 0; i < frameSize; ++i)
                for (int c = 0; c < pcm.channels; ++c)
                {
                    const size_t at = start + i;
                    const int16_t v = at < frames ? pcm.samples[at * pcm.channels + c] : 0;
                    if (enc->sample_fmt == AV_SAMPLE_FMT_S16P)
                        reinterpret_cast<int16_t*>(frame->extended_data[c])[i] = v;
                    else
                        reinterpret_cast<int16_t*>(frame->extended_data[0])[i * pcm.channels + c] = v;
                }
            avcodec_send_frame(enc, frame);
            av_frame_unref(frame);
        }
        else
            avcodec_send_frame(enc, nullptr);
        while (avcodec_receive_packet(enc, packet) == 0)
        {
            packets.emplace_back(packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    }
    if (cutLast > 0 && !packets.empty() && cutLast < static_cast<int>(packets.back().size()))
        packets.back().resize(cutLast);
    for (const auto& p : packets)
    {
        out.data.insert(out.data.end(), p.begin(), p.end());
        av_new_packet(packet, static_cast<int>(p.size()));
        std::memcpy(packet->data, p.data(), p.size());
        avcodec_send_packet(dec, packet);
        av_packet_unref(packet);
        while (avcodec_receive_frame(dec, frame) == 0)
        {
            AppendDecoded(frame, pcm.channels, out.reference);
            av_frame_unref(frame);
        }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&enc);
    avcodec_free_context(&dec);
    return true;
}

bool EncodeOgg(const Pcm& pcm, std::vector<uint8_t>& file)
{
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, pcm.channels, static_cast<long>(pcm.rate), 0.4f) != 0)
        return false;
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 20261206);
    ogg_packet header, comment, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    auto emit = [&](const ogg_page& p)
    {
        file.insert(file.end(), p.header, p.header + p.header_len);
        file.insert(file.end(), p.body, p.body + p.body_len);
    };
    while (ogg_stream_flush(&os, &page) != 0)
        emit(page);
    const size_t frames = pcm.Frames();
    for (size_t start = 0;; start += 4096)
    {
        const size_t n = start < frames ? std::min<size_t>(4096, frames - start) : 0;
        if (n == 0)
            vorbis_analysis_wrote(&vd, 0);
        else
        {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < pcm.channels; ++c)
                    buffer[c][i] = pcm.samples[(start + i) * pcm.channels + c] / 32768.0f;
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1)
        {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op))
            {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &page) != 0)
                    emit(page);
            }
        }
        if (n == 0)
            break;
    }
    while (ogg_stream_flush(&os, &page) != 0)
        emit(page);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}

bool DecodeOgg(const std::string& path, std::vector<int16_t>& out)
{
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0)
        return false;
    char buffer[8192];
    int section = 0;
    long got;
    while ((got = ov_read(&vf, buffer, sizeof(buffer), 0, 2, 1, &section)) > 0)
    {
        const size_t at = out.size();
        out.resize(at + got / 2);
        std::memcpy(out.data() + at, buffer, got);
    }
    ov_clear(&vf);
    return got == 0;
}

bool WriteRaw(const std::string& path, const std::vector<int16_t>& samples)
{
    return WriteFile(path, samples.data(), samples.size() * 2);
}

// One WAVE file of the given codec from pcm, with its reference decode.
bool WriteWave(const std::string& path, const Pcm& pcm, const std::string& codec, bool oddList, int cutLast,
               bool writeSource)
{
    std::vector<uint8_t> data;
    std::vector<uint8_t> format;
    std::vector<int16_t> reference;
    const uint16_t ch = pcm.channels;
    if (codec == "pcm16")
    {
        data.resize(pcm.samples.size() * 2);
        std::memcpy(data.data(), pcm.samples.data(), data.size());
        format = FormatChunk(1, ch, pcm.rate, pcm.rate * ch * 2, ch * 2, 16, {});
        reference = pcm.samples;
    }
    else if (codec == "pcm8")
    {
        for (int16_t s : pcm.samples)
            data.push_back(static_cast<uint8_t>((s >> 8) + 128));
        format = FormatChunk(1, ch, pcm.rate, pcm.rate * ch, ch, 8, {});
        for (uint8_t b : data)
            reference.push_back(static_cast<int16_t>((b - 128) * 256));
    }
    else
    {
        const AVCodecID id = codec == "ima"    ? AV_CODEC_ID_ADPCM_IMA_WAV
                             : codec == "ms"   ? AV_CODEC_ID_ADPCM_MS
                             : codec == "alaw" ? AV_CODEC_ID_PCM_ALAW
                             : codec == "mp3"  ? AV_CODEC_ID_MP3
                             : codec == "gsm"  ? AV_CODEC_ID_GSM_MS
                                               : AV_CODEC_ID_PCM_MULAW;
        Encoded e;
        if (!EncodeAv(id, pcm, e, cutLast))
            return false;
        data = e.data;
        reference = e.reference;
        if (codec == "ima" || codec == "ms")
        {
            std::vector<uint8_t> extra;
            Put16(extra, e.framesPerBlock);
            if (codec == "ms")
            {
                const int16_t coefficients[14] = {256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232};
                Put16(extra, 7);
                for (int16_t c : coefficients)
                    Put16(extra, static_cast<uint16_t>(c));
            }
            const uint32_t avg =
                static_cast<uint32_t>(static_cast<uint64_t>(pcm.rate) * e.blockAlign / e.framesPerBlock);
            format = FormatChunk(codec == "ima" ? 0x11 : 2, ch, pcm.rate, avg, e.blockAlign, 4, extra);
        }
        else if (codec == "mp3")
        {
            // MPEGLAYER3WAVEFORMAT: ID 1, flags 2 (padding off), block size, one frame a block, codec delay.
            std::vector<uint8_t> extra;
            Put16(extra, 1);
            Put16(extra, 2);
            Put16(extra, 0);
            Put16(extra, static_cast<uint16_t>(144 * 128000 / pcm.rate));
            Put16(extra, 1);
            Put16(extra, 1393);
            format = FormatChunk(0x55, ch, pcm.rate, 128000 / 8, 1, 0, extra);
        }
        else if (codec == "gsm")
        {
            // Microsoft GSM 6.10: 65 bytes hold 320 samples; 8,000 Hz gives 1,625 bytes a second.
            std::vector<uint8_t> extra;
            Put16(extra, 320);
            format = FormatChunk(0x31, ch, pcm.rate, pcm.rate * 65 / 320, 65, 0, extra);
        }
        else
            format = FormatChunk(codec == "alaw" ? 6 : 7, ch, pcm.rate, pcm.rate * ch, ch, 8, {});
    }
    const std::vector<uint8_t> file = WaveFile(format, data, oddList);
    if (!WriteFile(path, file.data(), file.size()))
        return false;
    if (writeSource && !WriteRaw(path + ".src.raw", pcm.samples))
        return false;
    if (codec == "pcm8")
        return WriteFile(path + ".ref.raw", data.data(), data.size());
    return WriteRaw(path + ".ref.raw", reference);
}

bool WriteOgg(const std::string& path, const Pcm& pcm, bool writeSource)
{
    std::vector<uint8_t> file;
    std::vector<int16_t> reference;
    if (!EncodeOgg(pcm, file) || !WriteFile(path, file.data(), file.size()) || !DecodeOgg(path, reference))
        return false;
    if (writeSource && !WriteRaw(path + ".src.raw", pcm.samples))
        return false;
    return WriteRaw(path + ".ref.raw", reference);
}

int Fixtures(const std::string& folder)
{
    const std::string d = folder + "/";
    const Pcm stereo = MakeTone(1.0, 1000, 500, 44100, 2);
    const Pcm mono = MakeTone(1.0, 1000, 0, 22050, 1);
    bool ok = true;
    ok &= WriteWave(d + "pcm16_stereo.wav", stereo, "pcm16", false, 0, true);
    ok &= WriteWave(d + "pcm16_list.wav", stereo, "pcm16", true, 0, true);
    ok &= WriteWave(d + "pcm8_mono.wav", mono, "pcm8", false, 0, true);
    ok &= WriteWave(d + "ima_stereo.wav", stereo, "ima", true, 0, true);
    ok &= WriteWave(d + "ima_mono.wav", mono, "ima", false, 0, true);
    // Data ending inside a block: the last block's whole groups still decode.
    ok &= WriteWave(d + "ima_cut.wav", stereo, "ima", false, 300, true);
    ok &= WriteWave(d + "ms_stereo.wav", stereo, "ms", false, 0, true);
    ok &= WriteWave(d + "ms_mono.wav", mono, "ms", true, 0, true);
    ok &= WriteWave(d + "ms_cut.wav", mono, "ms", false, 201, true);
    ok &= WriteWave(d + "alaw_stereo.wav", stereo, "alaw", false, 0, true);
    ok &= WriteWave(d + "mulaw_mono.wav", mono, "mulaw", false, 0, true);
    // Formats the engine hands to libavcodec: MPEG layer 3 in WAVE, and GSM 6.10 (8,000 Hz mono only).
    ok &= WriteWave(d + "mp3_stereo.wav", stereo, "mp3", false, 0, true);
    ok &= WriteWave(d + "gsm_mono.wav", MakeTone(1.0, 1000, 0, 8000, 1), "gsm", false, 0, true);
    ok &= WriteOgg(d + "vorbis_stereo.ogg", stereo, true);
    ok &= WriteOgg(d + "vorbis_mono.ogg", mono, true);
    if (!ok)
        std::fprintf(stderr, "soundgen: writing the fixtures into %s failed\n", folder.c_str());
    return ok ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "fixtures") == 0)
        return Fixtures(argv[2]);
    if (argc >= 6 && std::strcmp(argv[1], "tone") == 0)
    {
        const std::string path = argv[2];
        const double seconds = std::atof(argv[3]);
        const uint32_t rate = argc > 6 ? static_cast<uint32_t>(std::atoi(argv[6])) : 44100;
        const uint16_t channels = argc > 7 ? static_cast<uint16_t>(std::atoi(argv[7])) : 2;
        const std::string codec = argc > 8 ? argv[8] : "pcm16";
        const Pcm pcm = MakeTone(seconds, std::atof(argv[4]), std::atof(argv[5]), rate, channels);
        const bool ogg = path.size() > 4 && path.compare(path.size() - 4, 4, ".ogg") == 0;
        const bool ok = ogg ? WriteOgg(path, pcm, false) : WriteWave(path, pcm, codec, false, 0, false);
        if (!ok)
            std::fprintf(stderr, "soundgen: writing %s failed\n", path.c_str());
        return ok ? 0 : 1;
    }
    std::fprintf(stderr, "usage: soundgen fixtures <folder>\n"
                         "       soundgen tone <file.wav|file.ogg> <seconds> <left Hz> <right Hz> [rate] [channels] "
                         "[pcm16|pcm8|ima|ms|alaw|mulaw|mp3|gsm]\n");
    return 2;
}
