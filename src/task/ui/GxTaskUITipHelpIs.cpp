#include "task/ui/GxTaskUITipHelpIs.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxMatrix.h"
#include "core/GxVector2.h"
#include "graphics/GxGraphics.h"

#include <algorithm>

GxTaskUITipHelpIs::GxTaskUITipHelpIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                     int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
    m_EventBlockFlag = false;
    m_ModalFlag = true;
}

GxTaskUITipHelpIs::~GxTaskUITipHelpIs() = default;

int32_t GxTaskUITipHelpIs::Update(int32_t, int64_t elapsed)
{
    StepActions(this, static_cast<int32_t>(elapsed / 1000));
    return 0;
}

int32_t GxTaskUITipHelpIs::OnMouseMove(const float*, uint32_t)
{
    if (m_AutoHide && IsVisible() && CanAcceptInput())
        Hide();
    return 0;
}

void GxTaskUITipHelpIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
    m_Images.ApplyModule(row);
}

bool GxTaskUITipHelpIs::LoadImageSet(const wchar_t* path)
{
    return m_Images.LoadImageSet(path);
}

bool GxTaskUITipHelpIs::LoadImages()
{
    return m_Images.Fetch({{0, L".png"}}, 0, L"GxTaskUITipHelpIs/ImageSet wasn't Loaded:%s [%s]\n",
                          L"GxTaskUITipHelpIs/Image not found:%s [%s]\n", GetTaskPath());
}

int32_t GxTaskUITipHelpIs::ReleaseImages()
{
    m_Images.Release();
    return 0;
}

int32_t GxTaskUITipHelpIs::GetPatternCount() const
{
    return GxUIImageTable::GetPatternCount(m_Images.m_Images[0]);
}

void GxTaskUITipHelpIs::SetTextFontIndex(int32_t index)
{
    m_Layout.SetTextFontIndex(index, L"GxTaskUITipHelpIs");
}

int32_t GxTaskUITipHelpIs::MeasureText(int32_t& widest) const
{
    return m_Layout.ForEachTipGlyph(m_Text, GetSystemConfig().m_WidgetLineBreak, m_NewLineWidth, widest,
                                    [](wchar_t, int32_t, int32_t) {});
}

void GxTaskUITipHelpIs::SetText(const wchar_t* text)
{
    GxTaskUIBase::SetText(text);
    int32_t widest = 0;
    const int32_t lastRow = MeasureText(widest);
    const int32_t size = m_Layout.m_TextFontSize;
    m_Width = std::max((size + 2 * m_Padding + widest - 1) / kCell, 2) * kCell;
    m_Height = std::max(((lastRow + 2) * size + 2 * m_Padding - 1) / kCell, 2) * kCell;
    if (m_Text.empty())
        Hide();
}

void GxTaskUITipHelpIs::SetTipPosition(float px, float py)
{
    const float screenW = static_cast<float>(GxCore::kVirtualWidth);
    const float screenH = static_cast<float>(GxCore::kVirtualHeight);
    const float w = static_cast<float>(m_Width);
    const float h = static_cast<float>(m_Height);
    GxVector4 pos = GetVisual().m_Pos;
    pos.x = px - 24.0f;
    pos.y = py + 24.0f;
    SetPos(pos);
    const GxVector4 world = GetWorldPos();
    if (world.x + w > screenW)
        pos.x -= w - 48.0f;
    if (world.y + h > screenH)
        pos.y -= h + 48.0f;
    pos.x = std::max(pos.x, 0.0f);
    pos.y = std::max(pos.y, 0.0f);
    if (pos.x + w > screenW)
        pos.x = screenW - w;
    if (pos.y + h > screenH)
        pos.y = screenH - h;
    SetPos(pos);
}

