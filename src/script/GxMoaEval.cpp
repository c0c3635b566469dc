// GxMoa::Eval_Token: the one entry through which statements evaluate expressions.

#include "script/GxMoa.h"

#include "script/GxMoaMachine.h"
#include "script/GxMoaParseCache.h"
#include "script/GxMoaParser.h"
#include "script/GxMoaWorker.h"

bool GxMoa::Eval_Token(GxMoaVariable* result, GxMoaBuiltinBase* builtin, GxMoaWorker* worker, GxMoaRunPos& position,
                       bool warnOnCreate)
{
    GxMoaExecStackElement* frame = worker ? worker->GetTopFrame() : nullptr;
    if (!frame)
    {
        Error(L"*", -1, L"%s", L"GxMoa::Eval_Token 実行中ではないWorkerを計算しようとしました");
        m_ErrorStop = 1;
        return false;
    }
    frame->m_OpcodePos = 0;
    worker->m_ValueStack.clear();
    GxMoaScript* script = GxMoaMachine::FindFrameScript(this, frame);
    if (!script)
    {
        frame->m_OpcodeList.clear();
        Error(frame->m_Pos.m_ScriptName, frame->m_Pos.m_Line, L"%s", L"スクリプトが見つからないので実行できません");
        m_ErrorStop = 1;
        return false;
    }
    if (const GxMoaParseCache::Entry* parsed = GxMoaParseCache::Find(*script, position))
    {
        frame->m_OpcodeList.Share(parsed->m_pParsed);
        position.m_Line = parsed->m_End.m_Line;
        position.m_Pos = parsed->m_End.m_Pos;
        if (parsed->m_Breakpoint)
            m_Breakpoint = 1;
    }
    else
    {
        frame->m_OpcodeList.clear();
        const GxMoaRunPos start(position.m_Line, position.m_Pos);
        const uint8_t breakpoint = m_Breakpoint;
        m_Breakpoint = 0;
        const bool parsedOk = GxMoaParser::Phase_Expr(*script, position, frame->m_OpcodeList.Edit());
        const bool sawBreakpoint = m_Breakpoint != 0;
        m_Breakpoint = breakpoint || sawBreakpoint ? 1 : 0;
        if (!parsedOk)
        {
            m_ErrorStop = 1;
            return false;
        }
        if (auto kept = GxMoaParseCache::Store(*script, start, position, sawBreakpoint, frame->m_OpcodeList))
            frame->m_OpcodeList.Share(kept);
    }
    // From here the position may belong to a frame that a builtin removes: it is not touched again.
    if (GxMoaMachine::Exec_Opcode(builtin, script, this, worker, warnOnCreate) != 1)
    {
        m_ErrorStop = 1;
        return false;
    }
    if (result)
    {
        if (worker->m_ValueStack.size() == 1)
            *result = worker->m_ValueStack.back();
        else
            result->Clear();
    }
    return true;
}
