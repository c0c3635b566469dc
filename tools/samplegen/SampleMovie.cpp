#include "SampleMovie.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace
{

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFramesPerSecond = 24;
constexpr int kSeconds = 2;
constexpr int kSampleRate = 44100;
// The movie's sound: a low 110 Hz hum that no other sound of the sample uses.
constexpr double kToneHz = 110.0;
const unsigned kColours[] = {0xC02020, 0x20C020, 0x2020C0, 0xC0C020};

struct Encoder
{
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;

    ~Encoder()
    {
        av_frame_free(&picture);
        av_frame_free(&sound);
        av_packet_free(&packet);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format)
        {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

bool Fail(const char* what, int code = 0)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (code)
        av_strerror(code, text, sizeof(text));
    std::fprintf(stderr, "samplegen: movie: %s %s\n", what, text);
    return false;
}

bool Send(Encoder& e, AVCodecContext* codec, AVStream* stream, AVFrame* frame)
{
    int result = avcodec_send_frame(codec, frame);
    if (result < 0)
        return Fail("encode", result);
    while ((result = avcodec_receive_packet(codec, e.packet)) >= 0)
    {
        av_packet_rescale_ts(e.packet, codec->time_base, stream->time_base);
        e.packet->stream_index = stream->index;
        if ((result = av_interleaved_write_frame(e.format, e.packet)) < 0)
            return Fail("write", result);
    }
    return result == AVERROR(EAGAIN) || result == AVERROR_EOF || Fail("encode", result);
}

bool Open(Encoder& e, const std::string& path)
{
    int result = avformat_alloc_output_context2(&e.format, nullptr, "mpeg", path.c_str());
    if (result < 0)
        return Fail("output", result);
    e.format->flags |= AVFMT_FLAG_BITEXACT;
    e.packet = av_packet_alloc();

    const AVCodec* videoCodec = avcodec_find_encoder(AV_CODEC_ID_MPEG1VIDEO);
    const AVCodec* audioCodec = avcodec_find_encoder(AV_CODEC_ID_MP2);
    if (!videoCodec || !audioCodec)
        return Fail("no MPEG-1 or MP2 encoder");
    e.videoStream = avformat_new_stream(e.format, nullptr);
    e.video = avcodec_alloc_context3(videoCodec);
    e.video->width = kWidth;
    e.video->height = kHeight;
    e.video->time_base = AVRational{1, kFramesPerSecond};
    e.video->framerate = AVRational{kFramesPerSecond, 1};
    e.video->pix_fmt = AV_PIX_FMT_YUV420P;
    e.video->gop_size = 12;
    e.video->max_b_frames = 0;
    e.video->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    e.video->global_quality = FF_QP2LAMBDA * 2;
    e.video->bit_rate = 2000000;
    if ((result = avcodec_open2(e.video, videoCodec, nullptr)) < 0)
        return Fail("open video encoder", result);
    avcodec_parameters_from_context(e.videoStream->codecpar, e.video);
    e.videoStream->time_base = e.video->time_base;

    e.audioStream = avformat_new_stream(e.format, nullptr);
    e.audio = avcodec_alloc_context3(audioCodec);
    e.audio->sample_fmt = AV_SAMPLE_FMT_S16;
    e.audio->sample_rate = kSampleRate;
    e.audio->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    e.audio->bit_rate = 192000;
    e.audio->time_base = AVRational{1, kSampleRate};
    e.audio->flags |= AV_CODEC_FLAG_BITEXACT;
    if ((result = avcodec_open2(e.audio, audioCodec, nullptr)) < 0)
        return Fail("open sound encoder", result);
    avcodec_parameters_from_context(e.audioStream->codecpar, e.audio);
    e.audioStream->time_base = e.audio->time_base;

    e.picture = av_frame_alloc();
    e.picture->format = e.video->pix_fmt;
    e.picture->width = kWidth;
    e.picture->height = kHeight;
    e.sound = av_frame_alloc();
    e.sound->format = e.audio->sample_fmt;
    e.sound->sample_rate = kSampleRate;
    av_channel_layout_copy(&e.sound->ch_layout, &e.audio->ch_layout);
    e.sound->nb_samples = e.audio->frame_size;
    if ((result = av_frame_get_buffer(e.picture, 0)) < 0 || (result = av_frame_get_buffer(e.sound, 0)) < 0)
        return Fail("frames", result);
    if ((result = avio_open(&e.format->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
        return Fail("create file", result);
    if ((result = avformat_write_header(e.format, nullptr)) < 0)
        return Fail("header", result);
    return true;
}

bool Picture(Encoder& e, int index)
{
    if (av_frame_make_writable(e.picture) < 0)
        return Fail("picture not writable");
    const unsigned rgb = StoryMovieColour(static_cast<double>(index) / kFramesPerSecond);
    const double r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    // BT.601 limited range, the conversion the MPEG-1 decoder undoes.
    const int y = static_cast<int>(std::lround(16 + 0.257 * r + 0.504 * g + 0.098 * b));
    const int u = static_cast<int>(std::lround(128 - 0.148 * r - 0.291 * g + 0.439 * b));
    const int v = static_cast<int>(std::lround(128 + 0.439 * r - 0.368 * g - 0.071 * b));
    for (int row = 0; row < kHeight; ++row)
        std::fill_n(e.picture->data[0] + row * e.picture->linesize[0], kWidth, static_cast<uint8_t>(y));
    for (int row = 0; row < kHeight / 2; ++row)
    {
        std::fill_n(e.picture->data[1] + row * e.picture->linesize[1], kWidth / 2, static_cast<uint8_t>(u));
        std::fill_n(e.picture->data[2] + row * e.picture->linesize[2], kWidth / 2, static_cast<uint8_t>(v));
    }
    e.picture->pts = index;
    return Send(e, e.video, e.videoStream, e.picture);
}

bool Sound(Encoder& e, int64_t first)
{
    if (av_frame_make_writable(e.sound) < 0)
        return Fail("sound not writable");
    auto* samples = reinterpret_cast<int16_t*>(e.sound->data[0]);
    for (int i = 0; i < e.sound->nb_samples; ++i)
    {
        const double phase = 2.0 * 3.14159265358979323846 * kToneHz * static_cast<double>(first + i) / kSampleRate;
        samples[2 * i] = samples[2 * i + 1] = static_cast<int16_t>(std::lround(8000.0 * std::sin(phase)));
    }
    e.sound->pts = first;
    return Send(e, e.audio, e.audioStream, e.sound);
}

} // namespace

unsigned StoryMovieColour(double seconds)
{
    const int step = std::max(0, std::min(3, static_cast<int>(seconds * 2.0)));
    return kColours[step];
}

bool WriteStoryMovie(const std::filesystem::path& path)
{
    // The muxer's advice on buffer sizes for disc formats does not concern a game file.
    av_log_set_level(AV_LOG_ERROR);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        Encoder e;
        if (!Open(e, temporary.string()))
            return false;
        const int frames = kSeconds * kFramesPerSecond;
        const int64_t samples = static_cast<int64_t>(kSeconds) * kSampleRate;
        int picture = 0;
        int64_t sample = 0;
        while (picture < frames || sample < samples)
        {
            const bool pictureNext =
                picture < frames && (sample >= samples || static_cast<int64_t>(picture) * kSampleRate <=
                                                              sample * kFramesPerSecond);
            if (pictureNext ? !Picture(e, picture++) : !Sound(e, sample))
                return false;
            if (!pictureNext)
                sample += e.sound->nb_samples;
        }
        if (!Send(e, e.video, e.videoStream, nullptr) || !Send(e, e.audio, e.audioStream, nullptr))
            return false;
        const int result = av_write_trailer(e.format);
        if (result < 0)
            return Fail("trailer", result);
    }
    std::filesystem::rename(temporary, path, error);
    if (error)
        return Fail("cannot rename the movie");
    return true;
}
