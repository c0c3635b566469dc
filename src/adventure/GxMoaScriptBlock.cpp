#include "adventure/GxMoaScriptBlock.h"

#include "adventure/GxMoaBuiltinCall.h"
#include "script/GxMoaExecStackElement.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaToken.h"

bool GxMoaScriptBlock::Read(GxMoaBuiltinCall& call, const wchar_t* endWord, std::vector<std::wstring>& lines,
                            std::wstring& refused)
{
    if (call.m_ExecStack.empty())
        return true;
    GxMoaExecStackElement& frame = *call.m_ExecStack.back();
    const GxMoaScript* script = frame.m_pScript ? frame.m_pScript : call.m_Script;
    if (!script)
        return true;
    GxMoaRunPos& pos = frame.m_Pos;
    while (pos.m_Line < script->GetLineCount())
    {
        const GxMoaToken& token = script->GetToken(pos);
        switch (token.m_Kind)
        {
        case TK_UNKNOWN_WORD:
        case TK_STRING:
        case TK_TEXT:
            lines.push_back(token.GetStr());
            pos.Advance(*script);
            break;
        case TK_COMMAND_START:
        case TK_SCRIPT_END:
            pos.Advance(*script);
            break;
        case TK_BUILTIN:
            if (token.GetStr() == endWord)
            {
                pos.NextLine(*script);
                return true;
            }
            refused = token.ToString();
            return false;
        default:
            refused = token.ToString();
            return false;
        }
    }
    return true;
}
