#pragma once

// The looks of the sample game's buttons, tabs and toggles: four pictures per module ("_off", "_on",
// "_over", "_na"), each a framed fill with the button's label written on it, greyed in the disabled look.
// The label is the module's entry in a table of short names, else the help text of the first layout row
// placing the module; buttons the screens draw a picture into (cards, thumbnails) carry it along their
// bottom edge so the picture stays seen.

#include "../gncwriter/GisPacker.h"

#include <cstdint>
#include <string>
#include <vector>

class SampleButtonLook
{
public:
    // The label of a module: its short name, else `help`; "" for a module that shows no label.
    static std::wstring Label(const std::string& module, const std::string& help);
    // True for modules whose label sits along the bottom edge.
    static bool LabelAtBottom(const std::string& module);
    // The four looks of an image named `image` (the module's ImageName), w x h, with the label.
    static void Append(std::vector<GisPicture>& pictures, const std::wstring& image, uint32_t w, uint32_t h,
                       const std::wstring& label, bool atBottom);
    // A framed fill: a transparent margin, a light edge and a fill a little lighter at the top.
    static GisPicture Plate(const std::wstring& name, uint32_t w, uint32_t h, uint32_t fill, uint32_t margin = 2);
};
