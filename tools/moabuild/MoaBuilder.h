#pragma once
// Compiles script source files into a GxMoa program: one source file is one script, one source line
// is one line of tokens (the README describes the language).

#include "script/GxMoa.h"

#include <set>
#include <string>
#include <vector>

class MoaBuilder
{
public:
    explicit MoaBuilder(GxMoa& moa) : m_Moa(moa) {}

    // Compiles one script from its UTF-8 source; the script is named by the file's lower-cased base
    // name. False when the source has errors (they are added to the messages).
    bool AddSource(const std::string& fileName, const std::string& utf8);
    // Checks made once every script is known (loop variables); adds warnings only.
    void Finish();

    const std::vector<std::string>& GetMessages() const { return m_Messages; }
    int GetErrorCount() const { return m_ErrorCount; }
    int GetWarningCount() const { return m_WarningCount; }
    // The loop check's work so far, in steps: each open block looked at to find the loop a line's variables
    // go to, each variable noted, each noted name looked up. Tests read it to see a line cost the same at
    // every depth of nesting.
    size_t GetLoopCheckSteps() const { return m_LoopCheckSteps; }

private:
    struct Block
    {
        int32_t m_Code;           // 3 IF, 4 ELSE
        bool m_PlainElse = false; // an ELSE without a condition: the last branch of its chain
        bool m_Broken = false;    // stands for a line that failed to open its block (its "}" then matches)
        GxMoaRunPos m_OpenPos;    // the "{" token
        std::wstring m_LoopLabel; // set for a rewritten while loop
        int32_t m_LoopLine = -1;
    };
    struct LoopCheck
    {
        std::string m_File;
        int32_t m_Line;
        std::wstring m_Script;
        std::set<std::wstring> m_Variables;
    };
    struct Lexeme;

    void Error(int32_t line, const std::string& message);
    void Warning(const std::string& file, int32_t line, const std::string& message);
    bool CompileLine(const std::wstring& text, int32_t line);
    bool CompileStatement(const std::wstring& text, int32_t line);
    bool Lex(const std::wstring& text, int32_t line, std::vector<Lexeme>& out);
    bool EmitExpression(const std::vector<Lexeme>& lex, size_t begin, size_t end, int32_t line,
                        std::vector<GxMoaToken>& out);
    bool CompileDeclaration(const std::vector<Lexeme>& lex, int32_t line, std::vector<GxMoaToken>& out);
    bool CompileCondition(const std::vector<Lexeme>& lex, size_t& i, int32_t line, std::vector<GxMoaToken>& out);
    bool UseBuiltin(const std::wstring& name, int32_t line);
    void NoteVariables(const std::vector<GxMoaToken>& tokens);

    GxMoa& m_Moa;
    GxMoaScript* m_pScript = nullptr;
    std::string m_File;
    std::vector<Block> m_Blocks;
    // The outermost open loop (its place in m_Blocks, npos when no loop is open) and every variable its lines
    // use, the lines of the loops inside it included: a jump back to it drops a LOCAL variable used anywhere
    // in it, so each undeclared name is reported once, there. Noting a line costs its own variables whatever
    // the depth; a set for each loop around the line would cost its variables times that depth.
    size_t m_OutermostLoop = std::string::npos;
    std::set<std::wstring> m_LoopVariables;
    size_t m_LoopCheckSteps = 0;
    std::vector<LoopCheck> m_LoopChecks;
    std::vector<std::string> m_Messages;
    int m_ErrorCount = 0;
    int m_WarningCount = 0;
};
