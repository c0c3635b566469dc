// GxTaskLayer: update, draw registration, draw, save and load.
#include "task/GxTaskLayer.h"

#include "animation/GxNcColor.h"
#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcMotion.h"
#include "animation/GxNcProjectEx.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCore.h"
#include "core/GxCrtRandom.h"
#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxDraw.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureFlex.h"
#include "graphics/GxTextureMovie.h"
#include "media/GxMovie.h"
#include "task/GxSubLayerContent.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

#include <cmath>

namespace
{

constexpr float kPi = 3.14159265f;
constexpr float kDegToRad = kPi / 180.0f;

float ScreenWidth()
{
    return static_cast<float>(GxDisplaySettings::Get().m_BackBufferWidth);
}

float ScreenHeight()
{
    return static_cast<float>(GxDisplaySettings::Get().m_BackBufferHeight);
}

// u x |u| of a draw in 0..32767 mapped to -1..1: small shakes are more likely than large ones.
float ShakeOffset(float amplitude)
{
    const float u = 2.0f * (static_cast<float>(GxCrtRandom::Next()) / 32767.0f - 0.5f);
    return static_cast<float>(static_cast<int32_t>(amplitude * u * std::fabs(u)));
}

} // namespace

void GxTaskLayer::GetTransitFactors(int32_t mode, float p, float& fin, float& fout)
{
    const float swing = std::sin(kPi * p) / kPi;
    switch (mode)
    {
    case 1:
        fin = p + swing;
        fout = 1.0f - p + swing;
        break;
    case 2:
        fin = 0.75f * (p + swing) + 0.25f * p;
        fout = 0.75f * (1.0f - p + swing) + 0.25f * (1.0f - p);
        break;
    case 3:
        fin = p < 0.5f ? 0.0f : 2.0f * p - 1.0f;
        fout = p < 0.5f ? 1.0f - 2.0f * p : 0.0f;
        break;
    default:
        fin = p;
        fout = 1.0f - p;
        break;
    }
}

void GxTaskLayer::UpdateContent(GxLayerContent& c)
{
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 world = GetWorldPos();
    const GxVector3 scale(v.m_Scale.x, v.m_Scale.y, v.m_Scale.z);
    const GxVector3 angles(v.m_Rot.x * kDegToRad, v.m_Rot.y * kDegToRad, v.m_Rot.z * kDegToRad);
    const GxVector3 pivot(v.m_CenterPos.x, v.m_CenterPos.y, v.m_CenterPos.z);
    if (c.m_ContentType != GxLayerContent::kMotion)
    {
        c.m_MatWorld.ComposeSRT(scale, GxVector3(world.x, world.y, world.z), angles, pivot);
        return;
    }
    const GxNcMotion* motion = c.FindMotion();
    if (!motion)
        return;
    // Motions are authored around the screen's centre.
    c.m_MatWorld.ComposeSRT(scale, GxVector3(world.x + ScreenWidth() / 2, world.y + ScreenHeight() / 2, world.z),
                            angles, pivot);
    // A new motion's m_EndTime is 0: its length is taken as 1, as the snapshot's loop length is.
    const int32_t length = motion->m_EndTime > 1 ? motion->m_EndTime : 1;
    int32_t frame = c.m_FrameCount % length;
    if (frame < 0)
        frame += length;
    c.m_SnapShot.Update(c.m_pProject, motion, frame, GxVector4(), &c.m_MatWorld, GxVector4(1, 1, 1, 1), 4, nullptr);
}

int32_t GxTaskLayer::Update(int32_t, int64_t elapsed)
{
    GxLayerContent& current = m_Contents[m_IndexPos];
    if (current.m_ContentType == GxLayerContent::kMovie && !m_LocalTransit.m_Transit && current.m_MovieAutoDisappear &&
        !IsMoviePlaying())
        ClearContent(m_MovieAutoDisappearTime);
    if (m_LocalTransit.m_Transit)
        UpdateContent(GetOtherContent());
    UpdateContent(m_Contents[m_IndexPos]);

    const int32_t ms = static_cast<int32_t>(elapsed / 1000);
    StepActions(this, ms);
    if (m_Shake)
    {
        GetVisual().m_ShakeOffsetPos.x = ShakeOffset(m_ShakeAmplitude.x);
        GetVisual().m_ShakeOffsetPos.y = ShakeOffset(m_ShakeAmplitude.y);
        if (m_ShakeTimeTotal >= 0)
        {
            m_ShakeTimeLeft -= ms;
            if (m_ShakeTimeLeft <= 0)
                StopShake();
        }
    }
    ++m_Contents[0].m_FrameCount;
    ++m_Contents[1].m_FrameCount;
    if (m_LocalTransit.m_Transit)
    {
        m_LocalTransit.m_TransitTimeLeft -= ms;
        if (m_LocalTransit.m_TransitTimeLeft <= 0)
        {
            m_LocalTransit.m_TransitTimeLeft = 0;
            m_LocalTransit.m_Transit = false;
            GetOtherContent().Clear();
        }
    }
    AdvanceFrameCount();
    return 0;
}

