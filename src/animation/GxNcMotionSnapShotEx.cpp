// Evaluation of a motion into its snapshot: tracks, the layer tree's combined parameters, vertices, nested
// motions, keys and bounds. The draws are in GxNcMotionSnapShotExDraw.cpp.
#include "animation/GxNcMotionSnapShotEx.h"

#include "animation/GxNcCallbackBase.h"
#include "animation/GxNcCrammedImage.h"
#include "animation/GxNcKeyTrack.h"
#include "animation/GxNcLayerNode.h"
#include "animation/GxNcMotion.h"
#include "animation/GxNcOriginImage.h"
#include "animation/GxNcProjectEx.h"
#include "core/GxLog.h"
#include "graphics/GxTextureBase.h"

#include <algorithm>

namespace
{

// The authoring tool's degree-to-radian factor, as a float.
constexpr float kDegToRad = 0.017453292f;

const GxVector2 kDefaultUV[5] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.5f, 0.5f}};

void Rectangle(GxVector4* p, float w, float h)
{
    p[0] = GxVector4(-w / 2, -h / 2, 0.0f, 0.0f);
    p[1] = GxVector4(-w / 2, h / 2, 0.0f, 0.0f);
    p[2] = GxVector4(w / 2, h / 2, 0.0f, 0.0f);
    p[3] = GxVector4(w / 2, -h / 2, 0.0f, 0.0f);
    p[4] = GxVector4();
}

int32_t Wrap(int64_t t, int32_t length)
{
    const int64_t w = length < 1 ? 1 : length;
    return static_cast<int32_t>(t % w);
}

} // namespace

GxNcMotionSnapShotEx::GxNcMotionSnapShotEx()
    : m_BoundsMin(kBoundsReset, kBoundsReset, kBoundsReset, 0.0f),
      m_BoundsMax(-kBoundsReset, -kBoundsReset, -kBoundsReset, 0.0f)
{
}

int32_t GxNcMotionSnapShotEx::GetLayerCount() const
{
    if (!m_pMotion)
        return 0;
    return std::min(m_pMotion->GetLayerCount(), static_cast<int32_t>(m_Layers.size()));
}

void GxNcMotionSnapShotEx::Clear()
{
    m_Time = 0;
    m_LoopLength = 0;
    m_Layers.clear();
    m_pMotion = nullptr;
    m_BoundsMin = GxVector4(kBoundsReset, kBoundsReset, kBoundsReset, 0.0f);
    m_BoundsMax = GxVector4(-kBoundsReset, -kBoundsReset, -kBoundsReset, 0.0f);
    m_Offset = GxVector4();
}

void GxNcMotionSnapShotEx::Update(const GxNcProjectEx* project, const GxNcMotion* motion, int32_t time,
                                  const GxVector4& offset, const GxMatrix* parent, const GxVector4& motionColour,
                                  int32_t depth, GxNcCallbackBase* callback)
{
    if (!motion)
        return;
    m_pMotion = motion;
    m_Offset = offset;
    m_Time = time;
    m_LoopLength = motion->m_EndTime > 1 ? motion->m_EndTime : 1;
    const int32_t count = motion->GetLayerCount();
    if (static_cast<int32_t>(m_Layers.size()) < count)
        m_Layers.resize(count);

    EvaluateTracks(count);
    CreateCombinedParam(parent);
    for (int32_t i = 0; i < count; ++i)
        BuildVertices(project, i, motionColour, depth, callback);

    if (callback)
    {
        if (const GxNcSoundKey* key = GxNcMotion::FindSoundKey(motion->m_SoundKeys, time))
            callback->OnSoundKey(this, depth, 0, *key);
        for (int channel = 0; channel < GxNcMotion::kEventChannels; ++channel)
        {
            if (const GxNcEventKey* key = GxNcMotion::FindEventKey(motion->m_EventKeys[channel], time))
                callback->OnEventKey(this, depth, channel, *key);
        }
    }
}

void GxNcMotionSnapShotEx::EvaluateTracks(int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
    {
        const GxNcLayer& layer = *m_pMotion->GetLayer(i);
        GxNcLayerSnapShotEx& s = m_Layers[i];
        const GxNcKeyTrack::Context c{m_Time, layer.m_LoopMode, m_LoopLength, layer.m_LastTime};
        GxNcKeyTrack::EvaluateInto(layer.m_ImageKeys, c, s.m_ImageKey);
        GxNcKeyTrack::EvaluateInto(layer.m_PositionKeys, c, 0.0f, s.m_PositionKey);
        GxNcKeyTrack::EvaluateInto(layer.m_ScaleKeys, c, 1.0f, s.m_ScaleKey);
        GxNcKeyTrack::EvaluateInto(layer.m_RotationKeys, c, 0.0f, s.m_RotationKey);
        GxNcKeyTrack::EvaluateInto(layer.m_PivotKeys, c, 0.0f, s.m_PivotKey);
        s.m_SizeKey = GxNcKeyTrack::Evaluate(layer.m_SizeKeys, c, 1.0f);
        s.m_OpacityKey = GxNcKeyTrack::Evaluate(layer.m_OpacityKeys, c, 1.0f);
        s.m_VisibilityKey = GxNcKeyTrack::Evaluate(layer.m_VisibilityKeys, c, 1u);
        GxNcKeyTrack::EvaluateInto(layer.m_VertexOffsetKeys, c, 0.0f, s.m_VertexOffsetKey);
        GxNcKeyTrack::EvaluateInto(layer.m_VertexColorKeys, c, 1.0f, s.m_VertexColorKey);
        s.m_Time = m_Time;
        s.m_LoopLength = m_LoopLength;
        s.m_pLayer = &layer;
    }
}

