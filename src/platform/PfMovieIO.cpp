#include "platform/PfMovieIO.h"

#include "platform/PfFFmpeg.h"

#include <cstdio>

namespace
{

// Filled once Create has loaded the libraries.
const PfFFmpeg& ff = PfFFmpeg::Functions();

} // namespace

PfMovieIO::~PfMovieIO()
{
    Destroy();
}

bool PfMovieIO::Create(PfMovieByteStream* stream)
{
    Destroy();
    if (!stream || !PfFFmpeg::Load())
        return false;
    uint8_t* buffer = static_cast<uint8_t*>(ff.av_malloc(kBufferSize));
    if (!buffer)
        return false;
    m_pStream = stream;
    m_Position = 0;
    m_pContext = ff.avio_alloc_context(buffer, kBufferSize, 0, this, &PfMovieIO::ReadPacket, nullptr, &PfMovieIO::Seek);
    if (!m_pContext)
    {
        ff.av_free(buffer);
        m_pStream = nullptr;
        return false;
    }
    return true;
}

void PfMovieIO::Destroy()
{
    if (m_pContext)
    {
        // The buffer may have been replaced by libavformat; the context's field holds the live one.
        ff.av_freep(&m_pContext->buffer);
        ff.avio_context_free(&m_pContext);
    }
    m_pStream = nullptr;
    m_Position = 0;
}

int PfMovieIO::ReadPacket(void* opaque, uint8_t* buffer, int size)
{
    PfMovieIO* self = static_cast<PfMovieIO*>(opaque);
    if (size <= 0)
        return 0;
    PfMovieByteStream* stream = self->m_pStream;
    uint32_t got = 0;
    stream->Lock();
    PfResult hr = stream->SetPointer(self->m_Position);
    if (hr == S_OK)
        hr = stream->Read(buffer, (uint32_t)size, false, &got);
    stream->Unlock();
    if (hr != S_OK || got == 0)
        return AVERROR_EOF;
    self->m_Position += got;
    return (int)got;
}

int64_t PfMovieIO::Seek(void* opaque, int64_t offset, int whence)
{
    PfMovieIO* self = static_cast<PfMovieIO*>(opaque);
    const int64_t size = self->m_pStream->Size(nullptr);
    if (whence & AVSEEK_SIZE)
        return size;
    int64_t target;
    switch (whence & ~AVSEEK_FORCE)
    {
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = self->m_Position + offset;
        break;
    case SEEK_END:
        target = size + offset;
        break;
    default:
        return AVERROR(EINVAL);
    }
    // The stream refuses what lies outside it; the position is only taken once a read needs it.
    if (target < 0 || target > size)
        return AVERROR(EINVAL);
    self->m_Position = target;
    return target;
}
