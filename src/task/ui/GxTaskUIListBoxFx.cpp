#include "task/ui/GxTaskUIListBoxFx.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxColor.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxFRect.h"
#include "core/GxLog.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxDraw.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureFlex.h"
#include "graphics/GxTextureFlexFactory.h"
#include "task/ui/GxUITextLayout.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t kBitmapFonts = 8;

uint32_t Modulate(uint32_t a, uint32_t b)
{
    GxVector4 ca = GxColor::FromARGB(a);
    ca.Modulate(GxColor::FromARGB(b));
    return GxColor::ToARGB(ca);
}
} // namespace

GxTaskUIListBoxFx::GxTaskUIListBoxFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                     int32_t localIndex)
    : GxTaskUIPanelFx(parent, globalName, localName, localIndex), m_TextFontSize(GetSystemConfig().m_FontSize[1]),
      m_EdgeColor(GetSystemConfig().m_WidgetSecondColor)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIListBoxFx::~GxTaskUIListBoxFx()
{
    ReleaseImages();
}

void GxTaskUIListBoxFx::OnSequenceEnter()
{
    GxTaskUIPanelFx::OnSequenceEnter();
    SyncScrollWidget();
}

void GxTaskUIListBoxFx::SetTextFontIndex(int32_t index)
{
    GxUITextLayout layout(m_TextFontIndex);
    if (layout.SetTextFontIndex(index, L"GxTaskUIListBoxFx"))
    {
        m_TextFontIndex = layout.m_TextFontIndex;
        m_TextFontSize = layout.m_TextFontSize;
    }
}

void GxTaskUIListBoxFx::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIPanelFx::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
}

// ---------------------------------------------------------------------------------------------------
// Images

bool GxTaskUIListBoxFx::LoadImages()
{
    bool found = false;
    if (!m_ImageName.empty())
    {
        GxTextureFlex* flex = GxTextureFlexFactory::GetInstance().Get(m_ImageName, 1, 0, 0, 0);
        ReleaseImages();
        m_Flex = flex;
    }
    else
    {
        ReleaseImages();
    }
    if (m_Flex)
    {
        m_Width = static_cast<int32_t>(m_Flex->GetWidth());
        m_Height = static_cast<int32_t>(m_Flex->GetHeight());
        found = true;
    }
    else
    {
        m_Width = 0;
        m_Height = 0;
    }
    if (m_ClientWidth == 0)
        m_ClientWidth = m_Width - m_ClientLeft;
    if (m_ClientHeight == 0)
        m_ClientHeight = m_Height - m_ClientTop;
    if (m_VisibleRows == 0)
        m_VisibleRows = m_ClientHeight / RowHeight();
    return found;
}

int32_t GxTaskUIListBoxFx::ReleaseImages()
{
    if (m_Flex)
    {
        GxTextureFlexFactory::GetInstance().Release(m_Flex);
        m_Flex = nullptr;
    }
    return GxTaskUIPanelFx::ReleaseImages();
}

// ---------------------------------------------------------------------------------------------------
// Items

void GxTaskUIListBoxFx::SetValue(double value)
{
    const double last = static_cast<double>(std::max(GetItemCount() - m_VisibleRows, 0));
    m_Value = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, last);
}

GxUIListBoxItem* GxTaskUIListBoxFx::AddItem(const GxUIListBoxItem& item)
{
    m_Items.push_back(item);
    return &m_Items.back();
}

GxUIListBoxItem* GxTaskUIListBoxFx::AddItem(const wchar_t* text, const wchar_t* bitmapText, int32_t bitmapFont,
                                            const wchar_t* name, int32_t value, const wchar_t* descript)
{
    GxUIListBoxItem item;
    item.m_Text = text ? text : L"";
    item.m_BitmapText = bitmapText ? bitmapText : L"";
    if (bitmapFont >= 0 && bitmapFont < kBitmapFonts)
        item.m_BitmapFont = bitmapFont;
    else
        GxLog::Error(L"GxTaskUIListBoxFx::AddItem/フォント番号が不正です(%d)\n", bitmapFont);
    item.m_Name = name ? name : L"";
    item.m_Value = value;
    item.m_Descript = descript ? descript : L"";
    GxUIListBoxItem* stored = AddItem(item);
    if (m_ScrollWidget)
        m_ScrollWidget->SetMax(static_cast<double>(std::max(GetItemCount() - m_VisibleRows, 0)));
    return stored;
}

