#include "animation/GxNcLayerSnapShotEx.h"

#include "animation/GxNcKeyTrack.h"
#include "animation/GxNcMotionSnapShotEx.h"

GxNcLayerSnapShotEx::GxNcLayerSnapShotEx()
    : m_ImageKey(GxNcKeyTrack::NoImageKey()), m_PositionKey(GxNcKeyTrack::NoVector4Key(0.0f)),
      m_ScaleKey(GxNcKeyTrack::NoVector4Key(1.0f)), m_RotationKey(GxNcKeyTrack::NoVector4Key(0.0f)),
      m_PivotKey(GxNcKeyTrack::NoVector4Key(0.0f)), m_SizeKey(GxNcKeyTrack::NoVector2Key(1.0f)),
      m_OpacityKey(GxNcKeyTrack::NoFloatKey(1.0f)), m_VisibilityKey(GxNcKeyTrack::NoUIntKey(1)),
      m_VertexOffsetKey(GxNcKeyTrack::NoVector4x5Key(0.0f)), m_VertexColorKey(GxNcKeyTrack::NoVector4x5Key(1.0f)),
      m_TexOffsetKey(GxNcKeyTrack::NoVector2Key(0.0f))
{
    for (GxVector4& c : m_Colors)
        c = GxVector4(1.0f, 1.0f, 1.0f, 1.0f);
}

GxNcLayerSnapShotEx::GxNcLayerSnapShotEx(const GxNcLayerSnapShotEx& other)
{
    *this = other;
}

GxNcLayerSnapShotEx& GxNcLayerSnapShotEx::operator=(const GxNcLayerSnapShotEx& other)
{
    if (this == &other)
        return *this;
    m_Time = other.m_Time;
    m_LoopLength = other.m_LoopLength;
    m_pLayer = other.m_pLayer;
    m_pNested = other.m_pNested ? std::make_unique<GxNcMotionSnapShotEx>(*other.m_pNested) : nullptr;
    m_ImageKey = other.m_ImageKey;
    m_PositionKey = other.m_PositionKey;
    m_ScaleKey = other.m_ScaleKey;
    m_RotationKey = other.m_RotationKey;
    m_PivotKey = other.m_PivotKey;
    m_SizeKey = other.m_SizeKey;
    m_OpacityKey = other.m_OpacityKey;
    m_VisibilityKey = other.m_VisibilityKey;
    m_VertexOffsetKey = other.m_VertexOffsetKey;
    m_VertexColorKey = other.m_VertexColorKey;
    m_TexOffsetKey = other.m_TexOffsetKey;
    m_BlendMode = other.m_BlendMode;
    m_LocalMatrix = other.m_LocalMatrix;
    m_CombinedMatrix = other.m_CombinedMatrix;
    for (int i = 0; i < 5; ++i)
    {
        m_Positions[i] = other.m_Positions[i];
        m_TexCoords[i] = other.m_TexCoords[i];
        m_Colors[i] = other.m_Colors[i];
    }
    return *this;
}

GxNcLayerSnapShotEx::GxNcLayerSnapShotEx(GxNcLayerSnapShotEx&&) noexcept = default;
GxNcLayerSnapShotEx& GxNcLayerSnapShotEx::operator=(GxNcLayerSnapShotEx&&) noexcept = default;
GxNcLayerSnapShotEx::~GxNcLayerSnapShotEx() = default;