int32_t GxTaskLayer::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(kRenderLayer))
            list->Add(this, GX_RENDER_ASCEND, GetOrderZ(), 0);
    }
    return 0;
}

int32_t GxTaskLayer::Draw(int32_t, int32_t)
{
    if (!IsVisible())
        return 0;
    if (!m_LocalTransit.m_Transit)
    {
        DrawContent(m_Contents[m_IndexPos], 1.0f);
    }
    else
    {
        float fin = 1.0f, fout = 0.0f;
        GetTransitFactors(m_LocalTransitMode, m_LocalTransit.GetProgress(), fin, fout);
        DrawContent(GetOtherContent(), fout);
        DrawContent(m_Contents[m_IndexPos], fin);
    }
    if (m_ShowLabel)
    {
        if (!m_pLabelFont)
        {
            m_pLabelFont = std::make_unique<GxGDIFontMap>();
            m_pLabelFont->SetFont(16, nullptr);
        }
        const GxVector4 world = GetWorldPos();
        const bool own = GxGraphics::GetSceneCount() == 0;
        if (own)
            GxGraphics::BeginScene();
        GxGraphics::DrawText(m_pLabelFont.get(), m_Contents[m_IndexPos].m_ContentFileName.c_str(), world.x + 32,
                             world.y + 64, GxVector2(1, 1), 0xFFFFFFFF, 0, 2);
        if (own)
            GxGraphics::EndScene();
    }
    return 0;
}

void GxTaskLayer::DrawContent(GxLayerContent& c, float factor)
{
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 colour(v.m_Color0.x, v.m_Color0.y, v.m_Color0.z,
                           v.m_Color0.w * factor * static_cast<float>(v.m_Alpha) / 255.0f);
    if (!(colour.w > 0.0f))
        return;
    const uint32_t diffuse = GxNcColor::ToARGB(colour);
    const uint32_t specular = GxNcColor::ToARGB(v.m_Color1);
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    const GxVector4 world = GetWorldPos();
    const GxVector2 scale(v.m_Scale.x, v.m_Scale.y);
    const GxVector3 rotation(v.m_Rot.x * kDegToRad, v.m_Rot.y * kDegToRad, v.m_Rot.z * kDegToRad);
    const float w = ScreenWidth(), h = ScreenHeight();

    // Scenes do not nest: a scene the caller opened stays open.
    const bool own = GxGraphics::GetSceneCount() == 0;
    if (own)
        GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    switch (c.m_ContentType)
    {
    case GxLayerContent::kMotion:
    {
        GxTexture& target = g_GlobalRenderTargets.m_RenderTexture[1];
        if (!c.m_pProject || !target.GetD3DResource() || !c.m_SnapShot.GetMotion())
            break;
        // The motion goes to a picture of its own first, so its overlapping layers fade as one.
        if (!GxGraphics::PushRenderTarget(0, &target, &g_GlobalRenderTargets.m_DepthStencil))
            break;
        GxGraphics::Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
        GxNcMotionSnapShotEx::Draw(c.m_SnapShot, GxMatrix(), 1.0f, GxVector4(1, 1, 1, 1), GxVector4(), 0, 0, nullptr);
        GxGraphics::FlushDraws();
        GxGraphics::PopRenderTarget(0);
        const GxVector2 corners[4] = {{0, 0}, {0, h}, {w, h}, {w, 0}};
        const GxFRect uv = {0.0f, 0.0f, target.GetTexCoordU(w), target.GetTexCoordV(h)};
        const uint32_t diffuses[4] = {diffuse, diffuse, diffuse, diffuse};
        const uint32_t speculars[4] = {specular, specular, specular, specular};
        GxGraphics::DrawQuad(&target, corners, uv, diffuses, speculars, blend);
        break;
    }
    case GxLayerContent::kImageSet:
        if (c.m_pImageSet)
            GxNcCrammedImageSet::DrawPattern(c.m_pOriginImage, c.m_PatternIndex, c.m_MatWorld, 1.0f, colour, v.m_Color1,
                                             blend);
        break;
    case GxLayerContent::kImage:
    {
        if (!c.m_pImage || c.m_pImage->GetWidth() == 0 || c.m_pImage->GetHeight() == 0)
            break;
        const GxVector2 pivot(v.m_CenterPos.x / c.m_pImage->GetWidth(), v.m_CenterPos.y / c.m_pImage->GetHeight());
        GxGraphics::DrawTextureFlex(c.m_pImage, world.x, world.y, scale, rotation, pivot, diffuse, specular, blend);
        for (GxSubLayerContent* sub : c.m_pSubLayerList)
        {
            if (!sub->m_pImage || sub->m_pImage->GetWidth() == 0 || sub->m_pImage->GetHeight() == 0)
                continue;
            const GxVector2 subPivot(v.m_CenterPos.x / sub->m_pImage->GetWidth(),
                                     v.m_CenterPos.y / sub->m_pImage->GetHeight());
            GxGraphics::DrawTextureFlex(sub->m_pImage, world.x + sub->m_OffsetPos.x, world.y + sub->m_OffsetPos.y,
                                        scale, rotation, subPivot, diffuse, specular, blend);
        }
        break;
    }
    case GxLayerContent::kSolidColor:
    {
        const GxVector4 fill(c.m_SolidColor.x * colour.x, c.m_SolidColor.y * colour.y, c.m_SolidColor.z * colour.z,
                             colour.w);
        GxDraw::FillRect(GxFRect{0.0f, 0.0f, w, h}, GxNcColor::ToARGB(fill), specular, blend);
        break;
    }
    case GxLayerContent::kMovie:
    case GxLayerContent::kBlankTexture:
    case GxLayerContent::kTexture:
    {
        if (!c.m_pTexture)
            break;
        const bool file = c.m_ContentType == GxLayerContent::kTexture;
        const float tw = file ? static_cast<float>(c.m_pTexture->GetImageWidth()) : static_cast<float>(c.m_Width);
        const float th = file ? static_cast<float>(c.m_pTexture->GetImageHeight()) : static_cast<float>(c.m_Height);
        if (tw <= 0.0f || th <= 0.0f)
            break;
        const GxVector2 offset = c.m_ContentType == GxLayerContent::kMovie ? GxVector2() : v.m_UVOffset;
        // A movie fills only the top-left frame-sized part of its texture: that part is stretched over the
        // size the movie was asked for.
        float sw = tw, sh = th;
        GxVector2 drawScale = scale;
        if (c.m_ContentType == GxLayerContent::kMovie)
        {
            const auto* movie = static_cast<const GxTextureMovie*>(c.m_pTexture);
            if (movie->GetFrameWidth() > 0 && movie->GetFrameHeight() > 0)
            {
                sw = static_cast<float>(movie->GetFrameWidth());
                sh = static_cast<float>(movie->GetFrameHeight());
                drawScale = GxVector2(scale.x * tw / sw, scale.y * th / sh);
            }
        }
        GxGraphics::DrawSprite(c.m_pTexture, world.x, world.y, GxFRect{0, 0, sw, sh}, drawScale, rotation,
                               GxVector2(v.m_CenterPos.x / tw, v.m_CenterPos.y / th), offset, diffuse, specular, blend);
        break;
    }
    default:
        break;
    }
    if (own)
        GxGraphics::EndScene();
}

