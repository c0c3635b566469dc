// GxMoaWorker::Exec: the statement interpreter. Statements stand one to a line; IF and ELSE with
// braces are the only control structures and blocks push no frames, they only move the position.

#include "script/GxMoa.h"
#include "script/GxMoaMachine.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaWorker.h"

namespace
{
void MoveTo(GxMoaExecStackElement& frame, const GxMoaRunPos& pos)
{
    frame.m_Pos.m_Line = pos.m_Line;
    frame.m_Pos.m_Pos = pos.m_Pos;
}

bool IsAfter(const GxMoaRunPos& a, const GxMoaRunPos& b)
{
    return a.m_Line > b.m_Line || (a.m_Line == b.m_Line && a.m_Pos > b.m_Pos);
}

// The position after the "{" at or after the cursor; the end of the script when there is none.
GxMoaRunPos EnterBlock(const GxMoaScript& script, GxMoaRunPos cursor)
{
    if (cursor.FindOpenBrace(script))
        cursor.Advance(script);
    return cursor;
}

// The position after the "}" that closes the "{" at or after the cursor (link 0 of the "{").
GxMoaRunPos SkipBlock(const GxMoaScript& script, GxMoaRunPos cursor)
{
    if (!cursor.FindOpenBrace(script))
        return cursor;
    GxMoaRunPos close = script.GetToken(cursor).GetJumpPos(0);
    // A "}" must come after its "{": a link that points back (a damaged program) ends the script
    // instead of running the same lines again.
    if (!IsAfter(close, cursor))
    {
        close.m_Line = script.GetLineCount();
        close.m_Pos = 0;
        return close;
    }
    close.Advance(script);
    return close;
}
} // namespace

void GxMoaWorker::StopWithError(const GxMoaExecStackElement& frame, const wchar_t* format, const std::wstring& text)
{
    m_pMoa->Error(frame.m_Pos.m_ScriptName, frame.m_Pos.m_Line, format, text.c_str());
    m_pMoa->m_ErrorStop = 1;
}

bool GxMoaWorker::Exec(GxMoaBuiltinBase* builtin)
{
    GxMoaExecStackElement* frame = GetTopFrame();
    if (!frame || !m_pMoa)
        return false;
    GxMoaScript* script = GxMoaMachine::FindFrameScript(m_pMoa, frame);
    if (!script)
    {
        StopWithError(*frame, L"%s", L"スクリプトが見つからないので実行できません");
        return false;
    }
    if (m_pMoa->m_ErrorStop)
        return false;
    for (;;)
    {
        // A position that is not on a token (before a line's first token, after its last, on an empty
        // line) moves on to the next token; past the last line the script has ended.
        if (script->CheckPos(frame->m_Pos) != 1)
            frame->m_Pos.Advance(*script);
        if (frame->m_Pos.m_Line >= script->GetLineCount())
        {
            Finish();
            return !m_ExecStack.empty();
        }
        const StatementEnd end = ExecStatement(*frame, *script, builtin);
        if (end == STATEMENT_FAIL)
            return false;
        if (end == STATEMENT_END)
            return !m_ExecStack.empty();
        if (m_pMoa->m_ErrorStop)
            return false;
        frame = GetTopFrame();
        script = GxMoaMachine::FindFrameScript(m_pMoa, frame);
        if (!frame || !script)
            return false;
    }
}

GxMoaWorker::StatementEnd GxMoaWorker::ExecStatement(GxMoaExecStackElement& frame, GxMoaScript& script,
                                                     GxMoaBuiltinBase* builtin)
{
    const GxMoaToken& token = script.GetToken(frame.m_Pos);
    switch (token.m_Kind)
    {
    case TK_LABEL:
    case TK_COMMAND_START:
        frame.m_Pos.Advance(script);
        return STATEMENT_GO_ON;
    case TK_SCRIPT_END:
        // Kind 17 standing as a token of a line reads like the end of the line: pass over it.
        frame.m_Pos.Advance(script);
        return STATEMENT_GO_ON;
    case TK_TEXT:
        return ExecText(frame, script, token, builtin);
    case TK_UNKNOWN_WORD:
        return ExecUnknownWord(frame, script, token, builtin);
    case TK_BUILTIN:
    case TK_VARIABLE:
    case TK_ARRAY_VARIABLE:
        // The frame's own position is the cursor: afterwards it stands on the token that ended the
        // expression (unless a builtin replaced the frame).
        return m_pMoa->Eval_Token(nullptr, builtin, this, frame.m_Pos, true) ? STATEMENT_END : STATEMENT_FAIL;
    case TK_BREAKPOINT:
        m_pMoa->m_Breakpoint = 1;
        frame.m_Pos.Advance(script);
        return STATEMENT_END;
    case TK_DEFINE:
    case TK_BUILTIN_DECL:
    case TK_STATIC:
    case TK_GLOBAL:
    case TK_EXTERN:
    case TK_NOSAVE:
    case TK_INGAME:
    case TK_PERMAN:
        // Declarations act when the program is loaded.
        frame.m_Pos.NextLine(script);
        return STATEMENT_END;
    case TK_STATEMENT_SIGN:
        frame.m_Pos.Advance(script);
        return m_pMoa->Eval_Token(nullptr, builtin, this, frame.m_Pos, false) ? STATEMENT_END : STATEMENT_FAIL;
    case TK_IF:
        return ExecIf(frame, script, token, builtin);
    case TK_ELSE:
    {
        const GxMoaScriptPos at = frame.m_Pos;
        frame.m_Pos.NextLine(script);
        m_pMoa->Error(at.m_ScriptName, at.m_Line, L"%s", L"不正なELSE文です");
        m_pMoa->m_ErrorStop = 1;
        return STATEMENT_FAIL;
    }
    case TK_WHILE:
    case TK_FOR:
    case TK_DO:
    case TK_CONTINUE:
    case TK_BREAK:
    {
        const std::wstring text = token.ToString();
        const GxMoaScriptPos at = frame.m_Pos;
        frame.m_Pos.NextLine(script);
        m_pMoa->Error(at.m_ScriptName, at.m_Line, L"未実装の制御構造です[%s]", text.c_str());
        m_pMoa->m_ErrorStop = 1;
        return STATEMENT_FAIL;
    }
    case TK_BRACE_CLOSE:
        return ExecBlockEnd(frame, script, token);
    default:
        StopWithError(frame, UnhandledTokenFormat(), token.ToString());
        return STATEMENT_FAIL;
    }
}

