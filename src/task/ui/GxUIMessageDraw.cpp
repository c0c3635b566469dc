#include "task/ui/GxUIMessageDraw.h"

#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxDraw.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxTexture.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIMessageLayout.h"
#include "task/ui/GxUITextLayout.h"

#include <vector>

namespace
{
void Glyph(const GxGDIFontGlyph& glyph, float x, float y, const GxVector2& scale, uint32_t color, uint32_t blend)
{
    if (!glyph.m_pTexture)
        return;
    GxImageRect image;
    image.m_pTexture = glyph.m_pTexture;
    image.m_Left = static_cast<int32_t>(glyph.m_X);
    image.m_Top = static_cast<int32_t>(glyph.m_Y);
    image.m_Width = static_cast<int32_t>(glyph.m_Width);
    image.m_Height = static_cast<int32_t>(glyph.m_Height);
    GxDraw::DrawImageRect(image, x, y, scale, GxVector3(0.0f, 0.0f, 0.0f), GxVector2(0.0f, 0.0f), color, 0, blend);
}
} // namespace

void GxUIMessageDraw::Draw(const GxUIMessageLayout& layout, const GxTaskUIBase& widget, uint32_t unflaggedColor)
{
    const GxActorVisualParam& v = widget.GetVisual();
    const GxVector4 origin = widget.GetWorldPos();
    const GxVector2 scale(v.m_Scale.x, v.m_Scale.y);
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    const int32_t alpha = v.m_Alpha;
    const uint32_t current = GxUITextLayout::FadeColor(layout.m_TextColor, alpha);
    const uint32_t shadow = GxUITextLayout::FadeColor(layout.m_ShadowColor, alpha);
    auto at = [&](int32_t x, int32_t y, float d, float& sx, float& sy)
    {
        sx = origin.x + scale.x * (static_cast<float>(x) + d);
        sy = origin.y + scale.y * (static_cast<float>(y) + d);
    };
    const bool rubies = layout.m_Mode == GxUIMessageLayout::Mode::Message || layout.m_RubyLine;
    // Every glyph is asked for before any is drawn, in the order they are drawn: a character shown for the
    // first time is written into its glyph page before the page's earlier glyphs are drawn from it this
    // frame, so the text stays one batch from one picture of the page, as it is in the frames after.
    static thread_local std::vector<GxGDIFontGlyph> s_Glyphs;
    s_Glyphs.clear();
    if (rubies)
        layout.ForEachRubyGlyph([&](wchar_t c, int32_t, int32_t)
                                { s_Glyphs.push_back(g_GDIFontMaps[layout.m_RubyFontIndex].GetGlyph(c)); });
    layout.ForEachBodyGlyph([&](const GxUIMessageLayout::ShowChar& ch, int32_t, int32_t)
                            { s_Glyphs.push_back(g_GDIFontMaps[layout.m_TextFontIndex].GetGlyph(ch.m_Char)); });
    size_t next = 0;
    if (rubies)
    {
        layout.ForEachRubyGlyph(
            [&](wchar_t, int32_t x, int32_t y)
            {
                const GxGDIFontGlyph& glyph = s_Glyphs[next++];
                float sx = 0.0f;
                float sy = 0.0f;
                if (layout.m_UseShadow)
                {
                    at(x, y, 1.0f, sx, sy);
                    Glyph(glyph, sx, sy, scale, shadow, blend);
                }
                at(x, y, 0.0f, sx, sy);
                Glyph(glyph, sx, sy, scale, current, blend);
            });
    }
    const bool message = layout.m_Mode == GxUIMessageLayout::Mode::Message;
    layout.ForEachBodyGlyph(
        [&](const GxUIMessageLayout::ShowChar& ch, int32_t x, int32_t y)
        {
            const GxGDIFontGlyph& glyph = s_Glyphs[next++];
            float sx = 0.0f;
            float sy = 0.0f;
            if (layout.m_UseShadow)
            {
                at(x, y, 2.0f, sx, sy);
                Glyph(glyph, sx, sy, scale, shadow, 2);
            }
            const uint32_t color = !message || ch.m_ChangeColorFlag ? ch.m_Color : unflaggedColor;
            at(x, y, 0.0f, sx, sy);
            Glyph(glyph, sx, sy, scale, GxUITextLayout::FadeColor(color, alpha), blend);
        });
}
