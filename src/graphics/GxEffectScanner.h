// A declaration scanner for ".fx" effect sources. Nothing draws with effects; what is needed is the
// shape of the file: its top-level parameters (`type name [N] : SEMANTIC <annotations> = value;`, static
// variables and functions excluded) and its techniques (`technique name < int Annotation = value; ... >
// { pass p0 { ... } ... }`). Function bodies, structures, state blocks and initialisers are skipped by
// matching brackets. A file whose brackets do not balance or whose declarations cannot be read is an
// error with a line number, as a compiler would report it. Other preprocessor lines are not followed;
// simple "#define NAME value" lines are kept so that array sizes may be given by name.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct GxEffectAnnotation
{
    std::string Type;
    std::string Name;
    std::string Value;
};

struct GxEffectTechnique
{
    std::string Name;
    uint32_t Passes = 0;
    std::vector<GxEffectAnnotation> Annotations;
};

struct GxEffectParameter
{
    std::string TypeName;
    std::string Name;
    std::string Semantic;
    uint32_t Elements = 0;
    uint32_t Annotations = 0;
    bool RowMajor = false;
};

class GxEffectScanner
{
public:
    // False with a message ("name(line): error: ...") when the source cannot be read.
    bool Scan(const std::string& source, const std::string& fileName);

    const std::vector<GxEffectTechnique>& GetTechniques() const { return m_Techniques; }
    const std::vector<GxEffectParameter>& GetParameters() const { return m_Parameters; }
    const std::string& GetMessage() const { return m_Message; }

private:
    struct Token
    {
        std::string Text;
        uint32_t Line;
        bool Identifier;
    };

    bool Tokenize(const std::string& source);
    bool Fail(const std::string& what);
    const Token* Peek(size_t ahead = 0) const;
    bool IsPunct(const Token* t, char c) const { return t && !t->Identifier && t->Text.size() == 1 && t->Text[0] == c; }
    bool Expect(char c);
    // Skips a bracketed group starting at the current token (which must be the opening bracket).
    bool SkipGroup(char open, char close);
    bool ReadAnnotations(std::vector<GxEffectAnnotation>* out, uint32_t* count);
    bool ReadTechnique();
    bool ReadDeclaration();

    std::vector<Token> m_Tokens;
    size_t m_At = 0;
    std::string m_FileName;
    std::string m_Message;
    std::vector<GxEffectTechnique> m_Techniques;
    std::vector<GxEffectParameter> m_Parameters;
    // Object-like "#define NAME value" lines, for array sizes given by name.
    std::map<std::string, std::string> m_Defines;
};
