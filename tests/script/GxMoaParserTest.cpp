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

std::wstring Golden(const std::vector<GxMoaToken>& line)
{
    const Parsed p = Parse(line);
    EXPECT_TRUE(p.m_Ok) << (p.m_Errors.empty() ? std::string() : GxString::ToUtf8(p.m_Errors[0]));
    return p.m_List;
}

std::wstring FirstError(const std::vector<GxMoaToken>& line)
{
    const Parsed p = Parse(line);
    EXPECT_FALSE(p.m_Ok);
    return p.m_Errors.empty() ? L"" : p.m_Errors[0];
}
} // namespace

TEST(GxMoaParser, AssignmentComesAfterItsRightSide)
{
    EXPECT_EQ(Golden({Var(L"x"), Tok(TK_ASSIGN), Int(1), Tok(TK_ADD), Int(2)}),
              L"PUSH_INT 1 PUSH_INT 2 + = OPC_ALTER_VAR x");
    EXPECT_EQ(
        Golden({AryVar(L"a"), Tok(TK_BRACKET_OPEN), Int(2), Tok(TK_BRACKET_CLOSE), Tok(TK_ADD_ASSIGN), Var(L"v")}),
        L"PUSH_INT 2 PUSH_VAR v += OPC_ALTER_VARARY a");
    // Chains to the right: b is assigned first.
    EXPECT_EQ(Golden({Var(L"a"), Tok(TK_ASSIGN), Var(L"b"), Tok(TK_ASSIGN), Int(1)}),
              L"PUSH_INT 1 = OPC_ALTER_VAR b = OPC_ALTER_VAR a");
    // Every assignment token maps to its opcode in order.
    const wchar_t* names[] = {L"=", L"+=", L":=", L"-=", L"*=", L"/=", L"%=", L"&=", L"|=", L"^="};
    for (uint16_t k = TK_ASSIGN; k <= TK_XOR_ASSIGN; ++k)
        EXPECT_EQ(Golden({Var(L"x"), Tok(k), Int(3)}),
                  std::wstring(L"PUSH_INT 3 ") + names[k - TK_ASSIGN] + L" OPC_ALTER_VAR x");
}

TEST(GxMoaParser, PostfixStepsAndRefusedPrefixSteps)
{
    EXPECT_EQ(Golden({Var(L"x"), Tok(TK_POST_INC)}), L"単項++ OPC_ALTER_VAR x");
    EXPECT_EQ(Golden({AryVar(L"a"), Tok(TK_BRACKET_OPEN), Var(L"i"), Tok(TK_BRACKET_CLOSE), Tok(TK_POST_DEC)}),
              L"PUSH_VAR i 単項-- OPC_ALTER_VARARY a");
    EXPECT_EQ(FirstError({Tok(TK_PRE_INC), Var(L"x")}),
              L"err:[Script=\"t\"/line=1] Phase_Term 式として認識できないトークンです[++単項]");
}

TEST(GxMoaParser, BuiltinCallsWithAndWithoutBrackets)
{
    EXPECT_EQ(Golden({Fn(L"f", 7), Tok(TK_PAREN_OPEN), Int(1), Tok(TK_COMMA), Int(2), Tok(TK_PAREN_CLOSE)}),
              L"PUSH_INT 1 PUSH_INT 2 ELEMENTNUM 2 CALL_BUILTIN 7 f");
    EXPECT_EQ(Golden({Fn(L"f", 7)}), L"ELEMENTNUM 0 CALL_BUILTIN 7 f");
    EXPECT_EQ(Golden({Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE)}), L"ELEMENTNUM 0 CALL_BUILTIN 7 f");
}

TEST(GxMoaParser, BracketlessCallLeavesTheEnclosingBracketAlone)
{
    // (f) + 1: the ")" closes the bracketed expression, not the call.
    const Parsed p = Parse({Tok(TK_PAREN_OPEN), Fn(L"f", 7), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(1)});
    EXPECT_TRUE(p.m_Ok);
    EXPECT_EQ(p.m_List, L"ELEMENTNUM 0 CALL_BUILTIN 7 f PUSH_INT 1 +");
    // g(f): the argument list keeps its own ")".
    EXPECT_EQ(Golden({Fn(L"g", 8), Tok(TK_PAREN_OPEN), Fn(L"f", 7), Tok(TK_PAREN_CLOSE)}),
              L"ELEMENTNUM 0 CALL_BUILTIN 7 f ELEMENTNUM 1 CALL_BUILTIN 8 g");
}

