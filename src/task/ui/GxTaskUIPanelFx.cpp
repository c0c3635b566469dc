#include "task/ui/GxTaskUIPanelFx.h"

#include "appdata/DBUIModule.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxDraw.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureBase.h"
#include "graphics/GxTextureFactory.h"

namespace
{
constexpr float kDegreeToRadian = 0.01745329238474369f;
}

GxTaskUIPanelFx::GxTaskUIPanelFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                 int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIPanelFx::~GxTaskUIPanelFx()
{
    ReleaseImages();
}

int32_t GxTaskUIPanelFx::Update(int32_t, int64_t elapsed)
{
    return UpdatePanel(elapsed);
}

int32_t GxTaskUIPanelFx::OnMouseMove(const float* point, uint32_t)
{
    return PanelMouseMove(point[0], point[1]);
}

int32_t GxTaskUIPanelFx::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    return PanelMouseLeftDown(point[0], point[1]);
}

void GxTaskUIPanelFx::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    m_ImageName = row.m_ImageName.empty() ? std::wstring() : row.m_ImageSetName + row.m_ImageName + L".png";
}

bool GxTaskUIPanelFx::LoadImageSet(const wchar_t* path)
{
    m_ImageName = path ? path : L"";
    return true;
}

bool GxTaskUIPanelFx::LoadImages()
{
    ReleaseImages();
    bool loaded = false;
    if (!m_ImageName.empty())
        m_Texture = GxTextureFactory::GetInstance().Get(m_ImageName, GxTextureFactory::kFile, 0, 0, 1, 0, 0, 0);
    if (m_Texture)
    {
        m_Width = static_cast<int32_t>(m_Texture->GetImageWidth());
        m_Height = static_cast<int32_t>(m_Texture->GetImageHeight());
        loaded = true;
    }
    else
    {
        m_Width = 0;
        m_Height = 0;
    }
    if (m_ClientWidth == 0)
        m_ClientWidth = m_Width - 2 * m_ClientLeft;
    if (m_ClientHeight == 0)
        m_ClientHeight = m_Height - 2 * m_ClientTop;
    return loaded;
}

int32_t GxTaskUIPanelFx::ReleaseImages()
{
    if (m_Texture)
    {
        GxTextureFactory::GetInstance().Release(m_Texture);
        m_Texture = nullptr;
    }
    return 0;
}

void GxTaskUIPanelFx::DrawImage()
{
    if (!m_Texture)
        return;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 pos = GetWorldPos();
    const float w = static_cast<float>(m_Texture->GetImageWidth());
    const float h = static_cast<float>(m_Texture->GetImageHeight());
    GxImageRect image;
    image.m_pTexture = m_Texture;
    image.m_Width = static_cast<int32_t>(w);
    image.m_Height = static_cast<int32_t>(h);
    // The actor's centre is in pixels; the sprite drawer takes it as a fraction of the picture.
    const GxVector2 centre(w > 0.0f ? v.m_CenterPos.x / w : 0.0f, h > 0.0f ? v.m_CenterPos.y / h : 0.0f);
    const GxVector3 rot(v.m_Rot.x * kDegreeToRadian, v.m_Rot.y * kDegreeToRadian, v.m_Rot.z * kDegreeToRadian);
    GxDraw::DrawImageRect(image, pos.x, pos.y, GxVector2(v.m_Scale.x, v.m_Scale.y), rot, centre,
                          GetDrawDiffuse(m_ImageAlpha), GetDrawSpecular(), static_cast<uint32_t>(v.m_BlendMode));
}

int32_t GxTaskUIPanelFx::Draw(int32_t, int32_t)
{
    if (!m_Texture || !IsShown())
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage();
    GxGraphics::EndScene();
    return 0;
}
