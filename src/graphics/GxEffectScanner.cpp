#include "graphics/GxEffectScanner.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace
{

bool IsIdentStart(char c)
{
    return std::isalpha((unsigned char)c) || c == '_';
}

bool IsIdentChar(char c)
{
    return std::isalnum((unsigned char)c) || c == '_';
}

bool IsModifier(const std::string& s)
{
    return s == "static" || s == "uniform" || s == "extern" || s == "shared" || s == "const" || s == "volatile" ||
           s == "row_major" || s == "column_major" || s == "inline" || s == "nointerpolation" || s == "precise";
}

} // namespace

bool GxEffectScanner::Fail(const std::string& what)
{
    const Token* t = Peek();
    const uint32_t line = t ? t->Line : (m_Tokens.empty() ? 1 : m_Tokens.back().Line);
    m_Message = m_FileName + "(" + std::to_string(line) + "): error: " + what;
    return false;
}

const GxEffectScanner::Token* GxEffectScanner::Peek(size_t ahead) const
{
    return m_At + ahead < m_Tokens.size() ? &m_Tokens[m_At + ahead] : nullptr;
}

bool GxEffectScanner::Expect(char c)
{
    if (!IsPunct(Peek(), c))
        return Fail(std::string("'") + c + "' expected");
    ++m_At;
    return true;
}

bool GxEffectScanner::Tokenize(const std::string& s)
{
    uint32_t line = 1;
    size_t i = 0;
    bool lineStart = true;
    while (i < s.size())
    {
        const char c = s[i];
        if (c == '\n')
        {
            ++line;
            ++i;
            lineStart = true;
            continue;
        }
        if (std::isspace((unsigned char)c))
        {
            ++i;
            continue;
        }
        if (c == '#' && lineStart)
        {
            // Preprocessor lines are not followed; continued lines are skipped with them.
            const size_t lineEnd = s.find('\n', i);
            const std::string directive =
                s.substr(i + 1, lineEnd == std::string::npos ? std::string::npos : lineEnd - i - 1);
            char name[64] = {}, value[64] = {};
            if (std::sscanf(directive.c_str(), " define %63[A-Za-z0-9_] %63s", name, value) == 2)
                m_Defines[name] = value;
            while (i < s.size() && s[i] != '\n')
            {
                if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\n')
                {
                    ++line;
                    ++i;
                }
                ++i;
            }
            continue;
        }
        lineStart = false;
        if (c == '/' && i + 1 < s.size() && s[i + 1] == '/')
        {
            while (i < s.size() && s[i] != '\n')
                ++i;
            continue;
        }
        if (c == '/' && i + 1 < s.size() && s[i + 1] == '*')
        {
            const size_t end = s.find("*/", i + 2);
            if (end == std::string::npos)
            {
                m_Message = m_FileName + "(" + std::to_string(line) + "): error: unterminated comment";
                return false;
            }
            for (size_t k = i; k < end; ++k)
                line += s[k] == '\n';
            i = end + 2;
            continue;
        }
        if (c == '"')
        {
            size_t k = i + 1;
            while (k < s.size() && s[k] != '"' && s[k] != '\n')
                k += (s[k] == '\\' && k + 1 < s.size()) ? 2 : 1;
            if (k >= s.size() || s[k] != '"')
            {
                m_Message = m_FileName + "(" + std::to_string(line) + "): error: unterminated string";
                return false;
            }
            m_Tokens.push_back({s.substr(i, k + 1 - i), line, false});
            i = k + 1;
            continue;
        }
        if (IsIdentStart(c))
        {
            size_t k = i;
            while (k < s.size() && IsIdentChar(s[k]))
                ++k;
            m_Tokens.push_back({s.substr(i, k - i), line, true});
            i = k;
            continue;
        }
        if (std::isdigit((unsigned char)c) || (c == '.' && i + 1 < s.size() && std::isdigit((unsigned char)s[i + 1])))
        {
            size_t k = i;
            while (k < s.size() && (IsIdentChar(s[k]) || s[k] == '.' ||
                                    ((s[k] == '-' || s[k] == '+') && (s[k - 1] == 'e' || s[k - 1] == 'E'))))
                ++k;
            m_Tokens.push_back({s.substr(i, k - i), line, false});
            i = k;
            continue;
        }
        m_Tokens.push_back({std::string(1, c), line, false});
        ++i;
    }
    return true;
}

