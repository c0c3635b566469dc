#include "task/ui/GxTaskUIMessagePanelFx.h"

#include "appdata/DBUIModule.h"
#include "graphics/GxGraphics.h"
#include "task/ui/GxUIMessageDraw.h"

GxTaskUIMessagePanelFx::GxTaskUIMessagePanelFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                               int32_t localIndex, GxUIMessageLayout::Mode mode, int32_t typeCode,
                                               const wchar_t* className)
    : GxTaskUIPanelFx(parent, globalName, localName, localIndex), m_Layout(mode), m_ClassName(className)
{
    SetTypeCode(typeCode);
}

GxTaskUIMessagePanelFx::~GxTaskUIMessagePanelFx() = default;

void GxTaskUIMessagePanelFx::SetTextFontIndex(int32_t index)
{
    m_Layout.SetTextFontIndex(index, m_ClassName);
}

void GxTaskUIMessagePanelFx::SetRubyFontIndex(int32_t index)
{
    m_Layout.SetRubyFontIndex(index, m_ClassName);
}

void GxTaskUIMessagePanelFx::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIPanelFx::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
    SetTextRegion(row.m_ClientLeft, row.m_ClientTop, row.m_ClientWidth, row.m_ClientHeight);
}

void GxTaskUIMessagePanelFx::SetTextRegion(int32_t left, int32_t top, int32_t width, int32_t height)
{
    m_Layout.m_TextRegionLeft = left;
    m_Layout.m_TextRegionTop = top;
    m_Layout.m_TextRegionWidth = width;
    m_Layout.m_TextRegionHeight = height;
}

int32_t GxTaskUIMessagePanelFx::DrawPage(uint32_t textColor)
{
    if (!IsShown())
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage();
    if (m_Layout.m_VisibleText)
        GxUIMessageDraw::Draw(m_Layout, *this, textColor);
    GxGraphics::EndScene();
    return 0;
}
