#pragma once

// Text drawn into the sample game's pictures: button labels, screen titles, name plates. Glyphs come from
// the game's own Japanese gothic face through the engine's FreeType wrapper, so the pictures show the
// letters the game itself shows, and the same face gives the same bytes at every run.
//
// Fully covered glyph pixels get exactly the label colour; the edge pixels blend it over what is below,
// and a dark outline one pixel wide keeps the letters readable over any fill.

#include <cstdint>
#include <string>
#include <vector>

class SampleLabel
{
public:
    // The colours of a label on an enabled look and on a disabled one ("_na": greyed).
    static constexpr uint32_t kColour = 0xFFFFF4D8u;
    static constexpr uint32_t kDisabledColour = 0xFF9C9C9Cu;

    // Writes text centred in the rectangle (left, top, width, height) of an ARGB picture w pixels wide,
    // at the largest cell height up to `size` whose line fits the width (never below 10). False when
    // no face can be opened; the picture is then left as it was.
    static bool DrawCentred(std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::wstring& text,
                            uint32_t colour, int32_t size, int32_t left, int32_t top, int32_t width, int32_t height);
    // The same with the text's left edge at `left` (captions beside a row).
    static bool DrawLeft(std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::wstring& text,
                         uint32_t colour, int32_t size, int32_t left, int32_t top, int32_t height);
    // The width of one line of text at a cell height; 0 without a face.
    static int32_t Measure(const std::wstring& text, int32_t size);

private:
    static bool Draw(std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::wstring& text, uint32_t colour,
                     int32_t size, int32_t x, int32_t y);
    static int32_t Fit(const std::wstring& text, int32_t size, int32_t width, int32_t height);
};
