// The reading end of libavformat over an engine byte stream: a custom AVIOContext whose read, seek and
// size questions go to a PfMovieByteStream. Each read is one locked position-and-read pair, so two
// readers of one stream never see each other's position.
#pragma once

#include "platform/PfMovieByteStream.h"

#include <cstdint>

struct AVIOContext;

class PfMovieIO
{
public:
    // 64 KiB a read: twice libavformat's own file buffer, so reading through the engine's file layer
    // costs no more calls than a plain file would.
    static constexpr int kBufferSize = 64 * 1024;

    PfMovieIO() = default;
    ~PfMovieIO();
    PfMovieIO(const PfMovieIO&) = delete;
    PfMovieIO& operator=(const PfMovieIO&) = delete;

    // Builds the context over the stream (not owned) at position 0; false when memory is short or FFmpeg
    // cannot be loaded.
    bool Create(PfMovieByteStream* stream);
    void Destroy();
    AVIOContext* GetContext() const { return m_pContext; }
    int64_t GetPosition() const { return m_Position; }

private:
    static int ReadPacket(void* opaque, uint8_t* buffer, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);

    PfMovieByteStream* m_pStream = nullptr;
    AVIOContext* m_pContext = nullptr;
    int64_t m_Position = 0;
};
