// The message and name windows of the adventure main screen, the rules that hide widgets, and the reset
// of the windows to their layout.
#include "adventure/SeqAvgMain.h"

#include "adventure/AvgSharedState.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "task/GxTaskLayer.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

namespace
{

GxUserData* UserData()
{
    return g_Core ? g_Core->m_UserData : nullptr;
}

const std::wstring& ErrorPicture()
{
    return GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_ERROR_IMAGE);
}

} // namespace

void SeqAvgMain::ShowMessage(const std::wstring& text, bool read, bool ignoreKinsoku, bool disableAutoNewline)
{
    if (GxUserData* data = UserData())
        data->m_HideWindowByCommandFlag = false;
    GxTaskUIMessageWindowFx* window = GetMessageWindow();
    if (!window)
        return;
    window->SetMessage(text, true, read, ignoreKinsoku, disableAutoNewline);
    // The window has already shown a read message whole; this second call only clears the typing wait
    // that showing it added up, so the script goes on at once instead of waiting out the typing time.
    if (read && GxTaskUIBase::GetUserConfig().m_FastShowReadedText)
        window->ShowAtOnce(false, false);
}

void SeqAvgMain::ClearMessage()
{
    if (GxTaskUIMessageWindowFx* window = GetMessageWindow())
        window->ClearMessage();
    HideSpeakerName();
}

void SeqAvgMain::HideSpeakerName()
{
    if (GxTaskUIBase* name = GetNameWindow())
    {
        name->SetText(L"");
        name->Hide();
    }
    if (GxTaskLayer* image = FindLayer(L"$NAMEIMAGE:SeqAvgMain"))
    {
        image->ResetLayer();
        image->Hide();
    }
}

void SeqAvgMain::SetSpeakerName(const std::wstring& name, int32_t mode)
{
    if (name.empty() || mode == 0)
    {
        HideSpeakerName();
        return;
    }
    if (mode == 1)
    {
        ShowSpeakerName(name, 1);
        return;
    }
    if (mode == 2 || mode == 3)
    {
        const std::wstring path = ResolveNameImagePath(name);
        if (!path.empty())
            ShowSpeakerName(path, 2);
        else if (mode == 3)
            ShowSpeakerName(name, 1);
        else
            HideSpeakerName();
    }
}

// Mode 2 receives the resolved picture path (empty when none was found) and loads it as given; mode 1 and
// 3 the name, shown as text (mode 3 through SetSpeakerName, which looks for the picture first).
void SeqAvgMain::ShowSpeakerName(const std::wstring& nameOrImagePath, int32_t nameIdentifyMode)
{
    if (nameIdentifyMode == 3)
    {
        SetSpeakerName(nameOrImagePath, 3);
        return;
    }
    if (nameOrImagePath.empty() || (nameIdentifyMode != 1 && nameIdentifyMode != 2))
    {
        HideSpeakerName();
        return;
    }
    GxTaskUIBase* window = GetNameWindow();
    GxTaskLayer* image = FindLayer(L"$NAMEIMAGE:SeqAvgMain");
    if (nameIdentifyMode == 1)
    {
        if (window)
        {
            window->SetText(nameOrImagePath.c_str());
            window->Show();
        }
        if (image)
        {
            image->ResetLayer();
            image->Hide();
        }
        return;
    }
    if (window)
    {
        window->SetText(L"");
        window->Show();
    }
    if (image)
    {
        image->SetImage(nameOrImagePath, 0, ErrorPicture());
        image->Show();
    }
}

bool SeqAvgMain::IsWidgetShown(GxTaskUIBase* widget)
{
    if (!widget)
        return false;
    // Every widget asks the current sequence, the system sequence's dialogs and tip included; the
    // hiding rules below are this screen's and must not take the dialogs' buttons away (a click on them
    // would then fall through to the message window beneath).
    const GxTaskBase* owner = widget->GetParent();
    while (owner && owner != this)
        owner = owner->GetParent();
    if (!owner)
        return widget->IsVisibleInTree();
    if (g_MessageWindowHidden)
        return false;
    GxUserData* data = UserData();
    if (data && data->m_HideWindowByCommandFlag)
    {
        auto isWindow = [](const std::wstring& n) { return n == L"$MESWIN:SeqAvgMain" || n == L"$NAMEWIN:SeqAvgMain"; };
        if (isWindow(widget->GetTaskName()) || (widget->GetParent() && isWindow(widget->GetParent()->GetTaskName())))
            return false;
    }
    if (m_BGTransit.m_Transit)
        return false;
    return widget->IsVisibleInTree();
}