TEST(GxMoaParser, ElementListsFillEmptySlotsWithNull)
{
    auto call = [](std::vector<GxMoaToken> args)
    {
        std::vector<GxMoaToken> line{Fn(L"f", 7), Tok(TK_PAREN_OPEN)};
        line.insert(line.end(), args.begin(), args.end());
        line.push_back(Tok(TK_PAREN_CLOSE));
        return Golden(line);
    };
    EXPECT_EQ(call({Var(L"a"), Tok(TK_COMMA)}), L"PUSH_VAR a PUSH_NULL ELEMENTNUM 2 CALL_BUILTIN 7 f");
    EXPECT_EQ(call({Tok(TK_COMMA), Var(L"b")}), L"PUSH_NULL PUSH_VAR b ELEMENTNUM 2 CALL_BUILTIN 7 f");
    EXPECT_EQ(call({Var(L"a"), Tok(TK_COMMA), Tok(TK_COMMA), Var(L"b")}),
              L"PUSH_VAR a PUSH_NULL PUSH_VAR b ELEMENTNUM 3 CALL_BUILTIN 7 f");
    EXPECT_EQ(Golden({Tok(TK_ARRAY), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE)}), L"ELEMENTNUM 0 ARRAYINIT");
    EXPECT_EQ(Golden({Tok(TK_ARRAY), Tok(TK_PAREN_OPEN), Int(1), Tok(TK_COMMA), Str(L"s"), Tok(TK_PAREN_CLOSE)}),
              L"PUSH_INT 1 PUSH_STR s ELEMENTNUM 2 ARRAYINIT");
    EXPECT_EQ(FirstError({Fn(L"f", 7), Tok(TK_PAREN_OPEN), Int(1), Tok(TK_SEMICOLON)}),
              L"err:[Script=\"t\"/line=1] Phase_Element 式に予期しない記号を見つけました。式が間違っています[;]");
}

TEST(GxMoaParser, ArrayIndexIsExactlyOneTerm)
{
    EXPECT_EQ(FirstError({AryVar(L"a"), Tok(TK_BRACKET_OPEN), Var(L"i"), Tok(TK_ADD), Int(1), Tok(TK_BRACKET_CLOSE)}),
              L"err:[Script=\"t\"/line=1] Phase_Skip 次に来るべき記号 ] がありません[+]");
    EXPECT_EQ(Golden({AryVar(L"a"), Tok(TK_BRACKET_OPEN), Tok(TK_PAREN_OPEN), Var(L"i"), Tok(TK_ADD), Int(1),
                      Tok(TK_PAREN_CLOSE), Tok(TK_BRACKET_CLOSE)}),
              L"PUSH_VAR i PUSH_INT 1 + PUSH_VARARY a");
    EXPECT_EQ(FirstError({Tok(TK_BRACKET_OPEN), Int(1), Tok(TK_BRACKET_CLOSE)}),
              L"err:[Script=\"t\"/line=1] Phase_Term []演算子の前に配列変数名がありません[[]");
}

TEST(GxMoaParser, PrecedenceLevelsAndLeftAssociation)
{
    EXPECT_EQ(Golden({Var(L"a"), Tok(TK_EQ), Var(L"b"), Tok(TK_BIT_AND), Var(L"c")}),
              L"PUSH_VAR a PUSH_VAR b == PUSH_VAR c &");
    EXPECT_EQ(Golden({Var(L"a"), Tok(TK_AND), Var(L"b"), Tok(TK_OR), Var(L"c")}),
              L"PUSH_VAR a PUSH_VAR b && PUSH_VAR c ||");
    EXPECT_EQ(Golden({Var(L"a"), Tok(TK_LT), Var(L"b"), Tok(TK_LT), Var(L"c")}),
              L"PUSH_VAR a PUSH_VAR b < PUSH_VAR c <");
    EXPECT_EQ(Golden({Int(1), Tok(TK_ADD), Int(2), Tok(TK_MUL), Int(3), Tok(TK_SHL), Int(4)}),
              L"PUSH_INT 1 PUSH_INT 2 PUSH_INT 3 * + PUSH_INT 4 <<");
    EXPECT_EQ(Golden({Int(8), Tok(TK_SUB), Int(2), Tok(TK_CONCAT), Int(1)}), L"PUSH_INT 8 PUSH_INT 2 - PUSH_INT 1 :");
    EXPECT_EQ(Golden({Int(1), Tok(TK_NE), Int(2), Tok(TK_BIT_XOR), Int(3), Tok(TK_BIT_OR), Int(4)}),
              L"PUSH_INT 1 PUSH_INT 2 != PUSH_INT 3 ^ PUSH_INT 4 |");
    EXPECT_EQ(Golden({Int(9), Tok(TK_MOD), Int(4), Tok(TK_DIV), Int(2), Tok(TK_GE), Int(0), Tok(TK_SHR), Int(1)}),
              L"PUSH_INT 9 PUSH_INT 4 % PUSH_INT 2 / PUSH_INT 0 PUSH_INT 1 >> >=");
}

