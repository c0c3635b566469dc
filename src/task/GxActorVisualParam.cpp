#include "task/GxActorVisualParam.h"

void GxActorVisualParam::Reset()
{
    m_Visible = true;
    m_OrderZ = 1000.0f;
    m_Alpha = 255;
    m_Color0 = GxVector4(1.0f, 1.0f, 1.0f, 1.0f);
    m_Color1 = GxVector4(0.0f, 0.0f, 0.0f, 0.0f);
    m_Pos = GxVector4();
    m_Scale = GxVector4(1.0f, 1.0f, 1.0f, 0.0f);
    m_Rot = GxVector4();
    m_CenterPos = GxVector4();
    m_UVOffset = GxVector2();
    m_ShakeOffsetPos = GxVector4();
    m_BlendMode = 2;
}

GxVector4 GxActorVisualParam::GetDrawColor(int32_t factor) const
{
    const float alpha = static_cast<float>(m_Alpha) * m_Color0.w * static_cast<float>(factor) / 255.0f / 255.0f;
    return GxVector4(m_Color0.x, m_Color0.y, m_Color0.z, alpha);
}

bool GxActorVisualParam::Save(GxContentWriterBase* writer)
{
    // FIXME: the fields in order once the content writers land.
    (void)writer;
    return true;
}

bool GxActorVisualParam::Load(GxContentReaderBase* reader)
{
    // FIXME: the fields in order once the content readers land.
    (void)reader;
    return true;
}