void SeqAvgMain::ResetWindow(GxTaskUIBase* window, const wchar_t* module, const wchar_t* layoutName)
{
    if (!window)
        return;
    window->ClearActions();
    if (const DBUIModuleData* row = FindUIModuleData(module))
        window->ApplyModule(*row);
    if (const DBUILayoutData* row = FindUILayoutData(layoutName))
        window->ApplyLayout(*row);
    window->LoadImages();
    window->SetImageAlpha(GxTaskUIBase::GetUserConfig().m_TextWindowOpacity);
}

void SeqAvgMain::ResetWindows()
{
    ResetLayers();
    GxTaskUIMessageWindowFx* message = GetMessageWindow();
    if (message)
        message->ClearMessage();
    ResetWindow(message, L"tip_msgwindow", L"$MESWIN:SeqAvgMain");
    GxTaskUIBase* name = GetNameWindow();
    ResetWindow(name, L"tip_namewindow", L"$NAMEWIN:SeqAvgMain");
    if (GxTaskLayer* image = FindLayer(L"$NAMEIMAGE:SeqAvgMain"))
    {
        image->ClearActions();
        image->SetOrderZ((name ? name->GetOrderZ() : 0.0f) + 1.0f);
    }
    HideSpeakerName();
    for (int32_t i = 1; i <= GxTaskUIBase::GetSystemConfig().m_ChoiceLimit; ++i)
    {
        if (GxTaskUIBase* button = FindSelectButton(i))
        {
            button->ClearActions();
            button->SetOrderZ(16000.0f);
            button->Hide();
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// What the main worker's message statement and the user data ask of the scene

void SeqAvgMain::ShowMessageText(const std::wstring& text, bool readBefore, bool ignoreKinsoku, int32_t flags)
{
    ShowMessage(text, readBefore, ignoreKinsoku, flags != 0);
}

bool SeqAvgMain::IsReadedMessage(const std::wstring& scriptName, int32_t line)
{
    GxUserDataPerman* perman = g_Core ? g_Core->m_UserDataPerman : nullptr;
    return perman && perman->IsReadedMessage(scriptName, line);
}

void SeqAvgMain::SetReadedMessage(const std::wstring& scriptName, int32_t line)
{
    if (GxUserDataPerman* perman = g_Core ? g_Core->m_UserDataPerman : nullptr)
        perman->SetReadedMessage(line, scriptName);
}

void SeqAvgMain::AddMessageLog(const std::wstring& name, const std::wstring& message, bool ignoreKinsoku)
{
    if (GxUserData* data = UserData())
        data->AddMessageLog(name, message, ignoreKinsoku, false);
}

int32_t SeqAvgMain::GetNameIdentifyMode() const
{
    const GxUserData* data = UserData();
    return data ? data->m_NameIdentifyMode : 0;
}

bool SeqAvgMain::GetIgnoreKinsoku() const
{
    const GxUserData* data = UserData();
    return data && data->m_IgnoreKinsoku;
}

std::wstring SeqAvgMain::ResolveNameImagePath(const std::wstring& name) const
{
    std::wstring path = GxTaskUIBase::GetSystemConfig().GetString(SYSSTR_NAME_DIR) + name;
    return GxSystemConfig::ResolveImagePath(path) ? path : std::wstring();
}

void SeqAvgMain::SetGlobalFadeOpaque()
{
    if (GxTaskLayer* fade = FindLayer(L"$GLOBALFADE:SeqAvgMain"))
    {
        fade->ClearActions();
        fade->SetAlpha(255);
    }
}