int32_t GxTaskUITipHelpIs::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 world = GetWorldPos();
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    if (const GxNcOriginImage* frame = m_Images.m_Images[0])
    {
        // Corners, edges and a middle cell of the 48 x 48 frame, cell by cell. The cut draw keeps the
        // cut part at the pattern's own offset, so the matrix takes that offset back out.
        int32_t ox = 0;
        int32_t oy = 0;
        GxUIImageTable::GetPatternOffset(frame, m_PatternIndex, ox, oy);
        const int32_t columns = m_Width / kCell;
        const int32_t rows = m_Height / kCell;
        const float alpha = static_cast<float>(v.m_Alpha) / 255.0f;
        const GxVector4 white(1.0f, 1.0f, 1.0f, 1.0f);
        for (int32_t r = 0; r < rows; ++r)
        {
            const int32_t rowPart = r == 0 ? 0 : r == rows - 1 ? 2 : 1;
            for (int32_t c = 0; c < columns; ++c)
            {
                const int32_t columnPart = c == 0 ? 0 : c == columns - 1 ? 2 : 1;
                const int32_t left = columnPart * kCell;
                const int32_t top = rowPart * kCell;
                GxMatrix m;
                m.TranslationV(GxVector3(world.x + static_cast<float>(c * kCell - ox),
                                         world.y + static_cast<float>(r * kCell - oy), world.z));
                GxUIImageTable::DrawPatternEx(frame, m_PatternIndex, m, left, top, left + kCell, top + kCell, alpha,
                                              white, GxVector4(), blend);
            }
        }
    }
    const uint32_t textColor = GxUITextLayout::FadeColor(m_Layout.m_TextColor, v.m_Alpha);
    const uint32_t edgeColor = GxUITextLayout::FadeColor(m_Layout.m_EdgeColor, v.m_Alpha);
    const GxVector2 scale(1.0f, 1.0f);
    int32_t widest = 0;
    m_Layout.ForEachTipGlyph(m_Text, GetSystemConfig().m_WidgetLineBreak, m_NewLineWidth, widest,
                             [&](wchar_t c, int32_t x, int32_t y)
                             {
                                 m_Layout.DrawGlyph(c, world.x + static_cast<float>(m_Padding + x),
                                                    world.y + static_cast<float>(m_Padding + y), scale, textColor,
                                                    edgeColor, blend);
                             });
    GxGraphics::EndScene();
    return 0;
}

bool GxTaskUITipHelpIs::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIBase::Save(writer);
    m_Images.SaveNames(writer);
    writer->Write("m_PatternIndex", m_PatternIndex);
    writer->Write("m_TextFontIndex", m_Layout.m_TextFontIndex);
    writer->Write("m_TextFontSize", m_Layout.m_TextFontSize);
    writer->Write("m_TextColor", m_Layout.m_TextColor);
    writer->Write("m_EdgeColor", m_Layout.m_EdgeColor);
    writer->Write("m_UseEdge", m_Layout.m_UseEdge);
    writer->Write("m_NewLineWidth", m_NewLineWidth);
    writer->Write("m_AutoHide", m_AutoHide);
    writer->Write("m_Padding", m_Padding);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUITipHelpIs::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIBase::Load(reader))
        return false;
    m_Images.LoadNames(reader);
    reader->Read("m_PatternIndex", m_PatternIndex);
    int32_t fontIndex = m_Layout.m_TextFontIndex;
    reader->Read("m_TextFontIndex", fontIndex);
    reader->Read("m_TextFontSize", m_Layout.m_TextFontSize);
    reader->Read("m_TextColor", m_Layout.m_TextColor);
    reader->Read("m_EdgeColor", m_Layout.m_EdgeColor);
    reader->Read("m_UseEdge", m_Layout.m_UseEdge);
    reader->Read("m_NewLineWidth", m_NewLineWidth);
    reader->Read("m_AutoHide", m_AutoHide);
    reader->Read("m_Padding", m_Padding);
    if (fontIndex >= 0 && fontIndex < GxUITextLayout::kFontCount)
        m_Layout.m_TextFontIndex = fontIndex;
    else
        GxLog::Error(L"GxTaskUITipHelpIs::Load/フォント番号が不正です(%d)\n", fontIndex);
    ReleaseImages();
    ResetInputState();
    return reader->GetErrorCount() == 0;
}
