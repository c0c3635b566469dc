#include "task/ui/GxTaskUITextPanelFx.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxVector2.h"
#include "graphics/GxGraphics.h"

GxTaskUITextPanelFx::GxTaskUITextPanelFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                         int32_t localIndex)
    : GxTaskUIPanelFx(parent, globalName, localName, localIndex)
{
    SetTypeCode(11);
}

GxTaskUITextPanelFx::~GxTaskUITextPanelFx() = default;

void GxTaskUITextPanelFx::SetTextFontIndex(int32_t index)
{
    m_Layout.SetTextFontIndex(index, L"GxTaskUITextPanelFx");
}

void GxTaskUITextPanelFx::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIPanelFx::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
}

int32_t GxTaskUITextPanelFx::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    const GxVector4 pos = GetWorldPos();
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage();
    m_Layout.DrawPanelText(m_Text, GetSystemConfig().m_WidgetLineBreak, m_ClientLeft, m_ClientTop, m_ClientWidth, pos.x,
                           pos.y, GxVector2(v.m_Scale.x, v.m_Scale.y), v.m_Alpha, static_cast<uint32_t>(v.m_BlendMode));
    GxGraphics::EndScene();
    return 0;
}

bool GxTaskUITextPanelFx::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIPanelFx::Save(writer);
    m_Layout.Save(writer);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUITextPanelFx::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIPanelFx::Load(reader))
        return false;
    m_Layout.Load(reader, L"GxTaskUITextPanelFx");
    return reader->GetErrorCount() == 0;
}
