#include "task/ui/GxTaskUITextWindowFx.h"

#include "appdata/DBUIModule.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxString.h"
#include "graphics/GxGraphics.h"
#include "task/ui/GxUIMessageDraw.h"

GxTaskUITextWindowFx::GxTaskUITextWindowFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                           int32_t localIndex)
    : GxTaskUIPanelFx(parent, globalName, localName, localIndex)
{
    SetTypeCode(10);
}

GxTaskUITextWindowFx::~GxTaskUITextWindowFx() = default;

void GxTaskUITextWindowFx::SetTextFontIndex(int32_t index)
{
    m_Layout.SetTextFontIndex(index, L"GxTaskUITextWindowFx");
}

void GxTaskUITextWindowFx::SetRubyFontIndex(int32_t index)
{
    m_Layout.SetRubyFontIndex(index, L"GxTaskUITextWindowFx");
}

void GxTaskUITextWindowFx::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIPanelFx::ApplyModule(row);
    SetTextFontIndex(row.m_FontIndex);
    SetTextRegion(row.m_ClientLeft, row.m_ClientTop, row.m_ClientWidth, row.m_ClientHeight);
}

void GxTaskUITextWindowFx::SetTextRegion(int32_t left, int32_t top, int32_t width, int32_t height)
{
    m_Layout.m_TextRegionLeft = left;
    m_Layout.m_TextRegionTop = top;
    m_Layout.m_TextRegionWidth = width;
    m_Layout.m_TextRegionHeight = height;
}

void GxTaskUITextWindowFx::SetText(const wchar_t* text)
{
    SetMessage(text ? text : L"", false, false);
}

void GxTaskUITextWindowFx::ClearMessage()
{
    m_WindowText.clear();
    m_Layout.ClearPage();
    m_Layout.m_ProcessPos = 0;
    m_Layout.m_RubyMode = false;
}

void GxTaskUITextWindowFx::SetMessage(const std::wstring& text, bool ignoreKinsoku, bool disableAutoNewline)
{
    ClearMessage();
    m_Layout.m_IgnoreKinsoku = ignoreKinsoku;
    m_Layout.m_DisenableAutoNewline = disableAutoNewline;
    // Cut at a NUL, where the layout ends the text (see the message window).
    m_WindowText = text.substr(0, text.find(L'\0'));
    m_Layout.m_TextColor = GetSystemConfig().m_MessageTextColor;
    ShowAll();
}

int32_t GxTaskUITextWindowFx::GetTextLength() const
{
    return static_cast<int32_t>(GxString::CountUtf16Units(m_WindowText));
}

bool GxTaskUITextWindowFx::ShowAll()
{
    if (GetRemainCharCount() > 0)
        m_Layout.ShowRun(m_WindowText, false);
    return false;
}

int32_t GxTaskUITextWindowFx::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage();
    if (m_Layout.m_VisibleText)
        GxUIMessageDraw::Draw(m_Layout, *this, m_Layout.m_TextColor);
    GxGraphics::EndScene();
    return 0;
}
