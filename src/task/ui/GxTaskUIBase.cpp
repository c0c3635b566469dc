#include "task/ui/GxTaskUIBase.h"

#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "core/GxColor.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCore.h"
#include "core/GxMatrix.h"
#include "core/GxVector3.h"
#include "task/GxSeqBase.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"

#include <algorithm>
#include <cmath>

GxTaskUIBase::GxTaskUIBase(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
    : GxTaskActor(parent, globalName, localName, localIndex)
{
    AddTaskKind(GX_TASKKIND_WIDGET);
}

GxTaskUIBase::~GxTaskUIBase() = default;

const GxSystemConfig& GxTaskUIBase::GetSystemConfig()
{
    static const GxSystemConfig s_Defaults;
    return g_Core && g_Core->m_SystemConfig ? *g_Core->m_SystemConfig : s_Defaults;
}

const GxUserConfig& GxTaskUIBase::GetUserConfig()
{
    static const GxUserConfig s_Defaults;
    return g_Core && g_Core->m_UserConfig ? *g_Core->m_UserConfig : s_Defaults;
}

// ---------------------------------------------------------------------------------------------------
// Lifecycle, update and drawing registration

void GxTaskUIBase::OnSequenceEnter()
{
    GxTaskActor::OnSequenceEnter();
    LoadImages();
    ResetInputState();
}

int32_t GxTaskUIBase::Update(int32_t, int64_t elapsed)
{
    StepActions(this, static_cast<int32_t>(elapsed / 1000));
    return 0;
}

int32_t GxTaskUIBase::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(IsTopMostInTree() ? 7 : 5))
            list->Add(this, GX_RENDER_ASCEND, GetOrderZ(), 0);
    }
    return 0;
}

void GxTaskUIBase::Hide()
{
    GxTaskActor::Hide();
    ResetInputState();
}

void GxTaskUIBase::Show()
{
    GxTaskActor::Show();
    ResetInputState();
}

void GxTaskUIBase::ResetInputState()
{
    m_HoverCount = 0;
    m_PressCount = 0;
    m_EventState = 0;
    m_HoverTime = 0;
}

void GxTaskUIBase::ResetDragState()
{
    m_PressCount = 0;
    m_Dragging = false;
    std::fill(std::begin(m_DragOrigin), std::end(m_DragOrigin), -1.0f);
    m_DragValue[0] = m_DragValue[1] = 0;
}

// ---------------------------------------------------------------------------------------------------
// Module and layout rows

void GxTaskUIBase::ApplyModule(const DBUIModuleData& row)
{
    m_ModuleID = row.m_ID;
    m_Width = row.m_Width;
    m_Height = row.m_Height;
    m_ClientLeft = row.m_ClientLeft;
    m_ClientTop = row.m_ClientTop;
    m_ClientWidth = row.m_ClientWidth;
    m_ClientHeight = row.m_ClientHeight;
    m_ShapeType = row.m_ShapeType;
}

void GxTaskUIBase::ApplyLayout(const DBUILayoutData& row)
{
    // Visibility is set directly: a layout row describes the start state and must not look like the
    // player's pointer leaving the widget.
    GetVisual().m_Visible = row.m_Visible != 0;
    m_Enabled = row.m_Enabled != 0;
    // Through the virtual setters, so each widget's own limits apply (a slider clamps, a bar resets
    // its glide).
    SetMax(static_cast<double>(row.m_Max));
    SetMin(static_cast<double>(row.m_Min));
    SetValue(row.m_Value);
    m_GroupID = row.m_GroupID;
    SetText(row.m_Text.c_str());
    m_Label = row.m_Label;
    m_AutoHelpTime = row.m_AutoHelpTime;
    m_Descript = row.m_Descript;
    GxVector4 pos = GetVisual().m_Pos;
    pos.x = row.m_Left;
    pos.y = row.m_Top;
    GetVisual().m_Pos = pos;
    GetVisual().m_OrderZ = row.m_OrderZ;
}

bool GxTaskUIBase::LoadImageSet(const wchar_t*)
{
    return false;
}

bool GxTaskUIBase::LoadImages()
{
    return false;
}

