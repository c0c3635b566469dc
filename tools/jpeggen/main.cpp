// jpeggen <file> <width> <height> [quality]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: jpeggen <file> <width> <height> [quality]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    const int quality = argc > 4 ? std::atoi(argv[4]) : 90;
    if (width <= 0 || height <= 0)
        return 2;
    FILE* file = std::fopen(argv[1], "wb");
    if (!file)
        return 1;
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = (JDIMENSION)width;
    info.image_height = (JDIMENSION)height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row((size_t)width * 3);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const bool grid = (x % 32) == 0 || (y % 32) == 0;
            row[3 * x] = grid ? 255 : (unsigned char)(x * 255 / width);
            row[3 * x + 1] = grid ? 255 : (unsigned char)(y * 255 / height);
            row[3 * x + 2] = grid ? 255 : 64;
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return 0;
}
