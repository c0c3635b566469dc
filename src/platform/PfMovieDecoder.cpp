#include "platform/PfMovieDecoder.h"

#include "platform/PfFFmpeg.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// Filled once Open has loaded the libraries.
const PfFFmpeg& ff = PfFFmpeg::Functions();

// Pictures and sound are compared with seek targets to a tenth of a millisecond: time stamps of 1/90000 s
// turned into seconds do not land exactly on the time asked for.
constexpr double kTimeSlack = 1e-4;
// Picture packets held while sound is pulled ahead: some ten seconds of a 25 fps movie.
constexpr size_t kMaxHeldVideo = 256;
// How many times a seek steps further back when it lands behind the key picture it needs.
constexpr int kSeekAttempts = 6;

std::string ErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    ff.av_strerror(code, text, sizeof(text));
    return text;
}

} // namespace

PfMovieDecoder::PfMovieDecoder() = default;

PfMovieDecoder::~PfMovieDecoder()
{
    Close();
    if (m_pPacket)
        ff.av_packet_free(&m_pPacket);
    if (m_pFrame)
        ff.av_frame_free(&m_pFrame);
}

const char* PfMovieDecoder::GetFormatName() const
{
    return m_pFormat && m_pFormat->iformat ? m_pFormat->iformat->name : "";
}

void PfMovieDecoder::CloseFormat()
{
    // Nothing was opened without the libraries.
    if (!ff.IsLoaded())
        return;
    DropHeldVideo();
    ff.avcodec_free_context(&m_pVideo);
    ff.avcodec_free_context(&m_pAudio);
    // The context was opened over our own reader, which libavformat leaves to us.
    ff.avformat_close_input(&m_pFormat);
    m_IO.Destroy();
    m_VideoIndex = m_AudioIndex = -1;
}

void PfMovieDecoder::Close()
{
    CloseFormat();
    m_Converter.Reset();
    m_Resampler.Reset();
    m_Queue.clear();
    m_QueueRead = 0;
    m_QueueTime = m_NextAudioTime = 0.0;
    m_Duration = 0.0;
    m_FrameDuration = 0.04;
    m_FrameTime = m_SeekTarget = 0.0;
    m_StartTime = 0;
    m_FrameReady = m_DemuxEnded = m_NeedKey = m_CountTimes = false;
    m_PictureCount = 0;
    m_FirstKeyTime = -1.0;
    m_VideoEnded = m_AudioEnded = true;
}

bool PfMovieDecoder::Open(PfMovieByteStream* stream, const char* demuxer, PfMovieSound sound, std::string* error)
{
    Close();
    m_Sound = sound;
    if (!PfFFmpeg::Load(error))
        return false;
    if (!m_pPacket)
        m_pPacket = ff.av_packet_alloc();
    if (!m_pFrame)
        m_pFrame = ff.av_frame_alloc();
    if (!m_pPacket || !m_pFrame)
    {
        if (error)
            *error = "out of memory";
        return false;
    }
    std::string first, second;
    if (OpenWith(stream, demuxer, &first))
        return true;
    // The extension named the wrong kind: let the content decide, once.
    if (OpenWith(stream, nullptr, &second))
        return true;
    if (error)
        *error = first + " / " + second;
    Close();
    return false;
}

bool PfMovieDecoder::OpenCodec(int index, AVCodecContext** context)
{
    const AVCodecParameters* parameters = m_pFormat->streams[index]->codecpar;
    const AVCodec* codec = ff.avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return false;
    *context = ff.avcodec_alloc_context3(codec);
    if (!*context || ff.avcodec_parameters_to_context(*context, parameters) < 0 ||
        ff.avcodec_open2(*context, codec, nullptr) < 0)
    {
        ff.avcodec_free_context(context);
        return false;
    }
    (*context)->pkt_timebase = m_pFormat->streams[index]->time_base;
    return true;
}

