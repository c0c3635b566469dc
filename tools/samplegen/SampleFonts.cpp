#include "SampleFonts.h"

#include "SamplePng.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{

struct FontSpec
{
    const char* name;
    uint32_t first;
    uint32_t last;
    uint32_t cellWidth;
    uint32_t cellHeight;
    uint32_t columns;
};

// The same table the game's start-up uses to cut the pictures.
const FontSpec s_Fonts[] = {
    {"FONT16SYS", 32, 126, 8, 16, 16}, {"FONT8NUM", 32, 57, 8, 16, 7},   {"FONT16NUM", 32, 57, 12, 16, 8},
    {"FONT16ANSI", 32, 90, 14, 16, 8}, {"FONT24NUM", 47, 57, 24, 36, 5}, {"FONT16COND", 47, 57, 16, 16, 8},
};

// Five rows of three pixels each, top row first ('1' is ink).
const char* Glyph(char c)
{
    static const std::pair<char, const char*> s_Glyphs[] = {
        {'0', "111101101101111"}, {'1', "010110010010111"}, {'2', "111001111100111"}, {'3', "111001111001111"},
        {'4', "101101111001001"}, {'5', "111100111001111"}, {'6', "111100111101111"}, {'7', "111001001001001"},
        {'8', "111101111101111"}, {'9', "111101111001111"}, {'A', "010101111101101"}, {'B', "110101110101110"},
        {'C', "011100100100011"}, {'D', "110101101101110"}, {'E', "111100110100111"}, {'F', "111100110100100"},
        {'G', "011100101101011"}, {'H', "101101111101101"}, {'I', "111010010010111"}, {'J', "001001001101010"},
        {'K', "101101110101101"}, {'L', "100100100100111"}, {'M', "101111111101101"}, {'N', "110101101101101"},
        {'O', "010101101101010"}, {'P', "110101110100100"}, {'Q', "010101101110011"}, {'R', "110101110101101"},
        {'S', "011100010001110"}, {'T', "111010010010010"}, {'U', "101101101101111"}, {'V', "101101101101010"},
        {'W', "101101111111101"}, {'X', "101101010101101"}, {'Y', "101101010010010"}, {'Z', "111001010100111"},
        {'/', "001001010100100"}, {':', "000010000010000"}, {'-', "000000111000000"}, {'.', "000000000000010"},
        {'+', "000010111010000"}, {',', "000000000010100"}, {'!', "010010010000010"}, {'?', "111001010000010"},
        {'(', "001010010010001"}, {')', "100010010010100"}, {'%', "101001010100101"}, {' ', "000000000000000"},
    };
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    for (const auto& [code, rows] : s_Glyphs)
        if (code == c)
            return rows;
    return "000000010000000"; // anything else: a dot, so the cell is still seen
}

std::string FontImage(const FontSpec& font)
{
    const uint32_t count = font.last - font.first + 1;
    const uint32_t rows = (count + font.columns - 1) / font.columns;
    const uint32_t width = font.columns * font.cellWidth;
    const uint32_t height = rows * font.cellHeight;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0x00FFFFFFu);
    // Each pixel of the alphabet becomes a block sx wide and sy tall: sy as the cell allows with a pixel
    // to spare above and below and two beside, sx as the cell allows with two pixels to spare beside, at
    // most one more than sy. The digits of one number then stand two or three pixels apart, closer than
    // two numbers drawn a few pixels past each other's last cell.
    const uint32_t sy = std::max<uint32_t>(1, std::min((font.cellWidth - 2) / 3, (font.cellHeight - 2) / 5));
    const uint32_t sx = std::max<uint32_t>(1, std::min((font.cellWidth - 2) / 3, sy + 1));
    for (uint32_t i = 0; i < count; ++i)
    {
        const char* glyph = Glyph(static_cast<char>(font.first + i));
        const uint32_t left = (i % font.columns) * font.cellWidth + (font.cellWidth - 3 * sx) / 2;
        const uint32_t top = (i / font.columns) * font.cellHeight + (font.cellHeight - 5 * sy) / 2;
        if (font.first + i == '/')
        {
            // A slash on a three-pixel grid reads as a tick: draw it as one straight stroke from the
            // box's top right to its bottom left, as thick as the other glyphs' strokes.
            const uint32_t w = 3 * sx, h = 5 * sy;
            for (uint32_t gy = 0; gy < h; ++gy)
            {
                const uint32_t x = (w - sx) * (h - 1 - gy) / (h - 1);
                for (uint32_t t = 0; t < sx; ++t)
                    pixels[static_cast<size_t>(top + gy) * width + left + x + t] = 0xFFFFFFFFu;
            }
            continue;
        }
        for (uint32_t gy = 0; gy < 5 * sy; ++gy)
            for (uint32_t gx = 0; gx < 3 * sx; ++gx)
                if (glyph[(gy / sy) * 3 + gx / sx] == '1')
                    pixels[static_cast<size_t>(top + gy) * width + left + gx] = 0xFFFFFFFFu;
    }
    return EncodePng(width, height, pixels);
}

} // namespace

std::vector<std::pair<std::string, std::string>> FontImages()
{
    std::vector<std::pair<std::string, std::string>> images;
    for (const FontSpec& font : s_Fonts)
        images.emplace_back(std::string("fonts/") + font.name + ".png", FontImage(font));
    return images;
}
