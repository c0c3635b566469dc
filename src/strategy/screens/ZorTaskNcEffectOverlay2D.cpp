#include "strategy/screens/ZorTaskNcEffectOverlay2D.h"

#include "animation/GxNcMotion.h"
#include "graphics/GxGraphics.h"
#include "strategy/screens/ZorTaskCamera.h"

ZorTaskNcEffectOverlay2D::ZorTaskNcEffectOverlay2D(GxTaskBase* parent, ZorTaskCamera* camera)
    : GxTaskNcEffect2D(parent), m_Camera(camera)
{
}

ZorTaskNcEffectOverlay2D::~ZorTaskNcEffectOverlay2D() = default;

void ZorTaskNcEffectOverlay2D::Setup(GxNcProjectEx* project, GxNcMotion* motion, const GxVector4& position,
                                     float key, const GxVector4& size)
{
    GxTaskNcEffect2D::Setup(project, motion, 0.0f, 0.0f, key, GxVector4(1.0f, 1.0f, 1.0f, 0.0f),
                            GxVector2(1.0f, 1.0f), GxVector4(), GxVector4());
    m_Position = position;
    m_Size = size;
}

int32_t ZorTaskNcEffectOverlay2D::Update(int32_t step, int64_t elapsed)
{
    if (m_pMotion && m_pMotion->m_EndTime <= 0)
    {
        Kill();
        return 0;
    }
    return GxTaskNcEffect2D::Update(step, elapsed);
}

bool ZorTaskNcEffectOverlay2D::IsOnScreen(float x, float y)
{
    return x >= -300.0f && x <= 1324.0f && y >= -300.0f && y <= 1068.0f;
}

GxVector3 ZorTaskNcEffectOverlay2D::GetScreenPos() const
{
    return m_Camera->WorldToScreen(GxVector3(m_Position.x, m_Position.y, m_Position.z));
}

int32_t ZorTaskNcEffectOverlay2D::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_pMotion || m_pMotion->m_EndTime <= 0 || m_StartDelay > 0 || !m_Camera)
        return 0;
    const GxVector3 s = GetScreenPos();
    if (!IsOnScreen(s.x, s.y))
        return 0;
    const bool own = GxGraphics::GetSceneCount() == 0;
    if (own)
        GxGraphics::BeginScene();
    GxGraphics::SetRenderState(D3DRS_ZENABLE, 0);
    GxGraphics::SetRenderState(D3DRS_ZWRITEENABLE, 0);
    GxGraphics::SetBlendMode(0, 2);
    GxGraphics::SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    GxGraphics::SetRenderState(D3DRS_ALPHAREF, 128);
    const float zoom = m_Camera->GetCurrent().m_Zoom * 0.42f;
    GxMatrix scale;
    scale.Scaling(m_Size.x * m_Scale2.x * zoom, m_Size.y * m_Scale2.y * zoom, m_Size.z * zoom);
    static const GxMatrix s_Identity;
    const GxVector4 white(1.0f, 1.0f, 1.0f, 1.0f);
    m_SnapShot.Update(m_pProject, m_pMotion, m_PlayFrame % m_pMotion->m_EndTime, GxVector4(s.x, s.y, 0.0f, 0.0f),
                      &scale, white, 4, nullptr);
    GxNcMotionSnapShotEx::Draw(m_SnapShot, s_Identity, 1.0f, white, GxVector4(), 0, 0, nullptr);
    if (own)
        GxGraphics::EndScene();
    return 0;
}
