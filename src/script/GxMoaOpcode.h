#pragma once
// Operation codes of the expression machine's opcode lists, and their names.

#include <cstdint>

enum GxMoaOpcode : int32_t
{
    OPC_NONE = 0,
    OPC_SEPARATOR = 1,
    OPC_PUSH_INT = 2,
    OPC_PUSH_FLT = 3,
    OPC_PUSH_STR = 4,
    OPC_PUSH_NULL = 5,
    OPC_PUSH_VAR = 6,
    OPC_PUSH_VARARY = 7,
    OPC_ALTER_VAR = 8,
    OPC_ALTER_VARARY = 9,
    OPC_CALL_BUILTIN = 10,
    OPC_ELEMENT = 11,
    OPC_ELEMENTNUM = 12,
    OPC_ARRAYINIT = 13,
    OPC_ARRAYINDEX = 14,
    OPC_EQ = 15,
    OPC_NE = 16,
    OPC_GT = 17,
    OPC_GE = 18,
    OPC_LT = 19,
    OPC_LE = 20,
    OPC_ADD = 21,
    OPC_CONCAT = 22,
    OPC_SUB = 23,
    OPC_MUL = 24,
    OPC_DIV = 25,
    OPC_MOD = 26,
    OPC_UNARY_PLUS = 27,
    OPC_UNARY_MINUS = 28,
    OPC_BIT_AND = 29,
    OPC_BIT_OR = 30,
    OPC_BIT_XOR = 31,
    OPC_BIT_NOT = 32,
    OPC_SHL = 33,
    OPC_SHR = 34,
    OPC_NOT = 35,
    OPC_AND = 36,
    OPC_OR = 37,
    OPC_PRE_INC = 38,
    OPC_PRE_DEC = 39,
    OPC_POST_INC = 40,
    OPC_POST_DEC = 41,
    OPC_ASSIGN = 42,
    OPC_ADD_ASSIGN = 43,
    OPC_CONCAT_ASSIGN = 44,
    OPC_SUB_ASSIGN = 45,
    OPC_MUL_ASSIGN = 46,
    OPC_DIV_ASSIGN = 47,
    OPC_MOD_ASSIGN = 48,
    OPC_AND_ASSIGN = 49,
    OPC_OR_ASSIGN = 50,
    OPC_XOR_ASSIGN = 51,
    OPC_LAST = 51,
};

class GxMoaOpcodeName
{
public:
    // The opcode's name; "ERROR" for any number outside 0 to 51.
    static const wchar_t* Get(int64_t opcode);
};
