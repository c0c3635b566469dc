// The message and text builtins of GxMoaBuiltinEx: "msg", "msgn", "msg.show", "msg.hide", "msg.clear"
// and the "text" block.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/GxMoaScriptBlock.h"
#include "adventure/SeqAvgMain.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "script/GxMoaWorker.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

#include <vector>

namespace
{

SeqAvgMain* FindScreen(GxCore* core)
{
    GxTaskBase* task = core && core->m_TaskManage ? core->m_TaskManage->FindTaskByName(L"SeqAvgMain") : nullptr;
    return dynamic_cast<SeqAvgMain*>(task);
}

// The read key of a message: the worker's position text, and the opcode position + 1 as its number.
std::wstring PositionText(const GxMoaBuiltinCall& call)
{
    return call.m_Worker ? call.m_Worker->GetPositionText() : std::wstring();
}

int32_t MessageNumber(const GxMoaBuiltinCall& call)
{
    return call.m_Worker ? call.m_Worker->GetCurrentOpcodePos() + 1 : 1;
}

// The pages of a message for the backlog: the text cut at each "%p" (the window's page break), with the
// line breaks and click waits at a page's edges dropped. The backlog shows an entry in one text window,
// where "%p" would clear what came before it (the speaker's name and the earlier pages), so each page
// goes into the log as an entry of its own. A message without "%p" is one page, unchanged.
std::vector<std::wstring> LogPages(const std::wstring& message)
{
    std::vector<std::wstring> pages(1);
    for (size_t i = 0; i < message.size(); ++i)
    {
        if (message[i] == L'%' && i + 1 < message.size())
        {
            if (message[i + 1] == L'p')
                pages.emplace_back();
            else
                pages.back() += message.substr(i, 2);
            ++i;
            continue;
        }
        pages.back() += message[i];
    }
    if (pages.size() == 1)
        return pages;
    auto isEdgeTag = [](const std::wstring& text, size_t at)
    { return text.compare(at, 2, L"%r") == 0 || text.compare(at, 2, L"%c") == 0; };
    std::vector<std::wstring> kept;
    for (std::wstring& page : pages)
    {
        size_t begin = 0, end = page.size();
        while (end - begin >= 2 && isEdgeTag(page, begin))
            begin += 2;
        // A tag ends the page only when its "%" is not itself escaped ("%%r" is text).
        auto escaped = [&](size_t at)
        {
            size_t percents = 0;
            while (at > begin + percents && page[at - 1 - percents] == L'%')
                ++percents;
            return percents % 2 == 1;
        };
        while (end - begin >= 2 && isEdgeTag(page, end - 2) && !escaped(end - 2))
            end -= 2;
        if (end > begin)
            kept.push_back(page.substr(begin, end - begin));
    }
    if (kept.empty())
        kept.emplace_back();
    return kept;
}

void LogMessage(GxUserData* data, const std::wstring& speaker, const std::wstring& message, bool ignoreKinsoku,
                bool disableAutoNewline)
{
    if (!data)
        return;
    for (const std::wstring& page : LogPages(message))
        data->AddMessageLog(speaker, page, ignoreKinsoku, disableAutoNewline);
}

} // namespace

bool GxMoaBuiltinEx::CallMessage(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    GxUserData* data = m_Core ? m_Core->m_UserData : nullptr;
    GxUserDataPerman* perman = m_Core ? m_Core->m_UserDataPerman : nullptr;
    SeqAvgMain* screen = FindScreen(m_Core);

    if (name == L"msg.show" || name == L"msg.hide")
    {
        if (data)
            data->m_HideWindowByCommandFlag = name == L"msg.hide";
        return true;
    }
    if (name == L"msg.clear")
    {
        if (screen)
            screen->ClearMessage();
        return true;
    }
    if (!screen)
        return call.Fail(L"アドベンチャー画面がありません");

    if (name == L"msg" || name == L"msgn")
    {
        const bool named = name == L"msgn";
        const bool read = perman && perman->IsReadedMessage(PositionText(call), MessageNumber(call));
        const std::wstring speaker = named ? call.ArgString(0) : std::wstring();
        const std::wstring message = call.ArgString(named ? 1 : 0);
        if (named)
            screen->SetSpeakerName(speaker, 3);
        else
            screen->HideSpeakerName();
        const bool ignoreKinsoku = data && data->m_IgnoreKinsoku;
        screen->ShowMessage(message, read, ignoreKinsoku, false);
        if (perman)
            perman->SetReadedMessage(MessageNumber(call), PositionText(call));
        LogMessage(data, speaker, message, ignoreKinsoku, false);
        return true;
    }

    // "text": the lines up to "endtext", with an optional voice started first so its log entry holds it.
    const std::wstring speaker = call.ArgString(0);
    if (call.Has(1))
    {
        std::wstring voice = call.ArgString(1);
        const int32_t charID = GxSystemConfig::ResolveVoicePath(voice);
        if (charID != 0)
            GxSoundControl::PlayVoice(0, voice, charID);
        else if (GxTaskUIBase::GetSystemConfig().m_ErrorStopNotFound_VO)
            return call.Fail(L"ボイスファイルが見つかりません[%s]", voice.c_str());
    }
    const int32_t number = MessageNumber(call);
    std::vector<std::wstring> lines;
    std::wstring refused;
    if (!GxMoaScriptBlock::Read(call, L"endtext", lines, refused))
        return call.Fail(L"ENDTEXTに到達する前に処理できないトークンがあります[%s]", refused.c_str());
    std::wstring message;
    for (size_t i = 0; i < lines.size(); ++i)
        message += (i ? L"%r" : L"") + lines[i];
    const std::wstring key = PositionText(call);
    const bool read = perman && perman->IsReadedMessage(key, number);
    screen->SetSpeakerName(speaker, 3);
    screen->ShowMessage(message, read, true, true);
    if (perman)
        perman->SetReadedMessage(number, key);
    LogMessage(data, speaker, message, true, true);
    return true;
}
