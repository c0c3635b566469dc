#include "task/ui/GxTaskUIMessageWindowFx.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxString.h"
#include "task/GxTaskManage.h"

GxTaskUIMessageWindowFx::GxTaskUIMessageWindowFx(GxTaskBase* parent, const wchar_t* globalName,
                                                 const wchar_t* localName, int32_t localIndex)
    : GxTaskUIMessagePanelFx(parent, globalName, localName, localIndex, GxUIMessageLayout::Mode::Message, kTypeCode,
                             L"GxTaskUIMessageWindowFx")
{
}

GxTaskUIMessageWindowFx::~GxTaskUIMessageWindowFx() = default;

void GxTaskUIMessageWindowFx::SetText(const wchar_t* text)
{
    SetMessage(text ? text : L"", true, false, false, false);
}

void GxTaskUIMessageWindowFx::ClearMessage()
{
    m_Text.clear();
    m_Layout.ResetMessage();
}

void GxTaskUIMessageWindowFx::SetMessage(const std::wstring& text, bool autoClickWait, bool readed, bool ignoreKinsoku,
                                         bool disableAutoNewline)
{
    ClearMessage();
    // The layout takes a NUL for the end of the text: the message is cut there, so that what remains to
    // show is counted to the same end.
    m_Text = text.substr(0, text.find(L'\0'));
    m_Layout.m_EnableAutoClickWait = autoClickWait;
    m_Layout.m_ReadedFlag = readed;
    m_Layout.m_IgnoreKinsoku = ignoreKinsoku;
    m_Layout.m_DisenableAutoNewline = disableAutoNewline;
    m_Layout.m_TextColor = GetSystemConfig().m_MessageTextColor;
    if (readed && GetUserConfig().m_FastShowReadedText)
        ShowAtOnce(true, true);
}

int32_t GxTaskUIMessageWindowFx::GetTextLength() const
{
    return static_cast<int32_t>(GxString::CountUtf16Units(m_Text));
}

int32_t GxTaskUIMessageWindowFx::Update(int32_t step, int64_t elapsed)
{
    GxTaskUIPanelFx::Update(step, elapsed);
    m_Layout.m_WaitTimeLeft -= static_cast<int32_t>(elapsed / 1000);
    while (m_Layout.m_WaitTimeLeft < 1 && GetRemainCharCount() > 0 && !m_Layout.m_ClickWaiting)
    {
        if (ShowNextChar())
        {
            // A stop: the frame's remaining catch-up steps would only wait here.
            if (GxTaskManage* manage = GetManager())
                manage->SetFrameStop(true);
            break;
        }
    }
    if (m_Layout.m_WaitTimeLeft < 0)
        m_Layout.m_WaitTimeLeft = 0;
    return 0;
}

bool GxTaskUIMessageWindowFx::ProceedClick()
{
    m_Layout.m_WaitTimeLeft = 0;
    if (m_Layout.m_ClickWaiting)
    {
        m_Layout.m_ClickWaiting = false;
        return GetRemainCharCount() == 0;
    }
    if (GetRemainCharCount() > 0)
        ShowAtOnce(false, false);
    return false;
}

bool GxTaskUIMessageWindowFx::ShowAtOnce(bool throughClickWaits, bool onlyIfReaded)
{
    m_Layout.m_WaitTimeLeft = 0;
    if (onlyIfReaded && !m_Layout.m_ReadedFlag)
        return false;
    if (!throughClickWaits && m_Layout.m_ClickWaiting)
        return true;
    if (GetRemainCharCount() == 0)
        return false;
    return m_Layout.ShowRun(m_Text, !throughClickWaits);
}

int32_t GxTaskUIMessageWindowFx::Draw(int32_t, int32_t)
{
    const bool readColor = m_Layout.m_ReadedFlag && GetUserConfig().m_ChangeColorReadedText;
    return DrawPage(readColor ? GetSystemConfig().m_ReadTextColor : GetSystemConfig().m_MessageTextColor);
}

bool GxTaskUIMessageWindowFx::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIBase::Save(writer);
    writer->WriteString("m_Text", m_Text);
    m_Layout.Save(writer, m_Text);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIMessageWindowFx::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    ClearMessage();
    if (!GxTaskUIBase::Load(reader))
        return false;
    reader->ReadString("m_Text", m_Text);
    const bool loaded = m_Layout.Load(reader, m_Text, GetClassName());
    return loaded && reader->GetErrorCount() == 0;
}
