#include "task/ui/GxTaskUIMenuIs.h"

#include "core/GxFRect.h"
#include "core/GxLog.h"
#include "core/GxMatrix.h"
#include "core/GxVector2.h"
#include "graphics/GxDraw.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "task/ui/GxUITextLayout.h"

GxTaskUIMenuIs::GxTaskUIMenuIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                               int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIMenuIs::~GxTaskUIMenuIs() = default;

int32_t GxTaskUIMenuIs::Update(int32_t, int64_t elapsed)
{
    StepActions(this, static_cast<int32_t>(elapsed / 1000));
    AdvanceFrameCount();
    return 0;
}

int32_t GxTaskUIMenuIs::GetHeight() const
{
    return (GetItemCount() + 2) * m_Height;
}

void GxTaskUIMenuIs::SetTextFontIndex(int32_t index)
{
    if (index < 0 || index >= GxUITextLayout::kFontCount)
    {
        GxLog::Error(L"GxTaskUIMenuIs::SetTextFontIndex/フォント番号が不正です(%d)\n", index);
        return;
    }
    m_TextFontIndex = index;
}

// ---------------------------------------------------------------------------------------------------
// Images

void GxTaskUIMenuIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    m_Images.ApplyModule(row);
}

bool GxTaskUIMenuIs::LoadImageSet(const wchar_t* path)
{
    return m_Images.LoadImageSet(path);
}

bool GxTaskUIMenuIs::LoadImages()
{
    if (!m_Images.Fetch({{0, L"_head.png"}, {1, L"_body.png"}, {2, L"_foot.png"}}, -1,
                        L"GxTaskUIMenuIs/ImageSet wasn't Loaded:%s [%s]\n", L"", GetTaskPath()))
        return false;
    // All three lines are required: the first one missing, in this order, is reported.
    for (auto [slot, suffix] : {std::pair{0, L"_head.png"}, {1, L"_body.png"}, {2, L"_foot.png"}})
    {
        if (!m_Images.m_Images[slot])
        {
            GxLog::Error(L"GxTaskUIMenuIs/Image not found:%s [%s]\n", (m_Images.m_ImageName + suffix).c_str(),
                         GetTaskPath().c_str());
            m_Images.Release();
            return false;
        }
    }
    GxUIImageTable::ApplySizeDefaults(m_Images.m_Images[1], m_Width, m_Height, m_ClientWidth, m_ClientHeight,
                                      m_ClientLeft, m_ClientTop);
    return true;
}