bool GxEffectScanner::SkipGroup(char open, char close)
{
    if (!IsPunct(Peek(), open))
        return Fail(std::string("'") + open + "' expected");
    const size_t start = m_At;
    int depth = 0;
    for (; m_At < m_Tokens.size(); ++m_At)
    {
        const Token& t = m_Tokens[m_At];
        if (t.Identifier || t.Text.size() != 1)
            continue;
        if (t.Text[0] == '{' || t.Text[0] == '(' || t.Text[0] == '[')
            ++depth;
        else if (t.Text[0] == '}' || t.Text[0] == ')' || t.Text[0] == ']')
        {
            if (--depth < 0)
                return Fail("unbalanced '" + t.Text + "'");
            if (depth == 0)
            {
                if (t.Text[0] != close)
                    return Fail("'" + t.Text + "' does not close '" + std::string(1, open) + "'");
                ++m_At;
                return true;
            }
        }
    }
    m_At = start;
    return Fail(std::string("'") + close + "' missing before the end of the file");
}

// `< type name = value; ... >`; each annotation ends with ';'.
bool GxEffectScanner::ReadAnnotations(std::vector<GxEffectAnnotation>* out, uint32_t* count)
{
    if (!Expect('<'))
        return false;
    while (!IsPunct(Peek(), '>'))
    {
        const Token* type = Peek();
        const Token* name = Peek(1);
        if (!type || !type->Identifier || !name || !name->Identifier)
            return Fail("annotation expected");
        m_At += 2;
        GxEffectAnnotation a;
        a.Type = type->Text;
        a.Name = name->Text;
        if (IsPunct(Peek(), '='))
        {
            ++m_At;
            while (Peek() && !IsPunct(Peek(), ';'))
            {
                if (IsPunct(Peek(), '{'))
                {
                    if (!SkipGroup('{', '}'))
                        return false;
                    continue;
                }
                a.Value += Peek()->Text;
                ++m_At;
            }
        }
        if (!Expect(';'))
            return false;
        if (count)
            ++*count;
        if (out)
            out->push_back(a);
    }
    ++m_At;
    return true;
}

bool GxEffectScanner::ReadTechnique()
{
    ++m_At; // "technique"
    GxEffectTechnique technique;
    if (Peek() && Peek()->Identifier)
        technique.Name = Peek()->Text, ++m_At;
    if (IsPunct(Peek(), '<') && !ReadAnnotations(&technique.Annotations, nullptr))
        return false;
    if (!Expect('{'))
        return false;
    while (!IsPunct(Peek(), '}'))
    {
        const Token* t = Peek();
        if (!t || !t->Identifier || t->Text != "pass")
            return Fail("'pass' expected");
        ++m_At;
        if (Peek() && Peek()->Identifier)
            ++m_At;
        if (IsPunct(Peek(), '<') && !ReadAnnotations(nullptr, nullptr))
            return false;
        if (!SkipGroup('{', '}'))
            return false;
        ++technique.Passes;
    }
    ++m_At;
    if (IsPunct(Peek(), ';'))
        ++m_At;
    m_Techniques.push_back(technique);
    return true;
}

