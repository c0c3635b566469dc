// The expression parser: golden opcode lists, precedence, element lists, terminators and refusals.

#include "ScriptExecUtil.h"
#include "script/GxMoaParser.h"

#include <gtest/gtest.h>

using namespace ScriptTest;

namespace
{
struct Parsed
{
    bool m_Ok = false;
    std::wstring m_List;
    GxMoaRunPos m_End;
    std::vector<std::wstring> m_Errors;
    bool m_Breakpoint = false;
};

Parsed Parse(const std::vector<GxMoaToken>& line)
{
    TokenProgram p({line});
    Parsed out;
    GxMoaOpcodeList list;
    GxMoaRunPos pos(0, 0);
    out.m_Ok = GxMoaParser::Phase_Expr(*p.m_pScript, pos, list);
    out.m_List = ListText(list);
    out.m_End = pos;
    out.m_Errors = p.m_Moa.Lines(L"err:");
    out.m_Breakpoint = p.m_Moa.m_Breakpoint != 0;
    return out;
}

GxMoaToken T(uint16_t kind)
{
    return Tok(kind);
}

struct Case
{
    std::vector<GxMoaToken> m_Line;
    std::wstring m_Expect; // the opcode list, or the first error after the line prefix
};
} // namespace

TEST(GxMoaParser, GoldenOpcodeLists)
{
    const GxMoaToken po = T(TK_PAREN_OPEN), pc = T(TK_PAREN_CLOSE), bo = T(TK_BRACKET_OPEN), bc = T(TK_BRACKET_CLOSE);
    const GxMoaToken f = Fn(L"f", 7), comma = T(TK_COMMA);
    std::vector<Case> cases = {
        // Assignment comes after its right side; chains go to the right (b is assigned first).
        {{Var(L"x"), T(TK_ASSIGN), Int(1), T(TK_ADD), Int(2)}, L"PUSH_INT 1 PUSH_INT 2 + = OPC_ALTER_VAR x"},
        {{AryVar(L"a"), bo, Int(2), bc, T(TK_ADD_ASSIGN), Var(L"v")}, L"PUSH_INT 2 PUSH_VAR v += OPC_ALTER_VARARY a"},
        {{Var(L"a"), T(TK_ASSIGN), Var(L"b"), T(TK_ASSIGN), Int(1)}, L"PUSH_INT 1 = OPC_ALTER_VAR b = OPC_ALTER_VAR a"},
        // Postfix steps.
        {{Var(L"x"), T(TK_POST_INC)}, L"単項++ OPC_ALTER_VAR x"},
        {{AryVar(L"a"), bo, Var(L"i"), bc, T(TK_POST_DEC)}, L"PUSH_VAR i 単項-- OPC_ALTER_VARARY a"},
        // Builtin calls with and without brackets; a bracketless call leaves the enclosing ")" alone.
        {{f, po, Int(1), comma, Int(2), pc}, L"PUSH_INT 1 PUSH_INT 2 ELEMENTNUM 2 CALL_BUILTIN 7 f"},
        {{f}, L"ELEMENTNUM 0 CALL_BUILTIN 7 f"},
        {{f, po, pc}, L"ELEMENTNUM 0 CALL_BUILTIN 7 f"},
        {{po, f, pc, T(TK_ADD), Int(1)}, L"ELEMENTNUM 0 CALL_BUILTIN 7 f PUSH_INT 1 +"},
        {{Fn(L"g", 8), po, f, pc}, L"ELEMENTNUM 0 CALL_BUILTIN 7 f ELEMENTNUM 1 CALL_BUILTIN 8 g"},
        // Element lists fill empty slots with Null.
        {{f, po, Var(L"a"), comma, pc}, L"PUSH_VAR a PUSH_NULL ELEMENTNUM 2 CALL_BUILTIN 7 f"},
        {{f, po, comma, Var(L"b"), pc}, L"PUSH_NULL PUSH_VAR b ELEMENTNUM 2 CALL_BUILTIN 7 f"},
        {{f, po, Var(L"a"), comma, comma, Var(L"b"), pc},
         L"PUSH_VAR a PUSH_NULL PUSH_VAR b ELEMENTNUM 3 CALL_BUILTIN 7 f"},
        {{T(TK_ARRAY), po, pc}, L"ELEMENTNUM 0 ARRAYINIT"},
        {{T(TK_ARRAY), po, Int(1), comma, Str(L"s"), pc}, L"PUSH_INT 1 PUSH_STR s ELEMENTNUM 2 ARRAYINIT"},
        // An array index is exactly one term.
        {{AryVar(L"a"), bo, po, Var(L"i"), T(TK_ADD), Int(1), pc, bc}, L"PUSH_VAR i PUSH_INT 1 + PUSH_VARARY a"},
        // Precedence levels and left association.
        {{Var(L"a"), T(TK_EQ), Var(L"b"), T(TK_BIT_AND), Var(L"c")}, L"PUSH_VAR a PUSH_VAR b == PUSH_VAR c &"},
        {{Var(L"a"), T(TK_AND), Var(L"b"), T(TK_OR), Var(L"c")}, L"PUSH_VAR a PUSH_VAR b && PUSH_VAR c ||"},
        {{Var(L"a"), T(TK_LT), Var(L"b"), T(TK_LT), Var(L"c")}, L"PUSH_VAR a PUSH_VAR b < PUSH_VAR c <"},
        {{Int(1), T(TK_ADD), Int(2), T(TK_MUL), Int(3), T(TK_SHL), Int(4)},
         L"PUSH_INT 1 PUSH_INT 2 PUSH_INT 3 * + PUSH_INT 4 <<"},
        {{Int(8), T(TK_SUB), Int(2), T(TK_CONCAT), Int(1)}, L"PUSH_INT 8 PUSH_INT 2 - PUSH_INT 1 :"},
        {{Int(1), T(TK_NE), Int(2), T(TK_BIT_XOR), Int(3), T(TK_BIT_OR), Int(4)},
         L"PUSH_INT 1 PUSH_INT 2 != PUSH_INT 3 ^ PUSH_INT 4 |"},
        {{Int(9), T(TK_MOD), Int(4), T(TK_DIV), Int(2), T(TK_GE), Int(0), T(TK_SHR), Int(1)},
         L"PUSH_INT 9 PUSH_INT 4 % PUSH_INT 2 / PUSH_INT 0 PUSH_INT 1 >> >="},
        // Prefix operators nest; "ARRAY(...) + 1" has a left term.
        {{T(TK_UNARY_MINUS), T(TK_BIT_NOT), Var(L"x")}, L"PUSH_VAR x 単項~ 単項-"},
        {{T(TK_NOT), T(TK_UNARY_PLUS), Flt(2.5)}, L"PUSH_FLT 2.500000 単項+ 単項!"},
        {{T(TK_ARRAY), po, pc, T(TK_ADD), Int(1)}, L"ELEMENTNUM 0 ARRAYINIT PUSH_INT 1 +"},
        {{Str(L"ab"), T(TK_CONCAT), T(TK_NULL)}, L"PUSH_STR ab PUSH_NULL :"},
        {{T(TK_SEMICOLON)}, L""},
        {{}, L""},
    };
    // Every assignment token maps to its opcode in order.
    const wchar_t* names[] = {L"=", L"+=", L":=", L"-=", L"*=", L"/=", L"%=", L"&=", L"|=", L"^="};
    for (uint16_t k = TK_ASSIGN; k <= TK_XOR_ASSIGN; ++k)
        cases.push_back(
            {{Var(L"x"), T(k), Int(3)}, std::wstring(L"PUSH_INT 3 ") + names[k - TK_ASSIGN] + L" OPC_ALTER_VAR x"});
    for (const Case& c : cases)
    {
        SCOPED_TRACE(GxString::ToUtf8(c.m_Expect));
        const Parsed p = Parse(c.m_Line);
        EXPECT_TRUE(p.m_Ok) << (p.m_Errors.empty() ? std::string() : GxString::ToUtf8(p.m_Errors[0]));
        EXPECT_EQ(p.m_List, c.m_Expect);
    }
}

