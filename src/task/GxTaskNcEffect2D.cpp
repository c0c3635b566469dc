#include "task/GxTaskNcEffect2D.h"

#include "animation/GxNcMotion.h"
#include "graphics/GxGraphics.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

GxTaskNcEffect2D::GxTaskNcEffect2D(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName)
{
    SetTypeCode(kTypeCode);
}

GxTaskNcEffect2D::~GxTaskNcEffect2D() = default;

void GxTaskNcEffect2D::ResetPlay(float x, float y, float depthKey, const GxVector4& scale)
{
    m_SnapShot.Clear();
    m_DepthKey = depthKey;
    m_Position = GxVector4(x, y, 0.0f, 0.0f);
    m_Scale = scale;
    m_Scale2 = GxVector2(1.0f, 1.0f);
    m_Velocity = GxVector4();
    m_Acceleration = GxVector4();
    m_PlayFrame = 0;
    m_StartDelay = 0;
    m_Transform.SetIdentity();
    SetFrameCount(0);
}

void GxTaskNcEffect2D::Setup(GxNcProjectEx* project, GxNcMotion* motion, float x, float y, float depthKey,
                             const GxVector4& scale, const GxVector2& scale2, const GxVector4& velocity,
                             const GxVector4& acceleration)
{
    ResetPlay(x, y, depthKey, scale);
    m_pProject = project;
    m_pMotion = motion;
    m_Scale2 = scale2;
    m_Velocity = velocity;
    m_Acceleration = acceleration;
}

int32_t GxTaskNcEffect2D::GetLength() const
{
    // A motion of length 0 would never end and divide by zero when drawn.
    return (m_pMotion && m_pMotion->m_EndTime > 1) ? m_pMotion->m_EndTime : 1;
}

int32_t GxTaskNcEffect2D::Update(int32_t, int64_t)
{
    if (!m_pMotion)
    {
        Kill();
        return 0;
    }
    if (m_StartDelay > 0)
    {
        --m_StartDelay;
        return 0;
    }
    m_Transform.Set(m_Scale2.x * m_Scale.x, 0, 0, 0, 0, m_Scale2.y * m_Scale.y, 0, 0, 0, 0, m_Scale.z, 0, 0, 0, 0, 1);
    // The keys of this frame fire before it advances.
    GxNcMotion::InvokeCallbacks(this, m_pMotion, m_PlayFrame, this);
    m_Position =
        GxVector4(m_Position.x + m_Velocity.x, m_Position.y + m_Velocity.y, m_Position.z + m_Velocity.z, m_Position.w);
    m_Velocity = GxVector4(m_Velocity.x + m_Acceleration.x, m_Velocity.y + m_Acceleration.y,
                           m_Velocity.z + m_Acceleration.z, m_Velocity.w);
    ++m_PlayFrame;
    AdvanceFrameCount();
    if (m_PlayFrame >= GetLength())
        Kill();
    return 0;
}

int32_t GxTaskNcEffect2D::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(kRenderLayer))
            list->Add(this, GX_RENDER_ASCEND, m_DepthKey, 0);
    }
    return 0;
}

int32_t GxTaskNcEffect2D::Draw(int32_t, int32_t)
{
    if (!m_pMotion || m_StartDelay > 0)
        return 0;
    static const GxMatrix s_Identity;
    const GxVector4 white(1.0f, 1.0f, 1.0f, 1.0f);
    // Scenes do not nest: inside a scene the caller opened, closing one here would end the caller's scene
    // (and its batch of quads) under it.
    const bool own = GxGraphics::GetSceneCount() == 0;
    if (own)
        GxGraphics::BeginScene();
    m_SnapShot.Update(m_pProject, m_pMotion, m_PlayFrame % GetLength(), m_Position, &m_Transform, white, 4, nullptr);
    GxNcMotionSnapShotEx::Draw(m_SnapShot, s_Identity, 1.0f, white, GxVector4(), 0, 0, nullptr);
    if (own)
        GxGraphics::EndScene();
    return 0;
}
