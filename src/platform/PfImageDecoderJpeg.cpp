#include "platform/PfImageDecoderJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace
{

struct JpegError
{
    jpeg_error_mgr Manager;
    jmp_buf Return;
    char Message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info)
{
    JpegError* e = reinterpret_cast<JpegError*>(info->err);
    e->Manager.format_message(info, e->Message);
    longjmp(e->Return, 1);
}

void OnMessage(j_common_ptr, int)
{
    // Warnings (corrupt but decodable data) are not reported.
}

// Reads the header into width and height, or, when pixels is not null, decodes into them (width x height
// x 4 bytes, allocated by the caller from an earlier header read of the same data). Plain data only
// between setjmp and the libjpeg calls.
bool ReadJpeg(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height, uint8_t* pixels, char* message)
{
    jpeg_decompress_struct info;
    JpegError error;
    std::memset(&error, 0, sizeof(error));
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = OnError;
    error.Manager.emit_message = OnMessage;
    if (setjmp(error.Return))
    {
        std::memcpy(message, error.Message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, (unsigned long)size);
    jpeg_read_header(&info, TRUE);
    if (!pixels)
    {
        *width = info.image_width;
        *height = info.image_height;
        jpeg_destroy_decompress(&info);
        return true;
    }
    if (info.image_width != *width || info.image_height != *height)
    {
        std::snprintf(message, JMSG_LENGTH_MAX, "JPEG size changed between reads");
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = pixels + (size_t)info.output_scanline * *width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool PfImageDecoderJpeg::IsSignature(const uint8_t* data, size_t size)
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool PfImageDecoderJpeg::ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error)
{
    info = PfImageInfo();
    if (!IsSignature(data, size))
    {
        error = "not a JPEG file";
        return false;
    }
    char message[JMSG_LENGTH_MAX] = {};
    uint32_t width = 0, height = 0;
    if (!ReadJpeg(data, size, &width, &height, nullptr, message))
    {
        error = message;
        return false;
    }
    info.Width = width;
    info.Height = height;
    info.Type = PfImageFileType::Jpeg;
    return true;
}

bool PfImageDecoderJpeg::Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error)
{
    image.Clear();
    PfImageInfo info;
    if (!ReadInfo(data, size, info, error))
        return false;
    if (!image.AllocateUncleared(info.Width, info.Height))
    {
        error = "JPEG size out of range";
        return false;
    }
    char message[JMSG_LENGTH_MAX] = {};
    if (!ReadJpeg(data, size, &info.Width, &info.Height, image.GetData(), message))
    {
        error = message;
        image.Clear();
        return false;
    }
    return true;
}