int32_t GxTaskUIMenuIs::ReleaseImages()
{
    m_Images.Release();
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Entries

GxUIMenuItem* GxTaskUIMenuIs::AddItem(const GxUIMenuItem& item)
{
    m_Items.push_back(item);
    return &m_Items.back();
}

GxUIMenuItem* GxTaskUIMenuIs::AddItem(const wchar_t* text, const wchar_t* name, int32_t value, const wchar_t* descript)
{
    GxUIMenuItem item;
    item.m_Text = text ? text : L"";
    item.m_Name = name ? name : L"";
    item.m_Value = value;
    item.m_Descript = descript ? descript : L"";
    return AddItem(item);
}

void GxTaskUIMenuIs::ShowDescript(const std::wstring& text)
{
    if (m_TextWidget)
        m_TextWidget->SetText(text.c_str());
}

void GxTaskUIMenuIs::ClearItems()
{
    // The indices point into the entries: they go with them.
    m_Items.clear();
    m_HoverIndex = -1;
    m_CurrentIndex = -1;
}

void GxTaskUIMenuIs::ClearSelection()
{
    for (GxUIMenuItem& item : m_Items)
        item.m_Selected = false;
    m_HoverIndex = -1;
    m_CurrentIndex = -1;
    ShowDescript(L"");
}

GxUIMenuItem* GxTaskUIMenuIs::GetItem(int32_t index)
{
    return index >= 0 && index < GetItemCount() ? &m_Items[static_cast<size_t>(index)] : nullptr;
}

int32_t GxTaskUIMenuIs::GetColumn(int32_t index) const
{
    return index >= 0 && index < GetColumnCount() ? m_Columns[static_cast<size_t>(index)] : 0;
}

std::wstring GxTaskUIMenuIs::GetCurrentName() const
{
    return m_CurrentIndex >= 0 && m_CurrentIndex < GetItemCount() ? m_Items[static_cast<size_t>(m_CurrentIndex)].m_Name
                                                                  : std::wstring();
}

int32_t GxTaskUIMenuIs::GetCurrentValue() const
{
    return m_CurrentIndex >= 0 && m_CurrentIndex < GetItemCount() ? m_Items[static_cast<size_t>(m_CurrentIndex)].m_Value
                                                                  : -1;
}

int32_t GxTaskUIMenuIs::GetSubItemOffset(int32_t k) const
{
    int32_t offset = 0;
    for (int32_t i = 0; i <= k; ++i)
        offset += GetColumn(i);
    return offset;
}

// ---------------------------------------------------------------------------------------------------
// Input

bool GxTaskUIMenuIs::HitTestClient(const GxVector4& origin, float x, float y) const
{
    const float lx = x - origin.x - static_cast<float>(m_ClientLeft);
    const float ly = y - origin.y - static_cast<float>(m_Height);
    return 0.0f < lx && lx < static_cast<float>(m_ClientWidth) && 0.0f < ly &&
           ly < static_cast<float>(GetItemCount() * m_Height);
}

int32_t GxTaskUIMenuIs::EntryAt(float y) const
{
    if (m_Height <= 0)
        return -1;
    const int32_t index =
        static_cast<int32_t>((y - GetWorldPos().y - static_cast<float>(m_Height)) / static_cast<float>(m_Height));
    return index >= 0 && index < GetItemCount() ? index : -1;
}

int32_t GxTaskUIMenuIs::OnMouseMove(const float* point, uint32_t)
{
    if (!CanAcceptInput())
        return 0;
    const int32_t index = HitsArea(HitArea::Client, point[0], point[1]) ? EntryAt(point[1]) : -1;
    if (index < 0)
    {
        m_HoverIndex = -1;
        ShowDescript(L"");
        return 0;
    }
    m_HoverIndex = index;
    ShowDescript(m_Items[static_cast<size_t>(index)].m_Descript);
    if (!m_Items[static_cast<size_t>(index)].m_Enabled)
        m_HoverIndex = -1;
    return m_EventBlockFlag ? 1 : 0;
}

int32_t GxTaskUIMenuIs::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    if (!CanAcceptInput() || !HitsArea(HitArea::Client, point[0], point[1]))
        return 0;
    const int32_t index = EntryAt(point[1]);
    if (index < 0 || !m_Items[static_cast<size_t>(index)].m_Enabled)
    {
        m_HoverIndex = -1;
        m_CurrentIndex = -1;
        return 0;
    }
    m_HoverIndex = m_CurrentIndex = index;
    m_EventState = GX_UIEVENT_ENTRY_CHOSEN;
    if (IsEventReported(GX_UIEVENT_ENTRY_CHOSEN))
    {
        GxUIEvent event(this, GX_UIEVENT_ENTRY_CHOSEN, m_CurrentIndex);
        event.values[0] = point[0];
        event.values[1] = point[1];
        PostUIEvent(event);
    }
    return m_EventBlockFlag ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------
// Drawing

void GxTaskUIMenuIs::GetItemColors(int32_t index, uint32_t& color, uint32_t& added) const
{
    color = m_NormalColor;
    added = 0;
    if (index < 0 || index >= GetItemCount())
        return;
    const GxUIMenuItem& item = m_Items[static_cast<size_t>(index)];
    if (!item.m_Enabled)
    {
        color = m_DisabledColor;
    }
    else if (item.m_Selected || index == m_CurrentIndex)
    {
        color = m_SelectedColor;
        added = m_SelectedAddColor;
    }
    else if (index == m_HoverIndex)
    {
        color = m_HoverColor;
        added = m_HoverAddColor;
    }
}

void GxTaskUIMenuIs::DrawEntry(const GxUIMenuItem& item, float x, float y, uint32_t color, uint32_t added) const
{
    const uint32_t blend = static_cast<uint32_t>(GetVisual().m_BlendMode);
    const GxVector2 one(1.0f, 1.0f);
    GxGDIFontMap* map = &g_GDIFontMaps[m_TextFontIndex];
    for (auto [dx, dy] : {std::pair{1.0f, 1.0f}, {-1.0f, 1.0f}, {1.0f, -1.0f}, {-1.0f, -1.0f}})
        GxGraphics::DrawText(map, item.m_Text.c_str(), x + dx, y + dy, one, 0xD0000000u, 0, blend);
    GxGraphics::DrawText(map, item.m_Text.c_str(), x, y, one, color, added, blend);
}

int32_t GxTaskUIMenuIs::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 pos = GetWorldPos();
    const float alpha = static_cast<float>(v.m_Alpha) / 255.0f;
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    const float line = static_cast<float>(m_Height);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    const int32_t count = GetItemCount();
    for (int32_t i = 0; i <= count + 1; ++i)
    {
        const GxNcOriginImage* image = m_Images.m_Images[i == 0 ? 0 : i <= count ? 1 : 2];
        GxMatrix m;
        m.TranslationV(GxVector3(pos.x, pos.y + static_cast<float>(i) * line, pos.z));
        GxUIImageTable::DrawPattern(image, m_PatternIndex, m, alpha, v.m_Color0, v.m_Color1, blend);
    }
    if (m_HoverIndex != -1)
    {
        const float left = pos.x + static_cast<float>(m_ClientLeft);
        const float top = pos.y + static_cast<float>(m_HoverIndex + 1) * line;
        GxDraw::FillRect(GxFRect{left, top, left + static_cast<float>(m_ClientWidth), top + line}, m_HoverBarColor, 0,
                         2);
    }
    for (int32_t i = 0; i < count; ++i)
    {
        const GxUIMenuItem& item = m_Items[static_cast<size_t>(i)];
        uint32_t color = 0;
        uint32_t added = 0;
        GetItemColors(i, color, added);
        const float x = pos.x + static_cast<float>(m_ClientLeft) + item.m_X;
        const float y = pos.y + static_cast<float>(i + 1) * line + static_cast<float>(m_ClientTop) + item.m_Y;
        DrawEntry(item, x, y, color, added);
        for (size_t k = 0; k < item.m_SubItems.size(); ++k)
        {
            const GxUIMenuItem& sub = item.m_SubItems[k];
            DrawEntry(sub, x + static_cast<float>(GetSubItemOffset(static_cast<int32_t>(k))) + sub.m_X - item.m_X,
                      y + sub.m_Y - item.m_Y, color, added);
        }
    }
    GxGraphics::EndScene();
    return 0;
}
