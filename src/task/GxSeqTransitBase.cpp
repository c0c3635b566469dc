#include "task/GxSeqTransitBase.h"

#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"

#include <cmath>

namespace
{
constexpr uint32_t kTransitMask = GX_LISTENER_MOUSE | GX_LISTENER_KEYINPUT | GX_LISTENER_TRANSIT;

// White with the given alpha, packed as ARGB (each channel clamped to 0..1, x 255, rounded).
uint32_t WhiteWithAlpha(float alpha)
{
    if (alpha < 0.0f)
        alpha = 0.0f;
    if (alpha > 1.0f)
        alpha = 1.0f;
    const uint32_t a = static_cast<uint32_t>(std::lround(alpha * 255.0f));
    return (a << 24) | 0x00FFFFFFu;
}
} // namespace

GxSeqTransitBase::GxSeqTransitBase(GxTaskBase* parent, const wchar_t* globalName) : GxSeqBase(parent, globalName)
{
    AddTaskKind(GX_TASKKIND_TRANSIT);
}

GxSeqTransitBase::~GxSeqTransitBase() = default;

bool GxSeqTransitBase::StartTransit(int32_t ms)
{
    m_TransitParam.m_TransitTimeLeft = ms;
    m_TransitParam.m_TransitTimeTotal = ms;
    m_TransitParam.m_Transit = true;
    AddListenerMask(kTransitMask);
    return true;
}

bool GxSeqTransitBase::CancelTransit()
{
    if (!m_TransitParam.m_Transit)
        return false;
    m_TransitParam.m_TransitTimeLeft = 0;
    m_TransitParam.m_Transit = false;
    RemoveListenerMask(kTransitMask);
    return true;
}

void GxSeqTransitBase::OnSequenceLeave()
{
    GxSeqBase::OnSequenceLeave();
    CancelTransit();
    GxTaskManage* manage = GetManager();
    if (!manage)
        return;
    GxSeqBase* pending = manage->GetPendingSequence();
    if (pending && pending->HasKind(GX_TASKKIND_TRANSIT))
    {
        GxTaskScreenService* service = manage->GetScreenService();
        service->CaptureScreen();
        static_cast<GxSeqTransitBase*>(pending)->StartTransit(service->GetTransitTime());
    }
}

int32_t GxSeqTransitBase::UpdatePreStart(int32_t, int64_t elapsed)
{
    if (m_TransitParam.m_Transit)
    {
        // Milliseconds are the microseconds / 1000, truncated toward zero.
        m_TransitParam.m_TransitTimeLeft -= static_cast<int32_t>(elapsed / 1000);
        if (m_TransitParam.m_TransitTimeLeft > 0)
            return 0;
        m_TransitParam.m_TransitTimeLeft = 0;
        m_TransitParam.m_Transit = false;
        RemoveListenerMask(kTransitMask);
    }
    StartMain();
    return 0;
}

int32_t GxSeqTransitBase::RegisterDraw(int32_t, int64_t)
{
    GxTaskManage* manage = GetManager();
    if (!manage)
        return 0;
    if (GxTaskRenderManage* list = manage->GetRenderList(0))
        list->Add(this, GX_RENDER_DEFAULT, 0.0f, 0);
    if (m_TransitParam.m_Transit)
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(9))
            list->Add(this, GX_RENDER_DEFAULT, 0.0f, 1);
    }
    return 0;
}

int32_t GxSeqTransitBase::Draw(int32_t param, int32_t layer)
{
    if (param == 1)
    {
        DrawTransit();
        return 0;
    }
    return GxSeqBase::Draw(param, layer);
}

void GxSeqTransitBase::DrawTransit()
{
    if (!m_TransitParam.m_Transit)
        return;
    if (GxTaskManage* manage = GetManager())
        manage->GetScreenService()->DrawCapturedScreen(WhiteWithAlpha(1.0f - m_TransitParam.GetProgress()));
}