int32_t GxTaskUIBase::ReleaseImages()
{
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Values and texts

void GxTaskUIBase::SetValue(bool value)
{
    SetValue(value ? 1.0 : 0.0);
}

void GxTaskUIBase::SetValue(int32_t value)
{
    SetValue(static_cast<double>(value));
}

void GxTaskUIBase::SetValue(double value)
{
    m_Value = value;
}

int32_t GxTaskUIBase::GetValueAsInt() const
{
    // A value outside the 32-bit range (or NaN) is not a state any widget can be in; answer the
    // nearest bound rather than let the conversion be undefined.
    if (std::isnan(m_Value))
        return 0;
    const double t = std::trunc(m_Value);
    if (t >= 2147483647.0)
        return INT32_MAX;
    if (t <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(t);
}

void GxTaskUIBase::SetClientRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    m_ClientLeft = left;
    m_ClientTop = top;
    m_ClientWidth = width;
    m_ClientHeight = height;
}

void GxTaskUIBase::SetText(const wchar_t* text)
{
    m_Text = text ? text : L"";
}

void GxTaskUIBase::SetLabel(const wchar_t* label)
{
    m_Label = label ? label : L"";
}

void GxTaskUIBase::SetDescript(const wchar_t* descript)
{
    m_Descript = descript ? descript : L"";
}

void GxTaskUIBase::EnableEventReport(int32_t code)
{
    if (code >= 0 && code < 32)
        m_EventReportFlags |= 1u << code;
}

void GxTaskUIBase::DisableEventReport(int32_t code)
{
    if (code >= 0 && code < 32)
        m_EventReportFlags &= ~(1u << code);
}

bool GxTaskUIBase::IsEventReported(int32_t code) const
{
    return code >= 0 && code < 32 && (m_EventReportFlags & (1u << code)) != 0;
}

// ---------------------------------------------------------------------------------------------------
// Placement and inherited state

namespace
{
const GxTaskUIBase* WidgetParent(const GxTaskBase* task)
{
    const GxTaskBase* parent = task->GetParent();
    return parent && parent->HasKind(GX_TASKKIND_WIDGET) ? static_cast<const GxTaskUIBase*>(parent) : nullptr;
}

const GxTaskActor* ActorParent(const GxTaskBase* task)
{
    const GxTaskBase* parent = task->GetParent();
    return parent && parent->HasKind(GX_TASKKIND_ACTOR) ? static_cast<const GxTaskActor*>(parent) : nullptr;
}
} // namespace

void GxTaskUIBase::CenterHorizontally(int32_t offset)
{
    const GxTaskActor* parent = ActorParent(this);
    const int32_t w = parent ? parent->GetWidth() : GxCore::kVirtualWidth;
    GxVector4 pos = GetVisual().m_Pos;
    pos.x = static_cast<float>((w - GetWidth()) / 2 + offset);
    SetPos(pos);
}

void GxTaskUIBase::CenterVertically(int32_t offset)
{
    const GxTaskActor* parent = ActorParent(this);
    const int32_t h = parent ? parent->GetHeight() : GxCore::kVirtualHeight;
    GxVector4 pos = GetVisual().m_Pos;
    pos.y = static_cast<float>((h - GetHeight()) / 2 + offset);
    SetPos(pos);
}

bool GxTaskUIBase::IsVisibleInTree() const
{
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (!w->IsVisible())
            return false;
    }
    return true;
}

bool GxTaskUIBase::IsEnabledInTree() const
{
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (!w->IsEnabled())
            return false;
    }
    return true;
}

int32_t GxTaskUIBase::GetEffectiveModalPriority() const
{
    int32_t priority = 0;
    bool any = false;
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (w->IsModal() && (!any || w->GetModalPriority() > priority))
        {
            priority = w->GetModalPriority();
            any = true;
        }
    }
    return priority;
}

bool GxTaskUIBase::IsTopMostInTree() const
{
    for (const GxTaskUIBase* w = this; w; w = WidgetParent(w))
    {
        if (w->IsTopMost())
            return true;
    }
    return false;
}

int32_t GxTaskUIBase::GetEffectiveAlpha() const
{
    double a = static_cast<double>(GetAlpha());
    for (const GxTaskUIBase* w = WidgetParent(this); w; w = WidgetParent(w))
        a = a * static_cast<double>(w->GetAlpha()) / 255.0;
    return static_cast<int32_t>(a);
}

bool GxTaskUIBase::HitTestClient(const GxVector4& origin, float x, float y) const
{
    const float left = origin.x + static_cast<float>(m_ClientLeft);
    const float top = origin.y + static_cast<float>(m_ClientTop);
    return left <= x && x < left + static_cast<float>(m_ClientWidth) && top <= y &&
           y < top + static_cast<float>(m_ClientHeight);
}

bool GxTaskUIBase::HitTest(const GxVector4& origin, float x, float y) const
{
    return origin.x <= x && x < origin.x + static_cast<float>(m_Width) && origin.y <= y &&
           y < origin.y + static_cast<float>(m_Height);
}

