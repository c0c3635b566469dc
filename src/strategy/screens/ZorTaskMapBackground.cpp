#include "strategy/screens/ZorTaskMapBackground.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxFRect.h"
#include "core/GxMatrix.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTexture.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

GxTexture* LoadPicture(const wchar_t* name)
{
    auto* texture = new GxTexture();
    const std::wstring path = GxTaskUIBase::GetSystemConfig().m_StrategyUIDir + name;
    if (texture->CreateFromFile(path, D3DFMT_UNKNOWN, 1, 0, false))
        return texture;
    delete texture; // the texture's loader has logged the file
    return nullptr;
}

void DrawWhole(GxTexture* texture, float x, float y)
{
    GxFRect source;
    source.right = static_cast<float>(texture->GetImageWidth());
    source.bottom = static_cast<float>(texture->GetImageHeight());
    GxGraphics::DrawSprite(texture, x, y, source, GxVector2(1.0f, 1.0f), GxVector3(), GxVector2(), GxVector2(),
                           0xFFFFFFFF, 0, 2);
}

} // namespace

ZorTaskMapBackground::ZorTaskMapBackground(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera)
    : GxTaskFolder(parent, globalName), m_Camera(camera)
{
}

ZorTaskMapBackground::~ZorTaskMapBackground()
{
    Release();
}

void ZorTaskMapBackground::OnSequenceEnter()
{
    GxTaskFolder::OnSequenceEnter();
    Release();
    if (!GxGraphics::GetDevice())
        return;
    m_Grid = LoadPicture(L"bg_zorgrid.png");
    m_Picture = LoadPicture(L"bg_zor.png");
}

void ZorTaskMapBackground::OnSequenceLeave()
{
    Release();
    GxTaskFolder::OnSequenceLeave();
}

void ZorTaskMapBackground::Release()
{
    for (GxTexture** t : {&m_Grid, &m_Picture})
    {
        if (*t)
        {
            (*t)->Release();
            delete *t;
            *t = nullptr;
        }
    }
}

GxVector3 ZorTaskMapBackground::GetGridScroll() const
{
    const ZorCameraState& cur = m_Camera->GetCurrent();
    GxMatrix m;
    const float yaw = cur.m_Yaw * ZorTaskCamera::kDegToRad;
    if (yaw != 0.0f)
        m.RotationZ(yaw);
    m.RotateX((cur.m_Pitch + 90.0f) * ZorTaskCamera::kDegToRad);
    GxVector3 v(cur.m_Target.x, cur.m_Target.z, 0.0f);
    return v.TransformCoord(m);
}

int32_t ZorTaskMapBackground::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, -100.0f, 0);
    }
    return 0;
}

int32_t ZorTaskMapBackground::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_Camera)
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    if (m_Picture)
        DrawWhole(m_Picture, 0.0f, 0.0f);
    if (m_Grid)
    {
        const GxVector3 v = GetGridScroll();
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 16; ++i)
                DrawWhole(m_Grid, static_cast<float>(i * 256) - v.x - 1536.0f,
                          static_cast<float>(j * 128) - v.z - 640.0f);
    }
    GxGraphics::EndScene();
    return 0;
}
