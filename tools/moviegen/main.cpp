// moviegen: writes a test movie of the pattern in MoviePattern.h.
//
//   moviegen OUT.mpg|OUT.mpv|OUT.avi WIDTH HEIGHT SECONDS [--no-sound] [--busy] [--sound-seconds N]
//
// --sound-seconds ends the sound track after N seconds while the pictures go on.
// --busy lays grain that changes every frame over the pattern, so every block of every picture must be
// coded and decoded (the plain pattern is nearly still and decodes unusually cheaply): for benchmarks.
// ".mpg": MPEG-1 video and MP2 sound in an MPEG-1 program stream; ".mpv": the MPEG-1 video alone, as a
// bare stream; ".avi": MJPEG video and 16-bit PCM sound in AVI. 25 frames a second, sound 44,100 Hz stereo. Exit code 0
// on success.
#include "MoviePattern.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{

struct Output
{
    AVFormatContext* Format = nullptr;
    AVCodecContext* Video = nullptr;
    AVCodecContext* Audio = nullptr;
    AVStream* VideoStream = nullptr;
    AVStream* AudioStream = nullptr;
    AVFrame* Picture = nullptr;
    AVFrame* Sound = nullptr;
    AVPacket* Packet = nullptr;
    SwsContext* Scaler = nullptr;
};

bool Fail(const char* what, int code = 0)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (code)
        av_strerror(code, text, sizeof(text));
    std::fprintf(stderr, "moviegen: %s %s\n", what, text);
    return false;
}

