#include "script/GxMoaParser.h"

#include "script/GxMoa.h"
#include "script/GxMoaOpcode.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaToken.h"

namespace
{
// Recursion depth of Phase_Term; the parser runs on the main thread only.
int s_Depth = 0;

class DepthGuard
{
public:
    DepthGuard() { ++s_Depth; }
    ~DepthGuard() { --s_Depth; }
};

const GxMoaToken& At(const GxMoaScript& script, const GxMoaRunPos& pos)
{
    return script.GetToken(pos);
}

uint16_t KindAt(const GxMoaScript& script, const GxMoaRunPos& pos)
{
    return script.GetToken(pos).m_Kind;
}

void Next(const GxMoaScript& script, GxMoaRunPos& pos)
{
    pos.AdvanceInLine(script);
}

bool IsTerminator(uint16_t kind)
{
    switch (kind)
    {
    case TK_SCRIPT_END:
    case TK_SEMICOLON:
    case TK_COMMA:
    case TK_BRACE_CLOSE:
    case TK_BRACKET_CLOSE:
    case TK_PAREN_CLOSE:
        return true;
    default:
        return false;
    }
}

struct BinaryOp
{
    uint16_t m_Token;
    int32_t m_Opcode;
};

// One binary level: the next level, then any number of "operator next-level" pairs, each appending its
// opcode after both operands, so operators of a level associate to the left.
template <size_t N>
bool BinaryLevel(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list, const BinaryOp (&ops)[N],
                 bool (*next)(const GxMoaScript&, GxMoaRunPos&, GxMoaOpcodeList&))
{
    if (!next(script, pos, list))
        return false;
    for (;;)
    {
        const uint16_t kind = KindAt(script, pos);
        const BinaryOp* found = nullptr;
        for (const BinaryOp& op : ops)
            if (op.m_Token == kind)
                found = &op;
        if (!found)
            return true;
        if (!GxMoaParser::Phase_IsTermBoth(script, pos))
            return false;
        Next(script, pos);
        if (!next(script, pos, list))
            return false;
        GxMoaParser::Phase_PushOpcode(list, found->m_Opcode);
    }
}

constexpr BinaryOp kLogicalOps[] = {{TK_AND, OPC_AND}, {TK_OR, OPC_OR}};
constexpr BinaryOp kBitOps[] = {{TK_BIT_AND, OPC_BIT_AND}, {TK_BIT_OR, OPC_BIT_OR}, {TK_BIT_XOR, OPC_BIT_XOR}};
constexpr BinaryOp kEqNeOps[] = {{TK_EQ, OPC_EQ}, {TK_NE, OPC_NE}};
constexpr BinaryOp kLeGeOps[] = {{TK_GT, OPC_GT}, {TK_GE, OPC_GE}, {TK_LT, OPC_LT}, {TK_LE, OPC_LE}};
constexpr BinaryOp kShiftOps[] = {{TK_SHL, OPC_SHL}, {TK_SHR, OPC_SHR}};
constexpr BinaryOp kAddOps[] = {{TK_ADD, OPC_ADD}, {TK_SUB, OPC_SUB}, {TK_CONCAT, OPC_CONCAT}};
constexpr BinaryOp kMulOps[] = {{TK_MUL, OPC_MUL}, {TK_DIV, OPC_DIV}, {TK_MOD, OPC_MOD}};

int32_t PrefixOpcode(uint16_t kind)
{
    switch (kind)
    {
    case TK_UNARY_PLUS:
        return OPC_UNARY_PLUS;
    case TK_UNARY_MINUS:
        return OPC_UNARY_MINUS;
    case TK_BIT_NOT:
        return OPC_BIT_NOT;
    case TK_NOT:
        return OPC_NOT;
    default:
        return -1;
    }
}

bool IsAssignKind(uint16_t kind)
{
    return kind >= TK_ASSIGN && kind <= TK_XOR_ASSIGN;
}

// The operation after a variable or an element: an assignment, a postfix step or a plain read.
bool VariableTail(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list, const std::wstring& name,
                  int32_t alterOpcode, int32_t pushOpcode)
{
    const uint16_t kind = KindAt(script, pos);
    if (IsAssignKind(kind))
    {
        if (!GxMoaParser::Phase_AssignOp(script, pos, list))
            return false;
        GxMoaParser::Phase_PushOpcode(list, alterOpcode);
        GxMoaParser::Phase_PushStr(list, name);
        return true;
    }
    if (kind == TK_POST_INC || kind == TK_POST_DEC)
    {
        GxMoaParser::Phase_PushOpcode(list, kind == TK_POST_INC ? OPC_POST_INC : OPC_POST_DEC);
        Next(script, pos);
        GxMoaParser::Phase_PushOpcode(list, alterOpcode);
        GxMoaParser::Phase_PushStr(list, name);
        return true;
    }
    GxMoaParser::Phase_PushOpcode(list, pushOpcode);
    GxMoaParser::Phase_PushStr(list, name);
    return true;
}
} // namespace