TEST(GxMoaParser, PrefixOperatorsNestAndOperandChecksRefuseGaps)
{
    EXPECT_EQ(Golden({Tok(TK_UNARY_MINUS), Tok(TK_BIT_NOT), Var(L"x")}), L"PUSH_VAR x 単項~ 単項-");
    EXPECT_EQ(Golden({Tok(TK_NOT), Tok(TK_UNARY_PLUS), Flt(2.5)}), L"PUSH_FLT 2.500000 単項+ 単項!");
    EXPECT_EQ(FirstError({Int(1), Tok(TK_ADD), Tok(TK_ADD), Int(2)}),
              L"err:[Script=\"t\"/line=1] Phase_IsTermRight 右側に項が存在しないか不正な式です[+]");
    EXPECT_EQ(FirstError({Tok(TK_MUL), Int(2)}),
              L"err:[Script=\"t\"/line=1] Phase_Term 式として認識できないトークンです[*]");
}

TEST(GxMoaParser, LeftOperandCheck)
{
    // "ARRAY(...) + 1": the ")" before the operator is a left term; "f + 1" after a bracketless call
    // is not, because a builtin name is no left term.
    EXPECT_TRUE(Parse({Tok(TK_ARRAY), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(1)}).m_Ok);
    EXPECT_EQ(FirstError({Fn(L"f", 7), Tok(TK_ADD), Int(1)}),
              L"err:[Script=\"t\"/line=1] Phase_IsTermLeft 左側に項が存在しないか不正な式です[+]");
}

TEST(GxMoaParser, TerminatorsEndTheExpressionUnconsumed)
{
    for (uint16_t k : {TK_SEMICOLON, TK_COMMA, TK_BRACE_CLOSE, TK_BRACKET_CLOSE, TK_PAREN_CLOSE})
    {
        const Parsed p = Parse({Var(L"x"), Tok(k), Int(5)});
        EXPECT_TRUE(p.m_Ok);
        EXPECT_EQ(p.m_List, L"PUSH_VAR x");
        EXPECT_EQ(p.m_End, GxMoaRunPos(0, 1));
    }
    const Parsed only = Parse({Tok(TK_SEMICOLON)});
    EXPECT_TRUE(only.m_Ok);
    EXPECT_EQ(only.m_List, L"");
    EXPECT_TRUE(Parse({}).m_Ok);
    EXPECT_EQ(FirstError({Int(1), Int(2)}), L"err:[Script=\"t\"/line=1] Phase_Expr 式に間違いがあります[整数値[2]]");
    EXPECT_EQ(FirstError({Var(L"x"), Tok(TK_BRACE_OPEN)}),
              L"err:[Script=\"t\"/line=1] Phase_Expr 式に間違いがあります[{]");
}

TEST(GxMoaParser, LiteralsAndBreakpoint)
{
    EXPECT_EQ(Golden({Str(L"ab"), Tok(TK_CONCAT), Tok(TK_NULL)}), L"PUSH_STR ab PUSH_NULL :");
    // A breakpoint is an empty operand that raises the runtime's flag.
    const Parsed p = Parse({Tok(TK_BREAKPOINT)});
    EXPECT_TRUE(p.m_Ok);
    EXPECT_TRUE(p.m_Breakpoint);
    EXPECT_EQ(p.m_List, L"");
    EXPECT_EQ(FirstError({Tok(TK_UNKNOWN_WORD, L"w")}),
              L"err:[Script=\"t\"/line=1] Phase_Term 式として認識できないトークンです[不明文字列 String:w]");
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