TEST(GxMoaParser, RefusalsAndTheirLines)
{
    const GxMoaToken po = T(TK_PAREN_OPEN), bo = T(TK_BRACKET_OPEN), bc = T(TK_BRACKET_CLOSE);
    const std::vector<Case> cases = {
        {{T(TK_PRE_INC), Var(L"x")}, L"Phase_Term 式として認識できないトークンです[++単項]"},
        {{Fn(L"f", 7), po, Int(1), T(TK_SEMICOLON)},
         L"Phase_Element 式に予期しない記号を見つけました。式が間違っています[;]"},
        {{AryVar(L"a"), bo, Var(L"i"), T(TK_ADD), Int(1), bc}, L"Phase_Skip 次に来るべき記号 ] がありません[+]"},
        {{bo, Int(1), bc}, L"Phase_Term []演算子の前に配列変数名がありません[[]"},
        {{Int(1), T(TK_ADD), T(TK_ADD), Int(2)}, L"Phase_IsTermRight 右側に項が存在しないか不正な式です[+]"},
        {{T(TK_MUL), Int(2)}, L"Phase_Term 式として認識できないトークンです[*]"},
        // A builtin name is no left term.
        {{Fn(L"f", 7), T(TK_ADD), Int(1)}, L"Phase_IsTermLeft 左側に項が存在しないか不正な式です[+]"},
        {{Int(1), Int(2)}, L"Phase_Expr 式に間違いがあります[整数値[2]]"},
        {{Var(L"x"), T(TK_BRACE_OPEN)}, L"Phase_Expr 式に間違いがあります[{]"},
        {{Tok(TK_UNKNOWN_WORD, L"w")}, L"Phase_Term 式として認識できないトークンです[不明文字列 String:w]"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(GxString::ToUtf8(c.m_Expect));
        const Parsed p = Parse(c.m_Line);
        EXPECT_FALSE(p.m_Ok);
        ASSERT_FALSE(p.m_Errors.empty());
        EXPECT_EQ(p.m_Errors[0], L"err:[Script=\"t\"/line=1] " + c.m_Expect);
    }
}

TEST(GxMoaParser, TerminatorsEndTheExpressionUnconsumedAndABreakpointIsAnEmptyOperand)
{
    for (uint16_t k : {TK_SEMICOLON, TK_COMMA, TK_BRACE_CLOSE, TK_BRACKET_CLOSE, TK_PAREN_CLOSE})
    {
        const Parsed p = Parse({Var(L"x"), Tok(k), Int(5)});
        EXPECT_TRUE(p.m_Ok);
        EXPECT_EQ(p.m_List, L"PUSH_VAR x");
        EXPECT_EQ(p.m_End, GxMoaRunPos(0, 1));
    }

    const Parsed p = Parse({Tok(TK_BREAKPOINT)});
    EXPECT_TRUE(p.m_Ok);
    EXPECT_TRUE(p.m_Breakpoint);
    EXPECT_EQ(p.m_List, L"");
}

TEST(GxMoaParser, DeepNestingIsRefusedNotOverflowed)
{
    std::vector<GxMoaToken> line(100000, Tok(TK_PAREN_OPEN));
    const Parsed p = Parse(line);
    EXPECT_FALSE(p.m_Ok);
    ASSERT_EQ(p.m_Errors.size(), 1u);
    std::vector<GxMoaToken> minus(100000, Tok(TK_UNARY_MINUS));
    minus.push_back(Int(1));
    EXPECT_FALSE(Parse(minus).m_Ok);
}