bool Drain(Output& out, AVCodecContext* codec, AVStream* stream)
{
    for (;;)
    {
        const int result = avcodec_receive_packet(codec, out.Packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return Fail("encode", result);
        av_packet_rescale_ts(out.Packet, codec->time_base, stream->time_base);
        out.Packet->stream_index = stream->index;
        const int written = av_interleaved_write_frame(out.Format, out.Packet);
        if (written < 0)
            return Fail("write", written);
    }
}

bool Encode(Output& out, AVCodecContext* codec, AVStream* stream, AVFrame* frame)
{
    const int result = avcodec_send_frame(codec, frame);
    if (result < 0)
        return Fail("send", result);
    return Drain(out, codec, stream);
}

bool AddVideo(Output& out, bool mpeg, int width, int height)
{
    const AVCodec* codec = avcodec_find_encoder(mpeg ? AV_CODEC_ID_MPEG1VIDEO : AV_CODEC_ID_MJPEG);
    if (!codec)
        return Fail("no video encoder");
    out.VideoStream = avformat_new_stream(out.Format, nullptr);
    out.Video = avcodec_alloc_context3(codec);
    AVCodecContext* c = out.Video;
    c->width = width;
    c->height = height;
    c->time_base = AVRational{1, MoviePattern::kFramesPerSecond};
    c->framerate = AVRational{MoviePattern::kFramesPerSecond, 1};
    // Fixed fine quantiser: the bars must come back within a few levels.
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * 2;
    c->bit_rate = (int64_t)width * height * 30;
    if (mpeg)
    {
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->gop_size = 12;
        c->max_b_frames = 2;
    }
    else
    {
        c->pix_fmt = AV_PIX_FMT_YUVJ444P;
        c->color_range = AVCOL_RANGE_JPEG;
    }
    if (out.Format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(c, codec, nullptr);
    if (result < 0)
        return Fail("open video encoder", result);
    avcodec_parameters_from_context(out.VideoStream->codecpar, c);
    out.VideoStream->time_base = c->time_base;
    out.Picture = av_frame_alloc();
    out.Picture->format = c->pix_fmt;
    out.Picture->width = width;
    out.Picture->height = height;
    if ((result = av_frame_get_buffer(out.Picture, 0)) < 0)
        return Fail("picture", result);
    out.Scaler = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, c->pix_fmt, SWS_POINT, nullptr, nullptr,
                                nullptr);
    return out.Scaler != nullptr || Fail("no converter");
}

bool AddAudio(Output& out, bool mpeg)
{
    const AVCodec* codec = avcodec_find_encoder(mpeg ? AV_CODEC_ID_MP2 : AV_CODEC_ID_PCM_S16LE);
    if (!codec)
        return Fail("no sound encoder");
    out.AudioStream = avformat_new_stream(out.Format, nullptr);
    out.Audio = avcodec_alloc_context3(codec);
    AVCodecContext* c = out.Audio;
    c->sample_fmt = AV_SAMPLE_FMT_S16;
    c->sample_rate = MoviePattern::kSampleRate;
    c->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    c->bit_rate = mpeg ? 224000 : 0;
    c->time_base = AVRational{1, MoviePattern::kSampleRate};
    if (out.Format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(c, codec, nullptr);
    if (result < 0)
        return Fail("open sound encoder", result);
    avcodec_parameters_from_context(out.AudioStream->codecpar, c);
    out.AudioStream->time_base = c->time_base;
    out.Sound = av_frame_alloc();
    out.Sound->format = c->sample_fmt;
    out.Sound->sample_rate = c->sample_rate;
    av_channel_layout_copy(&out.Sound->ch_layout, &c->ch_layout);
    // PCM takes any count: one video frame's worth.
    out.Sound->nb_samples =
        c->frame_size > 0 ? c->frame_size : MoviePattern::kSampleRate / MoviePattern::kFramesPerSecond;
    if ((result = av_frame_get_buffer(out.Sound, 0)) < 0)
        return Fail("sound frame", result);
    return true;
}

bool WritePicture(Output& out, int index, bool busy, std::vector<uint8_t>& rgb)
{
    uint32_t grain = 2463534242u + (uint32_t)index * 2654435761u;
    const int w = out.Video->width, h = out.Video->height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const uint32_t c = MoviePattern::ColourAt(index, x, y, w, h);
            uint8_t* p = &rgb[((size_t)y * w + x) * 3];
            int offset = 0;
            if (busy)
            {
                grain ^= grain << 13;
                grain ^= grain >> 17;
                grain ^= grain << 5;
                offset = (int)(grain % 49) - 24;
            }
            for (int k = 0; k < 3; ++k)
            {
                const int v = (int)(c >> (16 - 8 * k) & 0xFF) + offset;
                p[k] = (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    if (av_frame_make_writable(out.Picture) < 0)
        return Fail("picture not writable");
    const uint8_t* planes[1] = {rgb.data()};
    const int strides[1] = {w * 3};
    sws_scale(out.Scaler, planes, strides, 0, h, out.Picture->data, out.Picture->linesize);
    out.Picture->pts = index;
    return Encode(out, out.Video, out.VideoStream, out.Picture);
}

bool WriteSound(Output& out, int64_t first)
{
    if (av_frame_make_writable(out.Sound) < 0)
        return Fail("sound not writable");
    int16_t* samples = reinterpret_cast<int16_t*>(out.Sound->data[0]);
    for (int i = 0; i < out.Sound->nb_samples; ++i)
        samples[2 * i] = samples[2 * i + 1] = MoviePattern::SampleAt(first + i);
    out.Sound->pts = first;
    return Encode(out, out.Audio, out.AudioStream, out.Sound);
}

bool Generate(const std::string& path, int width, int height, int seconds, bool sound, bool busy, int soundSeconds)
{
    auto endsWith = [&](const char* e) { return path.size() > 4 && path.compare(path.size() - 4, 4, e) == 0; };
    // ".mpv": the bare MPEG-1 video stream, which has no room for sound.
    const bool bare = endsWith(".mpv");
    const bool mpeg = endsWith(".mpg") || bare;
    if (!mpeg && !endsWith(".avi"))
        return Fail("the name must end in .mpg, .mpv or .avi");
    sound = sound && !bare;
    Output out;
    out.Packet = av_packet_alloc();
    int result = avformat_alloc_output_context2(&out.Format, nullptr,
                                                bare   ? "mpeg1video"
                                                : mpeg ? "mpeg"
                                                       : "avi",
                                                path.c_str());
    if (result < 0)
        return Fail("output", result);
    bool ok = AddVideo(out, mpeg, width, height) && (!sound || AddAudio(out, mpeg));
    if (ok && (result = avio_open(&out.Format->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
        ok = Fail("create file", result);
    if (ok && (result = avformat_write_header(out.Format, nullptr)) < 0)
        ok = Fail("header", result);
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    const int frames = seconds * MoviePattern::kFramesPerSecond;
    const int64_t samples = (int64_t)std::min(seconds, soundSeconds) * MoviePattern::kSampleRate;
    int picture = 0;
    int64_t sample = 0;
    // Pictures and sound in time order, so the muxer interleaves them closely.
    while (ok && (picture < frames || (sound && sample < samples)))
    {
        const bool pictureNext = picture < frames && (!sound || sample >= samples ||
                                                      (int64_t)picture * MoviePattern::kSampleRate <=
                                                          sample * MoviePattern::kFramesPerSecond);
        if (pictureNext)
            ok = WritePicture(out, picture++, busy, rgb);
        else
        {
            ok = WriteSound(out, sample);
            sample += out.Sound->nb_samples;
        }
    }
    if (ok)
        ok = Encode(out, out.Video, out.VideoStream, nullptr) &&
             (!sound || Encode(out, out.Audio, out.AudioStream, nullptr));
    if (ok && (result = av_write_trailer(out.Format)) < 0)
        ok = Fail("trailer", result);
    if (out.Format->pb)
        avio_closep(&out.Format->pb);
    avcodec_free_context(&out.Video);
    avcodec_free_context(&out.Audio);
    av_frame_free(&out.Picture);
    av_frame_free(&out.Sound);
    av_packet_free(&out.Packet);
    sws_freeContext(out.Scaler);
    avformat_free_context(out.Format);
    if (!ok)
        std::remove(path.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
    {
        std::fprintf(
            stderr,
            "usage: moviegen OUT.mpg|OUT.mpv|OUT.avi WIDTH HEIGHT SECONDS [--no-sound] [--busy] [--sound-seconds N]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]), seconds = std::atoi(argv[4]);
    bool sound = true, busy = false;
    int soundSeconds = seconds;
    for (int i = 5; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--no-sound") == 0)
            sound = false;
        else if (std::strcmp(argv[i], "--busy") == 0)
            busy = true;
        else if (std::strcmp(argv[i], "--sound-seconds") == 0 && i + 1 < argc)
            soundSeconds = std::atoi(argv[++i]);
        else
        {
            std::fprintf(stderr, "moviegen: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (width < 16 || height < 16 || width % 16 || height % 16 || seconds < 1 || seconds > 10)
    {
        std::fprintf(stderr, "moviegen: sizes must be multiples of 16, 1 to 10 seconds\n");
        return 2;
    }
    av_log_set_level(AV_LOG_ERROR);
    return Generate(argv[1], width, height, seconds, sound, busy, soundSeconds) ? 0 : 1;
}
