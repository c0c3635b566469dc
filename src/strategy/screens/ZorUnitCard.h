#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ZorTaskUnitEntity;

// The unit information card: picture, name, class, side, level, hit points, attack, defence rates,
// leadership cost, four skills and the active statuses of one unit, drawn straight with the icon pool
// and the two text drawers. The defence screen's cards and the take-over grid share it.
class ZorUnitCard
{
public:
    enum class Kind
    {
        Icon,       // m_Text names an icon
        NameText,   // the name font (font map of size setting 0)
        NumberText, // FONT8NUM
        StatusText, // FONT16COND
    };
    // One element, its position relative to the card origin.
    struct Element
    {
        Kind m_Kind = Kind::Icon;
        std::wstring m_Text;
        float m_X = 0.0f;
        float m_Y = 0.0f;
        uint32_t m_Colour = 0xFFFFFFFF;
    };
    // How the picture is drawn: the take-over grid greys the units it does not keep.
    enum class Picture
    {
        Normal,
        Grey,
    };

    // The card's elements in drawing order; out is cleared first (kept by the caller so a frame does not
    // allocate anew).
    static void Layout(const ZorTaskUnitEntity& unit, Picture picture, std::vector<Element>& out);
    static void Draw(const std::vector<Element>& elements, float x0, float y0);
};
