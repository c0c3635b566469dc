#include "task/ui/GxTaskUITextPanelIs.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxVector2.h"
#include "graphics/GxGraphics.h"

GxTaskUITextPanelIs::GxTaskUITextPanelIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                         int32_t localIndex)
    : GxTaskUIPanelIs(parent, globalName, localName, localIndex)
{
    SetTypeCode(17);
}

GxTaskUITextPanelIs::~GxTaskUITextPanelIs() = default;

void GxTaskUITextPanelIs::SetTextFontIndex(int32_t index)
{
    m_Layout.SetTextFontIndex(index, L"GxTaskUITextPanelIs");
}

void GxTaskUITextPanelIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIPanelIs::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
}

int32_t GxTaskUITextPanelIs::Draw(int32_t, int32_t)
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

bool GxTaskUITextPanelIs::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIPanelIs::Save(writer);
    m_Layout.Save(writer);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUITextPanelIs::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIPanelIs::Load(reader))
        return false;
    m_Layout.Load(reader, L"GxTaskUITextPanelIs");
    return reader->GetErrorCount() == 0;
}
