#include "MoaBuilder.h"

#include "MoaExpressionCheck.h"

#include "core/GxString.h"
#include "script/GxMoaBuiltinTable.h"
#include "script/GxMoaScope.h"

#include <charconv>
#include <cstring>
#include <memory>

// ---------------------------------------------------------------------------------------------------
// Lexing
// ---------------------------------------------------------------------------------------------------

struct MoaBuilder::Lexeme
{
    enum Type
    {
        VAR,
        ARRAY_VAR,
        IDENT,
        INT,
        FLOAT,
        STRING,
        OP,
    };
    Type m_Type;
    std::wstring m_Text;
    int64_t m_Int = 0;
    double m_Float = 0.0;
    uint16_t m_Kind = 0; // operators: the token kind (the binary or prefix form where it depends on use)

    bool IsOp(uint16_t kind) const { return m_Type == OP && m_Kind == kind; }
    bool IsIdent(const wchar_t* word) const { return m_Type == IDENT && m_Text == word; }
};

namespace
{
std::string Utf8(const std::wstring& text)
{
    return GxString::ToUtf8(text);
}

bool IsNameChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
           static_cast<uint32_t>(c) >= 0x80;
}

// Layer names may be Japanese ("立ち絵.alpha(1)"): anything beyond ASCII may start a word.
bool IsIdentStart(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || static_cast<uint32_t>(c) >= 0x80;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

struct OpSpelling
{
    const wchar_t* m_Text;
    uint16_t m_Kind;
};

// Two-character operators first, so the longest spelling wins.
const OpSpelling s_Ops[] = {
    {L"==", TK_EQ},
    {L"!=", TK_NE},
    {L">=", TK_GE},
    {L"<=", TK_LE},
    {L"<<", TK_SHL},
    {L">>", TK_SHR},
    {L"&&", TK_AND},
    {L"||", TK_OR},
    {L"++", TK_PRE_INC},
    {L"--", TK_PRE_DEC},
    {L"+=", TK_ADD_ASSIGN},
    {L"-=", TK_SUB_ASSIGN},
    {L"*=", TK_MUL_ASSIGN},
    {L"/=", TK_DIV_ASSIGN},
    {L"%=", TK_MOD_ASSIGN},
    {L"&=", TK_AND_ASSIGN},
    {L"|=", TK_OR_ASSIGN},
    {L"^=", TK_XOR_ASSIGN},
    {L":=", TK_CONCAT_ASSIGN},
    {L">", TK_GT},
    {L"<", TK_LT},
    {L"+", TK_ADD},
    {L":", TK_CONCAT},
    {L"-", TK_SUB},
    {L"*", TK_MUL},
    {L"/", TK_DIV},
    {L"%", TK_MOD},
    {L"&", TK_BIT_AND},
    {L"|", TK_BIT_OR},
    {L"^", TK_BIT_XOR},
    {L"~", TK_BIT_NOT},
    {L"!", TK_NOT},
    {L"=", TK_ASSIGN},
    {L"?", TK_QUESTION},
    {L";", TK_SEMICOLON},
    {L",", TK_COMMA},
    {L"{", TK_BRACE_OPEN},
    {L"}", TK_BRACE_CLOSE},
    {L"[", TK_BRACKET_OPEN},
    {L"]", TK_BRACKET_CLOSE},
    {L"(", TK_PAREN_OPEN},
    {L")", TK_PAREN_CLOSE},
};

std::wstring AsciiLower(std::wstring text)
{
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

// Decodes UTF-8 (a leading byte-order mark is dropped); false at the first malformed sequence, with
// the 1-based line it stands on.
bool DecodeUtf8(const std::string& in, std::wstring& out, int& badLine)
{
    size_t i = 0;
    if (in.size() >= 3 && static_cast<uint8_t>(in[0]) == 0xEF && static_cast<uint8_t>(in[1]) == 0xBB &&
        static_cast<uint8_t>(in[2]) == 0xBF)
        i = 3;
    int line = 1;
    out.clear();
    while (i < in.size())
    {
        const uint8_t c = static_cast<uint8_t>(in[i]);
        uint32_t cp;
        int extra;
        if (c < 0x80)
            cp = c, extra = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            cp = c & 0x1F, extra = 1;
        else if ((c & 0xF0) == 0xE0)
            cp = c & 0x0F, extra = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            cp = c & 0x07, extra = 3;
        else
        {
            badLine = line;
            return false;
        }
        if (extra > 0 && i + static_cast<size_t>(extra) >= in.size())
        {
            badLine = line;
            return false;
        }
        for (int k = 1; k <= extra; ++k)
        {
            const uint8_t cc = static_cast<uint8_t>(in[i + k]);
            if ((cc & 0xC0) != 0x80)
            {
                badLine = line;
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
        {
            badLine = line;
            return false;
        }
        if (cp == L'\n')
            ++line;
        out.push_back(static_cast<wchar_t>(cp));
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}
} // namespace

void MoaBuilder::Error(int32_t line, const std::string& message)
{
    ++m_ErrorCount;
    m_Messages.push_back(m_File + ":" + std::to_string(line + 1) + ": error: " + message);
}

void MoaBuilder::Warning(const std::string& file, int32_t line, const std::string& message)
{
    ++m_WarningCount;
    m_Messages.push_back(file + ":" + std::to_string(line + 1) + ": warning: " + message);
}

bool MoaBuilder::Lex(const std::wstring& text, int32_t line, std::vector<Lexeme>& out)
{
    const size_t n = text.size();
    size_t i = 0;
    while (i < n)
    {
        const wchar_t c = text[i];
        if (IsBlank(c))
        {
            ++i;
            continue;
        }
        if (c == L'/' && i + 1 < n && text[i + 1] == L'/')
            break;
        Lexeme lex{Lexeme::OP, L""};
        if (c == L'$')
        {
            size_t j = i + 1;
            while (j < n && IsNameChar(text[j]))
                ++j;
            if (j == i + 1)
            {
                Error(line, "a variable name must follow $");
                return false;
            }
            lex.m_Text = text.substr(i + 1, j - i - 1);
            lex.m_Type = (j < n && text[j] == L'[') ? Lexeme::ARRAY_VAR : Lexeme::VAR;
            i = j;
        }
        else if (IsIdentStart(c))
        {
            size_t j = i + 1;
            while (j < n && (IsIdentStart(text[j]) || (text[j] >= L'0' && text[j] <= L'9') || text[j] == L'.'))
                ++j;
            lex.m_Type = Lexeme::IDENT;
            lex.m_Text = text.substr(i, j - i);
            i = j;
        }
        else if ((c >= L'0' && c <= L'9') || (c == L'.' && i + 1 < n && text[i + 1] >= L'0' && text[i + 1] <= L'9'))
        {
            size_t j = i;
            std::string ascii;
            bool isFloat = false;
            int base = 10;
            if (c == L'0' && i + 1 < n && (text[i + 1] == L'x' || text[i + 1] == L'X'))
            {
                base = 16;
                j = i + 2;
                while (j < n && iswxdigit(text[j]))
                    ascii.push_back(static_cast<char>(text[j++]));
            }
            else
            {
                while (j < n &&
                       ((text[j] >= L'0' && text[j] <= L'9') || text[j] == L'.' || text[j] == L'e' || text[j] == L'E' ||
                        ((text[j] == L'+' || text[j] == L'-') && !ascii.empty() &&
                         (ascii.back() == 'e' || ascii.back() == 'E'))))
                {
                    if (text[j] == L'.' || text[j] == L'e' || text[j] == L'E')
                        isFloat = true;
                    ascii.push_back(static_cast<char>(text[j++]));
                }
            }
            if (j < n && IsNameChar(text[j]))
            {
                Error(line, "malformed number '" + Utf8(text.substr(i, j - i + 1)) + "'");
                return false;
            }
            const char* first = ascii.data();
            const char* last = ascii.data() + ascii.size();
            std::from_chars_result res{};
            if (isFloat)
            {
                lex.m_Type = Lexeme::FLOAT;
                res = std::from_chars(first, last, lex.m_Float, std::chars_format::general);
            }
            else
            {
                lex.m_Type = Lexeme::INT;
                uint64_t u = 0;
                res = std::from_chars(first, last, u, base);
                // Decimal literals stop at the largest positive value; hexadecimal ones may spell any
                // 64-bit pattern.
                if (res.ec == std::errc() && base == 10 && u > static_cast<uint64_t>(INT64_MAX))
                    res.ec = std::errc::result_out_of_range;
                lex.m_Int = static_cast<int64_t>(u);
            }
            if (ascii.empty() || res.ec != std::errc() || res.ptr != last)
            {
                Error(line, "malformed or out-of-range number '" + Utf8(text.substr(i, j - i)) + "'");
                return false;
            }
            i = j;
        }
        else if (c == L'"')
        {
            size_t j = i + 1;
            bool closed = false;
            while (j < n)
            {
                wchar_t d = text[j++];
                if (d == L'"')
                {
                    closed = true;
                    break;
                }
                if (d == L'\\' && j < n)
                {
                    d = text[j++];
                    d = d == L'n' ? L'\n' : d == L't' ? L'\t' : d == L'r' ? L'\r' : d;
                }
                lex.m_Text.push_back(d);
            }
            if (!closed)
            {
                Error(line, "a string is not closed");
                return false;
            }
            lex.m_Type = Lexeme::STRING;
            i = j;
        }
        else
        {
            bool found = false;
            for (const OpSpelling& op : s_Ops)
            {
                const size_t len = std::wcslen(op.m_Text);
                if (text.compare(i, len, op.m_Text) == 0)
                {
                    lex.m_Type = Lexeme::OP;
                    lex.m_Text = op.m_Text;
                    lex.m_Kind = op.m_Kind;
                    i += len;
                    found = true;
                    break;
                }
            }
            if (!found)
            {
                Error(line, "unexpected character '" + Utf8(std::wstring(1, c)) + "'");
                return false;
            }
        }
        out.push_back(std::move(lex));
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Statements
// ---------------------------------------------------------------------------------------------------

bool MoaBuilder::UseBuiltin(const std::wstring& name, int32_t line)
{
    const GxMoaBuiltinTableEntry* entry = GxMoaBuiltinTable::Find(name);
    if (!entry)
    {
        Error(line, "unknown builtin '" + Utf8(name) + "'");
        return false;
    }
    if (!m_Moa.FindBuiltinDefinition(name))
    {
        GxMoaBuiltinDefinition def;
        def.m_Name = name;
        def.m_BuiltinIndex = entry->m_Index;
        m_Moa.AddBuiltinDefinition(def);
    }
    return true;
}

bool MoaBuilder::EmitExpression(const std::vector<Lexeme>& lex, size_t begin, size_t end, int32_t line,
                                std::vector<GxMoaToken>& out)
{
    bool operandEnds = false; // the previous token ends an operand (decides unary or binary, prefix or postfix)
    int depth = 0;
    for (size_t i = begin; i < end; ++i)
    {
        const Lexeme& l = lex[i];
        switch (l.m_Type)
        {
        case Lexeme::VAR:
        case Lexeme::ARRAY_VAR:
        {
            GxMoaToken t(l.m_Type == Lexeme::VAR ? TK_VARIABLE : TK_ARRAY_VARIABLE);
            t.SetStr(l.m_Text);
            out.push_back(std::move(t));
            operandEnds = l.m_Type == Lexeme::VAR;
            break;
        }
        case Lexeme::INT:
            out.emplace_back(TK_INT, 0, l.m_Int);
            operandEnds = true;
            break;
        case Lexeme::FLOAT:
        {
            GxMoaToken t(TK_FLOAT);
            t.SetFloat(l.m_Float);
            out.push_back(std::move(t));
            operandEnds = true;
            break;
        }
        case Lexeme::STRING:
        {
            GxMoaToken t(TK_STRING);
            t.SetStr(l.m_Text);
            out.push_back(std::move(t));
            operandEnds = true;
            break;
        }
        case Lexeme::IDENT:
        {
            if (l.m_Text == L"null" || l.m_Text == L"NULL")
            {
                out.emplace_back(TK_NULL);
                operandEnds = true;
                break;
            }
            if (l.m_Text == L"array" || l.m_Text == L"ARRAY")
            {
                out.emplace_back(TK_ARRAY);
                operandEnds = false;
                break;
            }
            if (!GxMoaBuiltinTable::Find(l.m_Text))
            {
                Error(line, "'" + Utf8(l.m_Text) + "' is neither a builtin nor a word an expression may hold");
                return false;
            }
            if (!UseBuiltin(l.m_Text, line))
                return false;
            GxMoaToken t(TK_BUILTIN, 0, GxMoaBuiltinTable::FindIndex(l.m_Text));
            t.SetStr(l.m_Text);
            out.push_back(std::move(t));
            // A builtin call always carries its brackets.
            if (i + 1 >= end || !lex[i + 1].IsOp(TK_PAREN_OPEN))
            {
                out.emplace_back(TK_PAREN_OPEN);
                out.emplace_back(TK_PAREN_CLOSE);
                operandEnds = true;
            }
            else
                operandEnds = false;
            break;
        }
        case Lexeme::OP:
        {
            uint16_t kind = l.m_Kind;
            switch (kind)
            {
            case TK_ADD:
                kind = operandEnds ? TK_ADD : TK_UNARY_PLUS;
                break;
            case TK_SUB:
                kind = operandEnds ? TK_SUB : TK_UNARY_MINUS;
                break;
            case TK_PRE_INC:
                kind = operandEnds ? TK_POST_INC : TK_PRE_INC;
                break;
            case TK_PRE_DEC:
                kind = operandEnds ? TK_POST_DEC : TK_PRE_DEC;
                break;
            case TK_PAREN_OPEN:
            case TK_BRACKET_OPEN:
                ++depth;
                break;
            case TK_PAREN_CLOSE:
            case TK_BRACKET_CLOSE:
                if (--depth < 0)
                {
                    Error(line, "a closing bracket has no opening one");
                    return false;
                }
                break;
            case TK_SEMICOLON:
                Error(line, "statements end without ';'");
                return false;
            case TK_BRACE_OPEN:
            case TK_BRACE_CLOSE:
                Error(line, "a brace may only end an if, else or while line or stand alone");
                return false;
            default:
                break;
            }
            out.emplace_back(kind);
            operandEnds =
                kind == TK_PAREN_CLOSE || kind == TK_BRACKET_CLOSE || kind == TK_POST_INC || kind == TK_POST_DEC;
            break;
        }
        }
    }
    if (depth != 0)
    {
        Error(line, "brackets are not balanced");
        return false;
    }
    return true;
}

// "(" condition ")" starting at lex[i]; leaves i after the ")".
bool MoaBuilder::CompileCondition(const std::vector<Lexeme>& lex, size_t& i, int32_t line, std::vector<GxMoaToken>& out)
{
    if (i >= lex.size() || !lex[i].IsOp(TK_PAREN_OPEN))
    {
        Error(line, "a condition in brackets must follow if and while");
        return false;
    }
    int depth = 0;
    size_t close = i;
    for (; close < lex.size(); ++close)
    {
        if (lex[close].IsOp(TK_PAREN_OPEN))
            ++depth;
        else if (lex[close].IsOp(TK_PAREN_CLOSE) && --depth == 0)
            break;
    }
    if (close >= lex.size())
    {
        Error(line, "the condition's bracket is not closed");
        return false;
    }
    if (close == i + 1)
    {
        Error(line, "the condition is empty");
        return false;
    }
    const size_t first = out.size() + 1; // the runtime starts inside the bracket and stops on the ")"
    if (!EmitExpression(lex, i, close + 1, line, out))
        return false;
    std::string message;
    if (!MoaExpressionCheck::Check(out, first, out.size() - 1, message))
    {
        Error(line, message);
        return false;
    }
    i = close + 1;
    return true;
}

bool MoaBuilder::CompileDeclaration(const std::vector<Lexeme>& lex, int32_t line, std::vector<GxMoaToken>& out)
{
    size_t i = 0;
    int32_t base;
    if (lex[0].IsIdent(L"static"))
        base = SCOPE_STATIC_PERMAN, out.emplace_back(TK_STATIC);
    else if (lex[0].IsIdent(L"global"))
        base = SCOPE_GLOBAL_PERMAN, out.emplace_back(TK_GLOBAL);
    else
        base = SCOPE_EXTERN_PERMAN, out.emplace_back(TK_EXTERN);
    ++i;
    int32_t offset = 1; // INGAME unless a class is named
    if (i < lex.size() && lex[i].m_Type == Lexeme::IDENT)
    {
        if (lex[i].m_Text == L"perman")
            offset = 0, out.emplace_back(TK_PERMAN);
        else if (lex[i].m_Text == L"ingame")
            offset = 1, out.emplace_back(TK_INGAME);
        else if (lex[i].m_Text == L"nosave")
            offset = 2, out.emplace_back(TK_NOSAVE);
        else
        {
            Error(line, "the persistence class is perman, ingame or nosave, not '" + Utf8(lex[i].m_Text) + "'");
            return false;
        }
        ++i;
    }
    if (i >= lex.size() || (lex[i].m_Type != Lexeme::VAR && lex[i].m_Type != Lexeme::ARRAY_VAR))
    {
        Error(line, "a declaration names a $variable");
        return false;
    }
    GxMoaVariableDefinition def;
    def.m_Name = lex[i].m_Text;
    def.m_Scope = base + offset;
    def.m_ScriptName = m_pScript->m_ScriptName;
    def.m_Line = line;
    const bool isArray = lex[i].m_Type == Lexeme::ARRAY_VAR;
    ++i;
    if (isArray)
    {
        if (i + 2 >= lex.size() || !lex[i].IsOp(TK_BRACKET_OPEN) || lex[i + 1].m_Type != Lexeme::INT ||
            !lex[i + 2].IsOp(TK_BRACKET_CLOSE))
        {
            Error(line, "an array declaration gives its size as [number]");
            return false;
        }
        if (lex[i + 1].m_Int > GxMoaVariable::kMaxArraySize)
        {
            Error(line, "an array may hold at most " + std::to_string(GxMoaVariable::kMaxArraySize) + " elements");
            return false;
        }
        def.m_ArraySize = static_cast<int32_t>(lex[i + 1].m_Int);
        i += 3;
    }
    if (i < lex.size())
    {
        if (!lex[i].IsOp(TK_ASSIGN) || isArray)
        {
            Error(line, isArray ? "an array declaration takes no initial value" : "expected '=' and an initial value");
            return false;
        }
        ++i;
        bool negative = false;
        if (i < lex.size() && lex[i].IsOp(TK_SUB))
            negative = true, ++i;
        if (i + 1 != lex.size())
        {
            Error(line, "the initial value is one number, string or null");
            return false;
        }
        const Lexeme& v = lex[i];
        if (v.m_Type == Lexeme::INT)
            def.m_InitValue.SetInt(negative ? static_cast<int64_t>(0ull - static_cast<uint64_t>(v.m_Int)) : v.m_Int);
        else if (v.m_Type == Lexeme::FLOAT)
            def.m_InitValue.SetFloat(negative ? -v.m_Float : v.m_Float);
        else if (v.m_Type == Lexeme::STRING && !negative)
            def.m_InitValue.SetString(v.m_Text);
        else if (!(v.IsIdent(L"null") || v.IsIdent(L"NULL")) || negative)
        {
            Error(line, "the initial value is one number, string or null");
            return false;
        }
    }
    if (GxMoaScope::IsStatic(def.m_Scope))
    {
        if (m_pScript->FindVariableDefinition(def.m_Name))
        {
            Error(line, "$" + Utf8(def.m_Name) + " is declared twice in this script");
            return false;
        }
        m_pScript->m_VariableDefine.push_back(def);
    }
    else if (!m_Moa.AddVariableDefinition(def))
    {
        const GxMoaVariableDefinition* old = m_Moa.FindVariableDefinition(def.m_Name);
        Error(line, "$" + Utf8(def.m_Name) + " is already declared (script " + Utf8(old->m_ScriptName) + ", line " +
                        std::to_string(old->m_Line + 1) + ")");
        return false;
    }
    return true;
}

void MoaBuilder::NoteVariables(const std::vector<GxMoaToken>& tokens)
{
    ++m_LoopCheckSteps; // the outermost loop is known by its place: one block looked at
    if (m_OutermostLoop == std::string::npos)
        return;
    for (const GxMoaToken& t : tokens)
    {
        if (t.m_Kind == TK_VARIABLE || t.m_Kind == TK_ARRAY_VARIABLE)
        {
            ++m_LoopCheckSteps;
            m_LoopVariables.insert(t.GetStr());
        }
    }
}

bool MoaBuilder::CompileStatement(const std::wstring& text, int32_t line)
{
    std::vector<Lexeme> lex;
    if (!Lex(text, line, lex))
        return false;
    std::vector<GxMoaToken>& out = m_pScript->m_Lines[static_cast<size_t>(line)].m_Tokens;
    if (lex.empty())
    {
        Error(line, "an empty statement");
        return false;
    }
    const Lexeme& first = lex[0];
    auto openBlock = [&](int32_t code, std::wstring loopLabel, size_t i, bool plainElse = false)
    {
        if (i + 1 != lex.size() || !lex[i].IsOp(TK_BRACE_OPEN))
        {
            Error(line, "the line must end with '{'");
            return false;
        }
        Block b;
        b.m_Code = code;
        b.m_OpenPos = GxMoaRunPos(line, static_cast<int32_t>(out.size()));
        b.m_LoopLabel = std::move(loopLabel);
        b.m_LoopLine = line;
        b.m_PlainElse = plainElse;
        if (!b.m_LoopLabel.empty() && m_OutermostLoop == std::string::npos)
            m_OutermostLoop = m_Blocks.size();
        out.emplace_back(TK_BRACE_OPEN);
        // The "{" carries its matching "}" as position 0, filled in when the block closes.
        out.back().SetJumpPos(0, GxMoaRunPos(0, -1));
        m_Blocks.push_back(std::move(b));
        return true;
    };

    if (first.IsIdent(L"if") || first.IsIdent(L"while"))
    {
        std::wstring loopLabel;
        if (first.IsIdent(L"while"))
        {
            // A loop becomes a local label, an IF block and, before its "}", a jump back to the label.
            loopLabel = L"@__while" + std::to_wstring(line + 1);
            GxMoaLabelDefinition def;
            def.m_Name = loopLabel;
            def.m_Pos = GxMoaScriptPos(line, 0, m_pScript->m_ScriptName);
            if (!m_pScript->AddLabel(def))
            {
                Error(line, "the loop's label " + Utf8(loopLabel) + " is already taken");
                return false;
            }
            GxMoaToken label(TK_LABEL);
            label.SetStr(loopLabel);
            out.push_back(std::move(label));
        }
        out.emplace_back(TK_IF);
        // Position 1 of IF: the first token inside the condition's brackets.
        out.back().SetJumpPos(1, GxMoaRunPos(line, static_cast<int32_t>(out.size()) + 1));
        size_t i = 1;
        if (!CompileCondition(lex, i, line, out))
            return false;
        return openBlock(BLOCK_CODE_IF, loopLabel, i);
    }
    if (first.IsIdent(L"else"))
    {
        Error(line, "else follows the '}' of its block on the same line");
        return false;
    }
    if (first.IsIdent(L"for") || first.IsIdent(L"do") || first.IsIdent(L"continue") || first.IsIdent(L"break"))
    {
        Error(line, "'" + Utf8(first.m_Text) + "' is not available (use while, or a label and goto)");
        return false;
    }
    if (first.IsIdent(L"static") || first.IsIdent(L"global") || first.IsIdent(L"extern"))
        return CompileDeclaration(lex, line, out);

    if (first.IsOp(TK_BRACE_CLOSE))
    {
        if (m_Blocks.empty())
        {
            Error(line, "'}' closes no block");
            return false;
        }
        Block block = std::move(m_Blocks.back());
        m_Blocks.pop_back();
        if (block.m_Broken)
            return true; // its opening line has been reported
        if (!block.m_LoopLabel.empty())
        {
            GxMoaToken jump(TK_BUILTIN, 0, GxMoaBuiltinTable::FindIndex(L"goto"));
            jump.SetStr(L"goto");
            if (!UseBuiltin(L"goto", line))
                return false;
            out.push_back(std::move(jump));
            out.emplace_back(TK_PAREN_OPEN);
            GxMoaToken target(TK_STRING);
            target.SetStr(block.m_LoopLabel);
            out.push_back(std::move(target));
            out.emplace_back(TK_PAREN_CLOSE);
            if (m_Blocks.size() == m_OutermostLoop)
            {
                m_LoopChecks.push_back({m_File, block.m_LoopLine, m_pScript->m_ScriptName, std::move(m_LoopVariables)});
                m_LoopVariables.clear();
                m_OutermostLoop = std::string::npos;
            }
        }
        std::vector<GxMoaToken>& openLine = m_pScript->m_Lines[static_cast<size_t>(block.m_OpenPos.m_Line)].m_Tokens;
        openLine[static_cast<size_t>(block.m_OpenPos.m_Pos)].SetJumpPos(
            0, GxMoaRunPos(line, static_cast<int32_t>(out.size())));
        out.emplace_back(TK_BRACE_CLOSE, 0, block.m_Code);
        if (lex.size() == 1)
            return true;
        if (!lex[1].IsIdent(L"else"))
        {
            Error(line, "only else may follow '}' on its line");
            return false;
        }
        if (!block.m_LoopLabel.empty())
        {
            Error(line, "a while block takes no else");
            return false;
        }
        if (block.m_PlainElse)
        {
            Error(line, "an else without a condition ends its chain; no else may follow it");
            return false;
        }
        out.emplace_back(TK_ELSE);
        GxMoaToken& elseToken = out.back();
        size_t i = 2;
        if (i < lex.size() && lex[i].IsIdent(L"if"))
        {
            elseToken.SetJumpPos(1, GxMoaRunPos(line, static_cast<int32_t>(out.size()) + 1));
            ++i;
            if (!CompileCondition(lex, i, line, out))
                return false;
        }
        else
        {
            elseToken.SetJumpPos(1, GxMoaRunPos(-1, -1)); // a plain ELSE has no condition
            return openBlock(BLOCK_CODE_ELSE, L"", i, true);
        }
        return openBlock(BLOCK_CODE_ELSE, L"", i);
    }

    if (lex.size() == 1 && (first.IsIdent(L"endtext") || first.IsIdent(L"endstand")))
    {
        // The end word of a "text" or "stand" block: a bare builtin-name token that the block reader stops
        // on and steps over; it names no builtin and is never called.
        GxMoaToken end(TK_BUILTIN, 0, -1);
        end.SetStr(first.m_Text);
        out.push_back(std::move(end));
        return true;
    }
    if (first.m_Type == Lexeme::IDENT && !GxMoaBuiltinTable::Find(first.m_Text) && !first.IsIdent(L"null") &&
        !first.IsIdent(L"NULL") && !first.IsIdent(L"array") && !first.IsIdent(L"ARRAY"))
    {
        // A layer command: word or word.suffix, then its arguments in brackets; it calls "sp.lcg", or
        // "sp" followed by the suffix.
        if (lex.size() < 3 || !lex[1].IsOp(TK_PAREN_OPEN) || !lex.back().IsOp(TK_PAREN_CLOSE))
        {
            Error(line,
                  "'" + Utf8(first.m_Text) + "' is no builtin; a layer command is written word.suffix(arguments)");
            return false;
        }
        const size_t dot = first.m_Text.rfind(L'.');
        const std::wstring builtin =
            AsciiLower(dot == std::wstring::npos ? L"sp.lcg" : L"sp" + first.m_Text.substr(dot));
        if (!GxMoaBuiltinTable::Find(builtin) || builtin.compare(0, 3, L"sp.") != 0)
        {
            Error(line, "'" + Utf8(first.m_Text) + "': " + Utf8(builtin) + " is no layer builtin");
            return false;
        }
        if (!UseBuiltin(builtin, line))
            return false;
        GxMoaToken word(TK_UNKNOWN_WORD);
        word.SetStr(first.m_Text);
        out.push_back(std::move(word));
        if (!EmitExpression(lex, 1, lex.size(), line, out))
            return false;
        return true;
    }
    if (first.m_Type != Lexeme::VAR && first.m_Type != Lexeme::ARRAY_VAR && first.m_Type != Lexeme::IDENT)
    {
        Error(line, "a statement begins with a $variable, a builtin call, if, while, '}' or a layer command");
        return false;
    }
    if (!EmitExpression(lex, 0, lex.size(), line, out))
        return false;
    // The runtime parses the statement as one expression and takes the next token for a new statement:
    // the whole line must be that one expression.
    std::string message;
    if (!MoaExpressionCheck::Check(out, 0, out.size(), message))
    {
        Error(line, message);
        return false;
    }
    return true;
}

bool MoaBuilder::CompileLine(const std::wstring& raw, int32_t line)
{
    std::wstring text = raw;
    if (!text.empty() && text.back() == L'\r')
        text.pop_back();
    size_t lead = 0;
    while (lead < text.size() && IsBlank(text[lead]))
        ++lead;
    if (lead == text.size() || text.compare(lead, 2, L"//") == 0)
        return true; // an empty line
    std::vector<GxMoaToken>& out = m_pScript->m_Lines[static_cast<size_t>(line)].m_Tokens;
    const wchar_t head = text[lead];
    if (head == L'*')
    {
        std::wstring name = text.substr(lead + 1);
        while (!name.empty() && IsBlank(name.back()))
            name.pop_back();
        if (name.empty() || name.find_first_of(L" \t") != std::wstring::npos)
        {
            Error(line, "a label is '*' followed by one name");
            return false;
        }
        GxMoaLabelDefinition def;
        def.m_Name = name;
        def.m_Pos = GxMoaScriptPos(line, 0, m_pScript->m_ScriptName);
        if (name[0] == L'@')
        {
            if (!m_pScript->AddLabel(def))
            {
                Error(line, "label " + Utf8(name) + " appears twice in this script");
                return false;
            }
        }
        else if (!m_Moa.AddLabel(def))
        {
            const GxMoaLabelDefinition* old = m_Moa.FindLabel(name);
            Error(line, "label " + Utf8(name) + " is already defined (script " + Utf8(old->m_Pos.m_ScriptName) +
                            ", line " + std::to_string(old->m_Pos.m_Line + 1) + ")");
            return false;
        }
        GxMoaToken t(TK_LABEL);
        t.SetStr(name);
        out.push_back(std::move(t));
        return true;
    }
    if (head == L'@')
    {
        if (!CompileStatement(text.substr(lead + 1), line))
        {
            // A line meant to open a block that failed still pairs with its "}", so one mistake gives one
            // message rather than a second one at the block's end.
            const size_t code = text.find(L"//");
            std::wstring statement = text.substr(0, code);
            while (!statement.empty() && IsBlank(statement.back()))
                statement.pop_back();
            if (!statement.empty() && statement.back() == L'{')
            {
                Block broken{};
                broken.m_Broken = true;
                m_Blocks.push_back(std::move(broken));
            }
            return false;
        }
        // Every variable the lines of an outermost loop use (its own condition included: its block is open
        // now).
        NoteVariables(out);
        return true;
    }
    // A text line; a leading backslash lets a text begin with '@', '*' or '//'.
    GxMoaToken t(TK_TEXT);
    t.SetStr(head == L'\\' ? text.substr(lead + 1) : text);
    out.push_back(std::move(t));
    return true;
}

bool MoaBuilder::AddSource(const std::string& fileName, const std::string& utf8)
{
    m_File = fileName;
    m_Blocks.clear();
    m_OutermostLoop = std::string::npos;
    m_LoopVariables.clear();
    const int errorsBefore = m_ErrorCount;
    std::wstring text;
    int badLine = 0;
    if (!DecodeUtf8(utf8, text, badLine))
    {
        Error(badLine - 1, "the file is not valid UTF-8");
        return false;
    }
    // The script's name: the file name up to its first dot, lower-cased.
    std::string base =
        fileName.substr(fileName.find_last_of('/') == std::string::npos ? 0 : fileName.find_last_of('/') + 1);
    base = base.substr(0, base.find('.'));
    std::wstring name;
    int dummy = 0;
    DecodeUtf8(base, name, dummy);
    name = AsciiLower(name);
    if (name.empty() || m_Moa.FindScript(name))
    {
        Error(0, "script name '" + Utf8(name) + "' is empty or taken by another file");
        return false;
    }
    auto script = std::make_unique<GxMoaScript>(&m_Moa);
    script->m_ScriptName = name;
    m_pScript = script.get();

    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;)
    {
        const size_t nl = text.find(L'\n', start);
        if (nl == std::wstring::npos)
        {
            if (start < text.size())
                lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    script->m_Lines.resize(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        CompileLine(lines[i], static_cast<int32_t>(i));
    for (const Block& b : m_Blocks)
        if (!b.m_Broken)
            Error(b.m_OpenPos.m_Line, "this block is not closed");
    m_Blocks.clear();
    m_OutermostLoop = std::string::npos;
    m_LoopVariables.clear();
    m_Moa.AddScript(std::move(script));
    m_pScript = nullptr;
    return m_ErrorCount == errorsBefore;
}

void MoaBuilder::Finish()
{
    for (const LoopCheck& check : m_LoopChecks)
    {
        const GxMoaScript* script = m_Moa.FindScript(check.m_Script);
        for (const std::wstring& name : check.m_Variables)
        {
            ++m_LoopCheckSteps;
            const GxMoaVariableDefinition* def = script ? script->FindVariableDefinition(name) : nullptr;
            if (!def)
                def = m_Moa.FindVariableDefinition(name);
            if (!def)
                Warning(check.m_File, check.m_Line,
                        "the loop uses $" + Utf8(name) +
                            ", which is not declared static or global: jumping back to the loop drops LOCAL variables");
        }
    }
}
