#pragma once

#include "animation/GxNcFloatKey.h"
#include "animation/GxNcImageKey.h"
#include "animation/GxNcUIntKey.h"
#include "animation/GxNcVector2Key.h"
#include "animation/GxNcVector4Key.h"
#include "animation/GxNcVector4x5Key.h"
#include "core/GxMatrix.h"
#include "core/GxVector2.h"
#include "core/GxVector4.h"

#include <cstdint>
#include <memory>

class GxNcLayer;
class GxNcMotionSnapShotEx;

// One layer of a motion evaluated at a time: its resolved keys, its place in the layer tree, its inherited
// blend preset and its five finished vertices (corner 0 top left, 1 bottom left, 2 bottom right, 3 top
// right, then the centre). A layer whose image key plays a motion owns the nested snapshot of it; copies
// are deep.
class GxNcLayerSnapShotEx
{
public:
    GxNcLayerSnapShotEx();
    GxNcLayerSnapShotEx(const GxNcLayerSnapShotEx& other);
    GxNcLayerSnapShotEx& operator=(const GxNcLayerSnapShotEx& other);
    GxNcLayerSnapShotEx(GxNcLayerSnapShotEx&&) noexcept;
    GxNcLayerSnapShotEx& operator=(GxNcLayerSnapShotEx&&) noexcept;
    virtual ~GxNcLayerSnapShotEx();

    int32_t m_Time = 0;       // the motion time of the last evaluation, before the layer's own wrap
    int32_t m_LoopLength = 0; // the motion's loop length
    const GxNcLayer* m_pLayer = nullptr;
    std::unique_ptr<GxNcMotionSnapShotEx> m_pNested;
    GxNcImageKey m_ImageKey;
    GxNcVector4Key m_PositionKey;
    GxNcVector4Key m_ScaleKey;
    GxNcVector4Key m_RotationKey;
    GxNcVector4Key m_PivotKey;
    GxNcVector2Key m_SizeKey;
    GxNcFloatKey m_OpacityKey;
    GxNcUIntKey m_VisibilityKey;
    GxNcVector4x5Key m_VertexOffsetKey;
    GxNcVector4x5Key m_VertexColorKey;
    GxNcVector2Key m_TexOffsetKey; // never evaluated: keeps (0, 0)
    uint32_t m_BlendMode = 1;
    GxMatrix m_LocalMatrix;
    GxMatrix m_CombinedMatrix;
    GxVector4 m_Positions[5];
    GxVector2 m_TexCoords[5];
    GxVector4 m_Colors[5];
};