GxUIListBoxItem* GxTaskUIListBoxFx::AddItem(GxUIListBoxItem* parent, const wchar_t* text, const wchar_t* bitmapText,
                                            int32_t bitmapFont)
{
    if (!parent)
        return nullptr;
    GxUIListBoxItem sub;
    sub.m_Text = text ? text : L"";
    sub.m_BitmapText = bitmapText ? bitmapText : L"";
    if (bitmapFont >= 0 && bitmapFont < kBitmapFonts)
        sub.m_BitmapFont = bitmapFont;
    else
        GxLog::Error(L"GxTaskUIListBoxFx::AddItem/フォント番号が不正です(%d)\n", bitmapFont);
    parent->m_SubItems.push_back(sub);
    return &parent->m_SubItems.back();
}

void GxTaskUIListBoxFx::ForgetIndices()
{
    m_ReservedIndex0 = m_HoverIndex = m_ReservedIndex1 = m_CurrentIndex = -1;
}

void GxTaskUIListBoxFx::ShowDescript(const std::wstring& text)
{
    if (m_TextWidget)
        m_TextWidget->SetText(text.c_str());
}

void GxTaskUIListBoxFx::ClearItems()
{
    m_Items.clear();
    ForgetIndices();
    if (m_ScrollWidget)
        m_ScrollWidget->SetMax(0.0);
    ShowDescript(L"");
}

void GxTaskUIListBoxFx::ClearSelection()
{
    for (GxUIListBoxItem& item : m_Items)
        item.m_Selected = false;
    ForgetIndices();
    ShowDescript(L"");
}

void GxTaskUIListBoxFx::ClearColumns()
{
    m_Columns.clear();
    ForgetIndices();
}

GxUIListBoxItem* GxTaskUIListBoxFx::GetItem(int32_t index)
{
    return index >= 0 && index < GetItemCount() ? &m_Items[static_cast<size_t>(index)] : nullptr;
}

int32_t GxTaskUIListBoxFx::GetColumn(int32_t index) const
{
    return index >= 0 && index < GetColumnCount() ? m_Columns[static_cast<size_t>(index)] : 0;
}

std::wstring GxTaskUIListBoxFx::GetCurrentName() const
{
    return m_CurrentIndex >= 0 && m_CurrentIndex < GetItemCount() ? m_Items[static_cast<size_t>(m_CurrentIndex)].m_Name
                                                                  : std::wstring();
}

int32_t GxTaskUIListBoxFx::GetCurrentValue() const
{
    return m_CurrentIndex >= 0 && m_CurrentIndex < GetItemCount() ? m_Items[static_cast<size_t>(m_CurrentIndex)].m_Value
                                                                  : -1;
}

void GxTaskUIListBoxFx::SyncScrollWidget()
{
    if (!m_ScrollWidget)
        return;
    m_ScrollWidget->SetMax(static_cast<double>(std::max(GetItemCount() - m_VisibleRows, 0)));
    m_ScrollWidget->SetValue(m_Value);
}

// ---------------------------------------------------------------------------------------------------
// Input

int32_t GxTaskUIListBoxFx::ItemAt(float y) const
{
    const float rel = y - GetWorldPos().y - static_cast<float>(m_ClientTop);
    if (rel < 0.0f)
        return -1;
    const int32_t row = static_cast<int32_t>(rel / static_cast<float>(RowHeight()));
    if (row >= m_VisibleRows)
        return -1;
    const int32_t index = FirstRow() + row;
    return index < GetItemCount() ? index : -1;
}

