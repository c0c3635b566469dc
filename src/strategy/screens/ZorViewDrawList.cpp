#include "strategy/screens/ZorViewDrawList.h"

#include "animation/GxNcIconPool.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"

#include <algorithm>

ZorViewDrawList::Item& ZorViewDrawList::Next(Kind kind, const std::wstring& text, float x, float y)
{
    if (m_Count == m_Items.size())
        m_Items.emplace_back();
    Item& item = m_Items[m_Count++];
    item = Item();
    item.m_Kind = kind;
    item.m_Text = text;
    item.m_X = x;
    item.m_Y = y;
    return item;
}

void ZorViewDrawList::Icon(const std::wstring& name, float x, float y, uint32_t colour, uint32_t specular)
{
    Item& item = Next(Kind::Icon, name, x, y);
    item.m_Colour = colour;
    item.m_Specular = specular;
}

void ZorViewDrawList::Bar(const std::wstring& name, float x, float y, double ratio)
{
    Item& item = Next(Kind::Bar, name, x, y);
    // NaN (a 0 / 0 that slipped through) counts as empty.
    item.m_Ratio = ratio > 0.0 ? std::min(ratio, 1.0) : 0.0;
}

void ZorViewDrawList::GdiText(const std::wstring& text, float x, float y, uint32_t colour, int32_t font)
{
    Item& item = Next(Kind::GdiText, text, x, y);
    item.m_Colour = colour;
    item.m_Font = font;
}

void ZorViewDrawList::FontText(const std::wstring& text, float x, float y, int32_t font, uint32_t colour)
{
    Item& item = Next(Kind::FontText, text, x, y);
    item.m_Colour = colour;
    item.m_Font = font;
}

const ZorViewDrawList::Item* ZorViewDrawList::Find(Kind kind, const std::wstring& text) const
{
    for (size_t i = 0; i < m_Count; ++i)
    {
        if (m_Items[i].m_Kind == kind && m_Items[i].m_Text == text)
            return &m_Items[i];
    }
    return nullptr;
}

size_t ZorViewDrawList::Count(Kind kind, const std::wstring& text) const
{
    size_t n = 0;
    for (size_t i = 0; i < m_Count; ++i)
        n += m_Items[i].m_Kind == kind && m_Items[i].m_Text == text ? 1 : 0;
    return n;
}

void ZorViewDrawList::Draw(float x0, float y0) const
{
    for (size_t i = 0; i < m_Count; ++i)
    {
        const Item& e = m_Items[i];
        const float x = x0 + e.m_X;
        const float y = y0 + e.m_Y;
        if (e.m_Text.empty())
            continue;
        switch (e.m_Kind)
        {
        case Kind::Icon:
            GxNcIconPool::Draw(e.m_Text.c_str(), 0, 1.0f, 1.0f, x, y, 0.0f, e.m_Colour, e.m_Specular);
            break;
        case Kind::Bar:
            GxNcIconPool::DrawEx(e.m_Text.c_str(), x, y, 0.0f, 0, e.m_Ratio);
            break;
        case Kind::GdiText:
            if (e.m_Font >= 0 && e.m_Font < 6)
                GxGraphics::DrawText(&g_GDIFontMaps[e.m_Font], e.m_Text.c_str(), x, y, GxVector2(1.0f, 1.0f),
                                     e.m_Colour, 0, 2);
            break;
        case Kind::FontText:
            if (e.m_Font >= 0 && e.m_Font < 8)
                GxGraphics::DrawFontText(e.m_Text.c_str(), &g_FontDataTable[e.m_Font], x, y, GxVector2(1.0f, 1.0f),
                                         GxVector3(), GxVector2(), e.m_Colour, 0, 2);
            break;
        }
    }
}

void ZorViewDrawList::DrawOverlay(float x0, float y0) const
{
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    Draw(x0, y0);
    GxGraphics::EndScene();
}
