#include "task/GxTaskCastString2D.h"

#include "core/GxColor.h"
#include "core/GxVector3.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGraphics.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

GxTaskCastString2D::GxTaskCastString2D(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName)
{
    SetTypeCode(kTypeCode);
}

void GxTaskCastString2D::Setup(GxTaskCastString2D* task, const std::wstring& text, float x, float y,
                               const GxVector4& velocity, const GxVector4& colour, float depth)
{
    if (!task)
        return;
    task->m_DepthKey = depth;
    task->m_Delay = 0;
    task->m_Life = kLife;
    task->m_Position = GxVector4(x, y, 0.0f, 0.0f);
    task->m_Scale = GxVector2(1.0f, 1.0f);
    task->m_Velocity = velocity;
    task->m_Acceleration = GxVector4();
    task->m_Color = colour;
    task->m_Font = 3;
    task->m_Text = text;
    task->SetFrameCount(0);
}

int32_t GxTaskCastString2D::Update(int32_t, int64_t)
{
    if (m_Delay > 0)
    {
        --m_Delay;
        return 0;
    }
    m_Position =
        GxVector4(m_Position.x + m_Velocity.x, m_Position.y + m_Velocity.y, m_Position.z + m_Velocity.z, m_Position.w);
    m_Velocity = GxVector4(m_Velocity.x + m_Acceleration.x, m_Velocity.y + m_Acceleration.y,
                           m_Velocity.z + m_Acceleration.z, m_Velocity.w);
    if (m_Life != 0)
        --m_Life;
    AdvanceFrameCount();
    if (m_Life < 1)
        Kill();
    return 0;
}

int32_t GxTaskCastString2D::RegisterDraw(int32_t, int64_t)
{
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(kRenderLayer))
            list->Add(this, GX_RENDER_ASCEND, m_DepthKey, 0);
    }
    return 0;
}

GxVector4 GxTaskCastString2D::GetDrawColor() const
{
    GxVector4 c = m_Color;
    if (m_Life < 10)
        c.w = static_cast<float>(m_Life) / 10.0f;
    return c;
}

int32_t GxTaskCastString2D::Draw(int32_t, int32_t)
{
    if (m_Delay != 0 || m_Font < 0 || m_Font >= 8)
        return 0;
    // A scene the caller opened stays open: scenes do not nest.
    const bool own = GxGraphics::GetSceneCount() == 0;
    if (own)
        GxGraphics::BeginScene();
    GxGraphics::DrawFontText(m_Text.c_str(), &g_FontDataTable[m_Font], m_Position.x, m_Position.y, m_Scale,
                             GxVector3(0.0f, 0.0f, 0.0f), GxVector2(0.5f, 0.5f), GxColor::ToARGB(GetDrawColor()), 0, 2);
    if (own)
        GxGraphics::EndScene();
    return 0;
}
