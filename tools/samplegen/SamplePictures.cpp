#include "SamplePictures.h"

#include "SampleLabel.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>

namespace
{

constexpr uint32_t kScreenWidth = 1024;
constexpr uint32_t kScreenHeight = 768;

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp)
{
}

// A flat picture with up to four horizontal bands of colour, top to bottom.
std::vector<uint32_t> Bands(uint32_t width, uint32_t height, const std::vector<uint32_t>& colours)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (uint32_t y = 0; y < height; ++y)
    {
        const uint32_t colour = colours[y * colours.size() / height];
        std::fill_n(pixels.begin() + static_cast<ptrdiff_t>(y) * width, width, colour);
    }
    return pixels;
}

// A rectangle of one colour inside a transparent picture: character parts drawn over the body.
std::vector<uint32_t> Part(uint32_t width, uint32_t height, uint32_t left, uint32_t top, uint32_t partWidth,
                           uint32_t partHeight, uint32_t colour)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
    for (uint32_t y = top; y < top + partHeight && y < height; ++y)
        for (uint32_t x = left; x < left + partWidth && x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = colour;
    return pixels;
}

// A standing character: a head over a wider body on transparency, each a flat colour.
std::vector<uint32_t> Body(uint32_t head, uint32_t body)
{
    constexpr uint32_t w = 320, h = 640;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
        {
            if (y < 200 && x >= 80 && x < 240)
                pixels[static_cast<size_t>(y) * w + x] = head;
            else if (y >= 200)
                pixels[static_cast<size_t>(y) * w + x] = body;
        }
    return pixels;
}

// A name plate the size of the name window: the speaker's colour with a light edge and the name on it.
std::vector<uint32_t> NamePlate(const std::wstring& name, uint32_t colour)
{
    constexpr uint32_t w = 240, h = 40;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, colour);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            if (x < 2 || y < 2 || x + 2 >= w || y + 2 >= h)
                pixels[static_cast<size_t>(y) * w + x] = 0xF0E8E0F0u;
    SampleLabel::DrawLeft(pixels, w, h, name, SampleLabel::kColour, 24, 16, 0, h);
    return pixels;
}

// A rule image: grey levels give each pixel's turn in the transition (black first, white last).
std::vector<uint32_t> Rule(bool circle)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    const double radius = std::hypot(kScreenWidth / 2.0, kScreenHeight / 2.0);
    for (uint32_t y = 0; y < kScreenHeight; ++y)
        for (uint32_t x = 0; x < kScreenWidth; ++x)
        {
            const double t = circle ? std::hypot(x + 0.5 - kScreenWidth / 2.0, y + 0.5 - kScreenHeight / 2.0) / radius
                                    : (x + 0.5) / kScreenWidth;
            const uint32_t level = static_cast<uint32_t>(std::lround(std::min(t, 1.0) * 255.0));
            pixels[static_cast<size_t>(y) * kScreenWidth + x] = 0xFF000000u | level << 16 | level << 8 | level;
        }
    return pixels;
}

} // namespace

std::vector<uint32_t> StoryBackground(const std::string& name)
{
    const uint32_t w = kScreenWidth, h = kScreenHeight;
    if (name == "forest")
        return Bands(w, h, {0xFF4080C0, 0xFF4080C0, 0xFF206020, 0xFF206020});
    if (name == "castle")
        return Bands(w, h, {0xFF302040, 0xFF302040, 0xFF605060, 0xFF605060});
    if (name == "village")
        return Bands(w, h, {0xFF80C0E0, 0xFF80C0E0, 0xFFA08040, 0xFFA08040});
    return Bands(w, h, {0xFF000000});
}

std::string EncodeStoryPng(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(static_cast<size_t>(width) * 4);
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t c = argb[static_cast<size_t>(y) * width + x];
            row[x * 4 + 0] = static_cast<png_byte>(c >> 16);
            row[x * 4 + 1] = static_cast<png_byte>(c >> 8);
            row[x * 4 + 2] = static_cast<png_byte>(c);
            row[x * 4 + 3] = static_cast<png_byte>(c >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::pair<std::filesystem::path, std::string>> StoryPictureFiles()
{
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    auto add = [&](const char* name, uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels) {
        files.emplace_back(std::filesystem::u8path(name), EncodeStoryPng(width, height, pixels));
    };
    const uint32_t w = kScreenWidth, h = kScreenHeight;
    // Backgrounds: sky over ground, so a probe in the upper and the lower half tells them apart.
    add("cg/bg/黒.png", w, h, StoryBackground("黒"));
    for (const char* name : {"forest", "castle", "village"})
        add((std::string("cg/bg/") + name + ".png").c_str(), w, h, StoryBackground(name));
    add("cg/error.png", 64, 64, Bands(64, 64, {0xFFFF00FF}));
    // Characters: a body and two sub-layer parts (eyes, mouth) at fixed places over the head.
    add("cg/st/lilith/pose1.png", 320, 640, Body(0xFFF0D0C0, 0xFFC04060));
    add("cg/st/lilith/eyes1.png", 320, 640, Part(320, 640, 120, 80, 80, 20, 0xFF2040A0));
    add("cg/st/lilith/mouth1.png", 320, 640, Part(320, 640, 140, 140, 40, 12, 0xFFE02040));
    add("cg/st/zorde/pose1.png", 320, 640, Body(0xFFC0B0D0, 0xFF302030));
    add("cg/st/zorde/eyes1.png", 320, 640, Part(320, 640, 120, 80, 80, 20, 0xFFFF2020));
    add("cg/st/villager/pose1.png", 320, 640, Body(0xFFE0C0A0, 0xFF806040));
    // Name pictures: shown beside the speech of the two named characters.
    add("cg/name/リリス.png", 240, 40, NamePlate(L"リリス", 0xE0C04060));
    add("cg/name/ゾルデ.png", 240, 40, NamePlate(L"ゾルデ", 0xE0503050));
    // Event pictures listed in the gallery (the extra screens' flat pictures replace them; the wide version
    // of the first is written with those, so it shows the same picture).
    add("cg/ev/ev01a.png", w, h, Bands(w, h, {0xFFE0A040, 0xFF8040A0}));
    add("cg/ev/ev01b.png", w, h, Bands(w, h, {0xFF40A0E0, 0xFFA04080}));
    add("cg/ev/ev01c.png", w, h, Bands(w, h, {0xFF40E0A0, 0xFF804040}));
    add("cg/ev/ev02a.png", w, h, Bands(w, h, {0xFFA0A0A0, 0xFF404040}));
    // Rule images: the default fade, a left-to-right wipe and a circle opening from the middle.
    add("cg/tr/フェード.png", w, h, Bands(w, h, {0xFF808080}));
    add("cg/tr/wipe_lr.png", w, h, Rule(false));
    add("cg/tr/circle.png", w, h, Rule(true));
    return files;
}
