// A movie file's demuxer and decoders over an engine byte stream: libavformat reads through PfMovieIO,
// libavcodec decodes, the pictures come out as bottom-up 24-bit frames (PfMovieVideoConverter) and the
// sound, when asked for, as 44,100 Hz 16-bit stereo samples (PfMovieAudioResampler) in a queue. Times are
// seconds from the start of the movie. Not thread-safe: one thread at a time, the movie's lock held.
#pragma once

#include "platform/PfMovieAudioResampler.h"
#include "platform/PfMovieByteStream.h"
#include "platform/PfMovieIO.h"
#include "platform/PfMovieVideoConverter.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

enum class PfMovieSound
{
    Skip,   // the sound is not decoded at all
    Decode, // the sound is decoded into the sample queue
};

class PfMovieDecoder
{
public:
    PfMovieDecoder();
    ~PfMovieDecoder();
    PfMovieDecoder(const PfMovieDecoder&) = delete;
    PfMovieDecoder& operator=(const PfMovieDecoder&) = delete;

    // Opens the stream with the named demuxer ("avi", "mpeg", ...); when that fails, once more with the
    // format detected from the content. A movie with a picture must decode its first picture here (it is
    // then the next frame); a sound-only movie must have a sound decoder. false with the reason in error.
    bool Open(PfMovieByteStream* stream, const char* demuxer, PfMovieSound sound, std::string* error);
    void Close();
    bool IsOpen() const { return m_pFormat != nullptr; }

    bool HasVideo() const { return m_VideoIndex >= 0; }
    // Whether sound is decoded (a sound stream was found and decoding asked for).
    bool HasAudio() const { return m_AudioIndex >= 0 && m_Sound == PfMovieSound::Decode; }
    uint32_t GetWidth() const { return m_Converter.GetWidth(); }
    uint32_t GetHeight() const { return m_Converter.GetHeight(); }
    uint32_t GetPitch() const { return m_Converter.GetPitch(); }
    double GetDuration() const { return m_Duration; }
    double GetFrameDuration() const { return m_FrameDuration; }
    // The demuxer that opened the movie ("" when closed).
    const char* GetFormatName() const;

    // Makes the next picture the current frame: the one decoded ahead by Open or Seek, else the next one
    // decoded (sound met on the way joins the queue). false at the end of the pictures.
    bool NextVideoFrame();
    const uint8_t* GetFrame() const { return m_Converter.GetData(); }
    double GetFrameTime() const { return m_FrameTime; }
    bool IsVideoEnded() const { return m_VideoEnded; }

    // Demuxes until the sample queue holds at least frames sample frames or the sound has ended; picture
    // packets met on the way are kept for NextVideoFrame.
    void DecodeAudio(uint32_t frames);
    uint32_t GetQueuedAudioFrames() const;
    const int16_t* GetQueuedAudio() const;
    // The time of the first queued sample frame.
    double GetQueuedAudioTime() const { return m_QueueTime; }
    void DropQueuedAudio(uint32_t frames);
    bool IsAudioEnded() const { return m_AudioEnded; }

    // Seeks exactly: back to the key picture at or before the time, then decodes forward to the first
    // picture at or after it, which becomes the next frame; queued sound starts at the time too.
    bool Seek(double seconds);

private:
    bool OpenWith(PfMovieByteStream* stream, const char* demuxer, std::string* error);
    bool OpenCodec(int index, AVCodecContext** context);
    void CloseFormat();
    // Reads one packet and hands it to its decoder (a picture packet is held back instead when holdVideo);
    // at the end of the file drains the sound decoder. false when nothing more can come.
    bool FeedPacket(bool holdVideo);
    void DropHeldVideo();
    void ReceiveAudio();
    // whole: a damaged picture ends the pictures instead of being shown.
    bool DecodeNextPicture(bool whole = false);
    double ToSeconds(int64_t timestamp, int index) const;

    PfMovieIO m_IO;
    AVFormatContext* m_pFormat = nullptr;
    AVCodecContext* m_pVideo = nullptr;
    AVCodecContext* m_pAudio = nullptr;
    AVPacket* m_pPacket = nullptr;
    AVFrame* m_pFrame = nullptr;
    PfMovieVideoConverter m_Converter;
    PfMovieAudioResampler m_Resampler;
    PfMovieSound m_Sound = PfMovieSound::Skip;
    int m_VideoIndex = -1;
    int m_AudioIndex = -1;
    int64_t m_StartTime = 0; // the file's first time stamp, in AV_TIME_BASE units
    double m_Duration = 0.0;
    double m_FrameDuration = 0.04;
    double m_FrameTime = 0.0;
    double m_SeekTarget = 0.0; // pictures and sound before this time are decoded but dropped
    bool m_FrameReady = false; // a picture decoded ahead waits in the converter
    bool m_NeedKey = false;    // after a seek, pictures until the first key picture are dropped
    bool m_CountTimes = false; // no time stamps: a picture's time is its number x the frame duration
    int64_t m_PictureCount = 0;
    double m_FirstKeyTime = -1.0;
    bool m_DemuxEnded = false;
    bool m_VideoEnded = true;
    bool m_AudioEnded = true;
    std::deque<AVPacket*> m_HeldVideo;
    bool m_VideoDrained = false;  // the picture decoder was told the end
    std::vector<int16_t> m_Queue; // interleaved stereo
    size_t m_QueueRead = 0;       // in samples (two a frame)
    double m_QueueTime = 0.0;
    double m_NextAudioTime = 0.0; // the time just after the last queued sample
};