// The layer tree from its root: each layer's local matrix from its keys, combined with its parent's, and
// the blend preset inherited where the layer names none. Walked with a stack: trees nest to any depth.
void GxNcMotionSnapShotEx::CreateCombinedParam(const GxMatrix* parent)
{
    struct Frame
    {
        const GxSimpleNode* m_Node;
        const GxMatrix* m_Parent;
        uint32_t m_Blend;
    };
    static thread_local std::vector<Frame> s_Stack;
    static const GxMatrix s_Identity;
    s_Stack.clear();
    if (const GxSimpleNode* root = m_pMotion->m_LayerTree.GetRoot())
        s_Stack.push_back({root, parent ? parent : &s_Identity, 1});
    const int32_t count = static_cast<int32_t>(m_Layers.size());
    while (!s_Stack.empty())
    {
        const Frame f = s_Stack.back();
        s_Stack.pop_back();
        const GxNcLayerNode* node = static_cast<const GxNcLayerNode*>(f.m_Node);
        if (node->m_LayerIndex < 0 || node->m_LayerIndex >= count)
        {
            // Its later siblings are left alone too: their matrices keep the last update's values.
            GxLog::Error(L"GxNcMotionSnapShotEx::CreateCombinedParam_Sub/Layer:%ls Tree is not prepared\n",
                         node->m_LayerName.c_str());
            continue;
        }
        GxNcLayerSnapShotEx& s = m_Layers[node->m_LayerIndex];
        const GxVector4& size = s.m_ScaleKey.m_Value;
        const GxVector3 scale(s.m_SizeKey.m_Value.x * size.x, s.m_SizeKey.m_Value.y * size.y, size.z);
        const GxVector4& r = s.m_RotationKey.m_Value;
        const GxVector4& p = s.m_PositionKey.m_Value;
        const GxVector4& v = s.m_PivotKey.m_Value;
        s.m_LocalMatrix.ComposeSRT(scale, GxVector3(p.x, p.y, p.z),
                                   GxVector3(r.x * kDegToRad, r.y * kDegToRad, r.z * kDegToRad),
                                   GxVector3(v.x, v.y, v.z));
        s.m_LocalMatrix.Multiply(*f.m_Parent, s.m_CombinedMatrix);
        const uint32_t own = s.m_pLayer ? s.m_pLayer->m_BlendMode : 0;
        s.m_BlendMode = own != 0 ? own : f.m_Blend;
        if (node->GetNextSibling())
            s_Stack.push_back({node->GetNextSibling(), f.m_Parent, f.m_Blend});
        if (node->GetFirstChild())
            s_Stack.push_back({node->GetFirstChild(), &s.m_CombinedMatrix, s.m_BlendMode});
    }
}

