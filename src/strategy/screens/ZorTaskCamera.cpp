#include "strategy/screens/ZorTaskCamera.h"

#include "core/GxMath.h"
#include "graphics/GxGraphics.h"
#include "appdata/GxGlobalRenderTargets.h"

#include <algorithm>
#include <cmath>

namespace
{

// b - (b - a)(1 - t)^5: a fast start that settles on the target.
float Ease(float a, float b, float t)
{
    return GxMath::EaseLerp(a, b, t, 1.0f);
}

GxVector3 ToVec3(const GxVector4& v)
{
    return GxVector3(v.x, v.y, v.z);
}

} // namespace

ZorTaskCamera::ZorTaskCamera(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName) {}

ZorTaskCamera::~ZorTaskCamera() = default;

int32_t ZorTaskCamera::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    for (int c = 0; c < kChannels; ++c)
    {
        if (m_Progress[c] < 1.0f)
            m_Progress[c] = std::min(1.0f, m_Progress[c] + m_Speed[c] * 0.000244140625f);
    }
    m_Current.m_Yaw = Ease(m_From.m_Yaw, m_To.m_Yaw, m_Progress[kYaw]);
    m_Current.m_Pitch = Ease(m_From.m_Pitch, m_To.m_Pitch, m_Progress[kPitch]);
    const float t = m_Progress[kTarget];
    m_Current.m_Target =
        GxVector4(Ease(m_From.m_Target.x, m_To.m_Target.x, t), Ease(m_From.m_Target.y, m_To.m_Target.y, t),
                  Ease(m_From.m_Target.z, m_To.m_Target.z, t), 0.0f);
    m_Current.m_Zoom = Ease(m_From.m_Zoom, m_To.m_Zoom, m_Progress[kZoom]);
    AdvanceFrameCount();
    return 0;
}

void ZorTaskCamera::MoveTo(float x, float z, float speed)
{
    m_From.m_Target = m_Current.m_Target;
    m_To.m_Target = GxVector4(x, 0.0f, z, 0.0f);
    m_Progress[kTarget] = 0.0f;
    m_Speed[kTarget] = speed;
}

void ZorTaskCamera::JumpTo(float x, float z)
{
    m_Progress[kTarget] = 1.0f;
    m_Current.m_Target.x = x;
    m_Current.m_Target.y = 0.0f;
    m_Current.m_Target.z = z;
    m_To.m_Target = m_Current.m_Target;
    m_From.m_Target = m_Current.m_Target;
}

void ZorTaskCamera::LookAtRoom(int32_t rx, int32_t rz, float speed)
{
    MoveTo(static_cast<float>((rx - 5) * 80), static_cast<float>((rz - 4) * 80), speed);
}

void ZorTaskCamera::PutAtRest(float yaw, float pitch, float zoom, float speed)
{
    m_From.m_Yaw = m_Current.m_Yaw;
    m_From.m_Zoom = m_Current.m_Zoom;
    ZorCameraState rest;
    rest.m_Yaw = yaw;
    rest.m_Pitch = pitch;
    rest.m_Zoom = zoom;
    m_To = m_Current = rest;
    for (float& p : m_Progress)
        p = 1.0f;
    m_Speed[kYaw] = m_Speed[kZoom] = speed;
}

void ZorTaskCamera::ResetZoom(float zoom, float speed)
{
    m_From.m_Zoom = m_Current.m_Zoom;
    m_To.m_Zoom = zoom;
    m_Progress[kZoom] = 0.0f;
    m_Speed[kZoom] = speed;
}

void ZorTaskCamera::ZoomIn()
{
    if (m_Current.m_Zoom < kMaxZoom)
        ResetZoom(std::min(kMaxZoom, m_Current.m_Zoom + kZoomStep), kZoomSpeed);
}

void ZorTaskCamera::ZoomOut()
{
    if (m_Current.m_Zoom > kMinZoom)
        ResetZoom(std::max(kMinZoom, m_Current.m_Zoom - kZoomStep), kZoomSpeed);
}

void ZorTaskCamera::ClampTarget(GxVector3& position)
{
    position.x = std::clamp(position.x, -350.0f, 250.0f);
    position.z = std::clamp(position.z, -300.0f, 250.0f);
}

GxVector3 ZorTaskCamera::GetEyePos() const
{
    GxMatrix rx;
    rx.RotationX(m_Current.m_Pitch * kDegToRad);
    GxMatrix ry;
    ry.RotationY(m_Current.m_Yaw * kDegToRad);
    GxVector3 offset(0.0f, 0.0f, kEyeDistance);
    offset.TransformCoord(rx);
    offset.TransformCoord(ry);
    return GxVector3(m_Current.m_Target.x + offset.x, m_Current.m_Target.y + offset.y, m_Current.m_Target.z + offset.z);
}

GxVector3 ZorTaskCamera::GetTarget() const
{
    return ToVec3(m_Current.m_Target);
}

GxVector3 ZorTaskCamera::GetUp() const
{
    return ToVec3(m_Current.m_Up);
}

void ZorTaskCamera::BuildViewMatrix(GxMatrix& out) const
{
    out.LookAt(GetEyePos(), GetTarget(), GetUp());
}

void ZorTaskCamera::BuildProjectionMatrix(GxMatrix& out, float aspect, float offsetY) const
{
    const float w = GetViewWidth();
    out.Ortho(w, w * aspect, kNear, kFar);
    out.m[3][1] += offsetY;
}

void ZorTaskCamera::BuildViewportMatrix(GxMatrix& out)
{
    out.Set(512.0f, 0.0f, 0.0f, 0.0f,  //
            0.0f, -384.0f, 0.0f, 0.0f, //
            0.0f, 0.0f, 4990.0f, 0.0f, //
            512.0f, 384.0f, 0.0f, 1.0f);
}

void ZorTaskCamera::GetWorldToScreenMatrix(GxMatrix& out) const
{
    GxMatrix view;
    BuildViewMatrix(view);
    GxMatrix proj;
    BuildProjectionMatrix(proj);
    GxMatrix viewport;
    BuildViewportMatrix(viewport);
    view.Multiply(proj, out);
    out.MultiplyInPlace(viewport);
}

void ZorTaskCamera::GetScreenToWorldMatrix(GxMatrix& out) const
{
    GetWorldToScreenMatrix(out);
    out.Inverse();
}

GxVector3 ZorTaskCamera::WorldToScreen(const GxVector3& world) const
{
    GxMatrix w;
    GetWorldToScreenMatrix(w);
    GxVector3 s = world;
    return s.TransformCoord(w);
}

void ZorTaskCamera::ApplyBillboard(GxMatrix& matrix, float factor) const
{
    matrix.RotateX(-(m_Current.m_Pitch * factor) * kDegToRad);
    matrix.RotateY(m_Current.m_Yaw * kDegToRad);
}

void ZorTaskCamera::ApplyToDevice() const
{
    GxGraphics::SetView(GetEyePos(), GetTarget(), GetUp());
    const float w = GetViewWidth();
    if (g_GlobalRenderTargets.m_Capturing)
    {
        // A capture renders into a target of its own size: keep that target's aspect, shifted by a quarter.
        const auto& vp = GxGraphics::GetViewport();
        const float aspect = vp.Width > 0 ? static_cast<float>(vp.Height) / static_cast<float>(vp.Width) : 0.75f;
        GxGraphics::SetProjection(w, w * aspect, kNear, kFar, 0.0f, 0.25f);
        return;
    }
    GxGraphics::SetProjection(w, w * 768.0f / 1024.0f, kNear, kFar, 0.0f, 0.0f);
}