int32_t GxTaskUIListBoxFx::OnMouseMove(const float* point, uint32_t)
{
    if (!CanAcceptInput())
        return 0;
    const int32_t index = HitsArea(HitArea::Client, point[0], point[1]) ? ItemAt(point[1]) : -1;
    if (index >= 0)
    {
        const GxUIListBoxItem& item = m_Items[static_cast<size_t>(index)];
        ShowDescript(item.m_Descript);
        if (!item.m_Enabled)
            m_ReservedIndex0 = m_HoverIndex = -1;
        else
            m_HoverIndex = index;
        if (m_EventBlockFlag)
            return 1;
    }
    m_ReservedIndex0 = m_HoverIndex = -1;
    ShowDescript(L"");
    return 0;
}

int32_t GxTaskUIListBoxFx::OnMouseWheel(const float* point, int32_t delta, uint32_t)
{
    if (!CanAcceptInput() || !HitsArea(HitArea::Whole, point[0], point[1]))
        return 0;
    // One row per event, however far the wheel turned.
    const int32_t notches = delta / 120;
    if (notches != 0)
    {
        SetValue(GetValueAsInt() + (notches > 0 ? -1 : 1));
        m_ReservedIndex0 = m_HoverIndex = -1;
    }
    if (m_ScrollWidget)
        m_ScrollWidget->SetValue(m_Value);
    return m_EventBlockFlag ? 1 : 0;
}

int32_t GxTaskUIListBoxFx::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    if (!CanAcceptInput() || !HitsArea(HitArea::Client, point[0], point[1]))
        return 0;
    const int32_t index = ItemAt(point[1]);
    if (index >= 0 && m_Items[static_cast<size_t>(index)].m_Enabled)
    {
        m_HoverIndex = m_CurrentIndex = index;
    }
    else
    {
        m_CurrentIndex = -1;
        m_ReservedIndex1 = -1;
    }
    m_EventState = GX_UIEVENT_ENTRY_CHOSEN;
    if (IsEventReported(GX_UIEVENT_ENTRY_CHOSEN))
    {
        GxUIEvent event(this, GX_UIEVENT_ENTRY_CHOSEN, 0);
        event.values[0] = static_cast<float>(m_ReservedIndex1);
        event.values[1] = static_cast<float>(m_CurrentIndex);
        PostUIEvent(event);
    }
    return m_EventBlockFlag ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------
// Drawing

uint32_t GxTaskUIListBoxFx::GetRowTextColor(int32_t index) const
{
    if (index < 0 || index >= GetItemCount())
        return m_TextColor;
    const GxUIListBoxItem& item = m_Items[static_cast<size_t>(index)];
    if (!item.m_Enabled)
        return m_DisabledColor;
    if (item.m_Selected || index == m_CurrentIndex)
        return Modulate(item.m_Color, m_SelectedTextColor);
    return Modulate(item.m_Color, m_TextColor);
}

int32_t GxTaskUIListBoxFx::GetSubItemOffset(int32_t k) const
{
    int32_t offset = 0;
    for (int32_t i = 0; i <= k; ++i)
        offset += GetColumn(i);
    return offset;
}

int32_t GxTaskUIListBoxFx::BitmapLineOffset(int32_t fontSize, int32_t cellHeight)
{
    return (fontSize - cellHeight + 2) / 2;
}

void GxTaskUIListBoxFx::DrawItem(const GxUIListBoxItem& item, float x, float y, uint32_t color) const
{
    const uint32_t blend = static_cast<uint32_t>(GetVisual().m_BlendMode);
    const GxVector2 one(1.0f, 1.0f);
    const int32_t fontIndex = item.m_BitmapFont >= 0 && item.m_BitmapFont < kBitmapFonts ? item.m_BitmapFont : 0;
    GxFontData& font = g_FontDataTable[fontIndex];
    if (!item.m_BitmapText.empty())
        GxGraphics::DrawFontText(
            item.m_BitmapText.c_str(), &font, x,
            y + static_cast<float>(BitmapLineOffset(m_TextFontSize, static_cast<int32_t>(font.GetCellHeight()))), one,
            GxVector3(0.0f, 0.0f, 0.0f), GxVector2(0.0f, 0.0f), color, 0, blend);
    if (item.m_Text.empty())
        return;
    const float tx = x + static_cast<float>(item.m_BitmapText.size()) * static_cast<float>(font.GetCharWidth(L' '));
    GxGDIFontMap* map = &g_GDIFontMaps[m_TextFontIndex];
    for (auto [dx, dy] : {std::pair{1.0f, 1.0f}, {-1.0f, 1.0f}, {1.0f, -1.0f}, {-1.0f, -1.0f}})
        GxGraphics::DrawText(map, item.m_Text.c_str(), tx + dx, y + dy, one, m_EdgeColor, 0, blend);
    GxGraphics::DrawText(map, item.m_Text.c_str(), tx, y, one, color, 0, blend);
}