bool GxMoaWorker::EvalCondition(GxMoaExecStackElement& frame, GxMoaRunPos& cursor, GxMoaBuiltinBase* builtin,
                                bool& truth)
{
    GxMoaVariable result;
    const std::wstring scriptName = frame.m_Pos.m_ScriptName;
    const int32_t line = frame.m_Pos.m_Line;
    if (!m_pMoa->Eval_Token(&result, builtin, this, cursor, true))
    {
        m_pMoa->Error(scriptName, line, L"%s", L"条件式が評価できません");
        m_pMoa->m_ErrorStop = 1;
        return false;
    }
    truth = result.ToInt64() != 0;
    return true;
}

GxMoaWorker::StatementEnd GxMoaWorker::ExecIf(GxMoaExecStackElement& frame, GxMoaScript& script,
                                              const GxMoaToken& token, GxMoaBuiltinBase* builtin)
{
    // A builtin in a condition may jump, call or stop: the frame is looked up again after every
    // condition, and the IF ends the call when its frame is gone or no longer on top.
    GxMoaExecStackElement* const self = &frame;
    const uint64_t serial = frame.m_Serial;
    auto stillHere = [&]() { return GxMoaMachine::FindFrame(this, self, serial) != nullptr; };
    auto onTop = [&]() { return GetTopFrame() == self && stillHere(); };

    GxMoaRunPos cursor = token.GetJumpPos(1);
    bool truth = false;
    if (!EvalCondition(frame, cursor, builtin, truth))
        return STATEMENT_FAIL;
    if (!stillHere())
        return STATEMENT_END;
    // The "{" is looked for from the token after the one that ended the condition.
    cursor.Advance(script);
    if (truth)
    {
        MoveTo(frame, EnterBlock(script, cursor));
        return STATEMENT_END;
    }
    GxMoaRunPos pos = SkipBlock(script, cursor);
    while (onTop() && script.GetToken(pos).m_Kind == TK_ELSE)
    {
        const GxMoaToken& elseToken = script.GetToken(pos);
        GxMoaRunPos condition = elseToken.GetJumpPos(1);
        if (condition.m_Line == -1)
        {
            MoveTo(frame, EnterBlock(script, pos));
            return STATEMENT_END;
        }
        if (!EvalCondition(frame, condition, builtin, truth))
            return STATEMENT_FAIL;
        if (!stillHere())
            return STATEMENT_END;
        condition.Advance(script);
        if (truth)
        {
            MoveTo(frame, EnterBlock(script, condition));
            return STATEMENT_END;
        }
        const GxMoaRunPos before = pos;
        pos = SkipBlock(script, condition);
        // Each ELSE lies after the one before; a condition link that points back (a damaged program)
        // ends the script rather than looping here.
        if (!IsAfter(pos, before))
        {
            pos.m_Line = script.GetLineCount();
            pos.m_Pos = 0;
        }
    }
    MoveTo(frame, pos);
    return STATEMENT_END;
}

GxMoaWorker::StatementEnd GxMoaWorker::ExecBlockEnd(GxMoaExecStackElement& frame, GxMoaScript& script,
                                                    const GxMoaToken& token)
{
    if (token.m_Int != BLOCK_CODE_IF && token.m_Int != BLOCK_CODE_ELSE)
    {
        StopWithError(frame, L"未実装のブロック終端です[%s]", token.ToString());
        return STATEMENT_FAIL;
    }
    // The end of a branch that ran: every ELSE branch after it is passed over.
    GxMoaRunPos pos = frame.m_Pos;
    pos.Advance(script);
    while (script.GetToken(pos).m_Kind == TK_ELSE)
    {
        const GxMoaRunPos before = pos;
        pos = SkipBlock(script, pos);
        if (!IsAfter(pos, before))
            break;
    }
    MoveTo(frame, pos);
    return STATEMENT_END;
}

GxMoaWorker::StatementEnd GxMoaWorker::ExecText(GxMoaExecStackElement& frame, GxMoaScript& script,
                                                const GxMoaToken& token, GxMoaBuiltinBase*)
{
    // The text is handed over as an argument, never used as a format.
    m_pMoa->Log(L"%s", token.GetStr().c_str());
    frame.m_Pos.Advance(script);
    return STATEMENT_GO_ON;
}

GxMoaWorker::StatementEnd GxMoaWorker::ExecUnknownWord(GxMoaExecStackElement& frame, GxMoaScript& script,
                                                       const GxMoaToken& token, GxMoaBuiltinBase*)
{
    m_pMoa->Warning(frame.m_Pos.m_ScriptName, frame.m_Pos.m_Line, L"不明な単語を発見。スキップされます[%s]",
                    token.GetStr().c_str());
    frame.m_Pos.NextLine(script);
    return STATEMENT_GO_ON;
}