// ---------------------------------------------------------------------------------------------------
// Events and pointer bookkeeping

bool GxTaskUIBase::PostUIEventCode(int32_t code)
{
    return PostUIEvent(GxUIEvent(this, code, 0));
}

bool GxTaskUIBase::PostUIEvent(const GxUIEvent& event)
{
    GxSeqBase* target = GetCurrentSequence();
    return target && target->QueueUIEvent(event);
}

GxSeqBase* GxTaskUIBase::GetCurrentSequence() const
{
    GxTaskManage* manage = GetManager();
    return manage ? manage->GetCurrentSequence() : nullptr;
}

bool GxTaskUIBase::CanAcceptInput()
{
    GxSeqBase* seq = GetCurrentSequence();
    return seq && seq->CanWidgetAcceptInput(this);
}

bool GxTaskUIBase::IsShown()
{
    GxSeqBase* seq = GetCurrentSequence();
    return seq && seq->IsWidgetShown(this);
}

void GxTaskUIBase::GetCursorPos(float& x, float& y) const
{
    int32_t ix = 0;
    int32_t iy = 0;
    if (GxTaskManage* manage = GetManager())
        manage->GetScreenService()->GetCursorPos(ix, iy);
    x = static_cast<float>(ix);
    y = static_cast<float>(iy);
}

bool GxTaskUIBase::HitsArea(HitArea area, float x, float y) const
{
    const GxVector4 origin = GetWorldPos();
    return area == HitArea::Whole ? HitTest(origin, x, y) : HitTestClient(origin, x, y);
}

bool GxTaskUIBase::PostMouseEvent(int32_t code, float x, float y)
{
    if (!IsEventReported(code))
        return false;
    GxUIEvent event(this, code, 0);
    event.values[0] = x;
    event.values[1] = y;
    return PostUIEvent(event);
}

bool GxTaskUIBase::TrackMouseEnter(HitArea area, float x, float y)
{
    if (m_HoverCount != 0 || !HitsArea(area, x, y))
        return false;
    m_HoverCount = 1;
    m_EventState = GX_UIEVENT_MOUSE_ENTER;
    PostMouseEvent(GX_UIEVENT_MOUSE_ENTER, x, y);
    return true;
}

void GxTaskUIBase::TrackMouseLeave(HitArea area, float x, float y)
{
    if (m_HoverCount == 0 || m_Dragging || HitsArea(area, x, y))
        return;
    m_HoverCount = 0;
    m_EventState = GX_UIEVENT_MOUSE_LEAVE;
    if (CanAcceptInput())
        PostMouseEvent(GX_UIEVENT_MOUSE_LEAVE, x, y);
}

void GxTaskUIBase::StepAutoHelp(int32_t ms, float x, float y)
{
    if (m_HoverCount == 0 || m_AutoHelpTime == kNoAutoHelp)
    {
        m_HoverTime = 0;
        return;
    }
    const int64_t reached = static_cast<int64_t>(m_HoverTime) + std::max(ms, 0);
    if (m_HoverTime < m_AutoHelpTime && reached >= m_AutoHelpTime)
    {
        GxTaskManage* manage = GetManager();
        if (auto* system = manage ? dynamic_cast<GxSeqSystemBase*>(manage->GetSystemSequence()) : nullptr)
            system->ShowHelpTip(m_Descript.c_str(), x, y);
    }
    m_HoverTime = static_cast<int32_t>(std::min<int64_t>(reached, kMaxHoverTime));
}

int32_t GxTaskUIBase::UpdatePanel(int64_t elapsed)
{
    const int32_t ms = static_cast<int32_t>(elapsed / 1000);
    StepActions(this, ms);
    float x = 0.0f;
    float y = 0.0f;
    GetCursorPos(x, y);
    TrackMouseLeave(HitArea::Whole, x, y);
    StepAutoHelp(ms, x, y);
    return 0;
}

int32_t GxTaskUIBase::PanelMouseMove(float x, float y)
{
    if (!CanAcceptInput())
        return 0;
    TrackMouseEnter(HitArea::Whole, x, y);
    return m_EventBlockFlag && HitsArea(HitArea::Whole, x, y) ? 1 : 0;
}

int32_t GxTaskUIBase::PanelMouseLeftDown(float x, float y)
{
    if (!CanAcceptInput() || !HitsArea(HitArea::Whole, x, y))
        return 0;
    m_EventState = GX_UIEVENT_CLICK;
    if (!IsEventReported(GX_UIEVENT_CLICK))
        return 0;
    PostMouseEvent(GX_UIEVENT_CLICK, x, y);
    return m_EventBlockFlag ? 1 : 0;
}

