// The FFmpeg functions the movie and sound decoders call, taken from the libraries when the first movie
// or compressed sound is opened instead of when the program starts. libavformat and libavcodec pull in a
// deep tree of codec, network and image libraries whose pages and relocations cost some twenty megabytes
// of memory; a screen that plays no movie and no MP3 never pays it.
//
// Every way into FFmpeg (PfMovieDecoder::Open, PfMovieIO::Create, PfAudioCodec::Open) calls Load first and
// gives up, with the reason, when it fails; the rest of the code calls through Functions(), whose pointers
// are all set once Load has succeeded. The libraries stay loaded until the process ends.
#pragma once

#include <string>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

// Every function used, by its FFmpeg name.
#define KV_FFMPEG_FUNCTIONS(X)                                                                                         \
    X(av_channel_layout_copy)                                                                                          \
    X(av_channel_layout_default)                                                                                       \
    X(av_channel_layout_uninit)                                                                                        \
    X(av_find_best_stream)                                                                                             \
    X(av_find_input_format)                                                                                            \
    X(av_frame_alloc)                                                                                                  \
    X(av_frame_free)                                                                                                   \
    X(av_frame_unref)                                                                                                  \
    X(av_free)                                                                                                         \
    X(av_freep)                                                                                                        \
    X(av_log_set_level)                                                                                                \
    X(av_malloc)                                                                                                       \
    X(av_new_packet)                                                                                                   \
    X(av_packet_alloc)                                                                                                 \
    X(av_packet_free)                                                                                                  \
    X(av_packet_move_ref)                                                                                              \
    X(av_packet_unref)                                                                                                 \
    X(av_parser_close)                                                                                                 \
    X(av_parser_init)                                                                                                  \
    X(av_parser_parse2)                                                                                                \
    X(av_read_frame)                                                                                                   \
    X(av_seek_frame)                                                                                                   \
    X(av_strerror)                                                                                                     \
    X(avcodec_alloc_context3)                                                                                          \
    X(avcodec_find_decoder)                                                                                            \
    X(avcodec_find_decoder_by_name)                                                                                    \
    X(avcodec_flush_buffers)                                                                                           \
    X(avcodec_free_context)                                                                                            \
    X(avcodec_open2)                                                                                                   \
    X(avcodec_parameters_to_context)                                                                                   \
    X(avcodec_receive_frame)                                                                                           \
    X(avcodec_send_packet)                                                                                             \
    X(avformat_alloc_context)                                                                                          \
    X(avformat_close_input)                                                                                            \
    X(avformat_find_stream_info)                                                                                       \
    X(avformat_open_input)                                                                                             \
    X(avio_alloc_context)                                                                                              \
    X(avio_context_free)                                                                                               \
    X(sws_freeContext)                                                                                                 \
    X(sws_getCachedContext)                                                                                            \
    X(sws_getCoefficients)                                                                                             \
    X(sws_getColorspaceDetails)                                                                                        \
    X(sws_scale)                                                                                                       \
    X(sws_setColorspaceDetails)                                                                                        \
    X(swr_alloc_set_opts2)                                                                                             \
    X(swr_convert)                                                                                                     \
    X(swr_free)                                                                                                        \
    X(swr_get_out_samples)                                                                                             \
    X(swr_init)

class PfFFmpeg
{
public:
#define KV_FFMPEG_POINTER(name) decltype(&::name) name = nullptr;
    KV_FFMPEG_FUNCTIONS(KV_FFMPEG_POINTER)
#undef KV_FFMPEG_POINTER

    // The process's table: empty until Load succeeds.
    static const PfFFmpeg& Functions();
    // Loads the libraries and fills the table the first time; true when it is filled. On failure (a library
    // or a function missing) error says what, on every call, and the table stays empty. Thread-safe.
    static bool Load(std::string* error = nullptr);
    // The library files Load opens, in order: the sonames of the headers the program was built with.
    static std::vector<std::string> DefaultFiles();
    // The files the process's Load opens instead (tests of a missing library); only before its first call.
    static void SetFiles(std::vector<std::string> files);

    // Opens the files and takes every function from them into this table; false with the missing library
    // or function in error, the table left empty.
    bool LoadFrom(const std::vector<std::string>& files, std::string* error);
    bool IsLoaded() const { return swr_init != nullptr; }

private:
    void Clear();
};
