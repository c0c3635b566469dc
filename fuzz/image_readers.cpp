// Feeds arbitrary bytes to every image reader, through the dispatcher and to each reader directly (TGA
// has no signature, so the dispatcher alone would rarely reach it), and to the triangle resampler with
// whatever picture came out: a reader must refuse or decode without reading outside the data, and a
// decoded picture must be of an allowed size.
#include "platform/PfImage.h"
#include "platform/PfImageDecoder.h"
#include "platform/PfImageDecoderBmp.h"
#include "platform/PfImageDecoderDds.h"
#include "platform/PfImageDecoderJpeg.h"
#include "platform/PfImageDecoderPng.h"
#include "platform/PfImageDecoderTga.h"
#include "platform/PfImageResample.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

void Check(bool ok, const PfImage& image)
{
    if (ok && !PfImage::IsSizeAllowed(image.GetWidth(), image.GetHeight()))
        std::abort();
    if (!ok && !image.IsEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PfImage image;
    PfImageInfo info;
    std::string error;
    PfImageDecoder::ReadInfo(data, size, info, error);
    Check(PfImageDecoder::Decode(data, size, image, error), image);
    if (!image.IsEmpty() && (size_t)image.GetWidth() * image.GetHeight() <= 4096)
    {
        PfImage scaled;
        PfImageResample::Triangle(image, 1 + size % 67, 1 + size % 41, scaled);
    }
    Check(PfImageDecoderTga::Decode(data, size, image, error), image);
    Check(PfImageDecoderBmp::Decode(data, size, image, error), image);
    Check(PfImageDecoderDds::Decode(data, size, image, error), image);
    Check(PfImageDecoderPng::Decode(data, size, image, error), image);
    Check(PfImageDecoderJpeg::Decode(data, size, image, error), image);
    return 0;
}
