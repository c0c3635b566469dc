#include "animation/GxNcLayer.h"

#include "core/GxContentReaderBase.h"

namespace
{

// The fields every value key shares after its value.
template <typename Key> void ReadKeyTail(GxContentReaderBase& r, Key& key)
{
    r.Read("m_InterMode", key.m_InterMode);
    r.Read("m_InterParam0", key.m_InterParam0);
    r.Read("m_InterParam1", key.m_InterParam1);
    r.Read("m_Selected", key.m_Selected);
}

void ReadKey(GxContentReaderBase& r, GxNcImageKey& key)
{
    r.Read("m_Time", key.m_Time);
    r.ReadString("m_ImageSetName", key.m_ImageSetName);
    r.ReadString("m_ImageFileName", key.m_ImageFileName);
    r.ReadString("m_MotionGroupName", key.m_MotionGroupName);
    r.ReadString("m_MotionName", key.m_MotionName);
    r.Read("m_PatternIndex", key.m_PatternIndex);
    r.Read("m_Width", key.m_Width);
    r.Read("m_Height", key.m_Height);
    r.Read("m_OffsetFrame", key.m_OffsetFrame);
    r.Read("m_LoopMode", key.m_LoopMode);
    ReadKeyTail(r, key);
}

void ReadKey(GxContentReaderBase& r, GxNcVector4Key& key)
{
    r.Read("m_Time", key.m_Time);
    r.Read("m_Value", key.m_Value);
    ReadKeyTail(r, key);
}

void ReadKey(GxContentReaderBase& r, GxNcVector2Key& key)
{
    r.Read("m_Time", key.m_Time);
    r.Read("m_Value", key.m_Value);
    ReadKeyTail(r, key);
}

void ReadKey(GxContentReaderBase& r, GxNcFloatKey& key)
{
    r.Read("m_Time", key.m_Time);
    r.Read("m_Value", key.m_Value);
    ReadKeyTail(r, key);
}

void ReadKey(GxContentReaderBase& r, GxNcUIntKey& key)
{
    r.Read("m_Time", key.m_Time);
    r.Read("m_Value", key.m_Value);
    ReadKeyTail(r, key);
}

void ReadKey(GxContentReaderBase& r, GxNcVector4x5Key& key)
{
    r.Read("m_Time", key.m_Time);
    for (GxVector4& v : key.m_Value)
        r.Read("m_Value", v);
    ReadKeyTail(r, key);
    r.Read("m_SelectedLocalFlags", key.m_SelectedLocalFlags);
}

// The least bytes of one key of each kind: its time, its value and the four values every key ends with.
uint64_t LeastKeyTail(GxContentReaderBase& r)
{
    return r.LeastSize({g_ContentValueU32, g_ContentValueF32, g_ContentValueF32, g_ContentValueU32});
}
uint64_t LeastKeySize(GxContentReaderBase& r, const GxNcImageKey*)
{
    return r.LeastSize({g_ContentValueS32, g_ContentValueString, g_ContentValueString, g_ContentValueString,
                        g_ContentValueString, g_ContentValueS32, g_ContentValueS32, g_ContentValueS32,
                        g_ContentValueS32, g_ContentValueU32}) +
           LeastKeyTail(r);
}
uint64_t LeastKeySize(GxContentReaderBase& r, const GxNcVector4Key*)
{
    return r.LeastSize({g_ContentValueS32, g_ContentValueVector4}) + LeastKeyTail(r);
}
uint64_t LeastKeySize(GxContentReaderBase& r, const GxNcVector2Key*)
{
    return r.LeastSize({g_ContentValueS32, g_ContentValueVector2}) + LeastKeyTail(r);
}
uint64_t LeastKeySize(GxContentReaderBase& r, const GxNcFloatKey*)
{
    return r.LeastSize({g_ContentValueS32, g_ContentValueF32}) + LeastKeyTail(r);
}
uint64_t LeastKeySize(GxContentReaderBase& r, const GxNcUIntKey*)
{
    return r.LeastSize({g_ContentValueS32, g_ContentValueU32}) + LeastKeyTail(r);
}
uint64_t LeastKeySize(GxContentReaderBase& r, const GxNcVector4x5Key*)
{
    return r.LeastSize({g_ContentValueS32, g_ContentValueVector4, g_ContentValueVector4, g_ContentValueVector4,
                        g_ContentValueVector4, g_ContentValueVector4, g_ContentValueU32}) +
           LeastKeyTail(r);
}

// An unnamed list of keys, its count held to what the bytes left can hold at the least size of its key.
// Nothing is read once a value has failed: the loader throws a damaged project away.
template <typename Key> void ReadKeys(GxContentReaderBase& r, std::vector<Key>& keys)
{
    if (r.GetErrorCount() != 0)
        return;
    uint32_t count = 0;
    r.ListBegin("", count, LeastKeySize(r, static_cast<const Key*>(nullptr)));
    keys.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        Key key;
        r.ListItemBegin();
        ReadKey(r, key);
        r.ListItemEnd();
        keys.push_back(std::move(key));
        if (r.GetErrorCount() != 0)
            break; // the loader throws a damaged project away
    }
    r.ListEnd();
}

} // namespace

void GxNcLayer::Read(GxContentReaderBase& r)
{
    if (r.GetErrorCount() != 0)
        return;
    r.ReadString("m_LayerName", m_LayerName);
    r.ReadString("m_EnumName", m_EnumName);
    r.Read("m_LayerID", m_LayerID);
    r.Read("m_LastTime", m_LastTime);
    r.Read("m_LoopMode", m_LoopMode);
    r.Read("m_LayerType", m_LayerType);
    r.Read("m_AttachIndex", m_AttachIndex);
    // File order: the stencil pair comes before m_ViewMode.
    r.Read("m_VertexCount", m_VertexCount);
    r.Read("m_EditLock", m_EditLock);
    r.Read("m_EditVisible", m_EditVisible);
    r.Read("m_LightEnable", m_LightEnable);
    r.Read("m_AlphaTestEnable", m_AlphaTestEnable);
    r.Read("m_ZWriteEnable", m_ZWriteEnable);
    r.Read("m_ZTestEnable", m_ZTestEnable);
    r.Read("m_StencilMode", m_StencilMode);
    r.Read("m_StencilTestEnable", m_StencilTestEnable);
    r.Read("m_ViewMode", m_ViewMode);
    r.Read("m_BlendMode", m_BlendMode);
    r.Read("m_FilterMode", m_FilterMode);
    r.Read("m_Selected", m_Selected);
    r.Read("m_Expanded", m_Expanded);
    if (r.GetErrorCount() != 0)
        return;
    ReadKeys(r, m_ImageKeys);
    ReadKeys(r, m_PositionKeys);
    ReadKeys(r, m_ScaleKeys);
    ReadKeys(r, m_RotationKeys);
    ReadKeys(r, m_PivotKeys);
    ReadKeys(r, m_SizeKeys);
    ReadKeys(r, m_OpacityKeys);
    ReadKeys(r, m_VisibilityKeys);
    ReadKeys(r, m_VertexOffsetKeys);
    ReadKeys(r, m_VertexColorKeys);
    ReadKeys(r, m_TexOffsetKeys);
}

void GxNcLayer::Clear()
{
    *this = GxNcLayer();
}
