#pragma once

#include "core/GxMatrix.h"
#include "core/GxVector4.h"
#include "graphics/GxRenderPacketBase.h"

#include <cstdint>

class GxNcCallbackBase;
class GxNcMotionSnapShotEx;

// A motion snapshot queued in a sorted render list with its render states: mode 2 draws it in screen space
// through the matrix, mode 3 in world space with the matrix as the world transform; any other mode draws
// nothing.
class GxNcRenderPacket : public GxRenderPacketBase
{
public:
    enum Mode : uint32_t
    {
        kScreen = 2,
        kWorld = 3,
    };

    GxNcRenderPacket() : GxRenderPacketBase(0.0f, 0, 1) {}
    ~GxNcRenderPacket() override;

    // Prepares a world-mode packet over a snapshot it does not own: mask flags 1, depth test on, no depth
    // write, no alpha test, no culling, no overrides. The second colour is kept when none is given.
    static void Init(GxNcRenderPacket* packet, GxNcMotionSnapShotEx* snapshot, float sortKey, const GxVector4& position,
                     const GxVector4* specular = nullptr);
    void Draw(uint32_t index) override;

    uint8_t m_OwnsSnapShot = 0;
    GxNcMotionSnapShotEx* m_pSnapShot = nullptr;
    GxNcCallbackBase* m_pDrawHook = nullptr;
    GxMatrix m_Matrix;
    GxVector4 m_Color{1.0f, 1.0f, 1.0f, 1.0f};
    GxVector4 m_Specular;
    GxVector4 m_Position;
    uint32_t m_BlendOverride = 0;
    uint32_t m_FilterOverride = 0;
    uint32_t m_CullMode = 1;
    uint8_t m_ZEnable = 0;
    uint8_t m_ZWriteEnable = 0;
    uint8_t m_AlphaTest = 0;
    uint32_t m_Mode = 0;

private:
    void SetStates() const;
};
