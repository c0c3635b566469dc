// The main worker's own statements: a text line shown as a message by the adventure scene, and a layer
// command, a word such as chara.alpha(128) run as the builtin "sp.alpha" with the layer name first.

#include "script/GxMoaWorkerEx.h"

#include "script/GxMoa.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaMachine.h"
#include "script/GxMoaOpcode.h"
#include "script/GxMoaParser.h"
#include "script/GxMoaScript.h"

namespace
{
std::wstring AsciiLower(std::wstring text)
{
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}
} // namespace

GxMoaWorker::StatementEnd GxMoaWorkerEx::ExecText(GxMoaExecStackElement& frame, GxMoaScript& script,
                                                  const GxMoaToken& token, GxMoaBuiltinBase*)
{
    GxMoaAdventureScreen* screen = GxMoaAdventureScreen::Find();
    if (!screen)
    {
        StopWithError(frame, L"%s", L"メッセージを表示するアドベンチャー画面がありません");
        return STATEMENT_FAIL;
    }
    // A message is known by its script and its 1-based line.
    const std::wstring scriptName = GetCurrentScriptName(&frame);
    const int32_t line = GetCurrentLineIndex(&frame) + 1;
    const bool readBefore = screen->IsReadedMessage(scriptName, line);

    const std::wstring& text = token.GetStr();
    const int32_t mode = screen->GetNameIdentifyMode();
    const size_t separator = text.find_first_of(screen->GetNameSeparators());
    std::wstring name;
    std::wstring message = text;
    if (separator != std::wstring::npos && mode >= 1 && mode <= 3)
    {
        // name「speech」: the name ends before the bracket, which stays with the message.
        name = text.substr(0, separator);
        message = text.substr(separator);
        screen->ShowSpeakerName(mode == 2 ? screen->ResolveNameImagePath(name) : name, mode);
    }
    else
        screen->HideSpeakerName();
    const bool ignoreKinsoku = screen->GetIgnoreKinsoku();
    screen->ShowMessageText(message, readBefore, ignoreKinsoku, 0);
    screen->SetReadedMessage(scriptName, line);
    screen->AddMessageLog(name, message, ignoreKinsoku);
    frame.m_Pos.Advance(script);
    return STATEMENT_END;
}

GxMoaWorker::StatementEnd GxMoaWorkerEx::ExecUnknownWord(GxMoaExecStackElement& frame, GxMoaScript& script,
                                                         const GxMoaToken& token, GxMoaBuiltinBase* builtin)
{
    const std::wstring& word = token.GetStr();
    const std::wstring layer = word.substr(0, word.find(L'.'));
    const size_t lastDot = word.rfind(L'.');
    const std::wstring suffix = lastDot == std::wstring::npos ? std::wstring() : word.substr(lastDot);
    const std::wstring name = AsciiLower(suffix.empty() ? std::wstring(L"sp.lcg") : L"sp" + suffix);
    const GxMoaBuiltinDefinition* def = m_pMoa->FindBuiltinDefinition(name);
    if (!def)
    {
        StopWithError(frame, L"レイヤー操作に使用できない命令です[%s]", name);
        return STATEMENT_FAIL;
    }
    const int32_t builtinIndex = def->m_BuiltinIndex;

    frame.m_OpcodeList.clear();
    GxMoaOpcodeList& list = frame.m_OpcodeList.Edit();
    frame.m_OpcodePos = 0;
    m_ValueStack.clear();
    GxMoaRunPos cursor = frame.m_Pos;
    // A missing bracket is reported by the parser and fails the statement without the error stop.
    if (!GxMoaParser::Phase_Skip(script, cursor, TK_UNKNOWN_WORD) ||
        !GxMoaParser::Phase_Skip(script, cursor, TK_PAREN_OPEN))
        return STATEMENT_FAIL;
    GxMoaParser::Phase_PushOpcode(list, OPC_PUSH_STR);
    GxMoaParser::Phase_PushStr(list, layer);
    if (!GxMoaParser::Phase_Element(script, cursor, list))
    {
        m_pMoa->m_ErrorStop = 1;
        return STATEMENT_FAIL;
    }
    // The layer name becomes argument 0.
    list.back().SetInt(list.back().ToInt64() + 1);
    GxMoaParser::Phase_PushOpcode(list, OPC_CALL_BUILTIN);
    GxMoaParser::Phase_PushInt(list, builtinIndex);
    GxMoaParser::Phase_PushStr(list, name);
    if (!GxMoaParser::Phase_Skip(script, cursor, TK_PAREN_CLOSE))
        return STATEMENT_FAIL;

    GxMoaExecStackElement* const self = &frame;
    const uint64_t serial = frame.m_Serial;
    if (GxMoaMachine::Exec_Opcode(builtin, &script, m_pMoa, this, true) != 1)
    {
        m_pMoa->m_ErrorStop = 1;
        return STATEMENT_FAIL;
    }
    // The builtin may have replaced the frame; only a frame still there moves on.
    if (GxMoaExecStackElement* still = GxMoaMachine::FindFrame(this, self, serial))
        still->m_Pos.NextLine(script);
    return STATEMENT_END;
}
