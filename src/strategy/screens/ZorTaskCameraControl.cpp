#include "strategy/screens/ZorTaskCameraControl.h"

#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxMatrix.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/ui/GxTaskUIBase.h"

#include <cmath>

namespace
{

constexpr uint32_t kVkPrior = 0x21;
constexpr uint32_t kVkNext = 0x22;
constexpr uint32_t kVkLeft = 0x25;

// (x, 0, z) turned by the camera's yaw.
GxVector3 TurnByYaw(const ZorTaskCamera& camera, float x, float z)
{
    GxMatrix ry;
    ry.RotationY(camera.GetCurrent().m_Yaw * ZorTaskCamera::kDegToRad);
    GxVector3 v(x, 0.0f, z);
    return v.TransformCoord(ry);
}

} // namespace

ZorTaskCameraControl::ZorTaskCameraControl(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskBase(parent, globalName), m_Camera(camera)
{
}

ZorTaskCameraControl::~ZorTaskCameraControl() = default;

void ZorTaskCameraControl::OnSequenceLeave()
{
    m_Dragging = false;
    for (bool& down : m_ArrowDown)
        down = false;
}

int32_t ZorTaskCameraControl::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (!m_Camera || !g_Core || !g_Core->m_Active)
        return 0;
    int x = 0;
    int y = 0;
    const Pointer pointer = g_Core->GetCursorPosPastWindow(x, y) ? Pointer::Known : Pointer::Unknown;
    const GxUserConfig& config = GxTaskUIBase::GetUserConfig();
    Step(x, y, config.m_Game_MapScrollSpeed_ScreenEdge, config.m_Game_MapScrollSpeed_CursorKey, pointer);
    return 0;
}

void ZorTaskCameraControl::Step(int32_t x, int32_t y, int32_t edgeSpeed, int32_t keySpeed, Pointer pointer)
{
    if (!m_Camera)
        return;
    const ZorCameraState& cur = m_Camera->GetCurrent();
    // The zones reach 64 units past the screen, so that a cursor just off the window (held there by the
    // capture, or simply moved there) still scrolls, and one further away does not; the borders
    // themselves (16 and 1008, 16 and 752) do not. A cursor whose place is not known is at no edge.
    int32_t dx = 0;
    int32_t dy = 0;
    bool edge = false;
    if (pointer == Pointer::Known)
    {
        if (x > -64 && x < 16)
            dx = x - 24, edge = true;
        if (x > 1008 && x < 1088)
            dx = x - 1000, edge = true;
        if (y > -64 && y < 16)
            dy = y - 24, edge = true;
        if (y > 752 && y < 832)
            dy = y - 744, edge = true;
    }
    if (edge)
    {
        const float s = static_cast<float>(edgeSpeed) / 100.0f;
        dx = static_cast<int32_t>(static_cast<float>(dx) * s);
        dy = static_cast<int32_t>(static_cast<float>(dy) * s);
        GxVector3 v = TurnByYaw(*m_Camera, static_cast<float>(dx), static_cast<float>(dy));
        const float k = 0.5f / cur.m_Zoom;
        GxVector3 p(cur.m_Target.x + v.x * k, cur.m_Target.y, cur.m_Target.z + v.z * k);
        ZorTaskCamera::ClampTarget(p);
        m_Camera->MoveTo(p.x, p.z, 4096.0f);
    }

    const float k = static_cast<float>(keySpeed) / 100.0f;
    static const float s_Steps[kArrows][2] = {{-10.0f, 0.0f}, {10.0f, 0.0f}, {0.0f, -10.0f}, {0.0f, 10.0f}};
    GxVector3 sum;
    bool any = false;
    for (int i = 0; i < kArrows; ++i)
    {
        if (!m_ArrowDown[i])
            continue;
        any = true;
        GxVector3 v = TurnByYaw(*m_Camera, s_Steps[i][0] * k, s_Steps[i][1] * k);
        sum.x += v.x / cur.m_Zoom;
        sum.z += v.z / cur.m_Zoom;
    }
    if (any)
    {
        // A jump replaces an edge move started in the same step.
        GxVector3 p(cur.m_Target.x + sum.x, cur.m_Target.y, cur.m_Target.z + sum.z);
        ZorTaskCamera::ClampTarget(p);
        m_Camera->JumpTo(p.x, p.z);
    }
}

int32_t ZorTaskCameraControl::OnMouseMove(const float* point, uint32_t keys)
{
    (void)keys;
    if (!m_Camera || !m_Dragging)
        return 0;
    const float dx = point[0] - m_LastX;
    const float dy = point[1] - m_LastY;
    const ZorCameraState& cur = m_Camera->GetCurrent();
    GxVector3 v = TurnByYaw(*m_Camera, -dx, -dy);
    const float k = 0.5f / cur.m_Zoom;
    GxVector3 p(cur.m_Target.x + v.x * k, cur.m_Target.y, cur.m_Target.z + v.z * k);
    ZorTaskCamera::ClampTarget(p);
    m_Camera->JumpTo(p.x, p.z);
    m_LastX = point[0];
    m_LastY = point[1];
    return 0;
}

int32_t ZorTaskCameraControl::OnMouseWheel(const float* point, int32_t delta, uint32_t keys)
{
    (void)point, (void)keys;
    if (!m_Camera)
        return 0;
    // One zoom step per event whatever the size; less than a notch is nothing.
    const int32_t n = delta / 120;
    if (n > 0)
        m_Camera->ZoomIn();
    else if (n < 0)
        m_Camera->ZoomOut();
    return 0;
}

int32_t ZorTaskCameraControl::OnMouseMiddleDown(const float* point, uint32_t keys, int32_t dbl)
{
    (void)keys, (void)dbl;
    if (!m_Camera)
        return 0;
    m_Dragging = true;
    m_LastX = m_StartX = point[0];
    m_LastY = m_StartY = point[1];
    return 0;
}

int32_t ZorTaskCameraControl::OnMouseMiddleUp(const float* point, uint32_t keys)
{
    (void)point, (void)keys;
    m_Dragging = false;
    return 0;
}

int32_t ZorTaskCameraControl::OnKeyDown(uint32_t key, uint32_t keyData)
{
    (void)keyData;
    if (!m_Camera)
        return 0;
    if (key >= kVkLeft && key < kVkLeft + 4)
    {
        // Virtual keys run left, up, right, down.
        static const Arrow s_Arrows[4] = {kLeft, kUp, kRight, kDown};
        m_ArrowDown[s_Arrows[key - kVkLeft]] = true;
    }
    else if (key == kVkPrior)
        m_Camera->ZoomIn();
    else if (key == kVkNext)
        m_Camera->ZoomOut();
    return 0;
}

int32_t ZorTaskCameraControl::OnKeyUp(uint32_t key, uint32_t keyData)
{
    (void)keyData;
    if (key >= kVkLeft && key < kVkLeft + 4)
    {
        static const Arrow s_Arrows[4] = {kLeft, kUp, kRight, kDown};
        m_ArrowDown[s_Arrows[key - kVkLeft]] = false;
    }
    return 0;
}
