// GxMoa::Eval_Token: the one entry through which statements evaluate expressions.

#include "script/GxMoa.h"

#include "script/GxMoaMachine.h"
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
    frame->m_OpcodeList.clear();
    frame->m_OpcodePos = 0;
    worker->m_ValueStack.clear();
    GxMoaScript* script = GxMoaMachine::FindFrameScript(this, frame);
    if (!script)
    {
        Error(frame->m_Pos.m_ScriptName, frame->m_Pos.m_Line, L"%s", L"スクリプトが見つからないので実行できません");
        m_ErrorStop = 1;
        return false;
    }
    if (!GxMoaParser::Phase_Expr(*script, position, frame->m_OpcodeList))
    {
        m_ErrorStop = 1;
        return false;
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