bool PfMovieDecoder::OpenWith(PfMovieByteStream* stream, const char* demuxer, std::string* error)
{
    CloseFormat();
    m_Converter.Reset();
    const AVInputFormat* format = nullptr;
    if (demuxer && !(format = ff.av_find_input_format(demuxer)))
    {
        *error = std::string("no demuxer ") + demuxer;
        return false;
    }
    if (!m_IO.Create(stream) || !(m_pFormat = ff.avformat_alloc_context()))
    {
        *error = "out of memory";
        CloseFormat();
        return false;
    }
    m_pFormat->pb = m_IO.GetContext();
    m_pFormat->flags |= AVFMT_FLAG_CUSTOM_IO;
    // On failure avformat_open_input frees the context and clears the pointer.
    int result = ff.avformat_open_input(&m_pFormat, "", format, nullptr);
    if (result < 0)
    {
        *error = std::string(demuxer ? demuxer : "probe") + ": " + ErrorText(result);
        CloseFormat();
        return false;
    }
    result = ff.avformat_find_stream_info(m_pFormat, nullptr);
    if (result < 0)
    {
        *error = std::string(GetFormatName()) + ": " + ErrorText(result);
        CloseFormat();
        return false;
    }
    m_StartTime = m_pFormat->start_time == AV_NOPTS_VALUE ? 0 : m_pFormat->start_time;
    m_VideoIndex = ff.av_find_best_stream(m_pFormat, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_VideoIndex >= 0 && !OpenCodec(m_VideoIndex, &m_pVideo))
        m_VideoIndex = -1;
    m_AudioIndex = ff.av_find_best_stream(m_pFormat, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (m_AudioIndex >= 0 && m_Sound == PfMovieSound::Decode && !OpenCodec(m_AudioIndex, &m_pAudio))
        m_AudioIndex = -1;
    if (m_VideoIndex < 0 && m_AudioIndex < 0)
    {
        *error = std::string(GetFormatName()) + ": no playable stream";
        CloseFormat();
        return false;
    }
    // A bare elementary stream (".mpv") carries no time stamps: its pictures are timed by their count and
    // its duration is unknown (0).
    m_CountTimes =
        (m_pFormat->iformat->flags & AVFMT_NOTIMESTAMPS) != 0 || std::strcmp(GetFormatName(), "mpegvideo") == 0;
    m_PictureCount = 0;
    if (!m_CountTimes && m_pFormat->duration != AV_NOPTS_VALUE && m_pFormat->duration > 0)
        m_Duration = m_pFormat->duration / (double)AV_TIME_BASE;
    if (m_VideoIndex >= 0)
    {
        const AVStream* video = m_pFormat->streams[m_VideoIndex];
        AVRational rate = video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
        if (rate.num > 0 && rate.den > 0)
            m_FrameDuration = av_q2d(av_inv_q(rate));
    }
    m_DemuxEnded = false;
    m_VideoEnded = !HasVideo();
    m_AudioEnded = !HasAudio();
    m_SeekTarget = 0.0;
    m_NeedKey = false;
    if (HasVideo())
    {
        // The first picture tells the frame size and proves the file really decodes.
        m_FrameReady = DecodeNextPicture(true);
        if (!m_FrameReady)
        {
            *error = std::string(GetFormatName()) + ": no picture decodes";
            CloseFormat();
            return false;
        }
    }
    return true;
}

double PfMovieDecoder::ToSeconds(int64_t timestamp, int index) const
{
    const AVRational base = m_pFormat->streams[index]->time_base;
    return timestamp * av_q2d(base) - m_StartTime / (double)AV_TIME_BASE;
}

bool PfMovieDecoder::FeedPacket(bool holdVideo)
{
    if (m_DemuxEnded || !m_pFormat)
        return false;
    if (ff.av_read_frame(m_pFormat, m_pPacket) < 0)
    {
        // The end (or an unreadable rest): the sound decoder gives what it still holds now, the picture
        // decoder once the held pictures' packets have gone in (DecodeNextPicture).
        m_DemuxEnded = true;
        if (HasAudio() && !m_AudioEnded)
        {
            ff.avcodec_send_packet(m_pAudio, nullptr);
            ReceiveAudio();
            m_AudioEnded = true;
        }
        return true;
    }
    if (m_pPacket->stream_index == m_VideoIndex && !m_VideoEnded)
    {
        if (holdVideo)
        {
            // Sound is being pulled ahead of the pictures: the picture decoder may not take more input
            // before its picture is collected, so the packet waits its turn.
            AVPacket* held = ff.av_packet_alloc();
            if (held)
            {
                ff.av_packet_move_ref(held, m_pPacket);
                m_HeldVideo.push_back(held);
            }
        }
        else
        {
            // A damaged packet is refused here and skipped; the decoder resumes at the next good one.
            ff.avcodec_send_packet(m_pVideo, m_pPacket);
        }
    }
    else if (m_pPacket->stream_index == m_AudioIndex && HasAudio() && !m_AudioEnded)
    {
        ff.avcodec_send_packet(m_pAudio, m_pPacket);
        ReceiveAudio();
    }
    ff.av_packet_unref(m_pPacket);
    return true;
}

void PfMovieDecoder::DropHeldVideo()
{
    for (AVPacket* packet : m_HeldVideo)
        ff.av_packet_free(&packet);
    m_HeldVideo.clear();
    m_VideoDrained = false;
}

void PfMovieDecoder::ReceiveAudio()
{
    while (ff.avcodec_receive_frame(m_pAudio, m_pFrame) == 0)
    {
        const int64_t stamp = m_pFrame->best_effort_timestamp;
        const double time = stamp == AV_NOPTS_VALUE ? m_NextAudioTime : ToSeconds(stamp, m_AudioIndex);
        const bool empty = m_QueueRead >= m_Queue.size();
        if (empty)
        {
            m_Queue.clear();
            m_QueueRead = 0;
        }
        const size_t at = m_Queue.size();
        const int got = m_Resampler.Convert(m_pFrame, m_Queue);
        ff.av_frame_unref(m_pFrame);
        if (got <= 0)
            continue;
        // Sound before a seek target is cut off to the sample.
        size_t drop = 0;
        if (time + kTimeSlack < m_SeekTarget)
            drop = std::min<size_t>((size_t)got,
                                    (size_t)std::llround((m_SeekTarget - time) * PfMovieAudioResampler::kRate));
        m_Queue.erase(m_Queue.begin() + (ptrdiff_t)at, m_Queue.begin() + (ptrdiff_t)(at + drop * 2));
        if (empty)
            m_QueueTime = time + drop / (double)PfMovieAudioResampler::kRate;
        m_NextAudioTime = m_QueueTime + GetQueuedAudioFrames() / (double)PfMovieAudioResampler::kRate;
    }
}

bool PfMovieDecoder::DecodeNextPicture(bool whole)
{
    for (;;)
    {
        const int result = ff.avcodec_receive_frame(m_pVideo, m_pFrame);
        if (result == AVERROR(EAGAIN))
        {
            if (!m_HeldVideo.empty())
            {
                AVPacket* held = m_HeldVideo.front();
                m_HeldVideo.pop_front();
                ff.avcodec_send_packet(m_pVideo, held);
                ff.av_packet_free(&held);
                continue;
            }
            if (m_DemuxEnded)
            {
                if (m_VideoDrained)
                    break;
                m_VideoDrained = true;
                ff.avcodec_send_packet(m_pVideo, nullptr);
                continue;
            }
            if (!FeedPacket(false))
                break;
            continue;
        }
        if (result < 0)
            break;
        const int64_t stamp = m_pFrame->best_effort_timestamp;
        double time = stamp == AV_NOPTS_VALUE ? m_FrameTime + m_FrameDuration : ToSeconds(stamp, m_VideoIndex);
        if (m_CountTimes)
            time = m_PictureCount++ * m_FrameDuration;
        const bool key = m_pFrame->key_frame || m_pFrame->pict_type == AV_PICTURE_TYPE_I;
        if (m_NeedKey && !key)
        {
            // Predicted from a picture before the seek point: not shown, it would be built on grey.
            ff.av_frame_unref(m_pFrame);
            continue;
        }
        if (m_NeedKey)
        {
            m_NeedKey = false;
            m_FirstKeyTime = time;
        }
        if (time + kTimeSlack < m_SeekTarget)
        {
            ff.av_frame_unref(m_pFrame);
            continue;
        }
        // The first picture of a file must be whole: a truncated file gives a patched-up one otherwise.
        const bool damaged = m_pFrame->decode_error_flags != 0 || (m_pFrame->flags & AV_FRAME_FLAG_CORRUPT);
        const bool converted = !(whole && damaged) && m_Converter.Convert(m_pFrame);
        ff.av_frame_unref(m_pFrame);
        if (!converted)
            break;
        m_FrameTime = time;
        return true;
    }
    m_VideoEnded = true;
    return false;
}

bool PfMovieDecoder::NextVideoFrame()
{
    if (m_FrameReady)
    {
        m_FrameReady = false;
        return true;
    }
    if (m_VideoEnded)
        return false;
    return DecodeNextPicture();
}

void PfMovieDecoder::DecodeAudio(uint32_t frames)
{
    // Held picture packets are bounded: sound far ahead of the pictures (or a sound track that stops before
    // them) must not pull the rest of the file into memory.
    while (HasAudio() && !m_AudioEnded && GetQueuedAudioFrames() < frames && m_HeldVideo.size() < kMaxHeldVideo)
    {
        if (!FeedPacket(true))
            break;
    }
}

uint32_t PfMovieDecoder::GetQueuedAudioFrames() const
{
    return (uint32_t)((m_Queue.size() - std::min(m_QueueRead, m_Queue.size())) / 2);
}

const int16_t* PfMovieDecoder::GetQueuedAudio() const
{
    return m_Queue.data() + m_QueueRead;
}

void PfMovieDecoder::DropQueuedAudio(uint32_t frames)
{
    frames = std::min(frames, GetQueuedAudioFrames());
    m_QueueRead += (size_t)frames * 2;
    m_QueueTime += frames / (double)PfMovieAudioResampler::kRate;
    if (m_QueueRead >= m_Queue.size())
    {
        m_Queue.clear();
        m_QueueRead = 0;
    }
    else if (m_QueueRead > 64 * 1024)
    {
        m_Queue.erase(m_Queue.begin(), m_Queue.begin() + (ptrdiff_t)m_QueueRead);
        m_QueueRead = 0;
    }
}

bool PfMovieDecoder::Seek(double seconds)
{
    if (!m_pFormat)
        return false;
    seconds = std::max(0.0, seconds);
    double back = 0.0;
    for (int attempt = 0; attempt < kSeekAttempts; ++attempt)
    {
        // Pictures timed by their count are found from the start of the stream.
        const double from = m_CountTimes ? 0.0 : std::max(0.0, seconds - back);
        const int64_t stamp = m_StartTime + (int64_t)std::llround(from * AV_TIME_BASE);
        // Key picture at or before the time; a demuxer that cannot seek by time goes back to its first byte
        // and the pictures are decoded forward from there.
        const bool sought = m_CountTimes ? ff.av_seek_frame(m_pFormat, -1, 0, AVSEEK_FLAG_BYTE) >= 0
                                         : ff.av_seek_frame(m_pFormat, -1, stamp, AVSEEK_FLAG_BACKWARD) >= 0 ||
                                               ff.av_seek_frame(m_pFormat, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
        if (!sought)
            return false;
        m_PictureCount = 0;
        if (m_pVideo)
            ff.avcodec_flush_buffers(m_pVideo);
        if (m_pAudio)
            ff.avcodec_flush_buffers(m_pAudio);
        m_Resampler.Reset();
        DropHeldVideo();
        m_Queue.clear();
        m_QueueRead = 0;
        m_QueueTime = m_NextAudioTime = seconds;
        m_DemuxEnded = false;
        m_VideoEnded = !HasVideo();
        m_AudioEnded = !HasAudio();
        m_SeekTarget = seconds;
        m_FrameReady = false;
        if (!HasVideo())
            return true;
        m_NeedKey = true;
        m_FirstKeyTime = -1.0;
        m_FrameReady = DecodeNextPicture();
        // Landed after the key picture the time needs: step further back and decode forward again.
        if (!m_FrameReady || from <= 0.0 || m_FirstKeyTime <= seconds + kTimeSlack)
            return true;
        back = back == 0.0 ? 1.0 : back * 2;
    }
    return true;
}
