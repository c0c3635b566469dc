#include "task/ui/GxTaskUITextWindowFx.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxString.h"

GxTaskUITextWindowFx::GxTaskUITextWindowFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                           int32_t localIndex)
    : GxTaskUIMessagePanelFx(parent, globalName, localName, localIndex, GxUIMessageLayout::Mode::TextWindow, kTypeCode,
                             L"GxTaskUITextWindowFx")
{
}

GxTaskUITextWindowFx::~GxTaskUITextWindowFx() = default;

void GxTaskUITextWindowFx::SetText(const wchar_t* text)
{
    SetMessage(text ? text : L"", false, false);
}

void GxTaskUITextWindowFx::ClearMessage()
{
    m_Text.clear();
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
    m_Text = text.substr(0, text.find(L'\0'));
    m_Layout.m_TextColor = GetSystemConfig().m_MessageTextColor;
    ShowAll();
}

bool GxTaskUITextWindowFx::Load(GxContentReaderBase* reader)
{
    if (!GxTaskUIMessagePanelFx::Load(reader))
        return false;
    // The record brings the text back but not its page: without this the window would show what it
    // showed before the load (after a scene reset, nothing).
    SetMessage(std::wstring(m_Text), false, false);
    return true;
}

int32_t GxTaskUITextWindowFx::GetTextLength() const
{
    return static_cast<int32_t>(GxString::CountUtf16Units(m_Text));
}

bool GxTaskUITextWindowFx::ShowAll()
{
    if (GetRemainCharCount() > 0)
        m_Layout.ShowRun(m_Text, false);
    return false;
}

int32_t GxTaskUITextWindowFx::Draw(int32_t, int32_t)
{
    return DrawPage(m_Layout.m_TextColor);
}