void GxMoaParser::Phase_PushOpcode(GxMoaOpcodeList& list, int32_t opcode)
{
    list.emplace_back();
    list.back().SetOpcode(opcode);
}

void GxMoaParser::Phase_PushInt(GxMoaOpcodeList& list, int64_t value)
{
    list.emplace_back();
    list.back().SetInt(value);
}

void GxMoaParser::Phase_PushStr(GxMoaOpcodeList& list, const std::wstring& text)
{
    list.emplace_back();
    list.back().SetString(text);
}

void GxMoaParser::Phase_Error(const GxMoaScript& script, const GxMoaRunPos& pos, const wchar_t* message)
{
    if (!script.m_pMoa)
        return;
    const std::wstring text = At(script, pos).ToString();
    script.m_pMoa->Error(script.m_ScriptName, pos.m_Line, L"%s[%s]", message, text.c_str());
}

bool GxMoaParser::Phase_Skip(const GxMoaScript& script, GxMoaRunPos& pos, uint16_t kind)
{
    if (KindAt(script, pos) == kind)
    {
        Next(script, pos);
        return true;
    }
    const std::wstring message =
        std::wstring(L"Phase_Skip 次に来るべき記号 ") + GxMoaToken::KindName(kind) + L" がありません";
    Phase_Error(script, pos, message.c_str());
    return false;
}

bool GxMoaParser::Phase_IsTermLeft(const GxMoaScript& script, const GxMoaRunPos& pos)
{
    switch (script.GetToken(pos.m_Line, pos.m_Pos - 1).m_Kind)
    {
    case TK_INT:
    case TK_FLOAT:
    case TK_STRING:
    case TK_NULL:
    case TK_VARIABLE:
    case TK_PAREN_CLOSE:
    case TK_BRACKET_CLOSE:
    case TK_POST_INC:
    case TK_POST_DEC:
        return true;
    default:
        Phase_Error(script, pos, L"Phase_IsTermLeft 左側に項が存在しないか不正な式です");
        return false;
    }
}

bool GxMoaParser::Phase_IsTermRight(const GxMoaScript& script, const GxMoaRunPos& pos)
{
    switch (script.GetToken(pos.m_Line, pos.m_Pos + 1).m_Kind)
    {
    case TK_BUILTIN:
    case TK_UNKNOWN_WORD:
    case TK_INT:
    case TK_FLOAT:
    case TK_STRING:
    case TK_NULL:
    case TK_VARIABLE:
    case TK_ARRAY_VARIABLE:
    case TK_ARRAY:
    case TK_PAREN_OPEN:
    case TK_UNARY_PLUS:
    case TK_UNARY_MINUS:
    case TK_BIT_NOT:
    case TK_NOT:
    case TK_PRE_INC:
    case TK_PRE_DEC:
        return true;
    default:
        Phase_Error(script, pos, L"Phase_IsTermRight 右側に項が存在しないか不正な式です");
        return false;
    }
}

