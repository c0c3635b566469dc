#pragma once
// The expression parser: turns the tokens of one expression, from a position in a script line, into a
// postfix opcode list for the expression machine. One operation per precedence level, loosest first:
// Phase_Expr, Phase_LogicalOp, Phase_BitOp, Phase_CompEqNeOp, Phase_CompLeGeOp, Phase_BitShiftOp,
// Phase_AddOp, Phase_MulOp, Phase_SingleOp, Phase_Term.
//
// Every operation reads and advances the cursor in place, appends to the list and returns true on
// success, leaving the cursor on the first token after its construct. On failure the error has been
// reported through the script's runtime and the list holds a partial result the caller drops.

#include "script/GxMoaRunPos.h"
#include "script/GxMoaVariable.h"

#include <cstdint>
#include <vector>

class GxMoaScript;
class GxMoaToken;

using GxMoaOpcodeList = std::vector<GxMoaVariable>;

class GxMoaParser
{
public:
    static bool Phase_Expr(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_LogicalOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_BitOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_CompEqNeOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_CompLeGeOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_BitShiftOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_AddOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_MulOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_SingleOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    static bool Phase_Term(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    // An assignment operator (the cursor on it) and its right side; appends the assignment opcode.
    static bool Phase_AssignOp(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    // An element list, the cursor after its opening bracket; ends with ELEMENTNUM and the count and
    // leaves the closing ")" or "]" unconsumed.
    static bool Phase_Element(const GxMoaScript& script, GxMoaRunPos& pos, GxMoaOpcodeList& list);
    // Consumes one token of the kind, or reports the kind that was expected.
    static bool Phase_Skip(const GxMoaScript& script, GxMoaRunPos& pos, uint16_t kind);

    // Operand checks at the operator under the cursor.
    static bool Phase_IsTermLeft(const GxMoaScript& script, const GxMoaRunPos& pos);
    static bool Phase_IsTermRight(const GxMoaScript& script, const GxMoaRunPos& pos);
    static bool Phase_IsTermBoth(const GxMoaScript& script, const GxMoaRunPos& pos);

    // Reports "<message>[<token text>]" through the script's runtime at the cursor.
    static void Phase_Error(const GxMoaScript& script, const GxMoaRunPos& pos, const wchar_t* message);

    static void Phase_PushOpcode(GxMoaOpcodeList& list, int32_t opcode);
    static void Phase_PushInt(GxMoaOpcodeList& list, int64_t value);
    static void Phase_PushStr(GxMoaOpcodeList& list, const std::wstring& text);

    // Nesting bound: brackets and prefix operators deeper than this are refused rather than allowed
    // to exhaust the native stack on a hostile line.
    static constexpr int kMaxDepth = 256;
};
