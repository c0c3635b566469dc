#include "platform/PfPngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace
{

void OnError(png_structp png, png_const_charp)
{
    longjmp(png_jmpbuf(png), 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void OnFlush(png_structp) {}

// All libpng calls of the writer. Between setjmp and the calls there are only plain values, so the
// longjmp of the error handler skips no destructor.
bool WriteRows(std::vector<uint8_t>* out, uint32_t width, uint32_t height, png_bytep* rows)
{
    // The running library's own version: libpng refuses a structure asked for by another version.
    png_structp png = png_create_write_struct(png_get_libpng_ver(nullptr), nullptr, OnError, OnWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, OnWrite, OnFlush);
    png_set_compression_level(png, -1);
    png_set_compression_mem_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 bits;
    bits.red = bits.green = bits.blue = bits.alpha = 8;
    bits.gray = 0;
    png_set_sBIT(png, info, &bits);
    png_write_info(png, info);
    // The pixels are blue, green, red, alpha in memory; the file holds red, green, blue, alpha.
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool PfPngWriter::Encode(uint32_t width, uint32_t height, const uint8_t* pixels, std::vector<uint8_t>& out)
{
    out.clear();
    if (!pixels || width == 0 || height == 0 || width > 0x7FFFFFFF / 4)
        return false;
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(pixels + (size_t)y * width * 4);
    // Room for the uncompressed rows, so the output rarely moves while libpng writes.
    out.reserve((size_t)width * height * 4 / 2 + 1024);
    if (!WriteRows(&out, width, height, rows.data()))
    {
        out.clear();
        return false;
    }
    return true;
}

bool PfPngWriter::Write(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels)
{
    std::vector<uint8_t> png;
    if (!Encode(width, height, pixels, png))
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}
