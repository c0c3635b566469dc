#include "task/ui/GxTaskUITextLogFx.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGraphics.h"
#include "task/ui/GxUITextLayout.h"

#include <algorithm>

namespace
{
constexpr int32_t kBitmapFonts = 8;
// More lines than any log keeps; a larger stored count is damage.
constexpr uint32_t kMaxStoredLines = 100000;
} // namespace

GxTaskUITextLogFx::GxTaskUITextLogFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                     int32_t localIndex)
    : GxTaskUIPanelFx(parent, globalName, localName, localIndex), m_TextFontSize(GetSystemConfig().m_FontSize[1]),
      m_EdgeColor(GetSystemConfig().m_WidgetSecondColor)
{
    SetTypeCode(kTypeCode);
}

GxTaskUITextLogFx::~GxTaskUITextLogFx() = default;

void GxTaskUITextLogFx::SetTextFontIndex(int32_t index)
{
    GxUITextLayout layout(m_TextFontIndex);
    if (layout.SetTextFontIndex(index, L"GxTaskUITextLogFx"))
    {
        m_TextFontIndex = layout.m_TextFontIndex;
        m_TextFontSize = layout.m_TextFontSize;
    }
}

void GxTaskUITextLogFx::SetIconFontIndex(int32_t index)
{
    if (index < 0 || index >= kBitmapFonts)
    {
        GxLog::Error(L"GxTaskUITextLogFx::SetIconFontIndex/フォント番号が不正です(%d)\n", index);
        return;
    }
    m_IconFontIndex = index;
}

void GxTaskUITextLogFx::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIPanelFx::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
}

void GxTaskUITextLogFx::OnSequenceEnter()
{
    LoadImages();
    m_EventState = 0;
    SyncScrollBar();
    m_CrossoutCount = 0;
}

void GxTaskUITextLogFx::SetText(const wchar_t* text)
{
    AddLine(text, L"", m_TextColor);
}

void GxTaskUITextLogFx::TrimLines(int32_t max)
{
    if (max == 0)
        return;
    while (static_cast<int32_t>(m_Lines.size()) > std::max(max, 0))
        m_Lines.pop_front();
}

void GxTaskUITextLogFx::SyncScrollBar()
{
    if (!m_ScrollBar)
        return;
    m_ScrollBar->SetMax(static_cast<double>(std::max(GetLineCount() - 1, 0)));
    m_ScrollBar->SetValue(m_Value);
}

void GxTaskUITextLogFx::AddLine(const wchar_t* text, const wchar_t* icon, uint32_t color)
{
    if (m_Lines.empty())
        m_CrossoutCount = 0;
    GxTextLogElement line;
    line.m_Icon = icon ? icon : L"";
    line.m_Text = text ? text : L"";
    line.m_TextColor = color;
    m_Lines.push_back(line);
    TrimLines(m_MaxLine);
    if (m_ScrollBar)
        m_ScrollBar->SetMax(static_cast<double>(std::max(GetLineCount() - 1, 0)));
    if (m_AutoScroll)
    {
        m_Value = GetLineCount() > m_MaxView ? GetLineCount() - m_MaxView : 0;
        if (m_ScrollBar)
            m_ScrollBar->SetValue(m_Value);
    }
}

int32_t GxTaskUITextLogFx::Update(int32_t step, int64_t elapsed)
{
    if (m_AutoCrossout && !m_Lines.empty())
    {
        m_CrossoutCount += static_cast<int32_t>(elapsed / 1000);
        if (m_CrossoutCount >= m_CrossoutWaitTime)
        {
            m_CrossoutCount -= m_CrossoutWaitTime;
            m_Lines.pop_front();
            SyncScrollBar();
        }
    }
    return GxTaskUIPanelFx::Update(step, elapsed);
}

int32_t GxTaskUITextLogFx::FirstShownLine() const
{
    const int32_t first = GetValueAsInt();
    return first < 0 ? 0 : first;
}

