#include "task/GxActorVisualParam.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentValueType.h"
#include "core/GxContentWriterBase.h"
#include "core/GxFColor.h"
#include "task/GxActorXyz.h"

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

namespace
{
GxFColor ToFColor(const GxVector4& v)
{
    GxFColor c;
    c.r = v.x;
    c.g = v.y;
    c.b = v.z;
    c.a = v.w;
    return c;
}

void ReadColor(GxContentReaderBase* reader, const char* name, GxVector4& v)
{
    GxFColor c = ToFColor(v);
    reader->Read(name, c);
    v = GxVector4(c.r, c.g, c.b, c.a);
}
} // namespace

bool GxActorVisualParam::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    const GxFColor color0 = ToFColor(m_Color0);
    const GxFColor color1 = ToFColor(m_Color1);
    writer->Write("m_Visible", m_Visible);
    writer->Write("m_OrderZ", m_OrderZ);
    writer->Write("m_Alpha", m_Alpha);
    writer->Write("m_Color0", &color0);
    writer->Write("m_Color1", &color1);
    GxActorXyz::Write(writer, "m_Pos", m_Pos);
    GxActorXyz::Write(writer, "m_Scale", m_Scale);
    GxActorXyz::Write(writer, "m_Rot", m_Rot);
    GxActorXyz::Write(writer, "m_CenterPos", m_CenterPos);
    writer->Write("m_UVOffset", &m_UVOffset);
    GxActorXyz::Write(writer, "m_ShakeOffsetPos", m_ShakeOffsetPos);
    writer->Write("m_BlendMode", m_BlendMode);
    return writer->GetErrorCount() == 0;
}

bool GxActorVisualParam::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    reader->Read("m_Visible", m_Visible);
    reader->Read("m_OrderZ", m_OrderZ);
    reader->Read("m_Alpha", m_Alpha);
    ReadColor(reader, "m_Color0", m_Color0);
    ReadColor(reader, "m_Color1", m_Color1);
    GxActorXyz::Read(reader, "m_Pos", m_Pos);
    GxActorXyz::Read(reader, "m_Scale", m_Scale);
    GxActorXyz::Read(reader, "m_Rot", m_Rot);
    GxActorXyz::Read(reader, "m_CenterPos", m_CenterPos);
    // Records keep m_UVOffset before m_ShakeOffsetPos; a record with the five three-component vectors
    // together (the shake offset first) reads as well: the value tags tell the two orders apart.
    if (reader->PeekValueType() == VALTYPE_GxVector3)
    {
        GxActorXyz::Read(reader, "m_ShakeOffsetPos", m_ShakeOffsetPos);
        reader->Read("m_UVOffset", m_UVOffset);
    }
    else
    {
        reader->Read("m_UVOffset", m_UVOffset);
        GxActorXyz::Read(reader, "m_ShakeOffsetPos", m_ShakeOffsetPos);
    }
    reader->Read("m_BlendMode", m_BlendMode);
    return reader->GetErrorCount() == 0;
}
