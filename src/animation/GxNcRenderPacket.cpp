#include "animation/GxNcRenderPacket.h"

#include "animation/GxNcMotionSnapShotEx.h"
#include "graphics/GxGraphics.h"

GxNcRenderPacket::~GxNcRenderPacket()
{
    if (m_OwnsSnapShot)
        delete m_pSnapShot;
}

void GxNcRenderPacket::Init(GxNcRenderPacket* packet, GxNcMotionSnapShotEx* snapshot, float sortKey,
                            const GxVector4& position, const GxVector4* specular)
{
    if (!packet)
        return;
    packet->m_SortKey = sortKey;
    packet->m_Flags = 1;
    packet->m_OwnsSnapShot = 0;
    packet->m_pSnapShot = snapshot;
    packet->m_pDrawHook = nullptr;
    if (specular)
        packet->m_Specular = *specular;
    packet->m_Position = position;
    packet->m_BlendOverride = 0;
    packet->m_FilterOverride = 0;
    packet->m_CullMode = 1;
    packet->m_ZEnable = 1;
    packet->m_ZWriteEnable = 0;
    packet->m_AlphaTest = 0;
    packet->m_Mode = kWorld;
}

void GxNcRenderPacket::SetStates() const
{
    GxGraphics::SetCullMode(m_CullMode);
    GxGraphics::SetZEnable(m_ZEnable != 0);
    GxGraphics::SetZWriteEnable(m_ZWriteEnable != 0);
    GxGraphics::SetAlphaTest(m_AlphaTest != 0, 128);
}

void GxNcRenderPacket::Draw(uint32_t)
{
    if (m_Mode == kScreen)
    {
        SetStates();
        if (m_pSnapShot)
            GxNcMotionSnapShotEx::Draw(*m_pSnapShot, m_Matrix, 1.0f, m_Color, m_Specular, m_BlendOverride,
                                       m_FilterOverride, m_pDrawHook);
    }
    else if (m_Mode == kWorld)
    {
        GxGraphics::SetWorldMatrix(m_Matrix);
        SetStates();
        if (m_pSnapShot)
            GxNcMotionSnapShotEx::DrawWorld(*m_pSnapShot, m_Position, 1.0f, m_Color, m_Specular, m_BlendOverride,
                                            m_FilterOverride);
    }
}