uint32_t GxTaskUIBase::GetDrawDiffuse(int32_t imageAlpha) const
{
    return GxColor::ToARGB(GetVisual().GetDrawColor(imageAlpha));
}

uint32_t GxTaskUIBase::GetDrawSpecular() const
{
    return GxColor::ToARGB(GetVisual().m_Color1);
}

void GxTaskUIBase::MakeWidgetMatrix(GxMatrix& out, float dx, float dy, float dz) const
{
    constexpr float kDegreeToRadian = 0.017453292f;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 pos = GetWorldPos();
    out.SetIdentity();
    out.ComposeSRT(GxVector3(v.m_Scale.x, v.m_Scale.y, v.m_Scale.z), GxVector3(pos.x + dx, pos.y + dy, pos.z + dz),
                   GxVector3(v.m_Rot.x * kDegreeToRadian, v.m_Rot.y * kDegreeToRadian, v.m_Rot.z * kDegreeToRadian),
                   GxVector3(v.m_CenterPos.x, v.m_CenterPos.y, v.m_CenterPos.z));
}

// ---------------------------------------------------------------------------------------------------
// Save and load

bool GxTaskUIBase::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskActor::Save(writer);
    writer->Write("m_Enabled", m_Enabled);
    writer->Write("m_Value", m_Value);
    writer->Write("m_Max", m_Max);
    writer->Write("m_Min", m_Min);
    writer->Write("m_Change", m_Change);
    writer->Write("m_GroupID", m_GroupID);
    writer->Write("m_ModuleID", m_ModuleID);
    writer->WriteString("m_Text", m_Text);
    writer->WriteString("m_Label", m_Label);
    writer->Write("m_AutoHelpTime", m_AutoHelpTime);
    writer->WriteString("m_Descript", m_Descript);
    writer->Write("m_Width", m_Width);
    writer->Write("m_Height", m_Height);
    writer->Write("m_ClientLeft", m_ClientLeft);
    writer->Write("m_ClientTop", m_ClientTop);
    writer->Write("m_ClientWidth", m_ClientWidth);
    writer->Write("m_ClientHeight", m_ClientHeight);
    writer->Write("m_ShapeType", m_ShapeType);
    writer->Write("m_ModalFlag", m_ModalFlag);
    writer->Write("m_ModalPriority", m_ModalPriority);
    writer->Write("m_TopMostFlag", m_TopMostFlag);
    writer->Write("m_ImageAlpha", m_ImageAlpha);
    writer->Write("m_EventState", m_EventState);
    writer->Write("m_HoverCount", m_HoverCount);
    writer->Write("m_EventReportFlags", m_EventReportFlags);
    writer->Write("m_EventBlockFlag", m_EventBlockFlag);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIBase::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskActor::Load(reader))
        return false;
    reader->Read("m_Enabled", m_Enabled);
    reader->Read("m_Value", m_Value);
    reader->Read("m_Max", m_Max);
    reader->Read("m_Min", m_Min);
    reader->Read("m_Change", m_Change);
    reader->Read("m_GroupID", m_GroupID);
    reader->Read("m_ModuleID", m_ModuleID);
    reader->ReadString("m_Text", m_Text);
    reader->ReadString("m_Label", m_Label);
    reader->Read("m_AutoHelpTime", m_AutoHelpTime);
    reader->ReadString("m_Descript", m_Descript);
    reader->Read("m_Width", m_Width);
    reader->Read("m_Height", m_Height);
    reader->Read("m_ClientLeft", m_ClientLeft);
    reader->Read("m_ClientTop", m_ClientTop);
    reader->Read("m_ClientWidth", m_ClientWidth);
    reader->Read("m_ClientHeight", m_ClientHeight);
    reader->Read("m_ShapeType", m_ShapeType);
    reader->Read("m_ModalFlag", m_ModalFlag);
    reader->Read("m_ModalPriority", m_ModalPriority);
    reader->Read("m_TopMostFlag", m_TopMostFlag);
    reader->Read("m_ImageAlpha", m_ImageAlpha);
    reader->Read("m_EventState", m_EventState);
    reader->Read("m_HoverCount", m_HoverCount);
    reader->Read("m_EventReportFlags", m_EventReportFlags);
    reader->Read("m_EventBlockFlag", m_EventBlockFlag);
    ResetDragState();
    m_HoverTime = 0;
    return reader->GetErrorCount() == 0;
}
