#include "task/ui/GxUITextLayout.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxDraw.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxTexture.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{
bool IsFontIndex(int32_t index)
{
    return index >= 0 && index < GxUITextLayout::kFontCount;
}
} // namespace

GxUITextLayout::GxUITextLayout(int32_t fontIndex)
    : m_TextFontIndex(IsFontIndex(fontIndex) ? fontIndex : 0),
      m_TextFontSize(GxTaskUIBase::GetSystemConfig().m_FontSize[m_TextFontIndex]),
      m_EdgeColor(GxTaskUIBase::GetSystemConfig().m_WidgetSecondColor)
{
}

bool GxUITextLayout::SetTextFontIndex(int32_t index, const wchar_t* owner)
{
    if (!IsFontIndex(index))
    {
        GxLog::Error(L"%s::SetTextFontIndex/フォント番号が不正です(%d)\n", owner, index);
        return false;
    }
    m_TextFontIndex = index;
    m_TextFontSize = GxTaskUIBase::GetSystemConfig().m_FontSize[index];
    return true;
}

void GxUITextLayout::Save(GxContentWriterBase* writer) const
{
    writer->Write("m_TextFontIndex", m_TextFontIndex);
    writer->Write("m_TextFontSize", m_TextFontSize);
    writer->Write("m_TextColor", m_TextColor);
    writer->Write("m_EdgeColor", m_EdgeColor);
    writer->Write("m_UseEdge", m_UseEdge);
    writer->Write("m_AutoAlign", m_AutoAlign);
}

void GxUITextLayout::Load(GxContentReaderBase* reader, const wchar_t* owner)
{
    int32_t index = m_TextFontIndex;
    reader->Read("m_TextFontIndex", index);
    reader->Read("m_TextFontSize", m_TextFontSize);
    reader->Read("m_TextColor", m_TextColor);
    reader->Read("m_EdgeColor", m_EdgeColor);
    reader->Read("m_UseEdge", m_UseEdge);
    reader->Read("m_AutoAlign", m_AutoAlign);
    if (IsFontIndex(index))
        m_TextFontIndex = index;
    else
        GxLog::Error(L"%s::Load/フォント番号が不正です(%d)\n", owner, index);
}

int32_t GxUITextLayout::Advance(wchar_t c, int32_t size)
{
    return GxString::GetCharWidthUnits(c) * size / 2;
}

int32_t GxUITextLayout::MeasureLine(const std::wstring& text, int32_t size)
{
    int32_t w = 0;
    for (wchar_t c : text)
        w += Advance(c, size);
    return w;
}

uint32_t GxUITextLayout::FadeColor(uint32_t argb, int32_t alpha)
{
    const uint32_t a = (argb >> 24) * static_cast<uint32_t>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha) / 255u;
    return (a << 24) | (argb & 0x00FFFFFFu);
}

void GxUITextLayout::DrawGlyph(wchar_t c, float x, float y, const GxVector2& scale, uint32_t textColor,
                               uint32_t edgeColor, uint32_t blend) const
{
    const GxGDIFontGlyph glyph = g_GDIFontMaps[m_TextFontIndex].GetGlyph(static_cast<uint32_t>(c));
    if (!glyph.m_pTexture)
        return;
    GxImageRect image;
    image.m_pTexture = glyph.m_pTexture;
    image.m_Left = static_cast<int32_t>(glyph.m_X);
    image.m_Top = static_cast<int32_t>(glyph.m_Y);
    image.m_Width = static_cast<int32_t>(glyph.m_Width);
    image.m_Height = static_cast<int32_t>(glyph.m_Height);
    const GxVector3 noRotation(0.0f, 0.0f, 0.0f);
    const GxVector2 topLeft(0.0f, 0.0f);
    if (m_UseEdge)
        GxDraw::DrawImageRectEdge(image, x, y, 1.0f, scale, noRotation, topLeft, edgeColor, 0, blend);
    GxDraw::DrawImageRect(image, x, y, scale, noRotation, topLeft, textColor, 0, blend);
}

void GxUITextLayout::DrawPanelText(const std::wstring& text, wchar_t lineBreak, int32_t clientLeft, int32_t clientTop,
                                   int32_t clientWidth, float worldX, float worldY, const GxVector2& scale,
                                   int32_t alpha, uint32_t blend) const
{
    const uint32_t textColor = FadeColor(m_TextColor, alpha);
    const uint32_t edgeColor = FadeColor(m_EdgeColor, alpha);
    ForEachPanelGlyph(text, lineBreak, clientLeft, clientTop, clientWidth,
                      [&](wchar_t c, int32_t x, int32_t y)
                      {
                          DrawGlyph(c, worldX + scale.x * static_cast<float>(x),
                                    worldY + scale.y * static_cast<float>(y), scale, textColor, edgeColor, blend);
                      });
}