void GxNcMotionSnapShotEx::BuildVertices(const GxNcProjectEx* project, int32_t index, const GxVector4& motionColour,
                                         int32_t depth, GxNcCallbackBase* callback)
{
    GxNcLayerSnapShotEx& s = m_Layers[index];
    const GxNcImageKey& key = s.m_ImageKey;
    for (int k = 0; k < 5; ++k)
    {
        GxVector4 c = s.m_VertexColorKey.m_Value[k];
        c.w *= s.m_OpacityKey.m_Value;
        s.m_Colors[k] = c.Modulate(motionColour);
    }

    bool playedNested = false;
    GxVector4* pos = s.m_Positions;
    const GxNcOriginImage* image = key.m_pOriginImage;
    if (image && image->HasPattern(key.m_PatternIndex))
    {
        const GxNcPattern& p = image->m_Patterns[key.m_PatternIndex];
        const float ox = (float)p.m_CrammedOffsetLeft, oy = (float)p.m_CrammedOffsetTop;
        const float w = (float)p.m_CrammedWidth, h = (float)p.m_CrammedHeight;
        pos[0] = GxVector4(ox, oy, 0, 0);
        pos[1] = GxVector4(ox, oy + h, 0, 0);
        pos[2] = GxVector4(ox + w, oy + h, 0, 0);
        pos[3] = GxVector4(ox + w, oy, 0, 0);
        pos[4] = GxVector4(ox + w * 0.5f, oy + h * 0.5f, 0, 0);
        const GxVector2 d = s.m_TexOffsetKey.m_Value;
        const GxTextureBase* page = p.m_pCrammedImage ? p.m_pCrammedImage->m_pTexture : nullptr;
        if (page)
        {
            const GxFRect& uv = p.m_CrammedRawUV;
            s.m_TexCoords[0] = GxVector2(uv.left + d.x, uv.top + d.y);
            s.m_TexCoords[1] = GxVector2(uv.left + d.x, uv.bottom + d.y);
            s.m_TexCoords[2] = GxVector2(uv.right + d.x, uv.bottom + d.y);
            s.m_TexCoords[3] = GxVector2(uv.right + d.x, uv.top + d.y);
            s.m_TexCoords[4] = GxVector2((uv.left + uv.right) * 0.5f + d.x, (uv.top + uv.bottom) * 0.5f + d.y);
        }
        else if (image->m_pTexture)
        {
            for (int k = 0; k < 5; ++k)
                s.m_TexCoords[k] = GxVector2(image->m_pTexture->GetTexCoordU(p.m_Left + pos[k].x) + d.x,
                                             image->m_pTexture->GetTexCoordV(p.m_Top + pos[k].y) + d.y);
        }
        else
        {
            std::copy(kDefaultUV, kDefaultUV + 5, s.m_TexCoords);
        }
        // The vertex offsets move the corners, and the pattern's centre point lands on the layer origin.
        for (int k = 0; k < 5; ++k)
        {
            pos[k].x += s.m_VertexOffsetKey.m_Value[k].x - p.m_CenterPosX;
            pos[k].y += s.m_VertexOffsetKey.m_Value[k].y - p.m_CenterPosY;
        }
    }
    else if (key.m_ImageSetName.empty())
    {
        Rectangle(pos, (float)key.m_Width, (float)key.m_Height);
        std::copy(kDefaultUV, kDefaultUV + 5, s.m_TexCoords);
        if (!key.m_MotionGroupName.empty() && depth > 0)
        {
            const GxNcMotion* nested =
                project ? project->FindMotion(key.m_MotionGroupName, key.m_MotionName) : key.m_pMotion;
            if (nested)
            {
                // The layer's own time: its wrap, then from the key on with the key's offset, held at 0 before
                // it, then wrapped by the nested motion unless the key plays it once.
                int64_t t = s.m_Time;
                if (s.m_pLayer && s.m_pLayer->m_LoopMode == 2)
                    t = Wrap(t, s.m_pLayer->m_LastTime);
                t = t - key.m_Time + key.m_OffsetFrame;
                if (t < 0)
                    t = 0;
                if (key.m_LoopMode != 0)
                    t = Wrap(t, nested->m_EndTime);
                if (t > INT32_MAX)
                    t = INT32_MAX;
                if (!s.m_pNested)
                    s.m_pNested = std::make_unique<GxNcMotionSnapShotEx>();
                s.m_pNested->Update(project, nested, static_cast<int32_t>(t), m_Offset, &s.m_CombinedMatrix,
                                    s.m_Colors[0], depth - 1, callback);
                playedNested = true;
            }
        }
    }
    else
    {
        Rectangle(pos, 64.0f, 64.0f);
        std::copy(kDefaultUV, kDefaultUV + 5, s.m_TexCoords);
    }
    if (!playedNested)
        s.m_pNested.reset();

    for (int k = 0; k < 5; ++k)
    {
        GxVector3 v(pos[k].x, pos[k].y, pos[k].z);
        v.TransformCoord(s.m_CombinedMatrix);
        pos[k] = GxVector4(v.x + m_Offset.x, v.y + m_Offset.y, v.z + m_Offset.z, 0.0f);
    }
}

void GxNcMotionSnapShotEx::CalcBoundingBox()
{
    m_BoundsMin = GxVector4(kBoundsReset, kBoundsReset, kBoundsReset, 0.0f);
    m_BoundsMax = GxVector4(-kBoundsReset, -kBoundsReset, -kBoundsReset, 0.0f);
    auto extend = [this](const GxVector4& v)
    {
        m_BoundsMin =
            GxVector4(std::min(m_BoundsMin.x, v.x), std::min(m_BoundsMin.y, v.y), std::min(m_BoundsMin.z, v.z), 0.0f);
        m_BoundsMax =
            GxVector4(std::max(m_BoundsMax.x, v.x), std::max(m_BoundsMax.y, v.y), std::max(m_BoundsMax.z, v.z), 0.0f);
    };
    // Only the current motion's layers: snapshots left over from a larger motion hold stale vertices.
    const int32_t count = GetLayerCount();
    for (int32_t i = 0; i < count; ++i)
    {
        GxNcLayerSnapShotEx& s = m_Layers[i];
        for (const GxVector4& v : s.m_Positions)
            extend(v);
        if (s.m_pNested)
        {
            s.m_pNested->CalcBoundingBox();
            if (s.m_pNested->m_BoundsMin.x <= s.m_pNested->m_BoundsMax.x)
            {
                extend(s.m_pNested->m_BoundsMin);
                extend(s.m_pNested->m_BoundsMax);
            }
        }
    }
}