bool GxTaskLayer::Save(GxContentWriterBase* w)
{
    if (!w || !GxTaskActor::Save(w))
        return false;
    for (GxLayerContent& c : m_Contents)
    {
        if (c.m_ContentType == GxLayerContent::kMovie)
        {
            c.m_MovieCurrentTime = GxMovie::GetPosition(static_cast<int>(c.m_MyChannel));
            c.m_LoopCount = GxMovie::GetLoopFlag(static_cast<int>(c.m_MyChannel));
        }
    }
    m_Contents[0].Save(w);
    m_Contents[1].Save(w);
    w->Write("m_LayerType", m_LayerType);
    w->Write("m_IndexPos", m_IndexPos);
    m_LocalTransit.Save(w);
    w->Write("m_Shake", m_Shake);
    const GxVector3 amplitude(m_ShakeAmplitude.x, m_ShakeAmplitude.y, m_ShakeAmplitude.z);
    w->Write("m_ShakeAmplitude", &amplitude);
    w->Write("m_ShakeTimeLeft", m_ShakeTimeLeft);
    w->Write("m_ShakeTimeTotal", m_ShakeTimeTotal);
    w->Write("m_MovieAutoDisappearTime", m_MovieAutoDisappearTime);
    w->Write("m_LocalTransitMode", m_LocalTransitMode);
    return true;
}

bool GxTaskLayer::Load(GxContentReaderBase* r)
{
    if (!r || !GxTaskActor::Load(r))
        return false;
    const uint32_t before = r->GetErrorCount();
    m_Contents[0].Load(r);
    m_Contents[1].Load(r);
    r->Read("m_LayerType", m_LayerType);
    int32_t index = 0;
    r->Read("m_IndexPos", index);
    m_LocalTransit.Load(r);
    r->Read("m_Shake", m_Shake);
    GxVector3 amplitude;
    r->Read("m_ShakeAmplitude", amplitude);
    m_ShakeAmplitude = GxVector4(amplitude.x, amplitude.y, amplitude.z, 0.0f);
    r->Read("m_ShakeTimeLeft", m_ShakeTimeLeft);
    r->Read("m_ShakeTimeTotal", m_ShakeTimeTotal);
    r->Read("m_MovieAutoDisappearTime", m_MovieAutoDisappearTime);
    r->Read("m_LocalTransitMode", m_LocalTransitMode);
    m_ShowLabel = false;
    // The index picks one of the two records: anything else in a save is damage.
    bool ok = r->GetErrorCount() == before;
    if (index != 0 && index != 1)
    {
        GxLog::Error(L"GxTaskLayer::Load/m_IndexPosが不正です:%d\n", index);
        index = 0;
        ok = false;
    }
    m_IndexPos = index;
    m_Contents[0].Restore(g_Core);
    m_Contents[1].Restore(g_Core);
    return ok;
}