int32_t GxTaskUIListBoxFx::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 pos = GetWorldPos();
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    if (m_Flex)
    {
        const float w = static_cast<float>(m_Flex->GetWidth());
        const float h = static_cast<float>(m_Flex->GetHeight());
        const GxVector2 centre(w > 0.0f ? v.m_CenterPos.x / w : 0.0f, h > 0.0f ? v.m_CenterPos.y / h : 0.0f);
        constexpr float kDegreeToRadian = 0.01745329238474369f;
        GxGraphics::DrawTextureFlex(
            m_Flex, pos.x, pos.y, GxVector2(v.m_Scale.x, v.m_Scale.y),
            GxVector3(v.m_Rot.x * kDegreeToRadian, v.m_Rot.y * kDegreeToRadian, v.m_Rot.z * kDegreeToRadian), centre,
            GetDrawDiffuse(m_ImageAlpha), GetDrawSpecular(), static_cast<uint32_t>(v.m_BlendMode));
    }
    const int32_t h = RowHeight();
    int32_t row = 0;
    for (int32_t index = FirstRow(); index < GetItemCount() && row < m_VisibleRows; ++index, ++row)
    {
        const GxUIListBoxItem& item = m_Items[static_cast<size_t>(index)];
        const float barLeft = pos.x + static_cast<float>(m_ClientLeft);
        const float barTop = pos.y + static_cast<float>(m_ClientTop + row * h);
        const GxFRect bar{barLeft, barTop, barLeft + static_cast<float>(m_ClientWidth), barTop + static_cast<float>(h)};
        if (item.m_Enabled && (item.m_Selected || index == m_CurrentIndex))
            GxDraw::FillRect(bar, m_SelectionColor, 0, 2);
        else if (item.m_Enabled && index == m_HoverIndex)
            GxDraw::FillRect(bar, m_HoverColor, 0, 2);
        const float x = pos.x + 1.0f + static_cast<float>(m_ClientLeft) + item.m_X;
        const float y = pos.y + static_cast<float>(row * h + 1 + m_ClientTop) + item.m_Y;
        DrawItem(item, x, y, GetRowTextColor(index));
        for (size_t k = 0; k < item.m_SubItems.size(); ++k)
        {
            const GxUIListBoxItem& sub = item.m_SubItems[k];
            const float sx =
                pos.x + 1.0f + static_cast<float>(m_ClientLeft + GetSubItemOffset(static_cast<int32_t>(k))) + sub.m_X;
            const float sy = pos.y + static_cast<float>(row * h + 1 + m_ClientTop) + sub.m_Y;
            DrawItem(sub, sx, sy, Modulate(sub.m_Color, m_TextColor));
        }
    }
    GxGraphics::EndScene();
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Save and load

bool GxTaskUIListBoxFx::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIPanelFx::Save(writer);
    writer->Write("m_TextFontIndex", m_TextFontIndex);
    writer->Write("m_TextFontSize", m_TextFontSize);
    writer->Write("m_TextColor", m_TextColor);
    writer->Write("m_EdgeColor", m_EdgeColor);
    writer->Write("m_UseEdge", m_UseEdge);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIListBoxFx::Load(GxContentReaderBase* reader)
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
    if (fontIndex >= 0 && fontIndex < GxUITextLayout::kFontCount)
        m_TextFontIndex = fontIndex;
    else
        GxLog::Error(L"GxTaskUIListBoxFx::Load/フォント番号が不正です(%d)\n", fontIndex);
    // The stored scroll position indexes the rows: a negative one would read before the list.
    SetValue(m_Value);
    return reader->GetErrorCount() == 0;
}
