#pragma once

#include "core/GxVector2.h"
#include "core/GxVector4.h"

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// The visual state of an actor, stored with it.
class GxActorVisualParam
{
public:
    GxActorVisualParam() { Reset(); }
    virtual ~GxActorVisualParam() = default;

    virtual bool Save(GxContentWriterBase* writer);
    virtual bool Load(GxContentReaderBase* reader);

    void Reset();
    // The float colour to draw with: Color0's red, green and blue, alpha = m_Alpha x Color0.alpha x factor
    // / 255 / 255, where factor is 0..255 from the caller.
    GxVector4 GetDrawColor(int32_t factor) const;

    bool m_Visible;
    float m_OrderZ;
    int32_t m_Alpha; // 0..255
    GxVector4 m_Color0;
    GxVector4 m_Color1;
    GxVector4 m_Pos;
    GxVector4 m_Scale;
    GxVector4 m_Rot;
    GxVector4 m_CenterPos;
    GxVector2 m_UVOffset;
    GxVector4 m_ShakeOffsetPos;
    int32_t m_BlendMode;
};
