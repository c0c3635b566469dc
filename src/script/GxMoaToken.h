#pragma once
// One token of a compiled script line: kind, scope, an integer (a literal, a builtin index, the bits
// of a float literal or a block code), an optional text and optionally four jump positions.

#include "script/GxMoaRunPos.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;

// Token kinds; the names are those of GxMoaToken::KindName.
enum GxMoaTokenKind : uint16_t
{
    TK_UNDEFINED = 0,
    TK_BUILTIN = 1,
    TK_UNKNOWN_WORD = 2,
    TK_INT = 3,
    TK_FLOAT = 4,
    TK_STRING = 5,
    TK_NULL = 6,
    TK_LABEL = 7,
    TK_TEXT = 8,
    TK_VARIABLE = 9,
    TK_ARRAY_VARIABLE = 10,
    TK_REF_VARIABLE = 11,
    TK_REF_ARRAY_VARIABLE = 12,
    TK_ARRAY = 13,
    TK_COMMAND_START = 14,
    TK_BREAKPOINT = 15,
    TK_HEREDOC_END = 16,
    TK_SCRIPT_END = 17,
    TK_DEFINE = 18,
    TK_BUILTIN_DECL = 19,
    TK_STATEMENT_SIGN = 20,
    TK_STATIC = 21,
    TK_GLOBAL = 22,
    TK_EXTERN = 23,
    TK_NOSAVE = 24,
    TK_INGAME = 25,
    TK_PERMAN = 26,
    TK_IF = 27,
    TK_ELSE = 28,
    TK_WHILE = 29,
    TK_FOR = 30,
    TK_DO = 31,
    TK_CONTINUE = 32,
    TK_BREAK = 33,
    TK_SEMICOLON = 34,
    TK_COMMA = 35,
    TK_BRACE_OPEN = 36,
    TK_BRACE_CLOSE = 37,
    TK_BRACKET_OPEN = 38,
    TK_BRACKET_CLOSE = 39,
    TK_PAREN_OPEN = 40,
    TK_PAREN_CLOSE = 41,
    TK_EQ = 42,
    TK_NE = 43,
    TK_GT = 44,
    TK_GE = 45,
    TK_LT = 46,
    TK_LE = 47,
    TK_ADD = 48,
    TK_CONCAT = 49,
    TK_SUB = 50,
    TK_MUL = 51,
    TK_DIV = 52,
    TK_MOD = 53,
    TK_UNARY_PLUS = 54,
    TK_UNARY_MINUS = 55,
    TK_BIT_AND = 56,
    TK_BIT_OR = 57,
    TK_BIT_XOR = 58,
    TK_BIT_NOT = 59,
    TK_SHL = 60,
    TK_SHR = 61,
    TK_NOT = 62,
    TK_AND = 63,
    TK_OR = 64,
    TK_PRE_INC = 65,
    TK_PRE_DEC = 66,
    TK_POST_INC = 67,
    TK_POST_DEC = 68,
    TK_ASSIGN = 69,
    TK_ADD_ASSIGN = 70,
    TK_CONCAT_ASSIGN = 71,
    TK_SUB_ASSIGN = 72,
    TK_MUL_ASSIGN = 73,
    TK_DIV_ASSIGN = 74,
    TK_MOD_ASSIGN = 75,
    TK_AND_ASSIGN = 76,
    TK_OR_ASSIGN = 77,
    TK_XOR_ASSIGN = 78,
    TK_QUESTION = 79,
};

// Block codes carried by a "}" token in its integer.
enum GxMoaBlockCode : int64_t
{
    BLOCK_CODE_IF = 3,
    BLOCK_CODE_ELSE = 4,
};

class GxMoaToken
{
public:
    static constexpr int kJumpPosCount = 4;

    GxMoaToken() = default;
    GxMoaToken(uint16_t kind, uint16_t scope = 0, int64_t value = 0) : m_Kind(kind), m_Scope(scope), m_Int(value) {}
    GxMoaToken(const GxMoaToken& other);
    GxMoaToken& operator=(const GxMoaToken& other);
    GxMoaToken(GxMoaToken&&) noexcept = default;
    GxMoaToken& operator=(GxMoaToken&&) noexcept = default;

    bool Write(GxContentWriterBase* writer) const;
    bool Read(GxContentReaderBase* reader);

    void Clear();
    void SetStr(const std::wstring& text) { m_Str = text; }
    void ClearStr() { m_Str.reset(); }
    bool HasStr() const { return m_Str.has_value(); }
    // An absent text reads as empty.
    const std::wstring& GetStr() const;

    bool HasJumpPos() const { return m_JumpPos != nullptr; }
    // Sets jump position i (0 to 3); the token then carries all four (the others line 0, pos -1).
    void SetJumpPos(int i, const GxMoaRunPos& pos);
    // A copy of position i, or line 0 / pos -1 when the token carries none.
    GxMoaRunPos GetJumpPos(int i) const;
    int32_t GetJumpLine(int i) const { return GetJumpPos(i).m_Line; }

    double GetFloat() const;
    void SetFloat(double value);

    // Message text of the token: its description, then " String:" and its text when it has one.
    std::wstring ToString() const;
    static const wchar_t* KindName(uint32_t kind);

    uint16_t m_Kind = TK_SCRIPT_END;
    uint16_t m_Scope = 0;
    int64_t m_Int = 0;

private:
    std::optional<std::wstring> m_Str;
    std::unique_ptr<std::array<GxMoaRunPos, kJumpPosCount>> m_JumpPos;
};