bool GxMoaParser::Phase_IsTermBoth(const GxMoaScript& script, const GxMoaRunPos& pos)
{
    return Phase_IsTermRight(script, pos) && Phase_IsTermLeft(script, pos);
}

bool GxMoaParser::Phase_Expr(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    if (!Phase_LogicalOp(script, pos, list))
        return false;
    if (IsTerminator(KindAt(script, pos)))
        return true;
    Phase_Error(script, pos, L"Phase_Expr 式に間違いがあります");
    return false;
}

bool GxMoaParser::Phase_LogicalOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kLogicalOps, &Phase_BitOp);
}

bool GxMoaParser::Phase_BitOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kBitOps, &Phase_CompEqNeOp);
}

bool GxMoaParser::Phase_CompEqNeOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kEqNeOps, &Phase_CompLeGeOp);
}

bool GxMoaParser::Phase_CompLeGeOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kLeGeOps, &Phase_BitShiftOp);
}

bool GxMoaParser::Phase_BitShiftOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kShiftOps, &Phase_AddOp);
}

bool GxMoaParser::Phase_AddOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kAddOps, &Phase_MulOp);
}

bool GxMoaParser::Phase_MulOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    return BinaryLevel(script, pos, list, kMulOps, &Phase_SingleOp);
}

bool GxMoaParser::Phase_SingleOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    const int32_t opcode = PrefixOpcode(KindAt(script, pos));
    if (opcode < 0)
        return Phase_Term(script, pos, list);
    if (!Phase_IsTermRight(script, pos))
        return false;
    Next(script, pos);
    if (!Phase_Term(script, pos, list))
        return false;
    Phase_PushOpcode(list, opcode);
    return true;
}

bool GxMoaParser::Phase_Term(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    DepthGuard guard;
    if (s_Depth > kMaxDepth)
    {
        Phase_Error(script, pos, L"Phase_Term 式の入れ子が深すぎます");
        return false;
    }
    const GxMoaToken& token = At(script, pos);
    switch (token.m_Kind)
    {
    case TK_SCRIPT_END:
    case TK_SEMICOLON:
    case TK_COMMA:
    case TK_BRACE_CLOSE:
    case TK_BRACKET_CLOSE:
    case TK_PAREN_CLOSE:
        return true;
    case TK_BREAKPOINT:
        if (script.m_pMoa)
            script.m_pMoa->m_Breakpoint = 1;
        Next(script, pos);
        return true;
    case TK_INT:
        Next(script, pos);
        Phase_PushOpcode(list, OPC_PUSH_INT);
        Phase_PushInt(list, token.m_Int);
        return true;
    case TK_FLOAT:
        Next(script, pos);
        Phase_PushOpcode(list, OPC_PUSH_FLT);
        list.emplace_back();
        list.back().SetFloat(token.GetFloat());
        return true;
    case TK_STRING:
        Next(script, pos);
        Phase_PushOpcode(list, OPC_PUSH_STR);
        Phase_PushStr(list, token.GetStr());
        return true;
    case TK_NULL:
        Next(script, pos);
        Phase_PushOpcode(list, OPC_PUSH_NULL);
        return true;
    case TK_BUILTIN:
    {
        Next(script, pos);
        // Only a call that opened its own bracket takes the ")" after it: without brackets the ")"
        // belongs to the construct around the call.
        const bool bracketed = KindAt(script, pos) == TK_PAREN_OPEN;
        if (bracketed)
        {
            Next(script, pos);
            if (!Phase_Element(script, pos, list))
                return false;
        }
        else
        {
            Phase_PushOpcode(list, OPC_ELEMENTNUM);
            Phase_PushInt(list, 0);
        }
        Phase_PushOpcode(list, OPC_CALL_BUILTIN);
        Phase_PushInt(list, token.m_Int);
        Phase_PushStr(list, token.GetStr());
        if (bracketed && KindAt(script, pos) == TK_PAREN_CLOSE)
            Next(script, pos);
        return true;
    }
    case TK_VARIABLE:
        Next(script, pos);
        return VariableTail(script, pos, list, token.GetStr(), OPC_ALTER_VAR, OPC_PUSH_VAR);
    case TK_ARRAY_VARIABLE:
        Next(script, pos);
        if (!Phase_Skip(script, pos, TK_BRACKET_OPEN) || !Phase_Term(script, pos, list) ||
            !Phase_Skip(script, pos, TK_BRACKET_CLOSE))
            return false;
        return VariableTail(script, pos, list, token.GetStr(), OPC_ALTER_VARARY, OPC_PUSH_VARARY);
    case TK_ARRAY:
        Next(script, pos);
        if (!Phase_Skip(script, pos, TK_PAREN_OPEN) || !Phase_Element(script, pos, list))
            return false;
        Phase_PushOpcode(list, OPC_ARRAYINIT);
        return Phase_Skip(script, pos, TK_PAREN_CLOSE);
    case TK_PAREN_OPEN:
        Next(script, pos);
        return Phase_Expr(script, pos, list) && Phase_Skip(script, pos, TK_PAREN_CLOSE);
    case TK_UNARY_PLUS:
    case TK_UNARY_MINUS:
    case TK_BIT_NOT:
    case TK_NOT:
        return Phase_SingleOp(script, pos, list);
    case TK_BRACKET_OPEN:
        Phase_Error(script, pos, L"Phase_Term []演算子の前に配列変数名がありません");
        return false;
    default:
        Phase_Error(script, pos, L"Phase_Term 式として認識できないトークンです");
        return false;
    }
}

