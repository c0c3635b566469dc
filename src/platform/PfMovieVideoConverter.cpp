#include "platform/PfMovieVideoConverter.h"

#include "platform/PfFFmpeg.h"

namespace
{

// Filled before any picture is decoded (PfMovieDecoder::Open loads the libraries).
const PfFFmpeg& ff = PfFFmpeg::Functions();

// The full-range "J" formats are the plain ones with the range flag set; libswscale wants the plain
// format and the range told apart, and warns on every picture otherwise.
AVPixelFormat PlainFormat(AVPixelFormat format, bool* fullRange)
{
    *fullRange = format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P ||
                 format == AV_PIX_FMT_YUVJ440P || format == AV_PIX_FMT_YUVJ411P;
    switch (format)
    {
    case AV_PIX_FMT_YUVJ420P:
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        return AV_PIX_FMT_YUV411P;
    default:
        return format;
    }
}

} // namespace

PfMovieVideoConverter::~PfMovieVideoConverter()
{
    Reset();
}

void PfMovieVideoConverter::Reset()
{
    if (m_pContext)
        ff.sws_freeContext(m_pContext);
    m_pContext = nullptr;
    m_Buffer.clear();
    m_Width = m_Height = 0;
}

bool PfMovieVideoConverter::Convert(const AVFrame* frame)
{
    if (!frame || frame->width <= 0 || frame->height <= 0)
        return false;
    if (m_Width == 0)
    {
        m_Width = (uint32_t)frame->width;
        m_Height = (uint32_t)frame->height;
        m_Buffer.assign((size_t)GetPitch() * m_Height, 0);
    }
    bool fullRange = false;
    AVPixelFormat source = PlainFormat((AVPixelFormat)frame->format, &fullRange);
    fullRange = fullRange || frame->color_range == AVCOL_RANGE_JPEG;
    // Pictures are never scaled up or down in the usual case, so the cheapest filter serves; the unscaled
    // path of libswscale ignores it anyway.
    m_pContext = ff.sws_getCachedContext(m_pContext, frame->width, frame->height, source, (int)m_Width, (int)m_Height,
                                      AV_PIX_FMT_BGR24, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_pContext)
        return false;
    int* inverse = nullptr;
    int* table = nullptr;
    int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
    if (ff.sws_getColorspaceDetails(m_pContext, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast,
                                 &saturation) >= 0 &&
        srcRange != (int)fullRange)
    {
        const int space = frame->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
        ff.sws_setColorspaceDetails(m_pContext, ff.sws_getCoefficients(space), fullRange, ff.sws_getCoefficients(SWS_CS_DEFAULT),
                                 1, brightness, contrast, saturation);
    }
    // Bottom-up: the first output row is written at the end of the buffer and the rows go backwards.
    const int pitch = (int)GetPitch();
    uint8_t* planes[4] = {m_Buffer.data() + (size_t)(m_Height - 1) * pitch, nullptr, nullptr, nullptr};
    const int strides[4] = {-pitch, 0, 0, 0};
    return ff.sws_scale(m_pContext, frame->data, frame->linesize, 0, frame->height, planes, strides) > 0;
}