int32_t GxTaskUITextLogFx::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 origin = GetWorldPos();
    const GxVector2 scale(v.m_Scale.x, v.m_Scale.y);
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage();
    GxUITextLayout style(m_TextFontIndex);
    style.m_TextFontSize = m_TextFontSize;
    style.m_UseEdge = m_UseEdge;
    const uint32_t text = GxUITextLayout::FadeColor(m_TextColor, v.m_Alpha);
    const uint32_t edge = GxUITextLayout::FadeColor(m_EdgeColor, v.m_Alpha);
    GxFontData& icons = g_FontDataTable[m_IconFontIndex];
    const int32_t cellHeight = static_cast<int32_t>(icons.GetCellHeight());
    const int32_t iconAdvance = static_cast<int32_t>(icons.GetCharWidth(L' '));
    int32_t drawn = 0;
    for (int32_t i = FirstShownLine(); i < GetLineCount() && drawn < m_MaxView; ++i, ++drawn)
    {
        const GxTextLogElement& line = m_Lines[static_cast<size_t>(i)];
        const int32_t y = m_ClientTop + drawn * m_TextFontSize;
        if (!line.m_Icon.empty())
            GxGraphics::DrawFontText(line.m_Icon.c_str(), &icons, origin.x + scale.x * static_cast<float>(m_ClientLeft),
                                     origin.y + scale.y * static_cast<float>(y + (m_TextFontSize - cellHeight) / 2),
                                     scale, GxVector3(0.0f, 0.0f, 0.0f), GxVector2(0.0f, 0.0f), 0xFFFFFFFFu, 0, blend);
        int32_t x = static_cast<int32_t>(line.m_Icon.size()) * iconAdvance;
        for (wchar_t c : line.m_Text)
        {
            style.DrawGlyph(c, origin.x + scale.x * static_cast<float>(m_ClientLeft + x),
                            origin.y + scale.y * static_cast<float>(y), scale, text, edge, blend);
            x += GxUITextLayout::Advance(c, m_TextFontSize) + 1;
        }
    }
    GxGraphics::EndScene();
    return 0;
}

bool GxTaskUITextLogFx::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIPanelFx::Save(writer);
    writer->Write("m_TextFontIndex", m_TextFontIndex);
    writer->Write("m_TextFontSize", m_TextFontSize);
    writer->Write("m_TextColor", m_TextColor);
    writer->Write("m_EdgeColor", m_EdgeColor);
    writer->Write("m_UseEdge", m_UseEdge);
    writer->Write("m_MaxLine", m_MaxLine);
    writer->Write("m_MaxView", m_MaxView);
    writer->Write("m_AutoScroll", m_AutoScroll);
    writer->Write("m_AutoCrossout", m_AutoCrossout);
    writer->Write("m_CrossoutWaitTime", m_CrossoutWaitTime);
    writer->Write("m_CrossoutCount", m_CrossoutCount);
    writer->ListBegin("GxTextLogElement", "", static_cast<uint32_t>(m_Lines.size()));
    for (const GxTextLogElement& line : m_Lines)
    {
        writer->ListItemBegin();
        writer->WriteString("m_Icon", line.m_Icon);
        writer->WriteString("m_Text", line.m_Text);
        writer->WriteString("m_Link", line.m_Link);
        writer->Write("m_TextColor", line.m_TextColor);
        writer->ListItemEnd();
    }
    writer->ListEnd();
    return writer->GetErrorCount() == 0;
}

bool GxTaskUITextLogFx::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIPanelFx::Load(reader))
        return false;
    int32_t fontIndex = m_TextFontIndex;
    reader->Read("m_TextFontIndex", fontIndex);
    reader->Read("m_TextFontSize", m_TextFontSize);
    reader->Read("m_TextColor", m_TextColor);
    reader->Read("m_EdgeColor", m_EdgeColor);
    reader->Read("m_UseEdge", m_UseEdge);
    reader->Read("m_MaxLine", m_MaxLine);
    reader->Read("m_MaxView", m_MaxView);
    reader->Read("m_AutoScroll", m_AutoScroll);
    reader->Read("m_AutoCrossout", m_AutoCrossout);
    reader->Read("m_CrossoutWaitTime", m_CrossoutWaitTime);
    reader->Read("m_CrossoutCount", m_CrossoutCount);
    if (fontIndex >= 0 && fontIndex < GxUITextLayout::kFontCount)
        m_TextFontIndex = fontIndex;
    else
        GxLog::Error(L"GxTaskUITextLogFx::Load/フォント番号が不正です(%d)\n", fontIndex);
    uint32_t count = 0;
    const uint32_t errors = reader->GetErrorCount();
    reader->ListBegin("GxTextLogElement", count);
    m_Lines.clear();
    if (count > kMaxStoredLines)
    {
        GxLog::Error(L"GxTaskUITextLogFx::Load/行数が不正です(%u)\n", count);
        return false;
    }
    for (uint32_t i = 0; i < count && reader->GetErrorCount() == errors; ++i)
    {
        GxTextLogElement line;
        reader->ListItemBegin();
        reader->ReadString("m_Icon", line.m_Icon);
        reader->ReadString("m_Text", line.m_Text);
        reader->ReadString("m_Link", line.m_Link);
        reader->Read("m_TextColor", line.m_TextColor);
        reader->ListItemEnd();
        m_Lines.push_back(line);
    }
    reader->ListEnd();
    // The stored scroll position indexes the lines: keep it inside them.
    m_Value = std::clamp(m_Value, 0.0, static_cast<double>(std::max(GetLineCount() - 1, 0)));
    return reader->GetErrorCount() == 0;
}