bool GxMoaParser::Phase_AssignOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    const uint16_t kind = KindAt(script, pos);
    if (!IsAssignKind(kind))
    {
        Phase_Error(script, pos, L"Phase_AssignOp 代入式が不正です");
        return false;
    }
    if (!Phase_IsTermBoth(script, pos))
        return false;
    Next(script, pos);
    if (!Phase_Expr(script, pos, list))
        return false;
    // The assignment tokens and opcodes run in the same order: "=" 69 is 42 up to "^=" 78 as 51.
    Phase_PushOpcode(list, OPC_ASSIGN + (kind - TK_ASSIGN));
    return true;
}

bool GxMoaParser::Phase_Element(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list)
{
    int64_t count = 0;
    uint16_t kind = KindAt(script, pos);
    if (kind == TK_PAREN_CLOSE || kind == TK_BRACKET_CLOSE)
    {
        Phase_PushOpcode(list, OPC_ELEMENTNUM);
        Phase_PushInt(list, 0);
        return true;
    }
    if (kind == TK_COMMA)
        Phase_PushOpcode(list, OPC_PUSH_NULL);
    for (;;)
    {
        if (!Phase_Expr(script, pos, list))
            return false;
        kind = KindAt(script, pos);
        if (kind == TK_COMMA)
        {
            Next(script, pos);
            const uint16_t after = KindAt(script, pos);
            if (after == TK_COMMA || after == TK_PAREN_CLOSE || after == TK_BRACKET_CLOSE)
                Phase_PushOpcode(list, OPC_PUSH_NULL);
            ++count;
            continue;
        }
        if (kind == TK_PAREN_CLOSE || kind == TK_BRACKET_CLOSE)
        {
            ++count;
            Phase_PushOpcode(list, OPC_ELEMENTNUM);
            Phase_PushInt(list, count);
            return true;
        }
        Phase_Error(script, pos, L"Phase_Element 式に予期しない記号を見つけました。式が間違っています");
        return false;
    }
}