bool GxEffectScanner::ReadDeclaration()
{
    bool isStatic = false, rowMajor = false;
    while (Peek() && Peek()->Identifier && IsModifier(Peek()->Text))
    {
        isStatic |= Peek()->Text == "static";
        rowMajor |= Peek()->Text == "row_major";
        ++m_At;
    }
    const Token* type = Peek();
    if (!type || !type->Identifier)
        return Fail("declaration expected");
    std::string typeName = type->Text;
    ++m_At;
    if (typeName == "struct")
    {
        if (Peek() && Peek()->Identifier)
            ++m_At;
        if (!SkipGroup('{', '}'))
            return false;
        // A structure may declare variables after its body; they are skipped with it.
        while (Peek() && !IsPunct(Peek(), ';'))
            ++m_At;
        return Expect(';');
    }
    if (IsPunct(Peek(), '<'))
    {
        // Template form such as vector<float, 4>: kept as part of the type name.
        while (Peek() && !IsPunct(Peek(), '>'))
            typeName += Peek()->Text, ++m_At;
        if (!Expect('>'))
            return false;
        typeName += ">";
    }
    for (;;)
    {
        const Token* name = Peek();
        if (!name || !name->Identifier)
            return Fail("name expected after '" + typeName + "'");
        ++m_At;
        if (IsPunct(Peek(), '('))
        {
            // A function: parameters, an optional return semantic, then the body.
            if (!SkipGroup('(', ')'))
                return false;
            if (IsPunct(Peek(), ':'))
                m_At += 2;
            if (IsPunct(Peek(), ';'))
            {
                ++m_At;
                return true;
            }
            return SkipGroup('{', '}');
        }
        GxEffectParameter p;
        p.TypeName = typeName;
        p.Name = name->Text;
        p.RowMajor = rowMajor;
        while (IsPunct(Peek(), '['))
        {
            ++m_At;
            const Token* n = Peek();
            if (!n || (n->Identifier && !m_Defines.count(n->Text)))
                return Fail("array size expected");
            const std::string& size = n->Identifier ? m_Defines[n->Text] : n->Text;
            p.Elements = (uint32_t)std::strtoul(size.c_str(), nullptr, 0) * (p.Elements ? p.Elements : 1);
            ++m_At;
            if (!Expect(']'))
                return false;
        }
        if (IsPunct(Peek(), ':'))
        {
            ++m_At;
            if (!Peek() || !Peek()->Identifier)
                return Fail("semantic expected");
            p.Semantic = Peek()->Text;
            ++m_At;
        }
        if (IsPunct(Peek(), '<') && !ReadAnnotations(nullptr, &p.Annotations))
            return false;
        if (IsPunct(Peek(), '='))
        {
            ++m_At;
            // The initialiser runs to the next ',' or ';' outside brackets (sampler_state { ... } included).
            while (Peek() && !IsPunct(Peek(), ';') && !IsPunct(Peek(), ','))
            {
                if (IsPunct(Peek(), '{') || IsPunct(Peek(), '('))
                {
                    if (!SkipGroup(Peek()->Text[0], Peek()->Text[0] == '{' ? '}' : ')'))
                        return false;
                    continue;
                }
                ++m_At;
            }
        }
        if (!isStatic)
            m_Parameters.push_back(p);
        if (IsPunct(Peek(), ','))
        {
            ++m_At;
            continue;
        }
        return Expect(';');
    }
}

bool GxEffectScanner::Scan(const std::string& source, const std::string& fileName)
{
    m_Tokens.clear();
    m_At = 0;
    m_FileName = fileName;
    m_Message.clear();
    m_Techniques.clear();
    m_Parameters.clear();
    m_Defines.clear();
    if (!Tokenize(source))
        return false;
    while (m_At < m_Tokens.size())
    {
        const Token& t = m_Tokens[m_At];
        if (IsPunct(&t, ';'))
        {
            ++m_At;
            continue;
        }
        if (t.Identifier && (t.Text == "technique" || t.Text == "technique9"))
        {
            if (!ReadTechnique())
                return false;
            continue;
        }
        if (!ReadDeclaration())
            return false;
    }
    return true;
}
