#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a window view of the defence screen draws in one frame, as a list of simple items relative to the
// view's origin: icons (optionally with a second colour), horizontal bars cut to a fill ratio, texts of
// the GDI font map and texts of a bitmap font. The views fill it from the game state (a step the tests
// can check without a device) and then draw it. The list keeps its storage between frames, so a steady
// screen does not allocate.
class ZorViewDrawList
{
public:
    enum class Kind
    {
        Icon,     // m_Text names an icon of the icon pool; m_Colour, m_Specular
        Bar,      // m_Text names a bar icon, cut to m_Ratio of its width
        GdiText,  // GDI font map m_Font
        FontText, // bitmap font m_Font of the font table
    };
    struct Item
    {
        Kind m_Kind = Kind::Icon;
        std::wstring m_Text;
        float m_X = 0.0f;
        float m_Y = 0.0f;
        uint32_t m_Colour = 0xFFFFFFFF;
        uint32_t m_Specular = 0;
        double m_Ratio = 0.0;
        int32_t m_Font = 0;
    };

    // Bitmap fonts of the font table used by the views.
    static constexpr int32_t kFont16Sys = 0; // letters and digits
    static constexpr int32_t kFont8Num = 1;  // digits only
    static constexpr int32_t kFont16Num = 2;
    static constexpr int32_t kFont16Cond = 5; // the status signs

    void Clear() { m_Count = 0; }
    void Icon(const std::wstring& name, float x, float y, uint32_t colour = 0xFFFFFFFF, uint32_t specular = 0);
    // A bar whose ratio is clamped into 0..1 (a fill past the end or below 0 is never drawn).
    void Bar(const std::wstring& name, float x, float y, double ratio);
    void GdiText(const std::wstring& text, float x, float y, uint32_t colour = 0xFFFFFFFF, int32_t font = 0);
    void FontText(const std::wstring& text, float x, float y, int32_t font, uint32_t colour = 0xFFFFFFFF);

    size_t Size() const { return m_Count; }
    const Item& operator[](size_t i) const { return m_Items[i]; }
    // The first item of the kind whose text is text, or null.
    const Item* Find(Kind kind, const std::wstring& text) const;
    size_t Count(Kind kind, const std::wstring& text) const;

    // Draws every item at (x0, y0) + its position; the caller has begun the scene.
    void Draw(float x0, float y0) const;
    // Draws the items as a 2D overlay in a scene of their own: default states, point filter, alpha blend.
    void DrawOverlay(float x0, float y0) const;

private:
    // The next item, reset, with its kind, text and position set.
    Item& Next(Kind kind, const std::wstring& text, float x, float y);

    std::vector<Item> m_Items;
    size_t m_Count = 0;
};
